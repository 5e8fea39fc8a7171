// The fact store against a plain vector model: random asserts at both ends, removals by value,
// by head and of everything, interleaved with nested enumerations and retract walks whose bodies
// change the table while they are pending. The model keeps each pending position as the id of a
// fact, so it states the repair rules in the simplest possible terms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/fact_kind.h"

namespace {

using Fact = std::tuple<std::int32_t, std::string>;

std::string text_of(std::int32_t id) {
  std::string s;
  for (std::int32_t i = 0; i < id % 41; ++i) s.push_back(static_cast<char>(0xC0 + (id + i) % 64));  // А..я
  return s;
}

struct ModelCursor {
  bool walk = false;
  std::optional<std::int32_t> next;  // enumeration: id of the fact to visit next
  std::optional<std::int32_t> after;  // walk: id of the fact it stands behind (none: the head)
};

class ModelTest : public ::testing::Test {
 protected:
  FactSection section;
  FactKind<Fact> kind{section, "fact"};
  std::vector<std::int32_t> model;
  std::vector<ModelCursor*> cursors;
  std::mt19937 rng;
  std::int32_t next_id = 1;
  int steps = 0;

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
  std::size_t index_of(std::int32_t id) const {
    return static_cast<std::size_t>(std::find(model.begin(), model.end(), id) - model.begin());
  }

  void model_remove(std::int32_t id) {
    const std::size_t i = index_of(id);
    ASSERT_LT(i, model.size());
    const std::optional<std::int32_t> succ = i + 1 < model.size() ? std::optional(model[i + 1]) : std::nullopt;
    const std::optional<std::int32_t> pred = i > 0 ? std::optional(model[i - 1]) : std::nullopt;
    for (ModelCursor* c : cursors) {
      if (!c->walk && c->next == id) c->next = succ;
      if (c->walk && c->after == id) c->after = pred;
    }
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
  }

  void check_table() {
    std::vector<std::int32_t> ids;
    for (const Fact& f : kind.facts()) {
      ids.push_back(std::get<0>(f));
      ASSERT_EQ(std::get<1>(f), text_of(std::get<0>(f)));
    }
    ASSERT_EQ(ids, model);
  }

  // One random change of the table, done to the store and to the model.
  void mutate(int depth) {
    ++steps;
    const int op = pick(depth >= 2 ? 9 : 11);
    if (op < 3) {
      const std::int32_t id = next_id++;
      kind.assertz({id, text_of(id)});
      model.push_back(id);
    } else if (op < 4) {
      const std::int32_t id = next_id++;
      kind.asserta({id, text_of(id)});
      model.insert(model.begin(), id);
    } else if (op < 6) {
      // Remove by value: an existing fact, or now and then one that is gone.
      const std::int32_t id = model.empty() || pick(5) == 0 ? next_id + 7 : model[static_cast<std::size_t>(pick(static_cast<int>(model.size())))];
      const bool found = kind.retract({id, text_of(id)});
      ASSERT_EQ(found, index_of(id) < model.size());
      if (found) model_remove(id);
    } else if (op < 7) {
      const auto removed = kind.take_first();
      ASSERT_EQ(removed.has_value(), !model.empty());
      if (removed) {
        ASSERT_EQ(std::get<0>(*removed), model.front());
        model_remove(model.front());
      }
    } else if (op < 8) {
      if (pick(4) == 0) {
        kind.retract_all();
        while (!model.empty()) model_remove(model.front());
      }
    } else if (op < 9) {
      const std::int32_t key = pick(4);
      const auto pred = [&](const Fact& f) { return std::get<0>(f) % 4 == key; };
      const auto it = std::find_if(model.begin(), model.end(), [&](std::int32_t id) { return id % 4 == key; });
      if (pick(2) == 0) {
        const auto removed = kind.take_first(pred);
        ASSERT_EQ(removed.has_value(), it != model.end());
        if (removed) {
          ASSERT_EQ(std::get<0>(*removed), *it);
        }
      } else {
        ASSERT_EQ(kind.retract_first(pred), it != model.end());
      }
      if (it != model.end()) model_remove(*it);
    } else if (op < 10) {
      enumerate(depth + 1);
    } else {
      walk(depth + 1);
    }
  }

  void enumerate(int depth) {
    ModelCursor mc;
    mc.next = model.empty() ? std::nullopt : std::optional(model.front());
    cursors.push_back(&mc);
    for (const Fact& f : kind.facts()) {
      ASSERT_TRUE(mc.next.has_value()) << "the store visits a fact the model does not";
      const std::size_t i = index_of(*mc.next);
      ASSERT_LT(i, model.size());
      ASSERT_EQ(std::get<0>(f), *mc.next);
      ASSERT_EQ(std::get<1>(f), text_of(*mc.next));
      mc.next = i + 1 < model.size() ? std::optional(model[i + 1]) : std::nullopt;
      for (int n = pick(3); n > 0; --n) mutate(depth);
      if (pick(8) == 0) break;
      if (HasFatalFailure()) break;
    }
    cursors.pop_back();
  }

  void walk(int depth) {
    const std::int32_t key = pick(3);
    const auto pred = [key](const Fact& f) { return std::get<0>(f) % 3 == key; };
    ModelCursor mc;
    mc.walk = true;
    cursors.push_back(&mc);
    auto model_step = [&]() -> std::optional<std::int32_t> {
      for (;;) {
        std::size_t i = 0;
        if (mc.after) i = index_of(*mc.after) + 1;
        if (i >= model.size()) return std::nullopt;
        const std::int32_t id = model[i];
        if (id % 3 == key) {
          model_remove(id);
          return id;
        }
        mc.after = id;
      }
    };
    for (const Fact& f : kind.retracting(pred)) {
      const auto expected = model_step();
      ASSERT_TRUE(expected.has_value()) << "the store removes a fact the model keeps";
      ASSERT_EQ(std::get<0>(f), *expected);
      for (int n = pick(3); n > 0; --n) mutate(depth);
      if (HasFatalFailure()) break;
    }
    if (!HasFatalFailure()) {
      ASSERT_FALSE(model_step().has_value());
    }
    cursors.pop_back();
  }
};

TEST_F(ModelTest, RandomOperationsAgreeWithTheModel) {
  for (unsigned seed = 1; seed <= 40 && !HasFatalFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    rng.seed(seed);
    kind.retract_all();
    model.clear();
    while (steps < 400 * static_cast<int>(seed) && !HasFatalFailure()) {
      mutate(pick(4) == 0 ? 2 : 0);
      if (!HasFatalFailure()) check_table();
    }
  }
  EXPECT_GT(next_id, 1000);
}

}  // namespace

// The list operations: the string order of code page 1251, sort and sortdown against their
// exchange steps on random lists, membership, the position search with its overflow, and the
// largest element of a list of a million codes.
#include <QTest>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "app/session.h"
#include "core/list_ordering.h"
#include "qt_suite.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

namespace {

using Strings = std::vector<std::string>;
using Ints = std::vector<std::int32_t>;

Strings cp_list(std::initializer_list<const char*> utf8) {
  Strings out;
  for (const char* s : utf8) out.push_back(cp1251::from_utf8(s));
  return out;
}

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// Sorting the adjacent-exchange way, one step after the other; counts the steps.
template <class List, class Step>
List by_steps(List list, Step step, long& steps) {
  steps = 0;
  while (auto next = step(list)) {
    list = std::move(*next);
    ++steps;
  }
  return list;
}

}  // namespace

class ListOrderingTests : public QtSuite {
  Q_OBJECT

 public:
  ListOrderingTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void stringOrderIsByUnsignedBytes() {
    QCOMPARE(sort(cp_list({"б", "А", "а", "Ё"})), cp_list({"Ё", "А", "а", "б"}));
    QCOMPARE(sort(cp_list({"я", "ё", "Я", "z", "Ё", "Z", "9", "ab", "a", ""})),
             cp_list({"", "9", "Z", "a", "ab", "z", "Ё", "ё", "Я", "я"}));
    QVERIFY(строка_меньше("ab", "abc"));
    QVERIFY(!строка_меньше("abc", "ab"));
    QVERIFY(!строка_меньше("ab", "ab"));
    QVERIFY(строка_меньше(std::string("a\0b", 3), std::string("a\0c", 3)));  // bytes, not C strings
    QCOMPARE(sort(cp_list({"б", "а", "б", "а"})), cp_list({"а", "а", "б", "б"}));  // duplicates kept
    QCOMPARE(sort({}), Strings{});
  }

  void exchangeStepsSwapOnlyTheFirstPairOutOfOrder() {
    QVERIFY(!perest({}));
    QVERIFY(!perest({"x"}));
    QVERIFY(!perest({"a", "a", "b"}));
    QCOMPARE(*perest({"b", "a", "d", "c"}), (Strings{"a", "b", "d", "c"}));
    QCOMPARE(*perest({"a", "c", "b", "a"}), (Strings{"a", "b", "c", "a"}));
    QVERIFY(!perestdown({}));
    QVERIFY(!perestdown({5, 5, -1}));
    QCOMPARE(*perestdown({3, 10, -1, 10}), (Ints{10, 3, -1, 10}));
    QCOMPARE(sortdown({3, 10, -1, 10}), (Ints{10, 10, 3, -1}));
    QCOMPARE(sortdown({INT_MIN, 0, INT_MAX}), (Ints{INT_MAX, 0, INT_MIN}));
  }

  void sortGivesWhatRepeatedStepsGive() {
    std::mt19937 rng(1251);
    // A small alphabet with Latin, Cyrillic and the two "Ё" letters makes many equal strings,
    // common prefixes and every kind of byte order.
    const std::string alphabet = cp1251::from_utf8("aZ9ЁёАаЯя");
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1), len(0, 3), count(0, 40);
    for (int trial = 0; trial < 300; ++trial) {
      Strings list(count(rng));
      for (std::string& s : list)
        for (std::size_t n = len(rng); n > 0; --n) s += alphabet[pick(rng)];
      long steps = 0;
      const Strings expected = by_steps(list, perest, steps);
      QCOMPARE(sort(list), expected);
      QCOMPARE(получитьсортировсписоккатегорий(list), expected);
      // Each step removes one out-of-order pair.
      long inversions = 0;
      for (std::size_t i = 0; i < list.size(); ++i)
        for (std::size_t j = i + 1; j < list.size(); ++j) inversions += строка_меньше(list[j], list[i]);
      QCOMPARE(steps, inversions);

      Ints codes(count(rng));
      std::uniform_int_distribution<std::int32_t> value(-5, 5);
      for (std::int32_t& c : codes) c = value(rng);
      QCOMPARE(sortdown(codes), by_steps(codes, perestdown, steps));
    }
  }

  void membershipAndPositionAreExact() {
    const Strings list = cp_list({"Поэзия", "Проза", "Поэзия"});
    QVERIFY(входитвсписок(cp1251::from_utf8("Проза"), list));
    QVERIFY(!входитвсписок(cp1251::from_utf8("проза"), list));
    QVERIFY(!входитвсписок(cp1251::from_utf8("Проз"), list));
    QVERIFY(!входитвсписок("", {}));
    QCOMPARE(найтиномерэл_в_списке({"a", "b"}, "c", 0), 2);
    QCOMPARE(найтиномерэл_в_списке({"a", "b"}, "b", 0), 1);
    QCOMPARE(найтиномерэл_в_списке(list, cp1251::from_utf8("Поэзия"), 10), 10);  // the first one
    QCOMPARE(найтиномерэл_в_списке({}, "x", -3), -3);
    QCOMPARE(найтиномерэл_в_списке({"x"}, "x", INT_MAX), INT_MAX);
    QCOMPARE(найтиномерэл_в_списке({}, "x", INT_MAX), INT_MAX);
    QCOMPARE(caught_code([] { найтиномерэл_в_списке({"a"}, "x", INT_MAX); }), errcode::kIntOverflow);
    QCOMPARE(caught_code([] { найтиномерэл_в_списке({"a", "b", "x"}, "x", INT_MAX - 1); }), errcode::kIntOverflow);
  }

  void largestElement() {
    QCOMPARE(*максэлсписка({7}), 7);
    QVERIFY(!максэлсписка({}));
    QCOMPARE(*максэлсписка({INT_MIN, -5, INT_MIN}), -5);
    // A catalogue of a million codes, the largest somewhere inside.
    Ints codes(1'000'000);
    for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = static_cast<std::int32_t>(i % 99991) - 50000;
    codes[777'777] = 2'000'000;
    QCOMPARE(*максэлсписка(codes), 2'000'000);
  }
};

QTEST_APPLESS_MAIN(ListOrderingTests)
#include "list_ordering_tests.moc"

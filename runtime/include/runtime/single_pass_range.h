// The iterator of the fact store's single-pass ranges: each step asks its range to advance, and
// dereferencing hands out what the range holds now. The ranges move to their first element in
// begin() and end at a sentinel; an iterator is never copied back to an earlier position.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <type_traits>

// `Range` provides `bool advance()` (false at the end) and `Ref current()`; it may keep both
// private and befriend this iterator.
template <class Range, class Ref>
struct SinglePassIterator {
  using value_type = std::remove_cvref_t<Ref>;
  using difference_type = std::ptrdiff_t;

  Range* range;

  Ref operator*() const { return range->current(); }
  auto operator->() const
    requires std::is_reference_v<Ref>
  {
    return std::addressof(range->current());
  }
  SinglePassIterator& operator++() {
    if (!range->advance()) range = nullptr;
    return *this;
  }
  void operator++(int) { ++*this; }
  bool operator==(std::default_sentinel_t) const { return range == nullptr; }

  // A single pass: the range moves to its first element here.
  static SinglePassIterator first(Range* range) { return SinglePassIterator{range->advance() ? range : nullptr}; }
};

// How often a section's facts changed: a number that grows with every fact added, replaced or
// removed in the section (its value alone means nothing). A reader that keeps an index of a
// section's facts compares it to know whether the index is still true.
#pragma once

#include <cstdint>

#include "runtime/fact_store.h"

std::uint64_t RNT_SectionChanges(const FactSection& section);

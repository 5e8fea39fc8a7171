// The records a literature list window shows now, through its find filter when one is on: what
// is printed or exported "in the order of the list". Its definition lives with the filter
// (list_filter.cpp).
#pragma once

#include <vector>

#include "core/catalogue_facts.h"
#include "layer/types.h"

// The records of the lines the list window shows now, in the list's order (which the filter
// keeps); the record of a line is the first with its code in table order, as the card and the
// edit take it. A line whose code no longer has a record gives none.
std::vector<ЗаписьБазы> показанные_записи(Window win);

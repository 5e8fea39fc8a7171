// The codes of the catalogue's records: the codes list (a working table of the run, never
// saved), the code of a new record and the list made at start.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/fact_kind.h"

// The codes list; start: the one-element list holding 0.
extern FactSection секция_кодов;
extern SingleKind<std::vector<std::int32_t>> списоккодов;

// The code of a new record: the largest code plus 1, or 1 for an empty catalogue (the codes in
// table order are stored as списоккодов). A code beyond the signed 32-bit range raises 1031.
std::int32_t формирумновыйкод();
// All codes, sorted in descending order, as списоккодов (unchanged for an empty catalogue).
void получитьсписоккодов();
// Every code in table order as списоккодов, as the making of a new code leaves it.
void запомнить_коды();

// The codes of the catalogue's records: the codes list (a working table of the run, never
// saved), the code of a new record and the list made at start.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/fact_kind.h"

// The codes list; start: the one-element list holding 0.
extern FactSection секция_кодов;
extern SingleKind<std::vector<std::int32_t>> списоккодов;

// The code of a new record: one more than the highest code ever given in the catalogue (the
// highest of наибольший_код and the records' codes; 1 when there is none and no record), so a
// code freed by a deletion is never given again. The new code becomes наибольший_код (the change
// that puts the record in saves it with the catalogue); the codes in table order are stored as
// списоккодов. A code beyond the signed 32-bit range raises 1031.
std::int32_t формирумновыйкод();
// The highest code given: of наибольший_код and the records' codes; none for neither.
std::optional<std::int32_t> наибольший_данный_код();
// Raises наибольший_код to `код` when it is lower or unset.
void отметить_данный_код(std::int32_t код);
// All codes, sorted in descending order, as списоккодов (unchanged for an empty catalogue); a
// catalogue opened without a stored highest code (or one lower than a record's) takes its
// records' highest, so that a deletion of the highest record cannot free its code.
void получитьсписоккодов();
// Every code in table order as списоккодов, as the making of a new code leaves it.
void запомнить_коды();

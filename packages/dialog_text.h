// Field values as text: the text a number field shows, and fields and values written in the
// run-time's term syntax for the package's error boxes.
#pragma once

#include <string>

#include "packages/dialog_package.h"

namespace dialog_detail {

// The text of an edit field's value: the string, or the number in the run-time's standard
// notation, a real with a `decimals`(N) property with N decimals; an empty text for none.
std::string edit_text(const dialog::FieldValue& value);

// `df(CtlId,Value,Prompt)` and the value alone, in term syntax (strings quoted and escaped).
std::string field_term(const dialog::Field& field);
std::string value_term(const dialog::FieldValue& value);

}  // namespace dialog_detail

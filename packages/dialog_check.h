// The check of one edit field on OK: its current text against its properties, in list order.
#pragma once

#include <optional>
#include <string>

#include "packages/dialog_package.h"

namespace dialog_detail {

// A failed check: the message, whose first "%s" takes the field's name and whose second "%s"
// takes `detail`.
struct CheckFailure {
  std::string message;
  std::string detail;
  friend bool operator==(const CheckFailure&, const CheckFailure&) = default;
};

// editstr, editint, editlong and editreal: the kinds that are checked.
bool is_checked_kind(const dialog::FieldValue& value);

// Checks `text`, the current text of a field of the kind of `value`, against the field's
// properties; nothing when it passes (also for kinds that are not checked).
std::optional<CheckFailure> check_field_text(const dialog::FieldValue& value, const std::string& text);

// The message the user sees: the prompt's own text when it has one, else the failure's message
// completed with `name` (the field's name from its prompt).
std::string failure_text(const CheckFailure& failure, const dialog::Prompt& prompt, const std::string& name);

}  // namespace dialog_detail

// Fields and their controls: filling a control from a field's value and reading the current
// value back from it.
#pragma once

#include "packages/dialog_package.h"

namespace dialog_detail {

// The control of `dlg` with that id, or 0 when the dialog has none.
Window find_control(Window dlg, int ctl_id);

// Sets the field's control from its value. A control that is missing or of a kind that does not
// fit the value shows "Illegal FIELD variant." with the field; an unusable value shows
// "Illegal Value!" with the value; the control is then left as it was. Returns whether it was set.
bool fill_field(Window dlg, const dialog::Field& field);

// The field's value as its control holds it now (the recorded value where the control holds
// nothing of it: custom controls, a missing control).
dialog::FieldValue read_field(Window dlg, const dialog::Field& field);

}  // namespace dialog_detail

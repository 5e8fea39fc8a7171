// The package's event handler of its dialogs and the filling of a dialog's fields.
#pragma once

#include "packages/dialog_package.h"

namespace dialog_detail {

// Every event of a package dialog arrives here first. On e_create the dialog's record is made
// from the newest pending dialog, the title set and the controls filled before the program's
// handler sees the event. Close requests, OK (e_control 1), Cancel (e_control 2) and e_destroy go
// to the program's handler first; when it fails, the package's processing follows (the check
// and result 1 for OK, result 2 for Cancel, the layer's default for a close request). e_destroy
// always ends with the record's removal. Every other event is the program's handler's.
std::optional<long> dialog_package_eh(Window dlg, const Event& ev);

// Fills the controls of the listed fields; control notifications that this causes are not
// passed to the program's handler.
void fill_fields(Window dlg, const dialog::FieldList& fields);

}  // namespace dialog_detail

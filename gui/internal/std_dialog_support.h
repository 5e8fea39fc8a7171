// Shared steps of the standard dialogs: the parent the layer chooses, the widget a dialog is
// owned by, the application object a dialog needs, and running a dialog modally.
#pragma once

#include <QDir>
#include <QString>
#include <memory>

#include "internal/application.h"
#include "layer/types.h"

class QDialog;
class QWidget;

namespace gui_detail {

// Climbs from the window with the keyboard focus to the first top-level window or dialog; the
// task window when it reaches the screen or the task window, or when no window of the program
// has the focus (0 outside a run).
Window chosen_parent();
// The widget that owns a dialog of `parent` (nullptr for the screen or no window).
QWidget* owner_widget(Window parent);
// The parent given by the program: the screen or a window of the layer, else run-time error 6000.
void check_parent(Window parent);
// Runs the dialog (made with ModalBox) modally for `owner`; true when it was accepted. Nothing is
// accepted once the run is ending, nor when the owner was destroyed while it was open (the
// dialog may then be freed already: read nothing from it).
bool run_modal(QDialog* d, Window owner);
// Gives the focus back to the parent's window after a dialog.
void refocus(Window parent);

// Puts the current folder back when a file or folder dialog is done, whatever it did.
struct KeepCurrentFolder {
  QString folder = QDir::currentPath();
  ~KeepCurrentFolder() { QDir::setCurrent(folder); }
};

}  // namespace gui_detail

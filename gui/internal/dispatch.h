// The dispatcher: delivers an event through a window's handler chain under the error trap.
// A run-time error raised in a handler is reported (the installed error handler, else the
// runtime's report through the error box); while it is reported no event but e_destroy is
// delivered. A RunExit raised in a handler ends the run: the loops of uix_Init and of open modal
// dialogs are left, the windows still open get their e_destroy, and uix_Init throws the exit on.
// No C++ exception leaves the dispatcher.
#pragma once

#include <functional>

#include "layer/events.h"
#include "layer/types.h"

namespace gui_detail {

// handled: some handler succeeded (result is its value); otherwise the caller applies the
// default processing. A window without any handler counts as handled with 0; controls without a
// subclass handler are not delivered to (not handled).
struct Delivery {
  bool handled = false;
  long result = 0;
};

Delivery deliver(Window win, const Event& ev);

// Runs layer code that was reached from a toolkit event under the same trap as a handler; false
// when it ended by an error (reported) or an exit.
bool run_trapped(const std::function<void()>& body);

// True while an error is reported or the run is ending: no event but e_destroy reaches a
// handler.
bool delivery_blocked();

// Ends the run with `exit_code` (a RunExit inside the loop): closes modal dialogs and pop-up
// menus and leaves the message loop.
void end_run(int exit_code);

}  // namespace gui_detail

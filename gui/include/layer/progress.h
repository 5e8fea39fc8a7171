// The progress box of long work done on the event loop's thread: dlg_Progress.
#pragma once

#include <functional>
#include <string>

// How long work tells the box how far it has got: `done` of the total steps. Returns false when
// the work should stop: the user cancelled, or the box ended because the window it belongs to
// was destroyed.
using ProgressReport = std::function<bool(long long done)>;

// Runs `work` with a progress box: the title, a line of text and a bar of `total` steps, owned
// by the window the standard dialogs choose and modal for the task, so the user reaches no
// other window meanwhile. The work calls the report it is given after each piece; the report
// moves the bar and lets the windows repaint. The box appears only once the work has lasted
// `delay_ms` milliseconds, so short work shows nothing. With a non-empty `cancel_text` the box
// has a button of that text (Escape and the close box do the same), and the report returns false
// once it was pressed; with an empty one the work cannot be cancelled. The box is gone when
// dlg_Progress returns what `work` returned.
bool dlg_Progress(const std::string& title, const std::string& text, long long total, const std::string& cancel_text,
                  int delay_ms, const std::function<bool(const ProgressReport&)>& work);

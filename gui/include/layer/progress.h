// The progress box: long work of the program, shown with a text and a bar, that the user may
// cancel. The work runs on the program's one thread; while it reports how far it is, the
// program's windows are repainted and timers run, but only the box takes input.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// How far the work is: `done` of the total given to dlg_Progress. Answers false once the work is
// to stop: the user pressed the box's Cancel button, Escape or its close box, the window the box
// belongs to was destroyed, or the run is ending. Cheap enough to call for every item.
using ProgressStep = std::function<bool(std::int64_t done)>;

// Runs `work` under a modal progress box titled `title` with the text `text` and a bar up to
// `total`, over the window the standard dialogs would choose as parent (layer/std_dialogs.h).
// The box shows only once the work has lasted about half a second, so brief work shows nothing.
// `work` is handed the step through which it reports; the result is work's own (true: it
// completed). A run-time error raised by `work` closes the box and goes on to the caller.
bool dlg_Progress(const std::string& title, const std::string& text, std::int64_t total,
                  const std::function<bool(const ProgressStep& step)>& work);

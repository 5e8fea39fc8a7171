// The message window package: the one scrolling text window, titled "Messages" by default,
// inside the task window, where everything written to the screen output device appears. Its
// text area is an editor window (layer/editor.h); its state lives in facts of the package's
// own section (message_window_facts.h) and is cleared when the window is destroyed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "layer/layer.h"

// Commands of the message window's pop-up menu, and the command it posts to itself to apply a
// position that waited for the window to be restored.
enum MsgCommand : int {
  msg_cmd_Copy = 1000, msg_cmd_Search = 1001, msg_cmd_SearchAgain = 1002, msg_cmd_Font = 1003,
  msg_cmd_Clear = 1004, msg_cmd_ApplyPosition = 9400
};
// Milliseconds after which text written without a line end is shown.
inline constexpr std::int32_t kMsgFlushInterval = 200;

// The message window: the existing one unchanged, or a new one on the task window with the line
// limit `max_lines`, placed along the bottom of the task window's client area. The screen
// device's console routines write into it from then on.
Window msg_Create(std::int32_t max_lines);
Window msg_Create(const std::string& title, std::int32_t max_lines);
// The message window; fails (nothing) when there is none.
std::optional<Window> msg_GetWin();
// Writes text as the screen device does: text with a line feed is shown at once (with any
// partial line written before it), text without one at the latest 200 ms later. Nothing
// happens when there is no window.
void msg_AppendStr(std::string_view text);
// Replaces the line limit; clears the window when it already holds at least that many lines.
void msg_SetLines(std::int32_t max_lines);
// Empties the window and puts the caret at position 1.
void msg_Clear();
// Places the window along the bottom of the task window's client area after a size change;
// while the message window is minimised or maximised the place is kept for its restoring.
void msg_Resize(Window task_win);
// Gives the window the keyboard focus unless it is minimised, then runs pending events.
void msg_SetFocus();
// 0: every write is shown at once (pending events run after each append); 1: the normal mode.
void msg_FastUpdate(int flag);
// 0 in the show-at-once mode, 1 otherwise.
int msg_FastUpdate();
// Destroys the window, if there is one.
void msg_close();

// The window's handler: the pop-up menu on a right click, the flush timer, the deferred
// position, the menu commands (others go to the parent window) and the clean-up on e_destroy.
std::optional<long> mess_win_handler(Window win, const Event& ev);

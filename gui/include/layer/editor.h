// The text editor component: an editor window of the windowing layer (a top-level or child
// window whose client area is a multi-line text editor with an optional status line), and the
// operations the message window drives it with. Positions are 1-based character positions; a
// line is a paragraph of the text (a text that ends with a line break has an empty last line).
// Every operation raises 6000 for a window that is not one of the layer and 6001 for one that
// is not an editor window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layer/events.h"
#include "layer/types.h"
#include "layer/window.h"

// The editor's own commands. An editor window whose handler fails for e_menu with one of these
// ids carries the command out itself.
enum EditCommand : int {
  edit_cmd_Undo = 7001, edit_cmd_Redo = 7002, edit_cmd_Cut = 7003, edit_cmd_Copy = 7004,
  edit_cmd_Paste = 7005, edit_cmd_Delete = 7006, edit_cmd_SelectAll = 7007,
  edit_cmd_Search = 7008, edit_cmd_SearchAgain = 7009, edit_cmd_Font = 7010
};
// The ids above, in order.
const std::vector<int>& edit_CommandIds();

// Creates an editor window: kind, rectangle, title, menu, parent, flags and creation rules as
// win_Create (the handler receives the window's events first; what it fails for is handled by
// the editor), shown in `font`. `read_only` non-zero forbids typing; `indent` non-zero makes a
// new line start with the white space that begins the line before it; `wrap` non-zero breaks
// long lines at the window's edge (otherwise they scroll sideways); `init_text` is the first
// text and `init_pos` the caret's first position. The status line (line and column of the
// caret) is shown. A font given to the window later (win_SetFont) becomes the text's font.
Window edit_CreateWrap(int kind, Rect rect, const std::string& title, const Menu& menu, Window parent,
                       const WinFlags& flags, const Font& font, int read_only, int indent, int wrap,
                       const std::string& init_text, std::int32_t init_pos, EventHandler handler);

// Removes lines from the top while the editor holds more than `max_lines` lines (a limit of 0 or
// 1 removes nothing), then adds `text` at the end. The caret follows the end of the text unless
// the user has a selection, which stays. Appended text is not undoable, and it clears the undo
// history (output is not an edit of the user's).
void edit_AppendStr(Window win, const std::string& text, std::int32_t max_lines);
// Replaces the whole text with `text`.
void edit_PasteStr(Window win, const std::string& text);
// Puts the caret at position `pos` (clamped to the text) and scrolls it into view.
void edit_GotoPos(Window win, std::int32_t pos);
std::int32_t edit_GetNumberOfLines(Window win);
// The selection as its first position and the position just after it; 0 and 0 when nothing is
// selected.
void edit_GetSelection(Window win, std::int32_t& start, std::int32_t& end);
// Copies the selection to the clipboard (nothing without a selection).
void edit_Copy(Window win);
// Asks for a text to find (modal) and selects its next occurrence after the caret, going round
// to the start once; nothing is selected and a beep sounds when it is not found.
void edit_SearchDlg(Window win);
// Finds the text of the last search again from the caret; asks for one when there was none.
void edit_SearchAgain(Window win);
// Lets the user choose the editor's font (modal); Cancel keeps the font.
void edit_SetFontDlg(Window win);
void edit_StatusLineShow(Window win, int show);

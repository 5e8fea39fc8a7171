// The clipboard's text and pictures, and the text field that holds the keyboard focus (an edit
// control, the edit line of a combined list, an editor window, the field of a standard dialog):
// what a program's Cut, Copy and Paste commands act on, the notice that what they can do has
// changed, and windows such as toolbars that a click leaves the focus where it was. A text field keeps
// its own keys and its own undo; nothing here adds to either.
#pragma once

#include <optional>
#include <string>

#include "layer/picture.h"
#include "layer/types.h"

// Puts `text` (cp1251, "\n" line breaks) on the clipboard as plain text.
void clip_SetText(const std::string& text);
// The clipboard's plain text in cp1251 ("\n" line breaks, a character without a cp1251 form
// becomes "?"); nothing when the clipboard holds no text.
std::optional<std::string> clip_GetText();

// Whether the clipboard holds a picture (an image that some program copied, in any format).
bool clip_HasPicture();
// The clipboard's picture as a new picture of the layer (transparent parts laid on white, see
// layer/picture.h; pict_SavePng writes it to a file); nothing when the clipboard holds none.
std::optional<Picture> clip_GetPicture();
// Puts the picture on the clipboard as an image.
void clip_SetPicture(Picture pict);

// The window of the layer that holds the keyboard focus (a control, a window, an editor
// window); 0 when the focus is in no window of the layer (a standard dialog, the help viewer)
// or nowhere. A window whose destruction has begun never holds it: while it goes (its e_destroy
// handlers, the focus notices its hiding causes) the focus counts as being in the nearest window
// around it that stays, or nowhere.
Window win_GetFocus();

// Whether a click on the window (a top-level or child window, 6001 for any other kind) gives
// it the keyboard focus, as it does from the start; a window that takes none (a toolbar's)
// leaves the focus where it was, so a command clicked there acts on the focused text field.
// win_SetFocus still gives it the focus.
void win_SetClickFocus(Window win, bool takes);

// What the text field with the keyboard focus allows now (none in a window on its way out).
struct TextFocus {
  bool field = false;      // a text field holds the focus
  bool selection = false;  // some of its text is selected (and may be copied)
  bool editable = false;   // it takes typing
};
TextFocus win_GetTextFocus();

// Cut, copy and paste on the text field with the focus, through the clipboard, as its own keys
// do them. False, with nothing changed, when no text field holds the focus or there is nothing
// to do: no selection to cut or copy, a field that takes no typing, no text on the clipboard.
bool win_CutToClipboard();
bool win_CopyToClipboard();
bool win_PasteFromClipboard();

// Called while the task window exists, after the keyboard focus moved, after the selection of
// the text field with the focus changed and after the clipboard's content changed; nullptr (the
// start) calls nothing. An error raised in it is reported as an error of a handler.
using TextFocusHandler = void (*)();
void uix_SetTextFocusHandler(TextFocusHandler handler);

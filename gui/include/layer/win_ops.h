// Operations on windows: creation, destruction, events, text, geometry, focus and the plain
// accessors of the window record. Every operation that takes a window raises run-time error
// 6000 when it is not a window of the layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layer/events.h"
#include "layer/window.h"

// Creates a top-level (kind 1) or child (kind 2) window with client rectangle `rect` in the
// parent's client coordinates and returns after its e_create has been handled. A top-level
// window needs the task window or the screen as parent (6001); on an MDI task window it becomes
// an MDI child with its own menu, on the screen a pop-up. A child window takes its control id
// from `menu` (res_menu(Id)). Other kinds: 6001.
Window win_Create(int kind, Rect rect, const std::string& title, const Menu& menu, Window parent,
                  const WinFlags& flags, EventHandler handler, std::int32_t creation_data);
// Destroys the window and its children (e_destroy reaches each). 6001 for the screen;
// 6230 for the window whose e_destroy is being delivered, or one of its ancestors.
void win_Destroy(Window win);
// Delivers the event now to the window's handler (for a control: to its nearest ancestor with a
// handler, 6311 when none) and returns the handler's result (0 when it fails).
long win_SendEvent(Window win, const Event& ev);
// Queues the event: e_native, e_user, e_menu, e_destroy, e_getfocus, e_move, e_update,
// e_closerequest, the mouse events and e_endsession; any other event is run-time error 6312.
void win_PostEvent(Window win, const Event& ev);
Window win_GetParent(Window win);
// Caption or control text, cp1251, lines joined by a single "\n". Setting it delivers
// e_state(text(Text)) to the window's handler.
void win_SetText(Window win, const std::string& text);
std::string win_GetText(Window win);
// For task, top-level and child windows and dialogs `rect` is the client rectangle (the frame
// and menu bar are added); for controls the outer rectangle. 6001 for the screen.
void win_Move(Window win, Rect rect);
Rect win_GetClientRect(Window win);
Rect win_GetOuterRect(Window win);  // screen coordinates
void win_Invalidate(Window win);    // whole client area, with background erase
void win_Update(Window win);        // repaints what is invalid now
void win_SetFocus(Window win);      // 6313 when the window refuses the focus
void win_BringToTop(Window win);

void win_SetHandler(Window win, EventHandler handler);
EventHandler win_GetHandler(Window win);
// Gives the window a handler that receives its events before, and instead of, its handler
// chain; nullptr takes it away. A control then receives its own focus, key, mouse and size
// events through it; a key or mouse-button event that it succeeds for does not reach the
// control, any other event keeps the control's own behaviour.
void win_SetSubClassHandler(Window win, EventHandler handler);
void win_SetData(Window win, std::int32_t data);  // the record's creation data
std::int32_t win_GetData(Window win);
int win_GetType(Window win);  // WindowKind; 0 for anything that is not a window of the layer
int win_GetCtlId(Window win);
std::vector<Window> win_GetChildWindows(Window win);  // all descendants, in creation order
std::vector<Window> win_GetListDialogs();             // the open dialogs
// While on, every toolkit event of the window is first offered to its handler as
// e_native(event type, 0, 0); when the handler succeeds the event goes no further.
void win_EnableHook(Window win, bool on);

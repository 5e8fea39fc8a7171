// Controls: creating every control kind, check and radio state, control states and edit fields.
#pragma once

#include <string>
#include <vector>

#include "layer/events.h"
#include "layer/types.h"
#include "layer/window.h"

// Control flags beyond the window flags (each control starts visible; 0 ends the list's
// interpretation, anything after it is taken as native style bits, which this layer ignores).
enum ControlFlag : std::uint32_t {
  csf_Group = 25, csf_TabStop = 26,
  csf_DefPushButton = 23, csf_OwnerDraw = 35, csf_Checked = 22, csf_LeftText = 34,
  csf_3State = 50, csf_Auto = 51, csf_Auto3State = 68,
  csf_ReadOnly = 27, csf_MultiLine = 28, csf_Center = 32, csf_Right = 33, csf_NoBorder = 38,
  csf_Upper = 42, csf_Lower = 43, csf_Password = 44, csf_AutoVScroll = 45, csf_AutoHScroll = 46,
  csf_NoHideSel = 47, csf_OemConvert = 48, csf_WantReturn = 49,
  csf_Left = 31, csf_Simple = 39, csf_LeftNoWordWrap = 40, csf_NoPrefix = 41,
  csf_BlackRect = 62, csf_GrayRect = 63, csf_WhiteRect = 64, csf_BlackFrame = 65,
  csf_GrayFrame = 66, csf_WhiteFrame = 67,
  csf_MultipleSel = 29, csf_MultiColumn = 30, csf_NoNotify = 52, csf_Sort = 53,
  csf_NoRedraw = 54, csf_OwnerDrawVariable = 55, csf_HasStrings = 56, csf_UseTabStops = 57,
  csf_NoIntegralHeight = 58, csf_WantKeyboardInput = 59, csf_ExtendedSel = 60,
  csf_DisableNoScroll = 61
};

// Creates a control of kind 8..18, or a multi-column list (21, layer/listview.h), in `parent`
// with outer rectangle `rect` in the parent's client coordinates (for a dialog laid out in a font
// of its own, the rectangle is taken through dialog units into that font). The title is the
// control's text (for a list edit also its edit line; a multi-column list's accessible name).
// The control gets the parent's font. Other kinds and the screen as parent: 6001; failure: 6302.
Window win_CreateControl(int kind, Rect rect, const std::string& title, Window parent,
                         const WinFlags& flags, int ctl_id);
// The child of `parent` with that control id; none: 6316.
Window win_GetCtlHandle(Window parent, int ctl_id);

// Check states: 0 unchecked, 1 checked, 2 indeterminate.
// Sets the check state of a radio button or check box (other buttons keep none); a state other
// than 0..2 is 6010; a control with id 0 is left alone.
void win_Check(Window control, int state);
int win_IsChecked(Window control);
// Checks `checked` and clears every other button of `group`.
void win_CheckRadioButton(Window checked, const std::vector<Window>& group);
// Checks the control `check_id` of `parent` and clears those with ids first_id..last_id.
void win_CheckRadioButton(Window parent, int first_id, int last_id, int check_id);

// State list elements of win_SetState and win_GetState.
enum WinState : int {
  st_Visible = 10, st_Invisible = 11, st_Disabled = 12, st_Enabled = 13, st_Maximized = 14,
  st_Minimized = 15, st_Restored = 16, st_DefPushButton = 23
};
// Applies each element in order (visible, invisible, disabled and enabled deliver e_state to the
// window; hiding or disabling the window that has the focus gives the focus to its parent).
// An empty list: 6003; an unknown element: 6010; 23 on anything but a push button: 6001.
void win_SetState(Window win, const std::vector<int>& states);
// The states that hold: 10 or 11, 13 or 12, then 14 or 15 when maximized or minimized, and 23
// for the default push button.
std::vector<int> win_GetState(Window win);

// Edit fields (and the edit line of a list edit). Positions count the characters of the text as
// win_GetText gives it (a line break is one character).
void win_SetEditCtlReadOnly(Window edit, bool read_only);
// The selection as [start, end); start == end is the caret position.
void win_GetTextSelection(Window edit, int& start, int& end);
// Selects [start, end); end -1 selects to the end of the text; start -1 removes the selection.
void win_SelectText(Window edit, int start, int end);
// Deletes the selected text.
void win_Clear(Window edit);

// Scroll-bar controls (kinds 11 and 12): range and thumb position. Setting them reports nothing
// to the parent. Not a window: 6000; any other kind: 6001; a range whose minimum lies above its
// maximum: 6010.
void win_SetScrollRange(Window scroll_bar, int min, int max);
void win_GetScrollRange(Window scroll_bar, int& min, int& max);
// The position is kept inside the range.
void win_SetScrollPos(Window scroll_bar, int pos);
int win_GetScrollPos(Window scroll_bar);

// Custom controls (kind 20): controls of a class that the program registers with its handler.
// They are made from definition lists (wdef_custom, see dialog_window.h); each control of the
// class starts with the class's handler, receives e_create (creation data 0) and every event of
// a window of the layer, and can be drawn on. A name that is empty or registered already: 6220.
void class_Create(const std::string& class_name, EventHandler handler);
// Forgets the class; controls made of it keep their handler. Fails when no such class is
// registered.
bool class_Destroy(const std::string& class_name);

// The mouse cursor: stock numbers 1 arrow, 2 cross, 3 text beam, 4 icon, 5 sizing, 6 diagonal
// sizing rising to the right, 7 vertical sizing, 8 diagonal sizing falling to the right,
// 9 horizontal sizing, 10 up arrow, 11 hourglass; other numbers below 12 are the arrow; 12 and
// above would be cursor resources, of which the program has none (6051).
#pragma once

#include "layer/types.h"

enum CursorNo : int {
  cursor_Arrow = 1, cursor_Cross = 2, cursor_Ibeam = 3, cursor_Icon = 4, cursor_Size = 5,
  cursor_SizeNESW = 6, cursor_SizeNS = 7, cursor_SizeNWSE = 8, cursor_SizeWE = 9,
  cursor_UpArrow = 10, cursor_Wait = 11
};

// Sets the window's cursor, shown while the mouse is over its client area.
void cursor_Set(Window win, int cursor_no);
int cursor_Get(Window win);
// Shows the hourglass until the next cursor update (the next mouse move over a layer window).
void cursor_SetWait();
// Hides the cursor and captures the mouse for the active window; the next mouse move over a
// window of the layer shows it again and releases the capture.
void cursor_Hide();
// The cursor position in screen coordinates.
Point cursor_GetPos();

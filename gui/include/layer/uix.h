// The task window, the message loop and the layer's attributes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "layer/events.h"
#include "layer/window.h"

// Creates the task window (its e_create carries 0) and runs the message loop; returns when the
// task window has been destroyed. A RunExit thrown by a handler ends the loop and leaves here.
// MDI mode with no_menu: 6405; a missing menu resource: 6053; a bad dyn_menu: 6004.
void uix_Init(const WinFlags& flags, EventHandler handler, const Menu& menu,
              const std::string& app_name, const std::string& title);
Window uix_GetTaskWin();
// Whether windows can be shown at all: a display is named (DISPLAY, WAYLAND_DISPLAY, or a platform
// chosen by QT_QPA_PLATFORM) or the toolkit runs already. Without one, uix_Init could not open the
// task window, and the toolkit would end the process with its own words.
bool uix_CanShowWindows();

// One of the system's own texts (code page 1251) as the user reads it: its Russian form from the
// program's translation under a Russian locale (runtime/ui_language.h), else, and for a text the
// translation does not name, the text itself. The layer applies it to the texts it shows (menus,
// titles, captions, boxes); this is for the texts shown by the drawing of those above it (the
// toolbar package's tooltips and help line). uix_Init installs it as the translation of the
// runtime's own words (runtime/err_texts.h).
std::string uix_Translate(std::string_view text);

// Attributes: settable ones (10002 MDI, 10004/10005/10010/10011 client margins top, bottom,
// left, right, 10006 3D controls, 10007 suppress change notes, 10008 erase background,
// 10009 platform validate, 408 raw printing) and read-only ones (screen, task window, system
// colours and sizes). An unknown id is run-time error 6010.
enum UixAttr : int {
  xQbx_bMDI = 10002, xQbx_tBarheight = 10004, xQbx_sBarheight = 10005, xQbx_b3D = 10006,
  xQbx_bSuppressUpdateCheck = 10007, xQbx_bERASEBACKGROUND = 10008,
  xQbx_bPLATFORM_VALIDATE = 10009, xQbx_lBarheight = 10010, xQbx_rBarheight = 10011,
  xQbx_bPRN_Q_RAW = 408
};
// The read-only attributes, by name: the instance and task-data words, whether the display has
// colours and a mouse, the system colours (104..129, attr_SysColor + n), the screen and task
// windows, the screen's and the printer's height, width and pixels per inch, the sizes of frames,
// borders, menus and captions.
enum UixReadOnlyAttr : int {
  attr_Instance = 10001, attr_TaskData = 10003,
  attr_ColorDisplay = 101, attr_MousePresent = 102, attr_Ten000 = 103, attr_SysColor = 104, attr_SysColorLast = 129,
  attr_Fixed24First = 200, attr_Fixed24Last = 202, attr_Fixed18First = 205, attr_Fixed18Last = 206,
  attr_ScrollBarWidth = 203, attr_ScrollBarHeight = 204, attr_IconWidth = 207, attr_IconHeight = 208,
  attr_ScreenWindow = 300, attr_TaskWindow = 301,
  attr_ScreenHeight = 400, attr_ScreenWidth = 401, attr_ScreenPpiX = 402, attr_ScreenPpiY = 403,
  attr_PrinterHeight = 404, attr_PrinterWidth = 405, attr_PrinterPpiX = 406, attr_PrinterPpiY = 407,
  attr_FrameWidth = 500, attr_FrameHeight = 501, attr_BorderWidth = 502, attr_BorderHeight = 503,
  attr_DialogFrameWidth = 504, attr_DialogFrameHeight = 505, attr_MenuHeight = 506, attr_CaptionHeight = 507
};
void uix_SetAttrVal(int attr, std::int32_t value);
std::int32_t uix_GetAttrVal(int attr);

// A handler for run-time errors raised inside event handlers; called with the error code
// instead of the standard report while the task window exists. nullptr removes it.
using ErrorHandler = void (*)(int code);
void uix_SetErrorHandler(ErrorHandler handler);

// Runs `body` under the same trap as an event handler: a run-time error raised in it is reported
// exactly as an error of a handler is, and the call returns false; otherwise true. Lets a
// handler carry on with its next step after one step failed.
bool uix_RunTrapped(const std::function<void()>& body);

// Whether a modal box, dialog, chooser, progress box or pop-up menu of the layer runs its nested
// loop now: the user is busy with it, and what the program tells on its own (a timer's news) can
// wait until it has closed.
bool uix_InModalLoop();

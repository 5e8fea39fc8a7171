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

// The program's resources as the layer reads them: menu, dialog and accelerator tables keyed by
// resource id, and the one registration that hands them to the layer (uix_SetResources) together
// with the ids the layer itself asks for. Plain data without toolkit types; texts are code page
// 1251. Pictures, icons and help files are not tables: the layer opens them by resource path in
// the Qt resource system of the program, ":/bitmaps/<id>.bmp", ":/icons/<id>.ico" and
// ":/help/<file name>", so the program compiles its files in under those names.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "layer/controls.h"
#include "layer/window.h"

// ---- menus ----
// A "\t" in an item text separates the shortcut text shown at the item's right.
enum class ResMenuItemKind { command, popup, separator };

struct ResMenuItem {
  ResMenuItemKind kind = ResMenuItemKind::command;
  int id = 0;                          // command id of a command item (0 for the others)
  std::string_view text;               // cp1251
  std::span<const ResMenuItem> items;  // the items of a pop-up
  bool right_aligned = false;          // this item and all later ones stand at the bar's right
  bool grayed = false;                 // shown grey and disabled at first
  bool checked = false;
};

struct ResMenu {
  int id = 0;
  std::span<const ResMenuItem> items;  // the items of the menu bar
};

// ---- dialogs ----
// Rectangles are in dialog units of the template's font (the system dialog font when the
// template names none).

// A short list of flags: window flags (wsf_) for a dialog, control and window flags (csf_, wsf_)
// for an item.
struct ResFlags {
  std::array<std::uint32_t, 8> values{};
  std::size_t count = 0;
  constexpr ResFlags() = default;
  constexpr ResFlags(std::initializer_list<std::uint32_t> flags) {
    for (std::uint32_t f : flags)
      if (count < values.size()) values[count++] = f;
  }
  constexpr std::span<const std::uint32_t> list() const { return {values.data(), count}; }
};

// Left, top, width, height in dialog units.
struct DuRect {
  int x = 0, y = 0, cx = 0, cy = 0;
};

struct ResDialogItem {
  WindowKind kind = wk_Text;  // a control kind, wk_PushButton … wk_Icon, or wk_Custom
  int id = 0;                 // control id
  std::string_view text;      // caption, cp1251
  DuRect rect;
  ResFlags flags;
  int icon = 0;               // an icon item (wk_Icon): the icon resource it shows
  // A custom control (wk_Custom): its class, registered with class_Create before the dialog is
  // made (an unknown class: the dialog is not made, 6302).
  std::string_view class_name = {};
};

struct ResDialog {
  int id = 0;
  std::string_view caption;    // cp1251
  DuRect rect;                 // position relative to the owner's client area, and size
  ResFlags flags;              // window flags
  std::string_view font_face;  // empty: the system dialog font
  int font_points = 0;
  std::span<const ResDialogItem> items;  // in template order (tab order)
};

// ---- accelerators ----
// A key is a virtual-key code of the layer's key codes (letters and digits as their characters,
// F1 = 112 … F24 = 135) with a set of modifiers; pressing it gives a menu command.
enum AccelModifier : unsigned { accel_shift = 1, accel_control = 2, accel_alt = 4 };

struct ResAccel {
  int virtual_key = 0;
  unsigned modifiers = 0;  // AccelModifier bits
  int command = 0;
};

struct ResAccelTable {
  int id = 0;
  std::span<const ResAccel> entries;
};

// ---- the registration ----
// What the program hands to the layer before uix_Init. The tables are looked up by id (the first
// entry of an id counts) and must outlive the run, as static tables do. The task window takes the
// window-list pop-up from menu `window_list_menu` when the tables hold one (otherwise the layer
// makes its own "&Window" pop-up), loads accelerator table `task_accelerators` and shows icon
// `task_icon` (0: none). `program_name` names the application object the layer makes.
struct ResourceTables {
  std::span<const ResMenu> menus;
  std::span<const ResDialog> dialogs;
  std::span<const ResAccelTable> accelerator_tables;
  int window_list_menu = 0;
  int task_accelerators = 0;
  int task_icon = 0;
  std::string_view program_name;
};

// Hands the program's resources to the layer, replacing any earlier registration. Until a
// registration the layer finds no menu, dialog or accelerator table and shows no task icon.
void uix_SetResources(const ResourceTables& tables);

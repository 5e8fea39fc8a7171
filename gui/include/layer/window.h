// Window kinds, window flags and the menu argument of the windowing layer.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "layer/events.h"
#include "layer/types.h"

// What win_GetType answers.
enum WindowKind : int {
  wk_NotAWindow = 0, wk_TopLevel = 1, wk_Child = 2, wk_Screen = 3, wk_Task = 4,
  wk_ModalDialog = 6, wk_ModelessDialog = 7,
  wk_PushButton = 8, wk_RadioButton = 9, wk_CheckBox = 10, wk_HScroll = 11, wk_VScroll = 12,
  wk_Edit = 13, wk_Text = 14, wk_ListBox = 15, wk_ListButton = 16, wk_ListEdit = 17,
  wk_GroupBox = 18, wk_Icon = 19, wk_Custom = 20, wk_ListView = 21,
  wk_PrintWindow = 25, wk_PictureWindow = 26, wk_MetafileWindow = 27
};

// Window flags: a window's look as a list of small numbers (start value: visible).
enum WindowFlag : std::uint32_t {
  wsf_ThinBorder = 1, wsf_SizeBorder = 2, wsf_DialogFrame = 3, wsf_Close = 4, wsf_Maximize = 5,
  wsf_Minimize = 6, wsf_HScroll = 7, wsf_VScroll = 8, wsf_TitleBar = 9, wsf_Visible = 10,
  wsf_Invisible = 11, wsf_Disabled = 12, wsf_Enabled = 13, wsf_Maximized = 14,
  wsf_Minimized = 15, wsf_Restored = 16, wsf_ClipChildren = 17, wsf_ClipSiblings = 18,
  wsf_TopMost = 19, wsf_Transparent = 20, wsf_NoClipSiblings = 70, wsf_PopUp = 0x80000000u
};
using WinFlags = std::vector<std::uint32_t>;

// Items of a menu built from a list (dyn_menu).
struct MenuItem {
  enum class Kind { txt, ownerdraw, separator, menu_break } kind = Kind::txt;
  int tag = 0;
  std::string text;  // cp1251
  bool enabled = true;
  bool checked = false;
  std::vector<MenuItem> items;  // a non-empty list makes the item a pop-up
};
namespace menu_item {
inline MenuItem txt(int tag, std::string text, bool enabled = true, bool checked = false,
                    std::vector<MenuItem> items = {}) {
  return {MenuItem::Kind::txt, tag, std::move(text), enabled, checked, std::move(items)};
}
inline MenuItem separator() { return {MenuItem::Kind::separator, 0, {}, true, false, {}}; }
inline MenuItem menu_break() { return {MenuItem::Kind::menu_break, 0, {}, true, false, {}}; }
}  // namespace menu_item

// The menu argument: a menu resource, a menu built from a list, or no menu.
struct res_menu { int id = 0; };
struct dyn_menu { std::vector<MenuItem> items; };
struct no_menu {};
using Menu = std::variant<res_menu, dyn_menu, no_menu>;

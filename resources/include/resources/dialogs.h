// Dialog templates of the program: declarative tables keyed by resource id. Rectangles are in
// dialog units of the template's font (the system dialog font when the template names none);
// texts are code page 1251. The tables hold no toolkit types: the windowing layer lays the
// dialogs out and makes their controls.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace res {

// A short list of flag numbers (window flags for a dialog, control flags for an item).
struct FlagList {
  std::array<std::uint32_t, 8> values{};
  std::size_t count = 0;
  constexpr FlagList() = default;
  constexpr FlagList(std::initializer_list<std::uint32_t> flags) {
    for (std::uint32_t f : flags)
      if (count < values.size()) values[count++] = f;
  }
  constexpr std::span<const std::uint32_t> list() const { return {values.data(), count}; }
};

// Left, top, width, height in dialog units.
struct DuRect {
  int x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogItemDef {
  int kind = 0;           // control kind, as win_GetType numbers them (8..19)
  int id = 0;             // control id
  std::string_view text;  // caption, cp1251
  DuRect rect;
  FlagList flags;         // control flags (26 tab stop, 23 default button, 11 invisible, ...)
  int icon = 0;           // an icon item (kind 19): the icon resource it shows
};

struct DialogDef {
  int id = 0;
  std::string_view caption;  // cp1251
  DuRect rect;               // position relative to the owner's client area, and size
  FlagList flags;            // window flags (3 dialog frame, 4 system menu, 9 title bar, ...)
  std::string_view font_face;  // empty: the system dialog font
  int font_points = 0;
  std::span<const DialogItemDef> items;  // in template order (tab order)
};

// The dialog resource `id`, or nullptr when the program has none of that id.
const DialogDef* find_dialog(int id);

}  // namespace res

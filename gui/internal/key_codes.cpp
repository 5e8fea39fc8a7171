// The key code tables: special keys, virtual-key codes of the other keys, and the way back.
#include "internal/key_codes.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <utility>

namespace gui_detail {
namespace {

// Virtual-key codes of keys whose toolkit key differs from the code.
constexpr std::array<std::pair<int, int>, 40> kVirtualKeys = {{
    {Qt::Key_Backspace, 8},  {Qt::Key_Tab, 9},         {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},     {Qt::Key_Return, 13},     {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},     {Qt::Key_Control, 17},    {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},     {Qt::Key_Pause, 19},      {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},    {Qt::Key_Space, 32},      {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},  {Qt::Key_End, 35},        {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},      {Qt::Key_Up, 38},         {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},      {Qt::Key_Print, 44},      {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},    {Qt::Key_Help, 47},       {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},      {Qt::Key_NumLock, 144},   {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186}, {Qt::Key_Equal, 187},    {Qt::Key_Comma, 188},
    {Qt::Key_Minus, 189},    {Qt::Key_Period, 190},    {Qt::Key_Slash, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220},
    {Qt::Key_BracketRight, 221},
}};

// The Latin key under each Cyrillic letter of the standard Russian layout (А..Я).
constexpr char kCyrillicKeys[32] = {'F', ',', 'D', 'U', 'L', 'T', ';', 'P', 'B', 'Q', 'R',
                                    'K', 'V', 'Y', 'J', 'G', 'H', 'C', 'N', 'E', 'A', '[',
                                    'W', 'X', 'I', 'O', ']', 'S', 'M', '\'', '.', 'Z'};

int oem_code_of_char(char c) {
  switch (c) {
    case ',': return 188;
    case ';': return 186;
    case '[': return 219;
    case ']': return 221;
    case '\'': return 222;
    case '.': return 190;
    default: return c;
  }
}

}  // namespace

int shift_state_of(Qt::KeyboardModifiers mods) {
  int s = 0;
  if (mods & Qt::ShiftModifier) s |= 1;
  if (mods & Qt::ControlModifier) s |= 2;
  if (mods & Qt::AltModifier) s |= 4;
  return s;
}

int current_shift_state() { return shift_state_of(QGuiApplication::queryKeyboardModifiers()); }

bool is_special_key(int code) {
  return (code >= 301 && code <= 317 && code != 311) || code == 127 || (code >= 331 && code <= 345);
}

int key_code_of(const QKeyEvent* ev) {
  const int key = ev->key();
  const bool ctrl = ev->modifiers() & Qt::ControlModifier;
  const bool keypad = ev->modifiers() & Qt::KeypadModifier;
  switch (key) {
    case Qt::Key_Up: return 301;
    case Qt::Key_Down: return 302;
    case Qt::Key_Right: return ctrl ? 314 : 303;
    case Qt::Key_Left: return ctrl ? 313 : 304;
    case Qt::Key_PageUp: return 305;
    case Qt::Key_PageDown: return 306;
    case Qt::Key_Home: return ctrl ? 309 : 307;
    case Qt::Key_End: return ctrl ? 310 : 308;
    case Qt::Key_Insert: return 312;
    case Qt::Key_Backspace: return 315;
    case Qt::Key_Help: return 316;
    case Qt::Key_Clear: return 317;
    case Qt::Key_Delete: return 127;
    default: break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F15) return 331 + (key - Qt::Key_F1);
  if (key >= Qt::Key_F16 && key <= Qt::Key_F24) return 127 + (key - Qt::Key_F16);  // F16..F24
  if (keypad) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
    switch (key) {
      case Qt::Key_Asterisk: return 106;
      case Qt::Key_Plus: return 107;
      case Qt::Key_Minus: return 109;
      case Qt::Key_Period: return 110;
      case Qt::Key_Slash: return 111;
      default: break;
    }
  }
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
  for (const auto& [qt, vk] : kVirtualKeys)
    if (qt == key) return vk;
  if (key == Qt::Key_Apostrophe || key == Qt::Key_QuoteDbl) return 222;
  // A Cyrillic letter gives the code of the key it lies on.
  if (key >= 0x0410 && key <= 0x044F) return oem_code_of_char(kCyrillicKeys[(key - 0x0410) % 32]);
  if (key == 0x0401 || key == 0x0451) return 192;  // Ё
  return 0;
}

std::optional<QKeyCombination> key_combination_of(int vk, unsigned modifiers) {
  Qt::KeyboardModifiers mods;
  if (modifiers & 1) mods |= Qt::ShiftModifier;
  if (modifiers & 2) mods |= Qt::ControlModifier;
  if (modifiers & 4) mods |= Qt::AltModifier;
  int key = 0;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) key = vk;
  else if (vk >= 112 && vk <= 135) key = Qt::Key_F1 + (vk - 112);
  else
    for (const auto& [qt, code] : kVirtualKeys)
      if (code == vk) { key = qt; break; }
  if (key == 0) return std::nullopt;
  return QKeyCombination(mods, static_cast<Qt::Key>(key));
}

}  // namespace gui_detail


// Key codes of the layer: toolkit keys to the codes of e_keydown/e_keyup (the special keys of
// the navigation table, otherwise virtual-key codes), and virtual-key codes back to toolkit keys
// for accelerator tables.
#pragma once

#include <QKeySequence>
#include <optional>

class QKeyEvent;

namespace gui_detail {

// The key code of a key event: 301..317, 127 and 331..345 for the special keys (Control turns
// Left, Right, Home and End into 313, 314, 309 and 310), else the virtual-key code; 0 for a key
// that has none.
int key_code_of(const QKeyEvent* ev);
// Whether a key code is special (the layer follows its e_keydown with an e_char of that code).
bool is_special_key(int code);
// The shift state bits (1 Shift, 2 Control, 4 Alt) of toolkit modifiers.
int shift_state_of(Qt::KeyboardModifiers mods);
// The shift state sampled from the keyboard now.
int current_shift_state();
// The toolkit key combination of a virtual-key code with accelerator modifiers (1 Shift,
// 2 Control, 4 Alt); none for a code that has no toolkit key.
std::optional<QKeyCombination> key_combination_of(int virtual_key, unsigned modifiers);

}  // namespace gui_detail

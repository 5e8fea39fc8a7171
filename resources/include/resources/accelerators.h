// Accelerator tables of the program, keyed by resource id. A key is a virtual-key code of the
// windowing layer's key codes (letters and digits as their characters, F1 = 112 … F24 = 135)
// with a set of modifiers; pressing it gives a menu command.
#pragma once

#include <span>

namespace res {

enum AccelModifier : unsigned { accel_shift = 1, accel_control = 2, accel_alt = 4 };

struct AccelDef {
  int virtual_key = 0;
  unsigned modifiers = 0;  // AccelModifier bits
  int command = 0;
};

struct AccelTableDef {
  int id = 0;
  std::span<const AccelDef> entries;
};

// The accelerator table `id`, or nullptr when the program has none of that id.
const AccelTableDef* find_accel_table(int id);

}  // namespace res

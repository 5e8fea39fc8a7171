// Where the message window stands in the task window's client area: the rectangle it is
// created with and the one it is moved to after the task window changed size. Arithmetic
// overflow is run-time error 1031.
#pragma once

#include <cstdint>

#include "layer/types.h"

namespace msg_geometry {

// The first size of the window from the client width: width, height and the wrap setting that
// the editor is created with.
struct InitialSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t wrap = 0;
};
InitialSize get_initial_mes_win_size(std::int32_t client_right);

// The creation rectangle from the task window's client rectangle and its top and bottom margins.
Rect creation_rect(const Rect& client, std::int32_t top_margin, std::int32_t bottom_margin);

// The margins by which the MDI area is inset (all 0 outside MDI mode for top and left).
struct Margins {
  std::int32_t top = 0, left = 0, bottom = 0, right = 0;
};
// The task window's margins as the re-positioning counts them: top and left only in MDI mode.
Margins task_margins();
// The rectangle after a size change of the task window.
Rect resize_rect(const Rect& client, const Margins& m);

}  // namespace msg_geometry

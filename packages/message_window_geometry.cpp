// The creation and re-positioning rectangles of the message window, with checked arithmetic.
#include "message_window_geometry.h"

#include "layer/uix.h"
#include "runtime/run_error.h"

namespace msg_geometry {
namespace {

std::int32_t sub(std::int32_t a, std::int32_t b) {
  std::int32_t r = 0;
  if (__builtin_sub_overflow(a, b, &r)) RUN_Error(errcode::kIntOverflow);
  return r;
}

std::int32_t add(std::int32_t a, std::int32_t b) {
  std::int32_t r = 0;
  if (__builtin_add_overflow(a, b, &r)) RUN_Error(errcode::kIntOverflow);
  return r;
}

}  // namespace

InitialSize get_initial_mes_win_size(std::int32_t client_right) { return {sub(client_right, 20), 100, 0}; }

Rect creation_rect(const Rect& client, std::int32_t top_margin, std::int32_t bottom_margin) {
  const std::int32_t bottom = sub(sub(sub(client.bottom, 10), top_margin), bottom_margin);
  const InitialSize size = get_initial_mes_win_size(client.right);
  return {10, sub(bottom, size.height), add(10, size.width), bottom};
}

Margins task_margins() {
  Margins m;
  if (uix_GetAttrVal(xQbx_bMDI) != 0) {
    m.top = uix_GetAttrVal(xQbx_tBarheight);
    m.left = uix_GetAttrVal(xQbx_lBarheight);
  }
  m.bottom = uix_GetAttrVal(xQbx_sBarheight);
  m.right = uix_GetAttrVal(xQbx_rBarheight);
  return m;
}

Rect resize_rect(const Rect& client, const Margins& m) {
  return {10, sub(sub(sub(client.bottom, 110), m.top), m.bottom),
          sub(sub(sub(client.right, 10), m.left), m.right),
          sub(sub(sub(client.bottom, 10), m.top), m.bottom)};
}

}  // namespace msg_geometry

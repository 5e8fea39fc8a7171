// The cover window and its registration.
#include "app/cover_window.h"

#include "app/session.h"
#include "packages/toolbar.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"
#include "runtime/scope_exit.h"

namespace {

// Client area: top edge 50, right edge 30 pixels left of the task window's client right edge.
constexpr std::int32_t kВерх = 50;
constexpr std::int32_t kОтступСправа = 30;

std::int32_t сложить(std::int32_t a, std::int32_t b) {
  std::int32_t r = 0;
  if (__builtin_add_overflow(a, b, &r)) RUN_Error(errcode::kIntOverflow);
  return r;
}
std::int32_t вычесть(std::int32_t a, std::int32_t b) {
  std::int32_t r = 0;
  if (__builtin_sub_overflow(a, b, &r)) RUN_Error(errcode::kIntOverflow);
  return r;
}

// The picture, or nothing when a load of this name failed before (that error was reported): one
// missing file gives one error box, not one per repaint.
std::optional<Picture> загрузить(const std::string& файл) {
  auto& неудачные = сеанс().неудачные_обложки;
  try {
    Picture p = pict_Load(файл);
    неудачные.erase(файл);
    return p;
  } catch (const RunError&) {
    if (неудачные.contains(файл)) return std::nullopt;
    неудачные.insert(файл);
    throw;
  }
}

void нарисовать(Window win) {
  запомнитьокнообложки(win);
  const std::string файл = имяфайлаобложки.get();
  const auto картинка = загрузить(файл);
  if (!картинка) return;
  const Picture p = *картинка;
  const auto destroyed = on_scope_exit([p] { pict_Destroy(p); });
  const Rect c = win_GetClientRect(uix_GetTaskWin());
  int w = 0, h = 0, size = 0;
  pict_GetSize(p, w, h, size);
  const std::int32_t x = вычесть(вычесть(c.right, w), kОтступСправа);
  win_Move(win, Rect{x, kВерх, сложить(x, w), сложить(kВерх, h)});
  pict_Draw(win, p, Rect{0, 0, w, h}, Rect{0, 0, w, h}, rop_SrcCopy);
}

}  // namespace

Window win_обложка_Create(Window parent) {
  return win_Create(wk_TopLevel, Rect{600, 80, 876, 423}, "Обложка"_cps, no_menu{}, parent,
                    {wsf_SizeBorder, wsf_TitleBar, wsf_Maximize, wsf_Minimize, wsf_Close,
                     wsf_ClipSiblings, wsf_ClipChildren},
                    win_обложка_eh, 0);
}

std::optional<long> win_обложка_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) return 0;
  if (std::holds_alternative<e_update>(ev)) {
    нарисовать(win);
    return 0;
  }
  if (std::holds_alternative<e_size>(ev)) {
    toolbar_resize(win);
    return 0;
  }
  if (std::holds_alternative<e_menu>(ev)) {
    win_SendEvent(win_GetParent(win), ev);
    return 0;
  }
  if (std::holds_alternative<e_destroy>(ev)) {
    // Closed by its close box (or with its parent): the registration no longer names an open
    // window, so the next cover window registers and "ОблЗакрыть" never meets a dead window.
    if (id_окнаобложки(true) == win) id_окнаобложки.replace({win, false});
    return std::nullopt;
  }
  return std::nullopt;
}

void запомнитьокнообложки(Window win) {
  if (id_окнаобложки(false)) id_окнаобложки.replace({win, true});
}

void удалитьокнообложки() {
  const auto открытое = id_окнаобложки(true);
  if (!открытое) return;
  id_окнаобложки.replace({*открытое, false});
  if (win_GetType(*открытое) != wk_NotAWindow) win_Destroy(*открытое);
}

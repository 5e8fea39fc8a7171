// The cover window and its registration.
#include "app/cover_window.h"

#include <filesystem>
#include <system_error>

#include "app/session.h"
#include "packages/toolbar.h"
#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/error_codes.h"
#include "runtime/file_slots.h"
#include "runtime/host_path.h"
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

// The largest cover file read: a bitmap of about 5000 x 5000 pixels in true colour.
constexpr std::size_t kНаибольшаяОбложка = std::size_t(128) << 20;
// The area in which the window says why it shows no picture.
constexpr int kШиринаОтказа = 300;
constexpr int kВысотаОтказа = 130;
constexpr int kПоле = 8;

std::string в_кавычках(const std::string& name) { return "«"_cps + name + "»"_cps; }

const std::string& совет_выбрать() {
  static const std::string текст = "Выберите другой файл кнопкой «ВидОбл»."_cps;
  return текст;
}

// Places the window's client area, `w` x `h`, near the top right corner of the task window.
void поставить(Window win, int w, int h) {
  const Rect c = win_GetClientRect(uix_GetTaskWin());
  const std::int32_t x = вычесть(вычесть(c.right, w), kОтступСправа);
  win_Move(win, Rect{x, kВерх, сложить(x, w), сложить(kВерх, h)});
}

void нарисовать(Window win) {
  запомнитьокнообложки(win);
  auto обложка = загрузить_обложку(имяфайлаобложки.get());
  if (const auto* отказ = std::get_if<std::string>(&обложка)) {
    поставить(win, kШиринаОтказа, kВысотаОтказа);
    draw_TextInRect(win, Rect{kПоле, kПоле, kШиринаОтказа - kПоле, kВысотаОтказа - kПоле}, *отказ, -1,
                    {dtext_Left, dtext_Top, dtext_WordBreak, dtext_NoPrefix});
    return;
  }
  const Picture p = std::get<Picture>(обложка);
  const auto destroyed = on_scope_exit([p] { pict_Destroy(p); });
  int w = 0, h = 0, size = 0;
  pict_GetSize(p, w, h, size);
  поставить(win, w, h);
  pict_Draw(win, p, Rect{0, 0, w, h}, Rect{0, 0, w, h}, rop_SrcCopy);
}

}  // namespace

std::variant<Picture, std::string> загрузить_обложку(const std::string& файл) {
  if (файл.empty()) return "Файл обложки не выбран.\nВыберите его кнопкой «ВидОбл»."_cps;
  const std::string имя = в_кавычках(файл);
  const std::string не_картинка = "Файл "_cps + имя + " — не картинка.\nОбложкой может быть картинка BMP, PNG, JPEG, GIF или другая. "_cps + совет_выбрать();
  // Only a regular file (or a link to one) is read: a pipe or a device would never end.
  std::error_code ec;
  const auto вид = std::filesystem::status(RUN_HostPath(файл), ec).type();
  if (вид == std::filesystem::file_type::not_found)
    return "Нет файла "_cps + имя + " в папке каталога.\nПоложите файл в папку каталога или "_cps +
           "выберите другой кнопкой «ВидОбл»."_cps;
  if (вид == std::filesystem::file_type::directory)
    return имя + " — папка, а не файл картинки.\n"_cps + совет_выбрать();
  if (!ec && вид != std::filesystem::file_type::regular) return не_картинка;
  std::optional<std::string> байты;
  try {
    байты = IO_RdFileBytes(файл, kНаибольшаяОбложка);
  } catch (const RunError& e) {
    if (!ERR_IsHostCondition(e.code())) throw;
    return "Файл "_cps + имя + " не прочитан: "_cps + ERR_ErrorWords(e.code()) + ".\n"_cps + ERR_ErrorAdvice(e.code());
  }
  if (!байты) return "Файл "_cps + имя + " слишком велик для обложки.\n"_cps + совет_выбрать();
  try {
    if (const auto картинка = pict_FromFileBytes(*байты)) return *картинка;
  } catch (const RunError& e) {
    if (e.code() != errcode::kLayerMemory) throw;
    return "Картинка в файле "_cps + имя + " слишком велика для обложки.\n"_cps + совет_выбрать();
  }
  return не_картинка;
}

std::optional<std::string> отказ_обложки(const std::string& файл) {
  auto обложка = загрузить_обложку(файл);
  if (auto* отказ = std::get_if<std::string>(&обложка)) return std::move(*отказ);
  pict_Destroy(std::get<Picture>(обложка));
  return std::nullopt;
}

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

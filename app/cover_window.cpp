// The cover window and its registration.
#include "app/cover_window.h"

#include <algorithm>
#include <filesystem>
#include <vector>
#include <system_error>

#include "app/session.h"
#include "core/catalogue_folder.h"
#include "core/catalogue_work.h"
#include "packages/toolbar.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/error_codes.h"
#include "runtime/file_slots.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"
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

// The gap between the cover window and the data-entry dialog beside it.
constexpr int kЗазор = 8;

// Places the window's client area, `w` x `h`: beside the open data-entry dialog (to its right when
// there is room in the task window, else to its left, else on the side with more room), never over
// it where the task window allows; with no dialog open, near the top right corner of the task
// window.
void поставить(Window win, int w, int h) {
  const Window задача = uix_GetTaskWin();
  const Rect c = win_GetClientRect(задача);
  const Window dlg = сеанс().диалог_ввода;
  if (dlg == 0 || win_GetType(dlg) == wk_NotAWindow) {
    const std::int32_t x = вычесть(вычесть(c.right, w), kОтступСправа);
    win_Move(win, Rect{x, kВерх, сложить(x, w), сложить(kВерх, h)});
    return;
  }
  // The frame the window adds around its client area.
  const Rect внешний = win_GetOuterRect(win), внутренний = win_GetClientRect(win);
  const int рамка = std::max(0, (внешний.right - внешний.left) - (внутренний.right - внутренний.left));
  const int заголовок = std::max(0, (внешний.bottom - внешний.top) - (внутренний.bottom - внутренний.top));
  const Rect д = win_GetOuterRect(dlg);
  const std::vector<Point> углы = win_MapPoints(static_cast<Window>(uix_GetAttrVal(attr_ScreenWindow)), задача, {{д.left, д.top}, {д.right, д.bottom}});
  const int справа = углы[1].x + kЗазор + рамка;           // the client's left edge right of the dialog
  const int слева = углы[0].x - kЗазор - рамка / 2 - w;    // the client's left edge left of it
  int x = справа;
  if (справа + w + рамка / 2 > c.right) {
    if (слева - рамка / 2 >= c.left)
      x = слева;
    else
      x = (c.right - углы[1].x) >= (углы[0].x - c.left) ? справа : слева;
  }
  int y = std::max(углы[0].y, c.top) + заголовок;
  if (y + h > c.bottom) y = std::max(c.top + заголовок, c.bottom - h);
  win_Move(win, Rect{x, y, сложить(x, w), сложить(y, h)});
}

// The size the picture is shown at: its own, scaled down with its aspect kept to at most half the
// height (and width) of the screen's work area.
void размер_показа(int& w, int& h) {
  const Rect экран = uix_GetWorkArea(uix_GetTaskWin());
  const int наиб_в = std::max(1, (экран.bottom - экран.top) / 2), наиб_ш = std::max(1, (экран.right - экран.left) / 2);
  if (w <= 0 || h <= 0) return;
  const double доля = std::min({1.0, double(наиб_в) / h, double(наиб_ш) / w});
  w = std::max(1, static_cast<int>(w * доля));
  h = std::max(1, static_cast<int>(h * доля));
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
  размер_показа(w, h);
  поставить(win, w, h);
  pict_DrawFit(win, p, Rect{0, 0, w, h}, true);
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

namespace {

// The cover named `имя` (a bare name in the catalogue's folder) becomes the dialog's: its field,
// the name the cover window shows, the cover window drawn again.
void поставить_обложку(Window dlg, const std::string& имя) {
  имяфайлаобложки.set(имя);
  if (win_GetType(dlg) != wk_NotAWindow) win_SetText(win_GetCtlHandle(dlg, ид_ФайлОбложки), имя);
  if (const auto открытое = id_окнаобложки(true); открытое && win_GetType(*открытое) != wk_NotAWindow)
    win_Invalidate(*открытое);
}

bool отказать_в_обложке(const std::string& почему) {
  dlg_MessageBox("Обложка"_cps, почему + "\nОбложка записи не изменена."_cps, mb_Error, mb_Ok, 0, mb_TaskModal);
  return false;
}

}  // namespace

bool взять_обложку(Window dlg, const std::string& путь) {
  if (const auto отказ = отказ_обложки(путь)) {
    // Told by the bare name, as the field shows it.
    std::string текст = *отказ;
    const std::size_t косая = путь.find_last_of('/');
    if (косая != std::string::npos)
      for (std::size_t p; (p = текст.find(путь)) != std::string::npos;) текст.replace(p, путь.size(), путь.substr(косая + 1));
    return отказать_в_обложке(текст);
  }
  const ИтогРаботы взято = взять_картинку_в_папку(путь);
  if (!взято.сделано()) return отказать_в_обложке(взято.отказ);
  if (win_GetType(dlg) == wk_NotAWindow) return false;
  поставить_обложку(dlg, взято.путь);
  return true;
}

bool вставить_обложку(Window dlg) {
  const auto картинка = clip_GetPicture();
  if (!картинка) {
    dlg_MessageBox("Обложка"_cps,
                   "В буфере обмена нет картинки.\nСкопируйте картинку в другой программе и нажмите «Вставить» снова."_cps,
                   mb_Information, mb_Ok, 0, mb_TaskModal);
    return false;
  }
  const auto освободить = on_scope_exit([p = *картинка] { pict_Destroy(p); });
  std::string имя;
  for (int n = 1;; ++n) {
    имя = "обложка-"_cps + std::to_string(n) + ".png";
    if (!RUN_FileExists(имя)) break;
  }
  try {
    pict_SavePng(*картинка, имя);
  } catch (const RunError& e) {
    if (!ERR_IsHostCondition(e.code())) throw;
    return отказать_в_обложке(текст_отказа("Картинку не удалось сохранить в файле "_cps + в_кавычках(имя), e));
  }
  if (win_GetType(dlg) == wk_NotAWindow) return false;
  поставить_обложку(dlg, имя);
  return true;
}

Window win_обложка_Create(Window parent) {
  return win_Create(wk_TopLevel, Rect{600, 80, 876, 423}, "Обложка"_cps, no_menu{}, parent,
                    {wsf_SizeBorder, wsf_TitleBar, wsf_Maximize, wsf_Minimize, wsf_Close,
                     wsf_ClipSiblings, wsf_ClipChildren},
                    win_обложка_eh, 0);
}

std::optional<long> win_обложка_eh(Window win, const Event& ev) {
  if (std::holds_alternative<e_create>(ev)) {
    win_AcceptFiles(win, true);
    return 0;
  }
  if (const auto* сброс = std::get_if<e_dropfiles>(&ev)) {
    // A picture dropped on the window is the cover of the record in the data-entry dialog.
    const Window dlg = сеанс().диалог_ввода;
    if (dlg != 0 && win_GetType(dlg) != wk_NotAWindow && !сброс->files.empty()) взять_обложку(dlg, сброс->files.front());
    return 0;
  }
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

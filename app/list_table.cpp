// The table view of the list window and the pane of the selected book (see list_table.h).
#include "app/list_table.h"

#include <algorithm>
#include <charconv>
#include <numeric>

#include "app/commands.h"
#include "app/cover_window.h"
#include "app/session.h"
#include "app/user_settings.h"
#include "core/catalogue_facts.h"
#include "core/lending.h"
#include "core/list_line.h"
#include "core/list_table.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "runtime/fact_changes.h"
#include "runtime/scope_exit.h"

namespace {

constexpr std::int32_t kШиринаПанели = 240;
constexpr std::int32_t kПоле = 8;
constexpr std::int32_t kНаименьшаяОбложка = 48;  // a cover smaller than this is left out of the pane

ТаблицаОкна* таблица_окна(Window win) {
  auto& все = сеанс().таблицы_списков;
  const auto it = все.find(win);
  return it == все.end() ? nullptr : &it->second;
}

ПоискОкна* поиск_окна(Window win) {
  auto& все = сеанс().поиск_списков;
  const auto it = все.find(win);
  return it == все.end() ? nullptr : &it->second;
}

// ---- the remembered settings ----

struct НастройкиСписка {
  bool таблица = false;
  bool панель = true;
  std::string колонка_сортировки;  // caption; empty: none
  bool по_возрастанию = true;
  struct Колонка {
    std::string название;
    int ширина = 0;
    bool видна = true;
  };
  std::vector<Колонка> колонки;
  std::optional<Rect> место;
};

std::vector<std::string_view> части(std::string_view s, char sep) {
  std::vector<std::string_view> out;
  for (std::size_t from = 0;;) {
    const std::size_t at = s.find(sep, from);
    out.push_back(s.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
    if (at == std::string_view::npos) return out;
    from = at + 1;
  }
}

std::optional<int> число(std::string_view s) {
  int n = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return n;
}

НастройкиСписка прочитать() {
  НастройкиСписка н;
  for (const std::string& строка : прочитать_настройки(файл_настроек_списка)) {
    const std::size_t eq = строка.find('=');
    if (eq == std::string::npos) continue;
    const std::string_view ключ = std::string_view(строка).substr(0, eq);
    const std::string_view значение = std::string_view(строка).substr(eq + 1);
    const auto ч = части(значение, '\t');
    if (ключ == "view") {
      н.таблица = значение == "table";
    } else if (ключ == "pane") {
      н.панель = значение != "0";
    } else if (ключ == "sort" && ч.size() == 2) {
      н.колонка_сортировки = std::string(ч[0]);
      н.по_возрастанию = ч[1] != "0";
    } else if (ключ == "column" && ч.size() == 3) {
      if (const auto ширина = число(ч[1]); ширина && *ширина >= 0)
        н.колонки.push_back({std::string(ч[0]), *ширина, ч[2] != "0"});
    } else if (ключ == "window" && ч.size() == 4) {
      const auto l = число(ч[0]), t = число(ч[1]), r = число(ч[2]), b = число(ч[3]);
      if (l && t && r && b && *r > *l && *b > *t) н.место = Rect{*l, *t, *r, *b};
    }
  }
  return н;
}

void записать(const НастройкиСписка& н) {
  std::vector<std::string> строки;
  строки.push_back(std::string("view=") + (н.таблица ? "table" : "lines"));
  строки.push_back(std::string("pane=") + (н.панель ? "1" : "0"));
  if (!н.колонка_сортировки.empty())
    строки.push_back("sort=" + н.колонка_сортировки + "\t" + (н.по_возрастанию ? "1" : "0"));
  for (const auto& к : н.колонки)
    строки.push_back("column=" + к.название + "\t" + std::to_string(к.ширина) + "\t" + (к.видна ? "1" : "0"));
  if (н.место)
    строки.push_back("window=" + std::to_string(н.место->left) + "\t" + std::to_string(н.место->top) + "\t" +
                     std::to_string(н.место->right) + "\t" + std::to_string(н.место->bottom));
  записать_настройки(файл_настроек_списка, строки);
}

// The column of who has the book: after the field table's columns.
int колонка_на_руках() { return static_cast<int>(поля_таблицы().size()); }
int колонок() { return колонка_на_руках() + 1; }

// The caption of column `c` (0 .. колонок() - 1).
std::string название_колонки(int c) {
  return c == колонка_на_руках() ? std::string(название_колонки_на_руках())
                                 : std::string(поля_таблицы()[static_cast<std::size_t>(c)]->в_таблице);
}

// The columns of the table as the field table gives them, then who has the book (hidden until the
// user shows it: the twelve columns of the fields fill a window already, and the pane beside the
// table says who has the selected book), with the remembered widths and visibility of those
// remembered.
std::vector<ListViewColumn> колонки(const НастройкиСписка& н) {
  std::vector<ListViewColumn> out;
  for (const ПолеКниги* п : поля_таблицы()) {
    ListViewColumn к;
    к.caption = std::string(п->в_таблице);
    const int по_строке = п->в_строке ? п->в_строке->ширина * 8 : 0;
    к.width = std::max({по_строке, static_cast<int>(п->в_таблице.size()) * 8 + 24, 60});
    к.align = п->тип == ТипПоля::число && !п->слова ? ca_Right : ca_Left;
    out.push_back(std::move(к));
  }
  ListViewColumn на_руках;
  на_руках.caption = название_колонки(колонка_на_руках());
  на_руках.width = 220;
  на_руках.visible = false;
  out.push_back(std::move(на_руках));
  for (ListViewColumn& к : out)
    for (const auto& было : н.колонки)
      if (было.название == к.caption) {
        к.width = было.ширина;
        к.visible = было.видна;
      }
  return out;
}

// ---- the rows ----

// Who has each book out, made again when the loans or the readers changed since it was made.
const std::unordered_map<std::int32_t, std::string>& на_руках(ТаблицаОкна& т) {
  const std::pair<std::uint64_t, std::uint64_t> сейчас{RNT_SectionChanges(секция_выдач),
                                                       RNT_SectionChanges(секция_читателей)};
  if (сейчас != т.на_руках_при) {
    т.на_руках = кто_на_руках_по_книгам();
    т.на_руках_при = сейчас;
  }
  return т.на_руках;
}

std::string_view кто_у_книги(ТаблицаОкна& т, std::int32_t код) {
  const auto& все = на_руках(т);
  const auto it = все.find(код);
  return it == все.end() ? std::string_view() : std::string_view(it->second);
}

// The catalogue's records by code, once per table.
void взять_записи(ТаблицаОкна& т) {
  if (т.записи_есть) return;
  т.записи.заполнить();
  т.записи_есть = true;
  т.записи_изменились = true;
}

// The record of every line and the sort's order of all lines, made again when the lines, the
// records or the sort changed since they were made.
void подготовить(ТаблицаОкна& т, const ПоискОкна& п) {
  взять_записи(т);
  const std::vector<std::string>& строки = п.список.строки;
  const bool заново = т.записи_изменились || т.версия_строк != п.версия;
  if (заново) {
    т.записи_строк.resize(строки.size());
    for (std::size_t i = 0; i < строки.size(); ++i)
      т.записи_строк[i] = т.записи.запись_строки(строки[i]).value_or(ТаблицаОкна::kНетЗаписи);
    т.прочитанная = ТаблицаОкна::kНетЗаписи;
  }
  const bool по_выдачам = т.колонка == колонка_на_руках();
  if (по_выдачам) на_руках(т);
  if (заново || т.колонка_порядка != т.колонка || т.возрастание_порядка != т.по_возрастанию ||
      (по_выдачам && т.на_руках_порядка != т.на_руках_при)) {
    const auto поля = поля_таблицы();
    т.порядок.clear();
    if (т.колонка >= 0 && т.колонка < колонок()) {
      // Lines without a record (none in a consistent catalogue) stay out of the sort, at its end.
      std::vector<std::uint32_t> без_записи;
      т.порядок.reserve(строки.size());
      for (std::uint32_t i = 0; i < строки.size(); ++i)
        (т.записи_строк[i] != ТаблицаОкна::kНетЗаписи ? т.порядок : без_записи).push_back(i);
      const ЗаписиТаблицы& записи = т.записи;
      const std::vector<std::uint32_t>& записи_строк = т.записи_строк;
      if (по_выдачам)
        упорядочить_строки_по_тексту(
            т.порядок, строки.size(),
            [&](std::uint32_t i) { return кто_у_книги(т, записи.код(записи_строк[i])); }, т.по_возрастанию);
      else
        упорядочить_строки(
            т.порядок, строки.size(), [&](std::uint32_t i, ЗаписьБазы& з) { записи.прочитать(записи_строк[i], з); },
            *поля[static_cast<std::size_t>(т.колонка)], т.по_возрастанию);
      т.на_руках_порядка = т.на_руках_при;
      т.порядок.insert(т.порядок.end(), без_записи.begin(), без_записи.end());
    }
  }
  т.версия_строк = п.версия;
  т.записи_изменились = false;
  т.колонка_порядка = т.колонка;
  т.возрастание_порядка = т.по_возрастанию;
}

// The rows: the lines the filter shows, in the list's order or the sort's.
void отобрать_ряды(ТаблицаОкна& т, const ПоискОкна& п) {
  const std::vector<std::size_t>& показанные = п.список.показанные;
  т.ряды.clear();
  т.ряды.reserve(показанные.size());
  if (т.колонка < 0) {
    for (const std::size_t i : показанные) т.ряды.push_back(static_cast<std::uint32_t>(i));
    return;
  }
  std::vector<bool> показана(п.список.строки.size(), false);
  for (const std::size_t i : показанные) показана[i] = true;
  for (const std::uint32_t i : т.порядок)
    if (показана[i]) т.ряды.push_back(i);
}

std::string ячейка(Window win, int ряд, int колонка) {
  ТаблицаОкна* т = таблица_окна(win);
  const ПоискОкна* п = поиск_окна(win);
  if (!т || !п || ряд < 0 || static_cast<std::size_t>(ряд) >= т->ряды.size()) return {};
  подготовить(*т, *п);
  const std::uint32_t i = т->ряды[static_cast<std::size_t>(ряд)];
  const auto поля = поля_таблицы();
  if (i >= т->записи_строк.size() || т->записи_строк[i] == ТаблицаОкна::kНетЗаписи || колонка < 0 ||
      колонка >= колонок())
    return {};
  if (колонка == колонка_на_руках()) return std::string(кто_у_книги(*т, т->записи.код(т->записи_строк[i])));
  if (т->прочитанная != т->записи_строк[i]) {
    т->записи.прочитать(т->записи_строк[i], т->запись_ряда);
    т->прочитанная = т->записи_строк[i];
  }
  return текст_ячейки(*поля[static_cast<std::size_t>(колонка)], т->запись_ряда);
}

// ---- the pane ----

// The record of the list box's selected line.
std::optional<ЗаписьБазы> выбранная_запись(Window win) {
  const Window список = win_GetCtlHandle(win, ид_списка);
  const auto номер = lbox_GetSelIndex(список);
  return номер ? запись_кода_строки(lbox_GetItem(список, *номер)) : std::nullopt;
}

}  // namespace

std::string текст_панели(const ЗаписьБазы& record) {
  std::string текст;
  for (const ПолеКниги& п : поля_книги()) {
    const std::string значение = текст_ячейки(п, record);
    if (значение.empty()) continue;
    текст += std::string(п.название) + ": " + значение + "\n";
  }
  if (const std::string на_руках = строка_на_руках(record.код); !на_руках.empty()) текст += на_руках + "\n";
  return текст;
}

namespace {

// The cover at the top, scaled to fit, and below it each field with its caption.
void нарисовать_панель(Window панель) {
  const Rect r = win_GetClientRect(панель);
  const auto запись = выбранная_запись(win_GetParent(панель));
  const std::vector<int> флаги{dtext_Left, dtext_Top, dtext_WordBreak, dtext_NoPrefix};
  if (!запись) {
    draw_TextInRect(панель, Rect{kПоле, kПоле, r.right - kПоле, r.bottom - kПоле}, "Выберите книгу в списке."_cps,
                    -1, флаги);
    return;
  }
  const std::string текст = текст_панели(*запись);
  std::int32_t верх = kПоле;
  // The cover takes at most half the pane and never the room the fields' lines need below it: a
  // short pane shows every field and a smaller cover (or none), not a cut "На руках" line.
  const std::int32_t ширина = std::max<std::int32_t>(1, r.right - r.left - 2 * kПоле);
  std::int32_t высота_текста = 0;
  for (std::size_t начало = 0; начало < текст.size();) {
    const std::size_t конец = std::min(текст.find('\n', начало), текст.size());
    int w = 0, h = 0;
    win_GetTextExtent(панель, текст.substr(начало, конец - начало), -1, w, h);
    // A wrapped line breaks at a word, so it may take one line more than its width says.
    высота_текста += h * (w <= ширина ? 1 : w / ширина + 2);
    начало = конец + 1;
  }
  const std::int32_t высота_обложки =
      std::min<std::int32_t>((r.bottom - r.top) / 2 - kПоле, r.bottom - r.top - 3 * kПоле - высота_текста);
  if (!запись->обложка.empty() && высота_обложки >= kНаименьшаяОбложка) {
    auto обложка = загрузить_обложку(запись->обложка);
    if (const auto* p = std::get_if<Picture>(&обложка)) {
      const auto освободить = on_scope_exit([p] { pict_Destroy(*p); });
      const Rect место = pict_DrawFit(панель, *p, Rect{kПоле, верх, r.right - kПоле, верх + высота_обложки}, false);
      верх = место.bottom + kПоле;
    }
  }
  draw_TextInRect(панель, Rect{kПоле, верх, r.right - kПоле, r.bottom - kПоле}, текст, -1, флаги);
}

std::optional<long> панель_eh(Window панель, const Event& ev) {
  if (std::holds_alternative<e_update>(ev)) {
    нарисовать_панель(панель);
    return 0;
  }
  if (std::holds_alternative<e_create>(ev)) return 0;
  return std::nullopt;
}

void показать_окно(Window w, bool on) {
  if (w && win_GetType(w) != wk_NotAWindow) win_SetState(w, {on ? st_Visible : st_Invisible});
}

// The table's index of the list box's selected line; none when no line is selected or it has no row.
std::optional<int> ряд_выбора(Window win, const ТаблицаОкна& т, const ПоискОкна& п) {
  const auto номер = lbox_GetSelIndex(win_GetCtlHandle(win, ид_списка));
  if (!номер || static_cast<std::size_t>(*номер) >= п.список.показанные.size()) return std::nullopt;
  const auto i = static_cast<std::uint32_t>(п.список.показанные[static_cast<std::size_t>(*номер)]);
  const auto it = std::find(т.ряды.begin(), т.ряды.end(), i);
  if (it == т.ряды.end()) return std::nullopt;
  return static_cast<int>(it - т.ряды.begin());
}

}  // namespace

std::optional<Rect> место_окна_списка() { return прочитать().место; }

void создать_таблицу(Window win) {
  const НастройкиСписка н = прочитать();
  ТаблицаОкна& т = сеанс().таблицы_списков[win];
  т.показана = н.таблица;
  т.панель = н.панель;
  for (int c = 0; c < колонок(); ++c)
    if (!н.колонка_сортировки.empty() && название_колонки(c) == н.колонка_сортировки) т.колонка = c;
  т.по_возрастанию = н.по_возрастанию;
  WinFlags флаги{csf_TabStop, csf_Group};
  if (!т.показана) флаги.push_back(wsf_Invisible);
  т.таблица = lview_Create(win, Rect{0, 0, 100, 100}, "Список книг"_cps, флаги,
                           ид_таблицы, колонки(н), [win](int ряд, int колонка) { return ячейка(win, ряд, колонка); }, 0);
  т.окно_панели = win_Create(wk_Child, Rect{0, 0, kШиринаПанели, 100}, "Сведения о книге"_cps, res_menu{ид_панели}, win,
                             {wsf_Invisible, wsf_ClipSiblings}, панель_eh, 0);
  // A child window shows once made; the pane waits for the table's layout.
  показать_окно(т.окно_панели, false);
  if (т.колонка >= 0) lview_SetSortIndicator(т.таблица, т.колонка, т.по_возрастанию);
}

void забыть_таблицу(Window win) {
  ТаблицаОкна* т = таблица_окна(win);
  if (!т) return;
  НастройкиСписка н = прочитать();
  н.таблица = т->показана;
  н.панель = т->панель;
  н.колонка_сортировки = т->колонка >= 0 ? название_колонки(т->колонка) : "";
  н.по_возрастанию = т->по_возрастанию;
  if (win_GetType(т->таблица) == wk_ListView) {
    // Columns the field table no longer has stay remembered for a table that has them again.
    std::vector<НастройкиСписка::Колонка> колонки;
    for (const ListViewColumn& к : lview_GetColumns(т->таблица)) колонки.push_back({к.caption, к.width, к.visible});
    for (const auto& было : н.колонки)
      if (std::none_of(колонки.begin(), колонки.end(), [&](const auto& к) { return к.название == было.название; }))
        колонки.push_back(было);
    н.колонки = std::move(колонки);
  }
  // The window's client rectangle in the task window's client coordinates.
  if (win_GetType(win) == wk_TopLevel) {
    const Rect клиент = win_GetClientRect(win);
    const auto точки = win_MapPoints(win, win_GetParent(win), {Point{клиент.left, клиент.top}});
    if (!точки.empty() && клиент.right > клиент.left && клиент.bottom > клиент.top)
      н.место = Rect{точки[0].x, точки[0].y, точки[0].x + клиент.right - клиент.left,
                     точки[0].y + клиент.bottom - клиент.top};
  }
  записать(н);
  сеанс().таблицы_списков.erase(win);
}

bool таблица_показана(Window win) {
  const ТаблицаОкна* т = таблица_окна(win);
  return т && т->показана;
}

bool панель_включена(Window win) {
  const ТаблицаОкна* т = таблица_окна(win);
  return т && т->панель;
}

Window показанный_список(Window win) {
  const ТаблицаОкна* т = таблица_окна(win);
  return т && т->показана ? т->таблица : win_GetCtlHandle(win, ид_списка);
}

void разместить_списки(Window win, Rect area) {
  const Window список = win_GetCtlHandle(win, ид_списка);
  ТаблицаОкна* т = таблица_окна(win);
  if (!т || !т->показана) {
    win_Move(список, area);
    return;
  }
  const bool с_панелью = т->панель && area.right - area.left > 2 * kШиринаПанели;
  Rect место_таблицы = area;
  if (с_панелью) {
    место_таблицы.right = area.right - kШиринаПанели;
    win_Move(т->окно_панели, Rect{место_таблицы.right, area.top, area.right, area.bottom});
    win_Invalidate(т->окно_панели);
  }
  win_Move(т->таблица, место_таблицы);
  показать_окно(т->окно_панели, с_панелью);
}

void обновить_таблицу(Window win) {
  ТаблицаОкна* т = таблица_окна(win);
  const ПоискОкна* п = поиск_окна(win);
  if (!т || !т->показана || !п || win_GetType(т->таблица) != wk_ListView) return;
  подготовить(*т, *п);
  отобрать_ряды(*т, *п);
  lview_SetRowCount(т->таблица, static_cast<int>(т->ряды.size()));
  выбор_в_таблицу(win);
}

void выбор_в_таблицу(Window win) {
  ТаблицаОкна* т = таблица_окна(win);
  const ПоискОкна* п = поиск_окна(win);
  if (!т || !т->показана || !п || win_GetType(т->таблица) != wk_ListView) return;
  const auto ряд = ряд_выбора(win, *т, *п);
  lview_SetSel(т->таблица, ряд.value_or(-1));
  if (ряд) lview_EnsureVisible(т->таблица, *ряд);
  if (т->панель) win_Invalidate(т->окно_панели);
}

bool выбор_из_таблицы(Window win) {
  ТаблицаОкна* т = таблица_окна(win);
  ПоискОкна* п = поиск_окна(win);
  if (!т || !п) return false;
  const Window список = win_GetCtlHandle(win, ид_списка);
  const auto ряд = lview_GetSel(т->таблица);
  std::optional<std::size_t> место;
  if (ряд && static_cast<std::size_t>(*ряд) < т->ряды.size())
    место = п->список.место_показа(т->ряды[static_cast<std::size_t>(*ряд)]);
  if (место)
    lbox_SetSel(список, static_cast<int>(*место), 1);
  else if (const auto было = lbox_GetSelIndex(список))
    lbox_SetSel(список, *было, 0);
  if (т->панель) win_Invalidate(т->окно_панели);
  return место.has_value();
}

void показать_таблицу(Window win, bool table) {
  ТаблицаОкна* т = таблица_окна(win);
  if (!т || т->показана == table) return;
  т->показана = table;
  const Window список = win_GetCtlHandle(win, ид_списка);
  const bool фокус_в_списке = win_GetFocus() == (table ? список : т->таблица);
  показать_окно(т->таблица, table);
  показать_окно(список, !table);
  if (!table) показать_окно(т->окно_панели, false);
  // The window lays its lists out again (the list window's e_size places them).
  const Rect клиент = win_GetClientRect(win);
  win_SendEvent(win, e_size{клиент.right - клиент.left, клиент.bottom - клиент.top});
  обновить_таблицу(win);
  if (!table) {
    if (const auto i = lbox_GetSelIndex(список)) lbox_SetSel(список, *i, 1);  // shown, scrolled to
  }
  if (фокус_в_списке) win_SetFocus(показанный_список(win));
  обновить_доступность();  // the check marks of "Вид"
}

void показать_панель(Window win, bool on) {
  ТаблицаОкна* т = таблица_окна(win);
  if (!т || т->панель == on) return;
  т->панель = on;
  const Rect клиент = win_GetClientRect(win);
  win_SendEvent(win, e_size{клиент.right - клиент.left, клиент.bottom - клиент.top});
  обновить_доступность();
}

void сортировать_таблицу(Window win, int column) {
  ТаблицаОкна* т = таблица_окна(win);
  if (!т || column < 0 || column >= колонок()) return;
  т->по_возрастанию = т->колонка == column ? !т->по_возрастанию : true;
  т->колонка = column;
  lview_SetSortIndicator(т->таблица, column, т->по_возрастанию);
  обновить_таблицу(win);
}

void учесть_изменения_таблиц(const Изменения& changes) {
  if (changes.убранные.empty() && changes.добавленные.empty()) return;
  for (auto& [win, т] : сеанс().таблицы_списков) {
    if (!т.записи_есть) continue;
    for (const ЗаписьБазы& з : changes.убранные) т.записи.убрать(з);
    for (const ЗаписьБазы& з : changes.добавленные) т.записи.добавить(з);
    т.записи_изменились = true;
    т.прочитанная = ТаблицаОкна::kНетЗаписи;
  }
}

void учесть_выдачи_таблиц() {
  for (auto& [win, т] : сеанс().таблицы_списков) {
    if (!т.показана || win_GetType(т.таблица) != wk_ListView) continue;
    if (т.колонка == колонка_на_руках())
      обновить_таблицу(win);  // the rows in their new order, the selection on its book
    else
      lview_Refresh(т.таблица);
    if (т.панель) win_Invalidate(т.окно_панели);
  }
}

std::vector<std::string> выбранные_колонки(Window win) {
  const ТаблицаОкна* т = таблица_окна(win);
  const std::vector<ListViewColumn> все =
      т && win_GetType(т->таблица) == wk_ListView ? lview_GetColumns(т->таблица) : колонки(прочитать());
  std::vector<std::string> out;
  for (const ListViewColumn& к : все)
    if (к.visible) out.push_back(к.caption);
  return out;
}

std::optional<std::vector<std::string>> строки_таблицы(Window win) {
  ТаблицаОкна* т = таблица_окна(win);
  const ПоискОкна* п = поиск_окна(win);
  if (!т || !т->показана || !п) return std::nullopt;
  подготовить(*т, *п);
  отобрать_ряды(*т, *п);
  std::vector<std::string> out;
  out.reserve(т->ряды.size());
  for (const std::uint32_t i : т->ряды) out.push_back(п->список.строки[i]);
  return out;
}

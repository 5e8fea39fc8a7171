// The project toolbar and the help line.
#include "app/toolbars.h"

#include "app/commands.h"
#include "app/session.h"
#include "packages/toolbar.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

constexpr Color kToolbarGrey = 0xC0C0C0;

}  // namespace

void tb_project_toolbar_Create(Window parent) {
  toolbar_create(tb_top{}, kToolbarGrey, parent, кнопки_панели(ПанельКоманд::проекта, parent));
  обновить_доступность();
}

void tb_help_line_Create(Window parent) {
  toolbar_create(tb_bottom{}, kToolbarGrey, parent,
                 {tb_text{id_строкиподсказки, tb_context, 452, 0, 4, 10, 0, ""}});
}

void показать_в_строке_подсказки(const std::string& text) {
  std::vector<Window> окна = сеанс().окна_просмотра;
  окна.push_back(uix_GetTaskWin());
  for (const Window w : окна)
    if (w != 0 && win_GetType(w) != wk_NotAWindow && toolbar_GetValue(w, id_строкиподсказки))
      toolbar_SetValue(w, id_строкиподсказки, text_value{text});
}

std::string записей_словами(std::size_t n) {
  const std::size_t д = n % 100, е = n % 10;
  const std::string_view слово = д >= 11 && д <= 14 ? "записей"_cp
                                 : е == 1           ? "запись"_cp
                                 : е >= 2 && е <= 4 ? "записи"_cp
                                                    : "записей"_cp;
  return std::to_string(n) + " " + std::string(слово);
}

std::string имя_файла(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The command table of the run: the dispatch, the enabled state of menu items and buttons, and the
// toolbars' buttons (see commands.h).
#include "app/commands.h"

#include <algorithm>

#include "app/session.h"
#include "core/catalogue_files.h"
#include "server/server_catalogue.h"

namespace {

// The table handed over by the goal: configuration of the run, like the layer's resources.
std::span<const Команда>& таблица() {
  static std::span<const Команда> т;
  return т;
}

bool в_окне(const Команда& к, ОкноКоманды где) { return к.окно == где || к.окно == ОкноКоманды::любое; }

// The items and buttons of `окно`, a window of kind `где`: a button only when the window's
// toolbar has it (the task window's toolbar is away while a list window is open), its value set
// only when it changes so that it is not drawn again for nothing; the menu bar redrawn when an
// item was set.
void показать_доступность(ОкноКоманды где, Window окно) {
  bool пункты = false;
  for (const Команда& к : таблица()) {
    if (!в_окне(к, где)) continue;
    if (к.кнопка.ид != 0) {
      const std::optional<toolbar_value> было = toolbar_GetValue(окно, к.кнопка.ид);
      if (было && std::holds_alternative<ctrl_value>(*было)) {
        const toolbar_value стало = ctrl_value{команда_доступна(к, окно), true};
        if (*было != стало) toolbar_SetValue(окно, к.кнопка.ид, стало);
        if (к.подсказка) toolbar_SetHelpText(окно, к.кнопка.ид, к.подсказка());
      }
    }
    if (к.ид != 0 && (к.доступна || к.меняет)) {
      menu_Enable(окно, к.ид, команда_доступна(к, окно));
      пункты = true;
    }
    if (к.ид != 0 && к.отмечена) {
      menu_Check(окно, к.ид, к.отмечена(окно));
      пункты = true;
    }
  }
  if (пункты) menu_Update(окно);
}

}  // namespace

void задать_команды(std::span<const Команда> команды) { таблица() = команды; }

std::span<const Команда> команды() { return таблица(); }

const Команда* найти_команду(ОкноКоманды где, int ид) {
  if (ид == 0) return nullptr;
  const auto it = std::find_if(таблица().begin(), таблица().end(), [где, ид](const Команда& к) {
    return в_окне(к, где) && (к.ид == ид || к.кнопка.ид == ид || к.клавиша.ид == ид);
  });
  return it == таблица().end() ? nullptr : &*it;
}

std::optional<bool> выполнить_команду(ОкноКоманды где, Window окно, int ид) {
  const Команда* к = найти_команду(где, ид);
  if (!к) return std::nullopt;
  const ТемаСправки тема(к->тема);
  if (ид == к->клавиша.ид && к->клавиша.уступает_полю && win_GetTextFocus().field) return false;
  return к->выполнить(окно);
}

bool команда_доступна(const Команда& команда, Window окно) {
  if (команда.меняет && !каталог_можно_менять()) return false;
  return !команда.доступна || команда.доступна(окно);
}

bool каталог_можно_менять() {
  const auto* сервер = dynamic_cast<const ХранилищеСервера*>(&хранилище_каталога());
  return !сервер || (!сервер->только_чтение() && сервер->на_связи());
}

void обновить_доступность() {
  if (const Window задача = uix_GetTaskWin()) показать_доступность(ОкноКоманды::задача, задача);
  // A copy: nothing here opens or closes a window, but the list is the session's.
  const std::vector<Window> окна = сеанс().окна_просмотра;
  for (const Window окно : окна)
    if (win_GetType(окно) == wk_TopLevel) показать_доступность(ОкноКоманды::список, окно);
}

std::vector<toolbar_control> кнопки_панели(ПанельКоманд панель, Window окно) {
  std::vector<const Команда*> с_кнопками;
  for (const Команда& к : таблица())
    if (к.кнопка.ид != 0 && к.кнопка.панель == панель) с_кнопками.push_back(&к);
  std::stable_sort(с_кнопками.begin(), с_кнопками.end(),
                   [](const Команда* a, const Команда* b) { return a->кнопка.место < b->кнопка.место; });
  std::vector<toolbar_control> кнопки;
  int место = 1;
  for (const Команда* к : с_кнопками) {
    const КнопкаКоманды& кнопка = к->кнопка;
    for (; место < кнопка.место; ++место) кнопки.push_back(separator{});
    кнопки.push_back(tb_ctrl{кнопка.ид, pushb, кнопка.рис, кнопка.рис_нажат, кнопка.рис_серый,
                             std::string(кнопка.текст), команда_доступна(*к, окно), true});
    место = кнопка.место + 1;
  }
  return кнопки;
}

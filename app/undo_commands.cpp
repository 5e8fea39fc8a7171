// Undo and redo through the change path, and the Undo and Redo buttons.
#include "app/undo_commands.h"

#include <string>
#include <string_view>

#include "app/catalogue_changes.h"
#include "app/task_buttons.h"
#include "core/change_path.h"
#include "core/undo_history.h"
#include "layer/layer.h"
#include "packages/toolbar.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

// One of the two buttons: greyed or not, and its help line.
void показать_кнопку(int id, const std::string& что, std::string_view приставка, std::string_view обычный_текст) {
  включить_кнопку_задачи(id, !что.empty());
  if (const Window задача = uix_GetTaskWin())
    toolbar_SetHelpText(задача, id, что.empty() ? std::string(обычный_текст) : std::string(приставка) + что);
}

}  // namespace

bool отменить_изменение() { return изменить(ОтменитьИзменение{}); }

bool повторить_изменение() { return изменить(ПовторитьИзменение{}); }

void показать_историю() {
  показать_кнопку(cmd_КнопкаОтменить, что_отменить(), "Отменить: "_cp, "Undo");
  показать_кнопку(cmd_КнопкаПовторить, что_повторить(), "Повторить: "_cp, "Redo");
}

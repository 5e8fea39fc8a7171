// The project toolbar and the help line.
#include "app/toolbars.h"

#include <string>
#include <string_view>

#include "app/clipboard_commands.h"
#include "app/undo_commands.h"
#include "packages/toolbar.h"
#include "resources/ids.h"

namespace {

constexpr Color kToolbarGrey = 0xC0C0C0;

toolbar_control кнопка(int id, int up, int down, int grey, std::string_view text) {
  return tb_ctrl{id, pushb, up, down, grey, std::string(text), true, true};
}

}  // namespace

void tb_project_toolbar_Create(Window parent) {
  toolbar_create(tb_top{}, kToolbarGrey, parent,
                 {кнопка(cmd_КнопкаНовый, рис_Новый, рис_НовыйНажат, рис_Новый, "New;New file"),
                  кнопка(cmd_КнопкаОткрыть, рис_Открыть, рис_ОткрытьНажат, рис_Открыть, "Open;Open file"),
                  кнопка(cmd_КнопкаСохранить, рис_Сохранить, рис_СохранитьНажат, рис_Сохранить, "Save;File save"),
                  separator{},
                  кнопка(cmd_КнопкаОтменить, рис_Отменить, рис_ОтменитьНажат, рис_Отменить, "Undo;Undo"),
                  кнопка(cmd_КнопкаПовторить, рис_Повторить, рис_ПовторитьНажат, рис_Повторить, "Redo;Redo"),
                  separator{},
                  кнопка(cmd_КнопкаВырезать, рис_Вырезать, рис_ВырезатьНажат, рис_Вырезать, "Cut;Cut to clipboard"),
                  кнопка(cmd_КнопкаКопировать, рис_Копировать, рис_КопироватьНажат, рис_Копировать,
                         "Copy;Copy to clipboard"),
                  кнопка(cmd_КнопкаВставить, рис_Вставить, рис_ВставитьНажат, рис_Вставить,
                         "Paste;Paste from clipboard"),
                  separator{},
                  separator{},
                  кнопка(cmd_Содержание, рис_Справка, рис_СправкаНажата, рис_Справка, "Help;Help")});
  // Undo, Redo, Cut, Copy and Paste greyed while they cannot act, also after the toolbar was away.
  показать_историю();
  показать_буфер_обмена();
}

void tb_help_line_Create(Window parent) {
  toolbar_create(tb_bottom{}, kToolbarGrey, parent,
                 {tb_text{id_строкиподсказки, tb_context, 452, 0, 4, 10, 0, ""}});
}

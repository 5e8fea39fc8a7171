// The project toolbar and the help line.
#include "app/toolbars.h"

#include "app/commands.h"
#include "packages/toolbar.h"
#include "resources/ids.h"

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

// The registration of the catalogue program's resources with the windowing layer.
#include "resources/program_resources.h"

#include "resources/ids.h"
#include "tables.h"

namespace res {

const ResourceTables& program_resources() {
  static const ResourceTables tables{
      .menus = menus(),
      .dialogs = dialogs(),
      .accelerator_tables = accelerator_tables(),
      .window_list_menu = меню_списка_окон,
      .task_accelerators = ускорители_задачи,
      .task_icon = значок_программы,
      .program_name = "foliarkh",
  };
  return tables;
}

}  // namespace res

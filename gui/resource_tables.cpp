// uix_SetResources and the lookups of the registered tables: the layer's one copy of what the
// program handed over.
#include "internal/resource_lookup.h"

#include <algorithm>

namespace gui_detail {
namespace {

struct Registration {
  ResourceTables tables;
  std::string program_name;  // owned here: the program's view may be of a passing string
};

Registration& registration() {
  static Registration r;
  return r;
}

template <class Entry>
const Entry* find_by_id(std::span<const Entry> entries, int id) {
  const auto it = std::find_if(entries.begin(), entries.end(), [id](const Entry& e) { return e.id == id; });
  return it == entries.end() ? nullptr : &*it;
}

}  // namespace

const ResMenu* find_menu_resource(int id) { return find_by_id(registration().tables.menus, id); }
const ResDialog* find_dialog_resource(int id) { return find_by_id(registration().tables.dialogs, id); }
const ResAccelTable* find_accel_table(int id) { return find_by_id(registration().tables.accelerator_tables, id); }

int window_list_menu_id() { return registration().tables.window_list_menu; }
int task_accelerators_id() { return registration().tables.task_accelerators; }
int task_icon_id() { return registration().tables.task_icon; }
const std::string& program_name() { return registration().program_name; }

}  // namespace gui_detail

void uix_SetResources(const ResourceTables& tables) {
  gui_detail::Registration& r = gui_detail::registration();
  r.tables = tables;
  r.program_name = std::string(tables.program_name);
  r.tables.program_name = r.program_name;
}

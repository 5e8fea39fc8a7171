// The toolbar package's fact tables (see toolbar_state.h).
#include "toolbar_state.h"

#include <algorithm>

#include "runtime/codepage.h"
#include "runtime/fact_kind.h"

namespace toolbar_detail {
namespace {

FactSection toolbar_facts;
FactKind<ToolbarRecord> toolbars{toolbar_facts, "toolbar"};
FactKind<ControlRecord> controls{toolbar_facts, "toolbar_ctrl"};
FactKind<TipRecord> tips{toolbar_facts, "toolbar_tip"};
DetermKind<HeldRecord> held_button{toolbar_facts, "toolbar_held"};
SingleKind<MarginRecord> margins{toolbar_facts, "toolbar_margins"};

std::vector<toolbar_action>& action_table() {
  static std::vector<toolbar_action> table;
  return table;
}

}  // namespace

std::int32_t ControlRecord::id() const {
  if (const auto* c = std::get_if<tb_ctrl>(&def)) return c->id;
  if (const auto* t = std::get_if<tb_text>(&def)) return t->id;
  if (const auto* l = std::get_if<tb_lbut>(&def)) return l->id;
  return 0;
}

void add_toolbar(const ToolbarRecord& rec) { toolbars.assertz(rec); }

std::optional<ToolbarRecord> find_toolbar(Window win) {
  return toolbars.first([win](const ToolbarRecord& r) { return r.win == win; });
}

void replace_toolbar(const ToolbarRecord& rec) {
  // Keeps the toolbar's place in the creation order.
  std::vector<ToolbarRecord> all = toolbars.all();
  toolbars.retract_all();
  for (ToolbarRecord& r : all) toolbars.assertz(r.win == rec.win ? rec : r);
}

std::vector<ToolbarRecord> toolbars_of(Window parent) {
  return toolbars.findall([parent](const ToolbarRecord& r) -> std::optional<ToolbarRecord> {
    if (r.parent == parent) return r;
    return std::nullopt;
  });
}

std::vector<ToolbarRecord> all_toolbars() { return toolbars.all(); }

void add_control(const ControlRecord& rec) { controls.assertz(rec); }

std::vector<ControlRecord> controls_of(Window toolbar) {
  return controls.findall([toolbar](const ControlRecord& r) -> std::optional<ControlRecord> {
    if (r.toolbar == toolbar) return r;
    return std::nullopt;
  });
}

std::optional<ControlRecord> control_at(Window toolbar, std::int32_t index) {
  return controls.first([&](const ControlRecord& r) { return r.toolbar == toolbar && r.index == index; });
}

void replace_control(const ControlRecord& rec) {
  // Controls are read back by toolbar and index, so their order among themselves does not matter.
  controls.retract_first([&](const ControlRecord& r) { return r.toolbar == rec.toolbar && r.index == rec.index; });
  controls.assertz(rec);
}

std::optional<TipRecord> tip_of(Window toolbar) {
  return tips.first([toolbar](const TipRecord& r) { return r.toolbar == toolbar; });
}

void store_tip(const TipRecord& rec) {
  tips.retract_first([&](const TipRecord& r) { return r.toolbar == rec.toolbar; });
  tips.assertz(rec);
}

std::optional<HeldRecord> held() { return held_button.get(); }

void set_held(std::optional<HeldRecord> rec) {
  held_button.retract_all();
  if (rec) held_button.assertz(*rec);
}

MarginRecord margins_added() { return margins.get(); }
void set_margins_added(const MarginRecord& rec) { margins.set(rec); }

void forget_toolbar(Window toolbar) {
  toolbars.retract_all([toolbar](const ToolbarRecord& r) { return r.win == toolbar; });
  controls.retract_all([toolbar](const ControlRecord& r) { return r.toolbar == toolbar; });
  tips.retract_all([toolbar](const TipRecord& r) { return r.toolbar == toolbar; });
  held_button.retract_all([toolbar](const HeldRecord& r) { return r.toolbar == toolbar; });
}

std::int32_t action_index(toolbar_action action) {
  std::vector<toolbar_action>& table = action_table();
  const auto it = std::find(table.begin(), table.end(), action);
  if (it != table.end()) return static_cast<std::int32_t>(it - table.begin());
  table.push_back(action);
  return static_cast<std::int32_t>(table.size() - 1);
}

void clear_toolbar_state() {
  toolbars.retract_all();
  controls.retract_all();
  tips.retract_all();
  held_button.retract_all();
  margins.set(MarginRecord{});
  action_table().clear();
}

toolbar_action action_at(std::int32_t index) {
  const std::vector<toolbar_action>& table = action_table();
  if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return nullptr;
  return table[static_cast<std::size_t>(index)];
}

}  // namespace toolbar_detail

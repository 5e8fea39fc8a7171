// Building menus from resource tables and lists, and showing them in a menu bar.
#include "internal/menu_model.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <algorithm>

#include "internal/modal_box.h"
#include "internal/resource_lookup.h"
#include "internal/text.h"

namespace gui_detail {
namespace {

// Qt right-aligns the menu-bar items after a separator when the style asks for bar separators.
class MenuBarStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* w,
                QStyleHintReturn* ret) const override {
    if (hint == QStyle::SH_DrawMenuBarSeparator) return 1;
    return QProxyStyle::styleHint(hint, opt, w, ret);
  }
};

std::string plain_text(std::string_view t) {
  std::string out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\t') break;
    if (t[i] == '&' && i + 1 < t.size()) ++i;
    out += t[i];
  }
  return out;
}

}  // namespace

void prepare_menu_bar(QMenuBar* bar) {
  auto* style = new MenuBarStyle;
  style->setParent(bar);
  bar->setStyle(style);
  bar->setNativeMenuBar(false);
}

MenuModel::~MenuModel() = default;

std::unique_ptr<MenuModel> MenuModel::build(const Menu& menu, SrcLoc loc) {
  if (std::holds_alternative<no_menu>(menu)) return nullptr;
  std::unique_ptr<MenuModel> m(new MenuModel);
  if (const auto* r = std::get_if<res_menu>(&menu)) {
    const ResMenu* def = find_menu_resource(r->id);
    if (!def) RUN_Error(errcode::kNoMenuResource, loc);
    m->add_resource_items(nullptr, def->items);
  } else {
    const auto& items = std::get<dyn_menu>(menu).items;
    if (items.empty()) RUN_Error(errcode::kBadDefinition, loc);
    m->add_list_items(nullptr, items);
  }
  return m;
}

QAction* MenuModel::make_command(int tag, std::string_view text, bool enabled, bool checked) {
  auto* a = new QAction(system_text(text), this);
  a->setData(tag);
  a->setEnabled(enabled);
  if (checked) {
    a->setCheckable(true);
    a->setChecked(true);
  }
  connect(a, &QAction::triggered, this, [this, tag] {
    if (on_command) on_command(tag & 0xFFFF);
  });
  commands_.emplace_back(tag, a);
  texts_.emplace_back(a, std::string(text));
  return a;
}

QMenu* MenuModel::make_popup(std::string_view text) {
  popups_.push_back(std::make_unique<QMenu>(system_text(text)));
  QMenu* p = popups_.back().get();
  texts_.emplace_back(p->menuAction(), std::string(text));
  return p;
}

void MenuModel::place(QMenu* into, QAction* a) {
  if (into)
    into->addAction(a);
  else
    bar_.push_back(a);
}

void MenuModel::add_resource_items(QMenu* into, std::span<const ResMenuItem> items) {
  bool right_started = false;
  for (const ResMenuItem& d : items) {
    if (!into && d.right_aligned && !right_started) {
      auto* sep = new QAction(this);
      sep->setSeparator(true);
      bar_.push_back(sep);
      right_started = true;
    }
    switch (d.kind) {
      case ResMenuItemKind::separator:
        if (into) into->addSeparator();
        break;
      case ResMenuItemKind::command:
        place(into, make_command(d.id, d.text, !d.grayed, d.checked));
        break;
      case ResMenuItemKind::popup: {
        QMenu* p = make_popup(d.text);
        p->menuAction()->setEnabled(!d.grayed);
        add_resource_items(p, d.items);
        if (!into) connect(p, &QMenu::aboutToShow, this, [this] { if (on_init) on_init(); });
        place(into, p->menuAction());
        break;
      }
    }
  }
}

void MenuModel::add_list_items(QMenu* into, const std::vector<MenuItem>& items) {
  for (const MenuItem& it : items) {
    switch (it.kind) {
      case MenuItem::Kind::separator:
      case MenuItem::Kind::menu_break:
        if (into) into->addSeparator();
        break;
      case MenuItem::Kind::txt:
      case MenuItem::Kind::ownerdraw:
        if (it.items.empty()) {
          place(into, make_command(it.tag, it.text, it.enabled, it.checked));
        } else {
          QMenu* p = make_popup(it.text);
          p->menuAction()->setEnabled(it.enabled);
          add_list_items(p, it.items);
          if (!into) connect(p, &QMenu::aboutToShow, this, [this] { if (on_init) on_init(); });
          place(into, p->menuAction());
        }
        break;
    }
  }
}

void MenuModel::add_window_list(QMenu* popup) {
  if (!popup || window_list_) return;
  window_list_ = popup;
  // The last of the left-hand items: before the separator that starts the right-aligned ones
  // (Help), or at the end of a bar without any.
  const auto right = std::find_if(bar_.begin(), bar_.end(), [](const QAction* a) { return a->isSeparator(); });
  bar_.insert(right, popup->menuAction());
}

void MenuModel::show_in(QMenuBar* bar) const {
  if (!bar) return;
  for (QAction* a : bar->actions()) bar->removeAction(a);
  bar->addActions(bar_);
  bar->update();
}

std::vector<QAction*> MenuModel::find(int tag) const {
  std::vector<QAction*> out;
  for (const auto& [t, a] : commands_)
    if ((t & 0xFFFF) == (tag & 0xFFFF)) out.push_back(a);
  return out;
}

QAction* MenuModel::find_text(std::string_view text) const {
  for (const auto& [a, t] : texts_)
    if (t == text) return a;
  const std::string wanted = plain_text(text);
  for (const auto& [a, t] : texts_)
    if (plain_text(t) == wanted) return a;
  return nullptr;
}

bool MenuModel::insert_command_after(int after_tag, int tag, std::string_view text) {
  const std::vector<QAction*> anchors = find(after_tag);
  if (anchors.empty()) return false;
  QAction* const anchor = anchors.front();
  QAction* const a = make_command(tag, text, true, false);
  for (const auto& p : popups_) {
    const QList<QAction*> items = p->actions();
    const qsizetype at = items.indexOf(anchor);
    if (at < 0) continue;
    p->insertAction(at + 1 < items.size() ? items[at + 1] : nullptr, a);
    return true;
  }
  bar_.insert(bar_.indexOf(anchor) + 1, a);  // a command directly on the bar
  return true;
}

void MenuModel::remove_commands(int tag) {
  for (QAction* a : find(tag)) {
    for (const auto& p : popups_) p->removeAction(a);
    bar_.removeAll(a);
    std::erase_if(commands_, [a](const auto& c) { return c.second == a; });
    std::erase_if(texts_, [a](const auto& t) { return t.first == a; });
    delete_after_loops(a);
  }
}

}  // namespace gui_detail

// The menu of one window: built from a menu resource table or a dyn_menu list into QActions
// (command id as tag) and QMenus, shown in a QMenuBar on demand. The MDI window-list pop-up is
// shared: it is added to the task menu and to every MDI child menu as the last item on the
// left, just before the right-aligned items (Help), and moves along with the bar. Items marked
// right-aligned (and all later ones) stand at the bar's right edge.
#pragma once

#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "layer/resource_tables.h"
#include "layer/window.h"
#include "runtime/run_error.h"

class QAction;
class QMenu;
class QMenuBar;

namespace gui_detail {

class MenuModel : public QObject {
 public:
  // nullptr for no_menu; run-time error 6053 for a missing resource, 6004 for an empty or
  // unusable list.
  static std::unique_ptr<MenuModel> build(const Menu& menu, SrcLoc loc = SrcLoc::current());
  ~MenuModel() override;

  // Called with the tag of a chosen command and when a pop-up of the bar is about to open.
  std::function<void(int tag)> on_command;
  std::function<void()> on_init;

  // Adds the shared window-list pop-up as the last of the left-hand bar items.
  void add_window_list(QMenu* popup);
  bool has_window_list() const { return window_list_ != nullptr; }
  // Makes `bar` show this menu's items (replacing what it showed).
  void show_in(QMenuBar* bar) const;

  // The command items with this tag (a tag may stand more than once).
  std::vector<QAction*> find(int tag) const;
  // The item (command or pop-up) with this text; the text may be given with or without its
  // mnemonic "&" and shortcut part.
  QAction* find_text(std::string_view cp1251_text) const;
  const QList<QAction*>& bar_actions() const { return bar_; }

  // Adds a command item (enabled, unchecked) directly after the first command item tagged
  // `after_tag`, in the same pop-up or on the bar; false when no item has that tag.
  bool insert_command_after(int after_tag, int tag, std::string_view cp1251_text);
  // Takes every command item tagged `tag` out of the menu; its action is deleted once no nested
  // loop runs (it may be the one whose command is being carried out).
  void remove_commands(int tag);

 private:
  MenuModel() = default;
  void add_resource_items(QMenu* into, std::span<const ResMenuItem> items);
  void add_list_items(QMenu* into, const std::vector<MenuItem>& items);
  QAction* make_command(int tag, std::string_view text, bool enabled, bool checked);
  QMenu* make_popup(std::string_view text);
  void place(QMenu* into, QAction* a);

  QList<QAction*> bar_;
  std::vector<std::unique_ptr<QMenu>> popups_;
  std::vector<std::pair<QAction*, std::string>> texts_;  // every item with its cp1251 text
  std::vector<std::pair<int, QAction*>> commands_;
  QMenu* window_list_ = nullptr;
};

// The own menu of a task, top-level or dialog window: 6001 for other kinds, 6402 for a window
// without a menu.
MenuModel& menu_of(Window win, SrcLoc loc = SrcLoc::current());

// Gives a bar the look that right-aligns the items after a separator.
void prepare_menu_bar(QMenuBar* bar);

}  // namespace gui_detail

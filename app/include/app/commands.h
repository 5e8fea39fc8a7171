// The program's commands as one table, and the three things the windows do with it: carry out a
// command given in them (from a menu, a key or a toolbar button), show which of their menu items
// and buttons can act now, and make their toolbars. The table itself is the program's
// (command_table.h); the goal hands it over once, as it hands its resources to the layer.
//
// A command is one entry: the id of its menu item, the window it runs in, the function that runs
// it, its help topic, the rule that says when it can act, its toolbar button and a key with an
// id of its own. The menus, the accelerators and the dialogs stay resources (resources/); an
// entry names their ids.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "layer/layer.h"
#include "packages/toolbar.h"

// The window a command runs in: the task window (a list window hands it on to the task window),
// a list window, or the window it is given in, either of them.
enum class ОкноКоманды { задача, список, любое };

// The toolbars whose buttons the table gives: the task window's project toolbar and a list
// window's toolbar.
enum class ПанельКоманд { проекта, списка };

// A toolbar button: the id its press gives (e_menu), its toolbar and its place there counted from
// 1 (a place no button takes is a gap between groups), its pictures up, pressed and greyed, and
// its text "tooltip;help line".
struct КнопкаКоманды {
  int ид = 0;
  ПанельКоманд панель = ПанельКоманд::проекта;
  int место = 0;
  int рис = 0;
  int рис_нажат = 0;
  int рис_серый = 0;
  std::string_view текст;
};

// A key that gives an id of its own rather than the menu item's. A key that gives way to a focused
// text field runs the command only while no text field has the focus; in a field it fails, and
// the field keeps its own key.
struct КлавишаКоманды {
  int ид = 0;
  bool уступает_полю = false;
};

// The topic of a command that opens the help at the window the user works in: it names no topic
// of its own, so the topic of the dialog running or of the window with the focus holds.
inline constexpr int тема_окна = 0;

struct Команда {
  int ид = 0;  // its menu item's id, also given by an accelerator of that id; 0: a button or key only
  ОкноКоманды окно = ОкноКоманды::задача;
  bool (*выполнить)(Window окно) = nullptr;  // runs it in `окно`; whether it completed
  // The help file's topic about it ("context-<тема>"): F1 in the dialogs it opens shows it.
  int тема = тема_окна;
  // Whether its menu item and button can act in `окно` now; none: always.
  bool (*доступна)(Window окно) = nullptr;
  // Whether its menu item carries a check mark in `окно` now; none: it never does.
  bool (*отмечена)(Window окно) = nullptr;
  КнопкаКоманды кнопка = {};    // id 0: no button
  КлавишаКоманды клавиша = {};  // id 0: no key of its own
  std::string (*подсказка)() = nullptr;  // the button's help-line text now; none: its text's
  // It changes the catalogue: greyed while the catalogue may not be changed (каталог_можно_менять).
  bool меняет = false;
};

// Whether the working catalogue may be changed now: a folder's always; a server's unless the role
// may only read or the connection is lost (until the watch connects again).
bool каталог_можно_менять();

// The program's table for the run (command_table.h gives it); it must outlive the run, as a
// static table does. Until then no window has a command.
void задать_команды(std::span<const Команда> команды);
std::span<const Команда> команды();

// The entry that `ид` reaches in a window of kind `где` (задача or список): its menu item, its
// button or its key. Nothing when the table has none there.
const Команда* найти_команду(ОкноКоманды где, int ид);

// Carries out the command `ид` given in `окно`, a window of kind `где`, with its help topic for
// the dialogs it opens: whether it completed. Nothing when no entry of that kind of window has
// the id (a list window then hands the command on to the task window).
std::optional<bool> выполнить_команду(ОкноКоманды где, Window окно, int ид);

// Whether the command's menu item and button can act in `окно` now.
bool команда_доступна(const Команда& команда, Window окно);

// Every menu item and toolbar button of every window (the task window and each list window open)
// enabled or greyed as its command's rule says now, a menu item checked as its command's check
// rule says, a button's help line as its command says.
// The windows call it after anything that may change a rule's answer: a change of the catalogue,
// a move of the text focus, a list window's selection, a toolbar made.
void обновить_доступность();

// The buttons of the toolbar `панель` in their places, the gaps as separators, each enabled as
// its command's rule says for `окно`, the window that gets them (which then shows the rest of
// their state, a help line that changes, with обновить_доступность).
std::vector<toolbar_control> кнопки_панели(ПанельКоманд панель, Window окно);

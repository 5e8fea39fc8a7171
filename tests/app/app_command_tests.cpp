// Scenario tests of the command table: that it and the program's resources (menus, accelerators,
// toolbars, help) agree; that every menu item and toolbar button of every window shows its
// command's state after each kind of change; and that each window's handler reaches every command
// of the table by each of its ids, with its help topic.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <array>
#include <set>
#include <utility>

#include "app/command_table.h"
#include "app/commands.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "packages/toolbar.h"

using namespace app_test;

namespace {

// The ids an entry is reached by.
std::vector<int> ids_of(const Команда& к) {
  std::vector<int> out;
  for (int id : {к.ид, к.кнопка.ид, к.клавиша.ид})
    if (id != 0) out.push_back(id);
  return out;
}

// The command items of a menu table, with their pop-ups' items.
void menu_ids(std::span<const ResMenuItem> items, std::set<int>& out) {
  for (const ResMenuItem& it : items) {
    if (it.kind == ResMenuItemKind::command) out.insert(it.id);
    menu_ids(it.items, out);
  }
}
std::set<int> menu_ids(int menu) {
  std::set<int> out;
  for (const ResMenu& m : res::program_resources().menus)
    if (m.id == menu) menu_ids(m.items, out);
  return out;
}

// The ids of the help file's topics ("context-<n>" anchors).
std::set<int> help_topics() {
  QFile f(QString::fromUtf8(":/help/фолиарх.hlp"));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QString text = QString::fromUtf8(f.readAll());
  std::set<int> out;
  static const QRegularExpression anchor(R"re(name="context-(\d+)")re");
  for (auto m = anchor.globalMatch(text); m.hasNext();) out.insert(m.next().captured(1).toInt());
  return out;
}

// The toolbar's controls as ids, a separator as 0.
std::vector<int> toolbar_ids(const std::vector<toolbar_control>& controls) {
  std::vector<int> out;
  for (const toolbar_control& c : controls)
    out.push_back(std::holds_alternative<tb_ctrl>(c) ? std::get<tb_ctrl>(c).id : 0);
  return out;
}

// What the dispatch test's commands record: which entry ran, in which window, under which help
// topic. Each entry of the table under test runs the recorder of its own index.
struct Run {
  std::size_t entry;
  Window window;
  int topic;
  bool operator==(const Run&) const = default;
};
std::vector<Run>& runs() {
  static std::vector<Run> r;
  return r;
}
template <std::size_t n>
bool record_run(Window w) {
  const std::vector<int>& темы = сеанс().темы_справки;
  runs().push_back({n, w, темы.empty() ? 0 : темы.back()});
  return true;
}
template <std::size_t... n>
constexpr std::array<bool (*)(Window), sizeof...(n)> recorders(std::index_sequence<n...>) {
  return {record_run<n>...};
}
constexpr auto kRecorders = recorders(std::make_index_sequence<64>{});

// Every window's entries whose state differs from the expected one: an entry is greyed when one
// of its ids is in the window's list, enabled otherwise. Its rule is asked, and its menu item and
// button, where the window shows them, are read.
QStringList wrong_states(const std::vector<std::pair<Window, QList<int>>>& windows) {
  QStringList wrong;
  for (const auto& [win, greyed] : windows) {
    const ОкноКоманды kind = win_GetType(win) == wk_Task ? ОкноКоманды::задача : ОкноКоманды::список;
    for (const Команда& к : команды()) {
      if (к.окно != kind && к.окно != ОкноКоманды::любое) continue;
      bool expected = true;
      for (int id : ids_of(к)) expected = expected && !greyed.contains(id);
      const auto name = [win](int id) { return QString("%1 in window %2").arg(id).arg(win); };
      if (команда_доступна(к, win) != expected) wrong << "rule of " + name(ids_of(к).front());
      if (const QAction* a = к.ид ? layer_test::menu_action(win, к.ид) : nullptr; a && a->isEnabled() != expected)
        wrong << "menu item " + name(к.ид);
      if (const auto v = к.кнопка.ид ? toolbar_GetValue(win, к.кнопка.ид) : std::nullopt;
          v && std::get<ctrl_value>(*v).enabled != expected)
        wrong << "button " + name(к.кнопка.ид);
    }
  }
  return wrong;
}

}  // namespace

class AppCommandTests : public QtSuite {
  Q_OBJECT

 public:
  AppCommandTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // Every menu item and accelerator reaches an entry of its window, whose help topic the help file
  // has; every entry is reached by a menu item (one made while the program runs, for the last
  // catalogues) or a button, and its key by an accelerator; no id reaches two entries in one window;
  // the toolbars hold the table's buttons in their places.
  void theTableAndTheResourcesAgree() {
    const std::span<const Команда> таблица = команды_программы();
    const std::set<int> topics = help_topics();
    QVERIFY(!topics.empty());
    QVERIFY(topics.contains(тема_окно_задачи) && topics.contains(тема_окно_списка));  // тема_окна's
    const std::set<int> task_items = menu_ids(меню_задачи), list_items = menu_ids(меню_просмотра);
    std::set<int> keys;
    for (const ResAccelTable& t : res::program_resources().accelerator_tables)
      for (const ResAccel& a : t.entries) keys.insert(a.command);
    задать_команды(таблица);
    for (const auto& [kind, items] :
         {std::pair{ОкноКоманды::задача, task_items}, std::pair{ОкноКоманды::список, list_items}})
      for (int id : items) {
        const Команда* к = найти_команду(kind, id);
        QVERIFY2(к && к->ид == id, qPrintable(QString("menu item %1 without its entry").arg(id)));
        QVERIFY2(к->тема == тема_окна || topics.contains(к->тема), qPrintable(QString("topic of %1").arg(id)));
      }
    for (int key : keys) {
      const Команда* к = найти_команду(ОкноКоманды::задача, key);
      QVERIFY2(к && (к->ид == key || к->клавиша.ид == key), qPrintable(QString("key %1 without its entry").arg(key)));
    }
    for (const Команда& к : таблица) {
      const QString name = QString::number(ids_of(к).empty() ? 0 : ids_of(к).front());
      QVERIFY2(к.выполнить, qPrintable(name));
      QVERIFY2(к.тема == тема_окна || topics.contains(к.тема), qPrintable("topic of " + name));
      const bool task = к.окно != ОкноКоманды::список, list = к.окно != ОкноКоманды::задача;
      const bool made_while_running = к.ид >= cmd_ПоследнийКаталог1 && к.ид <= cmd_ПоследнийКаталог5 && task;
      const bool item = (task && task_items.contains(к.ид)) || (list && list_items.contains(к.ид)) || made_while_running;
      QVERIFY2(item || (к.ид == 0 && к.кнопка.ид != 0), qPrintable(name + " has no menu item or button"));
      QVERIFY2(к.клавиша.ид == 0 || keys.contains(к.клавиша.ид), qPrintable(name + "'s key is no accelerator"));
      for (int id : ids_of(к))
        for (ОкноКоманды kind : {ОкноКоманды::задача, ОкноКоманды::список})
          if ((kind == ОкноКоманды::задача ? task : list))
            QVERIFY2(найти_команду(kind, id) == &к, qPrintable(QString("id %1 reaches another entry").arg(id)));
    }
    QCOMPARE(toolbar_ids(кнопки_панели(ПанельКоманд::проекта, 0)),
             (std::vector<int>{cmd_КнопкаНовый, cmd_КнопкаОткрыть, cmd_КнопкаСохранить, 0, cmd_КнопкаОтменить,
                               cmd_КнопкаПовторить, 0, cmd_КнопкаВырезать, cmd_КнопкаКопировать, cmd_КнопкаВставить,
                               0, 0, cmd_Содержание}));
    QCOMPARE(toolbar_ids(кнопки_панели(ПанельКоманд::списка, 0)),
             (std::vector<int>{cmd_КнопкаУдалить, cmd_КнопкаПравка, cmd_КнопкаКарточка}));
  }

  // The state of every command in every window after the steps of a row, as its rule gives it and
  // as its menu item and button show it. "greyed" lists the ids greyed in the task window and in
  // the first and second list window opened; everything else is enabled.
  void everyCommandsState_data() {
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QList<int>>("task");
    QTest::addColumn<QList<int>>("first");
    QTest::addColumn<QList<int>>("second");
    const QList<int> clip{cmd_КнопкаВырезать, cmd_КнопкаКопировать, cmd_КнопкаВставить};
    const QList<int> start = QList<int>{cmd_КнопкаОтменить, cmd_КнопкаПовторить} + clip;
    const QList<int> ops{cmd_МенюУдалить, cmd_МенюРедактировать, cmd_МенюКарточка, cmd_МенюВыдать, cmd_МенюПринять,
                         cmd_КнопкаУдалить, cmd_КнопкаПравка, cmd_КнопкаКарточка};
    QTest::newRow("the task window at the start") << false << "" << start << QList<int>{} << QList<int>{};
    QTest::newRow("an empty catalogue's list") << true << "list" << start << ops << QList<int>{};
    QTest::newRow("a change to undo") << false << "category" << QList<int>{cmd_КнопкаПовторить} + clip
                                      << QList<int>{} << QList<int>{};
    QTest::newRow("a change to redo") << false << "category,quiet,undo" << QList<int>{cmd_КнопкаОтменить} + clip
                                      << QList<int>{} << QList<int>{};
    QTest::newRow("both") << false << "category,category,undo" << clip << QList<int>{} << QList<int>{};
    QTest::newRow("a line selected, the list focused")
        << false << "list,select,focus list" << QList<int>{cmd_КнопкаОтменить, cmd_КнопкаПовторить,
                                                           cmd_КнопкаВырезать, cmd_КнопкаВставить}
        << QList<int>{} << QList<int>{};
    QTest::newRow("a line selected, the task window focused")
        << false << "list,select,focus task" << start << QList<int>{} << QList<int>{};
    QTest::newRow("text selected in the find field, text on the clipboard")
        << false << "list,select,clipboard,find text" << QList<int>{cmd_КнопкаОтменить, cmd_КнопкаПовторить}
        << QList<int>{} << QList<int>{};
    QTest::newRow("the find field focused without a selection")
        << false << "list,clipboard,focus find"
        << QList<int>{cmd_КнопкаОтменить, cmd_КнопкаПовторить, cmd_КнопкаВырезать, cmd_КнопкаКопировать} << ops
        << QList<int>{};
    QTest::newRow("the selected line deleted")
        << false << "list,select,quiet,delete,focus task" << QList<int>{cmd_КнопкаПовторить} + clip << ops
        << QList<int>{};
    QTest::newRow("a line edited from the toolbar: its tools put back")
        << false << "list,select,quiet,edit line" << start << ops << QList<int>{};
    QTest::newRow("a line edited from the menu: its tools stay")
        << false << "list,select,quiet,edit line from the menu" << start << QList<int>{} << QList<int>{};
    QTest::newRow("an edit without a line, then a repaint")
        << true << "list,edit,repaint" << start << QList<int>{} << QList<int>{};
    QTest::newRow("two lists, a line selected in the first")
        << false << "list,select,list" << start << QList<int>{} << ops;
    QTest::newRow("the list closed after a change: the task window's toolbar back")
        << false << "list,select,category,close" << QList<int>{cmd_КнопкаПовторить} + clip << QList<int>{}
        << QList<int>{};
  }
  void everyCommandsState() {
    QFETCH(bool, empty);
    QFETCH(QString, steps);
    QFETCH(QList<int>, task);
    QFETCH(QList<int>, first);
    QFETCH(QList<int>, second);
    QGuiApplication::clipboard()->clear();
    WorkDir wd(start_files(empty ? "" : kТриЗаписи));
    run_app([&](Window task_window) {
      std::vector<Window> lists;
      int categories = 0;
      for (const QString& step : steps.split(',', Qt::SkipEmptyParts)) {
        if (step == "category") {
          answer_prompt(++categories == 1 ? "Драма" : "Эпос");
          command(task_window, cmd_КатегВвести);
        } else if (step == "quiet") {
          // From here on only the change itself may set the states: no notices of the text focus
          // (a dialog that closes moves the focus, and each move sets them too).
          uix_SetTextFocusHandler(nullptr);
        } else if (step == "undo") {
          command(task_window, cmd_КнопкаОтменить);
        } else if (step == "list") {
          lists.push_back(open_list(task_window));
        } else if (step == "select") {
          select_code(lists.back(), 7);
        } else if (step == "focus list") {
          activate_program();
          win_SetFocus(list_box(lists.back()));
        } else if (step == "focus task") {
          activate_program();
          win_SetFocus(task_window);
        } else if (step == "focus find" || step == "find text") {
          activate_program();
          const Window field = win_GetCtlHandle(lists.back(), ид_поля_поиска);
          win_SetFocus(field);
          if (step == "find text") {
            auto* edit = qobject_cast<QLineEdit*>(client_of(field));
            edit->setText(QString::fromUtf8("Гоголь"));
            edit->selectAll();
          }
        } else if (step == "clipboard") {
          QGuiApplication::clipboard()->setText("x");
        } else if (step == "delete") {
          on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
          command(lists.back(), cmd_МенюУдалить);
        } else if (step == "edit") {
          on_next_modal([](QWidget* box) { click(box, "OK"); });  // no line selected
          command(lists.back(), cmd_КнопкаПравка);
        } else if (step == "edit line" || step == "edit line from the menu") {
          on_next_modal([](QWidget* d) { click(d, "Cancel"); });
          command(lists.back(), step == "edit line" ? cmd_КнопкаПравка : cmd_МенюРедактировать);
        } else if (step == "repaint") {
          win_SendEvent(lists.back(), e_update{});
        } else if (step == "close") {
          win_Destroy(lists.back());
          lists.pop_back();
        } else {
          QFAIL(qPrintable("unknown step " + step));
        }
      }
      std::vector<std::pair<Window, QList<int>>> windows{{task_window, task}};
      if (!lists.empty()) windows.emplace_back(lists[0], first);
      if (lists.size() > 1) windows.emplace_back(lists[1], second);
      // The focus notices of the text fields may come after the step.
      wait_until([&] { return wrong_states(windows).isEmpty(); });
      const QStringList wrong = wrong_states(windows);
      QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ")));
    });
    QCOMPARE(reported(), std::vector<int>{});
  }

  // Each id of each entry, given in the task window and in a list window, reaches that entry: in
  // the window it was given in, or the task window when the entry is the task window's (the list
  // window hands it on), with the entry's help topic while it runs. A key that gives way to a text
  // field does not run its command while one has the focus. An id of no entry runs nothing.
  void theDispatchReachesEveryCommand() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      const Window list = open_list(task);
      const std::span<const Команда> program = команды_программы();
      QVERIFY(program.size() <= kRecorders.size());
      std::vector<Команда> recorded(program.begin(), program.end());
      for (std::size_t i = 0; i < recorded.size(); ++i) recorded[i].выполнить = kRecorders[i];
      задать_команды(recorded);
      activate_program();
      win_SetFocus(list_box(list));
      for (std::size_t i = 0; i < recorded.size(); ++i) {
        const Команда& к = recorded[i];
        const int topic = к.тема == тема_окна ? 0 : к.тема;
        for (int id : ids_of(к))
          for (Window given : {task, list}) {
            const bool in_task = given == task;
            if (in_task && к.окно == ОкноКоманды::список) continue;  // the task window has none of these
            runs().clear();
            command(given, id);
            const Window ran = к.окно == ОкноКоманды::задача ? task : given;
            QVERIFY2((runs() == std::vector<Run>{Run{i, ran, topic}}),
                     qPrintable(QString("id %1 given in the %2").arg(id).arg(in_task ? "task window" : "list")));
          }
      }
      QVERIFY(сеанс().темы_справки.empty());
      runs().clear();
      command(task, 12345);
      command(list, 12345);
      QCOMPARE(runs().size(), std::size_t(0));
      // Ctrl+Z in the find field is the field's; Ctrl+C is the command's there too.
      win_SetFocus(win_GetCtlHandle(list, ид_поля_поиска));
      QVERIFY(wait_until([] { return win_GetTextFocus().field; }));
      command(task, cmd_КлавишаОтменить);
      command(list, cmd_КлавишаПовторить);
      QCOMPARE(runs().size(), std::size_t(0));
      command(task, cmd_КлавишаКопировать);
      QCOMPARE(runs().size(), std::size_t(1));
      задать_команды(program);
    });
    QCOMPARE(reported(), std::vector<int>{});
  }
};

QTEST_MAIN(AppCommandTests)
#include "app_command_tests.moc"

// Scenario tests of the literature list window, deletion, editing and the record card: the real
// program headless in a temporary working directory, with the list box, the files and the
// message window checked.
#include <QDialog>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyleOption>
#include <QPlainTextEdit>

#include "app/data_entry.h"
#include "app/list_window.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "layer/editor.h"
#include "packages/message_window.h"
#include "packages/toolbar.h"

using namespace app_test;

namespace {

bool tools_enabled(Window lw) {
  const auto v = toolbar_GetValue(lw, cmd_КнопкаУдалить);
  return v && std::get<ctrl_value>(*v).enabled;
}

// Expects the "Не выделена" message for the next command.
void expect_no_selection_message(QString& seen) {
  on_next_modal([&seen](QWidget* box) {
    seen = label_texts(box);
    click(box, "OK");
  });
}

// The bottom edge of the message window in the task window's client area.
int message_bottom(Window task) {
  QWidget* m = client_of(*msg_GetWin());
  return m->mapTo(client_of(task), QPoint(0, m->height())).y();
}

QString message_text() {
  const auto w = msg_GetWin();
  if (!w) return {};
  QPlainTextEdit* e = client_of(*w)->findChild<QPlainTextEdit*>();
  if (!e) e = qobject_cast<QPlainTextEdit*>(client_of(*w));
  return e ? e->toPlainText() : QString();
}

// Counts the objects put on the widgets it watches.
class NewChildren : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() == QEvent::ChildAdded) ++count;
    return false;
  }
};

// The task window's frame and the list window's MDI sub-window.
QMainWindow* task_frame(Window task) { return qobject_cast<QMainWindow*>(layer_test::frame_of(task)); }
QMdiSubWindow* sub_window(Window lw) { return qobject_cast<QMdiSubWindow*>(layer_test::frame_of(lw)); }

// The texts of the menus the task window's bar shows, joined by "|".
QString menu_bar_texts(Window task) {
  QStringList out;
  for (QAction* a : task_frame(task)->menuBar()->actions())
    if (a->isVisible()) out << a->text();
  return out.join('|');
}

// Brings the mouse over `at` of the widget, which then knows what lies under it (a move to where
// the mouse is already is not delivered: it comes from a point beside).
void hover(QWidget* w, QPoint at) {
  QTest::mouseMove(w, at + QPoint(2, 0));
  QTest::mouseMove(w, at);
}

// Clicks a button of the list window's title bar, the window first put where its whole title
// bar shows in the task window.
void click_title_bar_button(Window lw, QStyle::SubControl button) {
  QMdiSubWindow* sub = sub_window(lw);
  sub->setGeometry(0, 0, std::min(sub->width(), sub->mdiArea()->viewport()->width()), sub->height());
  QStyleOptionTitleBar opt;
  opt.initFrom(sub);
  opt.titleBarFlags = sub->windowFlags();
  opt.titleBarState = sub->windowState();
  opt.subControls = QStyle::SC_All;
  opt.rect = QRect(0, 0, sub->width(), sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, sub));
  const QRect r = sub->style()->subControlRect(QStyle::CC_TitleBar, &opt, button, sub);
  hover(sub, r.center());
  QTest::mouseClick(sub, Qt::LeftButton, {}, r.center());
}

// Presses the list window's close control with the mouse: the close button of its title bar, or,
// while it is maximized and its buttons stand in the task window's menu bar, the close button there.
void press_close_control(Window task, Window lw) {
  QWidget* corner = task_frame(task)->menuBar()->cornerWidget(Qt::TopRightCorner);
  if (!sub_window(lw)->isMaximized() || !corner || !corner->isVisible()) {
    click_title_bar_button(lw, QStyle::SC_TitleBarCloseButton);
    return;
  }
  QStyleOptionComplex opt;
  opt.initFrom(corner);
  opt.subControls = QStyle::SC_MdiMinButton | QStyle::SC_MdiNormalButton | QStyle::SC_MdiCloseButton;
  const QRect r = corner->style()->subControlRect(QStyle::CC_MdiControls, &opt, QStyle::SC_MdiCloseButton,
                                                  sub_window(lw)->mdiArea());
  hover(corner, r.center());
  QTest::mouseClick(corner, Qt::LeftButton, {}, r.center());
}

// Chooses "Close" in the list window's own window menu (the menu of its title-bar icon).
void close_from_window_menu(Window lw) {
  for (QAction* a : sub_window(lw)->systemMenu()->actions())
    if (a->shortcuts() == QKeySequence::keyBindings(QKeySequence::Close)) {
      a->trigger();
      return;
    }
  QFAIL("no Close in the window menu");
}

}  // namespace

class AppListTests : public QtSuite {
  Q_OBJECT

 public:
  AppListTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void listLines() {
    ЗаписьБазы з{7, cp("Шекспи"), cp("Гамлет1"), cp("Драма"), "", 1, 0, "a.bmp"};
    const std::string line = *строка_списка(з);
    QCOMPARE(line.size(), std::size_t(5 + 20 + 30 + 10 + 4 + 8 + 20 + 6));
    QCOMPARE(line, cp("    7|              Шекспи|Гамлет1                       |     Драма|Есть|  Мягкий|               a.bmp"));
    з.автор = cp("Абвгдежзийклмнопрстуфхцчш");  // 25 letters: the first 18 are shown
    QVERIFY(строка_списка(з)->find(cp("  Абвгдежзийклмнопрс|")) != std::string::npos);
    з.диск = 2;
    QVERIFY(!строка_списка(з));
    // The code is what stands before the first "|", whatever its length.
    QCOMPARE(код_строки("  123|x"), std::optional<std::int32_t>(123));
    QCOMPARE(код_строки("1234567|x"), std::optional<std::int32_t>(1234567));
    QVERIFY(!код_строки("     |x"));
  }

  void listWindowShowsAndSelects() {
    WorkDir wd(start_files(record_line(12, "А", "Б", "В", "", 0, 0, "") + record_line(3, "А", "Б", "В", "", 0, 0, "") +
                           record_line(100, "А", "Б", "В", "", 0, 0, "") + record_line(5, "А", "Б", "В", "", 7, 0, "")));
    run_app([&](Window task) {
      const int bottom_with_toolbars = message_bottom(task);
      const Window lw = open_list(task);
      QVERIFY(lw);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 12, 100}));  // code 5 has no disk word
      QCOMPARE(win_GetText(lw), cp("Выделите строку для операции"));
      QVERIFY(!toolbar_GetRect(task, tb_top{}));  // the task window's toolbar is away
      // The message window moved down into the room the help line gave back.
      QVERIFY(message_bottom(task) > bottom_with_toolbars);
      QVERIFY(!tools_enabled(lw));
      select_code(lw, 12);
      QCOMPARE(win_GetText(lw), cp("Выполните необходимую операцию"));
      QVERIFY(tools_enabled(lw));
      // A second list window, then both closed: one toolbar and one help line come back.
      const Window lw2 = open_list(task);
      win_Destroy(lw2);
      win_Destroy(lw);
      QVERIFY(toolbar_GetRect(task, tb_top{}).has_value());
      QVERIFY(toolbar_GetRect(task, tb_bottom{}).has_value());
      int toolbars = 0;
      for (Window w : win_GetChildWindows(task)) toolbars += toolbar_IsToolbar(w) && win_GetParent(w) == task;
      QCOMPARE(toolbars, 2);
      QCOMPARE(message_bottom(task), bottom_with_toolbars);
    });
  }

  // The second list window's creation stops after the task window's toolbars went away (its
  // toolbar bitmaps cannot be found): they come back only when both windows are closed.
  void aCreationThatStopsStillCounts() {
    WorkDir wd(start_files(record_line(3, "А", "Б", "В", "", 0, 0, "")));
    run_app([&](Window task) {
      const Window first = open_list(task);
      Q_CLEANUP_RESOURCE(foliarkh_files);
      const Window second = open_list(task);
      Q_INIT_RESOURCE(foliarkh_files);
      QCOMPARE(reported(), std::vector<int>{errcode::kNoBitmapResource});
      QVERIFY(second && second != first);
      win_Destroy(second);
      QVERIFY(!toolbar_GetRect(task, tb_top{}));
      win_Destroy(first);
      QVERIFY(toolbar_GetRect(task, tb_top{}).has_value());
      QVERIFY(toolbar_GetRect(task, tb_bottom{}).has_value());
    });
  }

  // Closing the program with a list window open builds nothing on the task window that goes.
  // The list window closed by each way the user has, maximized or not, twice in a row: no error,
  // the task window's menus and toolbars come back, and the next list window opens as the first.
  void closingTheListWindow_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("maximized");
    QTest::newRow("close control") << "close control" << false;
    QTest::newRow("close control, maximized") << "close control" << true;
    QTest::newRow("window menu") << "window menu" << false;
    QTest::newRow("window menu, maximized") << "window menu" << true;
    QTest::newRow("end of the program, maximized") << "end of the program" << true;
  }
  void closingTheListWindow() {
    QFETCH(QString, way);
    QFETCH(bool, maximized);
    WorkDir wd(start_files(record_line(3, "А", "Б", "В", "", 0, 0, "")));
    run_app([&](Window task) {
      const QString task_menus = menu_bar_texts(task);
      for (int round = 0; round < 2; ++round) {
        const Window lw = open_list(task);
        QVERIFY(lw);
        QVERIFY(menu_bar_texts(task) != task_menus);  // the list window's menu in the bar
        if (maximized) {
          click_title_bar_button(lw, QStyle::SC_TitleBarMaxButton);
          QVERIFY(wait_until([&] { return sub_window(lw)->isMaximized(); }));
        }
        if (way == "close control") press_close_control(task, lw);
        if (way == "window menu") close_from_window_menu(lw);
        if (way == "end of the program") {
          command(task, cmd_Выход);
          QVERIFY(wait_until([&] { return win_GetType(task) != wk_Task; }));
          break;
        }
        QVERIFY(wait_until([&] { return win_GetType(lw) == wk_NotAWindow; }));
        QTest::qWait(50);
        QCOMPARE(reported(), std::vector<int>{});
        QCOMPARE(menu_bar_texts(task), task_menus);
        QVERIFY(toolbar_GetRect(task, tb_top{}).has_value());
        QVERIFY(toolbar_GetRect(task, tb_bottom{}).has_value());
      }
    });
    QCOMPARE(reported(), std::vector<int>{});
  }

  void closingTheProgramBuildsNothing() {
    WorkDir wd(start_files(record_line(3, "А", "Б", "В", "", 0, 0, "")));
    NewChildren added;
    run_app([&](Window task) {
      open_list(task);
      client_of(task)->installEventFilter(&added);
      command(task, cmd_Выход);
    });
    QCOMPARE(added.count, 0);
  }

  void emptyCatalogue() {
    WorkDir wd(start_files(""));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      QCOMPARE(lbox_CountAll(list_box(lw)), 0);
      QVERIFY(!tools_enabled(lw));
      // Edit without a selection: the message, and the mode is now edit mode, so a repaint
      // enables the tools.
      QString seen;
      expect_no_selection_message(seen);
      command(lw, cmd_КнопкаПравка);
      QVERIFY(seen.contains(QString::fromUtf8("Не выделена\nстрока в списке")));
      QVERIFY(устрежимработысбазой(режим_редактирования));
      win_SendEvent(lw, e_update{});
      QVERIFY(tools_enabled(lw));
      seen.clear();
      expect_no_selection_message(seen);
      command(lw, cmd_КнопкаКарточка);
      QVERIFY(!seen.isEmpty());
    });
  }

  void deleting() {
    WorkDir wd(start_files(record_line(1200, "А", "Б", "В", "", 0, 0, "") + record_line(12, "Г", "Д", "Е", "", 0, 0, "") +
                           record_line(120, "Ж", "З", "И", "", 0, 0, "")));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 12);

      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Нет")); });
      command(lw, cmd_КнопкаУдалить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{12, 120, 1200}));
      QCOMPARE(win_GetText(lw), cp("Выполните необходимую операцию"));
      QVERIFY(tools_enabled(lw));
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(lw, cmd_МенюУдалить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{120, 1200}));
      QCOMPARE(win_GetText(lw), cp("Выделите строку для операции"));
      QVERIFY(!tools_enabled(lw));
    });
    QCOMPARE(wd.read("Литература1.pbs"),
             record_line(1200, "А", "Б", "В", "", 0, 0, "") + record_line(120, "Ж", "З", "И", "", 0, 0, ""));
  }

  void leavingWhileTheDeletionsNoticeIsOpen() {
    // The first save keeps the file that did not load and says so; "Выход" is chosen behind that
    // notice. The deletion is saved, and nothing more is shown for the list window that is gone.
    const std::string cut = record_line(12, "Г", "Д", "Е", "", 0, 0, "") + cp("база_лит(2,\"Гоголь");
    WorkDir wd(start_files(cut));
    bool left = false;
    QStringList shown_after;
    QTimer sweep;
    QObject::connect(&sweep, &QTimer::timeout, [&] {
      if (QWidget* m = QApplication::activeModalWidget(); m && m->isVisible() && left) {
        shown_after << label_texts(m);
        if (auto* d = qobject_cast<QDialog*>(m)) d->reject();
      }
    });
    sweep.start(50);
    QString start_message;  // the cut line is told at the start
    read_next_message(start_message);
    run_app([&](Window task) {
      QVERIFY(start_message.contains(QString::fromUtf8("прочитан не полностью")));
      const Window lw = open_list(task);
      select_code(lw, 12);
      on_next_modal([&left, task](QWidget* question) {
        on_next_modal([&left, task](QWidget*) {
          left = true;
          command(task, cmd_Выход);
        });
        click(question, QString::fromUtf8("Да"));
      });
      command(lw, cmd_КнопкаУдалить);
      QVERIFY(left);
    });
    QTest::qWait(300);
    QCOMPARE(shown_after, QStringList());
    QCOMPARE(wd.read("Литература1.pbs"), std::string());
  }

  void deletingTheOnlyRecordAndALongCode() {
    WorkDir wd(start_files(record_line(123456, "А", "Б", "В", "", 0, 0, "")));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 123456);
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(lw, cmd_КнопкаУдалить);
      QCOMPARE(lbox_CountAll(list_box(lw)), 0);
    });
    QCOMPARE(wd.read("Литература1.pbs"), std::string());
  }

  void editing() {
    WorkDir wd(start_files(record_line(11, "А", "Б", "Поэзия", "Книга", 0, 0, "") +
                           record_line(5, "Старый", "Т", "Удалённая", "Пропавший", 1, 1, "x.bmp") +
                           record_line(5, "Двойник", "Т", "Поэзия", "Книга", 0, 0, "")));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 5);
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        // The record's values, its category and kind kept although the lists lack them.
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Автор)), cp("Старый"));
        QCOMPARE(win_IsChecked(win_GetCtlHandle(dlg, ид_Диск)), 1);
        QCOMPARE(win_IsChecked(win_GetCtlHandle(dlg, ид_Твердый)), 1);
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Новый"));
        qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, 1)))->click();
      });
      command(lw, cmd_КнопкаПравка);
      QCOMPARE(shown_codes(lw), (std::vector<int>{5, 5, 11}));
      QCOMPARE(win_GetText(lw), cp("Выделите строку для операции"));
    });
    // One change: the first record of code 5 edited in its place with its code, the twin kept.
    QCOMPARE(wd.read("Литература1.pbs"),
             record_line(11, "А", "Б", "Поэзия", "Книга", 0, 0, "") +
                 record_line(5, "Новый", "Т", "Удалённая", "Пропавший", 1, 1, "x.bmp") +
                 record_line(5, "Двойник", "Т", "Поэзия", "Книга", 0, 0, ""));
  }

  void longCodesAndCodesGivenAgain() {
    WorkDir wd(start_files(record_line(3, "А", "Б", "В", "", 0, 0, "") + record_line(100005, "Г", "Д", "Е", "", 0, 0, "") +
                           record_line(8, "Ж", "З", "И", "", 0, 0, "")));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      // A code of six digits is edited whole: the record keeps it.
      select_code(lw, 100005);
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Автор)), cp("Г"));
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Д2"));
        qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, 1)))->click();
      });
      command(lw, cmd_МенюРедактировать);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 8, 100005}));
      // After the highest code is deleted its code is not given out again.
      select_code(lw, 100005);
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(lw, cmd_КнопкаУдалить);
      QCOMPARE(формирумновыйкод(), 100006);
    });
  }

  void cards() {
    WorkDir wd(start_files(record_line(100001, "А. Блок", "Стихи", "Поэзия", "", 0, 1, "s.bmp") +
                           record_line(2, "Б", "В", "Г", "", 1, 0, "")));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 100001);
      command(lw, cmd_КнопкаКарточка);
      const std::string card = cp("Автор:\t\t\tА. Блок \r\nНаименование:\t\tСтихи \r\nКатегория:\t\tПоэзия \r\n"
                                  "Диск:\t\t\tНет \r\nПереплет:\t\tТвёрдый \r\nОбложка:\t\ts.bmp \r\n");
      QCOMPARE(wd.read("карточка.txt"), card);
      select_code(lw, 2);
      command(lw, cmd_МенюКарточка);
      QVERIFY(wd.read("карточка.txt").find(cp("Обложка:\t\t \r\n")) != std::string::npos);  // empty cover
      QVERIFY(wait_until([] { return message_text().count(QString(46, '_')) == 2; }));
      QVERIFY(message_text().contains(QString::fromUtf8("А. Блок")));
      // After the user closed the message window, the next card opens one with 40 lines in the
      // card font.
      msg_close();
      command(lw, cmd_КнопкаКарточка);
      QVERIFY(msg_GetWin().has_value());
      const auto font = шрифт_из_блока(*шрифткарточки.get());
      QCOMPARE(win_GetFont(*msg_GetWin()), *font);
      // The new window keeps at most 40 lines.
      for (int i = 0; i < 60; ++i) msg_AppendStr("line\n");
      QVERIFY(wait_until([] { return edit_GetNumberOfLines(*msg_GetWin()) <= 41; }));
      QVERIFY(edit_GetNumberOfLines(*msg_GetWin()) >= 39);
    });
  }

  void aFailedCardDoesNotBreakTheNext() {
    WorkDir wd(start_files(record_line(2, "Б", "В", "Г", "", 1, 0, "")));
    QDir(wd.dir()).mkdir(QString::fromUtf8("карточка.txt"));  // cannot be opened for writing
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 2);
      // Told in a message that names the file and why, not as a fault of the program.
      QString message;
      read_next_message(message);
      command(lw, cmd_КнопкаКарточка);
      QVERIFY2(message.contains(QString::fromUtf8("«карточка.txt»: это папка, а не файл")), qPrintable(message));
      QCOMPARE(reported().size(), std::size_t(0));
      QDir(wd.dir()).rmdir(QString::fromUtf8("карточка.txt"));
      command(lw, cmd_КнопкаКарточка);
      QCOMPARE(reported().size(), std::size_t(0));
      QVERIFY(wd.read("карточка.txt").find(cp("Автор:")) == 0);
    });
  }
};

QTEST_MAIN(AppListTests)
#include "app_list_tests.moc"

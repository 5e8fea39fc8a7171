// Several desks on one catalogue folder, with the real program: another desk (a desk_worker
// process changing the folder through the core's change path, as a program at another computer
// does) stores while the program runs. Its changes show in the open list windows within 2 s with
// the selection kept, the data-entry dialog's lists and duplicate check follow them, an edit of a
// record it deleted is refused with the record named, a change that waits for it longer than
// 10 s stays in its dialog, and the folder gone is told once and refuses changes until it is back.
#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include "app_test_support.h"
#include "core/list_line.h"
#include "app_window_records.h"
#include "layer_test_access.h"
#include "worker_process.h"

using namespace app_test;

namespace {

using layer_test::client_of;
using layer_test::window_of;

// Another desk's one change, run to its end; what it printed (the code of a record it entered).
QString other_desk(const QStringList& args) {
  QProcess desk;
  desk.start(FOLIARKH_DESK_WORKER, args);
  if (!desk.waitForFinished(30000) || desk.exitCode() != 0)
    QTest::qFail(qPrintable("the other desk failed: " + desk.readAllStandardError()), __FILE__, __LINE__);
  return QString::fromUtf8(desk.readAllStandardOutput()).trimmed();
}

// The code of the line selected in the list window; none without a selection.
std::optional<int> selected_code(Window lw) {
  const auto i = lbox_GetSelIndex(list_box(lw));
  if (!i) return std::nullopt;
  return код_строки(lbox_GetItem(list_box(lw), *i));
}

}  // namespace

class AppDesksTests : public QtSuite {
  Q_OBJECT

 public:
  AppDesksTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // Another desk enters one record and deletes another: within 2 s the list windows show it in
  // place, the selection stays on its record where the record is still there (and goes with it
  // where it is not), and a window's find filter counts the new record.
  void anotherDesksChangesShowWithinTwoSeconds() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      const Window a = open_list(task);
      const Window b = open_list(task);
      const Window c = open_list(task);
      select_code(a, 5);
      select_code(b, 7);
      win_SetText(win_GetCtlHandle(c, ид_поля_поиска), cp("Пушкин"));
      QCOMPARE(win_GetText(c), cp("Найдено 1 из 3"));

      QElapsedTimer since;
      since.start();
      const QString code = other_desk({"enter", wd.dir(), "Пушкин", "Пиковая дама"});
      QCOMPARE(code, QString("8"));
      other_desk({"delete", wd.dir(), "7"});
      QVERIFY(wait_until([&] { return shown_codes(a) == std::vector<int>{3, 5, 8}; }, 2000));
      QVERIFY2(since.elapsed() < 2000, qPrintable(QString::number(since.elapsed())));
      QCOMPARE(selected_code(a), std::optional<int>(5));
      QCOMPARE(win_GetText(a), cp("Выполните необходимую операцию"));
      QCOMPARE(shown_codes(b), (std::vector<int>{3, 5, 8}));
      QCOMPARE(selected_code(b), std::nullopt);
      QCOMPARE(win_GetText(b), cp("Выделите строку для операции"));
      QCOMPARE(shown_codes(c), (std::vector<int>{3, 8}));
      QCOMPARE(win_GetText(c), cp("Найдено 2 из 3"));
      QCOMPARE(база_лит.по_коду(8).size(), std::size_t(1));
      // Too many new lines to put in one by one: the list is filled again, the selection stays.
      other_desk({"import", wd.dir(), "100"});
      QVERIFY(wait_until([&] { return shown_codes(a).size() == 103; }, 2000));
      QCOMPARE(selected_code(a), std::optional<int>(5));
      QCOMPARE(win_GetText(a), cp("Выполните необходимую операцию"));
    });
  }

  // The other desk deletes the record open in the data-entry dialog: OK is refused with a message
  // naming the record and what became of it, the dialog stays, nothing is stored; the list
  // window has followed.
  void anEditOfARecordAnotherDeskDeletedIsRefused() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 7);
      QString said;
      bool stayed = false;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        other_desk({"delete", wd.dir(), "7"});
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Гоголь Н. В."));
        read_next_message(said);
        press(dlg, кнопка_OK);
        QVERIFY(wait_until([&] { return !said.isEmpty(); }));
        stayed = win_GetType(dlg) != wk_NotAWindow;
        press(dlg, кнопка_Cancel);
      });
      command(lw, cmd_КнопкаПравка);
      QVERIFY(stayed);
      QVERIFY2(said.startsWith(QString::fromUtf8("Запись 7 «Нос» не изменена: пока она была открыта, её удалили")),
               qPrintable(said));
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5}));
      QCOMPARE(wd.read("Литература1.pbs"), record_line(3, "Пушкин", "Онегин", "Поэзия", "Книга", 1, 1, "") +
                                               record_line(5, "Чехов", "Сад", "Проза", "Журнал", 0, 1, ""));
    });
  }

  // While the data-entry dialog is open, the other desk enters a category (its list follows within
  // 2 s) and the very book typed in the dialog (OK finds it a duplicate at once).
  void theDataEntryDialogFollowsTheOtherDesk() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      QString said;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        const Window categories = win_GetCtlHandle(dlg, ид_Категория);
        other_desk({"category", wd.dir(), "Драма"});
        QVERIFY(wait_until([&] { return lbox_CountAll(categories) == 3; }, 2000));
        QCOMPARE(lbox_GetAll(categories), (std::vector<std::string>{cp("Драма"), cp("Поэзия"), cp("Проза")}));
        QCOMPARE(lbox_GetItem(categories, *lbox_GetSelIndex(categories)), cp("Поэзия"));  // the choice stays
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Блок"));
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Двенадцать"));
        other_desk({"enter", wd.dir(), "Блок", "Двенадцать", "Поэзия", "Журнал", "0", "1"});
        read_next_message(said);
        press(dlg, кнопка_OK);
        QVERIFY(wait_until([&] { return !said.isEmpty(); }));
        press(dlg, кнопка_Cancel);
      });
      command(task, cmd_ВводДанных);
      QCOMPARE(said, QString::fromUtf8("В базе уже\nесть такая запись!"));
      QCOMPARE(база_лит.count(), std::size_t(4));
    });
  }

  // Another desk holds the folder's lock (killed in the middle of an import later): a change
  // waits 10 s, is refused with the reason and stays in its dialog; once the other desk is gone,
  // OK stores it.
  void aChangeThatCannotWaitLongerStaysInItsDialog() {
    WorkDir wd(start_files(kТриЗаписи));
    test_support::WorkerProcess holder(FOLIARKH_DESK_WORKER, {"hold", wd.dir().toStdString()});
    QCOMPARE(holder.read_line(), std::string("held"));
    run_app([&](Window task) {
      QString said;
      qint64 waited = 0;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Блок"));
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Двенадцать"));
        read_next_message(said);
        QElapsedTimer since;
        since.start();
        press(dlg, кнопка_OK);
        QVERIFY(wait_until([&] { return !said.isEmpty(); }, 20000));
        waited = since.elapsed();
        QVERIFY(win_GetType(dlg) != wk_NotAWindow);
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Наименование)), cp("Двенадцать"));
        holder.kill_now();
        holder.wait();
        press(dlg, кнопка_OK);
        QVERIFY(wait_until([&] { return база_лит.count() == 4 && счетчикпрерывтаймера.get() == 2; }));
        if (win_GetType(dlg) != wk_NotAWindow) press(dlg, кнопка_Cancel);
      });
      command(task, cmd_ВводДанных);
      QVERIFY2(said.contains(QString::fromUtf8("за 10 с очередь не подошла")), qPrintable(said));
      QVERIFY2(waited >= 10000, qPrintable(QString::number(waited)));
      QVERIFY(wd.read("Литература1.pbs").find(cp("Двенадцать")) != std::string::npos);
    });
  }

  // The folder moved away while the program runs: told once; a change is refused and changes
  // nothing; back under its name: told, and the change is stored.
  void theFolderGoneIsToldOnceAndRefusesChanges() {
    WorkDir wd(start_files(kТриЗаписи));
    const QString away = wd.dir() + "-away";
    run_app([&](Window task) {
      QString gone, refused, back;
      read_next_message(gone);
      QVERIFY(QDir().rename(wd.dir(), away));
      QVERIFY(wait_until([&] { return !gone.isEmpty(); }, 2500));
      QVERIFY2(gone.startsWith(QString::fromUtf8("Папка каталога недоступна")), qPrintable(gone));
      answer_prompt("Драма");
      read_next_message(refused);
      command(task, cmd_КатегВвести);
      QVERIFY2(refused.startsWith(QString::fromUtf8("Изменение не сохранено: папки «")), qPrintable(refused));
      QCOMPARE(категории_лит.count(), std::size_t(2));
      QTest::qWait(1500);  // told once: no second message meanwhile
      QVERIFY(!QApplication::activeModalWidget());
      read_next_message(back);
      QVERIFY(QDir().rename(away, wd.dir()));
      QVERIFY(wait_until([&] { return !back.isEmpty(); }, 2500));
      QCOMPARE(back, QString::fromUtf8("Папка каталога снова доступна: изменения снова сохраняются."));
      answer_prompt("Драма");
      command(task, cmd_КатегВвести);
      QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Поэзия", "Проза", "Драма"}));
    });
    if (QDir(away).exists()) QDir().rename(away, wd.dir());
  }
};

QTEST_MAIN(AppDesksTests)
#include "app_desks_tests.moc"

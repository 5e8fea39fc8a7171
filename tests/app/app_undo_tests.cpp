// Scenario tests of undoing and redoing the catalogue's changes, the toolbar's clipboard commands
// and help on the window: the real program headless in a temporary working directory, the files
// compared byte for byte after each step.
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/catalogue_switch.h"
#include "app/data_entry.h"
#include "app/list_window.h"
#include "app/record_card.h"
#include "app/undo_commands.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "core/card_text.h"
#include "core/undo_history.h"
#include "packages/message_window.h"
#include "packages/toolbar.h"

using namespace app_test;

namespace {

const char* const kКаталог = "Литература1.pbs";
const char* const kКатегории = "КатегЛитер.pbs";


bool button_on(Window task, int id) {
  const auto v = toolbar_GetValue(task, id);
  return v && std::get<ctrl_value>(*v).enabled;
}

// Enters one record through the data-entry dialog and closes it once its note has gone.
void enter_record(Window task, const char* author, const char* title) {
  on_next_modal([=](QWidget* d) {
    const Window dlg = window_of(d);
    const std::size_t before = база_лит.count();
    win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp(author));
    win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp(title));
    press(dlg, кнопка_OK);
    QVERIFY(wait_until([&] { return база_лит.count() == before + 1 && счетчикпрерывтаймера.get() == 2; }));
    QTest::qWait(100);
    press(dlg, кнопка_Cancel);
  });
  command(task, cmd_ВводДанных);
}

// Runs `what` expecting an error box; its text.
QString error_of(const std::function<void()>& what) {
  QString text;
  on_next_modal([&](QWidget* box) {
    text = label_texts(box);
    click(box, "OK");
  });
  what();
  return text;
}

// Undoes (or redoes) the steps one by one, the file equal to each of `states` in turn.
void step_through(Window task, int id, const char* file, const WorkDir& wd, const std::vector<std::string>& states) {
  for (const std::string& state : states) {
    command(task, id);
    QCOMPARE(wd.read(file), state);
  }
}

}  // namespace

class AppUndoTests : public QtSuite {
  Q_OBJECT

 public:
  AppUndoTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // Entry, deletion and edit of records undone and redone, the file byte for byte after each
  // step, an open list window following at once; the buttons greyed while there is nothing to
  // do, right again when the task window's toolbar comes back, and a new change drops the redo.
  void recordChangesUndoneAndRedone() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      QVERIFY(!button_on(task, cmd_КнопкаОтменить));
      QVERIFY(!button_on(task, cmd_КнопкаПовторить));
      const std::string s0 = wd.read(kКаталог);
      enter_record(task, "Блок", "Стихи");
      const std::string s1 = wd.read(kКаталог);
      QVERIFY(button_on(task, cmd_КнопкаОтменить));
      QCOMPARE(что_отменить(), cp("ввод записи 8"));
      const Window lw = open_list(task);
      select_code(lw, 7);
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(lw, cmd_КнопкаУдалить);
      const std::string s2 = wd.read(kКаталог);
      QCOMPARE(что_отменить(), cp("удаление записи 7"));
      select_code(lw, 5);
      on_next_modal([](QWidget* d) {
        win_SetText(win_GetCtlHandle(window_of(d), ид_Автор), cp("Антон Чехов"));
        press(window_of(d), кнопка_OK);
      });
      command(lw, cmd_КнопкаПравка);
      const std::string s3 = wd.read(kКаталог);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 8}));

      step_through(task, cmd_КнопкаОтменить, kКаталог, wd, {s2, s1});
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 7, 8}));
      QCOMPARE(что_повторить(), cp("удаление записи 7"));
      step_through(task, cmd_КлавишаОтменить, kКаталог, wd, {s0});
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 7}));
      command(task, cmd_КнопкаОтменить);  // nothing left to undo
      QCOMPARE(wd.read(kКаталог), s0);
      step_through(task, cmd_КнопкаПовторить, kКаталог, wd, {s1, s2});
      step_through(task, cmd_КлавишаПовторить, kКаталог, wd, {s3});
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 8}));
      QCOMPARE(что_повторить(), std::string());

      // The toolbar comes back with the list window's close, showing the history.
      win_Destroy(lw);
      QVERIFY(wait_until([&] { return toolbar_GetValue(task, cmd_КнопкаОтменить).has_value(); }));
      QVERIFY(button_on(task, cmd_КнопкаОтменить));
      QVERIFY(!button_on(task, cmd_КнопкаПовторить));
      command(task, cmd_КнопкаОтменить);
      QVERIFY(button_on(task, cmd_КнопкаПовторить));
      QVERIFY(help_line_texts(task).contains(QString::fromUtf8("Отменить: удаление записи 7")));
      QVERIFY(help_line_texts(task).contains(QString::fromUtf8("Повторить: изменение записи 5")));
      // A new change drops what could be redone.
      enter_record(task, "Фет", "Вечер");
      QVERIFY(!button_on(task, cmd_КнопкаПовторить));
      QCOMPARE(что_повторить(), std::string());
    });
  }

  // Every change shows at once in every open list window, not only in the one it was made in
  // (the change path tells them); a window whose selected line went is put back to a window
  // without a selection.
  void changesShowInEveryOpenListWindow() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      const Window a = open_list(task);
      const Window b = open_list(task);
      QVERIFY(a && b && a != b);
      enter_record(task, "Блок", "Стихи");
      QCOMPARE(shown_codes(a), (std::vector<int>{3, 5, 7, 8}));
      QCOMPARE(shown_codes(b), (std::vector<int>{3, 5, 7, 8}));
      select_code(b, 7);
      QCOMPARE(win_GetText(b), cp("Выполните необходимую операцию"));
      select_code(a, 7);
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(a, cmd_КнопкаУдалить);
      QCOMPARE(shown_codes(a), (std::vector<int>{3, 5, 8}));
      QCOMPARE(shown_codes(b), (std::vector<int>{3, 5, 8}));
      QCOMPARE(win_GetText(b), cp("Выделите строку для операции"));
      // An edit made in one window: the other shows the edited record under its own code.
      select_code(a, 5);
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Чехов А. П."));
        press(dlg, кнопка_OK);
      });
      command(a, cmd_КнопкаПравка);
      QVERIFY(wait_until([] { return база_лит.по_коду(5).at(0).автор == cp("Чехов А. П."); }));
      QCOMPARE(shown_codes(a), (std::vector<int>{3, 5, 8}));
      QCOMPARE(shown_codes(b), (std::vector<int>{3, 5, 8}));
      QVERIFY(lbox_GetItem(list_box(b), 1).find(cp("Чехов А. П.")) != std::string::npos);
    });
  }

  void categoryChangesUndoneAndRedone() {
    WorkDir wd(start_files("", category_lines({"Поэзия", "Проза"})));
    run_app([&](Window task) {
      const std::string s0 = wd.read(kКатегории);
      answer_prompt("Драма");
      command(task, cmd_КатегВвести);
      const std::string s1 = wd.read(kКатегории);
      on_next_modal([](QWidget* d) {
        QComboBox* c = d->findChild<QComboBox*>();
        c->setCurrentIndex(c->findText(QString::fromUtf8("Поэзия")));
        c->setEditText(QString::fromUtf8("Поэзия"));
        click(d, "OK");
      });
      answer_prompt("Лирика");
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(task, cmd_КатегРедактировать);
      const std::string s2 = wd.read(kКатегории);
      QCOMPARE(s2, category_lines({"Проза", "Драма", "Лирика"}));
      on_next_modal([](QWidget* d) {
        QComboBox* c = d->findChild<QComboBox*>();
        c->setCurrentIndex(c->findText(QString::fromUtf8("Проза")));
        c->setEditText(QString::fromUtf8("Проза"));
        click(d, "OK");
      });
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(task, cmd_КатегУдалить);
      const std::string s3 = wd.read(kКатегории);
      QCOMPARE(что_отменить(), cp("удаление категории «Проза»"));
      step_through(task, cmd_КнопкаОтменить, kКатегории, wd, {s2, s1, s0});
      QVERIFY(!button_on(task, cmd_КнопкаОтменить));
      step_through(task, cmd_КнопкаПовторить, kКатегории, wd, {s1, s2, s3});
    });
  }

  // A renamed category takes its books along when the user says so ("Изменить категорию и у 2
  // записей?"): the list window shows them under the new name at once, and one undo takes the
  // category and its books back. "Нет" renames the category alone.
  void aCategoryRenamedWithItsBooks() {
    const std::string книги = record_line(3, "Пушкин", "Повести Белкина", "Проза", "Книга", 1, 1, "") +
                              record_line(7, "Блок", "Стихи", "Поэзия", "Книга", 0, 0, "") +
                              record_line(5, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "");
    WorkDir wd(start_files(книги, category_lines({"Поэзия", "Проза"})));
    const auto rename = [](const char* old_name, const char* new_name, const char* books_answer, QString* asked) {
      on_next_modal([old_name](QWidget* d) {
        QComboBox* c = d->findChild<QComboBox*>();
        c->setCurrentIndex(c->findText(QString::fromUtf8(old_name)));
        c->setEditText(QString::fromUtf8(old_name));
        click(d, "OK");
      });
      answer_prompt(new_name);
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      on_next_modal([books_answer, asked](QWidget* d) {
        *asked = label_texts(d);
        click(d, QString::fromUtf8(books_answer));
      });
    };
    run_app([&](Window task) {
      const Window lw = open_list(task);
      const std::string s0 = wd.read(kКаталог), c0 = wd.read(kКатегории);
      QString asked;
      rename("Проза", "Повести", "Да", &asked);
      command(task, cmd_КатегРедактировать);
      QCOMPARE(asked, QString::fromUtf8("Изменить категорию и у 2 записей?"));
      QCOMPARE(wd.read(kКатегории), category_lines({"Поэзия", "Повести"}));
      QCOMPARE(wd.read(kКаталог), record_line(3, "Пушкин", "Повести Белкина", "Повести", "Книга", 1, 1, "") +
                                      record_line(7, "Блок", "Стихи", "Поэзия", "Книга", 0, 0, "") +
                                      record_line(5, "Гоголь", "Нос", "Повести", "Книга", 0, 0, ""));
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 7}));
      QVERIFY(lbox_GetItem(list_box(lw), 0).find(cp("|   Повести|")) != std::string::npos);
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(wd.read(kКаталог), s0);
      QCOMPARE(wd.read(kКатегории), c0);
      QVERIFY(lbox_GetItem(list_box(lw), 0).find(cp("|     Проза|")) != std::string::npos);
      command(task, cmd_КнопкаПовторить);
      QCOMPARE(wd.read(kКатегории), category_lines({"Поэзия", "Повести"}));
      QVERIFY(wd.read(kКаталог).find(cp("\"Проза\"")) == std::string::npos);
      command(task, cmd_КнопкаОтменить);

      rename("Проза", "Рассказы", "Нет", &asked);
      command(task, cmd_КатегРедактировать);
      QCOMPARE(wd.read(kКатегории), category_lines({"Поэзия", "Рассказы"}));
      QCOMPARE(wd.read(kКаталог), s0);
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // Undoing a deletion after other changes restores exactly the deleted record at its place; a
  // record whose code another record holds meanwhile gets a new one, past every code given.
  void anUndoneDeletionRestoresExactlyItsRecord() {
    const std::string a = record_line(5, "Агеев", "Роман", "Проза", "Книга", 0, 0, "");
    const std::string b = record_line(5, "Бунин", "Тени", "Проза", "Книга", 1, 0, "");
    const std::string c = record_line(9, "Вяземский", "Стихи", "Поэзия", "Журнал", 1, 1, "x.bmp");
    WorkDir wd(start_files(a + b + c));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      for (int code : {9, 5}) {
        select_code(lw, code);
        on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
        command(lw, cmd_КнопкаУдалить);
      }
      QCOMPARE(wd.read(kКаталог), b);
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(wd.read(kКаталог), record_line(10, "Агеев", "Роман", "Проза", "Книга", 0, 0, "") + b);
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(wd.read(kКаталог), record_line(10, "Агеев", "Роман", "Проза", "Книга", 0, 0, "") + b + c);
      // Redone, the deletions take exactly these records again.
      command(task, cmd_КнопкаПовторить);
      command(task, cmd_КнопкаПовторить);
      QCOMPARE(wd.read(kКаталог), b);
      QCOMPARE(shown_codes(lw), (std::vector<int>{5}));
    });
  }

  // An undo whose save fails leaves memory and file as they were, says why and stays to be
  // done; it succeeds once the file can be written.
  void anUndoWhoseSaveFailsChangesNothing() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 7);
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(lw, cmd_КнопкаУдалить);
      const std::string after = wd.read(kКаталог);
      // The catalogue's name taken by a folder: no file can replace it.
      QVERIFY(QFile::remove(wd.path(kКаталог)));
      QVERIFY(QDir(wd.dir()).mkdir(QString::fromUtf8(kКаталог)));
      const QString why = error_of([&] { command(task, cmd_КнопкаОтменить); });
      QVERIFY2(why.contains(QString::fromUtf8("Не удалось отменить удаление записи 7")), qPrintable(why));
      QVERIFY(why.contains(QString::fromUtf8("не записан")));
      QCOMPARE(база_лит.count(), std::size_t(2));
      QVERIFY(база_лит.по_коду(7).empty());
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5}));
      QCOMPARE(что_отменить(), cp("удаление записи 7"));
      QCOMPARE(что_повторить(), std::string());
      QVERIFY(QDir(wd.dir()).rmdir(QString::fromUtf8(kКаталог)));
      wd.write(kКаталог, after);
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(wd.read(kКаталог), kТриЗаписи);
      // A redo that takes a record out keeps it when the save fails.
      QVERIFY(QFile::remove(wd.path(kКаталог)));
      QVERIFY(QDir(wd.dir()).mkdir(QString::fromUtf8(kКаталог)));
      const QString redo_why = error_of([&] { command(task, cmd_КнопкаПовторить); });
      QVERIFY2(redo_why.contains(QString::fromUtf8("Не удалось повторить удаление записи 7")), qPrintable(redo_why));
      QCOMPARE(база_лит.count(), std::size_t(3));
      QCOMPARE(база_лит.по_коду(7).size(), std::size_t(1));
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 7}));
      QVERIFY(QDir(wd.dir()).rmdir(QString::fromUtf8(kКаталог)));
    });
  }

  // Opening another catalogue forgets the steps of the one left behind.
  void openingAnotherCatalogueForgetsTheHistory() {
    WorkDir other(start_files(record_line(1, "Блок", "Стихи", "Поэзия", "", 0, 0, "")));
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      answer_prompt("Драма");
      command(task, cmd_КатегВвести);
      QVERIFY(button_on(task, cmd_КнопкаОтменить));
      QVERIFY(открыть_каталог(task, other.dir().toStdString()));
      QVERIFY(!button_on(task, cmd_КнопкаОтменить));
      QCOMPARE(что_отменить(), std::string());
      command(task, cmd_КлавишаОтменить);
      QCOMPARE(other.read(kКатегории), category_lines({"Поэзия", "Проза"}));
    });
    QCOMPARE(wd.read(kКатегории), category_lines({"Поэзия", "Проза", "Драма"}));
  }

  // Cut, Copy and Paste act on the focused field of a dialog and follow its selection; the keys
  // leave a focused field its own undo. With no field focused, Copy puts the selected record's
  // card on the clipboard.
  void clipboardCommandsAndKeys() {
    WorkDir wd(start_files(kТриЗаписи));
    QGuiApplication::clipboard()->clear();
    run_app([&](Window task) {
      for (int id : {cmd_КнопкаВырезать, cmd_КнопкаКопировать, cmd_КнопкаВставить}) QVERIFY(!button_on(task, id));
      answer_prompt("Драма");
      command(task, cmd_КатегВвести);
      const std::string categories = wd.read(kКатегории);
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        const Window author = win_GetCtlHandle(dlg, ид_Автор);
        win_SetFocus(author);
        win_SetText(author, cp("Лесков"));
        QVERIFY(!button_on(task, cmd_КнопкаВырезать));
        qobject_cast<QLineEdit*>(client_of(author))->selectAll();
        QVERIFY(wait_until([&] { return button_on(task, cmd_КнопкаВырезать); }));
        QVERIFY(button_on(task, cmd_КнопкаКопировать));
        command(task, cmd_КнопкаВырезать);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("Лесков"));
        QCOMPARE(win_GetText(author), std::string());
        QVERIFY(wait_until([&] { return button_on(task, cmd_КнопкаВставить); }));
        command(task, cmd_КнопкаВставить);
        command(task, cmd_КнопкаВставить);
        QCOMPARE(win_GetText(author), cp("ЛесковЛесков"));
        // Ctrl+Z in a field is the field's: the category stays.
        command(task, cmd_КлавишаОтменить);
        QCOMPARE(wd.read(kКатегории), categories);
        press(dlg, кнопка_Cancel);
      });
      command(task, cmd_ВводДанных);
      const Window lw = open_list(task);
      select_code(lw, 7);
      activate_program();
      win_SetFocus(list_box(lw));
      command(task, cmd_КлавишаКопировать);
      const QString card = QGuiApplication::clipboard()->text();
      QCOMPARE(card, qs(текст_карточки(база_лит.по_коду(7).front())));
      QVERIFY(card.startsWith(QString::fromUtf8("Автор:\t\t\tГоголь \nНаименование:\t\tНос \n")));
    });
  }

  // The keys Ctrl+Z and Ctrl+Y undo and redo where no text field has the focus; in the message
  // window's editor they are the editor's own.
  void theKeysUndoWhereNoTextFieldHasTheFocus() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      answer_prompt("Драма");
      command(task, cmd_КатегВвести);
      const std::string entered = wd.read(kКатегории);
      activate_program();
      QWidget* editor = client_of(*msg_GetWin())->findChild<QPlainTextEdit*>();
      if (!editor) editor = qobject_cast<QPlainTextEdit*>(client_of(*msg_GetWin()));
      QVERIFY(editor);
      editor->setFocus();
      QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(wd.read(kКатегории), entered);
      const Window lw = open_list(task);
      activate_program();
      win_SetFocus(list_box(lw));
      QTest::keyClick(client_of(list_box(lw)), Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(wd.read(kКатегории), category_lines({"Поэзия", "Проза"}));
      QTest::keyClick(client_of(list_box(lw)), Qt::Key_Y, Qt::ControlModifier);
      QCOMPARE(wd.read(kКатегории), entered);
    });
  }

  // F1 and "&Local" open the help at the topic of the window with the focus.
  void helpOnTheWindow() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      auto topic = [] {
        QTextBrowser* b = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
          if (w->objectName() == "help_viewer" && w->isVisible()) b = w->findChild<QTextBrowser*>();
        return b ? b->cursorForPosition(QPoint(4, 4)).block().text() : QString("<no viewer>");
      };
      command(task, cmd_Местная);
      QCOMPARE(topic(), QString::fromUtf8("Главное окно"));
      const Window lw = open_list(task);
      activate_program();
      win_SetFocus(list_box(lw));
      command(task, cmd_Местная);
      QCOMPARE(topic(), QString::fromUtf8("База / Удал/Редакт/Вывод — список книг"));
      win_Destroy(lw);
      // F1 in a dialog: the data-entry dialog's own, and a prompt of the category commands.
      QString in_entry, in_prompt;
      // F1 reaches a dialog's keys once the dialog is the active window. The viewer opened before
      // is closed first: left open, it can take the activation back from the next dialog a while
      // after that dialog shows, on a loaded machine.
      uix_HelpClose();
      on_next_modal([&](QWidget* d) {
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClick(d, Qt::Key_F1);
        in_entry = topic();
        press(window_of(d), кнопка_Cancel);
      });
      command(task, cmd_ВводДанных);
      QCOMPARE(in_entry, QString::fromUtf8("База / Ввод Данных — ввод новой книги"));
      uix_HelpClose();
      on_next_modal([&](QWidget* d) {
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClick(d->findChild<QLineEdit*>(), Qt::Key_F1);
        in_prompt = topic();
        click(d, "Cancel");
      });
      command(task, cmd_КатегВвести);
      QCOMPARE(in_prompt, QString::fromUtf8("Категории"));
      uix_HelpClose();
    });
  }
};

QTEST_MAIN(AppUndoTests)
#include "app_undo_tests.moc"

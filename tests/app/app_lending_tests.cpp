// Lending through the real program, headless, through its dialogs and windows: a book issued with
// a reader added in place, a second book found by its words, a book out refused to the next reader
// with who has it, a late book taken back with its days overdue, dates refused, the readers window
// and the overdue window (following this desk's and another desk's changes), the help line at the
// start, the deletion of a book that is out and of a reader with books; the files compared byte
// for byte and the changes undone.
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>

#include "app/list_table.h"
#include "app/list_window.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "core/change_path.h"
#include "core/lending.h"
#include "core/undo_history.h"
#include "packages/toolbar.h"

using namespace app_test;

namespace {

const char* const kЧитатели = "Читатели.pbs";
const char* const kВыдачи = "Выдачи.pbs";

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Answers the next prompt with `text`.
void ответить(const char* text) {
  on_next_modal([t = u(text)](QWidget* d) {
    d->findChild<QLineEdit*>()->setText(t);
    click(d, "OK");
  });
}
// Presses `caption` in the next box, its labels' texts kept in `text`.
void нажать(const char* caption, QString* text = nullptr) {
  on_next_modal([c = u(caption), text](QWidget* d) {
    if (text) *text = label_texts(d);
    click(d, c);
  });
}

QWidget* элемент(Window dlg, int id) { return client_of(win_GetCtlHandle(dlg, id)); }
QString текст(Window dlg, int id) { return qs(win_GetText(win_GetCtlHandle(dlg, id))); }
// Types `utf8` into the field as the keyboard (or a scanner) does, one key at a time.
void набрать(Window dlg, int id, const char* utf8) {
  QWidget* поле = элемент(dlg, id);
  win_SetFocus(win_GetCtlHandle(dlg, id));
  for (const QChar c : QString::fromUtf8(utf8))
    QTest::sendKeyEvent(QTest::Click, поле, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
void заменить(Window dlg, int id, const char* utf8) {
  qobject_cast<QLineEdit*>(элемент(dlg, id))->clear();
  набрать(dlg, id, utf8);
}
// Enter in the field, as a scanner ends a code.
void enter(Window dlg, int id) {
  win_SetFocus(win_GetCtlHandle(dlg, id));
  QTest::keyClick(элемент(dlg, id), Qt::Key_Return);
}
// A click on the button: the focus goes to it, as under the mouse.
void кнопка(Window dlg, int id) {
  win_SetFocus(win_GetCtlHandle(dlg, id));
  press(dlg, id);
}

// A table of a lending window: its rows' cells, and a click on a row.
QTreeView* таблица(Window dlg, int id) { return qobject_cast<QTreeView*>(элемент(dlg, id)); }
QStringList ряд(Window dlg, int id, int row) {
  QAbstractItemModel* m = таблица(dlg, id)->model();
  QStringList out;
  for (int c = 0; c < m->columnCount(); ++c) out << m->data(m->index(row, c)).toString();
  return out;
}
int рядов(Window dlg, int id) { return таблица(dlg, id)->model()->rowCount(); }
// Every column of the table at least as wide as its caption, so no caption is cut.
void подписи_видны(Window dlg, int id) {
  QTreeView* t = таблица(dlg, id);
  const QFontMetrics fm(t->header()->font());
  for (int c = 0; c < t->model()->columnCount(); ++c) {
    const QString подпись = t->model()->headerData(c, Qt::Horizontal).toString();
    QVERIFY2(t->header()->sectionSize(c) >= fm.horizontalAdvance(подпись) + 8, qPrintable(подпись));
    // A date in the column is shown whole, never "09.12.20…".
    for (int r = 0; r < t->model()->rowCount(); ++r) {
      const QString ячейка = t->model()->data(t->model()->index(r, c)).toString();
      if (QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}$")).match(ячейка).hasMatch())
        QVERIFY2(t->header()->sectionSize(c) >= QFontMetrics(t->font()).horizontalAdvance(ячейка) + 8, qPrintable(ячейка));
    }
  }
}
void выбрать_ряд(Window dlg, int id, int row) {
  QTreeView* v = таблица(dlg, id);
  v->scrollTo(v->model()->index(row, 0));
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(row, 0)).center());
}

// Writes to `path` in the next file dialog.
void выбрать_файл(const QString& path) {
  on_next_modal([path](QWidget* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    QVERIFY2(fd, qPrintable(label_texts(d)));
    fd->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
  });
}

std::string день_через(int дней) { return текст_даты(сегодня() + std::chrono::days(дней)); }
QString показ(const std::string& date) { return qs(показ_даты(date)); }

std::string выдача(int книга, int читатель, const std::string& выдана, const std::string& срок,
                   const std::string& возвращена = "") {
  return "выдача_лит("_cps + std::to_string(книга) + "," + std::to_string(читатель) + ",\"" + выдана + "\",\"" + срок +
         "\",\"" + возвращена + "\")\r\n";
}

class AppLendingTests : public QtSuite {
  Q_OBJECT

 public:
  AppLendingTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // The scenario through the issue and return dialogs: a reader added in place, two books issued
  // (by code as a scanner types it, and by words), the first refused to another reader with who
  // has it, one returned late; a date that is no date and a due date already past refused, Cancel
  // changing nothing; the overdue window and the reader's history exact, the files byte for byte.
  void issueAndReturnThroughTheDialogs() {
    // Петров had "Сад" (5) since 30 days ago, due 16 days ago.
    std::map<std::string, std::string> files = start_files(kТриЗаписи);
    files[kЧитатели] = cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"\",\"\")\r\n");
    files[kВыдачи] = выдача(5, 1, день_через(-30), день_через(-16));
    WorkDir wd(files);
    run_app([&](Window task) {
      // Book 7 by its code and Enter; a new reader in place; the due date offered.
      QString книга, срок, найдены;
      QStringList новая, имена;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        for (const int id : {ид_КнигаВыдачи, ид_КнигиВыдачи, ид_ЧитательВыдачи, ид_ЧитателиВыдачи, ид_СрокВозврата})
          имена << элемент(dlg, id)->accessibleName();
        for (const int id : {ид_КнигиВыдачи, ид_ЧитателиВыдачи}) подписи_видны(dlg, id);
        набрать(dlg, ид_КнигаВыдачи, "7");
        enter(dlg, ид_КнигаВыдачи);
        книга = текст(dlg, ид_СостояниеКниги);
        QCOMPARE(win_GetFocus(), win_GetCtlHandle(dlg, ид_ЧитательВыдачи));
        QVERIFY(d->isVisible());
        on_next_modal([&](QWidget* card) {
          const Window к = window_of(card);
          набрать(к, ид_ФИО, "Иванова Анна");
          набрать(к, ид_Группа, "10А");
          for (const int id : {ид_ФИО, ид_Группа, ид_Телефон, ид_ПримечаниеЧитателя})
            новая << client_of(win_GetCtlHandle(к, id))->accessibleName();
          click(card, "OK");
        });
        кнопка(dlg, ид_НовыйЧитатель);
        найдены = ряд(dlg, ид_ЧитателиВыдачи, *lview_GetSel(win_GetCtlHandle(dlg, ид_ЧитателиВыдачи))).join('|');
        срок = текст(dlg, ид_СрокВозврата);
        кнопка(dlg, кнопка_OK);
      });
      command(task, cmd_ВыдатьКнигу);
      QCOMPARE(книга, u("Книга 7 «Нос»: экземпляров 1, на руках 0"));
      QCOMPARE(имена, (QStringList{u("Книга: код, ISBN или слова"), u("Найденные книги"), u("Читатель: ФИО или группа"),
                                   u("Найденные читатели"), u("Вернуть до")}));
      QCOMPARE(новая, (QStringList{u("ФИО"), u("Группа"), u("Телефон"), u("Примечание")}));
      QCOMPARE(найдены, u("Иванова Анна|10А||0"));
      QCOMPARE(срок, показ(день_через(14)));
      // "Онегин" by a word of its title, the reader found by her group, a week.
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        набрать(dlg, ид_КнигаВыдачи, "онег");
        набрать(dlg, ид_ЧитательВыдачи, "10а");
        заменить(dlg, ид_СрокВозврата, qPrintable(показ(день_через(7))));
        кнопка(dlg, кнопка_OK);
      });
      command(task, cmd_ВыдатьКнигу);
      const std::string сегодня_ = текст_даты(сегодня());
      QCOMPARE(wd.read(kЧитатели), cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"\",\"\")\r\n"
                                      "читатель_лит(2,\"Иванова Анна\",\"10А\",\"\",\"\")\r\n"));
      const std::string после_выдач = выдача(5, 1, день_через(-30), день_через(-16)) +
                                      выдача(7, 2, сегодня_, день_через(14)) + выдача(3, 2, сегодня_, день_через(7));
      QCOMPARE(wd.read(kВыдачи), после_выдач);
      QCOMPARE(что_отменить(), cp("выдача книги 3"));

      // Book 7 is out: Петров cannot have it, and is told who has it and until when; the dialog
      // stays, and Cancel changes nothing.
      QString состояние, отказ;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        набрать(dlg, ид_КнигаВыдачи, "7");
        набрать(dlg, ид_ЧитательВыдачи, "петров");
        состояние = текст(dlg, ид_СостояниеКниги);
        нажать("OK", &отказ);
        кнопка(dlg, кнопка_OK);
        QVERIFY(d->isVisible());
        click(d, "Отмена");
      });
      command(task, cmd_ВыдатьКнигу);
      QVERIFY2(состояние.contains(u("выдать нельзя: книга 7 «Нос» на руках: Иванова Анна — до ") + показ(день_через(14))),
               qPrintable(состояние));
      QVERIFY2(отказ.contains(u("Книгу выдать нельзя: книга 7 «Нос» на руках: Иванова Анна — до ") + показ(день_через(14))),
               qPrintable(отказ));
      QCOMPARE(wd.read(kВыдачи), после_выдач);

      // Петров brings "Сад" back, 16 days late: the code and Enter show him, his dates and the days.
      QString о_возврате;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        набрать(dlg, ид_КодВозврата, "5");
        enter(dlg, ид_КодВозврата);
        QVERIFY(d->isVisible());
        о_возврате = текст(dlg, ид_ОВозврате);
        кнопка(dlg, кнопка_OK);
      });
      command(task, cmd_ПринятьКнигу);
      QCOMPARE(о_возврате, u("Книга 5 «Сад»\nЧитатель: Петров Пётр, 11Б\nВыдана ") + показ(день_через(-30)) + u(", срок ") +
                              показ(день_через(-16)) + u(", просрочка 16 дн."));
      const std::string после_возврата = выдача(5, 1, день_через(-30), день_через(-16), сегодня_) +
                                         выдача(7, 2, сегодня_, день_через(14)) + выдача(3, 2, сегодня_, день_через(7));
      QCOMPARE(wd.read(kВыдачи), после_возврата);
      QCOMPARE(что_отменить(), cp("возврат книги 5"));

      // A code of no book, and of a book on the shelf: told in the dialog, no box; OK does nothing.
      QStringList сказано;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        for (const char* код : {"99", "5", "5x"}) {
          заменить(dlg, ид_КодВозврата, код);
          кнопка(dlg, кнопка_OK);
          QVERIFY(d->isVisible() && QApplication::activeModalWidget() == d);
          сказано << текст(dlg, ид_ОВозврате);
        }
        click(d, "Отмена");
      });
      command(task, cmd_ПринятьКнигу);
      QCOMPARE(сказано, (QStringList{u("Книги с кодом 99 в каталоге нет."), u("Книга 5 «Сад» не на руках: принимать нечего."),
                                     u("«5x» — не код книги: код состоит из цифр.")}));

      // A due date that is no date, and one already past: each refused with its reason, the
      // focus on the date; Cancel then changes nothing.
      QString не_дата, прошёл;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        набрать(dlg, ид_КнигаВыдачи, "5");
        набрать(dlg, ид_ЧитательВыдачи, "петров");
        заменить(dlg, ид_СрокВозврата, "31.02.2027");
        нажать("OK", &не_дата);
        кнопка(dlg, кнопка_OK);
        заменить(dlg, ид_СрокВозврата, qPrintable(показ(день_через(-1))));
        нажать("OK", &прошёл);
        кнопка(dlg, кнопка_OK);
        QVERIFY(d->isVisible());
        QCOMPARE(d->focusWidget(), элемент(dlg, ид_СрокВозврата));  // its window's focus, once the box is gone
        click(d, "Отмена");
      });
      command(task, cmd_ВыдатьКнигу);
      QVERIFY2(не_дата.contains(u("«31.02.2027» — не дата")), qPrintable(не_дата));
      QVERIFY2(прошёл.contains(u("Срок ") + показ(день_через(-1)) + u(" уже прошёл")), qPrintable(прошёл));
      QCOMPARE(wd.read(kВыдачи), после_возврата);
      QCOMPARE(wd.read(kЧитатели), cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"\",\"\")\r\n"
                                      "читатель_лит(2,\"Иванова Анна\",\"10А\",\"\",\"\")\r\n"));

      // Ivanova's history in the readers window: both books, out, in the order of issue.
      const Window читатели = (command(task, cmd_Читатели), сеанс().выдача.читатели);
      QVERIFY(читатели);
      набрать(читатели, ид_ПоискЧитателей, "иванова");
      QCOMPARE(рядов(читатели, ид_СписокЧитателей), 1);
      выбрать_ряд(читатели, ид_СписокЧитателей, 0);
      QCOMPARE(ряд(читатели, ид_СписокЧитателей, 0), (QStringList{u("Иванова Анна"), u("10А"), u(""), u("2")}));
      QCOMPARE(рядов(читатели, ид_ИсторияЧитателя), 2);
      QCOMPARE(ряд(читатели, ид_ИсторияЧитателя, 0),
               (QStringList{u("7"), u("Гоголь"), u("Нос"), показ(сегодня_), показ(день_через(14)), u("")}));
      QCOMPARE(ряд(читатели, ид_КнигиНаРуках, 1),
               (QStringList{u("3"), u("Пушкин"), u("Онегин"), показ(сегодня_), показ(день_через(7)), u("")}));
      // Петров's: the one book, back 16 days late.
      заменить(читатели, ид_ПоискЧитателей, "11б");
      выбрать_ряд(читатели, ид_СписокЧитателей, 0);
      QCOMPARE(рядов(читатели, ид_КнигиНаРуках), 0);
      QCOMPARE(ряд(читатели, ид_ИсторияЧитателя, 0), (QStringList{u("5"), u("Чехов"), u("Сад"), показ(день_через(-30)),
                                                                 показ(день_через(-16)), показ(сегодня_)}));
      win_Destroy(читатели);
      const std::vector<Выдача> история = выдачи_читателя(1);
      QCOMPARE(история.size(), std::size_t(1));
      QCOMPARE(дней_просрочки(история[0], сегодня()), 16);

      // The return undone: the book is out again, the file as before; nothing is overdue but it.
      command(task, cmd_КлавишаОтменить);
      QCOMPARE(wd.read(kВыдачи), после_выдач);
      command(task, cmd_Должники);
      const Window должники = сеанс().выдача.должники;
      подписи_видны(должники, ид_СписокДолгов);
      QVERIFY(должники);
      QCOMPARE(рядов(должники, ид_СписокДолгов), 1);
      QCOMPARE(ряд(должники, ид_СписокДолгов, 0), (QStringList{u("Петров Пётр"), u("11Б"), u(""), u("5"), u("Чехов"), u("Сад"),
                                                               показ(день_через(-16)), u("16")}));
      win_Destroy(должники);
    });
  }

  // The overdue window: counted in the help line at the start, listed most overdue first; a book
  // that is out asks before it is deleted and names who has it; a reader with books cannot be
  // deleted, the message names them.
  void overdueLoansAndWhatIsOut() {
    std::map<std::string, std::string> files = start_files(kТриЗаписи);
    files[kЧитатели] = cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"555\",\"\")\r\n"
                          "читатель_лит(2,\"Иванова Анна\",\"10А\",\"\",\"\")\r\n");
    files[kВыдачи] = выдача(5, 1, день_через(-30), день_через(-3)) + выдача(7, 2, день_через(-30), день_через(-20)) +
                     выдача(3, 2, день_через(-1), день_через(13));
    WorkDir wd(files);
    run_app([&](Window task) {
      const auto строка = toolbar_GetValue(task, id_строкиподсказки);
      QVERIFY(строка);
      QCOMPARE(qs(std::get<text_value>(*строка).text), u("Просрочено выдач: 2 (Выдача / Должники)"));

      command(task, cmd_Должники);
      const Window должники = сеанс().выдача.должники;
      QVERIFY(должники);
      QCOMPARE(текст(должники, ид_ЧислоДолгов), u("Просрочено выдач: 2"));
      QStringList колонки;
      for (const ListViewColumn& к : lview_GetColumns(win_GetCtlHandle(должники, ид_СписокДолгов))) колонки << qs(к.caption);
      QCOMPARE(колонки, (QStringList{u("Читатель"), u("Группа"), u("Телефон"), u("Код"), u("Автор"), u("Наименование"),
                                     u("Срок"), u("Дней")}));
      QCOMPARE(рядов(должники, ид_СписокДолгов), 2);
      QCOMPARE(ряд(должники, ид_СписокДолгов, 0), (QStringList{u("Иванова Анна"), u("10А"), u(""), u("7"), u("Гоголь"),
                                                               u("Нос"), показ(день_через(-20)), u("20")}));
      QCOMPARE(ряд(должники, ид_СписокДолгов, 1), (QStringList{u("Петров Пётр"), u("11Б"), u("555"), u("5"), u("Чехов"),
                                                               u("Сад"), показ(день_через(-3)), u("3")}));
      // Opened again: the same window comes to the top.
      command(task, cmd_Должники);
      QCOMPARE(сеанс().выдача.должники, должники);

      // The table's pane tells who has a book out, after the book's fields.
      const QString панель = qs(текст_панели(база_лит.по_коду(3).front()));
      QVERIFY2(панель.endsWith(u("На руках: Иванова А., до ") + показ(день_через(13)) + "\n"), qPrintable(панель));
      QVERIFY(панель.startsWith(u("Код: 3\n")));

      // Deleting book 3, which is out: the question says so; "Нет" keeps it.
      const Window lw = open_list(task);
      select_code(lw, 3);
      QString вопрос;
      нажать("Нет", &вопрос);
      command(lw, cmd_МенюУдалить);
      QVERIFY2(вопрос.contains(u("На руках: Иванова А., до ") + показ(день_через(13))), qPrintable(вопрос));
      QCOMPARE(база_лит.по_коду(3).size(), std::size_t(1));

      // Петров's book taken back from the list window: the overdue window follows at once.
      select_code(lw, 5);
      on_next_modal([](QWidget* d) {
        QVERIFY(label_texts(d).contains(u("Читатель: Петров Пётр, 11Б")));
        кнопка(window_of(d), кнопка_OK);
      });
      command(lw, cmd_МенюПринять);
      QCOMPARE(рядов(должники, ид_СписокДолгов), 1);
      QCOMPARE(текст(должники, ид_ЧислоДолгов), u("Просрочено выдач: 1"));
      win_Destroy(lw);
      win_Destroy(должники);

      // Иванова has two books out: she is not deleted, and is told which.
      command(task, cmd_Читатели);
      const Window читатели = сеанс().выдача.читатели;
      набрать(читатели, ид_ПоискЧитателей, "иванова");
      выбрать_ряд(читатели, ид_СписокЧитателей, 0);
      QString отказ;
      нажать("OK", &отказ);
      кнопка(читатели, ид_УдалитьЧитателя);
      QVERIFY2(отказ.contains(u("книга 7 «Нос», до ") + показ(день_через(-20))) &&
                   отказ.contains(u("книга 3 «Онегин», до ") + показ(день_через(13))),
               qPrintable(отказ));
      QCOMPARE(wd.read(kЧитатели), files[kЧитатели]);
      // Петров has none now: "Да" deletes him; the table follows.
      заменить(читатели, ид_ПоискЧитателей, "");
      QCOMPARE(рядов(читатели, ид_СписокЧитателей), 2);
      выбрать_ряд(читатели, ид_СписокЧитателей, 1);
      QCOMPARE(ряд(читатели, ид_СписокЧитателей, 1).value(0), u("Петров Пётр"));
      нажать("Да");
      кнопка(читатели, ид_УдалитьЧитателя);
      QCOMPARE(wd.read(kЧитатели), cp("читатель_лит(2,\"Иванова Анна\",\"10А\",\"\",\"\")\r\n"));
      QCOMPARE(рядов(читатели, ид_СписокЧитателей), 1);
      win_Destroy(читатели);
    });
  }

  // The other commands: the loan period set and offered at the next issue, the list window's
  // "Выдать…" and "Принять" on its selected book, a reader added and a reader's card edited in the
  // readers window, a book's history, the overdue list written as CSV and PDF.
  void theOtherCommands() {
    std::map<std::string, std::string> files = start_files(kТриЗаписи);
    files[kЧитатели] = cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"+7 555\",\"\")\r\n");
    files[kВыдачи] = выдача(5, 1, день_через(-30), день_через(-9));
    WorkDir wd(files);
    run_app([&](Window task) {
      ответить("21");
      command(task, cmd_СрокВыдачи);
      QCOMPARE(wd.read("СрокВыдачи.pbs"), cp("срок_выдачи_дней(21)\r\n"));

      // From the list window: the selected book filled in, the keyboard in the reader field.
      const Window lw = open_list(task);
      select_code(lw, 7);
      QString книга, срок;
      on_next_modal([&](QWidget* d) {
        const Window dlg = window_of(d);
        книга = текст(dlg, ид_КнигаВыдачи) + "|" + текст(dlg, ид_СостояниеКниги);
        QCOMPARE(win_GetFocus(), win_GetCtlHandle(dlg, ид_ЧитательВыдачи));
        набрать(dlg, ид_ЧитательВыдачи, "петров");
        срок = текст(dlg, ид_СрокВозврата);
        кнопка(dlg, кнопка_OK);
      });
      command(lw, cmd_МенюВыдать);
      QCOMPARE(книга, u("7|Книга 7 «Нос»: экземпляров 1, на руках 0"));
      QCOMPARE(срок, показ(день_через(21)));
      QCOMPARE(выдачи_на_руках(7).size(), std::size_t(1));
      select_code(lw, 7);
      on_next_modal([](QWidget* d) {
        QCOMPARE(текст(window_of(d), ид_КодВозврата), u("7"));
        подписи_видны(window_of(d), ид_ВыдачиВозврата);
        click(d, "Принять");
      });
      command(lw, cmd_МенюПринять);
      QCOMPARE(выдачи_на_руках(7).size(), std::size_t(0));
      win_Destroy(lw);

      // The readers window: a reader added, Петров's card edited; each one step of undo.
      command(task, cmd_Читатели);
      const Window читатели = сеанс().выдача.читатели;
      for (const int id : {ид_СписокЧитателей, ид_КнигиНаРуках, ид_ИсторияЧитателя}) подписи_видны(читатели, id);
      on_next_modal([](QWidget* d) {
        набрать(window_of(d), ид_ФИО, "Сидоров Илья");
        click(d, "OK");
      });
      кнопка(читатели, ид_ДобавитьЧитателя);
      QCOMPARE(рядов(читатели, ид_СписокЧитателей), 2);
      QCOMPARE(что_отменить(), cp("ввод читателя «Сидоров Илья»"));
      набрать(читатели, ид_ПоискЧитателей, "петров");
      выбрать_ряд(читатели, ид_СписокЧитателей, 0);
      QCOMPARE(рядов(читатели, ид_ИсторияЧитателя), 2);
      QCOMPARE(ряд(читатели, ид_ИсторияЧитателя, 1).mid(0, 3), (QStringList{u("7"), u("Гоголь"), u("Нос")}));
      подписи_видны(читатели, ид_ИсторияЧитателя);
      on_next_modal([](QWidget* d) {
        const Window к = window_of(d);
        QCOMPARE(текст(к, ид_ФИО), u("Петров Пётр"));
        заменить(к, ид_Группа, "11В");
        click(d, "OK");
      });
      кнопка(читатели, ид_ИзменитьЧитателя);
      QCOMPARE(wd.read(kЧитатели), cp("читатель_лит(1,\"Петров Пётр\",\"11В\",\"+7 555\",\"\")\r\n"
                                      "читатель_лит(2,\"Сидоров Илья\",\"\",\"\",\"\")\r\n"));
      QCOMPARE(что_отменить(), cp("изменение читателя «Петров Пётр»"));
      QCOMPARE(ряд(читатели, ид_СписокЧитателей, 0).value(1), u("11В"));
      command(task, cmd_КлавишаОтменить);
      QCOMPARE(ряд(читатели, ид_СписокЧитателей, 0).value(1), u("11Б"));
      command(task, cmd_КлавишаПовторить);
      win_Destroy(читатели);

      // A book's loans in the history window: words find two books, the code one; its loans follow a
      // change in place.
      command(task, cmd_ИсторияВыдач);
      const Window история = сеанс().выдача.история_книги;
      QVERIFY(история);
      command(task, cmd_ИсторияВыдач);  // again: the same window brought up
      for (const int id : {ид_КнигиИстории, ид_ВыдачиКниги}) подписи_видны(история, id);
      QCOMPARE(сеанс().выдача.история_книги, история);
      набрать(история, ид_КнигаИстории, "7");
      QCOMPARE(рядов(история, ид_КнигиИстории), 1);
      подписи_видны(история, ид_ВыдачиКниги);
      QCOMPARE(текст(история, ид_ОКнигеИстории), u("Книга 7 «Нос»: выдач 1, на руках 0"));
      QCOMPARE(ряд(история, ид_ВыдачиКниги, 0),
               (QStringList{u("Петров Пётр"), u("11В"), показ(текст_даты(сегодня())), показ(день_через(21)),
                            показ(текст_даты(сегодня())), u("")}));
      QVERIFY(применить(ВыдатьКнигу{Выдача{7, 2, текст_даты(сегодня()), текст_даты(сегодня() + std::chrono::days(14)), ""}}).сделано());
      QCOMPARE(рядов(история, ид_ВыдачиКниги), 2);
      QCOMPARE(ряд(история, ид_ВыдачиКниги, 1).value(0), u("Сидоров Илья"));
      QCOMPARE(текст(история, ид_ОКнигеИстории), u("Книга 7 «Нос»: выдач 2, на руках 1"));
      command(task, cmd_КлавишаОтменить);
      QCOMPARE(рядов(история, ид_ВыдачиКниги), 1);
      набрать(история, ид_КнигаИстории, "нет такой книги");
      QCOMPARE(рядов(история, ид_ВыдачиКниги), 0);
      QCOMPARE(текст(история, ид_ОКнигеИстории), u("Книга не найдена: нет книги с таким кодом, ISBN или словами."));
      win_Destroy(история);
      QCOMPARE(сеанс().выдача.история_книги, Window(0));

      // The overdue list as a CSV table (a spreadsheet's formula guard on the phone) and as a PDF.
      command(task, cmd_Должники);
      const Window должники = сеанс().выдача.должники;
      const QString csv = wd.dir() + "/должники.csv", pdf = wd.dir() + "/должники.pdf";
      выбрать_файл(csv);
      кнопка(должники, ид_ДолгиВCsv);
      QVERIFY(wait_until([&] { return QFile::exists(csv); }));
      QCOMPARE(wd.read("должники.csv"),
               cp("Дней,Читатель,Группа,Телефон,Код,Автор,Наименование,Срок\r\n9,Петров Пётр,11В,'+7 555,5,Чехов,Сад,") +
                   показ_даты(день_через(-9)) + "\r\n");
      выбрать_файл(pdf);
      кнопка(должники, ид_ДолгиВPdf);
      QVERIFY(wait_until([&] { return QFile::exists(pdf); }));
      QVERIFY(wd.read("должники.pdf").starts_with("%PDF"));
      win_Destroy(должники);
    });
  }

  // Another desk's change reaches the open readers and overdue windows in place: a reader added
  // and a loan gone overdue there show here within the watch's second.
  void theWindowsFollowAnotherDesk() {
    std::map<std::string, std::string> files = start_files(kТриЗаписи);
    files[kЧитатели] = cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"\",\"\")\r\n");
    files[kВыдачи] = "";
    WorkDir wd(files);
    run_app([&](Window task) {
      command(task, cmd_Читатели);
      command(task, cmd_Должники);
      const Window читатели = сеанс().выдача.читатели, должники = сеанс().выдача.должники;
      QCOMPARE(рядов(читатели, ид_СписокЧитателей), 1);
      QCOMPARE(текст(должники, ид_ЧислоДолгов), u("Просроченных выдач нет."));
      wd.write(kЧитатели, files[kЧитатели] + cp("читатель_лит(2,\"Иванова Анна\",\"10А\",\"\",\"\")\r\n"));
      wd.write(kВыдачи, выдача(3, 2, день_через(-20), день_через(-6)));
      QVERIFY(wait_until([&] { return рядов(читатели, ид_СписокЧитателей) == 2 && рядов(должники, ид_СписокДолгов) == 1; }));
      QCOMPARE(ряд(читатели, ид_СписокЧитателей, 0), (QStringList{u("Иванова Анна"), u("10А"), u(""), u("1")}));
      QCOMPARE(ряд(должники, ид_СписокДолгов, 0).value(7), u("6"));
      win_Destroy(читатели);
      win_Destroy(должники);
    });
  }

  // "Статистика…": each chart with its numbers beside it; one saved as PNG and one as PDF.
  void theStatisticsWindow() {
    std::map<std::string, std::string> files = start_files(kТриЗаписи);
    files[kЧитатели] = cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"\",\"\")\r\n");
    files[kВыдачи] = выдача(5, 1, день_через(-3), день_через(11)) + выдача(5, 1, день_через(-40), день_через(-26), день_через(-30));
    WorkDir wd(files);
    run_app([&](Window task) {
      QStringList числа;
      const QString png = wd.dir() + "/категории.png", pdf = wd.dir() + "/наличие.pdf";
      on_next_modal([&](QWidget* d) {
        for (QLabel* l : d->findChildren<QLabel*>("numbers")) числа << l->text();
        const QList<QPushButton*> сохранить = d->findChildren<QPushButton*>();
        QList<QPushButton*> кнопки;
        for (QPushButton* b : сохранить)
          if (b->text() == u("Сохранить…")) кнопки << b;
        QCOMPARE(кнопки.size(), 7);
        выбрать_файл(png);
        кнопки[0]->click();
        выбрать_файл(pdf);
        кнопки[3]->click();
        click(d, u("Закрыть"));
      });
      command(task, cmd_Статистика);
      QCOMPARE(числа.size(), 7);
      QCOMPARE(числа[0], u("Проза: 2\nПоэзия: 1"));
      QCOMPARE(числа[1], u("Книга: 2\nЖурнал: 1"));
      QCOMPARE(числа[2], u("год не указан: 3"));  // none of the three has details
      QCOMPARE(числа[3], u("на руках: 1\nна полке: 2"));
      QVERIFY(числа[4].endsWith(qs(текст_даты(сегодня()).substr(0, 7)) + ": " +
                                 QString::number(текст_даты(сегодня()).substr(0, 7) == день_через(-3).substr(0, 7) ? 1 : 0)));
      QCOMPARE(числа[5], u("5 Чехов «Сад»: 2"));
      QCOMPARE(числа[6], u("Петров Пётр: 2"));
      QVERIFY(wd.read("категории.png").starts_with("\x89PNG"));
      QVERIFY(wd.read("наличие.pdf").starts_with("%PDF"));
    });
  }
};

}  // namespace

QTEST_MAIN(AppLendingTests)
#include "app_lending_tests.moc"

// Lending through the real program, headless: a book issued with a reader added in place, a
// second book found by its words, a book out refused to the next reader with who has it, a late
// book taken back with its days overdue, the overdue list, the help line at the start, the
// deletion of a book that is out and of a reader with books; the files compared byte for byte and
// the changes undone.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/list_table.h"
#include "app/list_window.h"
#include "app_test_support.h"
#include "core/lending.h"
#include "core/undo_history.h"
#include "packages/toolbar.h"

using namespace app_test;

namespace {

const char* const kЧитатели = "Читатели.pbs";
const char* const kВыдачи = "Выдачи.pbs";

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Answers the next prompt with `text`; `предложено` receives the text the prompt offered.
void ответить(const char* text, QString* предложено = nullptr) {
  on_next_modal([t = u(text), предложено](QWidget* d) {
    QLineEdit* e = d->findChild<QLineEdit*>();
    if (предложено) *предложено = e->text();
    if (!t.isNull()) e->setText(t);
    click(d, "OK");
  });
}
// Keeps the text the next prompt offers.
void принять_предложенное(QString* предложено) {
  on_next_modal([предложено](QWidget* d) {
    *предложено = d->findChild<QLineEdit*>()->text();
    click(d, "OK");
  });
}
// Picks entry `index` of the next list choice.
void выбрать(int index, QStringList* entries = nullptr) {
  on_next_modal([index, entries](QWidget* d) {
    QComboBox* c = d->findChild<QComboBox*>();
    if (entries)
      for (int i = 0; i < c->count(); ++i) *entries << c->itemText(i);
    c->setCurrentIndex(index);
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
  // The scenario: a reader added while issuing, two books issued (by code as a scanner types it,
  // and by words), the first refused to another reader, one returned late; the files exactly,
  // the reader's history, undo of the return.
  void issueAndReturnThroughTheCommands() {
    // Петров had "Сад" (5) since 30 days ago, due 16 days ago.
    std::map<std::string, std::string> files = start_files(kТриЗаписи);
    files[kЧитатели] = cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"\",\"\")\r\n");
    files[kВыдачи] = выдача(5, 1, день_через(-30), день_через(-16));
    WorkDir wd(files);
    run_app([&](Window task) {
      // Book 7 by its code, a new reader in place, the due date offered.
      ответить("7");
      ответить("");
      QStringList entries;
      выбрать(0, &entries);
      ответить("Иванова Анна");
      ответить("10А");
      ответить("");
      ответить("");
      QString срок;
      принять_предложенное(&срок);
      command(task, cmd_ВыдатьКнигу);
      QCOMPARE(entries.value(0), u("<новый читатель…>"));
      QCOMPARE(срок, показ(день_через(14)));
      // "Онегин" by a word of its title, the reader found by her group.
      ответить("онег");
      ответить("10а");
      выбрать(1);
      ответить(qPrintable(показ(день_через(7))));
      command(task, cmd_ВыдатьКнигу);
      const std::string сегодня_ = текст_даты(сегодня());
      QCOMPARE(wd.read(kЧитатели), cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"\",\"\")\r\n"
                                      "читатель_лит(2,\"Иванова Анна\",\"10А\",\"\",\"\")\r\n"));
      const std::string после_выдач = выдача(5, 1, день_через(-30), день_через(-16)) +
                                      выдача(7, 2, сегодня_, день_через(14)) + выдача(3, 2, сегодня_, день_через(7));
      QCOMPARE(wd.read(kВыдачи), после_выдач);

      // Book 7 is out: Петров cannot have it, and is told who has it and until when.
      QString отказ;
      ответить("7");
      нажать("OK", &отказ);
      command(task, cmd_ВыдатьКнигу);
      QVERIFY2(отказ.contains(u("Иванова Анна — до ") + показ(день_через(14))), qPrintable(отказ));

      // Петров brings "Сад" back, 16 days late.
      QString вопрос;
      ответить("5");
      нажать("Принять", &вопрос);
      command(task, cmd_ПринятьКнигу);
      QVERIFY2(вопрос.contains(u("Петров Пётр")) && вопрос.contains(u("просрочка 16 дн.")), qPrintable(вопрос));
      QCOMPARE(wd.read(kВыдачи), выдача(5, 1, день_через(-30), день_через(-16), сегодня_) +
                                     выдача(7, 2, сегодня_, день_через(14)) + выдача(3, 2, сегодня_, день_через(7)));
      const std::vector<Выдача> история = выдачи_читателя(1);
      QCOMPARE(история.size(), std::size_t(1));
      QCOMPARE(дней_просрочки(история[0], сегодня()), 16);
      QCOMPARE(что_отменить(), cp("возврат книги 5"));

      // The return undone: the book is out again, the file as before.
      command(task, cmd_КлавишаОтменить);
      QCOMPARE(wd.read(kВыдачи), после_выдач);
    });
  }

  // The overdue loans: counted in the help line at the start, listed most overdue first; a book
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

      QString список;
      нажать("Закрыть", &список);
      command(task, cmd_Должники);
      const int иванова = список.indexOf(u("20 дн. — Иванова Анна, 10А — 7 Гоголь «Нос»"));
      const int петров = список.indexOf(u("3 дн. — Петров Пётр, 11Б, 555 — 5 Чехов «Сад»"));
      QVERIFY2(иванова > 0 && петров > иванова, qPrintable(список));
      QVERIFY(!список.contains(u("Онегин")));

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
      win_Destroy(lw);

      // Иванова has two books out: she is not deleted, and is told which.
      QString отказ;
      ответить("иванова");
      выбрать(1);
      нажать("Удалить");
      нажать("Да");
      нажать("OK", &отказ);
      command(task, cmd_Читатели);
      QVERIFY2(отказ.contains(u("книга 7 «Нос»")) && отказ.contains(u("книга 3 «Онегин»")), qPrintable(отказ));
      QCOMPARE(wd.read(kЧитатели), files[kЧитатели]);
    });
  }

  // The other commands: the loan period set and offered at the next issue, the list window's
  // "Выдать…" and "Принять" on its selected book, a reader's card edited, a book's history, the
  // overdue list written as CSV.
  void theOtherCommands() {
    std::map<std::string, std::string> files = start_files(kТриЗаписи);
    files[kЧитатели] = cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"+7 555\",\"\")\r\n");
    files[kВыдачи] = выдача(5, 1, день_через(-30), день_через(-9));
    WorkDir wd(files);
    run_app([&](Window task) {
      ответить("21");
      command(task, cmd_СрокВыдачи);
      QCOMPARE(wd.read("СрокВыдачи.pbs"), cp("срок_выдачи_дней(21)\r\n"));

      // From the list window: the selected book, no question which.
      const Window lw = open_list(task);
      select_code(lw, 7);
      ответить("петров");
      выбрать(1);
      QString срок;
      принять_предложенное(&срок);
      command(lw, cmd_МенюВыдать);
      QCOMPARE(срок, показ(день_через(21)));
      QCOMPARE(выдачи_на_руках(7).size(), std::size_t(1));
      select_code(lw, 7);
      нажать("Принять");
      command(lw, cmd_МенюПринять);
      QCOMPARE(выдачи_на_руках(7).size(), std::size_t(0));
      win_Destroy(lw);

      // Петров's card: his group changed, his books and history shown first.
      QString карточка;
      ответить("11б");
      выбрать(1);
      нажать("Изменить", &карточка);
      for (const char* поле : {"Петров Пётр", "11В", "+7 555", ""}) ответить(поле);
      command(task, cmd_Читатели);
      QVERIFY2(карточка.contains(u("книга 5 «Сад»")) && карточка.contains(u("книга 7 «Нос»")), qPrintable(карточка));
      QCOMPARE(wd.read(kЧитатели), cp("читатель_лит(1,\"Петров Пётр\",\"11В\",\"+7 555\",\"\")\r\n"));
      QCOMPARE(что_отменить(), cp("изменение читателя «Петров Пётр»"));

      QString история;
      ответить("7");
      нажать("OK", &история);
      command(task, cmd_ИсторияВыдач);
      QVERIFY2(история.contains(u("Петров Пётр: выдана ") + показ(текст_даты(сегодня()))), qPrintable(история));

      // The overdue list as a CSV table: a spreadsheet's formula guard on the phone.
      const QString csv = wd.dir() + "/должники.csv";
      нажать("В файл…");
      выбрать_файл(csv);
      command(task, cmd_Должники);
      QVERIFY(wait_until([&] { return QFile::exists(csv); }));
      QCOMPARE(wd.read("должники.csv"),
               cp("Дней,Читатель,Группа,Телефон,Код,Автор,Наименование,Срок\r\n9,Петров Пётр,11В,'+7 555,5,Чехов,Сад,") +
                   показ_даты(день_через(-9)) + "\r\n");
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

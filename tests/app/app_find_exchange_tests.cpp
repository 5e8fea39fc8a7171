// Scenario tests of finding books in the list window, of the export and of the import: the real
// program headless in a temporary working directory, the find field typed into, the file dialogs,
// questions and the import summary driven, the files compared byte for byte.
#include <QFileDialog>
#include <QListView>
#include <QPointer>
#include <QProgressDialog>
#include <memory>

#include "app/catalogue_export.h"
#include "app/catalogue_import.h"
#include "app/list_filter.h"
#include "app/list_window.h"
#include "app/shown_records.h"
#include "app_test_support.h"
#include "app_window_records.h"

using namespace app_test;

namespace {

Window list_window(Window task) { return newest_list_window(task); }
QWidget* find_field(Window lw) { return client_of(win_GetCtlHandle(lw, ид_поля_поиска)); }

// Types into the find field as the keyboard would, one character at a time.
void type(Window lw, const char* utf8) {
  for (const QChar ch : QString::fromUtf8(utf8))
    QTest::sendKeyEvent(QTest::Click, find_field(lw), Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

using Driver = std::function<void(QWidget*)>;

// Drives the modal boxes the next command opens, one driver for each box in the order they come.
void in_turn(std::vector<Driver> drivers) {
  auto* poll = new QTimer;
  auto done = std::make_shared<std::size_t>(0);
  auto last = std::make_shared<QPointer<QWidget>>();
  QObject::connect(poll, &QTimer::timeout, poll, [poll, drivers, done, last] {
    QWidget* m = QApplication::activeModalWidget();
    // A progress box of slow work (a slow build) is passed by: the drivers answer the boxes that ask.
    if (!m || !m->isVisible() || (*last && *last == m) || qobject_cast<QProgressDialog*>(m)) return;
    *last = m;
    drivers[(*done)++](m);
    if (*done == drivers.size()) {
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start(20);
}

// Chooses `path` in a file dialog: typed into its name field, then accepted.
Driver choose_file(const QString& path) {
  return [path](QWidget* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    QVERIFY2(fd, qPrintable(label_texts(d)));
    fd->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
  };
}
Driver answer_button(const char* caption) {
  return [t = QString::fromUtf8(caption)](QWidget* d) { click(d, t); };
}
// Notes the texts of a message box and closes it.
Driver read_message(QString& seen) {
  return [&seen](QWidget* box) {
    seen = label_texts(box);
    click(box, "OK");
  };
}

// What the import summary showed.
struct Summary {
  QString text, refused_label;
  QStringList refused;
  bool can_add = false;
};
// Reads an import summary and answers it with "Добавить" or "Отмена".
Driver answer_summary(Summary& s, bool add) {
  return [&s, add](QWidget* d) {
    const Window dlg = window_of(d);
    s = Summary{};
    s.text = qs(win_GetText(win_GetCtlHandle(dlg, ид_ИтогИмпорта)));
    s.refused_label = qs(win_GetText(win_GetCtlHandle(dlg, ид_НадписьОтказы)));
    for (const std::string& l : lbox_GetAll(win_GetCtlHandle(dlg, ид_ОтказыИмпорта))) s.refused << qs(l);
    s.can_add = button(d, QString::fromUtf8("Добавить"))->isEnabled();
    click(d, QString::fromUtf8(add && s.can_add ? "Добавить" : "Отмена"));
  };
}

std::string utf8_bom(const std::string& utf8) { return "\xEF\xBB\xBF" + utf8; }

const std::string kПять = record_line(3, "Толстой Л. Н.", "Война и мир", "Роман", "Книга", 1, 1, "voyna.bmp") +
                          record_line(12, "Толстой А. К.", "Князь Серебряный", "Роман", "Книга", 0, 0, "") +
                          record_line(7, "Ёлкин", "Сказки", "Детская", "Сборник", 0, 1, "") +
                          record_line(100, "Чехов", "Вишнёвый сад", "Драма", "Журнал", 0, 0, "sad.bmp") +
                          record_line(5, "Elkin", "Tales", "Детская", "Book", 1, 0, "");

}  // namespace

class AppFindExchangeTests : public QtSuite {
  Q_OBJECT

 public:
  AppFindExchangeTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void findingFiltersAsYouType() {
    WorkDir wd(start_files(kПять));
    run_app([&](Window task) {
      command(task, cmd_НайтиКнигу);
      const Window lw = list_window(task);
      QVERIFY(lw);
      QVERIFY(wait_until([&] { return QApplication::focusWidget() == find_field(lw); }));
      const std::vector<std::string> all = lbox_GetAll(list_box(lw));
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 7, 12, 100}));

      type(lw, "тОЛСТОЙ");
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 12}));
      QCOMPARE(win_GetText(lw), cp("Найдено 2 из 5"));
      type(lw, " мир");  // every word must occur
      QCOMPARE(shown_codes(lw), (std::vector<int>{3}));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      QCOMPARE(lbox_GetAll(list_box(lw)), all);  // exactly the list again, with its own title
      QCOMPARE(win_GetText(lw), cp("Выделите строку для операции"));

      // ё and е are one letter; kind and cover name are searched, though not shown; Latin case.
      type(lw, "елкин");
      QCOMPARE(shown_codes(lw), (std::vector<int>{7}));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      type(lw, "вишневый");
      QCOMPARE(shown_codes(lw), (std::vector<int>{100}));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      type(lw, "ЖУРНАЛ");
      QCOMPARE(shown_codes(lw), (std::vector<int>{100}));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      type(lw, "VOYNA.");
      QCOMPARE(shown_codes(lw), (std::vector<int>{3}));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      type(lw, "elkin детская");
      QCOMPARE(shown_codes(lw), (std::vector<int>{5}));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      type(lw, "нет такого");
      QCOMPARE(shown_codes(lw), std::vector<int>{});
      QCOMPARE(win_GetText(lw), cp("Найдено 0 из 5"));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);

      // The list window's "Найти…" and Ctrl+F (which reaches the active list window) come back to
      // the field; the task's "Найти книгу…" brings the open window up instead of a second one.
      win_SetFocus(list_box(lw));
      command(lw, cmd_МенюНайти);
      QVERIFY(wait_until([&] { return QApplication::focusWidget() == find_field(lw); }));
      win_SetFocus(list_box(lw));
      command(task, cmd_НайтиКнигу);
      QCOMPARE(list_window(task), lw);
      QVERIFY(wait_until([&] { return QApplication::focusWidget() == find_field(lw); }));
    });
  }

  void operationsActOnTheShownLine() {
    WorkDir wd(start_files(kПять));
    run_app([&](Window task) {
      command(task, cmd_УдалРедактВывод);
      const Window lw = list_window(task);
      type(lw, "толстой");
      // A selected line stays selected while the filter still shows it.
      select_code(lw, 12);
      type(lw, " серебр");
      QCOMPARE(shown_codes(lw), (std::vector<int>{12}));
      QCOMPARE(lbox_GetSelIndex(list_box(lw)), std::optional<int>(0));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      QCOMPARE(lbox_GetSelIndex(list_box(lw)), std::optional<int>(3));
      type(lw, "толстой");
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 12}));
      QCOMPARE(lbox_GetSelIndex(list_box(lw)), std::optional<int>(1));

      // The card of the shown line.
      command(lw, cmd_КнопкаКарточка);
      QVERIFY(wd.read("карточка.txt").starts_with(cp("Автор:\t\t\tТолстой А. К. \r\n")));
      // The edit replaces the record and refills the list through the filter.
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Князь Серебряный 2"));
        qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, кнопка_OK)))->click();
      });
      command(lw, cmd_КнопкаПравка);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 101}));
      QCOMPARE(win_GetText(lw), cp("Найдено 2 из 5"));
      // The deletion removes the shown line and its record; the filter stays.
      select_code(lw, 3);
      in_turn({answer_button("Да")});
      command(lw, cmd_МенюУдалить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{101}));
      QCOMPARE(win_GetText(lw), cp("Найдено 1 из 4"));
      QCOMPARE(показанные_записи(lw).front().наименование, cp("Князь Серебряный 2"));
      // Undo and redo of the deletion show through the filter too.
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 101}));
      QCOMPARE(win_GetText(lw), cp("Найдено 2 из 5"));
      command(task, cmd_КнопкаПовторить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{101}));
      QCOMPARE(win_GetText(lw), cp("Найдено 1 из 4"));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      QCOMPARE(shown_codes(lw), (std::vector<int>{5, 7, 100, 101}));
      QCOMPARE(win_GetText(lw), cp("Выделите строку для операции"));
    });
    QVERIFY(wd.read("Литература1.pbs").find(cp("Война и мир")) == std::string::npos);
  }

  void exportWritesTablesAndPages() {
    WorkDir wd(start_files(record_line(12, "Толстой, Л. Н.", "Война и \\\"мир\\\"", "Проза", "", 1, 0, " x.bmp") +
                           record_line(3, "Пушкин А. С.", "Евгений Онегин", "Поэзия", "Роман в стихах", 0, 1, "o.bmp") +
                           record_line(7, "Ёлкин", "a;b", "Поэзия", "Книга", 2, 1, "")));
    const std::string table = utf8_bom(
        "Код,Автор,Наименование,Категория,Вид,Диск,Переплёт,Обложка\r\n"
        "3,Пушкин А. С.,Евгений Онегин,Поэзия,Роман в стихах,Нет,Твёрдый,o.bmp\r\n"
        "7,Ёлкин,\"a;b\",Поэзия,Книга,2,Твёрдый,\r\n"
        "12,\"Толстой, Л. Н.\",\"Война и \"\"мир\"\"\",Проза,,Есть,Мягкий,\" x.bmp\"\r\n");
    run_app([&](Window task) {
      in_turn({choose_file(wd.path("все.csv"))});
      command(task, cmd_Экспорт);
      QCOMPARE(wd.read("все.csv"), table);

      // A page: one table of the same columns, UTF-8, its texts escaped.
      in_turn({choose_file(wd.path("все.html"))});
      command(task, cmd_Экспорт);
      const std::string page = wd.read("все.html");
      QVERIFY(page.starts_with("<!DOCTYPE html>\r\n<html lang=\"ru\">\r\n<head>\r\n<meta charset=\"utf-8\">"));
      QVERIFY(page.find("<thead><tr><th>Код</th><th>Автор</th><th>Наименование</th><th>Категория</th><th>Вид</th>"
                        "<th>Диск</th><th>Переплёт</th><th>Обложка</th></tr></thead>\r\n<tbody>\r\n"
                        "<tr><td class=\"n\">3</td><td>Пушкин А. С.</td><td>Евгений Онегин</td><td>Поэзия</td>"
                        "<td>Роман в стихах</td><td>Нет</td><td>Твёрдый</td><td>o.bmp</td></tr>\r\n") != std::string::npos);
      QVERIFY(page.find("<td>Война и &quot;мир&quot;</td>") != std::string::npos);
      QVERIFY(page.ends_with("</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n"));

      // From a filtered list window: the question, then the lines found in the list's order.
      command(task, cmd_УдалРедактВывод);
      type(list_window(task), "поэзия");
      // the selected filter's extension is added
      in_turn({answer_button("Найденные"), choose_file(wd.path("найденные"))});
      command(task, cmd_Экспорт);
      QCOMPARE(wd.read("найденные.csv"),
               utf8_bom("Код,Автор,Наименование,Категория,Вид,Диск,Переплёт,Обложка\r\n"
                        "3,Пушкин А. С.,Евгений Онегин,Поэзия,Роман в стихах,Нет,Твёрдый,o.bmp\r\n"));
      in_turn({answer_button("Весь каталог"), choose_file(wd.path("весь.csv"))});
      command(task, cmd_Экспорт);
      QCOMPARE(wd.read("весь.csv"), table);
      in_turn({answer_button("Отмена")});
      command(task, cmd_Экспорт);

      // A file that cannot be written (no file can be made in that folder): the reason told, no
      // file made.
      QString seen;
      in_turn({answer_button("Весь каталог"), choose_file(QString::fromUtf8("/proc/каталог.csv")), read_message(seen)});
      QVERIFY(!command(task, cmd_Экспорт));
      QVERIFY2(seen.contains(QString::fromUtf8("Не удалось записать файл")), qPrintable(seen));
      QCOMPARE(QDir(wd.dir()).entryList(QDir::Files | QDir::Hidden).filter("csv").size(), 3);
    });
    QCOMPARE(reported(), std::vector<int>{});
  }

  void importShowsWhatItWillDoAndAddsOnce() {
    WorkDir wd(start_files(kПять));
    // cp1251, semicolons, columns in another order, "Код" and an unknown column passed over.
    const std::string rows = cp(
        "Заметка;НАИМЕНОВАНИЕ;Автор;Переплет;Диск;Категория;Вид;Код;Обложка\r\n"
        "x;Анна Каренина;Толстой Л. Н.;твёрдый;Есть;Роман;Книга;77;\r\n"   // line 2: new
        "x;Война и мир;Толстой Л. Н.;1;1;Роман;Книга;3;voyna.bmp\r\n"     // line 3: stored already
        "x;;;0;0;Роман;;;\r\n"                                              // line 4: no author, no title
        "x;Анна Каренина;Толстой Л. Н.;Твердый;есть;Роман;Книга;;\r\n"    // line 5: as line 2
        "x;\"Мцыри; \"\"Демон\"\"\";Лермонтов;мягкий;;Поэзия;;;\r\n"     // line 6: new
        "x;\"Бородино\r\nи другие\";Лермонтов;0;0;Поэзия;;;\r\n"           // lines 7-8: a line break
        "x;Тарас Бульба;Гоголь;Кожаный;0;Повесть;;;\r\n"                   // line 9: binding word
        "x;Нос;Гоголь;0;0;Повесть;;;;\r\n"                                  // line 10: too many values
        "x;Шинель;Гоголь;0\r\n");                                           // line 11: too few
    wd.write("книги.csv", rows);
    const std::string catalogue = wd.read("Литература1.pbs");
    Summary s;
    run_app([&](Window task) {
      in_turn({choose_file(wd.path("книги.csv")), answer_summary(s, false)});
      QVERIFY(!command(task, cmd_Импорт));
      QCOMPARE(wd.read("Литература1.pbs"), catalogue);  // "Отмена" changes nothing
      QCOMPARE(база_лит.count(), std::size_t(5));

      in_turn({choose_file(wd.path("книги.csv")), answer_summary(s, true)});
      command(task, cmd_Импорт);
    });
    QCOMPARE(s.text, QString::fromUtf8("Файл «книги.csv».\nБудет добавлено записей: 2.\n"
                                       "Уже есть в каталоге и не будут добавлены: 1.\n"
                                       "Повторяют более ранние строки файла: 1.\nНовых категорий: 1."));
    QCOMPARE(s.refused_label, QString::fromUtf8("Строки с ошибками не будут добавлены (5):"));
    QCOMPARE(s.refused, (QStringList{QString::fromUtf8("Строка 4: нет ни автора, ни наименования"),
                                     QString::fromUtf8("Строка 7: в столбце «Наименование» управляющий знак"),
                                     QString::fromUtf8("Строка 9: в столбце «Переплёт» «Кожаный» вместо «Твёрдый» или «Мягкий»"),
                                     QString::fromUtf8("Строка 10: значений 10, а столбцов в первой строке 9"),
                                     QString::fromUtf8("Строка 11: значений 4, а столбцов в первой строке 9")}));
    // The new records at the front with the next codes in the file's order, each file saved.
    QCOMPARE(wd.read("Литература1.pbs"), record_line(102, "Лермонтов", "Мцыри; \\\"Демон\\\"", "Поэзия", "", 0, 0, "") +
                                             record_line(101, "Толстой Л. Н.", "Анна Каренина", "Роман", "Книга", 1, 1, "") +
                                             catalogue);
    QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Поэзия", "Проза", "Роман"}));
  }

  void importRefusesWhatIsNoTable() {
    WorkDir wd(start_files(kПять));
    wd.write("пустой.csv", "");
    wd.write("метка.csv", "\xEF\xBB\xBF\r\n\r\n");
    wd.write("двоичный.csv", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    wd.write("чужой.csv", "Name,Price\r\nBook,10\r\n");
    wd.write("иероглиф.csv", "Автор,Наименование\r\nЛао-цзы,道德經\r\nЛао-цзы,Дао дэ цзин\r\n");
    wd.write("большой.csv", "Автор,Наименование\r\nГоголь," + std::string(10 << 20, 'x') + "\r\n");
    wd.write("кавычка.csv", "Автор,Наименование\r\nГоголь,\"Нос\r\n");
    const std::string catalogue = wd.read("Литература1.pbs");
    const std::string categories = wd.read("КатегЛитер.pbs");
    QStringList messages;
    std::vector<Summary> summaries(3);
    run_app([&](Window task) {
      for (const char* name : {"пустой.csv", "метка.csv", "двоичный.csv", "чужой.csv"}) {
        QString seen;
        in_turn({choose_file(wd.path(name)), read_message(seen)});
        QVERIFY(!command(task, cmd_Импорт));
        messages << seen;
      }
      int i = 0;
      for (const char* name : {"иероглиф.csv", "большой.csv", "кавычка.csv"}) {
        in_turn({choose_file(wd.path(name)), answer_summary(summaries[static_cast<std::size_t>(i++)], false)});
        QVERIFY(!command(task, cmd_Импорт));
      }
    });
    QCOMPARE(messages.size(), 4);
    QVERIFY(messages[0].contains(QString::fromUtf8("Импорт из файла «пустой.csv» не выполнен.\nФайл пуст.")));
    QVERIFY(messages[1].contains(QString::fromUtf8("Файл пуст.")));
    QVERIFY(messages[2].contains(QString::fromUtf8("двоичные данные")));
    QVERIFY(messages[3].contains(QString::fromUtf8("нет столбцов «Автор» и «Наименование»")));
    QCOMPARE(summaries[0].refused,
             QStringList{QString::fromUtf8("Строка 2: в столбце «Наименование» знак U+9053, которого нет в кодовой странице 1251")});
    QVERIFY(summaries[0].text.contains(QString::fromUtf8("Будет добавлено записей: 1.")));
    QCOMPARE(summaries[1].refused, QStringList{QString::fromUtf8("Строка 2: значение длиннее 4000 знаков")});
    QVERIFY(!summaries[1].can_add);
    QCOMPARE(summaries[2].refused, QStringList{QString::fromUtf8("Строка 2: кавычка не закрыта до конца файла")});
    QCOMPARE(wd.read("Литература1.pbs"), catalogue);
    QCOMPARE(wd.read("КатегЛитер.pbs"), categories);
  }

  void aFailedSaveTakesTheImportBack() {
    WorkDir wd(start_files(kПять));
    wd.write("новые.csv", "Автор,Наименование,Категория\r\nГоголь,Нос,Повесть\r\n");
    QString seen;
    run_app([&](Window task) {
      // The catalogue file cannot be replaced: a folder has taken its name.
      QFile::remove(wd.path("Литература1.pbs"));
      QDir(wd.dir()).mkdir(QString::fromUtf8("Литература1.pbs"));
      QDir(wd.dir()).mkdir(QString::fromUtf8("Литература1.pbs/занято"));
      Summary s;
      in_turn({choose_file(wd.path("новые.csv")), answer_summary(s, true), read_message(seen)});
      QVERIFY(!command(task, cmd_Импорт));
      QCOMPARE(база_лит.count(), std::size_t(5));
      QCOMPARE(категории_лит.count(), std::size_t(2));
    });
    QVERIFY2(seen.contains(QString::fromUtf8("Записи не добавлены")), qPrintable(seen));
    QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Поэзия", "Проза"}));
  }

  void exportImportRoundTrip() {
    WorkDir first(start_files(kПять + record_line(40, "Дюма", "Три мушкетёра; том 1", "Роман, приключения",
                                                  "Книга", 1, 0, "a \\\"b\\\".bmp")));
    run_app([&](Window task) {
      in_turn({choose_file(first.path("выгрузка.csv"))});
      command(task, cmd_Экспорт);
    });
    const std::string exported = first.read("выгрузка.csv");
    WorkDir second(start_files("", ""));
    second.write("выгрузка.csv", exported);
    run_app([&](Window task) {
      Summary s;
      in_turn({choose_file(second.path("выгрузка.csv")), answer_summary(s, true)});
      command(task, cmd_Импорт);
      in_turn({choose_file(second.path("снова.csv"))});
      command(task, cmd_Экспорт);
    });
    // The same rows, codes aside (the import gave 1, 2, … in the file's order).
    const auto without_codes = [](const std::string& csv) {
      QStringList rows = QString::fromStdString(csv).split("\r\n");
      for (QString& r : rows) r = r.section(',', 1);
      return rows;
    };
    QCOMPARE(without_codes(second.read("снова.csv")), without_codes(exported));
    QCOMPARE(QString::fromStdString(second.read("снова.csv")).count("\r\n"), 7);
  }
};

QTEST_MAIN(AppFindExchangeTests)
#include "app_find_exchange_tests.moc"

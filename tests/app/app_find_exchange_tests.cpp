// Scenario tests of finding books in the list window, of the export and of the import: the real
// program headless in a temporary working directory, the find field typed into, the file dialogs,
// questions and the import summary driven, the files compared byte for byte.
#include <QDirIterator>
#include <QFileDialog>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "app/catalogue_export.h"
#include "app/catalogue_import.h"
#include "app/list_filter.h"
#include "app/list_window.h"
#include "app/shown_records.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "core/csv_table.h"
#include "core/exchange_table.h"
#include "core/import_plan.h"
#include "core/undo_history.h"
#include "import_entry.h"
#include "runtime/folder_lock.h"

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
// Answers the file dialog's question whether to replace a file that exists: yes.
Driver confirm_replace() {
  return [](QWidget* d) {
    auto* box = qobject_cast<QMessageBox*>(d);
    QVERIFY2(box && box->button(QMessageBox::Yes), qPrintable(label_texts(d)));
    box->button(QMessageBox::Yes)->click();
  };
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

// The environment of a process with no display at all.
QProcessEnvironment no_display() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(var);
  return env;
}


const std::string kПять = record_line(3, "Толстой Л. Н.", "Война и мир", "Роман", "Книга", 1, 1, "voyna.bmp") +
                          record_line(12, "Толстой А. К.", "Князь Серебряный", "Роман", "Книга", 0, 0, "") +
                          record_line(7, "Ёлкин", "Сказки", "Детская", "Сборник", 0, 1, "") +
                          record_line(100, "Чехов", "Вишнёвый сад", "Драма", "Журнал", 0, 0, "sad.bmp") +
                          record_line(5, "Elkin", "Tales", "Детская", "Book", 1, 0, "");

// ---- Plans of tables read without windows ----

// A table of records in UTF-8: the head row of the six columns most tests use, then `rows`.
std::string table6(std::initializer_list<std::string> rows) {
  std::string t = "Автор,Наименование,Категория,Вид,Диск,Переплёт\r\n";
  for (const std::string& r : rows) t += r + "\r\n";
  return t;
}

// A record as one line: its seven values after the code, joined by "|".
QString shown(const ЗаписьБазы& з) {
  return qs(з.автор + "|" + з.наименование + "|" + з.категория + "|" + з.вид + "|" + std::to_string(з.диск) + "|" +
            std::to_string(з.переплет) + "|" + з.обложка);
}
QStringList shown(const std::vector<ЗаписьБазы>& records) {
  QStringList out;
  for (const ЗаписьБазы& з : records) out << shown(з);
  return out;
}
QStringList shown(const std::vector<ОтказСтроки>& rows) {
  QStringList out;
  for (const ОтказСтроки& о : rows) out << QString::number(о.строка) + ": " + qs(о.причина);
  return out;
}
QStringList shown(const std::vector<std::string>& texts) {
  QStringList out;
  for (const std::string& t : texts) out << qs(t);
  return out;
}

// The plan of `bytes` against the catalogue in memory; a file refused as a whole gives a plan
// whose only refusal is line 0 with the file's reason.
ПланИмпорта plan_of(const std::string& bytes) {
  auto r = разобрать_импорт(bytes);
  if (auto* отказ = std::get_if<ОтказФайла>(&*r)) {
    ПланИмпорта п;
    п.отказы.push_back({0, отказ->причина});
    return п;
  }
  return std::move(std::get<ПланИмпорта>(*r));
}

// The catalogue the plans are read against: one record, two categories, two kinds.
void store_small_catalogue() {
  база_лит.assertz({3, cp("Толстой Л. Н."), cp("Война и мир"), cp("Роман"), cp("Книга"), 1, 1, ""});
  for (const char* к : {"Роман", "Поэзия"}) категории_лит.assertz(cp(к));
  for (const char* в : {"Книга", "Журнал"}) виды_лит.assertz(cp(в));
}

// The node kind at a path of the working directory (links not followed); 0 when nothing is there.
mode_t node_kind(const QString& path) {
  struct stat st {};
  return ::lstat(path.toLocal8Bit().constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// Opens the pipe's writing end once, after `seconds`, unless it is stopped first: a reader held in
// its opening is let go (it then sees the end at once), so a test that must not wait fails instead
// of hanging.
class PipeRelease {
 public:
  PipeRelease(const QString& path, int seconds)
      : thread_([this, p = path.toLocal8Bit(), seconds] {
          for (int i = 0; i < seconds * 100 && !stop_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
          if (stop_) return;
          const int fd = ::open(p.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
          if (fd >= 0) ::close(fd);
        }) {}
  ~PipeRelease() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

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
      // The edit replaces the record in its place with its code and refills the list through the filter.
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Князь Серебряный 2"));
        qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, кнопка_OK)))->click();
      });
      command(lw, cmd_КнопкаПравка);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 12}));
      QCOMPARE(win_GetText(lw), cp("Найдено 2 из 5"));
      // The deletion removes the shown line and its record; the filter stays.
      select_code(lw, 3);
      in_turn({answer_button("Да")});
      command(lw, cmd_МенюУдалить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{12}));
      QCOMPARE(win_GetText(lw), cp("Найдено 1 из 4"));
      QCOMPARE(показанные_записи(lw).front().наименование, cp("Князь Серебряный 2"));
      // Undo and redo of the deletion show through the filter too.
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 12}));
      QCOMPARE(win_GetText(lw), cp("Найдено 2 из 5"));
      command(task, cmd_КнопкаПовторить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{12}));
      QCOMPARE(win_GetText(lw), cp("Найдено 1 из 4"));
      QTest::keyClick(find_field(lw), Qt::Key_Escape);
      QCOMPARE(shown_codes(lw), (std::vector<int>{5, 7, 12, 100}));
      QCOMPARE(win_GetText(lw), cp("Выделите строку для операции"));
    });
    QVERIFY(wd.read("Литература1.pbs").find(cp("Война и мир")) == std::string::npos);
  }

  void exportWritesTablesAndPages() {
    WorkDir wd(start_files(record_line(12, "Толстой, Л. Н.", "Война и \\\"мир\\\"", "Проза", "", 1, 0, " x.bmp") +
                           record_line(3, "Пушкин А. С.", "Евгений Онегин", "Поэзия", "Роман в стихах", 0, 1, "o.bmp") +
                           record_line(7, "Ёлкин", "a;b", "Поэзия", "Книга", 2, 1, "")));
    // Every field a column: the publication details (none here) empty, one copy.
    const std::string table = utf8_bom(
        "Код,Автор,Наименование,Категория,Вид,Год издания,Издательство,Место издания,ISBN,Шифр,Диск,Переплёт,Обложка,"
        "Экземпляров,Страниц,Примечание\r\n"
        "3,Пушкин А. С.,Евгений Онегин,Поэзия,Роман в стихах,,,,,,Нет,Твёрдый,o.bmp,1,,\r\n"
        "7,Ёлкин,\"a;b\",Поэзия,Книга,,,,,,2,Твёрдый,,1,,\r\n"
        "12,\"Толстой, Л. Н.\",\"Война и \"\"мир\"\"\",Проза,,,,,,,Есть,Мягкий,\" x.bmp\",1,,\r\n");
    run_app([&](Window task) {
      in_turn({choose_file(wd.path("все.csv"))});
      command(task, cmd_Экспорт);
      QCOMPARE(wd.read("все.csv"), table);
      QCOMPARE(help_line(task), QString::fromUtf8("Записано 3 записи в «все.csv»"));

      // A page: one table of the same columns, UTF-8, its texts escaped.
      in_turn({choose_file(wd.path("все.html"))});
      command(task, cmd_Экспорт);
      const std::string page = wd.read("все.html");
      QVERIFY(page.starts_with("<!DOCTYPE html>\r\n<html lang=\"ru\">\r\n<head>\r\n<meta charset=\"utf-8\">"));
      QVERIFY(page.find("<thead><tr><th>Код</th><th>Автор</th><th>Наименование</th><th>Категория</th><th>Вид</th>"
                        "<th>Год издания</th><th>Издательство</th><th>Место издания</th><th>ISBN</th><th>Шифр</th>"
                        "<th>Диск</th><th>Переплёт</th><th>Обложка</th><th>Экземпляров</th><th>Страниц</th>"
                        "<th>Примечание</th></tr></thead>\r\n<tbody>\r\n"
                        "<tr><td class=\"n\">3</td><td>Пушкин А. С.</td><td>Евгений Онегин</td><td>Поэзия</td>"
                        "<td>Роман в стихах</td><td></td><td></td><td></td><td></td><td></td><td>Нет</td>"
                        "<td>Твёрдый</td><td>o.bmp</td><td>1</td><td></td><td></td></tr>\r\n") != std::string::npos);
      QVERIFY(page.find("<td>Война и &quot;мир&quot;</td>") != std::string::npos);
      QVERIFY(page.ends_with("</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n"));

      // From a filtered list window: the question, then the lines found in the list's order.
      command(task, cmd_УдалРедактВывод);
      type(list_window(task), "поэзия");
      // the selected filter's extension is added
      in_turn({answer_button("Найденные"), choose_file(wd.path("найденные"))});
      command(task, cmd_Экспорт);
      // The list window has the help line while it is open.
      QCOMPARE(help_line(list_window(task)), QString::fromUtf8("Записано 1 запись в «найденные.csv»"));
      QCOMPARE(wd.read("найденные.csv"),
               utf8_bom("Код,Автор,Наименование,Категория,Вид,Год издания,Издательство,Место издания,ISBN,Шифр,Диск,"
                        "Переплёт,Обложка,Экземпляров,Страниц,Примечание\r\n"
                        "3,Пушкин А. С.,Евгений Онегин,Поэзия,Роман в стихах,,,,,,Нет,Твёрдый,o.bmp,1,,\r\n"));
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
        "x;;;0;0;Роман;;;\r\n"                                              // line 4: no author, no title: new
        "x;Анна Каренина;Толстой Л. Н.;Твердый;есть;Роман;Книга;;\r\n"    // line 5: as line 2
        "x;\"Мцыри; \"\"Демон\"\"\";Лермонтов;мягкий;;Поэзия;;;\r\n"     // line 6: new
        "x;\"Бородино\r\nи другие\";Лермонтов;0;0;Поэзия;;;\r\n"           // lines 7-8: a line break: new
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
      QCOMPARE(help_line(task), QString::fromUtf8("Добавлено 4 записи из «книги.csv»"));
    });
    QCOMPARE(s.text, QString::fromUtf8("Файл «книги.csv».\nБудет добавлено записей: 4.\n"
                                       "Уже есть в каталоге и не будут добавлены: 1.\n"
                                       "Повторяют более ранние строки файла: 1.\nНовых категорий: 1.\n"
                                       "Новых видов: 0."));
    QCOMPARE(s.refused_label, QString::fromUtf8("Строки с ошибками не будут добавлены (3); ниже и прочие замечания:"));
    QCOMPARE(s.refused, (QStringList{QString::fromUtf8("Строка 9: в столбце «Переплёт» «Кожаный» вместо «Твёрдый» или «Мягкий»"),
                                     QString::fromUtf8("Строка 10: значений 10, а столбцов в первой строке 9"),
                                     QString::fromUtf8("Строка 11: значений 4, а столбцов в первой строке 9"),
                                     QString::fromUtf8("Строка 3: такая запись уже есть в каталоге: «Толстой Л. Н.», "
                                                       "«Война и мир»"),
                                     QString::fromUtf8("Строка 5: повторяет более раннюю строку файла: «Толстой Л. Н.», "
                                                       "«Анна Каренина»"),
                                     QString::fromUtf8("Новая категория «Роман»")}));
    // The new records at the front with the next codes in the file's order, each file saved; a
    // record without author and title, and a line break inside a value, come in as they are.
    QCOMPARE(wd.read("Литература1.pbs"), record_line(104, "Лермонтов", "Бородино\\nи другие", "Поэзия", "", 0, 0, "") +
                                             record_line(103, "Лермонтов", "Мцыри; \\\"Демон\\\"", "Поэзия", "", 0, 0, "") +
                                             record_line(102, "", "", "Роман", "", 0, 0, "") +
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

  // "Импорт…" is one step of the history: undo takes back exactly the records and the categories
  // it added (not the change made before it), redo adds them again; an open list shows each.
  void anImportIsUndoneAsOneStep() {
    WorkDir wd(start_files(kПять, category_lines({"Роман", "Драма"})));
    wd.write("новые.csv", table6({"Гоголь,Нос,Повесть,Книга,Нет,Мягкий", "Бунин,Лёгкое дыхание,Рассказ,Книга,Нет,Мягкий"}));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 7);
      in_turn({answer_button("Да")});
      command(lw, cmd_МенюУдалить);
      const std::string before = wd.read("Литература1.pbs");
      Summary s;
      in_turn({choose_file(wd.path("новые.csv")), answer_summary(s, true)});
      command(task, cmd_Импорт);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 12, 100, 101, 102}));
      QCOMPARE(что_отменить(), cp("импорт из «новые.csv»"));
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 12, 100}));
      QCOMPARE(wd.read("Литература1.pbs"), before);
      QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Роман", "Драма"}));
      QCOMPARE(что_отменить(), cp("удаление записи 7"));
      command(task, cmd_КнопкаПовторить);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 12, 100, 101, 102}));
      QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Роман", "Драма", "Повесть", "Рассказ"}));
    });
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

  // The command line's export, with no display: the same bytes as "Экспорт…" writes, as a table
  // and as a page (by the name's ending, in any letter case); a file that cannot be written is
  // told with exit code 1.
  void theCommandLineExportsAsTheMenuDoes() {
    WorkDir wd(start_files(kПять + record_line(40, "Дюма", "=1+1", "Роман, приключения", "Книга", 2, 0, "")));
    run_app([&](Window task) {
      in_turn({choose_file(wd.path("меню.csv"))});
      command(task, cmd_Экспорт);
      in_turn({choose_file(wd.path("меню.html"))});
      command(task, cmd_Экспорт);
    });
    QTemporaryDir elsewhere;
    QString out, err;
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--export", "строка.csv", wd.dir()}, no_display(), out, err,
                         elsewhere.path()),
             0);
    QVERIFY2(out.isEmpty() && err.isEmpty(), qPrintable(out + err));
    QCOMPARE(bytes_of(elsewhere.filePath(QString::fromUtf8("строка.csv"))), wd.read("меню.csv"));
    // Without a folder: the current one, which holds a catalogue.
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--export", elsewhere.filePath("page.HTM")}, no_display(), out, err,
                         wd.dir()),
             0);
    QCOMPARE(bytes_of(elsewhere.filePath("page.HTM")), wd.read("меню.html"));
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--export", "/nonexistent/folder/x.csv", wd.dir()}, no_display(), out, err),
             1);
    QVERIFY2(err.startsWith(QString::fromUtf8("foliarkh: Не удалось записать файл")), qPrintable(err));
  }

  // The command line's import: the summary as "Импорт…" shows it; --dry-run changes nothing; without
  // it the records are added and saved as "Добавить" does; a file refused whole exits 1 and
  // changes nothing; a catalogue whose files do not load is not touched.
  void theCommandLineImports() {
    WorkDir wd(start_files(kПять, category_lines({"Роман", "Драма"})));
    wd.write("новые.csv", table6({"Гоголь,Нос,Повесть,Книга,Нет,Мягкий", "Толстой А. К.,Князь Серебряный,Роман,Книга,Нет,Мягкий",
                                  "Бунин,Лёгкое дыхание,Рассказ,Книга,Может быть,Мягкий"}));
    const std::string catalogue = wd.read("Литература1.pbs"), categories = wd.read("КатегЛитер.pbs");
    QString out, err;
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--import", wd.path("новые.csv"), wd.dir(), "--dry-run"}, no_display(), out,
                         err),
             0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.contains(QString::fromUtf8("Будет добавлено записей: 1.")) &&
                 lines.contains(QString::fromUtf8("Уже есть в каталоге и не будут добавлены: 1.")) &&
                 lines.contains(QString::fromUtf8("Новых категорий: 1.")) &&
                 lines.contains(QString::fromUtf8("Строка 4: в столбце «Диск» «Может быть» вместо «Есть» или «Нет»")) &&
                 lines.contains(QString::fromUtf8("Новая категория «Повесть»")),
             qPrintable(out + err));
    QCOMPARE(wd.read("Литература1.pbs"), catalogue);
    QCOMPARE(wd.read("КатегЛитер.pbs"), categories);

    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--import", "новые.csv"}, no_display(), out, err, wd.dir()), 0);
    QVERIFY2(out.endsWith(QString::fromUtf8("Добавлено записей: 1.\n")), qPrintable(out + err));
    QCOMPARE(wd.read("Литература1.pbs"),
             record_line(101, "Гоголь", "Нос", "Повесть", "Книга", 0, 0, "") + catalogue);
    QCOMPARE(wd.read("КатегЛитер.pbs"), categories + category_lines({"Повесть"}));
    // Once more: nothing left to add.
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--import", "новые.csv"}, no_display(), out, err, wd.dir()), 0);
    QVERIFY2(out.endsWith(QString::fromUtf8("Добавлять нечего: каталог не изменён.\n")), qPrintable(out));

    const std::string after = wd.read("Литература1.pbs");
    wd.write("не таблица.csv", "Код;Год\r\n1;2\r\n");
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--import", "не таблица.csv"}, no_display(), out, err, wd.dir()), 1);
    QVERIFY2(out.isEmpty() && err.startsWith(QString::fromUtf8("foliarkh: Импорт из файла «не таблица.csv» не выполнен.\n")) &&
                 err.contains(QString::fromUtf8("нет столбцов «Автор» и «Наименование»")),
             qPrintable(err));
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--import", "нет такого.csv"}, no_display(), out, err, wd.dir()), 1);
    QVERIFY2(err.contains(QString::fromUtf8("Не удалось прочитать файл «нет такого.csv»")), qPrintable(err));
    // A catalogue file with a line the program does not understand: told, and nothing imported.
    wd.write("Литература1.pbs", after + cp("база_лит(1,\"x\"\r\n"));
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--import", "новые.csv"}, no_display(), out, err, wd.dir()), 1);
    QVERIFY2(err.contains(QString::fromUtf8("Литература1.pbs:7: ")), qPrintable(err));
    QCOMPARE(wd.read("Литература1.pbs"), after + cp("база_лит(1,\"x\"\r\n"));
    QCOMPARE(wd.read("КатегЛитер.pbs"), categories + category_lines({"Повесть"}));
  }

  // The command line's import beside a desk: it waits while another desk holds the catalogue's
  // folder, then reads again what that desk stored and adds its records to the fresh catalogue,
  // with codes past the other desk's.
  void theCommandLineImportWaitsForADeskAndKeepsItsChange() {
    WorkDir wd(start_files(kПять, category_lines({"Роман", "Драма"})));
    wd.write("новые.csv", table6({"Гоголь,Нос,Роман,Книга,Нет,Мягкий"}));
    std::optional<FolderLock> desk = RUN_LockFolder(wd.dir().toStdString(), FolderLockMode::exclusive, std::chrono::seconds(5));
    QVERIFY(desk && desk->held());
    QProcess import;
    import.setProcessEnvironment(no_display());
    import.setWorkingDirectory(wd.dir());
    import.start(FOLIARKH_PROGRAM, {"--import", "новые.csv"});
    QVERIFY(import.waitForStarted());
    QVERIFY2(!import.waitForFinished(1500), qPrintable(import.readAllStandardOutput() + import.readAllStandardError()));
    // Meanwhile the desk stores a record of its own.
    const std::string other = record_line(300, "Пушкин", "Капитанская дочка", "Роман", "Книга", 0, 1, "");
    wd.write("Литература1.pbs", other + kПять);
    desk->unlock();
    QVERIFY(import.waitForFinished(15000));
    QCOMPARE(import.exitCode(), 0);
    QCOMPARE(wd.read("Литература1.pbs"), record_line(301, "Гоголь", "Нос", "Роман", "Книга", 0, 0, "") + other + kПять);
  }

  // The command line's check: every line the reader does not understand, with its file and line,
  // and a start file that is missing; exit 0 only when every file loads. Nothing is written.
  void theCommandLineChecks() {
    WorkDir wd(start_files(kПять, category_lines({"Роман"})));
    QString out, err;
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--check", wd.dir()}, no_display(), out, err), 0);
    QVERIFY2(out.isEmpty() && err.isEmpty(), qPrintable(out + err));
    const std::string bad = record_line(3, "Толстой Л. Н.", "Война и мир", "Роман", "Книга", 1, 1, "") +
                            cp("база_лит(4,\"Без конца\r\n") + record_line(5, "Elkin", "Tales", "", "", 1, 0, "") +
                            cp("нечто(1)\r\n");
    wd.write("Литература1.pbs", bad);
    QFile::remove(wd.path("КатегЛитер.pbs"));
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--check"}, no_display(), out, err, wd.dir()), 1);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].startsWith(QString::fromUtf8("КатегЛитер.pbs: файл не прочитан: ")), qPrintable(out));
    QVERIFY2(lines[1].startsWith(QString::fromUtf8("Литература1.pbs:2: строку «база_лит(4,\"Без конца» программа не понимает: ")),
             qPrintable(out));
    QVERIFY2(lines[2].startsWith(QString::fromUtf8("Литература1.pbs:4: ")), qPrintable(out));
    QCOMPARE(wd.read("Литература1.pbs"), bad);
    QVERIFY(!wd.exists("КатегЛитер.pbs"));
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--check", "--dry-run"}, no_display(), out, err, wd.dir()), 2);
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--export"}, no_display(), out, err, wd.dir()), 2);
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

  // Each kind of row a table may hold, read against a small catalogue: what it adds, what it
  // refuses and passes over, and the names it writes as stored ones.
  void importReadsEachKindOfRow_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QStringList>("passed");
    QTest::addColumn<QStringList>("replaced");
    QTest::addColumn<int>("new_categories");
    QTest::addColumn<int>("new_kinds");
    const auto row = [](const char* name, const std::string& bytes, QStringList records, QStringList refused,
                        QStringList passed = {}, QStringList replaced = {}, int categories = 0, int kinds = 0) {
      QTest::newRow(name) << QByteArray::fromStdString(bytes) << records << refused << passed << replaced << categories
                          << kinds;
    };
    const auto u = [](const char* utf8) { return QString::fromUtf8(utf8); };
    const auto ж = [](std::size_t n) {
      std::string s;
      for (std::size_t i = 0; i < n; ++i) s += "ж";
      return s;
    };

    // A spreadsheet runs a cell that begins with = + - @, a tab or a CR: the export writes such a
    // value behind an apostrophe, and reading takes exactly that one off.
    row("formula guards",
        table6({"\"'=HYPERLINK(\"\"http://x\"\";\"\"y\"\")\",a,,,,", "'+1,'-2,,,,", "'@x,''=y,,,,", "'abc,',,,,",
                "\"'\tx\",''',,,,"}),
        {u("=HYPERLINK(\"http://x\";\"y\")|a|||0|0|"), u("+1|-2|||0|0|"), u("@x|'=y|||0|0|"), u("'abc|'|||0|0|"),
         u("\tx|'''|||0|0|")},
        {});
    // The longest value is counted in characters, whatever bytes UTF-8 gives them; a guarding
    // apostrophe does not count.
    row("long values in UTF-8",
        table6({ж(3000) + "," + ж(4000) + ",,,,", "a," + ж(4001) + ",,,,", "'=" + ж(3999) + ",b,,,,"}),
        {QString::fromUtf8(ж(3000)) + "|" + QString::fromUtf8(ж(4000)) + "|||0|0|",
         "=" + QString::fromUtf8(ж(3999)) + "|b|||0|0|"},
        {u("3: значение длиннее 4000 знаков")});
    row("long values in cp1251", cp(table6({"a," + ж(4000) + ",,,,", "b," + ж(4001) + ",,,,"})),
        {"a|" + QString::fromUtf8(ж(4000)) + "|||0|0|"}, {u("3: значение длиннее 4000 знаков")});
    // A disk or a binding is its word or any whole number.
    row("disk and binding numbers",
        table6({"a,,,,2,-1", "b,,,,+3,007", "c,,,,'-7,Твердый", "d,,,,1.5,0", "e,,,,0,99999999999", "f,,,,+-1,0"}),
        {u("a||||2|-1|"), u("b||||3|7|"), u("c||||-7|1|")},
        {u("5: в столбце «Диск» «1.5» вместо «Есть» или «Нет»"),
         u("6: в столбце «Переплёт» «99999999999» вместо «Твёрдый» или «Мягкий»"),
         u("7: в столбце «Диск» «+-1» вместо «Есть» или «Нет»")});
    // A line break inside a quoted value is the program's own, whatever the file used.
    row("line breaks", table6({"\"a\r\nb\",\"c\rd\",,,,", "\"e\nf\",g,,,,", "h,\"i\x01\",,,,"}),
        {u("a\nb|c\nd|||0|0|"), u("e\nf|g|||0|0|")}, {u("7: в столбце «Наименование» управляющий знак")});
    // Values of blanks or non-breaking spaces are empty; a row of empty values is passed over as an
    // empty line; a record without author and title comes in.
    row("empty values and rows",
        table6({",,,,,", " , ,\t,,,", "\xC2\xA0,x,\xC2\xA0 ,,,", ",,,,1,", " \xC2\xA0,,Поэзия,,,"}),
        {u("|x|||0|0|"), u("||||1|0|"), u("||Поэзия||0|0|")}, {});
    // A byte-order mark inside a table joined from two files: the row is refused, the mark named.
    row("mark inside a cp1251 table", cp(table6({"Пушкин,Онегин,,,,"})) + "\xEF\xBB\xBF" + cp("Гоголь,Нос,,,,\r\n"),
        {u("Пушкин|Онегин|||0|0|")},
        {u("3: в столбце «Автор» метка порядка байтов UTF-8 («п»ї»): похоже, сюда попало начало другого файла")});
    row("mark inside a UTF-8 table", table6({"Пушкин,Онегин,,,,", "\xEF\xBB\xBFГоголь,Нос,,,,"}),
        {u("Пушкин|Онегин|||0|0|")},
        {u("3: в столбце «Автор» метка порядка байтов (U+FEFF): похоже, сюда попало начало другого файла")});
    // The head row again (another export joined on, its mark and letter case aside): passed over.
    row("head row repeated",
        table6({"Пушкин,Онегин,,,,", "Автор,Наименование,Категория,Вид,Диск,Переплёт",
                "\xEF\xBB\xBF АВТОР , наименование,Категория,Вид,Диск,Переплёт", "Гоголь,Нос,,,,"}),
        {u("Пушкин|Онегин|||0|0|"), u("Гоголь|Нос|||0|0|")}, {},
        {u("3: повторяет первую строку файла (названия столбцов)"),
         u("4: повторяет первую строку файла (названия столбцов)")});
    // A category or a kind that differs from a stored one (or an earlier row's new one) only in
    // letter case or blanks around is that one; another is new, added without its blanks.
    row("categories and kinds as stored",
        table6({"А,1,роман,книга,,", "Б,2, Роман ,КНИГА,,", "В,3, Поэма,Брошюра ,,", "Г,4,поэма ,брошюра,,",
                "Д,5,\xC2\xA0,,,"}),
        {u("А|1|Роман|Книга|0|0|"), u("Б|2|Роман|Книга|0|0|"), u("В|3|Поэма|Брошюра|0|0|"),
         u("Г|4|Поэма|Брошюра|0|0|"), u("Д|5|||0|0|")},
        {}, {},
        {u("Категория «роман» записана как «Роман»"), u("Вид «книга» записан как «Книга»"),
         u("Категория « Роман » записана как «Роман»"), u("Вид «КНИГА» записан как «Книга»"),
         u("Категория «поэма » записана как «Поэма»"), u("Вид «брошюра» записан как «Брошюра»")},
        1, 1);
    // A replacement character is refused as what it is; malformed UTF-8 is named so.
    row("replacement character", "\xEF\xBB\xBF" + table6({"\xEF\xBF\xBD,x,,,,", "\xC3(,y,,,,", "ok,z,,,,"}),
        {u("ok|z|||0|0|")},
        {u("2: в столбце «Автор» знак замены U+FFFD: так отмечают знак, испорченный ещё до этого файла"),
         u("3: в столбце «Автор» неверная запись UTF-8")});
    // Rows equal to a stored record or to an earlier row are passed over, each named.
    row("repeats",
        table6({"Толстой Л. Н.,Война и мир,Роман,Книга,Есть,Твёрдый", "Гоголь,Нос,,,,", "Гоголь,Нос,,,Нет,Мягкий",
                "Толстой Л. Н.,Война и мир,роман,Книга,1,1"}),
        {u("Гоголь|Нос|||0|0|")}, {},
        {u("2: такая запись уже есть в каталоге: «Толстой Л. Н.», «Война и мир»"),
         u("4: повторяет более раннюю строку файла: «Гоголь», «Нос»"),
         u("5: такая запись уже есть в каталоге: «Толстой Л. Н.», «Война и мир»")},
        {u("Категория «роман» записана как «Роман»")});
  }
  void importReadsEachKindOfRow() {
    QFETCH(QByteArray, bytes);
    store_small_catalogue();
    const ПланИмпорта п = plan_of(bytes.toStdString());
    QTEST(shown(п.новые.все()), "records");
    QTEST(shown(п.отказы), "refused");
    QTEST(shown(п.пропуски), "passed");
    QTEST(shown(п.замены), "replaced");
    QTEST(static_cast<int>(п.новых_категорий), "new_categories");
    QTEST(static_cast<int>(п.новых_видов), "new_kinds");
    QCOMPARE(п.отказов, п.отказы.size());
    QCOMPARE(п.пропусков, п.пропуски.size());
    QCOMPARE(п.пропусков, п.повторы_каталога + п.повторы_файла + п.повторы_заголовка);
  }

  // What a spreadsheet would run is written behind an apostrophe, and only that; the reading
  // gives the value back.
  void exportGuardsFormulas_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");  // as the CSV holds it, quoting aside
    QTest::addColumn<bool>("quoted");
    QTest::newRow("=") << "=HYPERLINK(\"http://x\";\"y\")" << "'=HYPERLINK(\"http://x\";\"y\")" << true;
    QTest::newRow("+") << "+7 495" << "'+7 495" << false;
    QTest::newRow("-") << "-" << "'-" << false;
    QTest::newRow("@") << "@SUM(A1)" << "'@SUM(A1)" << false;
    QTest::newRow("tab") << "\tx" << "'\tx" << false;
    QTest::newRow("CR") << "\rx" << "'\rx" << true;
    QTest::newRow("apostrophe before =") << "'=x" << "''=x" << false;
    QTest::newRow("apostrophes before +") << "''+x" << "'''+x" << false;
    QTest::newRow("apostrophe alone") << "'x" << "'x" << false;
    QTest::newRow("inside") << "a=b" << "a=b" << false;
    QTest::newRow("line break") << QString::fromUtf8("две\nстроки") << QString::fromUtf8("две\nстроки") << true;
  }
  void exportGuardsFormulas() {
    QFETCH(QString, value);
    QFETCH(QString, field);
    QFETCH(bool, quoted);
    const std::string v = cp1251::from_utf8(value.toStdString());
    const std::string csv = записи_в_csv({ЗаписьБазы{1, v, "t", "", "", 0, 0, ""}});
    QString cell = field;
    if (quoted) cell = '"' + QString(field).replace("\"", "\"\"") + '"';
    QCOMPARE(QString::fromStdString(csv).section("\r\n", 1, 1), "1," + cell + ",t,,,,,,,,Нет,Мягкий,,1,,");
    QCOMPARE(qs(std::string(значение_ячейки_csv(cp1251::from_utf8(field.toStdString())))), value);
  }

  // A row keeps at most as many fields as it is allowed, however many it has, and counts them all;
  // a field is cut after its longest length, counted in characters of UTF-8.
  void aRowKeepsWhatItMayAndCountsTheRest() {
    const std::string text = std::string(1000000, ',') + "\r\nдлинное," + std::string(5000, 'x') + "\r\nёёё,ёёёё\r\n";
    ЧтениеCsv чтение(text, ',', 3, true, 2);
    const auto first = чтение.следующая();
    QVERIFY(first);
    QCOMPARE(first->полей, std::size_t(1000001));
    QCOMPARE(first->поля.size(), std::size_t(2));
    const auto second = чтение.следующая();
    QVERIFY(second);
    QCOMPARE(second->поля, (std::vector<std::string>{"дли", "xxx"}));
    QVERIFY(second->длинное_поле);
    const auto third = чтение.следующая();
    QVERIFY(third);
    QCOMPARE(third->поля, (std::vector<std::string>{"ёёё", "ёёё"}));
    QVERIFY(third->длинное_поле);
    QCOMPARE(third->строка, std::size_t(3));
  }

  // Hostile tables: a row of a million commas is one refusal; a head of more columns than a table
  // of records could have refuses the file; of many refused and repeated rows the first thousand
  // of each keep their reasons and the rest are counted.
  void hostileTablesKeepLittle() {
    store_small_catalogue();
    ПланИмпорта п = plan_of("Автор,Наименование,Категория\r\n" + std::string(1000000, ',') + "\r\nГоголь,Нос,\r\n");
    QCOMPARE(shown(п.отказы), QStringList{QString::fromUtf8("2: значений 1000001, а столбцов в первой строке 3")});
    QCOMPARE(п.новые.size(), std::size_t(1));
    п = plan_of(std::string(1000000, ',') + "\r\n");
    QCOMPARE(shown(п.отказы), QStringList{QString::fromUtf8("0: В первой строке больше 1000 столбцов или слишком длинное "
                                                            "название: это не таблица записей каталога.")});
    std::string t = "Автор,Наименование\r\n";
    for (int i = 0; i < 2500; ++i) t += "a,b,c\r\n";
    for (int i = 0; i < 1300; ++i) t += "x,y\r\n";
    п = plan_of(t);
    QCOMPARE(п.отказы.size(), kЗамечанийВПлане);
    QCOMPARE(п.отказов, std::size_t(2500));
    QCOMPARE(п.отказы.back(), (ОтказСтроки{1001, cp("значений 3, а столбцов в первой строке 2")}));
    QCOMPARE(п.пропуски.size(), kЗамечанийВПлане);
    QCOMPARE(п.пропусков, std::size_t(1299));
    QCOMPARE(п.повторы_файла, std::size_t(1299));
    QCOMPARE(п.новые.size(), std::size_t(1));
  }

  // The summary of many refused and repeated rows: each list's first thousand, then how many more.
  void theSummaryNamesTheFirstThousandOfEachList() {
    WorkDir wd(start_files(kПять));
    std::string t = "Автор,Наименование\r\n";
    for (int i = 0; i < 1500; ++i) t += "a,b,c\r\n";
    for (int i = 0; i < 1200; ++i) t += "x,y\r\n";
    wd.write("много.csv", t);
    Summary s;
    run_app([&](Window task) {
      in_turn({choose_file(wd.path("много.csv")), answer_summary(s, false)});
      QVERIFY(!command(task, cmd_Импорт));
    });
    QCOMPARE(s.refused_label, QString::fromUtf8("Строки с ошибками не будут добавлены (1500); ниже и прочие замечания:"));
    QCOMPARE(s.refused.size(), 1000 + 1 + 1000 + 1);
    QCOMPARE(s.refused[1000], QString::fromUtf8("… и ещё строк с ошибками: 500"));
    QCOMPARE(s.refused[1001], QString::fromUtf8("Строка 1503: повторяет более раннюю строку файла: «x», «y»"));
    QCOMPARE(s.refused[2001], QString::fromUtf8("… и ещё пропущенных строк: 199"));
    QVERIFY(s.text.contains(QString::fromUtf8("Повторяют более ранние строки файла: 1199.")));
  }

  // A catalogue holding one record of each hard kind, exported and imported into an empty
  // catalogue, comes back field for field; of two equal records one comes, and the summary names
  // the other. New categories and kinds come with them.
  void everyKindOfRecordComesBack() {
    std::string long_author;
    for (int i = 0; i < 2500; ++i) long_author += "Щ";
    const std::vector<ЗаписьБазы> records = {
        {1, cp(long_author), cp("Очень длинный автор"), cp("Роман"), cp("Книга"), 0, 0, ""},
        {2, cp("Числа"), cp("Диск и переплёт"), "", "", 2, -1, ""},
        {3, cp("Строки"), cp("Первая\nвторая\n\nчетвёртая"), cp("Поэзия"), cp("Брошюра"), 1, 1, "a.bmp"},
        {4, "", "", cp("Проза"), "", 0, 1, ""},
        {5, cp("=HYPERLINK(\"http://x\";\"y\")"), cp("'=уже с апострофом"), cp("-минус"), cp("@вид"), 1, 0, cp("+7.bmp")},
        {6, cp("Дважды"), cp("Одно и то же"), "", "", 0, 0, ""},
        {7, cp("Дважды"), cp("Одно и то же"), "", "", 0, 0, ""},
        {8, cp("Пробелы "), cp(" по краям"), "", "", 0, 0, " x.bmp"},
    };
    WorkDir first(start_files(""));
    run_app([&](Window task) {
      for (const ЗаписьБазы& з : records) база_лит.assertz(з);
      in_turn({choose_file(first.path("выгрузка.csv"))});
      command(task, cmd_Экспорт);
    });
    const std::string exported = first.read("выгрузка.csv");
    QVERIFY(exported.find("\"'=HYPERLINK(\"\"http://x\"\";\"\"y\"\")\",''=уже с апострофом,'-минус,'@вид,,,,,,Есть,Мягкий,'+7.bmp") !=
            std::string::npos);

    WorkDir second(start_files("", "", ""));
    second.write("выгрузка.csv", exported);
    Summary s;
    std::vector<ЗаписьБазы> back;
    run_app([&](Window task) {
      in_turn({choose_file(second.path("выгрузка.csv")), answer_summary(s, true)});
      command(task, cmd_Импорт);
      back = база_лит.all();
    });
    std::vector<ЗаписьБазы> expected(records.begin(), records.end() - 2);
    expected.push_back(records.back());
    std::reverse(back.begin(), back.end());  // the import puts each record before the earlier ones
    for (ЗаписьБазы& з : back) з.код = 0;
    for (ЗаписьБазы& з : expected) з.код = 0;
    QCOMPARE(shown(back), shown(expected));
    QCOMPARE(s.refused,
             (QStringList{QString::fromUtf8("Строка 11: повторяет более раннюю строку файла: «Дважды», «Одно и то же»"),
                          QString::fromUtf8("Новая категория «Роман»"), QString::fromUtf8("Новая категория «Поэзия»"),
                          QString::fromUtf8("Новая категория «Проза»"), QString::fromUtf8("Новая категория «-минус»"),
                          QString::fromUtf8("Новый вид «Книга»"), QString::fromUtf8("Новый вид «Брошюра»"),
                          QString::fromUtf8("Новый вид «@вид»")}));
    QCOMPARE(second.read("КатегЛитер.pbs"), category_lines({"Роман", "Поэзия", "Проза", "-минус"}));
    QCOMPARE(second.read("ВидЛитер.pbs"), kind_lines({"Книга", "Брошюра", "@вид"}));
  }

  // A pipe or a device chosen for the import is refused at once, without waiting for a writer;
  // one chosen for the export is refused too, and stays what it was.
  void pipesAndDevicesAreNeitherReadNorReplaced() {
    WorkDir wd(start_files(kПять));
    const QString pipe = wd.path("канал.csv");
    QVERIFY(::mkfifo(pipe.toLocal8Bit().constData(), 0666) == 0);
    const QString device = wd.path("устройство.csv");
    const bool have_device = ::mknod(device.toLocal8Bit().constData(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
    QVERIFY(QFile::link(pipe, wd.path("ссылка.csv")));
    QStringList messages;
    run_app([&](Window task) {
      for (const char* name : {"канал.csv", "ссылка.csv"}) {
        const PipeRelease release(pipe, 5);  // a reading that waits would be let go, and fail
        QString seen;
        in_turn({choose_file(wd.path(name)), read_message(seen)});
        QVERIFY(!command(task, cmd_Импорт));
        messages << seen;
      }
      QStringList targets = {pipe, wd.path("ссылка.csv")};
      if (have_device) targets << device;
      for (const QString& target : targets) {
        QString seen;
        in_turn({choose_file(target), confirm_replace(), read_message(seen)});
        QVERIFY(!command(task, cmd_Экспорт));
        messages << seen;
      }
    });
    QCOMPARE(messages.size(), have_device ? 5 : 4);
    for (const QString& m : messages)
      QVERIFY2(m.contains(QString::fromUtf8("это не обычный файл, а канал, устройство или сокет")), qPrintable(m));
    QVERIFY(messages[0].contains(QString::fromUtf8("Не удалось прочитать файл «канал.csv»")));
    QVERIFY(messages[2].contains(QString::fromUtf8("Не удалось записать файл")));
    QCOMPARE(node_kind(pipe), static_cast<mode_t>(S_IFIFO));
    QCOMPARE(node_kind(wd.path("ссылка.csv")), static_cast<mode_t>(S_IFLNK));
    if (have_device) QCOMPARE(node_kind(device), static_cast<mode_t>(S_IFCHR));
  }

  // Every seed of the import fuzzer runs clean through the fuzzer's own step.
  void fuzzSeedCorpus() {
    int seeds = 0;
    for (QDirIterator it(QStringLiteral(FOLIARKH_SOURCE_DIR "/fuzz/corpus_import"), QDir::Files); it.hasNext();) {
      QFile f(it.next());
      QVERIFY(f.open(QIODevice::ReadOnly));
      const QByteArray bytes = f.readAll();
      fuzz_import::run_one(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
      ++seeds;
    }
    QVERIFY(seeds >= 15);
  }

  // The peak memory of reading hostile files of 16 MB and planning their import, measured in a
  // process of its own: under four times the file and 64 MB.
  void hostileFilesStayWithinMemory_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"commas", "commas-head", "refused", "records", "tiny"}) QTest::newRow(kind) << kind;
  }
  void hostileFilesStayWithinMemory() {
    QFETCH(QString, kind);
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("under AddressSanitizer its own shadow memory is most of a process's peak");
#endif
    QTemporaryDir dir;
    QProcess driver;
    driver.start(QStringLiteral(FOLIARKH_IMPORT_MEMORY_DRIVER), {kind, "16", dir.path()});
    QVERIFY(driver.waitForFinished(120000));
    QCOMPARE(driver.exitCode(), 0);
    const QStringList out = QString::fromLatin1(driver.readAllStandardOutput()).trimmed().split(' ');
    QCOMPARE(out.size(), 2);
    const double file = out[0].toDouble(), peak = out[1].toDouble();
    QVERIFY(file >= 16e6);
    QVERIFY2(peak < 4 * file + 64.0 * (1 << 20),
             qPrintable(QString("peak %1 MB for a file of %2 MB").arg(peak / (1 << 20)).arg(file / (1 << 20))));
  }
};

QTEST_MAIN(AppFindExchangeTests)
#include "app_find_exchange_tests.moc"

// Scenario tests of the list window's table view: the real program headless, the table driven as
// a user drives it (clicks on rows and headers, the menu "Вид", the find field) and checked
// through its widget, the list window's state, the files and the remembered settings.
#include <QFontMetrics>
#include <QFile>
#include <QHeaderView>
#include <QColor>
#include <QImage>
#include <QTreeView>

#include "app/catalogue_changes.h"
#include "app/catalogue_print.h"
#include "app/list_table.h"
#include "app/list_window.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "core/lending.h"
#include "core/list_table.h"
#include "packages/toolbar.h"

using namespace app_test;

namespace {

Window table_of(Window lw) { return win_GetCtlHandle(lw, ид_таблицы); }
QTreeView* view_of(Window lw) { return qobject_cast<QTreeView*>(client_of(table_of(lw))); }

QString cell(Window lw, int row, int column) {
  QAbstractItemModel* m = view_of(lw)->model();
  return m->data(m->index(row, column)).toString();
}
std::vector<int> table_codes(Window lw) {
  std::vector<int> out;
  for (int r = 0; r < view_of(lw)->model()->rowCount(); ++r) out.push_back(cell(lw, r, 0).toInt());
  return out;
}
int column_of(const char* caption) {
  const auto поля = поля_таблицы();
  for (std::size_t i = 0; i < поля.size(); ++i)
    if (std::string(поля[i]->в_таблице) == cp(caption)) return static_cast<int>(i);
  // Who has the book: the column after the fields'.
  if (cp(caption) == название_колонки_на_руках()) return static_cast<int>(поля.size());
  return -1;
}

// A click on a row, and on a column's header, as the mouse gives them.
void click_row(Window lw, int row) {
  QTreeView* v = view_of(lw);
  v->scrollTo(v->model()->index(row, 1));
  QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(row, 1)).center());
}
void click_header(Window lw, const char* caption) {
  QHeaderView* h = view_of(lw)->header();
  const int c = column_of(caption);
  QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                    QPoint(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2));
}

bool is_shown(Window w) {
  const std::vector<int> s = win_GetState(w);
  return std::find(s.begin(), s.end(), st_Visible) != s.end();
}
bool checked(Window lw, int id) { return layer_test::menu_action(lw, id)->isChecked(); }
bool tools_enabled(Window lw) {
  const auto v = toolbar_GetValue(lw, cmd_КнопкаУдалить);
  return v && std::get<ctrl_value>(*v).enabled;
}
std::optional<int> selected_row(Window lw) { return lview_GetSel(table_of(lw)); }
// The code of the list box's selected line (the line every command acts on).
std::optional<int> selected_code(Window lw) {
  const auto i = lbox_GetSelIndex(list_box(lw));
  if (!i) return std::nullopt;
  return код_строки(lbox_GetItem(list_box(lw), *i));
}

// A list window shown as the table.
Window open_table(Window task) {
  const Window lw = open_list(task);
  command(lw, cmd_ВидТаблица);
  return lw;
}

QString settings_file() { return kTestConfigFolder + "/foliarkh/" + QString::fromUtf8("список.txt"); }

// Types a text into the find field as the keyboard does, one key at a time.
void type_find(Window lw, const char* utf8) {
  QWidget* field = client_of(win_GetCtlHandle(lw, ид_поля_поиска));
  for (const QChar c : QString::fromUtf8(utf8))
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
void clear_find(Window lw) { win_SetText(win_GetCtlHandle(lw, ид_поля_поиска), std::string()); }

const std::string kПять = record_line(3, "Пушкин", "Капитанская дочка", "Проза", "Книга", 1, 1, "") +
                          record_line(100, "Гоголь", "Вечера на хуторе близ Диканьки", "Проза", "Книга", 0, 0, "") +
                          record_line(12, "ёлкин", "Детская литература и её читатели", "Проза", "Журнал", 0, 1, "") +
                          record_line(7, "Ежов", "Сказки", "Поэзия", "Книга", 1, 0, "") +
                          record_line(40, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "");

}  // namespace

class AppTableTests : public QtSuite {
  Q_OBJECT

 public:
  AppTableTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void init() { QFile::remove(settings_file()); }

  // Lines the first time, in a window tall enough for fifteen of them; "Вид" switches to the table
  // of the field table's columns with whole texts, and back, the one shown checked.
  void linesFirstThenTheTable() {
    WorkDir wd(start_files(kПять));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      QVERIFY(is_shown(list_box(lw)));
      QVERIFY(!is_shown(table_of(lw)));
      QVERIFY(checked(lw, cmd_ВидСтроки));
      QVERIFY(!checked(lw, cmd_ВидТаблица));
      QVERIFY(checked(lw, cmd_ВидСведения));  // the pane is on, for the table
      QVERIFY(!is_shown(win_GetCtlHandle(lw, ид_панели)));
      auto* lines = qobject_cast<QAbstractItemView*>(client_of(list_box(lw)));
      QVERIFY(lines->viewport()->height() >= 15 * lines->sizeHintForRow(0));

      command(lw, cmd_ВидТаблица);
      QVERIFY(is_shown(table_of(lw)));
      QVERIFY(!is_shown(list_box(lw)));
      QVERIFY(checked(lw, cmd_ВидТаблица));
      QVERIFY(!checked(lw, cmd_ВидСтроки));
      QVERIFY(is_shown(win_GetCtlHandle(lw, ид_панели)));
      QStringList captions, shown;
      for (const ListViewColumn& c : lview_GetColumns(table_of(lw))) {
        captions << qs(c.caption);
        if (c.visible) shown << qs(c.caption);
      }
      // The field table's columns shown, and who has the book to be chosen from the header's menu.
      QCOMPARE(shown.join(','), QString::fromUtf8("Код,Автор,Наименование,Категория,Вид,Год,Издательство,ISBN,Шифр,Диск,Переплёт,Обложка"));
      QCOMPARE(captions.join(','), QString::fromUtf8("Код,Автор,Наименование,Категория,Вид,Год,Издательство,ISBN,Шифр,Диск,Переплёт,Обложка,На руках"));
      // The rows in the list's order, each text whole (the lines cut titles at 25 letters).
      QCOMPARE(table_codes(lw), (std::vector<int>{3, 7, 12, 40, 100}));
      QCOMPARE(cell(lw, 4, 2), QString::fromUtf8("Вечера на хуторе близ Диканьки"));
      QCOMPARE(cell(lw, 2, 2), QString::fromUtf8("Детская литература и её читатели"));
      QCOMPARE(cell(lw, 0, 9), QString::fromUtf8("Есть"));
      QCOMPARE(cell(lw, 0, 10), QString::fromUtf8("Твёрдый"));
      QCOMPARE(cell(lw, 2, 4), QString::fromUtf8("Журнал"));

      command(lw, cmd_ВидСтроки);
      QVERIFY(is_shown(list_box(lw)));
      QVERIFY(!is_shown(table_of(lw)));
      QVERIFY(checked(lw, cmd_ВидСтроки));
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // A header click sorts by its column (letters without regard to case, ё after е; numbers by
  // value), stably; a second click reverses.
  void sortingByAHeader() {
    WorkDir wd(start_files(kПять));
    run_app([&](Window task) {
      const Window lw = open_table(task);
      click_header(lw, "Автор");
      QCOMPARE(table_codes(lw), (std::vector<int>{40, 100, 7, 12, 3}));
      bool ascending = false;
      QCOMPARE(lview_GetSortIndicator(table_of(lw), ascending), column_of("Автор"));
      QVERIFY(ascending);
      click_header(lw, "Автор");
      // Reversed; the two books of Гоголь keep their order.
      QCOMPARE(table_codes(lw), (std::vector<int>{3, 12, 7, 40, 100}));
      QCOMPARE(lview_GetSortIndicator(table_of(lw), ascending), column_of("Автор"));
      QVERIFY(!ascending);
      click_header(lw, "Код");
      QCOMPARE(table_codes(lw), (std::vector<int>{3, 7, 12, 40, 100}));
      click_header(lw, "Код");
      QCOMPARE(table_codes(lw), (std::vector<int>{100, 40, 12, 7, 3}));
      // Words in their letters' order ("Мягкий" before "Твёрдый"), equal ones in the list's order.
      click_header(lw, "Переплёт");
      QCOMPARE(table_codes(lw), (std::vector<int>{7, 40, 100, 3, 12}));
      // The lines keep the list's own order.
      command(lw, cmd_ВидСтроки);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 7, 12, 40, 100}));
    });
  }

  // A row chosen in the table is the record every command acts on: the card, the printed list in
  // the table's order, the deletion (no row left highlighted while the tools are greyed), undo
  // and the edit.
  void commandsActOnTheChosenRow() {
    WorkDir wd(start_files(kПять, category_lines({"Поэзия", "Проза"}), kind_lines({"Книга", "Журнал"})));
    run_app([&](Window task) {
      const Window lw = open_table(task);
      click_header(lw, "Наименование");
      QCOMPARE(table_codes(lw), (std::vector<int>{100, 12, 3, 40, 7}));
      QVERIFY(!tools_enabled(lw));
      click_row(lw, 1);
      QCOMPARE(selected_code(lw), std::optional<int>(12));
      QCOMPARE(win_GetText(lw), cp("Выполните необходимую операцию"));
      QVERIFY(tools_enabled(lw));

      command(lw, cmd_МенюКарточка);
      QVERIFY(wd.read("карточка.txt").find(cp("Автор:\t\t\tёлкин ")) != std::string::npos);
      std::vector<int> printed;
      for (const ЗаписьБазы& з : записи_для_печати(lw)) printed.push_back(з.код);
      QCOMPARE(printed, (std::vector<int>{100, 12, 3, 40, 7}));

      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(lw, cmd_КнопкаУдалить);
      QCOMPARE(table_codes(lw), (std::vector<int>{100, 3, 40, 7}));
      QVERIFY(wd.read("Литература1.pbs").find(cp("ёлкин")) == std::string::npos);
      QVERIFY(!selected_row(lw));
      QVERIFY(!selected_code(lw));
      QVERIFY(!tools_enabled(lw));
      QCOMPARE(win_GetText(lw), cp("Выделите строку для операции"));

      command(task, cmd_КнопкаОтменить);
      QCOMPARE(table_codes(lw), (std::vector<int>{100, 12, 3, 40, 7}));
      QCOMPARE(cell(lw, 1, 1), QString::fromUtf8("ёлкин"));

      click_row(lw, 3);
      QCOMPARE(selected_code(lw), std::optional<int>(40));
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Шинель"));
        press(dlg, кнопка_OK);
      });
      command(lw, cmd_КнопкаПравка);
      QVERIFY(wd.read("Литература1.pbs").find(cp("\"Гоголь\",\"Шинель\"")) != std::string::npos);
      // The edited book keeps its code and goes to its place in the sort by title.
      QCOMPARE(table_codes(lw), (std::vector<int>{100, 12, 3, 7, 40}));
      QCOMPARE(cell(lw, 4, 2), QString::fromUtf8("Шинель"));
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // The find field filters the table, in the table's order, and the chosen row stays chosen while
  // it is shown; the keyboard goes from the field to the table.
  void findFiltersTheTable() {
    WorkDir wd(start_files(kПять));
    run_app([&](Window task) {
      const Window lw = open_table(task);
      click_header(lw, "Код");
      click_header(lw, "Код");
      click_row(lw, 1);
      QCOMPARE(selected_code(lw), std::optional<int>(40));
      type_find(lw, "гоголь");
      QCOMPARE(table_codes(lw), (std::vector<int>{100, 40}));
      QCOMPARE(selected_row(lw), std::optional<int>(1));
      QCOMPARE(win_GetText(lw), cp("Найдено 2 из 5"));
      type_find(lw, " нос");
      QCOMPARE(table_codes(lw), (std::vector<int>{40}));
      QCOMPARE(selected_row(lw), std::optional<int>(0));
      clear_find(lw);
      QCOMPARE(table_codes(lw), (std::vector<int>{100, 40, 12, 7, 3}));
      QCOMPARE(selected_row(lw), std::optional<int>(1));
      QTest::keyClick(client_of(win_GetCtlHandle(lw, ид_поля_поиска)), Qt::Key_Down);
      QCOMPARE(win_GetFocus(), table_of(lw));
    });
  }

  // What another list window and another desk change reaches the table at once, its chosen row
  // kept on its record, or let go with the tools when the record went.
  void changesFromElsewhereReachTheTable() {
    WorkDir wd(start_files(kПять));
    run_app([&](Window task) {
      const Window lines = open_list(task);
      const Window table = open_table(task);
      click_header(table, "Автор");
      click_row(table, 2);
      QCOMPARE(selected_code(table), std::optional<int>(7));

      select_code(lines, 100);
      on_next_modal([](QWidget* d) { click(d, QString::fromUtf8("Да")); });
      command(lines, cmd_МенюУдалить);
      QCOMPARE(table_codes(table), (std::vector<int>{40, 7, 12, 3}));
      QCOMPARE(selected_row(table), std::optional<int>(1));
      QVERIFY(tools_enabled(table));

      // Another desk (here a person with an editor) stores the catalogue: the watch reads it.
      wd.write("Литература1.pbs", record_line(3, "Пушкин", "Капитанская дочка", "Проза", "Книга", 1, 1, "") +
                                      record_line(12, "Абрамов", "Братья и сёстры", "Проза", "Книга", 0, 1, "") +
                                      record_line(55, "Бианки", "Лесная газета", "Проза", "Книга", 0, 0, ""));
      QVERIFY(wait_until([&] { return table_codes(table) == std::vector<int>{12, 55, 3}; }));
      QVERIFY(!selected_row(table));
      QVERIFY(!tools_enabled(table));
      QCOMPARE(cell(table, 0, 1), QString::fromUtf8("Абрамов"));
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // The column "На руках" says who has each book out as the card does, empty for a book on the
  // shelf; it sorts, and follows an issue and a return here and a loan stored at another desk in
  // place, the chosen book staying chosen.
  void whoHasTheBookInItsColumn() {
    auto files = start_files(kПять);
    files["Читатели.pbs"] = cp("читатель_лит(1,\"Петров Пётр\",\"11Б\",\"\",\"\")\r\n"
                               "читатель_лит(2,\"Иванова Анна Сергеевна\",\"10А\",\"\",\"\")\r\n");
    const std::string выдачи = cp("выдача_лит(3,2,\"2026-12-07\",\"2026-12-21\",\"\")\r\n"
                                  "выдача_лит(12,1,\"2026-11-01\",\"2026-11-15\",\"\")\r\n"
                                  "выдача_лит(100,1,\"2026-10-01\",\"2026-10-15\",\"2026-10-10\")\r\n");
    files["Выдачи.pbs"] = выдачи;
    WorkDir wd(files);
    run_app([&](Window task) {
      const Window lw = open_table(task);
      const int на_руках = column_of("На руках");
      // Not shown until the user shows it (from the header's menu).
      QVERIFY(!lview_IsColumnVisible(table_of(lw), на_руках));
      QCOMPARE(QString::fromUtf8(cp1251::to_utf8(lview_GetColumns(table_of(lw))[на_руках].caption).c_str()),
               QString::fromUtf8("На руках"));
      QVERIFY(lview_SetColumnVisible(table_of(lw), на_руках, true));
      const auto row_of = [&](int code) {
        const auto codes = table_codes(lw);
        return static_cast<int>(std::find(codes.begin(), codes.end(), code) - codes.begin());
      };
      QCOMPARE(cell(lw, row_of(3), на_руках), QString::fromUtf8("Иванова А. С., до 21.12.2026"));
      QCOMPARE(cell(lw, row_of(12), на_руках), QString::fromUtf8("Петров П., до 15.11.2026"));
      QCOMPARE(cell(lw, row_of(100), на_руках), QString());  // returned
      QCOMPARE(cell(lw, row_of(7), на_руках), QString());
      // The card's words after "На руках: ", from the one function.
      QCOMPARE(qs(строка_на_руках(3)), QString::fromUtf8("На руках: ") + cell(lw, row_of(3), на_руках));

      click_header(lw, "На руках");
      QCOMPARE(table_codes(lw), (std::vector<int>{7, 40, 100, 3, 12}));
      click_header(lw, "На руках");
      QCOMPARE(table_codes(lw), (std::vector<int>{12, 3, 7, 40, 100}));
      click_row(lw, row_of(40));
      QCOMPARE(selected_code(lw), std::optional<int>(40));

      // Book 40 issued to Петров: in its place in the order, still chosen.
      QVERIFY(изменить(ВыдатьКнигу{Выдача{40, 1, "2026-12-01", "2026-12-15", ""}}));
      QCOMPARE(cell(lw, row_of(40), на_руках), QString::fromUtf8("Петров П., до 15.12.2026"));
      QCOMPARE(table_codes(lw), (std::vector<int>{40, 12, 3, 7, 100}));
      QCOMPARE(selected_code(lw), std::optional<int>(40));
      QCOMPARE(selected_row(lw), std::optional<int>(0));
      // Returned: on the shelf again.
      QVERIFY(изменить(ПринятьКнигу{Выдача{40, 1, "2026-12-01", "2026-12-15", ""}, "2026-12-09"}));
      QCOMPARE(cell(lw, row_of(40), на_руках), QString());
      QCOMPARE(table_codes(lw), (std::vector<int>{12, 3, 7, 40, 100}));
      QCOMPARE(selected_code(lw), std::optional<int>(40));

      // Another desk issues book 7 to Иванова and stores the loans: the watch reads them.
      wd.write("Выдачи.pbs", выдачи + cp("выдача_лит(7,2,\"2026-12-08\",\"2026-12-22\",\"\")\r\n"));
      QVERIFY(wait_until([&] { return table_codes(lw) == std::vector<int>{12, 7, 3, 40, 100}; }));
      QCOMPARE(cell(lw, row_of(7), на_руках), QString::fromUtf8("Иванова А. С., до 22.12.2026"));
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // The pane beside the table shows the chosen book's cover, scaled, and its details; "Сведения
  // о книге" hides it and the table takes its room.
  void thePaneOfTheChosenBook() {
    WorkDir wd(start_files(record_line(3, "Пушкин", "Онегин", "Поэзия", "Книга", 1, 1, "big.png") +
                           record_line(7, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "")));
    QImage red(900, 1200, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(wd.path("big.png")));
    run_app([&](Window task) {
      const Window lw = open_table(task);
      const Window pane = win_GetCtlHandle(lw, ид_панели);
      QVERIFY(pane);
      QVERIFY(is_shown(pane));
      QVERIFY(checked(lw, cmd_ВидСведения));
      const Rect table_at = win_GetOuterRect(table_of(lw));
      QVERIFY(win_GetOuterRect(pane).left >= table_at.right - 1);

      // No book chosen: nothing but a word in the pane; a book chosen: its cover, fitted.
      const QImage empty = client_of(pane)->grab().toImage();
      click_row(lw, 0);
      QVERIFY(QTest::qWaitFor([&] { return client_of(pane)->grab().toImage() != empty; }));
      const QImage shown = client_of(pane)->grab().toImage();
      // The cover fitted into the pane's upper half, its proportions kept (3 by 4).
      int left = shown.width(), right = -1, top = shown.height(), bottom = -1;
      for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
          if (shown.pixel(x, y) == QColor(Qt::red).rgb()) {
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
          }
      QVERIFY(right > left && bottom > top);
      QVERIFY(bottom <= shown.height() / 2 + 1);
      QVERIFY(right < shown.width());
      QVERIFY(std::abs(double(right - left + 1) / (bottom - top + 1) - 0.75) < 0.03);

      // A short window: the cover gives way to the fields, every line of them shown whole.
      win_Move(lw, Rect{30, 20, 830, 330});
      QVERIFY(QTest::qWaitFor([&] { return client_of(pane)->grab().toImage().size() != shown.size(); }));
      QTest::qWait(50);
      const QImage short_pane = client_of(pane)->grab().toImage();
      int cover_bottom = -1;
      for (int y = 0; y < short_pane.height(); ++y)
        for (int x = 0; x < short_pane.width(); ++x)
          if (short_pane.pixel(x, y) == QColor(Qt::red).rgb()) cover_bottom = std::max(cover_bottom, y);
      const QString fields = qs(текст_панели(база_лит.по_коду(3).front())).trimmed();
      const int needed = QFontMetrics(client_of(pane)->font())
                             .boundingRect(QRect(0, 0, short_pane.width() - 16, 100000), Qt::AlignLeft | Qt::TextWordWrap, fields)
                             .height();
      const int text_top = cover_bottom < 0 ? 8 : cover_bottom + 1 + 8;
      QVERIFY2(text_top + needed <= short_pane.height() - 8 + 2,
               qPrintable(QString("text from %1, %2 high, in a pane %3 high").arg(text_top).arg(needed).arg(short_pane.height())));

      command(lw, cmd_ВидСведения);
      QVERIFY(!is_shown(pane));
      QVERIFY(!checked(lw, cmd_ВидСведения));
      QVERIFY(win_GetOuterRect(table_of(lw)).right > table_at.right);
      command(lw, cmd_ВидСведения);
      QVERIFY(is_shown(pane));
    });
  }

  // The view, the columns, the sort, the pane and the window's place come back in the next run.
  void theChoicesAreRemembered() {
    WorkDir wd(start_files(kПять));
    Rect place{};
    run_app([&](Window task) {
      const Window lw = open_table(task);
      click_header(lw, "Наименование");
      click_header(lw, "Наименование");
      view_of(lw)->header()->resizeSection(column_of("Автор"), 333);
      QVERIFY(lview_SetColumnVisible(table_of(lw), column_of("Обложка"), false));
      command(lw, cmd_ВидСведения);
      win_Move(lw, Rect{30, 20, 830, 520});
      place = win_GetClientRect(lw);
    });
    QVERIFY(QFile::exists(settings_file()));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      QVERIFY(is_shown(table_of(lw)));
      QVERIFY(checked(lw, cmd_ВидТаблица));
      QCOMPARE(table_codes(lw), (std::vector<int>{7, 40, 3, 12, 100}));
      bool ascending = true;
      QCOMPARE(lview_GetSortIndicator(table_of(lw), ascending), column_of("Наименование"));
      QVERIFY(!ascending);
      QCOMPARE(lview_GetColumnWidth(table_of(lw), column_of("Автор")), 333);
      QVERIFY(!lview_IsColumnVisible(table_of(lw), column_of("Обложка")));
      QVERIFY(!is_shown(win_GetCtlHandle(lw, ид_панели)));
      QCOMPARE(win_GetClientRect(lw), place);
      const auto at = win_MapPoints(lw, task, {Point{0, 0}});
      QCOMPARE(at.at(0), (Point{30, 20}));
      command(lw, cmd_ВидСтроки);
    });
    run_app([&](Window task) {
      const Window lw = open_list(task);
      QVERIFY(is_shown(list_box(lw)));
      QVERIFY(!is_shown(table_of(lw)));
    });
  }
};

QTEST_MAIN(AppTableTests)
#include "app_table_tests.moc"

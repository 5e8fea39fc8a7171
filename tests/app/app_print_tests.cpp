// Scenario tests of printing: the catalogue to a PDF file through the "Файл" menu's commands and
// the real file chooser, its pages read back with poppler's tools; the catalogue in the list
// window's order; the card of the selected record through the print preview; a cancelled PDF and
// one that cannot be written.
#include <QAction>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QRegularExpression>

#include "app/catalogue_print.h"
#include "app/list_window.h"
#include "app/record_card.h"
#include "core/card_text.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "layer_test_access.h"
#include "pdf_text.h"

using namespace app_test;

namespace {

using layer_test::frame_of;

// The texts of a menu's items, "-" for a separator.
QStringList item_texts(QMenu* menu) {
  QStringList out;
  for (QAction* a : menu->actions()) out << (a->isSeparator() ? QString("-") : a->text());
  return out;
}

// Answers the next file chooser with `path`; `then` drives the modal widgets that follow it.
void choose_file(const QString& path, const std::function<void()>& then = {}) {
  on_next_modal([path, then](QWidget* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    QVERIFY(fd);
    fd->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
    if (then) then();
  });
}

// Runs `drive` on the next modal widget that is not the progress box (which closes by itself).
void on_next_box(const std::function<void(QWidget*)>& drive) {
  on_next_modal([drive](QWidget* m) {
    if (qobject_cast<QProgressDialog*>(m))
      on_next_box(drive);
    else
      drive(m);
  });
}

// The codes of the table's rows, in the order the PDF holds them.
std::vector<int> printed_codes(const QString& file, const std::vector<ЗаписьБазы>& records) {
  const QString text = pdf::text(file, 0, true);
  std::vector<std::pair<qsizetype, int>> at;
  for (const ЗаписьБазы& з : records) {
    const qsizetype found = text.indexOf(qs(з.наименование));
    if (found >= 0) at.emplace_back(found, з.код);
  }
  std::sort(at.begin(), at.end());
  std::vector<int> codes;
  for (const auto& [pos, code] : at) codes.push_back(code);
  return codes;
}

// Whether the PDF's first page is wider than tall (pdfinfo's "Page size: W x H pts").
bool landscape(const QString& file) {
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)"))
                                        .match(pdf::run(QStringLiteral("pdfinfo"), {file}));
  return m.hasMatch() && m.captured(1).toDouble() > m.captured(2).toDouble();
}

std::vector<ЗаписьБазы> all_records() {
  std::vector<ЗаписьБазы> out;
  for (const ЗаписьБазы& з : база_лит.facts()) out.push_back(з);
  return out;
}

}  // namespace

class AppPrintTests : public QtSuite {
  Q_OBJECT

 public:
  AppPrintTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void menus() {
    WorkDir wd(start_files(record_line(3, "А", "Б", "В", "", 0, 0, "")));
    run_app([&](Window task) {
      QMenuBar* bar = static_cast<QMainWindow*>(frame_of(task))->menuBar();
      const QStringList file_items = item_texts(bar->actions().first()->menu());
      QCOMPARE(file_items.mid(file_items.size() - 5), (QStringList{"-", "Печать каталога…", "Каталог в PDF…", "-", "Выход"}));
      const Window lw = open_list(task);
      QMenuBar* list_bar = static_cast<QMainWindow*>(frame_of(task))->menuBar();
      QStringList list_items;
      for (QAction* a : list_bar->actions()) list_items << a->text();
      QCOMPARE(list_items.join('|'), QString("Удалить|Редактировать базу|Вывести карточку|Найти…\tCtrl+F|"
                                             "Печать карточки…|Выдать…|Принять|Печать списка…|Список в PDF…|Вид|&Window"));
      win_Destroy(lw);
    });
  }

  // The sample catalogue on one page: its name, the date, "стр. 1 из 1", the header row, and
  // every record's author and title in the list's order.
  void sampleCatalogueAsPdf() {
    std::map<std::string, std::string> files;
    for (const char* name : {"ВидЛитер.pbs", "КатегЛитер.pbs", "Литература1.pbs"}) {
      QFile f(QStringLiteral(FOLIARKH_SOURCE_DIR "/data/") + QString::fromUtf8(name));
      QVERIFY(f.open(QIODevice::ReadOnly));
      files[name] = f.readAll().toStdString();
    }
    WorkDir wd(files);
    const QString pdf_file = wd.path("каталог.pdf");
    run_app([&](Window task) {
      choose_file(pdf_file);
      command(task, cmd_КаталогВPdf);
      QVERIFY(QFile::exists(pdf_file));
      QCOMPARE(help_line(task), QString::fromUtf8("Записано 26 записей в «каталог.pdf»"));
      QCOMPARE(pdf::pages(pdf_file), 1);
      const QString text = pdf::text(pdf_file, 1, true);
      QVERIFY(text.contains("Каталог «" + QDir(wd.dir()).dirName() + "»"));
      QVERIFY(text.contains(QDate::currentDate().toString("dd.MM.yyyy")));
      QVERIFY(text.contains("стр. 1 из 1"));
      QVERIFY(text.contains("Код Автор Наименование Категория Диск Переплёт Обложка"));
      const auto records = all_records();
      QCOMPARE(records.size(), std::size_t(26));
      for (const ЗаписьБазы& з : records) {
        QVERIFY2(text.contains(qs(з.автор)), qPrintable(qs(з.автор)));
        QVERIFY2(text.contains(qs(з.наименование)), qPrintable(qs(з.наименование)));
      }
      std::vector<int> in_order(26);
      std::iota(in_order.begin(), in_order.end(), 1);
      QCOMPARE(printed_codes(pdf_file, records), in_order);
      QVERIFY(text.contains("9 Толстой Л. Н. Война и мир Проза Есть Твёрдый voyna_i_mir.bmp"));
    });
  }

  // The whole catalogue prints in the order the list window shows it; from a list window, the
  // lines its find filter shows are printed.
  void listOrder() {
    WorkDir wd(start_files(record_line(100000, "А", "Сто тысяч", "В", "", 0, 0, "") +
                           record_line(12, "А", "Двенадцать", "В", "", 0, 0, "") +
                           record_line(99999, "А", "Последний пятизначный", "В", "", 0, 0, "") +
                           record_line(3, "А", "Три", "В", "", 1, 1, "") + record_line(5, "А", "Без слова", "В", "", 7, 0, "")));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      std::vector<int> shown;
      for (const std::string& l : lbox_GetAll(win_GetCtlHandle(lw, ид_списка))) shown.push_back(*код_строки(l));
      std::vector<int> whole;
      for (const ЗаписьБазы& з : записи_для_печати(task)) whole.push_back(з.код);
      QCOMPARE(whole, shown);  // the record without a disk word is not listed, nor printed
      win_SetText(win_GetCtlHandle(lw, ид_поля_поиска), cp("д"));  // "Двенадцать", "Последний пятизначный"
      std::vector<int> from_list;
      for (const ЗаписьБазы& з : записи_для_печати(lw)) from_list.push_back(з.код);
      std::vector<int> found;
      std::copy_if(shown.begin(), shown.end(), std::back_inserter(found), [](int c) { return c == 12 || c == 99999; });
      QCOMPARE(from_list, found);
      const QString pdf_file = wd.path("список.pdf");
      choose_file(pdf_file);
      command(lw, cmd_КаталогВPdf);
      QCOMPARE(printed_codes(pdf_file, all_records()), from_list);
      win_Destroy(lw);
    });
  }

  // A list window prints the columns its table view shows after Код, Автор and Наименование: all
  // the fields' columns on landscape pages, the publication details and who has the book among
  // them, each code whole; with the user's few columns, a portrait page. The lines view prints
  // the table's columns too.
  void listPrintsTheChosenColumns() {
    auto files = start_files(record_line(54321, "Гоголь Н. В.", "Вечера на хуторе близ Диканьки", "Проза", "Книга", 0, 1, "") +
                             record_line(7, "Пушкин А. С.", "Капитанская дочка", "Проза", "Книга", 1, 0, ""));
    files["Сведения.pbs"] = cp("сведения_лит(54321,1831,\"Наука\",\"Москва\",\"9785170906300\",\"84(2Рос=Рус)1-44\",1,320,\"\")\r\n");
    files["Читатели.pbs"] = cp("читатель_лит(1,\"Иванова Анна\",\"10А\",\"\",\"\")\r\n");
    files["Выдачи.pbs"] = cp("выдача_лит(7,1,\"2026-12-07\",\"2026-12-21\",\"\")\r\n");
    WorkDir wd(files);
    run_app([&](Window task) {
      const Window lw = open_list(task);
      command(lw, cmd_ВидТаблица);
      const Window table = win_GetCtlHandle(lw, ид_таблицы);
      const int columns = static_cast<int>(lview_GetColumns(table).size());
      QVERIFY(lview_SetColumnVisible(table, columns - 1, true));  // "На руках"
      const QString wide = wd.path("все.pdf");
      choose_file(wide);
      command(lw, cmd_КаталогВPdf);
      QVERIFY(landscape(wide));
      QCOMPARE(pdf::pages(wide), 1);
      const QString text = pdf::text(wide, 1, true);
      QVERIFY2(text.contains("Код Автор Наименование Категория Вид Год Издательство ISBN Шифр Диск Переплёт Обложка На руках"),
               qPrintable(text));
      // The year, the ISBN and the call number; the code whole, not cut between two lines.
      for (const char* word : {" 1831 ", " 9785170906300 ", " 84(2Рос=Рус)1-44 ", " 54321 ", " Наука "})
        QVERIFY2(text.contains(QString::fromUtf8(word)), qPrintable(word + (": " + text)));
      QVERIFY2(text.contains("Иванова А., до 21.12.2026"), qPrintable(text));

      // Only the year chosen besides the three columns always printed: they fit a portrait page.
      const std::vector<ListViewColumn> all = lview_GetColumns(table);
      for (int c = 3; c < columns; ++c) lview_SetColumnVisible(table, c, qs(all[c].caption) == "Год");
      command(lw, cmd_ВидСтроки);
      const QString narrow = wd.path("год.pdf");
      choose_file(narrow);
      command(lw, cmd_КаталогВPdf);
      QVERIFY(!landscape(narrow));
      const QString few = pdf::text(narrow, 1, true);
      QVERIFY2(few.contains("Код Автор Наименование Год 7 Пушкин А. С. Капитанская дочка 54321 Гоголь Н. В. Вечера на хуторе близ Диканьки 1831"),
               qPrintable(few));
      QVERIFY(!few.contains("Наука"));
      // From the task window the catalogue keeps its seven columns.
      const QString whole = wd.path("каталог.pdf");
      choose_file(whole);
      command(task, cmd_КаталогВPdf);
      QVERIFY(!landscape(whole));
      QVERIFY(pdf::text(whole, 1, true).contains("Код Автор Наименование Категория Диск Переплёт Обложка"));
      win_Destroy(lw);
    });
  }

  // The selected record's card in the preview, printed from there to a PDF file: one page with
  // its code, the card's six lines and its cover picture.
  void cardThroughThePreview() {
    WorkDir wd(start_files(record_line(7, "А. Блок", "Стихи", "Поэзия", "", 0, 1, "s.bmp")));
    QVERIFY(QFile::copy(QStringLiteral(FOLIARKH_SOURCE_DIR "/data/onegin.bmp"), wd.path("s.bmp")));
    const QString pdf_file = wd.path("карточка.pdf");
    int preview_pages = 0;
    run_app([&](Window task) {
      const Window lw = open_list(task);
      QString message;
      on_next_modal([&message](QWidget* box) {
        message = label_texts(box);
        click(box, "OK");
      });
      command(lw, cmd_ПечатьКарточки);  // nothing selected yet
      QVERIFY(message.contains("Не выделена\nстрока в списке"));
      select_code(lw, 7);
      on_next_modal([&](QWidget* d) {
        auto* preview = d->findChild<QPrintPreviewWidget*>();
        QVERIFY(preview);
        QVERIFY(wait_until([preview] { return preview->pageCount() > 0; }));
        preview_pages = preview->pageCount();
        // Printed from the preview through the print dialog, to a PDF file.
        on_next_modal([&](QWidget* print_dialog) {
          QComboBox* printers = print_dialog->findChild<QComboBox*>("printers");
          QVERIFY(printers);
          // The toolkit's texts, in the language it speaks.
          printers->setCurrentIndex(printers->findText(QCoreApplication::translate("QPrintDialog", "Print to File (PDF)")));
          print_dialog->findChild<QLineEdit*>("filename")->setText(pdf_file);
          click(print_dialog, QCoreApplication::translate("QPrintDialog", "&Print").remove('&'));
        });
        for (QAction* a : d->findChildren<QAction*>())
          if (a->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print")) {
            a->trigger();
            return;
          }
        QFAIL("no Print action");
      });
      command(lw, cmd_ПечатьКарточки);
      QCOMPARE(preview_pages, 1);
      QVERIFY(QFile::exists(pdf_file));
      QCOMPARE(pdf::pages(pdf_file), 1);
      QStringList lines;
      for (const std::string& l : строки_карточки(*база_лит.по_коду(7).begin())) lines << qs(l).simplified();
      QCOMPARE(lines.first(), QString("Автор: А. Блок"));
      QVERIFY2(pdf::text(pdf_file, 1, true).contains(lines.join(' ')), qPrintable(pdf::text(pdf_file, 1, true)));
      // The printed card names the record's code above its lines.
      QVERIFY2(pdf::text(pdf_file, 1, true).contains("Код: 7 " + lines.join(' ')), qPrintable(pdf::text(pdf_file, 1, true)));
      QCOMPARE(pdf::images(pdf_file), 1);
      win_Destroy(lw);
    });
  }

  // Cancelling the progress box leaves the old file as it was; a file that cannot be written is
  // told, and nothing is left.
  void cancelledAndFailedPdf() {
    std::string catalogue;
    for (int code = 1; code <= 40000; ++code)
      catalogue += record_line(code, "Автор", ("Книга " + std::to_string(code)).c_str(), "Проза", "", 0, 1, "");
    WorkDir wd(start_files(catalogue));
    wd.write("старый.pdf", "old");
    run_app([&](Window task) {
      bool progress_seen = false;
      choose_file(wd.path("старый.pdf"), [&] {
        on_next_modal([&](QWidget* question) {  // replace the file?
          qobject_cast<QMessageBox*>(question)->button(QMessageBox::Yes)->click();  // in the toolkit's language
          on_next_modal([&](QWidget* box) {
            progress_seen = qobject_cast<QProgressDialog*>(box) != nullptr;
            click(box, "Cancel");
          });
        });
      });
      command(task, cmd_КаталогВPdf);
      QVERIFY(progress_seen);
      QCOMPARE(wd.read("старый.pdf"), std::string("old"));

      QString message;
      choose_file("/proc/каталог.pdf", [&message] {
        on_next_box([&message](QWidget* box) {
          message = label_texts(box);
          click(box, "OK");
        });
      });
      command(task, cmd_КаталогВPdf);
      QVERIFY2(message.startsWith("Файл не записан: "), qPrintable(message));
      QVERIFY(!QFile::exists("/proc/каталог.pdf"));
      QVERIFY(reported().empty());
    });
  }
};

QTEST_MAIN(AppPrintTests)
#include "app_print_tests.moc"

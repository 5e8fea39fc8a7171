// Scenario tests of the publication details in the data-entry dialog and of the similar-book
// question: the details entered, refused by the field named (the focus on it, nothing stored),
// shown and changed in edit mode, gone with their record; a book of the same author and title,
// or ISBN, asked about before it is added. The real program runs headless in a temporary working
// directory; the dialogs are driven as a user would.
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>

#include "app/cover_window.h"
#include "app/data_entry.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "core/book_details.h"

using namespace app_test;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The field that has the focus in the dialog.
QWidget* focused(Window dlg) { return client_of(win_GetCtlHandle(dlg, ид_Автор))->window()->focusWidget(); }

void set(Window dlg, int id, const char* utf8) { win_SetText(win_GetCtlHandle(dlg, id), cp(utf8)); }

// Presses OK and waits until a record more is stored and its note gone.
void store(Window dlg) {
  const std::size_t before = база_лит.count();
  счетчикпрерывтаймера.set(0);
  press(dlg, кнопка_OK);
  QVERIFY(wait_until([&] { return база_лит.count() == before + 1 && счетчикпрерывтаймера.get() == 2; }));
  QTest::qWait(50);
}


// Notes the folder the next file or folder chooser starts in, then chooses `path` in it (empty:
// cancels it).
void in_chooser(QString* folder, const QString& path = QString()) {
  on_next_modal([folder, path](QWidget* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    QVERIFY(fd);
    *folder = fd->directory().absolutePath();
    if (path.isEmpty()) {
      QMetaObject::invokeMethod(fd, "reject", Qt::QueuedConnection);
      return;
    }
    fd->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
  });
}

}  // namespace

class AppDetailsTests : public QtSuite {
  Q_OBJECT

 public:
  AppDetailsTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void detailsEnteredRefusedEditedAndDeleted() {
    WorkDir wd(start_files(kТриЗаписи));
    const std::string литература = wd.read("Литература1.pbs");
    run_app([&](Window task) {
      in_entry(task, [&](Window dlg) {
        // Each field's accessible name is its caption; the copies start at one.
        const std::pair<int, const char*> поля[] = {{ид_Год, "Год издания"},     {ид_Издательство, "Издательство"},
                                                    {ид_Место, "Место издания"}, {ид_ISBN, "ISBN"},
                                                    {ид_Шифр, "Шифр"},           {ид_Экземпляров, "Экземпляров"},
                                                    {ид_Страниц, "Страниц"},     {ид_Примечание, "Примечание"}};
        for (const auto& [id, caption] : поля) QCOMPARE(client_of(win_GetCtlHandle(dlg, id))->accessibleName(), u(caption));
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Экземпляров)), std::string("1"));
        // Each caption shows whole, left of its field.
        for (int id : {ид_НадписьГод, ид_НадписьИздательство, ид_НадписьМесто, ид_НадписьISBN, ид_НадписьШифр,
                       ид_НадписьЭкземпляров, ид_НадписьСтраниц, ид_НадписьПримечание}) {
          auto* label = qobject_cast<QLabel*>(client_of(win_GetCtlHandle(dlg, id)));
          QVERIFY(label);
          QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()), qPrintable(label->text()));
          QVERIFY(label->geometry().right() < client_of(win_GetCtlHandle(dlg, id + 1))->geometry().left());
        }

        set(dlg, ид_Автор, "Гоголь");
        set(dlg, ид_Наименование, "Шинель");
        set(dlg, ид_Год, "1836");
        set(dlg, ид_Издательство, "Современник");
        set(dlg, ид_ISBN, "0-306-40615-3");  // a wrong check digit
        set(dlg, ид_Примечание, "Первая строка\nвторая");
        // Refused: the message names the field, the focus goes to it, nothing is stored.
        QString seen;
        read_next_message(seen);
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("«ISBN»")), qPrintable(seen));
        QVERIFY(wait_until([&] { return focused(dlg) == client_of(win_GetCtlHandle(dlg, ид_ISBN)); }));
        QCOMPARE(база_лит.count(), 3u);
        QVERIFY(!wd.exists("Сведения.pbs"));

        set(dlg, ид_ISBN, "0-306-40615-2");
        set(dlg, ид_Экземпляров, "1000");
        read_next_message(seen);
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("«Экземпляров»")), qPrintable(seen));
        QVERIFY(wait_until([&] { return focused(dlg) == client_of(win_GetCtlHandle(dlg, ид_Экземпляров)); }));

        set(dlg, ид_Экземпляров, "2");
        store(dlg);
      });
      QCOMPARE(qs(wd.read("Сведения.pbs")),
               qs(cp("сведения_лит(8,1836,\"Современник\",\"\",\"9780306406157\",\"\",2,0,\"Первая строка\\nвторая\")\r\n")));
      QCOMPARE(экземпляров_книги(8), 2);

      // Edit mode shows the details; a change of them alone is one step, undone whole.
      const Window lw = open_list(task);
      select_code(lw, 8);
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_ISBN)), std::string("9780306406157"));
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Страниц)), std::string());
        set(dlg, ид_Экземпляров, "5");
        press(dlg, кнопка_OK);
      });
      command(lw, cmd_КнопкаПравка);
      QCOMPARE(экземпляров_книги(8), 5);
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(экземпляров_книги(8), 2);

      // Deleting the record takes its details line.
      select_code(lw, 8);
      on_next_modal([](QWidget* d) { click(d, u("Да")); });
      command(lw, cmd_КнопкаУдалить);
      QCOMPARE(wd.read("Сведения.pbs"), std::string());
      QCOMPARE(reported(), std::vector<int>{});
    });
    // The catalogue's own file keeps its form.
    QCOMPARE(wd.read("Литература1.pbs"), литература);
  }

  void aSimilarBookIsAskedAbout() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      in_entry(task, [&](Window dlg) {
        // The same author and title in other letters: "Нет" goes back to the dialog.
        set(dlg, ид_Автор, " ПУШКИН");
        set(dlg, ид_Наименование, "онегин ");
        QString seen;
        read_next_message(seen, "Нет");
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("Такая книга уже есть: код 3, «Онегин». Добавить ещё одну запись?")), qPrintable(seen));
        QCOMPARE(база_лит.count(), 3u);
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_Автор)), cp(" ПУШКИН"));
        // "Да" adds it.
        on_next_modal([](QWidget* box) { click(box, u("Да")); });
        store(dlg);
        // The exact duplicate is still refused as before, without the question.
        read_next_message(seen);
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("В базе уже")), qPrintable(seen));
        QCOMPARE(база_лит.count(), 4u);
        // The same ISBN under another name.
        set(dlg, ид_Автор, "Кто-то");
        set(dlg, ид_Наименование, "Что-то");
        set(dlg, ид_ISBN, "978-0-306-40615-7");
        store(dlg);
        set(dlg, ид_Автор, "Иной");
        set(dlg, ид_Наименование, "Иное");
        read_next_message(seen, "Нет");
        press(dlg, кнопка_OK);
        QVERIFY2(seen.contains(u("код 9, «Что-то»")), qPrintable(seen));
        QCOMPARE(база_лит.count(), 5u);
      });
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // A picture dropped on the dialog or the cover window, or pasted from the clipboard, is taken as
  // a chosen one; the cover window scales a tall picture to half the screen's height, its aspect
  // kept, and stands beside the dialog.
  void coversDroppedPastedScaledBeside() {
    WorkDir wd(start_files(kТриЗаписи));
    QTemporaryDir elsewhere;
    QImage tall(200, 4000, QImage::Format_RGB32);
    tall.fill(Qt::darkGreen);
    const QString tall_path = elsewhere.filePath("tall.png");
    QVERIFY(tall.save(tall_path, "PNG"));
    QImage wide(90, 60, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    QVERIFY(wide.save(elsewhere.filePath("wide.jpg"), "JPEG"));
    run_app([&](Window task) {
      win_Move(task, Rect{0, 0, 2000, 1100});  // room beside the dialog
      in_entry(task, [&](Window dlg) {
        const Window field = win_GetCtlHandle(dlg, ид_ФайлОбложки);
        // Dropped on the dialog: copied into the catalogue's folder, its bare name in the field.
        win_SendEvent(dlg, e_dropfiles{Point{5, 5}, {tall_path.toStdString()}});
        QCOMPARE(win_GetText(field), std::string("tall.png"));
        QVERIFY(wd.exists("tall.png"));
        // A file that is no picture: refused by its name, the field as it was.
        wd.write("note.txt", "text");
        QString refused;
        read_next_message(refused);
        win_SendEvent(dlg, e_dropfiles{Point{5, 5}, {wd.path("note.txt").toStdString()}});
        QVERIFY2(refused.contains(u("«note.txt»")), qPrintable(refused));
        QCOMPARE(win_GetText(field), std::string("tall.png"));

        // The cover window: scaled to half the work area's height at most, aspect kept, beside the dialog.
        on_next_modal([](QWidget* box) { click(box, u("Нет")); });  // "Выбрать новую обложку?"
        press(dlg, ид_ВидОбл);
        QVERIFY(wait_until([] { return id_окнаобложки(true).has_value(); }));
        const Window cover = *id_окнаобложки(true);
        const Rect area = uix_GetWorkArea(task);
        QVERIFY(wait_until([&] { return win_GetClientRect(cover).bottom > 0 && win_GetClientRect(cover).bottom < 4000; }));
        const Rect shown = win_GetClientRect(cover);
        QVERIFY2(shown.bottom <= (area.bottom - area.top) / 2, qPrintable(QString::number(shown.bottom)));
        QVERIFY(std::abs(shown.right * 20 - shown.bottom) <= 20);  // 200 x 4000: one to twenty
        const Rect c = win_GetOuterRect(cover), d = win_GetOuterRect(dlg);
        const bool overlap = c.left < d.right && d.left < c.right && c.top < d.bottom && d.top < c.bottom;
        QVERIFY2(!overlap, qPrintable(QString("cover %1,%2-%3,%4 dialog %5,%6-%7,%8")
                                          .arg(c.left).arg(c.top).arg(c.right).arg(c.bottom)
                                          .arg(d.left).arg(d.top).arg(d.right).arg(d.bottom)));
        // Dropped on the cover window: the dialog's cover, shown at once.
        win_SendEvent(cover, e_dropfiles{Point{1, 1}, {elsewhere.filePath("wide.jpg").toStdString()}});
        QCOMPARE(win_GetText(field), std::string("wide.jpg"));
        QVERIFY(wait_until([&] { return win_GetClientRect(cover).right == 90 && win_GetClientRect(cover).bottom == 60; }));
        press(dlg, ид_ОблЗакрыть);

        // Pasted: saved as a PNG of its own in the folder; an empty clipboard is told.
        QApplication::clipboard()->clear();
        QString told;
        read_next_message(told);
        press(dlg, ид_ВставитьОбложку);
        QVERIFY2(told.contains(u("нет картинки")), qPrintable(told));
        QCOMPARE(win_GetText(field), std::string("wide.jpg"));
        QImage copied(30, 40, QImage::Format_RGB32);
        copied.fill(Qt::red);
        QApplication::clipboard()->setImage(copied);
        press(dlg, ид_ВставитьОбложку);
        QCOMPARE(win_GetText(field), cp("обложка-1.png"));
        QCOMPARE(QImageReader(wd.path("обложка-1.png")).format(), QByteArray("png"));
        QCOMPARE(QImage(wd.path("обложка-1.png")).size(), QSize(30, 40));
        press(dlg, ид_ВставитьОбложку);
        QCOMPARE(win_GetText(field), cp("обложка-2.png"));

        set(dlg, ид_Автор, "Гоголь");
        set(dlg, ид_Наименование, "Шинель");
        store(dlg);
        QCOMPARE(база_лит.first()->обложка, cp("обложка-2.png"));
      });
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // The choosers of documents start in the user's Documents, never in the catalogue's folder,
  // then in the folder last chosen for any of them.
  void documentChoosersStartInDocumentsThenTheLastFolder() {
    WorkDir wd(start_files(kТриЗаписи));
    QTemporaryDir there;
    run_app([&](Window task) {
      const QString documents = QDir(qs(uix_GetUserFolder(uf_Documents))).absolutePath();
      QString folder;
      in_chooser(&folder);
      command(task, cmd_Импорт);
      QCOMPARE(folder, documents);
      QVERIFY(folder != QDir(wd.dir()).absolutePath());
      in_chooser(&folder);
      command(task, cmd_РезервнаяКопия);
      QCOMPARE(folder, documents);
      // An export to another folder: the next choosers start there.
      in_chooser(&folder, there.filePath("все.csv"));
      command(task, cmd_Экспорт);
      QVERIFY(QFile::exists(there.filePath("все.csv")));
      in_chooser(&folder);
      command(task, cmd_КаталогВPdf);
      QCOMPARE(folder, QDir(there.path()).absolutePath());
      in_chooser(&folder);
      command(task, cmd_РезервнаяКопия);
      QCOMPARE(folder, QDir(there.path()).absolutePath());
      QCOMPARE(reported(), std::vector<int>{});
    });
  }
};

QTEST_MAIN(AppDetailsTests)
#include "app_details_tests.moc"

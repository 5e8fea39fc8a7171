// Scenario tests of the record a librarian keeps: the kind chosen in the data-entry dialog, codes
// that stay with their books. The real program runs headless in a temporary working directory;
// the dialogs are driven as a user would.
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "app/cover_window.h"
#include "app/data_entry.h"
#include "app/catalogue_switch.h"
#include "app/first_start.h"
#include "app_test_support.h"
#include "app_window_records.h"

using namespace app_test;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }


std::string selected(Window dlg, int id) {
  const Window list = win_GetCtlHandle(dlg, id);
  const auto i = lbox_GetSelIndex(list);
  return i ? lbox_GetItem(list, *i) : std::string("<none>");
}

void choose(Window dlg, int id, const char* utf8) {
  const Window list = win_GetCtlHandle(dlg, id);
  for (int i = 0; i < lbox_CountAll(list); ++i)
    if (lbox_GetItem(list, i) == cp(utf8)) {
      lbox_SetSel(list, i, 1);
      return;
    }
  QFAIL(qPrintable(u("no item ") + u(utf8)));
}

// Types the author and title, presses OK and waits until the record is stored and its note gone.
void enter(Window dlg, const char* author, const char* title) {
  const std::size_t before = база_лит.count();
  win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp(author));
  win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp(title));
  счетчикпрерывтаймера.set(0);
  press(dlg, кнопка_OK);
  QVERIFY(wait_until([&] { return база_лит.count() == before + 1 && счетчикпрерывтаймера.get() == 2; }));
  QTest::qWait(50);
}

// Deletes the record of the line with the code, answering "Да".
void delete_code(Window lw, int code) {
  select_code(lw, code);
  on_next_modal([](QWidget* d) { click(d, u("Да")); });
  command(lw, cmd_КнопкаУдалить);
}


// The width the text takes in the combo box's text field beyond the field's width (0 or less: it
// shows whole).
int text_overflow(QComboBox* c, const QString& text) {
  QStyleOptionComboBox opt;
  opt.initFrom(c);
  opt.editable = false;
  opt.currentText = text;
  const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
  return c->fontMetrics().horizontalAdvance(text) - field.width();
}

// Chooses `path` in the next file chooser; its name filters go to `filters`, the folder it
// opened in to `folder`.
void choose_in_chooser(const QString& path, QStringList* filters = nullptr, QString* folder = nullptr) {
  on_next_modal([path, filters, folder](QWidget* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    QVERIFY(fd);
    if (filters) *filters = fd->nameFilters();
    if (folder) *folder = fd->directory().absolutePath();
    fd->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
  });
}

QString picture(const QString& folder, const QString& name, Qt::GlobalColor colour, const char* format) {
  QImage image(30, 40, QImage::Format_RGB32);
  image.fill(colour);
  const QString path = folder + "/" + name;
  image.save(path, format);
  return path;
}

const std::string kКатегорииОбразца = category_lines({"Поэзия", "Проза", "Детская литература", "Путешествия"});
const std::string kВидыОбразца = kind_lines({"Художественная", "Научная", "Учебная", "Справочная", "Периодика"});

}  // namespace

class AppRecordTests : public QtSuite {
  Q_OBJECT

 public:
  AppRecordTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // The kind list and its label show in entry and edit mode; entry preselects the kind of the
  // last record entered in this run (the first kind before any), edit the record's own.
  void theKindIsVisibleAndRemembered() {
    WorkDir wd(start_files("", kКатегорииОбразца, kВидыОбразца));
    run_app([&](Window task) {
      in_entry(task, [](Window dlg) {
        QVERIFY(client_of(win_GetCtlHandle(dlg, ид_Вид))->isVisible());
        QVERIFY(client_of(win_GetCtlHandle(dlg, ид_НадписьВид))->isVisible());
        QCOMPARE(selected(dlg, ид_Вид), cp("Научная"));
        choose(dlg, ид_Вид, "Художественная");
        enter(dlg, "Пушкин", "Капитанская дочка");
        // The dialog stays open for the next book: its kind list still holds the choice.
        enter(dlg, "Булгаков", "Мастер и Маргарита");
      });
      in_entry(task, [](Window dlg) {
        QCOMPARE(selected(dlg, ид_Вид), cp("Художественная"));
        choose(dlg, ид_Вид, "Периодика");
        enter(dlg, "Ахматова", "Вечер");
      });
      in_entry(task, [](Window dlg) { QCOMPARE(selected(dlg, ид_Вид), cp("Периодика")); });
      // Edit mode shows the edited record's kind, visible too.
      const Window lw = open_list(task);
      select_code(lw, 1);
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        QVERIFY(client_of(win_GetCtlHandle(dlg, ид_Вид))->isVisible());
        QCOMPARE(selected(dlg, ид_Вид), cp("Художественная"));
        press(dlg, кнопка_Cancel);
      });
      command(lw, cmd_КнопкаПравка);
      QCOMPARE(reported(), std::vector<int>{});
    });
    QVERIFY(wd.read("Литература1.pbs").find(cp("\"Ахматова\",\"Вечер\",\"Детская литература\",\"Периодика\"")) != std::string::npos);
    QVERIFY(wd.read("Литература1.pbs").find(cp("\"Пушкин\",\"Капитанская дочка\",\"Детская литература\",\"Художественная\"")) !=
            std::string::npos);
  }

  // A kind remembered from an entry but deleted since is not preselected: the first kind is.
  void aRememberedKindThatWentFallsBackToTheFirst() {
    WorkDir wd(start_files("", kКатегорииОбразца, kВидыОбразца));
    run_app([&](Window task) {
      сеанс().последний_вид = cp("Исчезнувшая");
      in_entry(task, [](Window dlg) { QCOMPARE(selected(dlg, ид_Вид), cp("Научная")); });
    });
  }

  // The longest category and kind of the sample catalogue show whole, and the cover buttons'
  // captions fit, under the default font.
  void theEntryDialogsTextsFit() {
    WorkDir wd(start_files("", kКатегорииОбразца, kВидыОбразца));
    run_app([&](Window task) {
      in_entry(task, [](Window dlg) {
        auto* categories = qobject_cast<QComboBox*>(client_of(win_GetCtlHandle(dlg, ид_Категория)));
        auto* kinds = qobject_cast<QComboBox*>(client_of(win_GetCtlHandle(dlg, ид_Вид)));
        QVERIFY(categories && kinds);
        QVERIFY2(text_overflow(categories, u("Детская литература")) <= 0,
                 qPrintable(QString::number(text_overflow(categories, u("Детская литература")))));
        QVERIFY(text_overflow(kinds, u("Художественная")) <= 0);
        for (int id : {ид_ВидОбл, ид_ОблЗакрыть}) {
          auto* b = qobject_cast<QPushButton*>(client_of(win_GetCtlHandle(dlg, id)));
          QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(b->text()) + 8, qPrintable(b->text()));
        }
        // The kind's label stands left of the kind list, past the category list.
        const QRect label = client_of(win_GetCtlHandle(dlg, ид_НадписьВид))->geometry();
        QVERIFY(categories->geometry().right() < label.left());
        QVERIFY(label.right() < kinds->geometry().left());
      });
    });
  }

  // An edited record keeps its code and its line in the file, through undo and redo too; a code
  // once given (the highest deleted, an entry undone) is never given again, in this run or the
  // next; the other files keep their bytes.
  void codesStayWithTheirBooks() {
    const std::string kinds = kind_lines({"Книга"}), categories = category_lines({"Проза"});
    const std::string было = record_line(31, "Толстой", "Детство", "Проза", "Книга", 0, 0, "") +
                             record_line(27, "Чехов", "Каштанка", "Проза", "Книга", 0, 0, "") +
                             record_line(5, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "");
    const std::string правлено = record_line(31, "Толстой", "Детство", "Проза", "Книга", 0, 0, "") +
                                 record_line(27, "Чехов А. П.", "Каштанка", "Проза", "Книга", 0, 0, "") +
                                 record_line(5, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "");
    WorkDir wd(start_files(было, categories, kinds));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 27);
      on_next_modal([](QWidget* d) {
        const Window dlg = window_of(d);
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Чехов А. П."));
        press(dlg, кнопка_OK);
      });
      command(lw, cmd_КнопкаПравка);
      QCOMPARE(wd.read("Литература1.pbs"), правлено);
      QCOMPARE(shown_codes(lw), (std::vector<int>{5, 27, 31}));
      command(task, cmd_КнопкаОтменить);
      QCOMPARE(wd.read("Литература1.pbs"), было);
      command(task, cmd_КнопкаПовторить);
      QCOMPARE(wd.read("Литература1.pbs"), правлено);
      // The highest code deleted: the next book does not get it.
      delete_code(lw, 31);
      in_entry(task, [](Window dlg) { enter(dlg, "Бунин", "Антоновские яблоки"); });
      QCOMPARE(база_лит.first()->код, 32);
      // An entry undone leaves its code given.
      command(task, cmd_КнопкаОтменить);
      in_entry(task, [](Window dlg) { enter(dlg, "Куприн", "Олеся"); });
      QCOMPARE(база_лит.first()->код, 33);
      QCOMPARE(reported(), std::vector<int>{});
    });
    QCOMPARE(wd.read("КодыЛитер.pbs"), cp("наибольший_код(33)\r\n"));
    QCOMPARE(wd.read("ВидЛитер.pbs"), kinds);
    QCOMPARE(wd.read("КатегЛитер.pbs"), categories);
    // The next run: the highest record deleted, the next code is still beyond every code given.
    run_app([&](Window task) {
      QCOMPARE(база_лит.first()->код, 33);
      const Window lw = open_list(task);
      delete_code(lw, 33);
      in_entry(task, [](Window dlg) { enter(dlg, "Бунин", "Тёмные аллеи"); });
      QCOMPARE(база_лит.first()->код, 34);
    });
  }

  // A catalogue without the codes file opens as before and keeps no file it does not change;
  // deleting its highest record first does not free that code either.
  void aCatalogueWithoutTheCodesFile() {
    const std::string было = record_line(9, "Чехов", "Каштанка", "Проза", "Книга", 0, 0, "") +
                             record_line(4, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "");
    WorkDir wd(start_files(было));
    run_app([&](Window task) {
      QCOMPARE(база_лит.count(), std::size_t(2));
      QVERIFY(!wd.exists("КодыЛитер.pbs"));
      const Window lw = open_list(task);
      delete_code(lw, 9);
      in_entry(task, [](Window dlg) { enter(dlg, "Бунин", "Тёмные аллеи"); });
      QCOMPARE(база_лит.first()->код, 10);
      QCOMPARE(reported(), std::vector<int>{});
    });
    QCOMPARE(wd.read("Литература1.pbs"), record_line(10, "Бунин", "Тёмные аллеи", "Поэзия", "Журнал", 0, 1, "") +
                                             record_line(4, "Гоголь", "Нос", "Проза", "Книга", 0, 0, ""));
  }

  // The delete question names the book; once it is deleted no line stays highlighted while the
  // actions are greyed; "Нет" deletes nothing.
  void theDeleteQuestionNamesTheBook() {
    WorkDir wd(start_files(record_line(12, "Чехов", "Каштанка", "Проза", "Книга", 0, 0, "") +
                           record_line(13, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "") +
                           record_line(11, "Пушкин", "Онегин", "Проза", "Книга", 0, 0, "")));
    run_app([&](Window task) {
      const Window lw = open_list(task);
      QString asked, title;
      select_code(lw, 12);
      on_next_modal([&](QWidget* d) {
        asked = label_texts(d);
        title = d->windowTitle();
        click(d, u("Нет"));
      });
      command(lw, cmd_КнопкаУдалить);
      QCOMPARE(asked, u("Удалить запись 12 «Каштанка»?"));
      QCOMPARE(title, u("Удаление строки"));
      QCOMPARE(shown_codes(lw), (std::vector<int>{11, 12, 13}));
      delete_code(lw, 12);
      QCOMPARE(shown_codes(lw), (std::vector<int>{11, 13}));
      QCOMPARE(lbox_GetSelIndex(list_box(lw)), std::optional<int>());
      QCOMPARE(win_GetText(lw), cp("Выделите строку для операции"));
    });
  }

  // A JPEG from another folder is offered by the chooser's filter, copied into the catalogue's
  // folder and shown; a different picture of the same name gets a numbered name; the record
  // stores the bare name of the copy.
  void aCoverFromAnyFolderAndFormat() {
    WorkDir wd(start_files(""));
    QTemporaryDir phone, camera;
    const QString first = picture(phone.path(), "IMG_0001.jpg", Qt::red, "JPEG");
    const QString second = picture(camera.path(), "IMG_0001.jpg", Qt::blue, "JPEG");
    const QString png = picture(camera.path(), u("обложка.png"), Qt::green, "PNG");
    QStringList filters;
    QString opened_first, opened_next;
    run_app([&](Window task) {
      win_Move(task, Rect{0, 0, 1000, 700});
      in_entry(task, [&](Window dlg) {
        const Window field = win_GetCtlHandle(dlg, ид_ФайлОбложки);
        choose_in_chooser(first, &filters, &opened_first);
        press(dlg, ид_ВидОбл);
        QCOMPARE(win_GetText(field), std::string("IMG_0001.jpg"));
        QVERIFY2(wait_until([] { return id_окнаобложки(true).has_value(); }), qPrintable(QDir().entryList().join(" ")));
        press(dlg, ид_ОблЗакрыть);
        on_next_modal([](QWidget* d) { click(d, u("Да")); });  // "Выбрать новую обложку?"
        choose_in_chooser(second, nullptr, &opened_next);
        press(dlg, ид_ВидОбл);
        QCOMPARE(win_GetText(field), std::string("IMG_0001-2.jpg"));
        press(dlg, ид_ОблЗакрыть);
        on_next_modal([](QWidget* d) { click(d, u("Да")); });
        choose_in_chooser(png);
        press(dlg, ид_ВидОбл);
        QCOMPARE(win_GetText(field), cp("обложка.png"));
        enter(dlg, "Пушкин", "Капитанская дочка");
      });
      QCOMPARE(reported(), std::vector<int>{});
    });
    // The chooser starts in the user's Pictures (or home), then in the folder last chosen from.
    QVERIFY2(opened_first != wd.dir() && !opened_first.contains("/."), qPrintable(opened_first));
    QCOMPARE(opened_next, QDir(phone.path()).absolutePath());
    QVERIFY2(filters.join(' ').contains("*.jpg") && filters.join(' ').contains("*.png") &&
                 filters.join(' ').contains("*.gif"),
             qPrintable(filters.join(' ')));
    QVERIFY2(wd.exists("IMG_0001.jpg") && wd.exists("IMG_0001-2.jpg") && wd.exists("обложка.png"), qPrintable(QDir(wd.dir()).entryList().join(" ")));
    QCOMPARE(QImage(wd.path("IMG_0001-2.jpg")).pixelColor(5, 5).blue() > 200, true);
    QVERIFY(wd.read("Литература1.pbs").find(cp("\"обложка.png\")")) != std::string::npos);
  }

  // The user's own catalogue is "Мой каталог" in the title bar and the printed pages, however
  // its folder is reached; any other catalogue is named by its folder.
  void theUsersOwnCatalogueIsMyCatalogue() {
    QTemporaryDir data;
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QVERIFY(QDir(data.path()).mkpath(u("foliarkh")) && QDir(data.path()).mkpath(u("Школа №5")));
    const std::string own = (data.path() + "/foliarkh").toStdString();
    const std::string own_again = (data.path() + "/Школа №5/../foliarkh/").toStdString();
    const std::string school = (data.path() + "/Школа №5").toStdString();
    QCOMPARE(имя_каталога(own), cp("Мой каталог"));
    QCOMPARE(имя_каталога(own_again), cp("Мой каталог"));
    QCOMPARE(заголовок_каталога(own), cp("Фолиарх — Мой каталог"));
    QCOMPARE(имя_каталога(school), cp("Школа №5"));
    QCOMPARE(имя_каталога("/"), std::string("/"));
    old.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", old);
  }

  // "Просмотр" lists each category with the number of its books; deleting a category that books
  // have says how many and asks.
  void categoriesWithTheirBooks() {
    WorkDir wd(start_files(record_line(1, "А", "Б", "Проза", "Книга", 0, 0, "") +
                               record_line(2, "В", "Г", "Проза", "Книга", 0, 0, "") +
                               record_line(3, "Д", "Е", "Поэзия", "Книга", 0, 0, ""),
                           category_lines({"Поэзия", "Проза", "Драма"})));
    QStringList items;
    QString question;
    run_app([&](Window task) {
      on_next_modal([&](QWidget* d) {
        QComboBox* c = d->findChild<QComboBox*>();
        QVERIFY(c);
        for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
        click(d, "OK");
      });
      command(task, cmd_КатегПросмотр);
      on_next_modal([](QWidget* d) {
        QComboBox* c = d->findChild<QComboBox*>();
        c->setCurrentIndex(c->findText(u("Проза")));
        c->setEditText(u("Проза"));
        click(d, "OK");
      });
      on_next_modal([&](QWidget* d) {
        question = label_texts(d);
        click(d, u("Нет"));
      });
      command(task, cmd_КатегУдалить);
      QCOMPARE(категории_лит.count(), std::size_t(3));
      QCOMPARE(reported(), std::vector<int>{});
    });
    QCOMPARE(items, (QStringList{u("Драма — 0 записей"), u("Поэзия — 1 запись"), u("Проза — 2 записи")}));
    QVERIFY2(question.contains(u("Проза?\nЗаписей с этой категорией: 2.")), qPrintable(question));
  }
};

QTEST_MAIN(AppRecordTests)
#include "app_record_tests.moc"

// Scenario tests of the catalogue commands: opening another catalogue and coming back, a folder
// refused, a new catalogue, the backup copy and the "Файл" menu's last catalogues. The real
// program runs headless in temporary folders; the folder chooser, the messages and the prompts
// are driven as a user would, and the files are compared byte for byte.
#include <QAction>
#include <QDate>
#include <QFileDialog>
#include <QMenu>
#include <filesystem>

#include "app/catalogue_switch.h"
#include "app/cover_window.h"
#include "app/list_window.h"
#include "app/recent_catalogues.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "layer_test_access.h"
#include "packages/message_window.h"
#include "packages/toolbar.h"
#include "test_support.h"

using namespace app_test;

namespace {

const std::string kШкола = record_line(3, "Пушкин", "Онегин", "Поэзия", "Книга", 1, 1, "onegin.bmp") +
                           record_line(7, "Гоголь", "Нос", "Проза", "Книга", 0, 0, "nos.bmp") +
                           record_line(5, "Чехов", "Сад", "Проза", "Журнал", 0, 1, "");
const std::string kДом = record_line(1, "Блок", "Стихи", "Лирика", "Сборник", 0, 1, "");

// A folder of the test's own, with the files given (UTF-8 name -> bytes).
class Folder {
 public:
  explicit Folder(const char* utf8_name, const std::map<std::string, std::string>& files = {}) {
    QDir(base_.path()).mkpath(QString::fromUtf8(utf8_name));
    path_ = QDir(base_.path()).filePath(QString::fromUtf8(utf8_name));
    for (const auto& [name, bytes] : files) write(name, bytes);
  }
  QString path() const { return path_; }
  std::string host() const { return path_.toStdString(); }
  QString file(const std::string& utf8_name) const { return QDir(path_).filePath(QString::fromStdString(utf8_name)); }
  void write(const std::string& utf8_name, const std::string& bytes) const {
    QFile f(file(utf8_name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes.data(), qint64(bytes.size()));
  }
  std::string read(const std::string& utf8_name) const {
    QFile f(file(utf8_name));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    const QByteArray b = f.readAll();
    return std::string(b.constData(), std::size_t(b.size()));
  }
  QStringList entries() const { return QDir(path_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

 private:
  QTemporaryDir base_;
  QString path_;
};

// Chooses `folder` in the next folder chooser, typed as a user would.
void choose_folder(const QString& folder) {
  on_next_modal([folder](QWidget* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    QVERIFY(fd);
    fd->findChild<QLineEdit*>("fileNameEdit")->setText(folder);
    QMetaObject::invokeMethod(fd, "accept", Qt::DirectConnection);
  });
}
// Closes the next message box with OK; its texts go to `text`.
void read_message(QString& text) {
  on_next_modal([&text](QWidget* box) {
    text = label_texts(box);
    click(box, "OK");
  });
}

QString cwd() { return QDir::currentPath(); }

// The items of "Файл", separators as "-".
QStringList file_menu(Window task) {
  QAction* open = layer_test::menu_action(task, cmd_ОткрытьКаталог);
  QStringList out;
  for (QAction* a : qobject_cast<QMenu*>(open->associatedObjects().first())->actions())
    out << (a->isSeparator() ? QString("-") : a->text());
  return out;
}

std::vector<std::string> authors() {
  std::vector<std::string> out;
  for (const ЗаписьБазы& з : база_лит.facts()) out.push_back(з.автор);
  return out;
}

void forget_recent_catalogues() { QFile::remove(QString::fromStdString(файл_последних_каталогов())); }

}  // namespace

class AppCatalogueTests : public QtSuite {
  Q_OBJECT

 public:
  AppCatalogueTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // Open: the list and cover windows close, the other catalogue loads from its folder, which
  // becomes the working folder and names the window; a change goes to its files. Its last
  // catalogues in "Файл" bring the first one back, its files untouched.
  void openingAnotherCatalogueAndComingBack() {
    forget_recent_catalogues();
    WorkDir school(start_files(kШкола));
    const QString school_path = cwd();
    Folder home("Библиотека школы №5", start_files(kДом, category_lines({"Лирика"}), kind_lines({"Сборник"})));
    run_app([&](Window task) {
      // The start remembers its catalogue.
      QCOMPARE(последние_каталоги(), std::vector<std::string>{school_path.toStdString()});
      QCOMPARE(file_menu(task), (QStringList{QString::fromUtf8("Новый каталог…"), QString::fromUtf8("Открыть каталог…"),
                                             QString::fromUtf8("Подключиться к серверу…"), "&1 " + school_path, "-",
                                             QString::fromUtf8("Резервная копия…"),
                                             QString::fromUtf8("Перенести каталог на сервер…"), "-",
                                             QString::fromUtf8("Печать каталога…"), QString::fromUtf8("Каталог в PDF…"),
                                             "-", QString::fromUtf8("Выход")}));
      const Window list = win_просмотрсписка_Create(task);
      имяфайлаобложки.set("onegin.bmp");
      const Window cover = win_обложка_Create(task);
      QVERIFY(!toolbar_GetRect(task, tb_top{}));  // taken away by the list window

      choose_folder(home.path());
      command(task, cmd_КнопкаОткрыть);
      QCOMPARE(win_GetType(list), int(wk_NotAWindow));
      QCOMPARE(win_GetType(cover), int(wk_NotAWindow));
      QVERIFY(toolbar_GetRect(task, tb_top{}).has_value());
      QCOMPARE(cwd(), home.path());
      QCOMPARE(win_GetText(task), cp("Фолиарх — Библиотека школы №5"));
      QCOMPARE(authors(), std::vector<std::string>{cp("Блок")});
      QCOMPARE(списоккодов.get(), std::vector<std::int32_t>{1});
      QCOMPARE(виды_лит.count(), std::size_t(1));
      QCOMPARE(id_окнаобложки(false), std::optional<Window>(task));
      QVERIFY(msg_GetWin().has_value());
      QCOMPARE(file_menu(task).mid(3, 2), (QStringList{"&1 " + home.path(), "&2 " + school_path}));

      answer_prompt("Эпос");
      command(task, cmd_КатегВвести);

      // The menu item itself, as a click on it would.
      layer_test::menu_action(task, cmd_ПоследнийКаталог1 + 1)->trigger();
      QCOMPARE(cwd(), school_path);
      QCOMPARE(win_GetText(task), cp("Фолиарх — ") + cp1251::from_utf8(QDir(school_path).dirName().toStdString()));
      QCOMPARE(authors(), (std::vector<std::string>{cp("Пушкин"), cp("Гоголь"), cp("Чехов")}));
      QCOMPARE(списоккодов.get(), (std::vector<std::int32_t>{7, 5, 3}));
      QCOMPARE(file_menu(task).mid(3, 2), (QStringList{"&1 " + school_path, "&2 " + home.path()}));
      QVERIFY(reported().empty());  // the cover file is not there: the window says so, no error
    });
    QCOMPARE(school.read("Литература1.pbs"), kШкола);
    QCOMPARE(school.read("КатегЛитер.pbs"), category_lines({"Поэзия", "Проза"}));
    QCOMPARE(home.read("КатегЛитер.pbs"), category_lines({"Лирика", "Эпос"}));
    QCOMPARE(home.read("Литература1.pbs"), kДом);
  }

  // A folder without "Литература1.pbs" is refused with a message and nothing changes: the same
  // folder, catalogue, title and windows. Cancelling the chooser changes nothing either.
  void aFolderWithoutACatalogueIsRefused() {
    WorkDir school(start_files(kШкола));
    const QString school_path = cwd();
    Folder empty("Пустая", {{"КатегЛитер.pbs", category_lines({"Другое"})}});
    run_app([&](Window task) {
      // The title names the working catalogue from the start, and stays.
      const std::string title = win_GetText(task);
      QCOMPARE(title, cp("Фолиарх — ") + cp1251::from_utf8(QDir(school_path).dirName().toStdString()));
      const Window list = win_просмотрсписка_Create(task);
      QString message;
      choose_folder(empty.path());
      read_message(message);
      command(task, cmd_ОткрытьКаталог);
      QVERIFY(message.contains(QString::fromUtf8("нет каталога")));
      QVERIFY(message.contains(empty.path()));
      on_next_modal([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
      command(task, cmd_КнопкаОткрыть);
      QCOMPARE(cwd(), school_path);
      QCOMPARE(win_GetText(task), title);
      QCOMPARE(база_лит.count(), std::size_t(3));
      QCOMPARE(категории_лит.count(), std::size_t(2));
      QCOMPARE(win_GetType(list), int(wk_TopLevel));
    });
  }

  // The opened catalogue's files get the start's protection: a file that did not load is kept
  // aside before its first save.
  void aFileThatDoesNotLoadInTheOpenedCatalogueIsKept() {
    WorkDir school(start_files(kШкола));
    const std::string bad = category_lines({"Лирика"}) + cp("категории_лит(oops\r\n");
    Folder home("Дом", start_files(kДом, bad));
    run_app([&](Window task) {
      QString load_message;
      read_message(load_message);
      QVERIFY(открыть_каталог(task, home.host()));
      QVERIFY2(load_message.contains(QString::fromUtf8("«КатегЛитер.pbs» прочитан не полностью")),
               qPrintable(load_message));
      QCOMPARE(reported().size(), std::size_t(0));
      QCOMPARE(база_лит.count(), std::size_t(1));  // the steps after the bad file still ran
      QCOMPARE(списоккодов.get(), std::vector<std::int32_t>{1});
      QString notice;
      answer_prompt("Эпос");
      read_message(notice);
      command(task, cmd_КатегВвести);
      QVERIFY(notice.contains(QString::fromUtf8("КатегЛитер.pbs.сохранено-1")));
    });
    QCOMPARE(home.read("КатегЛитер.pbs.сохранено-1"), bad);
    QCOMPARE(home.read("КатегЛитер.pbs"), category_lines({"Лирика", "Эпос"}));
  }

  // New: the kinds and the categories (as they are now) and an empty catalogue, written to the
  // chosen folder and opened. A folder with a catalogue file, or one that cannot be written, is
  // refused and nothing in it is written or overwritten.
  void aNewCatalogue() {
    WorkDir school(start_files(kШкола));
    const QString school_path = cwd();
    Folder fresh("Новая");
    Folder taken("Занятая", {{"КатегЛитер.pbs", "keep"}});
    Folder locked("Закрытая");
    run_app([&](Window task) {
      answer_prompt("Эпос");
      command(task, cmd_КатегВвести);

      QString message;
      choose_folder(taken.path());
      read_message(message);
      command(task, cmd_НовыйКаталог);
      QVERIFY(message.contains(QString::fromUtf8("уже есть файлы каталога")));
      QCOMPARE(taken.entries(), QStringList{QString::fromUtf8("КатегЛитер.pbs")});
      QCOMPARE(taken.read("КатегЛитер.pbs"), std::string("keep"));

      {
        test_support::FilePermissionsHold hold;
        if (hold.holds()) {
          QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner);
          choose_folder(locked.path());
          read_message(message);
          command(task, cmd_КнопкаНовый);
          QVERIFY(message.contains(QString::fromUtf8("Не удалось создать каталог")));
          QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
          QCOMPARE(locked.entries(), QStringList());
        }
      }
      QCOMPARE(cwd(), school_path);

      choose_folder(fresh.path());
      command(task, cmd_КнопкаНовый);
      QCOMPARE(cwd(), fresh.path());
      QCOMPARE(win_GetText(task), cp("Фолиарх — Новая"));
      QCOMPARE(база_лит.count(), std::size_t(0));
      QCOMPARE(категории_лит.count(), std::size_t(3));
      QVERIFY(reported().empty());
    });
    QCOMPARE(fresh.read("ВидЛитер.pbs"), kind_lines({"Книга", "Журнал"}));
    QCOMPARE(fresh.read("КатегЛитер.pbs"), category_lines({"Поэзия", "Проза", "Эпос"}));
    QCOMPARE(fresh.read("Литература1.pbs"), std::string());
    QCOMPARE(fresh.read("КодыЛитер.pbs"), std::string());
    QCOMPARE(fresh.read("Сведения.pbs"), std::string());
    // The lending files start empty (the loan period: as the catalogue it came from, here unset).
    for (const char* lending : {"Читатели.pbs", "КодыЧитателей.pbs", "Выдачи.pbs", "СрокВыдачи.pbs"})
      QCOMPARE(fresh.read(lending), std::string());
    QCOMPARE(fresh.entries().size(), qsizetype(9));
  }

  // Save: a dated folder in the chosen one with the catalogue's files and the covers its records
  // name, equal to the originals; a second copy the same day gets "-2"; a copy that cannot be
  // written leaves nothing and says why.
  void aBackupCopy() {
    auto files = start_files(kШкола);
    files["Настройки.pbs"] = cp("шрифткарточки($00)\r\n");
    files["onegin.bmp"] = std::string(5000, 'o');
    WorkDir school(files);  // "nos.bmp" is named but not there
    Folder target("Копии");
    Folder locked("Закрытая");
    const QString name = QString::fromUtf8("Фолиарх-копия-") + QDate::currentDate().toString("yyyy-MM-dd");
    run_app([&](Window task) {
      QString message;
      for (const QString& folder : {name, name + "-2"}) {
        choose_folder(target.path());
        read_message(message);
        command(task, cmd_КнопкаСохранить);
        QVERIFY(message.contains(target.file(folder.toStdString())));
        QVERIFY(message.contains(QString::fromUtf8("Файлов в копии: 5")));
        QVERIFY(message.contains(QString::fromUtf8("Не найдено файлов обложек: 1")));
        QCOMPARE(help_line(task), QString::fromUtf8("Резервная копия сохранена в папке «") + target.file(folder.toStdString()) +
                                      QString::fromUtf8("» (файлов: 5)"));
      }
      test_support::FilePermissionsHold hold;
      if (hold.holds()) {
        QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner);
        choose_folder(locked.path());
        read_message(message);
        command(task, cmd_РезервнаяКопия);
        QVERIFY(message.contains(QString::fromUtf8("Копия не сделана")));
        QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(locked.entries(), QStringList());
      }
    });
    QCOMPARE(target.entries(), (QStringList{name, name + "-2"}));
    for (const QString& folder : {name, name + "-2"}) {
      const QString copy = target.file(folder.toStdString());
      QStringList names = QDir(copy).entryList(QDir::Files);
      names.sort();
      QStringList expected;
      for (const auto& [file, bytes] : files) expected << QString::fromStdString(file);
      expected.sort();
      QCOMPARE(names, expected);
      for (const auto& [file, bytes] : files) {
        QFile f(QDir(copy).filePath(QString::fromStdString(file)));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().toStdString(), bytes);
      }
    }
  }
};

QTEST_MAIN(AppCatalogueTests)
#include "app_catalogue_tests.moc"

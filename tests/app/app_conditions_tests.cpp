// Scenario tests of the ordinary conditions a user meets at files and disks: a cover file that is
// missing or no picture, a disk that is full or read-only, a start file that is missing or
// damaged. The real program runs headless; each condition is told in a Russian message that says
// what happened and what to do, the run-time error box never appears (the tests' error handler
// would record it), and nothing changes that the message says did not.
#include <sys/stat.h>

#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QProgressDialog>
#include <cstdlib>

#include "app/cover_window.h"
#include "app/undo_commands.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "core/catalogue_folder.h"
#include "core/undo_history.h"

using namespace app_test;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }


// Drives the next modal boxes in turn, one step each; a step closes its box. A progress box,
// which closes by itself, is passed over.
void drive_in_turn(std::vector<std::function<void(QWidget*)>> steps) {
  if (steps.empty()) return;
  on_next_modal([steps](QWidget* box) {
    if (qobject_cast<QProgressDialog*>(box)) {
      drive_in_turn(steps);
      return;
    }
    drive_in_turn({steps.begin() + 1, steps.end()});  // waits for a box other than this one
    steps.front()(box);
  });
}
std::function<void(QWidget*)> type_answer(const char* text) {
  return [t = u(text)](QWidget* d) {
    d->findChild<QLineEdit*>()->setText(t);
    click(d, "OK");
  };
}
std::function<void(QWidget*)> pick_in_list(const char* text) {
  return [t = u(text)](QWidget* d) {
    QComboBox* c = d->findChild<QComboBox*>();
    c->setCurrentIndex(c->findText(t));
    click(d, "OK");
  };
}
std::function<void(QWidget*)> press_button(const char* caption) {
  return [t = u(caption)](QWidget* d) { click(d, t); };
}
std::function<void(QWidget*)> read_into(QString& text) {
  return [&text](QWidget* d) {
    text = label_texts(d);
    click(d, "OK");
  };
}
std::function<void(QWidget*)> choose_path(const QString& path) {
  return [path](QWidget* d) {
    auto* fd = qobject_cast<QFileDialog*>(d);
    QVERIFY(fd);
    fd->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
  };
}
// The data-entry dialog's window, driven by `drive` (which must close it).
std::function<void(QWidget*)> in_entry_dialog(std::function<void(Window)> drive) {
  return [drive](QWidget* d) { drive(window_of(d)); };
}

// Whether the window's client area shows more than its background: the words of a cover window
// that shows no picture.
bool shows_words(Window w) {
  const QImage image = client_of(w)->grab().toImage();
  const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
  int marks = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) marks += image.pixel(x, y) != background;
  return marks > 100;
}

std::vector<std::string> category_list() {
  std::vector<std::string> out;
  for (const std::string& к : категории_лит.facts()) out.push_back(к);
  return out;
}

// What each command of the full-disk test does.
enum Команда { ввод_категории, удаление_категории, ввод_записи, удаление_записи, правка_записи, отмена };

}  // namespace

class AppConditionsTests : public QtSuite {
  Q_OBJECT

 public:
  AppConditionsTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // A cover that cannot be shown: the cover window says in its own area what is wrong, in words
  // the check of cover files gives, and no error is raised; a picture put in its place later
  // shows at the next repaint.
  void aCoverWindowSaysWhatIsWrong_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("words");
    QTest::newRow("missing") << u("нет.bmp") << "" << u("Нет файла «нет.bmp» в папке каталога");
    QTest::newRow("text") << u("note.bmp") << "text" << u("Файл «note.bmp» — не картинка");
    QTest::newRow("cut bitmap") << u("cut.bmp") << "cut" << u("Файл «cut.bmp» — не картинка");
    QTest::newRow("folder") << u("dir.bmp") << "folder" << u("«dir.bmp» — папка, а не файл картинки");
    QTest::newRow("named pipe") << u("pipe.bmp") << "fifo" << u("Файл «pipe.bmp» — не картинка");
    QTest::newRow("link to nothing") << u("link.bmp") << "dangling" << u("Нет файла «link.bmp» в папке каталога");
    QTest::newRow("no name") << QString() << "" << u("Файл обложки не выбран");
  }
  void aCoverWindowSaysWhatIsWrong() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, words);
    WorkDir wd(start_files(""));
    const std::string file = name.toStdString();
    if (kind == "text") wd.write(file, "hello");
    if (kind == "cut") wd.write(file, bitmap(40, 40).substr(0, 80));
    if (kind == "folder") QVERIFY(QDir(wd.dir()).mkdir(name));
    if (kind == "fifo") QCOMPARE(::mkfifo(wd.path(file).toLocal8Bit().constData(), 0600), 0);
    if (kind == "dangling") QVERIFY(QFile::link(wd.path("nowhere.bmp"), wd.path(file)));
    run_app([&](Window task) {
      win_Move(task, Rect{0, 0, 1000, 700});
      const std::optional<std::string> отказ = отказ_обложки(cp(file));
      QVERIFY(отказ.has_value());
      QVERIFY2(qs(*отказ).contains(words), qPrintable(qs(*отказ)));
      имяфайлаобложки.set(cp(file));
      const Window w = win_обложка_Create(task);
      QVERIFY(wait_until([&] { return id_окнаобложки(true) == w; }));
      QVERIFY(wait_until([&] { return win_GetClientRect(w).right == 300; }));
      QVERIFY(shows_words(w));
      for (int i = 0; i < 3; ++i) {
        win_Invalidate(w);
        QTest::qWait(30);
      }
      QCOMPARE(reported(), std::vector<int>{});
      // The picture comes: the next paint shows it.
      wd.write("good.bmp", bitmap(60, 80));
      имяфайлаобложки.set("good.bmp");
      win_Invalidate(w);
      QVERIFY(wait_until([&] { return win_GetClientRect(w).right == 60 && win_GetClientRect(w).bottom == 80; }));
      QVERIFY(!отказ_обложки("good.bmp"));
      удалитьокнообложки();
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // The cover chooser of the data-entry dialog refuses a file it cannot show, saying why; the
  // field keeps what it held. A chosen cover whose file goes before OK is not stored silently: OK
  // asks, and the answer decides (back to the dialog, no cover, or the name kept).
  void aCoverThatCannotBeShownIsNotStoredSilently() {
    WorkDir wd(start_files(""));
    wd.write("note.bmp", "hello");
    wd.write("good.bmp", bitmap(40, 50));
    wd.write("later.bmp", bitmap(30, 30));
    QString refused, question, second_question;
    run_app([&](Window task) {
      win_Move(task, Rect{0, 0, 1000, 700});
      drive_in_turn({in_entry_dialog([&](Window dlg) {
        const Window field = win_GetCtlHandle(dlg, ид_ФайлОбложки);
        // A text file chosen: refused, nothing opened.
        drive_in_turn({choose_path(wd.path("note.bmp")), read_into(refused)});
        press(dlg, ид_ВидОбл);
        QCOMPARE(win_GetText(field), std::string());
        QVERIFY(!id_окнаобложки(true));
        // A picture chosen: taken, and shown.
        drive_in_turn({choose_path(wd.path("good.bmp"))});
        press(dlg, ид_ВидОбл);
        QCOMPARE(win_GetText(field), std::string("good.bmp"));
        QVERIFY(wait_until([] { return id_окнаобложки(true).has_value(); }));
        const Window cover = *id_окнаобложки(true);
        QVERIFY(wait_until([&] { return win_GetClientRect(cover).right == 40; }));
        press(dlg, ид_ОблЗакрыть);
        // Its file goes; OK asks. "Отмена": nothing stored, the dialog stays.
        QVERIFY(QFile::remove(wd.path("good.bmp")));
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Гоголь"));
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Нос"));
        drive_in_turn({[&](QWidget* box) {
          question = label_texts(box);
          click(box, u("Отмена"));
        }});
        press(dlg, 1);
        QVERIFY(база_лит.empty());
        QCOMPARE(win_GetType(dlg), int(wk_ModalDialog));
        // "Без обложки": stored without one, the field cleared.
        drive_in_turn({press_button("Без обложки")});
        press(dlg, 1);
        QCOMPARE(база_лит.count(), std::size_t(1));
        QCOMPARE(база_лит.first()->обложка, std::string());
        QCOMPARE(win_GetText(field), std::string());
        // A name whose picture is not there is never stored: the box offers no such choice.
        drive_in_turn({choose_path(wd.path("later.bmp"))});
        press(dlg, ид_ВидОбл);
        press(dlg, ид_ОблЗакрыть);
        QVERIFY(QFile::remove(wd.path("later.bmp")));
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Шинель"));
        drive_in_turn({[&](QWidget* box) {
          second_question = label_texts(box);
          QVERIFY(!button(box, u("Оставить имя")));
          click(box, u("Без обложки"));
        }});
        press(dlg, 1);
        QCOMPARE(база_лит.count(), std::size_t(2));
        QCOMPARE(база_лит.first()->обложка, std::string());
        press(dlg, 2);
      })});
      command(task, cmd_ВводДанных);
      QCOMPARE(reported(), std::vector<int>{});
    });
    QVERIFY2(refused.contains(u("Файл «note.bmp» — не картинка")), qPrintable(refused));
    QVERIFY(refused.contains(u("Обложка записи не изменена")));
    QVERIFY2(question.contains(u("Нет файла «good.bmp» в папке каталога")), qPrintable(question));
    QVERIFY(question.contains(u("Сохранить запись без обложки")));
    QVERIFY(second_question.contains(u("Нет файла «later.bmp»")));
    QCOMPARE(wd.read("Литература1.pbs"), record_line(2, "Гоголь", "Шинель", "Поэзия", "Журнал", 0, 1, "") +
                                             record_line(1, "Гоголь", "Нос", "Поэзия", "Журнал", 0, 1, ""));
  }

  // Every change on a full disk: the message names the file, says the disk is full and what to
  // do; memory, file, open list and history stay as they were; once there is room the same
  // command succeeds.
  void changesOnAFullDisk_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("file");
    QTest::newRow("category entered") << int(ввод_категории) << u("КатегЛитер.pbs");
    QTest::newRow("category deleted") << int(удаление_категории) << u("КатегЛитер.pbs");
    QTest::newRow("record entered") << int(ввод_записи) << u("Литература1.pbs");
    QTest::newRow("record deleted") << int(удаление_записи) << u("Литература1.pbs");
    QTest::newRow("record edited") << int(правка_записи) << u("Литература1.pbs");
    QTest::newRow("undo") << int(отмена) << u("КатегЛитер.pbs");
  }
  void changesOnAFullDisk() {
    QFETCH(int, which);
    QFETCH(QString, file);
    SmallDisk disk;
    if (!disk.mounted()) QSKIP("no memory file system can be mounted here");
    WorkDir wd(start_files(kТриЗаписи), disk.path());
    run_app([&](Window task) {
      const Window lw = open_list(task);
      if (which == отмена) {
        answer_prompt("Драма");
        command(task, cmd_КатегВвести);
      }
      const std::string catalogue = wd.read("Литература1.pbs"), categories = wd.read("КатегЛитер.pbs");
      const std::vector<std::string> records_before = [] {
        std::vector<std::string> out;
        for (const ЗаписьБазы& з : база_лит.facts()) out.push_back(з.автор);
        return out;
      }();
      const std::vector<std::string> categories_before = category_list();
      const std::string undo_before = что_отменить();
      // Runs the command; with `message`, the message that follows is read into it.
      const auto run = [&](QString* message) {
        std::vector<std::function<void(QWidget*)>> steps;
        const auto then_message = [&] {
          if (message) steps.push_back(read_into(*message));
        };
        switch (which) {
          case ввод_категории:
            steps.push_back(type_answer("Драма"));
            then_message();
            drive_in_turn(steps);
            command(task, cmd_КатегВвести);
            break;
          case удаление_категории:
            steps = {pick_in_list("Проза"), press_button("Да")};
            then_message();
            drive_in_turn(steps);
            command(task, cmd_КатегУдалить);
            break;
          case ввод_записи:
          case правка_записи:
            drive_in_turn({in_entry_dialog([&](Window dlg) {
              win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Толстой"));
              if (message) drive_in_turn({read_into(*message)});
              press(dlg, 1);
              // The dialog stays after a change that was not saved; entry mode stays after one
              // that was.
              if (win_GetType(dlg) != wk_NotAWindow) press(dlg, 2);
            })});
            if (which == ввод_записи) {
              command(task, cmd_ВводДанных);
            } else {
              select_code(lw, 7);
              command(lw, cmd_КнопкаПравка);
            }
            break;
          case удаление_записи:
            select_code(lw, 7);
            steps.push_back(press_button("Да"));
            then_message();
            drive_in_turn(steps);
            command(lw, cmd_КнопкаУдалить);
            break;
          case отмена:
            if (message) drive_in_turn({read_into(*message)});
            command(task, cmd_КнопкаОтменить);
            break;
        }
      };
      QVERIFY(disk.fill());
      QString message;
      run(&message);
      QVERIFY2(message.contains(file) && message.contains(u("на диске нет места")), qPrintable(message));
      QVERIFY2(message.contains(u("Освободите место на диске и повторите")), qPrintable(message));
      QCOMPARE(reported(), std::vector<int>{});
      std::vector<std::string> records_after;
      for (const ЗаписьБазы& з : база_лит.facts()) records_after.push_back(з.автор);
      QCOMPARE(records_after, records_before);
      QCOMPARE(category_list(), categories_before);
      QCOMPARE(shown_codes(lw), (std::vector<int>{3, 5, 7}));
      QCOMPARE(что_отменить(), undo_before);
      QCOMPARE(wd.read("Литература1.pbs"), catalogue);
      QCOMPARE(wd.read("КатегЛитер.pbs"), categories);

      disk.free_space();
      run(nullptr);
      QVERIFY(wd.read("Литература1.pbs") != catalogue || wd.read("КатегЛитер.pbs") != categories);
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // The card file and the card font's settings file on a disk that is read-only, then full: each
  // is told with what to do; the card works again once it can be written, and the chosen font
  // stays chosen for the run.
  void theCardAndTheFontOnADiskThatCannotBeWritten() {
    SmallDisk disk;
    if (!disk.mounted()) QSKIP("no memory file system can be mounted here");
    WorkDir wd(start_files(kТриЗаписи), disk.path());
    run_app([&](Window task) {
      const Window lw = open_list(task);
      select_code(lw, 5);
      QVERIFY(disk.set_read_only(true));
      QString card;
      read_next_message(card);
      command(lw, cmd_КнопкаКарточка);
      QVERIFY2(card.contains(u("Карточка не записана в файл «карточка.txt»: диск доступен только для чтения")),
               qPrintable(card));
      QVERIFY(card.contains(u("Выберите папку на диске, доступном для записи")));
      QVERIFY(disk.set_read_only(false));
      command(lw, cmd_КнопкаКарточка);
      QVERIFY(wd.read("карточка.txt").find(cp("Автор:\t\t\tЧехов")) == 0);

      QVERIFY(disk.fill());
      QString font;
      drive_in_turn({[](QWidget* d) {
                       auto* fd = qobject_cast<QFontDialog*>(d);
                       QFont f = fd->currentFont();
                       f.setPointSize(23);
                       fd->setCurrentFont(f);
                       fd->accept();
                     },
                     read_into(font)});
      command(task, cmd_Настройки);
      QVERIFY2(font.contains(u("файл «Настройки.pbs» не записан — на диске нет места")), qPrintable(font));
      QVERIFY(font.contains(u("Выбранный шрифт действует до конца работы программы")));
      std::vector<int> styles;
      int points = 0;
      font_GetAttrs(*шрифт_из_блока(*шрифткарточки.get()), styles, points);
      QVERIFY2(std::abs(points - 23) <= 1, qPrintable(QString::number(points)));
      QVERIFY(!wd.exists("Настройки.pbs"));
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // A start file that is missing, a folder or damaged: the start tells which and why in a message
  // and goes on with the other files.
  void startFilesThatCannotBeRead_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("words");
    QTest::newRow("kinds missing") << u("ВидЛитер.pbs") << "missing"
                                   << u("Файл «ВидЛитер.pbs» не прочитан: нет такого файла или папки");
    QTest::newRow("catalogue a folder") << u("Литература1.pbs") << "folder"
                                        << u("Файл «Литература1.pbs» не прочитан: это папка, а не файл");
    QTest::newRow("categories damaged") << u("КатегЛитер.pbs") << "damaged"
                                        << u("Файл «КатегЛитер.pbs» прочитан не полностью");
  }
  void startFilesThatCannotBeRead() {
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QFETCH(QString, words);
    auto files = start_files(kТриЗаписи);
    files.erase(file.toStdString());
    if (kind == "damaged") files[file.toStdString()] = category_lines({"Поэзия"}) + cp("категории_лит(oops\r\n");
    WorkDir wd(files);
    if (kind == "folder") QVERIFY(QDir(wd.dir()).mkdir(file));
    QString message;
    read_next_message(message);
    run_app([&](Window) {
      QVERIFY2(message.contains(words), qPrintable(message));
      QVERIFY(message.contains('\n'));  // and what to do
      QCOMPARE(reported(), std::vector<int>{});
      QCOMPARE(база_лит.count(), std::size_t(kind == "folder" ? 0 : 3));
      QCOMPARE(категории_лит.count(), std::size_t(kind == "damaged" ? 1 : 2));
      QVERIFY(шрифткарточки.get().has_value());  // the start went on
    });
    if (kind == "damaged") QVERIFY(message.contains(u("«категории_лит(oops»")));
  }

  // The commands that write a folder of their own choosing, aimed at a read-only disk: the backup
  // copy, a new catalogue and the catalogue as PDF each say so, with what to do.
  void foldersOnAReadOnlyDisk() {
    SmallDisk disk;
    if (!disk.mounted()) QSKIP("no memory file system can be mounted here");
    QVERIFY(QDir(disk.path()).mkdir("empty"));
    QVERIFY(disk.set_read_only(true));
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      const QString target = QDir(disk.path()).filePath("empty");
      QString backup, fresh, pdf;
      drive_in_turn({choose_path(target), read_into(backup)});
      command(task, cmd_РезервнаяКопия);
      drive_in_turn({choose_path(target), read_into(fresh)});
      command(task, cmd_КнопкаНовый);
      drive_in_turn({choose_path(QDir(target).filePath(u("каталог.pdf"))), read_into(pdf)});
      command(task, cmd_КаталогВPdf);
      for (const QString& m : {backup, fresh, pdf}) {
        QVERIFY2(m.contains(u("диск доступен только для чтения")), qPrintable(m));
        QVERIFY(m.contains(u("Выберите папку на диске, доступном для записи")));
      }
      QVERIFY(backup.contains(u("Не удалось сделать резервную копию в папке")));
      QVERIFY(backup.contains(u("Копия не сделана")));
      QVERIFY(fresh.contains(u("Не удалось создать каталог в папке")));
      QVERIFY(pdf.contains(u("Файл не записан")));
      QCOMPARE(reported(), std::vector<int>{});
    });
    QVERIFY(disk.set_read_only(false));
  }
};

QTEST_MAIN(AppConditionsTests)
#include "app_conditions_tests.moc"

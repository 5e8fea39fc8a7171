// Scenario tests of the task window, the category commands, the card font setting, the
// data-entry dialog and the cover window: the real program headless in a temporary working
// directory, driven through its commands and dialogs, with the files checked on disk.
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>

#include "app/cover_window.h"
#include "app/data_entry.h"
#include "app_test_support.h"
#include "layer_test_access.h"
#include "packages/message_window.h"
#include "packages/toolbar.h"

using namespace app_test;

namespace {

using layer_test::client_of;
using layer_test::window_of;

void cancel_next() {
  on_next_modal([](QWidget* d) { click(d, "Cancel"); });
}
// Picks `text` in the next list selection.
void answer_list(const char* text) {
  on_next_modal([t = QString::fromUtf8(text)](QWidget* d) {
    QComboBox* c = d->findChild<QComboBox*>();
    c->setCurrentIndex(c->findText(t));
    c->setEditText(t);
    click(d, "OK");
  });
}
void answer_button(const char* caption) {
  on_next_modal([t = QString::fromUtf8(caption)](QWidget* d) { click(d, t); });
}

// The data-entry dialog: fills author and title, then presses OK (the note closes by itself).
void fill_and_ok(Window dlg, const char* author, const char* title) {
  win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp(author));
  win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp(title));
  qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, 1)))->click();
}

// Runs the data-entry dialog (command "Ввод Данных") with `drive` on its window; `drive` must
// close it.
void with_entry_dialog(Window task, const std::function<void(Window)>& drive) {
  on_next_modal([drive](QWidget* d) { drive(window_of(d)); });
  command(task, cmd_ВводДанных);
}

std::vector<int> codes() {
  std::vector<int> out;
  for (auto v : база_лит.views()) out.push_back(v[&ЗаписьБазы::код]);
  return out;
}

}  // namespace

class AppTaskTests : public QtSuite {
  Q_OBJECT

 public:
  AppTaskTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // Every bitmap and icon id of the program's id header has its file compiled in, and every file
  // compiled in has its id there: an id changed without its file (or the other way) fails here.
  void everyPictureIdHasItsFile() {
    QFile header(FOLIARKH_SOURCE_DIR "/resources/include/resources/ids.h");
    QVERIFY(header.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString text = QString::fromUtf8(header.readAll());
    QStringList declared, missing;
    const QRegularExpression id(QString::fromUtf8(R"((рис|значок)_[^\s=,]+\s*=\s*(\d+))"));
    for (auto m = id.globalMatch(text); m.hasNext();) {
      const auto match = m.next();
      const QString path = match.captured(1) == QString::fromUtf8("рис") ? ":/bitmaps/" + match.captured(2) + ".bmp"
                                                                         : ":/icons/" + match.captured(2) + ".ico";
      declared << path;
      if (!QFile::exists(path)) missing << match.captured(0);
    }
    QCOMPARE(missing, QStringList());
    QStringList undeclared;
    for (const QString dir : {":/bitmaps", ":/icons"})
      for (const QString& name : QDir(dir).entryList(QDir::Files))
        if (!declared.contains(dir + "/" + name)) undeclared << dir + "/" + name;
    QCOMPARE(undeclared, QStringList());
  }

  void startUpBuildsTheTaskWindow() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window task) {
      QVERIFY(toolbar_GetRect(task, tb_top{}).has_value());
      QVERIFY(toolbar_GetRect(task, tb_bottom{}).has_value());
      QVERIFY(msg_GetWin().has_value());
      QCOMPARE(списоккодов.get(), (std::vector<std::int32_t>{7, 5, 3}));
      QCOMPARE(id_окнаобложки(false), std::optional<Window>(task));
      QVERIFY(шрифткарточки.get().has_value());
      // The title names the working catalogue from the start.
      QCOMPARE(win_GetText(task), cp("Фолиарх — ") + cp1251::from_utf8(QDir::current().dirName().toStdString()));
      QVERIFY(reported().empty());
      // Undo, Redo, Cut, Copy and Paste start greyed (nothing to undo, no text field focused)
      // and, pressed all the same, do nothing.
      for (int id : {cmd_КнопкаОтменить, cmd_КнопкаПовторить, cmd_КнопкаВырезать, cmd_КнопкаКопировать,
                     cmd_КнопкаВставить}) {
        const auto v = toolbar_GetValue(task, id);
        QVERIFY(v && !std::get<ctrl_value>(*v).enabled);
        command(task, id);
        QVERIFY(!QApplication::activeModalWidget());
      }
    });
    QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Поэзия", "Проза"}));
  }

  void aFailedStartFileDoesNotStopTheStart() {
    // No kinds file: the user is told (in a message, not the error box), and everything else is
    // still set up.
    auto files = start_files(kТриЗаписи);
    files.erase("ВидЛитер.pbs");
    WorkDir wd(files);
    QString message;
    read_next_message(message);
    run_app([&](Window) {
      QVERIFY2(message.contains(QString::fromUtf8("«ВидЛитер.pbs» не прочитан")), qPrintable(message));
      QCOMPARE(reported().size(), std::size_t(0));
      QCOMPARE(категории_лит.count(), std::size_t(2));
      QCOMPARE(база_лит.count(), std::size_t(3));
      QVERIFY(msg_GetWin().has_value());
      QVERIFY(шрифткарточки.get().has_value());
    });
  }

  void aBadCatalogueLineIsKeptAsideBeforeTheFirstSave() {
    const std::string bad = kТриЗаписи + cp("база_лит(oops)\r\n") + record_line(9, "Блок", "Стихи", "Поэзия", "", 0, 1, "");
    WorkDir wd(start_files(bad));
    QString notice, start_message;
    read_next_message(start_message);
    run_app([&](Window task) {
      QVERIFY2(start_message.contains(QString::fromUtf8("«Литература1.pbs» прочитан не полностью")),
               qPrintable(start_message));
      QCOMPARE(reported().size(), std::size_t(0));
      QVERIFY(msg_GetWin().has_value());
      with_entry_dialog(task, [&notice](Window dlg) {
        // The first save tells once where the unread file was kept.
        on_next_modal([&notice](QWidget* box) {
          notice = label_texts(box);
          click(box, "OK");
        });
        fill_and_ok(dlg, "Толстой", "Война и мир");
        wait_until([] { return база_лит.count() == 4; });
        QTimer::singleShot(1500, [dlg] { qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, 2)))->click(); });
      });
    });
    QVERIFY(notice.contains(QString::fromUtf8("Литература1.pbs.сохранено-1")));
    QCOMPARE(wd.read("Литература1.pbs.сохранено-1"), bad);
    QVERIFY(wd.read("Литература1.pbs").find(cp("Толстой")) != std::string::npos);
  }

  // "Выход" chosen behind the notice of the first save, a modal box inside the data-entry
  // dialog's OK handler: the whole program (its own process) ends by itself with exit code 0,
  // the record entered is saved and the file that did not load is kept.
  void leavingWhileTheNoticeIsOpenEndsTheProgram() {
    const std::string cut = kТриЗаписи + cp("база_лит(2,\"Гоголь");
    WorkDir wd(start_files(cut));
    QProcess program;
    program.setWorkingDirectory(wd.dir());
    program.start(QStringLiteral(FOLIARKH_EXIT_DURING_NOTICE), {});
    QVERIFY(program.waitForFinished(120000));
    const QByteArray err = program.readAllStandardError();
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0, err.constData());
    QVERIFY(wd.read("Литература1.pbs").find(cp("Толстой")) != std::string::npos);
    QCOMPARE(wd.read("Литература1.pbs.сохранено-1"), cut);
  }

  void enteringCategories() {
    WorkDir wd(start_files(""));
    run_app([&](Window task) {
      answer_prompt("Проза");  // exists: nothing changes, no message
      command(task, cmd_КатегВвести);
      QVERIFY(!wd.exists("КатегЛитер.pbs.сохранено-1"));
      QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Поэзия", "Проза"}));
      answer_prompt("проза");  // another letter case is another category
      command(task, cmd_КатегВвести);
      answer_prompt("");  // empty: nothing
      command(task, cmd_КатегВвести);
      cancel_next();
      command(task, cmd_КатегВвести);
    });
    QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Поэзия", "Проза", "проза"}));
  }

  void editingAndDeletingCategories() {
    WorkDir wd(start_files("", category_lines({"Драма", "Поэзия", "Драма", "Проза"})));
    run_app([&](Window task) {
      // Editing moves the category to the end of the file.
      answer_list("Поэзия");
      answer_prompt("Лирика");
      answer_button("Да");
      command(task, cmd_КатегРедактировать);
      QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Драма", "Драма", "Проза", "Лирика"}));
      // "Нет" changes nothing.
      answer_list("Проза");
      answer_prompt("Эссе");
      answer_button("Нет");
      command(task, cmd_КатегРедактировать);
      // Deleting one of two equal categories removes the first.
      answer_list("Драма");
      answer_button("Да");
      command(task, cmd_КатегУдалить);
    });
    QCOMPARE(wd.read("КатегЛитер.pbs"), category_lines({"Драма", "Проза", "Лирика"}));
  }

  void cardFontSetting() {
    WorkDir wd(start_files(""));
    run_app([&](Window task) {
      answer_button("Отмена");  // the font chooser is the toolkit's: it speaks Russian
      command(task, cmd_Настройки);
      QVERIFY(!wd.exists("Настройки.pbs"));
      on_next_modal([](QWidget* d) {
        auto* fd = qobject_cast<QFontDialog*>(d);
        QVERIFY(fd);
        QFont f = fd->currentFont();
        f.setPointSize(17);
        fd->setCurrentFont(f);
        fd->accept();
      });
      command(task, cmd_Настройки);
    });
    QVERIFY(wd.read("Настройки.pbs").find(cp("шрифткарточки($")) == 0);
  }

  void newRecordCodesAndDuplicates() {
    WorkDir wd(start_files(""));
    run_app([&](Window task) {
      with_entry_dialog(task, [&](Window dlg) {
        fill_and_ok(dlg, "Блок", "Стихи");
        QVERIFY(wait_until([] { return база_лит.count() == 1; }));
        QCOMPARE(codes(), std::vector<int>{1});  // an empty catalogue starts at 1
        // The note closes on its second tick: about one second.
        QVERIFY(wait_until([] { return счетчикпрерывтаймера.get() == 2; }, 3000));
        // The same values again: the duplicate message once, nothing stored.
        QString message;
        on_next_modal([&](QWidget* box) {
          message = label_texts(box);
          click(box, "OK");
        });
        qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, 1)))->click();
        QVERIFY(wait_until([&] { return !message.isEmpty(); }));
        QVERIFY(message.contains(QString::fromUtf8("В базе уже\nесть такая запись!")));
        QCOMPARE(база_лит.count(), std::size_t(1));
        // Another letter case is another record: a similar book, stored when the user says "Да".
        QString similar;
        on_next_modal([&](QWidget* box) {
          similar = label_texts(box);
          click(box, QString::fromUtf8("Да"));
        });
        fill_and_ok(dlg, "Блок", "стихи");
        QVERIFY(wait_until([&] { return !similar.isEmpty(); }));
        QVERIFY(similar.contains(QString::fromUtf8("Такая книга уже есть: код 1, «Стихи»")));
        QVERIFY(wait_until([] { return база_лит.count() == 2; }));
        QVERIFY(wait_until([] { return счетчикпрерывтаймера.get() == 2; }, 3000));
        QTest::qWait(100);
        qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, 2)))->click();
      });
      QCOMPARE(codes(), (std::vector<int>{2, 1}));
    });
    QCOMPARE(wd.read("Литература1.pbs"), record_line(2, "Блок", "стихи", "Поэзия", "Журнал", 0, 1, "") +
                                                 record_line(1, "Блок", "Стихи", "Поэзия", "Журнал", 0, 1, ""));
  }

  // The data-saved note of each OK goes, widget and all, as soon as its loop has returned: none
  // stays behind hidden (and listed to assistive technology) while the data-entry dialog is open.
  void theSavedNoteGoesOnceItHasClosed() {
    WorkDir wd(start_files(""));
    auto notes = [] {
      int n = 0;
      for (QWidget* w : QApplication::allWidgets()) n += w->windowTitle() == QString::fromUtf8("ИнфСохранена");
      return n;
    };
    run_app([&](Window task) {
      with_entry_dialog(task, [&](Window dlg) {
        for (const char* title : {"Стихи", "Поэмы"}) {
          fill_and_ok(dlg, "Блок", title);
          QVERIFY(wait_until([] { return счетчикпрерывтаймера.get() == 2; }));
          QVERIFY(wait_until([&] { return notes() == 0; }));
          QCOMPARE(win_GetType(dlg), int(wk_ModalDialog));  // the data-entry dialog is still open
        }
        qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, 2)))->click();
      });
      QCOMPARE(база_лит.count(), std::size_t(2));
    });
  }

  void theNextCodeFollowsTheLargest() {
    WorkDir wd(start_files(kТриЗаписи));
    run_app([&](Window) { QCOMPARE(формирумновыйкод(), 8); });
  }

  void coverWindowPlacementAndRegistration() {
    WorkDir wd(start_files(""));
    wd.write("cover.bmp", bitmap(200, 300));
    run_app([&](Window task) {
      win_Move(task, Rect{0, 0, 800, 700});
      QVERIFY(wait_until([&] { return win_GetClientRect(task).right == 800; }));
      имяфайлаобложки.set("cover.bmp");
      const Window first = win_обложка_Create(task);
      QVERIFY(wait_until([&] { return id_окнаобложки(true) == first; }));
      QVERIFY(wait_until([&] { return win_GetClientRect(first).right == 200; }));
      // In the MDI area, where the task window's children are placed.
      QWidget* area = layer_test::frame_of(task)->findChild<QMdiArea*>()->viewport();
      const QPoint at = client_of(first)->mapTo(area, QPoint(0, 0));
      QCOMPARE(at, QPoint(570, 50));
      QCOMPARE(win_GetClientRect(first), (Rect{0, 0, 200, 300}));
      // A second window without closing the first is not registered; closing closes the first.
      const Window second = win_обложка_Create(task);
      QTest::qWait(200);
      QCOMPARE(id_окнаобложки(true), std::optional<Window>(first));
      удалитьокнообложки();
      QCOMPARE(win_GetType(first), int(wk_NotAWindow));
      QCOMPARE(win_GetType(second), int(wk_TopLevel));
      // Closed by its close box, a cover window is unregistered.
      win_Invalidate(second);
      QVERIFY(wait_until([&] { return id_окнаобложки(true) == second; }));
      win_Destroy(second);
      QVERIFY(!id_окнаобложки(true));
      удалитьокнообложки();  // nothing open: nothing happens
    });
  }

  void aCoverChosenElsewhereKeepsItsBareName() {
    WorkDir wd(start_files(""));
    // ":" and "\\" are ordinary characters of folder and file names on this host.
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkdir("x:y\\z"));
    const QString book = QDir(other.path()).filePath("x:y\\z/v\\1:book.bmp");
    {
      QFile f(book);
      f.open(QIODevice::WriteOnly);
      const std::string b = bitmap(20, 30);
      f.write(b.data(), qint64(b.size()));
    }
    // The bare name is looked for in the catalogue's folder, so the picture is there too.
    wd.write("v\\1:book.bmp", bitmap(20, 30));
    run_app([&](Window task) {
      win_Move(task, Rect{0, 0, 1000, 700});
      with_entry_dialog(task, [&](Window dlg) {
        auto press = [dlg](int id) { qobject_cast<QAbstractButton*>(client_of(win_GetCtlHandle(dlg, id)))->click(); };
        on_next_modal([&](QWidget* d) {
          auto* fd = qobject_cast<QFileDialog*>(d);
          QVERIFY(fd);
          // As a user would: the whole path typed into the name field, then Open.
          fd->findChild<QLineEdit*>("fileNameEdit")->setText(book);
          QMetaObject::invokeMethod(fd, "accept", Qt::QueuedConnection);
        });
        press(ид_ВидОбл);
        QCOMPARE(win_GetText(win_GetCtlHandle(dlg, ид_ФайлОбложки)), std::string("v\\1:book.bmp"));
        QCOMPARE(имяфайлаобложки.get(), std::string("v\\1:book.bmp"));
        // The buttons alternate and the cover window is open, showing the picture of that name in
        // the working directory.
        QVERIFY(wait_until([] { return id_окнаобложки(true).has_value(); }));
        QVERIFY(wait_until([] { return win_GetClientRect(*id_окнаобложки(true)).right == 20; }));
        auto disabled = [dlg](int id) {
          const auto st = win_GetState(win_GetCtlHandle(dlg, id));
          return std::find(st.begin(), st.end(), int(st_Disabled)) != st.end();
        };
        QVERIFY(disabled(ид_ВидОбл));
        QVERIFY(!disabled(ид_ОблЗакрыть));
        const Window cover = *id_окнаобложки(true);
        press(ид_ОблЗакрыть);
        QCOMPARE(win_GetType(cover), int(wk_NotAWindow));
        QVERIFY(!disabled(ид_ВидОбл));
        QVERIFY(disabled(ид_ОблЗакрыть));
        press(2);
      });
      QCOMPARE(reported(), std::vector<int>{});
    });
  }

  // A missing cover is no error: the window says so in its own area, at every paint.
  void aMissingCoverIsNoError() {
    WorkDir wd(start_files(""));
    run_app([&](Window task) {
      win_Move(task, Rect{0, 0, 1000, 700});
      имяфайлаобложки.set("nothing.bmp");
      const Window w = win_обложка_Create(task);
      QVERIFY(wait_until([&] { return id_окнаобложки(true) == w; }));
      for (int i = 0; i < 3; ++i) {
        win_Invalidate(w);
        QTest::qWait(50);
      }
      QCOMPARE(reported(), std::vector<int>{});
      QCOMPARE(id_окнаобложки(true), std::optional<Window>(w));
    });
  }
};

QTEST_MAIN(AppTaskTests)
#include "app_task_tests.moc"

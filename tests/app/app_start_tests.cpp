// The start of the program: the command line of the real program (help, version, the wrong ones
// and their exit codes, with no display), the catalogue folder a run works on, and the first
// start in a folder without a catalogue (both answers byte for byte, a failure, cancel) through
// the program's goal, and once more in the program's own process.
#include <QDirIterator>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>

#include "app/recent_catalogues.h"
#include "app_test_support.h"

using namespace app_test;

namespace {

const QString kSample = QStringLiteral(FOLIARKH_SOURCE_DIR "/data");

QStringList files_in(const QString& dir) { return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

// The user's data and configuration folders in temporary folders while it lives.
class UserFolders {
 public:
  UserFolders() {
    for (const char* var : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"}) old_.push_back(qgetenv(var));
    qputenv("XDG_DATA_HOME", data_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
  }
  ~UserFolders() {
    const char* vars[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME"};
    for (int i = 0; i < 2; ++i) old_[i].isNull() ? qunsetenv(vars[i]) : qputenv(vars[i], old_[i]);
  }
  QString data() const { return data_.path(); }
  QString config() const { return config_.path(); }
  QString catalogue() const { return data_.path() + "/foliarkh"; }

 private:
  QTemporaryDir data_, config_;
  std::vector<QByteArray> old_;
};

// Answers the boxes of a start while it lives: each first-start question with the next of
// `answers` ("Отмена" once they run out), each message box with OK after noting its text.
class StartAnswers {
 public:
  explicit StartAnswers(QStringList answers) : answers_(std::move(answers)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      QWidget* m = QApplication::activeModalWidget();
      if (!m || !m->isVisible()) return;
      if (auto* box = qobject_cast<QMessageBox*>(m)) {
        messages_ << box->text();
        box->button(QMessageBox::Ok)->click();
      } else if (button(m, QString::fromUtf8("Книги-образцы"))) {
        questions_ << m->windowTitle() + "|" + label_texts(m);
        click(m, answers_.isEmpty() ? QString::fromUtf8("Отмена") : answers_.takeFirst());
      }
    });
    poll_.start(20);
  }
  const QStringList& questions() const { return questions_; }
  const QStringList& messages() const { return messages_; }

 private:
  QStringList answers_, questions_, messages_;
  QTimer poll_;
};

// A start from the command line with no folder (ЗапускПрограммы{}) or with one; true when the
// task window ran (`body` ran in it).
bool start(const ЗапускПрограммы& command_line, const std::function<void()>& body = [] {}) {
  bool ran = false;
  run_app(
      [&](Window) {
        ran = true;
        body();
      },
      true, command_line);
  return ran;
}

std::size_t sample_records() {
  const std::string text = bytes_of(kSample + QString::fromUtf8("/Литература1.pbs"));
  std::size_t n = 0;
  for (std::size_t at = text.find(cp("база_лит(")); at != std::string::npos; at = text.find(cp("база_лит("), at + 1)) ++n;
  return n;
}

}  // namespace

class AppStartTests : public QtSuite {
  Q_OBJECT

 public:
  AppStartTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  // "Пустой каталог": the sample's kinds and categories and an empty catalogue file in the user's
  // own folder, nothing in the folder the program was started in, no error; the next start goes
  // straight to that catalogue.
  void firstStartWithAnEmptyCatalogue() {
    UserFolders user;
    WorkDir started({});
    StartAnswers answers({QString::fromUtf8("Пустой каталог")});
    QVERIFY(start(ЗапускПрограммы{}, [&] {
      QCOMPARE(canonical(QDir::currentPath()), canonical(user.catalogue()));
      QCOMPARE(база_лит.count(), std::size_t(0));
      QVERIFY(виды_лит.count() > 0 && категории_лит.count() > 0);
      QVERIFY(reported().empty());
    }));
    QCOMPARE(answers.questions().size(), 1);
    QVERIFY2(answers.questions()[0].contains(user.catalogue()), qPrintable(answers.questions()[0]));
    QVERIFY(answers.messages().isEmpty());
    const QStringList made = {QString::fromUtf8("ВидЛитер.pbs"), QString::fromUtf8("КатегЛитер.pbs"),
                              QString::fromUtf8("Литература1.pbs")};
    QCOMPARE(files_in(user.catalogue()), made);
    for (const QString& f : made.mid(0, 2)) QCOMPARE(bytes_of(user.catalogue() + "/" + f), bytes_of(kSample + "/" + f));
    QCOMPARE(bytes_of(user.catalogue() + "/" + made[2]), std::string());
    QVERIFY(files_in(started.dir()).isEmpty());
    QCOMPARE(последние_каталоги(), std::vector<std::string>{user.catalogue().toStdString()});

    QDir::setCurrent(started.dir());
    QVERIFY(start(ЗапускПрограммы{}, [&] { QCOMPARE(canonical(QDir::currentPath()), canonical(user.catalogue())); }));
    QCOMPARE(answers.questions().size(), 1);  // asked once only
  }

  // "Книги-образцы": every file of the sample data, byte for byte, and the books loaded.
  void firstStartWithTheSampleBooks() {
    UserFolders user;
    WorkDir started({});
    StartAnswers answers({QString::fromUtf8("Книги-образцы")});
    QVERIFY(start(ЗапускПрограммы{}, [&] {
      QCOMPARE(база_лит.count(), sample_records());
      QVERIFY(reported().empty());
    }));
    QCOMPARE(files_in(user.catalogue()), files_in(kSample));
    for (const QString& f : files_in(kSample)) QCOMPARE(bytes_of(user.catalogue() + "/" + f), bytes_of(kSample + "/" + f));
    QVERIFY(files_in(started.dir()).isEmpty());
  }

  // Cancel: no task window, nothing written anywhere, not even the user's folders.
  void cancellingTheFirstStartWritesNothing() {
    UserFolders user;
    WorkDir started({});
    StartAnswers answers({QString::fromUtf8("Отмена")});
    QVERIFY(!start(ЗапускПрограммы{}));
    QCOMPARE(answers.questions().size(), 1);
    QVERIFY(QDir(user.data()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    QVERIFY(QDir(user.config()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    QVERIFY(files_in(started.dir()).isEmpty());
  }

  // A folder that cannot be made is reported in Russian and the question comes again.
  void aCatalogueThatCannotBeMadeIsReported() {
    UserFolders user;
    QTemporaryFile not_a_folder;
    QVERIFY(not_a_folder.open());
    qputenv("XDG_DATA_HOME", not_a_folder.fileName().toUtf8());
    WorkDir started({});
    StartAnswers answers({QString::fromUtf8("Пустой каталог"), QString::fromUtf8("Отмена")});
    QVERIFY(!start(ЗапускПрограммы{}));
    QCOMPARE(answers.questions().size(), 2);
    QCOMPARE(answers.messages().size(), 1);
    QVERIFY2(answers.messages()[0].startsWith(QString::fromUtf8("Не удалось открыть папку каталога «") +
                                              not_a_folder.fileName() + "/foliarkh"),
             qPrintable(answers.messages()[0]));
    QVERIFY(files_in(started.dir()).isEmpty());
  }

  // Which folder: the one named; without one the current directory when it holds a catalogue,
  // else the last catalogue opened while it still holds one, else the user's own folder.
  void theFolderOfARun() {
    UserFolders user;
    WorkDir here(start_files(record_line(1, "Блок", "Стихи", "Поэзия", "Книга", 0, 0, "")));
    StartAnswers answers({});
    QVERIFY(start(ЗапускПрограммы{}, [&] {
      QCOMPARE(canonical(QDir::currentPath()), canonical(here.dir()));
      QCOMPARE(база_лит.count(), std::size_t(1));
    }));
    WorkDir named(start_files(record_line(1, "Блок", "Стихи", "Поэзия", "Книга", 0, 0, "") +
                              record_line(2, "Фет", "Стихи", "Поэзия", "Книга", 0, 0, "")));
    WorkDir elsewhere({});
    QVERIFY(start(ЗапускПрограммы{named.dir().toStdString()}, [&] {
      QCOMPARE(canonical(QDir::currentPath()), canonical(named.dir()));
      QCOMPARE(база_лит.count(), std::size_t(2));
    }));
    QDir::setCurrent(elsewhere.dir());
    QVERIFY(start(ЗапускПрограммы{}, [&] { QCOMPARE(canonical(QDir::currentPath()), canonical(named.dir())); }));
    QVERIFY(answers.questions().isEmpty());

    QVERIFY(QFile::remove(named.path("Литература1.pbs")));
    QDir::setCurrent(elsewhere.dir());
    QVERIFY(!start(ЗапускПрограммы{}));  // asked about the user's own folder, and cancelled
    QCOMPARE(answers.questions().size(), 1);
    QVERIFY(answers.questions()[0].contains(user.catalogue()));
    QVERIFY(!start(ЗапускПрограммы{named.dir().toStdString()}));  // a named folder without one: asked too
    QVERIFY(answers.questions()[1].contains(named.dir()));
    QVERIFY(!named.exists("Литература1.pbs") && !QFileInfo::exists(user.catalogue()));
  }

  // The program's command line, answered before any window: help and version on standard output
  // with exit code 0, a wrong command line on standard error with exit code 2; no display needed.
  void theCommandLine() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(var);
    QTemporaryFile file;
    QVERIFY(file.open());
    QString out, err;
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--help"}, env, out, err), 0);
    QVERIFY2(out.startsWith(QString::fromUtf8("Использование: foliarkh [ПАПКА]\n")) && err.isEmpty(), qPrintable(out + err));
    QVERIFY(out.contains(QString::fromUtf8("--version    показать версию и выйти")));
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--version"}, env, out, err), 0);
    QCOMPARE(out, QString::fromUtf8("Фолиарх " FOLIARKH_VERSION "\n"));
    const struct {
      QStringList args;
      const char* says;
    } wrong[] = {{{"--bogus"}, "неизвестный параметр «--bogus»"},
                 {{"/nonexistent/folder"}, "папка «/nonexistent/folder» не существует"},
                 {{file.fileName()}, "— не папка"},
                 {{"/", "/tmp"}, "лишний аргумент «/tmp»"}};
    for (const auto& w : wrong) {
      QCOMPARE(run_program(FOLIARKH_PROGRAM, w.args, env, out, err), 2);
      QVERIFY2(err.startsWith("foliarkh: ") && err.contains(QString::fromUtf8(w.says)) && out.isEmpty(), qPrintable(err));
    }
    // No display to show windows on: said in one line of the command line's words, exit 1, not
    // the toolkit's abort.
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {}, env, out, err), 1);
    QVERIFY2(err.startsWith(QString::fromUtf8("foliarkh: нет экрана")) && err.contains("DISPLAY") && out.isEmpty(),
             qPrintable(err));
  }

  // The program in its own process: a first start from no catalogue with the sample books, and a
  // cancelled first start (exit 0, nothing written).
  void theProgramsOwnStart() {
    UserFolders user;
    QTemporaryDir started;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FOLIARKH_DRIVER_ANSWER", QString::fromUtf8("Книги-образцы"));
    QString out, err;
    QCOMPARE(run_program(FOLIARKH_START_DRIVER, {}, env, out, err, started.path()), 0);
    QCOMPARE(out, QString("records=%1 folder=%2\n").arg(sample_records()).arg(user.catalogue()));
    QCOMPARE(files_in(user.catalogue()), files_in(kSample));
    QVERIFY(files_in(started.path()).isEmpty());

    env.insert("FOLIARKH_DRIVER_ANSWER", QString::fromUtf8("Отмена"));
    QVERIFY(QDir(user.catalogue()).removeRecursively());
    QCOMPARE(run_program(FOLIARKH_START_DRIVER, {started.path()}, env, out, err, started.path()), 0);
    QVERIFY2(out.isEmpty(), qPrintable(out + err));
    QVERIFY(files_in(started.path()).isEmpty());
    QVERIFY(!QFileInfo::exists(user.catalogue()));
  }

  // The program in its own process reads in the language of the locale it was started under: the
  // menus of the layer and the message file the runtime's start chose. The locale's name is
  // enough: ru_RU.KOI8-R is generated almost nowhere.
  void theProgramsOwnLanguage_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("menus");
    QTest::addColumn<QString>("messages");
    QTest::newRow("ru_RU.UTF-8") << "ru_RU.UTF-8" << QStringList{QString::fromUtf8("Окно"), QString::fromUtf8("Справка")}
                                 << "KERNOG_RU.ERR";
    QTest::newRow("ru_RU.KOI8-R") << "ru_RU.KOI8-R" << QStringList{QString::fromUtf8("Окно"), QString::fromUtf8("Справка")}
                                  << "KERNOG_RU.ERR";
    QTest::newRow("C.UTF-8") << "C.UTF-8" << QStringList{"Window", "Help"} << "KERNOG.ERR";
  }
  void theProgramsOwnLanguage() {
    QFETCH(QString, lang);
    QFETCH(QStringList, menus);
    QFETCH(QString, messages);
    UserFolders user;
    QTemporaryDir started;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LANG", lang);
    env.insert("FOLIARKH_DRIVER_TEXTS", "1");
    env.insert("FOLIARKH_DRIVER_ANSWER", QString::fromUtf8("Книги-образцы"));
    QString out, err;
    QCOMPARE(run_program(FOLIARKH_START_DRIVER, {}, env, out, err, started.path()), 0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    const QRegularExpression texts("^menus=(.*) messages=(.*)$");
    const QRegularExpressionMatch m = texts.match(lines[1]);
    QVERIFY2(m.hasMatch(), qPrintable(out + err));
    const QStringList bar = m.captured(1).split('|');
    QVERIFY2(bar.contains(menus[0]) && bar.contains(menus[1]), qPrintable(lines[1]));
    QCOMPARE(bar.contains("Window") || bar.contains("Help"), menus[0] == "Window");  // none beside the Russian
    QCOMPARE(m.captured(2), messages);
    // The command line is Russian under every locale: help, version and a wrong option.
    env.remove("FOLIARKH_DRIVER_TEXTS");
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"--version"}, QStringList{"--bogus"}}) {
      run_program(FOLIARKH_PROGRAM, args, env, out, err);
      const QRegularExpression cyrillic(QString::fromUtf8("[а-яА-ЯёЁ]"));
      for (const QString& line : (out + err).split('\n', Qt::SkipEmptyParts))
        QVERIFY2(line.contains(cyrillic), qPrintable(args.join(' ') + ": " + line));
    }
  }
};

QTEST_MAIN(AppStartTests)
#include "app_start_tests.moc"

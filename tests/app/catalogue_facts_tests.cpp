// The catalogue's tables and files without windows: the sample working directory loads and saves
// byte for byte, the lookups, the working tables' start values and special forms, the display
// words, the load failures, the copy kept of a start file that did not load, and the fuzzer's
// seed corpus.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

#include "app/recent_catalogues.h"
#include "app/session.h"
#include "consult_entry.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "qt_suite.h"
#include "runtime/codepage.h"
#include "runtime/err_report.h"
#include "runtime/fact_file.h"
#include "runtime/host_path.h"
#include "runtime/run.h"
#include "runtime/run_error.h"
#include "runtime/term_reader.h"
#include "test_support.h"

namespace {

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

QString host(std::string_view cp) { return QString::fromStdString(RUN_HostPath(cp)); }

QByteArray read_file(std::string_view cp) {
  QFile f(host(cp));
  if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return f.readAll();
}

void write_file(std::string_view cp, const QByteArray& bytes) {
  QFile f(host(cp));
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QByteArray cp(const std::string& s) { return QByteArray::fromStdString(s); }

std::vector<std::string> g_notices;
void record_notice(int code, int, std::uint32_t, const std::string& text) {
  if (code == 0) g_notices.push_back(text);
}

// A new run of the program in this process: its state reset, the notices recorded.
void new_run() {
  RUN_ResetParts();
  ERR_InstallUserRepFns(record_notice);
}

std::string record_line(int code, const char* author) {
  return "база_лит("_cps + std::to_string(code) + ",\"" + cp1251::from_utf8(author) +
         "\",\"T\",\"C\",\"K\",0,1,\"\")\r\n";
}

}  // namespace

class CatalogueFactsTests : public QtSuite {
  Q_OBJECT

 public:
  CatalogueFactsTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private:
  QTemporaryDir* dir_ = nullptr;
  QString old_dir_;

  // A working directory holding copies of the sample files.
  void copy_samples() {
    for (const char* name : {"ВидЛитер.pbs", "КатегЛитер.pbs", "Литература1.pbs"})
      QVERIFY(QFile::copy(QStringLiteral(FOLIARKH_SOURCE_DIR "/data/") + QString::fromUtf8(name),
                          QString::fromUtf8(name)));
  }

  void set_up() override {
    dir_ = new QTemporaryDir;
    old_dir_ = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    new_run();
    g_notices.clear();
  }
  void tear_down() override {
    QDir::setCurrent(old_dir_);
    delete dir_;
  }

 private slots:
  void sampleDataLoadsAndSavesByteForByte() {
    copy_samples();
    const QByteArray categories = read_file(файл_категорий), catalogue = read_file(файл_базы);
    загрузить_раб_базы();
    загрузить_основную_базу();
    QCOMPARE(виды_лит.count(), 5u);
    QCOMPARE(категории_лит.count(), 12u);
    QCOMPARE(база_лит.count(), 26u);
    const ЗаписьБазы first = *база_лит.first();
    QCOMPARE(first.код, 26);
    QCOMPARE(first.автор, "Белинский В. Г."_cps);
    QCOMPARE(*база_лит.first([](const ЗаписьБазы& з) { return з.код == 1; }),
             (ЗаписьБазы{1, "Пушкин А. С."_cps, "Евгений Онегин"_cps, "Поэзия"_cps, "Художественная"_cps, 0, 1,
                         "onegin.bmp"}));
    QCOMPARE(cp(RNT_SaveText(секция_видов)), read_file(файл_видов));

    QFile::remove(host(файл_категорий));
    QFile::remove(host(файл_базы));
    сохранить_категории();
    сохранить_основную_базу();
    QCOMPARE(read_file(файл_категорий), categories);
    QCOMPARE(read_file(файл_базы), catalogue);
    QVERIFY(g_notices.empty());
    QCOMPARE(QDir().entryList(QDir::Files).size(), 3);  // no copy was kept, no temporary left
  }

  void lookupsByCodeAndByContent() {
    write_file(файл_базы, cp(record_line(5, "Первый") + record_line(3, "Другой") + record_line(5, "Второй") +
                             record_line(7, "Первый")));
    загрузить_основную_базу();
    const auto five = база_лит.по_коду(5);
    QCOMPARE(five.size(), 2u);
    QCOMPARE(five[0].автор, cp1251::from_utf8("Первый"));
    QCOMPARE(five[1].автор, cp1251::from_utf8("Второй"));
    QVERIFY(база_лит.по_коду(4).empty());

    ЗаписьБазы probe = five[0];
    probe.код = 999;  // the code is not compared
    QCOMPARE(база_лит.по_содержанию(probe), (std::vector<std::int32_t>{5, 7}));
    for (auto change : std::vector<std::function<void(ЗаписьБазы&)>>{
             [](ЗаписьБазы& з) { з.автор = cp1251::from_utf8("первый"); },  // case counts
             [](ЗаписьБазы& з) { з.вид += ' '; },
             [](ЗаписьБазы& з) { з.переплет = 0; },
             [](ЗаписьБазы& з) { з.диск = 1; },
             [](ЗаписьБазы& з) { з.обложка = "x.bmp"; }}) {
      ЗаписьБазы other = probe;
      change(other);
      QVERIFY(база_лит.по_содержанию(other).empty());
    }
  }

  void workingTablesAndTheirForms() {
    QCOMPARE(списоккодов.get(), std::vector<std::int32_t>{0});
    QVERIFY(устрежимработысбазой(режим_ввода));
    QVERIFY(!устрежимработысбазой(режим_редактирования));
    QCOMPARE(имяфайлаобложки.get(), std::string());
    QCOMPARE(счетчикпрерывтаймера.get(), 0);
    QVERIFY(!выделенныеэлементыспискапросмотра.get());

    QVERIFY(!id_окнаобложки(false));
    id_окнаобложки.replace({Window{77}, false});
    QCOMPARE(*id_окнаобложки(false), Window{77});
    QVERIFY(!id_окнаобложки(true));
    QCOMPARE(caught_code([] { id_окнаобложки.assertz({Window{78}, true}); }), errcode::kSecondFact);
    id_окнаобложки.replace({Window{78}, true});
    QCOMPARE(*id_окнаобложки(true), Window{78});

    устрежимработысбазой.set(режим_редактирования);
    QVERIFY(устрежимработысбазой(режим_редактирования));
    QCOMPARE(устрежимработысбазой.count(), 1u);
    сбросить_рабочие_факты();
    QVERIFY(устрежимработысбазой(режим_ввода));
    QVERIFY(!id_окнаобложки(true));
  }

  // The program's reset leaves it as a new process finds it: the data sections empty, the working
  // tables at their start, no card font, nothing known of the start files and no list window
  // open.
  void theResetLeavesTheProgramAsANewProcessFindsIt() {
    copy_samples();
    загрузить_раб_базы();
    загрузить_основную_базу();
    списоккодов.set({26});
    шрифткарточки.assertz(Binary{{1, 2}});
    сеанс().окна_просмотра.push_back(Window{77});
    QVERIFY(состояние_файла(секция_базы).holds_memory);
    RUN_ResetParts();
    QCOMPARE(виды_лит.count() + категории_лит.count() + база_лит.count(), std::size_t(0));
    QCOMPARE(списоккодов.get(), std::vector<std::int32_t>{0});
    QVERIFY(!шрифткарточки.get());
    QVERIFY(!состояние_файла(секция_базы).holds_memory && !состояние_файла(секция_категорий).holds_memory);
    QVERIFY(сеанс().окна_просмотра.empty());
  }

  void displayWords() {
    QCOMPARE(*вид_переплета(0), "Мягкий"_cps);
    QCOMPARE(*вид_переплета(1), "Твёрдый"_cps);
    QCOMPARE(*наличиедиска(0), "Нет"_cps);
    QCOMPARE(*наличиедиска(1), "Есть"_cps);
    for (int v : {2, -1, 10})
      QVERIFY(!вид_переплета(v) && !наличиедиска(v));
  }

  void emptyFilesAndEmptySections() {
    write_file(файл_базы, "");
    загрузить_основную_базу();
    QVERIFY(база_лит.empty());
    QCOMPARE(списоккодов.get(), std::vector<std::int32_t>{0});
    // Deleting the last category writes a file with no lines.
    write_file(файл_видов, "");
    write_file(файл_категорий, cp("категории_лит(\"Проза\")\r\n"_cps));
    загрузить_раб_базы();
    QVERIFY(категории_лит.retract_first());
    сохранить_категории();
    QCOMPARE(read_file(файл_категорий), QByteArray());
    QVERIFY(g_notices.empty());
  }

  void cardFontSavedAsABinaryBlock() {
    Font f;
    for (std::size_t i = 0; i < f.bytes.size(); ++i) f.bytes[i] = static_cast<std::uint8_t>(i * 7);
    шрифткарточки.replace(шрифт_в_блок(f));
    сохранить_настройки();
    const QByteArray text = read_file(файл_настроек);
    QVERIFY(text.startsWith(cp("шрифткарточки($[00,07,0E,"_cps)));
    QVERIFY(text.endsWith("])\r\n"));
    RNT_RetractallVar(секция_настроек);
    RNT_Consult(секция_настроек, файл_настроек);
    QCOMPARE(*шрифт_из_блока(*шрифткарточки.get()), f);
    QVERIFY(!шрифт_из_блока(Binary{{1, 2}}));
  }

  void loadFailuresStopWhereTheyArise() {
    copy_samples();
    QFile::remove(host(файл_видов));
    QCOMPARE(caught_code(загрузить_раб_базы), errcode::host(ENOENT));
    QVERIFY(категории_лит.empty());  // never attempted

    QByteArray catalogue = read_file(файл_базы);
    const int second_line = catalogue.indexOf('\n') + 1;
    catalogue.insert(second_line, "\r\n");
    write_file(файл_базы, catalogue);
    QCOMPARE(caught_code(загрузить_основную_базу), errcode::kReadFunctor);
    QCOMPARE(база_лит.count(), 1u);
    QCOMPARE(RNT_ConsultErrorFilepos, std::size_t(second_line - 1));  // CR bytes are not counted
    QCOMPARE(RNT_ReadTermErrorLine(), std::string());
  }

  // A start file that failed to load, or whose load never ran, is copied aside before the first
  // save of its section; the user is told once; a later run never overwrites an earlier copy.
  void startFileThatDidNotLoadIsKeptBeforeTheFirstSave() {
    copy_samples();
    const QByteArray good_categories = read_file(файл_категорий);
    QByteArray bad = read_file(файл_базы);
    bad.append("база_лит(oops)\r\n"_cp.data());
    write_file(файл_базы, bad);

    for (int run = 1; run <= 2; ++run) {
      new_run();
      g_notices.clear();
      QFile::rename(host(файл_видов), "kinds.off");
      QCOMPARE(caught_code(загрузить_раб_базы), errcode::host(ENOENT));
      QFile::rename("kinds.off", host(файл_видов));
      QCOMPARE(caught_code(загрузить_основную_базу), errcode::kReadNumber);
      QCOMPARE(база_лит.count(), 26u);

      база_лит.asserta(ЗаписьБазы{27, "Новый"_cps, "T", "C", "K", 0, 0, ""});
      сохранить_основную_базу();
      const std::string copy = "Литература1.pbs.сохранено-"_cps + std::to_string(run);
      QCOMPARE(сохранённая_копия_базы(), copy);
      QCOMPARE(read_file(copy), bad);
      QCOMPARE(база_лит.count(), 27u);
      QCOMPARE(read_file(файл_базы), cp(RNT_SaveText(секция_базы)));

      категории_лит.assertz("Новая"_cps);
      сохранить_категории();
      QCOMPARE(read_file("КатегЛитер.pbs.сохранено-"_cps + std::to_string(run)), good_categories);
      QCOMPARE(g_notices.size(), 2u);
      QVERIFY(g_notices[0].find(copy) != std::string::npos);

      // Later saves of the run keep no more copies and say nothing more.
      сохранить_основную_базу();
      сохранить_категории();
      QCOMPARE(g_notices.size(), 2u);
      write_file(файл_базы, bad);
      write_file(файл_категорий, good_categories);
    }
    QCOMPARE(QDir().entryList(QDir::Files).size(), 3 + 4);
  }

  // A start file that exists but cannot be read cannot be kept, so its section is not saved: the
  // user is told once, with the file's name and the host's reason. A link to nothing holds
  // nothing to keep: its section is saved.
  void startFileThatCannotBeReadIsToldOnce() {
    copy_samples();
    const QByteArray before = read_file(файл_базы);
    QFile::setPermissions(host(файл_базы), QFile::WriteOwner);
    {
      test_support::FilePermissionsHold hold;
      if (!hold.holds()) QSKIP("file permissions cannot be made to hold for this user");
      QCOMPARE(caught_code(загрузить_основную_базу), errcode::host(EACCES));
      база_лит.asserta(ЗаписьБазы{1, "A", "T", "C", "K", 0, 0, ""});
      QCOMPARE(caught_code(сохранить_основную_базу), errcode::host(EACCES));
      QCOMPARE(caught_code(сохранить_основную_базу), errcode::host(EACCES));
    }
    QCOMPARE(g_notices.size(), 1u);
    QVERIFY(g_notices[0].find("«Литература1.pbs»"_cps) != std::string::npos);
    QVERIFY(g_notices[0].find("нет прав доступа"_cps) != std::string::npos);
    QFile::setPermissions(host(файл_базы), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(read_file(файл_базы), before);

    new_run();
    QFile::remove(host(файл_базы));
    QVERIFY(QFile::link("nowhere.pbs", host(файл_базы)));
    QCOMPARE(caught_code(загрузить_основную_базу), errcode::host(ENOENT));
    база_лит.asserta(ЗаписьБазы{1, "A", "T", "C", "K", 0, 0, ""});
    сохранить_основную_базу();
    QCOMPARE(сохранённая_копия_базы(), std::string());
    QCOMPARE(read_file(файл_базы), cp(RNT_SaveText(секция_базы)));
    QCOMPARE(g_notices.size(), 1u);
  }

  void aSaveThatCannotWriteKeepsMemoryAndRaises() {
    write_file(файл_базы, "");
    загрузить_основную_базу();
    база_лит.asserta(ЗаписьБазы{1, "A", "T", "C", "K", 0, 0, ""});
    QFile::remove(host(файл_базы));
    QDir().mkdir(host(файл_базы));  // a directory in the file's place
    QVERIFY(caught_code(сохранить_основную_базу) > errcode::kHostBase);
    QCOMPARE(база_лит.count(), 1u);
  }

  // The catalogues opened last: newest first, each once, five at most, kept across runs in the
  // user's configuration folder; a folder that cannot hold the list changes nothing.
  void recentCataloguesNewestFirstFiveAtMost() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QVERIFY(последние_каталоги().empty());
    for (const char* f : {"/a", "/b", "/c/", "/d", "/e", "/f"}) запомнить_каталог(f);
    запомнить_каталог("/d/../b");  // the same folder, written another way
    QCOMPARE(последние_каталоги(), (std::vector<std::string>{"/b", "/f", "/e", "/d", "/c"}));
    QCOMPARE(QString::fromStdString(файл_последних_каталогов()), config.path() + "/foliarkh/каталоги.txt");
    QFile::remove(config.path() + "/foliarkh/каталоги.txt");
    QVERIFY(QDir(config.path() + "/foliarkh").removeRecursively());
    QVERIFY(QFile(config.path() + "/foliarkh").open(QIODevice::WriteOnly));  // a file where the folder goes
    запомнить_каталог("/g");
    QVERIFY(последние_каталоги().empty());
    qunsetenv("XDG_CONFIG_HOME");
  }

  // Every seed of the consult fuzzer runs clean through the fuzzer's own step.
  void fuzzSeedCorpus() {
    int seeds = 0;
    for (QDirIterator it(QStringLiteral(FOLIARKH_SOURCE_DIR "/fuzz/corpus_consult"), QDir::Files); it.hasNext();) {
      QFile f(it.next());
      QVERIFY(f.open(QIODevice::ReadOnly));
      const QByteArray bytes = f.readAll();
      fuzz_consult::run_one(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
      ++seeds;
    }
    QVERIFY(seeds >= 10);
    QVERIFY(база_лит.empty());
  }
};

QTEST_GUILESS_MAIN(CatalogueFactsTests)
#include "catalogue_facts_tests.moc"

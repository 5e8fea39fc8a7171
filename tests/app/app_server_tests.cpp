// The program on a server catalogue (a private PostgreSQL server): the command line moving a folder
// catalogue there and refusing bad addresses, a start with --server naming the catalogue in the
// title and remembering it without its password, another desk's change shown within a second, a
// read-only role's title and greyed commands, and a lost connection greying them until the
// program has connected again by itself.
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "app/catalogue_changes.h"
#include "app/cover_window.h"
#include "app/recent_catalogues.h"
#include "app/server_catalogue.h"
#include "app_test_support.h"
#include "app_window_records.h"
#include "layer_test_access.h"
#include "pg_test_server.h"
#include "server/server_catalogue.h"
#include "resources/ids.h"

using namespace app_test;
using test_support::PgTestServer;

namespace {

const QString kSample = QStringLiteral(FOLIARKH_SOURCE_DIR "/data");
const std::string kPassword = "secret-1";

bool item_enabled(Window win, int id) {
  QAction* a = layer_test::menu_action(win, id);
  return a && a->isEnabled();
}

// Answers every message box with OK while it lives, noting its text.
class Messages {
 public:
  Messages() {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isVisible()) {
        texts_ << box->text();
        box->button(QMessageBox::Ok)->click();
      }
    });
    poll_.start(20);
  }
  bool saw(const char* words) const {
    for (const QString& t : texts_)
      if (t.contains(QString::fromUtf8(words))) return true;
    return false;
  }

 private:
  QStringList texts_;
  QTimer poll_;
};

}  // namespace

class AppServerTests : public QtSuite {
  Q_OBJECT

 public:
  AppServerTests() : QtSuite(зарегистрировать_состояние_программы) {}

 private slots:
  void initTestCase() {
    PgTestServer::Options options;
    options.passwords = true;
    server_ = std::make_unique<PgTestServer>(options);
    server_->create_role("librarian", kPassword);
    server_->create_role("reader", kPassword);
    // The server catalogues' folders of cover pictures: the tests' own.
    qputenv("XDG_CACHE_HOME", cache_.path().toUtf8());
  }
  void cleanupTestCase() {
    задать_хранилище_каталога(nullptr);  // the program's connection goes before its server
    server_.reset();
  }
  void init() {
    if (!server_->running()) server_->start();
    database_ = "library" + std::to_string(++number_);
    server_->create_database(database_, "librarian");
    server_->grant_read_only("reader", database_);
  }

  // --copy-to copies the sample catalogue once and refuses a second time; --server --check reads
  // it; a wrong password and a non-URI are refused with their messages and exit codes.
  void commandLineMovesACatalogueAndRefusesBadAddresses() {
    QString out, err;
    const QString folder = copy_sample();
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--copy-to", uri("librarian"), folder}, env(), out, err), 0);
    QVERIFY2(out.contains(QString::fromUtf8("Каталог перенесён на сервер")), qPrintable(out + err));
    QCOMPARE(sql("SELECT count(*) FROM records"), std::to_string(sample_records()) + "\n");
    // The covers' pictures went with them, byte for byte.
    QCOMPARE(sql("SELECT string_agg(name, ',' ORDER BY name) FROM covers"),
             std::string("geroy.bmp,mertvye_dushi.bmp,onegin.bmp,vishnevyi_sad.bmp,voyna_i_mir.bmp\n"));
    QCOMPARE(sql("SELECT md5(picture) FROM covers WHERE name = 'onegin.bmp'"),
             QCryptographicHash::hash(QByteArray::fromStdString(bytes_of(kSample + "/onegin.bmp")), QCryptographicHash::Md5)
                     .toHex()
                     .toStdString() +
                 "\n");
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--copy-to", uri("librarian"), folder}, env(), out, err), 1);
    QVERIFY2(err.contains(QString::fromUtf8("уже есть данные")), qPrintable(err));
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--server", uri("librarian"), "--check"}, env(), out, err), 0);
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--server", uri("librarian", "wrong"), "--check"}, env(), out, err), 1);
    QVERIFY2(err.contains(QString::fromUtf8("не принял пароль")), qPrintable(err));
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--server", "library@server", "--check"}, env(), out, err), 2);
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--server", uri("librarian"), folder}, env(), out, err), 2);
  }

  // The title names the database and server; the last catalogues hold the address without the
  // password; another desk's change is shown within a second; a change made here reaches the server.
  void aServerStartShowsItAndFollowsOtherDesks() {
    Messages messages;
    QVERIFY(start_on_server("librarian", [&](Window task) {
      QCOMPARE(QString::fromStdString(cp1251::to_utf8(win_GetText(task))),
               QString::fromUtf8("Фолиарх — ") + QString::fromStdString(database_) + "@localhost");
      QCOMPARE(база_лит.count(), sample_records());
      QVERIFY(item_enabled(task, cmd_ВводДанных));
      const std::vector<std::string> last = последние_каталоги();
      QVERIFY(!last.empty());
      QVERIFY(адрес_сервера(last.front()));
      QVERIFY(last.front().find(kPassword) == std::string::npos);

      sql("BEGIN; INSERT INTO records VALUES (900, 'Другой', 'С другого стола', '', '', 0, 0, '', -5);"
          "UPDATE sections SET version = version + 1 WHERE file = 'Литература1.pbs';"
          "NOTIFY foliarkh_catalogue; COMMIT;");
      QElapsedTimer shown;
      shown.start();
      QVERIFY(wait_until([] { return база_лит.count() == sample_records() + 1; }, 1000));
      qInfo("another desk's change shown after %lld ms", static_cast<long long>(shown.elapsed()));

      QVERIFY(применить(ВвестиЗапись{{0, cp("А"), cp("С этого стола"), {}, {}, 0, 0, {}}}).сделано());
      QCOMPARE(sql("SELECT count(*) FROM records WHERE title = 'С этого стола'"), std::string("1\n"));
    }));
  }

  // "Подключиться к серверу…": a wrong password brings the dialog back with the reason under the
  // fields; the right one opens the server catalogue in place of the folder's.
  void theConnectDialogAsksAgainUntilItConnects() {
    move_sample();
    WorkDir dir(start_files(kТриЗаписи));
    QString reason;
    const auto fill = [this](const std::string& password) { return fill_server_dialog(password); };
    run_app([&](Window task) {
      QCOMPARE(база_лит.count(), std::size_t(3));
      on_next_modal(fill("wrong"));
      on_next_modal([&, right = fill(kPassword)](QWidget* d) {
        reason = qs(win_GetText(win_GetCtlHandle(layer_test::window_of(d), ид_ПричинаСервера)));
        right(d);
      });
      command(task, cmd_ПодключитьсяКСерверу);
      QVERIFY2(reason.contains(QString::fromUtf8("не принял пароль")), qPrintable(reason));
      QCOMPARE(qs(win_GetText(task)), QString::fromUtf8("Фолиарх — ") + QString::fromStdString(database_) + "@localhost");
      QCOMPARE(база_лит.count(), sample_records());
    });
  }

  // "Резервная копия…" of a server catalogue writes the folder form: the catalogue's files, which
  // hold what the server holds.
  void aBackupOfAServerCatalogueIsAFolderCatalogue() {
    QTemporaryDir target;
    QVERIFY(start_on_server("librarian", [&](Window task) {
      on_next_modal([&](QWidget* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        QVERIFY(fd);
        fd->findChild<QLineEdit*>("fileNameEdit")->setText(target.path());
        QMetaObject::invokeMethod(fd, "accept", Qt::DirectConnection);
      });
      QString text;
      on_next_modal([&](QWidget* box) {
        text = label_texts(box);
        click(box, "OK");
      });
      command(task, cmd_РезервнаяКопия);
      QVERIFY2(text.contains(QString::fromUtf8("Резервная копия каталога сохранена")), qPrintable(text));
    }));
    const QStringList copies = QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(copies.size(), 1);
    const QString copy = target.path() + "/" + copies.front();
    QCOMPARE(bytes_of(copy + QString::fromUtf8("/Литература1.pbs")), bytes_of(kSample + QString::fromUtf8("/Литература1.pbs")));
    QCOMPARE(bytes_of(copy + QString::fromUtf8("/КатегЛитер.pbs")), bytes_of(kSample + QString::fromUtf8("/КатегЛитер.pbs")));
    // The pictures of the covers beside them, as the server holds them.
    for (const QString& f : QDir(kSample).entryList({"*.bmp"}, QDir::Files)) {
      QVERIFY2(QFile::exists(copy + "/" + f), qPrintable(f));
      QCOMPARE(bytes_of(copy + "/" + f), bytes_of(kSample + "/" + f));
    }
  }

  // A desk shows a server catalogue's covers from its folder of pictures in the user's cache, and
  // a picture it takes there goes to the server with the record that names it.
  void aServerCataloguesCoversAreShownFromTheUsersCache() {
    QVERIFY(start_on_server("librarian", [&](Window task) {
      (void)task;
      const auto адрес = разобрать_адрес(uri("librarian").toStdString());
      QVERIFY(адрес);
      const QString folder = QString::fromStdString(папка_обложек_сервера(*адрес));
      QVERIFY2(folder.startsWith(cache_.path()), qPrintable(folder));
      QCOMPARE(QDir::currentPath(), QDir(folder).canonicalPath());
      QCOMPARE(bytes_of(folder + "/onegin.bmp"), bytes_of(kSample + "/onegin.bmp"));
      auto shown = загрузить_обложку("onegin.bmp");
      QVERIFY(std::holds_alternative<Picture>(shown));
      pict_Destroy(std::get<Picture>(shown));

      QFile::copy(kSample + "/geroy.bmp", folder + "/new-cover.bmp");
      sql("DELETE FROM covers WHERE name = 'new-cover.bmp'");
      QVERIFY(применить(ВвестиЗапись{{0, cp("А"), cp("С новой обложкой"), {}, {}, 0, 0, "new-cover.bmp"}}).сделано());
      QCOMPARE(sql("SELECT length(picture) FROM covers WHERE name = 'new-cover.bmp'"),
               std::to_string(bytes_of(kSample + "/geroy.bmp").size()) + "\n");
    }));
  }

  // The server stops at once while a change waits inside its transaction (another session holds
  // the table it writes last): none of the change is stored, the program says so with memory as
  // the server holds it, and connects again by itself once the server is back.
  void aServerStoppedInsideAChangeStoresNoneOfIt() {
    Messages messages;
    QVERIFY(start_on_server("librarian", [&](Window task) {
      const std::string versions = sql("SELECT file, version FROM sections ORDER BY file");
      const std::size_t records = база_лит.count();
      // The private server runs without durability (commits are not waited for): what was stored
      // before the change is put on disk first, so that the stop loses only what was not committed.
      sql("CHECKPOINT");
      std::thread holder([this] {
        try {
          sql("BEGIN; LOCK TABLE sections IN SHARE MODE; SELECT pg_sleep(60);");
        } catch (const std::exception&) {  // ended by the server's stop
        }
      });
      const auto holding = [this] {
        return sql("SELECT count(*) FROM pg_locks l JOIN pg_class c ON c.oid = l.relation "
                   "WHERE c.relname = 'sections' AND l.mode = 'ShareLock' AND l.granted") == "1\n";
      };
      if (!wait_until(holding, 10000)) {
        server_->stop(PgTestServer::StopMode::immediate);  // ends the holder's session
        holder.join();
        QFAIL("the other session did not take its lock");
      }
      std::thread stopper([this] {
        for (int i = 0; i < 400 && sql("SELECT count(*) FROM pg_locks WHERE NOT granted") == "0\n"; ++i)
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
        server_->stop(PgTestServer::StopMode::immediate);
      });
      const bool done = изменить(ВвестиЗапись{{0, cp("А"), cp("Прерванная"), {}, {}, 0, 0, {}}});
      stopper.join();
      holder.join();
      QVERIFY(!done);
      QVERIFY(messages.saw("Изменение не сохранено: связь с сервером каталога прервалась. Данные остались как были."));
      QCOMPARE(база_лит.count(), records);
      QVERIFY(wait_until([&] { return messages.saw("Нет связи с сервером каталога"); }, 4000));
      QVERIFY(!item_enabled(task, cmd_ВводДанных));
      server_->start();
      QVERIFY(wait_until([&] { return item_enabled(task, cmd_ВводДанных); }, 4000));
      QVERIFY(wait_until([&] { return messages.saw("Связь с сервером каталога восстановлена"); }, 3000));
      QCOMPARE(sql("SELECT count(*) FROM records WHERE title = 'Прерванная'"), std::string("0\n"));
      QCOMPARE(QString::fromStdString(sql("SELECT count(*) FROM records")), QString::number(records) + "\n");
      QCOMPARE(QString::fromStdString(sql("SELECT file, version FROM sections ORDER BY file")), QString::fromStdString(versions));
      QVERIFY(изменить(ВвестиЗапись{{0, cp("А"), cp("После перезапуска"), {}, {}, 0, 0, {}}}));
      QCOMPARE(sql("SELECT count(*) FROM records WHERE title = 'После перезапуска'"), std::string("1\n"));
    }));
  }

  // The connection drops while a record is typed in the data-entry dialog: OK is refused with the
  // reason, the dialog stays with every field as typed, and once the server is back OK stores the
  // record once.
  void aRecordBeingEnteredWhenTheConnectionDropsStaysInItsDialog() {
    Messages messages;
    QVERIFY(start_on_server("librarian", [&](Window task) {
      bool drove = false;
      in_entry(task, [&](Window dlg) {
        win_SetText(win_GetCtlHandle(dlg, ид_Автор), cp("Блок А. А."));
        win_SetText(win_GetCtlHandle(dlg, ид_Наименование), cp("Незнакомка"));
        server_->stop();
        press(dlg, кнопка_OK);
        QVERIFY(wait_until([&] { return messages.saw("Изменение не сохранено: сервер не отвечает."); }, 5000));
        QVERIFY(win_GetType(dlg) != wk_NotAWindow);
        QCOMPARE(qs(win_GetText(win_GetCtlHandle(dlg, ид_Автор))), QString::fromUtf8("Блок А. А."));
        QCOMPARE(qs(win_GetText(win_GetCtlHandle(dlg, ид_Наименование))), QString::fromUtf8("Незнакомка"));
        server_->start();
        press(dlg, кнопка_OK);
        QVERIFY(wait_until([&] { return sql("SELECT count(*) FROM records WHERE title = 'Незнакомка'") == "1\n"; }));
        drove = true;
      });
      QVERIFY(drove);
      QCOMPARE(sql("SELECT count(*) FROM records WHERE title = 'Незнакомка'"), std::string("1\n"));
      const auto all = база_лит.all();
      QCOMPARE(std::count_if(all.begin(), all.end(), [](const ЗаписьБазы& з) { return з.наименование == cp("Незнакомка"); }),
               std::ptrdiff_t(1));
    }));
  }

  // "Перенести каталог на сервер…" copies the folder catalogue open, with the pictures of its
  // covers, into the empty database the dialog names and says so; the folder stays the catalogue.
  void theMoveCommandCarriesTheFolderCatalogueWithItsPictures() {
    std::map<std::string, std::string> files =
        start_files(record_line(2, "Гоголь", "Нос", "Проза", "Книга", 0, 1, "nos.bmp") +
                    record_line(1, "Гоголь", "Шинель", "Проза", "Книга", 0, 1, ""));
    files["nos.bmp"] = bitmap(5, 4);
    WorkDir dir(files);
    QString said;
    run_app([&](Window task) {
      on_next_modal(fill_server_dialog(kPassword));
      read_next_message(said);
      command(task, cmd_ПеренестиНаСервер);
      QVERIFY2(said.contains(QString::fromUtf8("Каталог перенесён на сервер")), qPrintable(said));
      QVERIFY(!сервер_каталога());
    });
    QCOMPARE(sql("SELECT string_agg(title, ',' ORDER BY place) FROM records"), std::string("Нос,Шинель\n"));
    QCOMPARE(sql("SELECT name, length(picture) FROM covers"), "nos.bmp|" + std::to_string(bitmap(5, 4).size()) + "\n");
  }

  // A role that may only read: "только чтение" in the title, the changing commands greyed, the
  // others not.
  void aReadOnlyRoleGreysTheChangingCommands() {
    QVERIFY(start_on_server("reader", [&](Window task) {
      QVERIFY(QString::fromStdString(cp1251::to_utf8(win_GetText(task))).endsWith(QString::fromUtf8("только чтение")));
      for (int id : std::initializer_list<int>{cmd_ВводДанных, cmd_Импорт, cmd_КатегВвести, cmd_КатегУдалить, cmd_Настройки})
        QVERIFY2(!item_enabled(task, id), qPrintable(QString::number(id)));
      for (int id : std::initializer_list<int>{cmd_УдалРедактВывод, cmd_Экспорт, cmd_ПечатьКаталога, cmd_ПодключитьсяКСерверу})
        QVERIFY2(item_enabled(task, id), qPrintable(QString::number(id)));
    }));
  }

  // The server stops: told, the changing commands greyed; it comes back: the program connects by
  // itself, tells so, and the commands come back.
  void aLostConnectionGreysTheCommandsUntilItIsBack() {
    Messages messages;
    QVERIFY(start_on_server("librarian", [&](Window task) {
      QVERIFY(item_enabled(task, cmd_ВводДанных));
      server_->stop();
      QVERIFY(wait_until([&] { return !item_enabled(task, cmd_ВводДанных); }, 4000));
      QVERIFY(wait_until([&] { return messages.saw("Нет связи с сервером каталога"); }, 3000));
      server_->start();
      QVERIFY(wait_until([&] { return item_enabled(task, cmd_ВводДанных); }, 4000));
      QVERIFY(wait_until([&] { return messages.saw("Связь с сервером каталога восстановлена"); }, 3000));
      QVERIFY(применить(ВвестиЗапись{{0, cp("А"), cp("После перерыва"), {}, {}, 0, 0, {}}}).сделано());
    }));
  }

 private:
  QString uri(const std::string& user, const std::string& password = kPassword) const {
    std::string u = server_->uri(database_, user);
    return QString::fromStdString(u.replace(u.find('@'), 1, ":" + password + "@"));
  }
  // Fills the server dialog with this test's server and database, the user "librarian" and
  // `password`, and presses OK.
  std::function<void(QWidget*)> fill_server_dialog(const std::string& password) const {
    return [this, password](QWidget* d) {
      const Window dlg = layer_test::window_of(d);
      win_SetText(win_GetCtlHandle(dlg, ид_Сервер), server_->socket_dir());
      win_SetText(win_GetCtlHandle(dlg, ид_Порт), std::to_string(server_->port()));
      win_SetText(win_GetCtlHandle(dlg, ид_База), database_);
      win_SetText(win_GetCtlHandle(dlg, ид_Пользователь), "librarian");
      win_SetText(win_GetCtlHandle(dlg, ид_Пароль), password);
      click(d, "OK");
    };
  }
  static QProcessEnvironment env() {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("XDG_CONFIG_HOME", kTestConfigFolder);
    return e;
  }
  std::string sql(const std::string& statements) const { return server_->sql(statements, database_); }
  QString copy_sample() {
    folders_.push_back(std::make_unique<QTemporaryDir>());
    const QString folder = folders_.back()->path();
    for (const QString& f : QDir(kSample).entryList({"*.pbs", "*.bmp"}, QDir::Files)) QFile::copy(kSample + "/" + f, folder + "/" + f);
    return folder;
  }
  // The sample catalogue moved onto the server, then the program started on it as `user`
  // (--server); true when the task window ran `body`.
  bool start_on_server(const std::string& user, const std::function<void(Window)>& body) {
    move_sample();
    WorkDir dir({});
    bool ran = false;
    run_app(
        [&](Window task) {
          ran = true;
          body(task);
        },
        true, ЗапускПрограммы{.папка = {}, .сервер = uri(user).toStdString()});
    return ran;
  }
  void move_sample() {
    QString out, err;
    QCOMPARE(run_program(FOLIARKH_PROGRAM, {"--copy-to", uri("librarian"), copy_sample()}, env(), out, err), 0);
  }
  static std::size_t sample_records() {
    const std::string text = bytes_of(kSample + QString::fromUtf8("/Литература1.pbs"));
    std::size_t n = 0;
    for (std::size_t at = text.find(cp("база_лит(")); at != std::string::npos; at = text.find(cp("база_лит("), at + 1))
      ++n;
    return n;
  }

  std::unique_ptr<PgTestServer> server_;
  QTemporaryDir cache_;
  std::string database_;
  int number_ = 0;
  std::vector<std::unique_ptr<QTemporaryDir>> folders_;
};

QTEST_MAIN(AppServerTests)
#include "app_server_tests.moc"

// The server storage against a private PostgreSQL server: the address read from a URI; the schema
// made once in an empty database; every section of the section list stored and read back as it
// was; the change path on the server (order, codes from the database, undo); a change whose
// transaction fails, and a server that stops, store nothing and keep memory; the connections
// refused with their messages (a wrong password, an unknown host or database, a database holding
// other tables, a newer schema); a read-only role; two desk processes writing at once; a desk
// killed holding the catalogue; another desk's change heard through the notification.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/change_path.h"
#include "core/core_part.h"
#include "core/record_codes.h"
#include "pg_test_server.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/run.h"
#include "server/server_catalogue.h"
#include "worker_process.h"

void KERNOG_Goal() {}

namespace {

using test_support::PgTestServer;
using test_support::WorkerProcess;

const std::string kWriter = "writer";
const std::string kReader = "reader";
const std::string kPassword = "пароль-1";

std::vector<std::string> строки(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// A port of the loopback address where nothing listens (taken and given back at once).
int свободный_порт() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t l = sizeof a;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &l) == 0)
    port = ntohs(a.sin_port);
  ::close(fd);
  return port;
}

// Every refused connection against `server`, whose database `база` belongs to kWriter: each with
// its words, and nothing written to the databases refused.
void отказы_подключения(const PgTestServer& server, const std::string& база) {
  server.create_database(база + "_other", kWriter);
  server.sql("CREATE TABLE invoices (id integer)", база + "_other");
  server.create_database(база + "_newer", kWriter);
  const auto адрес = [&](const std::string& имя_базы) {
    АдресСервера а = *разобрать_адрес(server.uri(имя_базы, kWriter));
    а.пароль = kPassword;
    return а;
  };
  {
    ОткрытиеСервера о = открыть_сервер(адрес(база + "_newer"));
    ASSERT_TRUE(о.хранилище) << cp1251::to_utf8(о.ошибка);
  }
  server.sql("UPDATE foliarkh_schema SET version = 99", база + "_newer");

  struct Case {
    const char* what;
    std::function<void(АдресСервера&)> change;
    const char* words;
  };
  const int порт = свободный_порт();
  const Case cases[] = {
      {"a wrong password", [](АдресСервера& а) { а.пароль = "не тот"; }, "не принял пароль"},
      {"no password", [](АдресСервера& а) { а.пароль.clear(); }, "требует пароль"},
      {"an unknown user", [](АдресСервера& а) { а.пользователь = "nobody_here"; }, "не принял пароль"},
      {"an unknown host", [](АдресСервера& а) { а.хост = "no-such-host.invalid"; }, "не найден"},
      {"no server at the socket", [](АдресСервера& а) { а.порт += 1; }, "сервер не отвечает"},
      {"no server at a port of this computer",
       [порт](АдресСервера& а) {
         а.хост = "127.0.0.1";
         а.порт = порт;
       },
       "сервер не отвечает"},
      {"an unknown database", [&](АдресСервера& а) { а.база = "no_such_catalogue"; }, "нет базы данных «no_such_catalogue»"},
      {"a database holding other tables", [&](АдресСервера& а) { а.база = база + "_other"; }, "другие таблицы"},
      {"a newer schema", [&](АдресСервера& а) { а.база = база + "_newer"; }, "более новой версией"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    АдресСервера а = адрес(база);
    c.change(а);
    const ОткрытиеСервера о = открыть_сервер(а);
    EXPECT_FALSE(о.хранилище);
    const std::string message = cp1251::to_utf8(о.ошибка);
    EXPECT_NE(message.find(c.words), std::string::npos) << message;
  }
  EXPECT_EQ(server.sql("SELECT string_agg(tablename, ',') FROM pg_tables WHERE schemaname = 'public'", база + "_other"),
            "invoices\n");
  EXPECT_EQ(server.sql("SELECT version FROM foliarkh_schema", база + "_newer"), "99\n");
}

// A socket between desks and the server that passes everything on; asked to, it cuts the next
// connection that commits right after the server has answered the COMMIT, so that the desk never
// hears the answer. Its folder stands for the server's socket folder in an address.
class Перехватчик {
 public:
  Перехватчик(const std::string& server_socket, int port) : server_(server_socket + "/.s.PGSQL." + std::to_string(port)) {
    char шаблон[] = "/tmp/foliarkh-proxy-XXXXXX";
    if (::mkdtemp(шаблон)) dir_ = шаблон;
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a = unix_address(dir_ + "/.s.PGSQL." + std::to_string(port));
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener_, 8) != 0) {
      ::close(listener_);
      listener_ = -1;
    }
    if (listener_ >= 0) accepting_ = std::thread([this] { принимать(); });
  }
  ~Перехватчик() {
    stop_ = true;
    if (accepting_.joinable()) accepting_.join();
    for (std::thread& t : passing_) t.join();
    if (listener_ >= 0) ::close(listener_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  bool ready() const { return listener_ >= 0; }
  const std::string& dir() const { return dir_; }
  // The next COMMIT's answer is kept from its desk, and that connection cut.
  void cut_after_commit() { cut_ = true; }
  bool cut_done() const { return done_; }

 private:
  static sockaddr_un unix_address(const std::string& path) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), a.sun_path);
    return a;
  }
  void принимать() {
    while (!stop_) {
      pollfd p{listener_, POLLIN, 0};
      if (::poll(&p, 1, 50) != 1) continue;
      const int desk = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (desk < 0) continue;
      const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_un a = unix_address(server_);
      if (::connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(desk);
        ::close(server);
        continue;
      }
      passing_.emplace_back([this, desk, server] { передавать(desk, server); });
    }
  }
  // Passes bytes both ways until either side closes, or until the answer to a COMMIT to cut.
  void передавать(int desk, int server) {
    bool commit_sent = false;
    char buf[65536];
    while (!stop_) {
      pollfd p[2] = {{desk, POLLIN, 0}, {server, POLLIN, 0}};
      if (::poll(p, 2, 50) <= 0) continue;
      if (p[0].revents) {
        const ssize_t n = ::read(desk, buf, sizeof buf);
        if (n <= 0) break;
        if (cut_ && std::string_view(buf, static_cast<std::size_t>(n)).find(std::string_view("COMMIT\0", 7)) !=
                        std::string_view::npos)
          commit_sent = true;
        if (::write(server, buf, static_cast<std::size_t>(n)) != n) break;
      }
      if (p[1].revents) {
        const ssize_t n = ::read(server, buf, sizeof buf);
        if (n <= 0) break;
        if (commit_sent) {  // the server has committed and answers: the desk never hears it
          cut_ = false;
          done_ = true;
          break;
        }
        if (::write(desk, buf, static_cast<std::size_t>(n)) != n) break;
      }
    }
    ::close(desk);
    ::close(server);
  }

  std::string server_;
  std::string dir_;
  int listener_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<bool> cut_{false};
  std::atomic<bool> done_{false};
  std::thread accepting_;
  std::vector<std::thread> passing_;
};

class ServerStorage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    PgTestServer::Options options;
    options.passwords = true;
    server_ = new PgTestServer(options);
    server_->create_role(kWriter, kPassword);
    server_->create_role(kReader, kPassword);
  }
  static void TearDownTestSuite() {
    core_RegisterPart();
    RUN_ResetParts();  // the storage's connection goes before its server
    delete server_;
    server_ = nullptr;
  }

  void SetUp() override {
    core_RegisterPart();
    RUN_ResetParts();
    if (!server_->running()) server_->start();
    база_ = "catalogue" + std::to_string(++номер_);
    server_->create_database(база_, kWriter);
    server_->grant_read_only(kReader, база_);
  }

  АдресСервера адрес(const std::string& user = kWriter, const std::string& password = kPassword) const {
    АдресСервера а = *разобрать_адрес(server_->uri(база_, user));
    а.пароль = password;
    return а;
  }
  std::string uri_с_паролем(const std::string& user = kWriter) const {
    std::string u = server_->uri(база_, user);
    return u.replace(u.find('@'), 1, ":%D0%BF%D0%B0%D1%80%D0%BE%D0%BB%D1%8C-1@");
  }

  // Opens the server's catalogue as the program does: the storage behind the seam (its folder of
  // cover pictures `обложки` when one is given), the sections loaded.
  ХранилищеСервера& открыть(const std::string& user = kWriter, const QString& обложки = {}) {
    return открыть_по(адрес(user), обложки);
  }
  ХранилищеСервера& открыть_по(const АдресСервера& а, const QString& обложки = {}) {
    ОткрытиеСервера о = открыть_сервер(а);
    EXPECT_TRUE(о.хранилище) << cp1251::to_utf8(о.ошибка);
    if (!о.хранилище) throw std::runtime_error("no connection");
    ХранилищеСервера& с = *о.хранилище;
    if (!обложки.isEmpty()) с.задать_папку_обложек(обложки.toStdString());
    задать_хранилище_каталога(std::move(о.хранилище));
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
    получитьсписоккодов();
    return с;
  }
  // A catalogue of `n` records moved onto the server, then opened from it.
  ХранилищеСервера& каталог_на_сервере(int n) {
    категории_лит.assertz("Проза"_cps);
    виды_лит.assertz("Роман"_cps);
    for (int i = n; i >= 1; --i)
      база_лит.assertz({i, "Автор"_cps, "Книга "_cps + std::to_string(i), "Проза"_cps, "Роман"_cps, 0, 1, {}});
    {
      ОткрытиеСервера о = открыть_сервер(адрес());
      EXPECT_TRUE(о.хранилище);
      EXPECT_EQ(перенести_каталог(*о.хранилище), std::nullopt);
    }
    core_RegisterPart();
    RUN_ResetParts();
    return открыть();
  }

  // The catalogue in memory moved onto the server, the pictures of its covers read from the folder
  // `папка` (current meanwhile, as a folder catalogue's is).
  void перенести_из(const QString& папка) {
    const std::filesystem::path было = std::filesystem::current_path();
    std::filesystem::current_path(папка.toStdString());
    ОткрытиеСервера о = открыть_сервер(адрес());
    EXPECT_TRUE(о.хранилище) << cp1251::to_utf8(о.ошибка);
    if (о.хранилище) EXPECT_EQ(перенести_каталог(*о.хранилище), std::nullopt);
    std::filesystem::current_path(было);
  }

  // The records as the server keeps them, in their order: "code|title" each.
  std::vector<std::string> на_сервере() const {
    return строки(server_->sql("SELECT code, title FROM records ORDER BY place", база_));
  }
  static std::vector<std::string> в_памяти() {
    std::vector<std::string> out;
    for (const ЗаписьБазы& з : база_лит.all())
      out.push_back(std::to_string(з.код) + "|" + cp1251::to_utf8(з.наименование));
    return out;
  }
  std::string sql(const std::string& statements) const { return server_->sql(statements, база_); }

  // An entry refused because the connection was lost: told as the connection's, with what to do,
  // and memory kept as `было`.
  static void отказ_без_связи(const char* title, const std::vector<std::string>& было) {
    const ИтогИзменения итог = применить(ВвестиЗапись{{0, "А"_cps, cp1251::from_utf8(title), {}, {}, 0, 0, {}}});
    EXPECT_FALSE(итог.сделано());
    const std::string message = cp1251::to_utf8(итог.сообщение);
    EXPECT_EQ(message.rfind("Изменение не сохранено: связь с сервером каталога прервалась. Данные остались как были.\n"
                            "Программа подключится к серверу снова сама",
                            0),
              0u)
        << message;
    EXPECT_EQ(в_памяти(), было);
  }
  // An entry that goes through, the server then holding what memory holds.
  void вводится_снова(const char* title) const {
    const ИтогИзменения итог = применить(ВвестиЗапись{{0, "А"_cps, cp1251::from_utf8(title), {}, {}, 0, 0, {}}});
    ASSERT_TRUE(итог.сделано()) << cp1251::to_utf8(итог.сообщение);
    EXPECT_EQ(на_сервере(), в_памяти());
  }

  static PgTestServer* server_;
  static int номер_;
  std::string база_;
};

PgTestServer* ServerStorage::server_ = nullptr;
int ServerStorage::номер_ = 0;

TEST(ServerAddress, ConnectionUrisAreReadIntoTheirParts) {
  struct Case {
    const char* uri;
    const char* host;
    int port;
    const char* database;
    const char* user;
    const char* password;
    const char* options;
  };
  const Case cases[] = {
      {"postgresql://library.local/catalogue", "library.local", 5432, "catalogue", "", "", ""},
      {"postgres://anna:s%40cret@db:6543/lib", "db", 6543, "lib", "anna", "s@cret", ""},
      {"postgresql://u@%2Ftmp%2Fpg%20dir:5433/b", "/tmp/pg dir", 5433, "b", "u", "", ""},
      {"postgresql://[::1]:5434/b", "::1", 5434, "b", "", "", ""},
      {"postgresql:///b?host=/run/postgresql&port=5999&user=x&sslmode=require&connect_timeout=3", "/run/postgresql",
       5999, "b", "x", "", "sslmode=require;connect_timeout=3"},
      {"postgresql://%D0%B1%D0%B8%D0%B1@srv/%D0%BA%D0%B0%D1%82", "srv", 5432, "кат", "биб", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.uri);
    std::string why;
    const auto а = разобрать_адрес(c.uri, &why);
    ASSERT_TRUE(а) << cp1251::to_utf8(why);
    EXPECT_EQ(а->хост, c.host);
    EXPECT_EQ(а->порт, c.port);
    EXPECT_EQ(а->база, c.database);
    EXPECT_EQ(а->пользователь, c.user);
    EXPECT_EQ(а->пароль, c.password);
    EXPECT_EQ(а->параметры, c.options);
    // Shown back without the password, and read again to the same place.
    EXPECT_EQ(а->uri().find(c.password[0] ? c.password : "\x01"), std::string::npos);
    const auto снова = разобрать_адрес(а->uri());
    ASSERT_TRUE(снова);
    EXPECT_EQ(снова->хост, а->хост);
    EXPECT_EQ(снова->порт, а->порт);
    EXPECT_EQ(снова->база, а->база);
    EXPECT_EQ(снова->пользователь, а->пользователь);
  }
  EXPECT_EQ(cp1251::to_utf8(разобрать_адрес("postgresql://anna@server.example/library")->показ()),
            "library@server.example");
  EXPECT_EQ(cp1251::to_utf8(разобрать_адрес("postgresql://anna@%2Ftmp/library")->показ()), "library@localhost");

  for (const char* bad : {"http://x/y", "postgresql://h:0/b", "postgresql://h:99999/b", "postgresql://h:5x/b",
                          "postgresql://[::1/b", "postgresql://h/b?sslmode", "postgresql://h/%zz",
                          "postgresql://h/b?options=-c%20x=1"}) {
    std::string why;
    EXPECT_FALSE(разобрать_адрес(bad, &why)) << bad;
    EXPECT_FALSE(why.empty()) << bad;
  }
}

TEST_F(ServerStorage, AnEmptyDatabaseGetsTheSchemaOnce) {
  for (int i = 0; i < 2; ++i) {
    ОткрытиеСервера о = открыть_сервер(адрес());
    ASSERT_TRUE(о.хранилище) << cp1251::to_utf8(о.ошибка);
    EXPECT_FALSE(о.хранилище->только_чтение());
    EXPECT_TRUE(о.хранилище->пуст());
  }
  EXPECT_EQ(sql("SELECT version FROM foliarkh_schema"), std::to_string(версия_схемы_сервера()) + "\n");
  EXPECT_EQ(sql("SELECT string_agg(tablename, ',' ORDER BY tablename) FROM pg_tables WHERE schemaname = 'public'"),
            "covers,foliarkh_schema,records,sections\n");
}

TEST_F(ServerStorage, EverySectionIsStoredAndReadBackAsItWas) {
  виды_лит.assertz("Роман"_cps);
  виды_лит.assertz("Стихи, поэмы"_cps);
  категории_лит.assertz("Проза"_cps);
  категории_лит.assertz("«Кавычки» \"двойные\" и \\ обратная"_cps);
  база_лит.assertz({7, "Толстой Л. Н."_cps, "Война и мир"_cps, "Проза"_cps, "Роман"_cps, 1, 1, "voyna_i_mir.bmp"});
  база_лит.assertz({3, "{скобки},запятые"_cps, "\"NULL\""_cps, {}, {}, 0, 0, {}});
  база_лит.assertz({12, ""_cps, "ёлка \\ \"\\\""_cps, "Проза"_cps, {}, 0, 1, {}});
  база_лит.assertz({5, "NULL"_cps, "  пробелы  "_cps, {}, "Стихи, поэмы"_cps, 1, 0, "a b.png"});
  наибольший_код.assertz(40);
  шрифткарточки.assertz(Binary{{0, 1, 2, 0xFF, 0x7F, '"', '\\', 0, 10, 13}});
  std::vector<std::string> было;
  for (const РазделКаталога& р : разделы_каталога()) было.push_back(RNT_SaveText(*р.секция));
  {
    ОткрытиеСервера о = открыть_сервер(адрес());
    ASSERT_TRUE(о.хранилище);
    ASSERT_EQ(перенести_каталог(*о.хранилище), std::nullopt);
  }

  core_RegisterPart();
  RUN_ResetParts();
  ОткрытиеСервера о = открыть_сервер(адрес());
  ASSERT_TRUE(о.хранилище);
  задать_хранилище_каталога(std::move(о.хранилище));
  for (std::size_t i = 0; i < разделы_каталога().size(); ++i) {
    const РазделКаталога& р = разделы_каталога()[i];
    SCOPED_TRACE(cp1251::to_utf8(р.файл));
    EXPECT_EQ(RNT_SaveText(*р.секция), "");
    загрузить_раздел(р);
    EXPECT_EQ(RNT_SaveText(*р.секция), было[i]);
  }
  EXPECT_EQ(sql("SELECT count(*) FROM records"), "4\n");
}

TEST_F(ServerStorage, ChangesKeepTheServersOrderAndTakeCodesFromIt) {
  каталог_на_сервере(5);  // codes 5, 4, 3, 2, 1 in this order
  ASSERT_EQ(на_сервере(), в_памяти());
  struct Step {
    const char* what;
    std::function<Операция()> операция;
  };
  auto первая = [](const char* title) {
    for (const ЗаписьБазы& з : база_лит.all())
      if (з.наименование == cp1251::from_utf8(title)) return з;
    return ЗаписьБазы{};
  };
  const std::vector<Step> steps = {
      {"entered first", [] { return ВвестиЗапись{{0, "А"_cps, "Новая"_cps, {}, {}, 0, 0, {}}}; }},
      {"edited in the middle keeps its place",
       [&] {
         ЗаписьБазы з = первая("Книга 3");
         ЗаписьБазы н = з;
         н.наименование = "Книга 3, изд. 2"_cps;
         return ИзменитьЗапись{з, н};
       }},
      {"the last deleted", [&] { return УдалитьЗапись{первая("Книга 1")}; }},
      {"the highest code deleted", [&] { return УдалитьЗапись{первая("Новая")}; }},
      {"entered after it: the deleted code is not given again",
       [] { return ВвестиЗапись{{0, "Б"_cps, "Другая"_cps, {}, {}, 0, 0, {}}}; }},
      {"undo", [] { return ОтменитьИзменение{}; }},
      {"undo again", [] { return ОтменитьИзменение{}; }},
      {"redo", [] { return ПовторитьИзменение{}; }},
      {"an import of three", [] {
         ИмпортироватьЗаписи и;
         for (const char* t : {"И1", "И2", "И3"}) и.записи.push_back({0, "В"_cps, cp1251::from_utf8(t), "Проза"_cps, {}, 0, 0, {}});
         и.категории = {"Новая категория"_cps};
         return и;
       }},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    const ИтогИзменения итог = применить(s.операция());
    ASSERT_TRUE(итог.сделано()) << cp1251::to_utf8(итог.сообщение);
    EXPECT_EQ(на_сервере(), в_памяти());
  }
  // The codes: the entry got 6, the one after the deletion of 6 got 7, the import 8 to 10.
  const std::vector<std::string> записи = на_сервере();
  EXPECT_EQ(записи.front().substr(0, 2), "10");
  EXPECT_NE(std::find(записи.begin(), записи.end(), "3|Книга 3, изд. 2"), записи.end());
  EXPECT_EQ(std::count_if(записи.begin(), записи.end(), [](const std::string& s) { return s.starts_with("6|"); }), 0);
  EXPECT_EQ(sql("SELECT text LIKE '%Новая категория%' FROM sections WHERE text LIKE '%категории_лит%'"), "t\n");

  // A desk opened afresh reads what this one stored.
  const std::vector<std::string> было = в_памяти();
  core_RegisterPart();
  RUN_ResetParts();
  открыть();
  EXPECT_EQ(в_памяти(), было);
  EXPECT_EQ(категории_лит.count(), 2u);
}

TEST_F(ServerStorage, ARecordPutBackWhereItsNeighboursLeaveNoRoomRenumbersTheOrder) {
  каталог_на_сервере(3);  // codes 3, 2, 1
  ЗаписьБазы вторая = база_лит.по_коду(2).front();
  ASSERT_TRUE(применить(УдалитьЗапись{вторая}).сделано());
  // Another desk (or a person) left the neighbours' places next to each other.
  sql("UPDATE records SET place = 1 WHERE code = 1;"
      "UPDATE records SET place = 0 WHERE code = 3;"
      "UPDATE sections SET version = version + 1 WHERE file = 'Литература1.pbs'");
  const ИтогИзменения итог = применить(ОтменитьИзменение{});
  ASSERT_TRUE(итог.сделано()) << cp1251::to_utf8(итог.сообщение);
  EXPECT_EQ(на_сервере(), (std::vector<std::string>{"3|Книга 3", "2|Книга 2", "1|Книга 1"}));
  EXPECT_EQ(на_сервере(), в_памяти());
  // And the next change finds the places it stored.
  ASSERT_TRUE(применить(УдалитьЗапись{база_лит.по_коду(1).front()}).сделано());
  EXPECT_EQ(на_сервере(), (std::vector<std::string>{"3|Книга 3", "2|Книга 2"}));
}

TEST_F(ServerStorage, AChangeWhoseTransactionFailsStoresNothingAndKeepsMemory) {
  каталог_на_сервере(3);
  // The server refuses a record of this title, after the records before it were written.
  sql("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
      "IF NEW.title = 'сбой' THEN RAISE EXCEPTION 'refused'; END IF; RETURN NEW; END $$;"
      "CREATE TRIGGER refuse BEFORE INSERT ON records FOR EACH ROW EXECUTE FUNCTION refuse();");
  const std::string версии = sql("SELECT file, version FROM sections ORDER BY file");
  const std::vector<std::string> записи = на_сервере();

  ИмпортироватьЗаписи и;
  for (const char* t : {"первая", "вторая", "сбой"}) и.записи.push_back({0, "А"_cps, cp1251::from_utf8(t), {}, {}, 0, 0, {}});
  и.категории = {"Ещё одна"_cps};
  const ИтогИзменения итог = применить(и);
  EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_сохранено);
  EXPECT_FALSE(итог.сообщение.empty());
  EXPECT_EQ(на_сервере(), записи);
  EXPECT_EQ(sql("SELECT file, version FROM sections ORDER BY file"), версии);
  EXPECT_EQ(в_памяти(), записи);
  EXPECT_EQ(категории_лит.count(), 1u);

  // The next change is a transaction of its own and goes through.
  const ИтогИзменения следующий = применить(ВвестиЗапись{{0, "А"_cps, "после сбоя"_cps, {}, {}, 0, 0, {}}});
  ASSERT_TRUE(следующий.сделано()) << cp1251::to_utf8(следующий.сообщение);
  EXPECT_EQ(на_сервере(), в_памяти());
  EXPECT_EQ(на_сервере().size(), 4u);
}

TEST_F(ServerStorage, AServerThatStopsRefusesTheChangeAndIsReconnectedWhenBack) {
  ХранилищеСервера& с = каталог_на_сервере(2);
  const std::vector<std::string> было = в_памяти();
  server_->stop(PgTestServer::StopMode::fast);
  const auto почему = с.недоступно();
  ASSERT_TRUE(почему);
  EXPECT_NE(cp1251::to_utf8(*почему).find("не отвечает"), std::string::npos) << cp1251::to_utf8(*почему);
  const ИтогИзменения итог = применить(ВвестиЗапись{{0, "А"_cps, "пока сервера нет"_cps, {}, {}, 0, 0, {}}});
  EXPECT_FALSE(итог.сделано());
  EXPECT_FALSE(итог.сообщение.empty());
  EXPECT_EQ(в_памяти(), было);

  server_->start();
  EXPECT_EQ(с.недоступно(), std::nullopt);
  EXPECT_EQ(на_сервере(), было);
  const ИтогИзменения снова = применить(ВвестиЗапись{{0, "А"_cps, "сервер вернулся"_cps, {}, {}, 0, 0, {}}});
  ASSERT_TRUE(снова.сделано()) << cp1251::to_utf8(снова.сообщение);
  EXPECT_EQ(на_сервере(), в_памяти());
}

TEST_F(ServerStorage, RefusedConnectionsSayWhyAndWriteNothing) { отказы_подключения(*server_, база_); }

TEST_F(ServerStorage, AReadOnlyRoleReadsAndIsRefusedChanging) {
  каталог_на_сервере(3);
  const std::vector<std::string> было = на_сервере();
  core_RegisterPart();
  RUN_ResetParts();
  ХранилищеСервера& с = открыть(kReader);
  EXPECT_TRUE(с.только_чтение());
  EXPECT_EQ(в_памяти(), было);
  const ИтогИзменения итог = применить(ВвестиЗапись{{0, "А"_cps, "нельзя"_cps, {}, {}, 0, 0, {}}});
  EXPECT_FALSE(итог.сделано());
  EXPECT_NE(cp1251::to_utf8(итог.сообщение).find("нет прав"), std::string::npos) << cp1251::to_utf8(итог.сообщение);
  EXPECT_EQ(в_памяти(), было);
  EXPECT_EQ(на_сервере(), было);

  // Nor may it make the catalogue in an empty database.
  server_->create_database(база_ + "_empty", kWriter);
  server_->grant_read_only(kReader, база_ + "_empty");
  АдресСервера а = адрес(kReader);
  а.база = база_ + "_empty";
  const ОткрытиеСервера о = открыть_сервер(а);
  EXPECT_FALSE(о.хранилище);
  EXPECT_NE(cp1251::to_utf8(о.ошибка).find("нет на это прав"), std::string::npos) << cp1251::to_utf8(о.ошибка);
}

TEST_F(ServerStorage, TwoDeskProcessesWritingAtOnceLoseNothing) {
  ХранилищеСервера& с = каталог_на_сервере(1);
  bool услышано = false;
  с.слушать([&] { услышано = true; });
  constexpr int kEach = 60;
  WorkerProcess a(FOLIARKH_SERVER_DESK, {"enter", uri_с_паролем(), "A", std::to_string(kEach)});
  WorkerProcess b(FOLIARKH_SERVER_DESK, {"enter", uri_с_паролем(), "B", std::to_string(kEach)});
  ASSERT_TRUE(a.started() && b.started());
  EXPECT_EQ(a.read_line(), "done 60 20 refused 0");
  EXPECT_EQ(b.read_line(), "done 60 20 refused 0");
  EXPECT_EQ(a.wait(), 0);
  EXPECT_EQ(b.wait(), 0);

  // Each desk kept what it entered but every third; codes unique (the server's key) and the
  // deleted ones not given again: 1 + 120 codes given in all.
  std::set<std::string> ожидаемые = {"Книга 1"};
  for (const char* p : {"A", "B"})
    for (int n = 0; n < kEach; ++n)
      if (n % 3 != 2) ожидаемые.insert(std::string(p) + " " + std::to_string(n));
  std::set<std::string> есть;
  for (const std::string& s : строки(sql("SELECT title FROM records"))) есть.insert(s);
  EXPECT_EQ(есть, ожидаемые);
  EXPECT_EQ(sql("SELECT last_value FROM record_codes"), "121\n");

  // This desk heard of them and reads them in.
  QElapsedTimer timer;
  timer.start();
  while (!услышано && timer.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_TRUE(услышано);
  const ИтогСлежения итог = освежить_каталог();
  EXPECT_TRUE(итог.прочитано);
  EXPECT_EQ(в_памяти(), на_сервере());
}

TEST_F(ServerStorage, ADeskKilledHoldingTheCatalogueLeavesNothingHalfWritten) {
  каталог_на_сервере(2);
  WorkerProcess holder(FOLIARKH_SERVER_DESK, {"hold", uri_с_паролем()});
  ASSERT_EQ(holder.read_line(), "held");
  задать_ожидание_хранилища(std::chrono::milliseconds(300));
  const ИтогИзменения занято = применить(ВвестиЗапись{{0, "А"_cps, "ждёт"_cps, {}, {}, 0, 0, {}}});
  EXPECT_EQ(занято.исход, ИтогИзменения::Исход::недоступно);
  EXPECT_EQ(на_сервере().size(), 2u);

  holder.kill_now();
  holder.wait();
  задать_ожидание_хранилища(std::chrono::seconds(10));
  const ИтогИзменения итог = применить(ВвестиЗапись{{0, "А"_cps, "после"_cps, {}, {}, 0, 0, {}}});
  ASSERT_TRUE(итог.сделано()) << cp1251::to_utf8(итог.сообщение);
  EXPECT_EQ(на_сервере(), в_памяти());
  EXPECT_EQ(sql("SELECT count(*) FROM records WHERE title = 'незавершённая'"), "0\n");
}

// A change the server refuses is told as the server's, naming no file, and is not kept: memory
// and the server hold what they held.
TEST_F(ServerStorage, ARefusedChangeSpeaksOfTheServerAndNamesNoFile) {
  каталог_на_сервере(3);
  const ИтогИзменения введена = применить(ВвестиЗапись{{0, "А"_cps, "сбой"_cps, {}, {}, 0, 0, {}}});
  ASSERT_TRUE(введена.сделано());
  const std::int32_t код = введена.изменения.добавленные.front().код;
  ASSERT_TRUE(применить(УдалитьЗапись{база_лит.по_коду(код).front()}).сделано());
  sql("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
      "RAISE EXCEPTION 'refused'; END $$;"
      "CREATE TRIGGER refuse BEFORE INSERT ON records FOR EACH ROW WHEN (NEW.title = 'сбой') "
      "EXECUTE FUNCTION refuse();"
      "CREATE TRIGGER refuse BEFORE INSERT OR UPDATE ON sections FOR EACH ROW "
      "WHEN (NEW.file IN ('СрокВыдачи.pbs', 'Настройки.pbs')) EXECUTE FUNCTION refuse();");
  const std::vector<std::string> записи = на_сервере();
  const std::string разделы = sql("SELECT file, version, md5(text) FROM sections ORDER BY file");
  const std::optional<std::int32_t> срок = срок_выдачи_дней.get();

  struct Case {
    const char* what;
    Операция операция;
    std::string begins;
  };
  const std::string отказ = "сервер каталога отказал (refused).";
  const Case cases[] = {
      {"an entry", ВвестиЗапись{{0, "А"_cps, "сбой"_cps, {}, {}, 0, 0, {}}},
       "Изменение не сохранено: " + отказ + " Данные остались как были.\n"},
      {"an undo", ОтменитьИзменение{},
       "Не удалось отменить удаление записи " + std::to_string(код) + ": " + отказ + " Данные остались как были.\n"},
      {"the loan period", ЗадатьСрокВыдачи{срок.value_or(14) + 7}, "Срок выдачи не изменён: " + отказ + "\n"},
      {"the card font", ЗадатьШрифтКарточки{Binary{{1, 2, 3}}},
       "Шрифт карточки выбран, но не сохранён: " + отказ + " Выбранный шрифт действует до конца работы программы.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ИтогИзменения итог = применить(c.операция);
    EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_сохранено);
    const std::string message = cp1251::to_utf8(итог.сообщение);
    EXPECT_EQ(message.rfind(c.begins, 0), 0u) << message;
    EXPECT_EQ(message.find(".pbs"), std::string::npos) << message;
    EXPECT_EQ(на_сервере(), записи);
    EXPECT_EQ(в_памяти(), записи);
    EXPECT_EQ(sql("SELECT file, version, md5(text) FROM sections ORDER BY file"), разделы);
  }
  EXPECT_EQ(срок_выдачи_дней.get(), срок);

  // The connection cut in the middle of the change: told as the connection's, and what to do.
  const std::vector<std::string> было = в_памяти();
  sql("CREATE FUNCTION cut() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
      "PERFORM pg_terminate_backend(pg_backend_pid()); RETURN NEW; END $$;"
      "CREATE TRIGGER cut BEFORE INSERT ON records FOR EACH ROW WHEN (NEW.title = 'без связи') "
      "EXECUTE FUNCTION cut();");
  отказ_без_связи("без связи", было);
  EXPECT_EQ(на_сервере(), было);
  вводится_снова("снова на связи");
}

// The connection lost while the change waits for another desk's turn: the change is refused as
// the connection's (no error escapes), nothing is stored, and once the server is back the next
// change goes through.
TEST_F(ServerStorage, AConnectionLostWhileAChangeWaitsItsTurnRefusesIt) {
  каталог_на_сервере(2);
  const std::vector<std::string> было = в_памяти();
  WorkerProcess holder(FOLIARKH_SERVER_DESK, {"hold", uri_с_паролем()});
  ASSERT_EQ(holder.read_line(), "held");
  bool остановлен = false;
  задать_ожидание_хранилища(std::chrono::seconds(10), [&] {
    if (остановлен) return;
    остановлен = true;
    server_->stop(PgTestServer::StopMode::fast);
  });
  отказ_без_связи("в очереди", было);
  задать_ожидание_хранилища(std::chrono::seconds(10));
  EXPECT_TRUE(остановлен);
  holder.kill_now();
  holder.wait();
  server_->start();
  EXPECT_EQ(на_сервере(), было);
  вводится_снова("после очереди");
}

// More pictures than one statement asks for: every one fetched into the desk's folder and written
// into the folder form.
TEST_F(ServerStorage, ManyCoverPicturesAreFetchedInParts) {
  QTemporaryDir folder, desk, copy;
  constexpr int kPictures = 205;
  for (int i = 1; i <= kPictures; ++i) {
    const std::string name = "p" + std::to_string(i) + ".png";
    std::ofstream(folder.path().toStdString() + "/" + name, std::ios::binary) << "picture " << i;
    база_лит.assertz({i, "А"_cps, "Книга "_cps + std::to_string(i), {}, {}, 0, 0, name});
  }
  перенести_из(folder.path());
  core_RegisterPart();
  RUN_ResetParts();
  ХранилищеСервера& сервер = открыть(kWriter, desk.path());
  const ХранилищеСервера::ОбложкиВПапке в_папке = сервер.записать_обложки(copy.path().toStdString());
  EXPECT_EQ(в_папке.файлы.size(), std::size_t(kPictures));
  EXPECT_EQ(в_папке.нет, 0);
  for (const QTemporaryDir* dir : {&desk, &copy}) {
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir->path().toStdString())) files += e.is_regular_file();
    EXPECT_EQ(files, std::size_t(kPictures));
    std::ifstream in(dir->path().toStdString() + "/p150.png", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "picture 150");
  }
}

// The connection lost just after the server committed a change, before the desk heard it: the
// desk asks the server again over a new connection, and the change counts as stored (as it is),
// once, memory and server alike.
TEST_F(ServerStorage, AChangeCommittedWhoseAnswerWasLostIsKnownStored) {
  каталог_на_сервере(2);
  Перехватчик перехватчик(server_->socket_dir(), server_->port());
  ASSERT_TRUE(перехватчик.ready());
  core_RegisterPart();
  RUN_ResetParts();
  АдресСервера через_перехватчик = адрес();
  через_перехватчик.хост = перехватчик.dir();
  открыть_по(через_перехватчик);
  перехватчик.cut_after_commit();
  const ИтогИзменения итог = применить(ВвестиЗапись{{0, "А"_cps, "ответ потерян"_cps, {}, {}, 0, 0, {}}});
  EXPECT_TRUE(перехватчик.cut_done());
  EXPECT_TRUE(итог.сделано()) << cp1251::to_utf8(итог.сообщение);
  EXPECT_EQ(sql("SELECT count(*) FROM records WHERE title = 'ответ потерян'"), "1\n");
  EXPECT_EQ(на_сервере(), в_памяти());
  вводится_снова("после потерянного ответа");
  EXPECT_EQ(освежить_каталог().прочитано, false);  // nothing this desk did not know
}

// A database made by a program that knew the schema before the covers is brought up to date at
// the next connection, its records kept.
TEST_F(ServerStorage, AnOlderSchemaIsMigratedKeepingTheCatalogue) {
  каталог_на_сервере(3);
  const std::vector<std::string> было = на_сервере();
  core_RegisterPart();
  RUN_ResetParts();
  sql("DROP TABLE covers; UPDATE foliarkh_schema SET version = 1");
  открыть();
  EXPECT_EQ(sql("SELECT version FROM foliarkh_schema"), std::to_string(версия_схемы_сервера()) + "\n");
  EXPECT_EQ(sql("SELECT count(*) FROM covers"), "0\n");
  EXPECT_EQ(в_памяти(), было);
}

// The cover pictures travel with their records: moved from a folder catalogue's folder, fetched
// into another desk's folder of pictures, stored in the transaction of the record that names them
// (and not when it fails), written out for the folder form; a name leading out of the folder is
// never written.
TEST_F(ServerStorage, CoverPicturesLiveOnTheServerBesideTheirRecords) {
  QTemporaryDir folder, desk, again, copy;
  ASSERT_TRUE(folder.isValid() && desk.isValid() && again.isValid() && copy.isValid());
  const auto put = [](const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    std::ofstream(dir.path().toStdString() + "/" + name, std::ios::binary) << bytes;
  };
  const auto read = [](const QTemporaryDir& dir, const char* name) {
    std::ifstream in(dir.path().toStdString() + "/" + name, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string("<none>");
  };
  const std::string a = std::string("picture a\0\xFF\x01", 12), b = "picture b";
  put(folder, "a.png", a);
  put(folder, "обл б.png", b);
  база_лит.assertz({1, "А"_cps, "Первая"_cps, {}, {}, 0, 0, "a.png"});
  база_лит.assertz({2, "Б"_cps, "Вторая"_cps, {}, {}, 0, 0, "обл б.png"_cps});
  база_лит.assertz({3, "В"_cps, "Та же обложка"_cps, {}, {}, 0, 0, "a.png"});
  база_лит.assertz({4, "Г"_cps, "Без файла"_cps, {}, {}, 0, 0, "нет.png"_cps});
  перенести_из(folder.path());
  EXPECT_EQ(sql("SELECT name, length(picture) FROM covers ORDER BY name"), "a.png|12\nобл б.png|9\n");

  // Another desk: its folder of pictures gets those its records name.
  core_RegisterPart();
  RUN_ResetParts();
  открыть(kWriter, desk.path());
  EXPECT_EQ(read(desk, "a.png"), a);
  EXPECT_EQ(read(desk, "обл б.png"), b);
  EXPECT_EQ(read(desk, "нет.png"), "<none>");

  // A picture taken into this desk's folder goes to the server with its record; one whose record
  // the server refuses does not.
  put(desk, "c.png", "picture c");
  put(desk, "d.png", "picture d");
  ASSERT_TRUE(применить(ВвестиЗапись{{0, "Д"_cps, "С обложкой"_cps, {}, {}, 0, 0, "c.png"}}).сделано());
  sql("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'refused'; END $$;"
      "CREATE TRIGGER refuse BEFORE INSERT ON records FOR EACH ROW WHEN (NEW.cover = 'd.png') "
      "EXECUTE FUNCTION refuse();");
  EXPECT_FALSE(применить(ВвестиЗапись{{0, "Е"_cps, "Отказ"_cps, {}, {}, 0, 0, "d.png"}}).сделано());
  EXPECT_EQ(sql("SELECT name, convert_from(picture, 'UTF8') FROM covers WHERE name IN ('c.png', 'd.png')"),
            "c.png|picture c\n");

  // A name the server gives that leads out of the folder is never written there or above it.
  sql("INSERT INTO covers VALUES ('../вне.png', 'outside');"
      "INSERT INTO records VALUES (90, 'Ж', 'Чужая', '', '', 0, 0, '../вне.png', -10);"
      "UPDATE sections SET version = version + 1 WHERE file = 'Литература1.pbs'");
  core_RegisterPart();
  RUN_ResetParts();
  ХранилищеСервера& сервер = открыть(kWriter, again.path());
  EXPECT_EQ(read(again, "c.png"), "picture c");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(again.path().toStdString()).parent_path() / "вне.png"));

  // The folder form: every picture named, as the server holds it; one it does not hold counted.
  const ХранилищеСервера::ОбложкиВПапке в_папке = сервер.записать_обложки(copy.path().toStdString());
  EXPECT_EQ(в_папке.файлы.size(), 3u);
  EXPECT_EQ(в_папке.нет, 1);
  EXPECT_EQ(read(copy, "a.png"), a);
  EXPECT_EQ(read(copy, "обл б.png"), b);
  EXPECT_EQ(read(copy, "c.png"), "picture c");
}

// The bad cases once more where libpq writes its messages in Russian (the user's locale) and the
// server its own (its lc_messages): the messages do not depend on the language of those texts.
// The locale is made for the test alone with localedef, in a folder LOCPATH names.
TEST(ServerConnectionInRussian, RefusedConnectionsAreToldTheSame) {
  char шаблон[] = "/tmp/foliarkh-locale-XXXXXX";
  ASSERT_TRUE(::mkdtemp(шаблон));
  const std::string локали = шаблон;
  const struct Убрать {
    std::string папка;
    ~Убрать() {
      std::error_code ec;
      std::filesystem::remove_all(папка, ec);
    }
  } убрать{локали};
  ::chmod(локали.c_str(), 0755);  // the server's user reads it too
  const std::string команда = "localedef -i ru_RU -f UTF-8 '" + локали + "/ru_RU.UTF-8' >/dev/null 2>&1";
  (void)std::system(команда.c_str());
  if (!std::filesystem::exists(локали + "/ru_RU.UTF-8/LC_MESSAGES"))
    GTEST_SKIP() << "localedef could not make ru_RU.UTF-8";

  PgTestServer::Options options;
  options.passwords = true;
  options.environment = {"LOCPATH=" + локали};
  PgTestServer server(options);
  server.sql("ALTER SYSTEM SET lc_messages = 'ru_RU.UTF-8'");
  server.sql("SELECT pg_reload_conf()");
  try {
    server.sql("SELECT 1/0");
    ADD_FAILURE() << "division by zero was not refused";
  } catch (const test_support::PgTestServerError& e) {
    ASSERT_NE(std::string(e.what()).find("деление на ноль"), std::string::npos) << e.what();
  }
  server.create_role(kWriter, kPassword);
  server.create_database("catalogue_ru", kWriter);

  // This process's messages in Russian, as the user's locale says, and back afterwards.
  const std::string прежняя = std::setlocale(LC_ALL, nullptr);
  const char* прежний_путь = std::getenv("LOCPATH");
  const std::optional<std::string> путь = прежний_путь ? std::optional<std::string>(прежний_путь) : std::nullopt;
  ::setenv("LOCPATH", локали.c_str(), 1);
  ::setenv("LC_ALL", "ru_RU.UTF-8", 1);
  ASSERT_TRUE(std::setlocale(LC_ALL, ""));
  const struct Вернуть {
    std::string локаль;
    std::optional<std::string> путь;
    ~Вернуть() {
      ::unsetenv("LC_ALL");
      if (путь)
        ::setenv("LOCPATH", путь->c_str(), 1);
      else
        ::unsetenv("LOCPATH");
      std::setlocale(LC_ALL, локаль.c_str());
    }
  } вернуть{прежняя, путь};
  {
    // libpq says it in Russian now.
    АдресСервера а = *разобрать_адрес(server.uri("catalogue_ru", kWriter));
    а.пароль = "не тот";
    (void)открыть_сервер(а);  // the application object Qt SQL needs
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("russian"));
    db.setHostName(QString::fromStdString(server.socket_dir()));
    db.setPort(server.port());
    db.setDatabaseName(QStringLiteral("catalogue_ru"));
    db.setUserName(QString::fromStdString(kWriter));
    db.setPassword(QStringLiteral("не тот"));
    EXPECT_FALSE(db.open());
    const QString text = db.lastError().databaseText();
    EXPECT_TRUE(text.contains(QString::fromUtf8("не удалось")) && text.contains(QString::fromUtf8("проверку подлинности")))
        << text.toStdString();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("russian"));
  отказы_подключения(server, "catalogue_ru");
}

}  // namespace

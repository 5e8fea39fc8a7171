// The catalogue's sections in a PostgreSQL database through Qt SQL (see server_catalogue.h): the
// connection and its messages, the schema and its migrations, the records' table stored by what
// changed, the other sections as their fact files' text, the hold as a transaction under an
// advisory lock, and the move of a folder catalogue.
#include <QCoreApplication>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QThread>
#include <QVariant>

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <deque>
#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "core/catalogue_facts.h"
#include "runtime/codepage.h"
#include "runtime/error_codes.h"
#include "runtime/fact_file.h"
#include "runtime/err_words.h"
#include "runtime/fact_kind.h"
#include "runtime/file_slots.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "server/server_catalogue.h"

namespace {

constexpr qint64 kЗамокЗаписи = 0x466F6C6961726B68LL;  // the advisory lock of a writing desk
constexpr qint64 kЗамокСхемы = 0x466F6C6961726B69LL;   // the one of the schema's making
const char* const kКанал = "foliarkh_catalogue";
__extension__ using Широкое = __int128;  // the gap between two places, which may exceed 64 bits
constexpr qint64 kШагМест = qint64{1} << 20;  // the gap between places of records stored in a row
constexpr std::size_t kСтрокЗаПроход = 20000;  // records per statement when many are stored
// The largest cover picture stored: as large as the cover window reads.
constexpr std::size_t kНаибольшаяОбложка = std::size_t(128) << 20;

// The schema's migrations: the n-th brings the schema from version n to n + 1.
const std::vector<const char*>& миграции() {
  static const std::vector<const char*> все = {
      "CREATE TABLE foliarkh_schema (version integer NOT NULL);"
      "INSERT INTO foliarkh_schema VALUES (0);"
      "CREATE TABLE sections (file text PRIMARY KEY, text text, version bigint NOT NULL DEFAULT 0);"
      "CREATE TABLE records (code integer PRIMARY KEY, author text NOT NULL, title text NOT NULL,"
      " category text NOT NULL, kind text NOT NULL, disk integer NOT NULL, binding integer NOT NULL,"
      " cover text NOT NULL, place bigint NOT NULL UNIQUE);"
      "CREATE SEQUENCE record_codes MINVALUE 0 START 0;"
      "SELECT nextval('record_codes');",
      // The cover pictures, by the name a record gives: every desk shows them.
      "CREATE TABLE covers (name text PRIMARY KEY, picture bytea NOT NULL);",
  };
  return все;
}

QString в_qt(std::string_view cp) { return QString::fromStdString(cp1251::to_utf8(cp)); }
std::string из_qt(const QString& s) { return cp1251::from_utf8(s.toStdString()); }
QString utf(const std::string& s) { return QString::fromStdString(s); }

// The server's own words of a failed statement: the first line of its message without the
// severity before them ("ERROR:  …", or in the server's language "ОШИБКА:  …").
QString слова_сервера(const QSqlError& e) {
  QString t = e.databaseText().trimmed();
  if (const qsizetype конец = t.indexOf(QLatin1Char('\n')); конец >= 0) t.truncate(конец);
  if (const qsizetype двоеточие = t.indexOf(QLatin1String(":  ")); двоеточие >= 0) t = t.mid(двоеточие + 3);
  return t.trimmed();
}

// Whether the error says that the connection is gone (the server stopped, the network broke).
bool связь_оборвана(const QSqlError& e) {
  const QString state = e.nativeErrorCode();
  return e.type() == QSqlError::ConnectionError || state.isEmpty() || state.startsWith(QLatin1String("08")) ||
         state.startsWith(QLatin1String("57P0"));
}

// The host's error that stands for a failed statement, so that the change path tells it as a
// condition of the store, not a fault of the program.
int код_ошибки(const QSqlError& e) {
  const QString state = e.nativeErrorCode();
  if (связь_оборвана(e)) return errcode::host(ECONNRESET);
  if (state == QLatin1String("42501")) return errcode::host(EACCES);  // insufficient privilege
  if (state == QLatin1String("25006")) return errcode::host(EROFS);   // a read-only transaction
  if (state.startsWith(QLatin1String("53"))) return errcode::host(ENOSPC);  // the server's disk or memory
  if (state.startsWith(QLatin1String("23"))) return errcode::host(EEXIST);  // a code taken twice
  return errcode::host(EIO);
}

// A process without windows has no application object yet: Qt SQL needs one to find its driver.
void нужно_приложение() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char имя[] = "foliarkh";
  static char* argv[] = {имя, nullptr};
  static QCoreApplication* приложение = new QCoreApplication(argc, argv);
  (void)приложение;
}

// The text of an array literal of PostgreSQL, each text quoted.
void добавить_в_массив(std::string& массив, const std::string& cp) {
  if (массив.size() > 1) массив.push_back(',');
  массив.push_back('"');
  for (char c : cp1251::to_utf8(cp)) {
    if (c == '"' || c == '\\') массив.push_back('\\');
    массив.push_back(c);
  }
  массив.push_back('"');
}

template <class T>
std::string массив_чисел(const std::vector<T>& числа) {
  std::string s = "{";
  for (std::size_t i = 0; i < числа.size(); ++i) {
    if (i) s.push_back(',');
    s += std::to_string(числа[i]);
  }
  return s + "}";
}

bool записи_раздела(const РазделКаталога& р) { return р.секция == &база_лит.section(); }

// A cover's name that names a file in the folder of pictures itself (no folder part, no "..").
bool имя_обложки(std::string_view имя) {
  return !имя.empty() && имя != "." && имя != ".." && имя.find('/') == std::string_view::npos &&
         имя.find('\0') == std::string_view::npos;
}

// Writes a picture into a folder of copies (the desk's cache, the backup's temporary folder) as a
// whole or not at all: into a temporary name beside it, renamed into place when complete. Not
// flushed to the disk one by one, as the catalogue's own files are: a copy lost with the system is
// fetched again, and the backup flushes its own copy. Raises the host's error.
void записать_копию_картинки(const std::string& путь, const QByteArray& байты) {
  const std::string временный = путь + ".part-" + std::to_string(::getpid());
  {
    std::ofstream out(временный, std::ios::binary | std::ios::trunc);
    out.write(байты.constData(), static_cast<std::streamsize>(байты.size()));
    out.close();
    if (!out) {
      const int ошибка = errno ? errno : EIO;
      ::unlink(временный.c_str());
      RUN_OsError(errcode::host(ошибка));
    }
  }
  if (::rename(временный.c_str(), путь.c_str()) != 0) {
    const int ошибка = errno;
    ::unlink(временный.c_str());
    RUN_OsError(errcode::host(ошибка));
  }
}

// The text of an array literal of the names.
template <class Имена>
QString массив_имён(const Имена& имена) {
  std::string массив = "{";
  for (const std::string& имя : имена) добавить_в_массив(массив, имя);
  return utf(массив + "}");
}

// What stands at a server catalogue's address, found by the connection's own means rather than
// read from the driver's text (which libpq and the server write in the user's language).
enum class Достижимость { имя_не_найдено, нет_сервера, сервер_есть };

// The folder of the local socket libpq takes when no host is given.
constexpr const char* kПапкаСокета = "/var/run/postgresql";

// Whether a stream socket connects to `адрес` within `ждать_мс` (refused, unreachable or silent: no).
bool соединяется(const sockaddr* адрес, socklen_t длина, int семейство, int ждать_мс) {
  const int fd = ::socket(семейство, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool да = ::connect(fd, адрес, длина) == 0;
  if (!да && errno == EINPROGRESS) {
    pollfd p{fd, POLLOUT, 0};
    int ошибка = 0;
    socklen_t l = sizeof ошибка;
    да = ::poll(&p, 1, ждать_мс) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &ошибка, &l) == 0 && ошибка == 0;
  }
  ::close(fd);
  return да;
}

// The host's name resolved by this program first (a name no host has is told as such), then its
// port or socket tried: nothing there is a server that does not answer. An address of several
// hosts, one libpq is given apart (hostaddr) or takes from PGHOST, is left to the server's answer.
Достижимость проверить_адрес(const АдресСервера& а) {
  const char* pghost = std::getenv("PGHOST");  // libpq's host when the address names none
  if (а.хост.find(',') != std::string::npos || а.параметры.find("hostaddr=") != std::string::npos ||
      (а.хост.empty() && pghost != nullptr && pghost[0] != '\0'))
    return Достижимость::сервер_есть;
  const std::string порт = std::to_string(а.порт);
  if (а.хост.empty() || а.хост.starts_with('/')) {
    const std::string путь = (а.хост.empty() ? std::string(kПапкаСокета) : а.хост) + "/.s.PGSQL." + порт;
    sockaddr_un адрес{};
    адрес.sun_family = AF_UNIX;
    if (путь.size() >= sizeof адрес.sun_path) return Достижимость::сервер_есть;
    std::copy(путь.begin(), путь.end(), адрес.sun_path);
    return соединяется(reinterpret_cast<const sockaddr*>(&адрес), sizeof адрес, AF_UNIX, 2000)
               ? Достижимость::сервер_есть
               : Достижимость::нет_сервера;
  }
  addrinfo подсказка{};
  подсказка.ai_socktype = SOCK_STREAM;
  addrinfo* адреса = nullptr;
  const int r = ::getaddrinfo(а.хост.c_str(), порт.c_str(), &подсказка, &адреса);
  // A name no host has, or one the resolver cannot find now (EAI_AGAIN: libpq could not either).
  if (r == EAI_NONAME || r == EAI_FAIL || r == EAI_AGAIN
#ifdef EAI_NODATA
      || r == EAI_NODATA
#endif
  )
    return Достижимость::имя_не_найдено;
  if (r != 0) return Достижимость::сервер_есть;  // the resolver could not say: the server's answer tells
  Достижимость итог = Достижимость::нет_сервера;
  for (const addrinfo* ai = адреса; ai && итог == Достижимость::нет_сервера; ai = ai->ai_next)
    if (соединяется(ai->ai_addr, ai->ai_addrlen, ai->ai_family, 2000)) итог = Достижимость::сервер_есть;
  ::freeaddrinfo(адреса);
  return итог;
}

// Why the connection to a server that answered was refused. There is no SQLSTATE of a refused
// connection to ask, so the server's own words are matched, in English and in Russian (the server
// writes them in its lc_messages, libpq its own in the user's locale); "no password supplied" is
// libpq's and has no Russian form.
std::string почему_отказал(const АдресСервера& а, const QSqlError& e) {
  const QString t = e.databaseText();
  auto есть = [&](const char* s) { return t.contains(QString::fromUtf8(s), Qt::CaseInsensitive); };
  auto есть_имя = [&](const char* en, const char* ru, const std::string& имя) {
    const QString в_кавычках = QLatin1Char('"') + utf(имя) + QLatin1Char('"');
    return t.contains(QString::fromUtf8(en) + в_кавычках) || t.contains(QString::fromUtf8(ru) + в_кавычках);
  };
  if (есть("authentication failed for user") || есть("не прошёл проверку подлинности"))
    return "сервер не принял пароль пользователя «"_cps + cp1251::from_utf8(а.пользователь) +
           "». Проверьте имя пользователя и пароль (или строку в файле ~/.pgpass)."_cps;
  if (есть("no password supplied"))
    return "сервер требует пароль, а он не задан. Введите пароль или запишите его в файл ~/.pgpass."_cps;
  if (есть_имя("database ", "база данных ", а.база.empty() ? а.пользователь : а.база))
    return "на сервере нет базы данных «"_cps + cp1251::from_utf8(а.база) + "». Её создаёт администратор (createdb)."_cps;
  if (есть_имя("role ", "роль ", а.пользователь))
    return "на сервере нет пользователя «"_cps + cp1251::from_utf8(а.пользователь) + "»."_cps;
  return "сервер ответил: "_cps + из_qt(t.trimmed()) + "."_cps;
}

// Why a connection could not be made, in the user's words: the host checked first, then what the
// server said.
std::string почему_нет_связи(const АдресСервера& а, const QSqlError& e) {
  switch (проверить_адрес(а)) {
    case Достижимость::имя_не_найдено:
      return "компьютер «"_cps + cp1251::from_utf8(а.хост) + "» не найден. Проверьте имя сервера и связь с сетью."_cps;
    case Достижимость::нет_сервера:
      return "сервер не отвечает. Проверьте, что он запущен и доступен по сети, и его порт ("_cps +
             std::to_string(а.порт) + ")."_cps;
    case Достижимость::сервер_есть:
      break;
  }
  return почему_отказал(а, e);
}

// The message of a connection refused when a catalogue is opened.
std::string не_подключено(const АдресСервера& а, const std::string& почему) {
  return "Не удалось подключиться к каталогу «"_cps + а.показ() + "»: "_cps + почему;
}

std::atomic<int> номер_связи{0};

}  // namespace

struct ХранилищеСервера::Состояние {
  АдресСервера адрес;
  QString имя_связи;
  bool только_чтение = false;
  bool связь_есть = true;

  enum class Занятие { нет, чтение, запись };
  Занятие занятие = Занятие::нет;
  // A statement of the transaction failed: the transaction is rolled back at once (nothing of it
  // is stored), its other statements are refused with the same error, and the change is refused
  // once, by the first save (or the commit) that hears of it.
  int код_сбоя = 0;
  bool сбой_сказан = false;
  bool сохранено = false;  // the transaction stored something (the other desks are to hear)

  // What this desk knows to be stored: each section's version, the records and their places.
  std::map<std::string, qint64, std::less<>> версии;
  bool записи_известны = false;
  std::deque<ЗаписьБазы> записи;  // a deque: a record entered first is put in front cheaply
  std::deque<qint64> места;
  bool записи_тронуты = false;  // the transaction under way stored the records
  // What the transaction under way stored, kept here until it is committed.
  std::map<std::string, qint64, std::less<>> новые_версии;

  // The folder of this desk's cover pictures (host path); empty: the current folder, and pictures
  // are not fetched. The names of pictures known to be there.
  std::string папка_обложек;
  std::set<std::string, std::less<>> обложки_есть;

  std::function<void()> слушатель;
  std::unique_ptr<QObject> приёмник;
  QSqlError последняя;  // of the last statement that failed

  QSqlDatabase db() const { return QSqlDatabase::database(имя_связи, false); }

  ~Состояние() {
    // At the process's end, after its application object went, Qt SQL's own state may be gone
    // too: the connection is left to the system.
    if (!QCoreApplication::instance()) return;
    приёмник.reset();
    {
      QSqlDatabase d = db();
      d.close();
    }
    QSqlDatabase::removeDatabase(имя_связи);
  }

  // Runs a statement with its values; raises the host's error that stands for its failure.
  QSqlQuery выполнить(const QString& sql, const QVariantList& значения = {}) {
    if (код_сбоя) RUN_OsError(код_сбоя);
    QSqlQuery q(db());
    q.setForwardOnly(true);
    bool ok;
    if (значения.isEmpty()) {
      ok = q.exec(sql);
    } else {
      ok = q.prepare(sql);
      for (const QVariant& v : значения) q.addBindValue(v);
      ok = ok && q.exec();
    }
    if (!ok) {
      последняя = q.lastError();
      const int код = код_ошибки(последняя);
      if (код == errcode::host(ECONNRESET)) связь_есть = false;
      if (занятие != Занятие::нет) {
        код_сбоя = код;
        сбой_сказан = true;  // raised to the caller now
        QSqlQuery(db()).exec(QStringLiteral("ROLLBACK"));
      }
      RUN_OsError(код);
    }
    return q;
  }
  qint64 число(const QString& sql, const QVariantList& значения = {}) {
    QSqlQuery q = выполнить(sql, значения);
    return q.next() ? q.value(0).toLongLong() : 0;
  }

  // The section's version as stored (0 for one never stored).
  qint64 версия(std::string_view файл) {
    return число(QStringLiteral("SELECT version FROM sections WHERE file = ?"), {в_qt(файл)});
  }
  // Raises the section's stored version; the new one.
  qint64 поднять_версию(std::string_view файл, const std::optional<std::string>& текст) {
    QSqlQuery q = выполнить(QStringLiteral("INSERT INTO sections (file, text, version) VALUES (?, ?, 1) "
                                           "ON CONFLICT (file) DO UPDATE SET text = EXCLUDED.text, "
                                           "version = sections.version + 1 RETURNING version"),
                            {в_qt(файл), текст ? QVariant(в_qt(*текст)) : QVariant(QMetaType(QMetaType::QString))});
    q.next();
    return q.value(0).toLongLong();
  }

  // The stored records in their order, with their places.
  void прочитать_записи(std::deque<ЗаписьБазы>& записи_, std::deque<qint64>& места_) {
    записи_.clear();
    места_.clear();
    QSqlQuery q = выполнить(QStringLiteral(
        "SELECT code, author, title, category, kind, disk, binding, cover, place FROM records ORDER BY place"));
    while (q.next()) {
      ЗаписьБазы з;
      з.код = q.value(0).toInt();
      з.автор = из_qt(q.value(1).toString());
      з.наименование = из_qt(q.value(2).toString());
      з.категория = из_qt(q.value(3).toString());
      з.вид = из_qt(q.value(4).toString());
      з.диск = q.value(5).toInt();
      з.переплет = q.value(6).toInt();
      з.обложка = из_qt(q.value(7).toString());
      записи_.push_back(std::move(з));
      места_.push_back(q.value(8).toLongLong());
    }
  }

  // Puts `записи_[от, до)` in at the places given.
  void вставить_записи(const std::vector<ЗаписьБазы>& записи_, std::size_t от, std::size_t до,
                       const std::vector<qint64>& места_) {
    for (std::size_t начало = от; начало < до; начало += kСтрокЗаПроход) {
      const std::size_t конец = std::min(до, начало + kСтрокЗаПроход);
      std::vector<std::int32_t> коды, диски, переплёты;
      std::vector<qint64> м;
      std::string авторы = "{", названия = "{", категории = "{", виды = "{", обложки = "{";
      for (std::size_t i = начало; i < конец; ++i) {
        const ЗаписьБазы& з = записи_[i];
        коды.push_back(з.код);
        диски.push_back(з.диск);
        переплёты.push_back(з.переплет);
        м.push_back(места_[i - от]);
        добавить_в_массив(авторы, з.автор);
        добавить_в_массив(названия, з.наименование);
        добавить_в_массив(категории, з.категория);
        добавить_в_массив(виды, з.вид);
        добавить_в_массив(обложки, з.обложка);
      }
      for (std::string* m : {&авторы, &названия, &категории, &виды, &обложки}) m->push_back('}');
      выполнить(QStringLiteral("INSERT INTO records (code, author, title, category, kind, disk, binding, cover, place) "
                               "SELECT * FROM unnest(CAST(? AS integer[]), CAST(? AS text[]), CAST(? AS text[]), "
                               "CAST(? AS text[]), CAST(? AS text[]), CAST(? AS integer[]), CAST(? AS integer[]), "
                               "CAST(? AS text[]), CAST(? AS bigint[]))"),
                {utf(массив_чисел(коды)), utf(авторы), utf(названия), utf(категории), utf(виды),
                 utf(массив_чисел(диски)), utf(массив_чисел(переплёты)), utf(обложки), utf(массив_чисел(м))});
    }
  }

  // Stores the records of memory by what differs from what is stored: the records before and
  // after the part that changed keep their rows; the part between is deleted and put in anew at
  // places between its neighbours' (all of them renumbered when there is no room). One pass over
  // memory finds the part, reading the records in place; only the part is copied.
  void сохранить_записи() {
    записи_тронуты = true;
    if (!записи_известны) {
      выполнить(QStringLiteral("DELETE FROM records"));
      записи_известны = true;  // known once it is stored below; a rollback forgets it again
      сохранить_все(база_лит.all());
      return;
    }
    const std::size_t m = база_лит.count(), n = записи.size();
    const std::ptrdiff_t сдвиг = static_cast<std::ptrdiff_t>(m) - static_cast<std::ptrdiff_t>(n);
    std::size_t начало = 0, i = 0;
    bool в_начале = true;
    std::optional<std::size_t> последнее_отличие;  // of memory from the stored records aligned at the end
    std::int32_t наибольший = 0;
    for (auto v : база_лит.views()) {
      наибольший = std::max(наибольший, v[&ЗаписьБазы::код]);
      if (в_начале) {
        if (i < n && та_же(v, записи[i]))
          ++начало;
        else
          в_начале = false;
      }
      const std::ptrdiff_t j = static_cast<std::ptrdiff_t>(i) - сдвиг;
      if (j < 0 || !та_же(v, записи[static_cast<std::size_t>(j)])) последнее_отличие = i;
      ++i;
    }
    std::size_t конец = последнее_отличие ? m - 1 - *последнее_отличие : m;
    конец = std::min(конец, std::min(m, n) - начало);
    const std::size_t убрать = n - конец - начало, вставить = m - конец - начало;
    std::vector<ЗаписьБазы> новые_записи;
    новые_записи.reserve(вставить);
    i = 0;
    for (auto v : база_лит.views()) {
      if (i >= начало + вставить) break;
      if (i++ >= начало) новые_записи.push_back(v.record());
    }
    std::optional<qint64> до, после;
    if (начало > 0) до = места[начало - 1];
    if (конец > 0) после = места[n - конец];
    if (до && после && static_cast<Широкое>(*после) - *до <= static_cast<Широкое>(вставить)) {
      выполнить(QStringLiteral("DELETE FROM records"));  // no room between the neighbours
      сохранить_все(база_лит.all());
      return;
    }
    std::vector<qint64> старые(места.begin() + static_cast<std::ptrdiff_t>(начало),
                               места.begin() + static_cast<std::ptrdiff_t>(начало + убрать));
    if (!старые.empty())
      выполнить(QStringLiteral("DELETE FROM records WHERE place = ANY(CAST(? AS bigint[]))"), {utf(массив_чисел(старые))});
    std::vector<qint64> новые;
    for (std::size_t k = 0; k < вставить; ++k) {
      if (до && после)
        новые.push_back(*до + static_cast<qint64>((static_cast<Широкое>(*после) - *до) * static_cast<Широкое>(k + 1) /
                                                  static_cast<Широкое>(вставить + 1)));
      else if (после)
        новые.push_back(*после - static_cast<qint64>(вставить - k) * kШагМест);
      else if (до)
        новые.push_back(*до + static_cast<qint64>(k + 1) * kШагМест);
      else
        новые.push_back(static_cast<qint64>(k) * kШагМест);
    }
    сохранить_обложки(новые_записи);
    вставить_записи(новые_записи, 0, вставить, новые);
    поднять_код(наибольший);
    // What is stored now, taken as known; a rollback forgets it (записи_тронуты).
    const auto где = static_cast<std::ptrdiff_t>(начало);
    записи.erase(записи.begin() + где, записи.begin() + где + static_cast<std::ptrdiff_t>(убрать));
    места.erase(места.begin() + где, места.begin() + где + static_cast<std::ptrdiff_t>(убрать));
    записи.insert(записи.begin() + где, std::make_move_iterator(новые_записи.begin()),
                  std::make_move_iterator(новые_записи.end()));
    места.insert(места.begin() + где, новые.begin(), новые.end());
  }

  // Every record of memory stored in a row (the table emptied before), and known as stored.
  void сохранить_все(std::vector<ЗаписьБазы> все) {
    сохранить_обложки(все);
    std::vector<qint64> м;
    std::int32_t наибольший = 0;
    for (std::size_t k = 0; k < все.size(); ++k) {
      м.push_back(static_cast<qint64>(k) * kШагМест);
      наибольший = std::max(наибольший, все[k].код);
    }
    вставить_записи(все, 0, все.size(), м);
    поднять_код(наибольший);
    записи.assign(std::make_move_iterator(все.begin()), std::make_move_iterator(все.end()));
    места.assign(м.begin(), м.end());
  }

  // A picture's file in this desk's folder of pictures (cp1251, as the runtime's files take it).
  std::string файл_обложки(const std::string& имя) const {
    return папка_обложек.empty() ? имя : RUN_FromHostPath(файл_в_папке(папка_обложек, имя));
  }

  // The pictures that `записи_` name and the server does not hold yet, stored from this desk's
  // folder of pictures in the transaction under way, beside the records that name them. A name
  // whose file is not there (or is no picture file one can read) stays without a picture, as it
  // would in a folder.
  void сохранить_обложки(const std::vector<ЗаписьБазы>& записи_) {
    std::set<std::string> имена;
    for (const ЗаписьБазы& з : записи_)
      if (имя_обложки(з.обложка)) имена.insert(з.обложка);
    if (имена.empty()) return;
    QSqlQuery q = выполнить(QStringLiteral("SELECT name FROM covers WHERE name = ANY(CAST(? AS text[]))"),
                            {массив_имён(имена)});
    while (q.next()) имена.erase(из_qt(q.value(0).toString()));
    for (const std::string& имя : имена) {
      std::optional<std::string> байты;
      try {
        байты = IO_RdFileBytes(файл_обложки(имя), kНаибольшаяОбложка);
      } catch (const RunError& e) {
        if (!ERR_IsHostCondition(e.code())) throw;
      }
      if (!байты) continue;
      выполнить(QStringLiteral("INSERT INTO covers (name, picture) VALUES (?, ?) ON CONFLICT (name) DO NOTHING"),
                {в_qt(имя), QByteArray(байты->data(), static_cast<qsizetype>(байты->size()))});
    }
  }

  // Brings this desk's folder of pictures up to the records in memory: a picture a record names
  // that is not there yet is fetched from the server and written there (one that cannot be
  // written is left for the next time).
  void получить_обложки() {
    if (папка_обложек.empty()) return;
    std::set<std::string> нужны;
    for (auto v : база_лит.views()) {
      std::string имя(v[&ЗаписьБазы::обложка]);
      if (имя_обложки(имя) && !обложки_есть.contains(имя)) нужны.insert(std::move(имя));
    }
    for (auto it = нужны.begin(); it != нужны.end();) {
      std::error_code ec;
      if (std::filesystem::is_regular_file(файл_в_папке(папка_обложек, *it), ec)) {
        обложки_есть.insert(*it);
        it = нужны.erase(it);
      } else {
        ++it;
      }
    }
    картинки(нужны, [this](const std::string& имя, const QByteArray& байты) {
      try {
        записать_копию_картинки(файл_в_папке(папка_обложек, имя), байты);
        обложки_есть.insert(имя);
      } catch (const RunError& e) {
        if (!ERR_IsHostCondition(e.code())) throw;
      }
    });
  }

  // Calls `каждая(имя, байты)` for each picture of `имена` that the server holds, asked for a
  // hundred names at a time: pictures may be large, and a statement's answer is held whole.
  template <class Каждая>
  void картинки(const std::set<std::string>& имена, Каждая каждая) {
    constexpr std::size_t kИмёнЗаРаз = 100;
    std::vector<std::string> часть;
    const auto спросить = [&] {
      QSqlQuery q = выполнить(QStringLiteral("SELECT name, picture FROM covers WHERE name = ANY(CAST(? AS text[]))"),
                              {массив_имён(часть)});
      while (q.next()) каждая(из_qt(q.value(0).toString()), q.value(1).toByteArray());
      часть.clear();
    };
    for (const std::string& имя : имена) {
      часть.push_back(имя);
      if (часть.size() == kИмёнЗаРаз) спросить();
    }
    if (!часть.empty()) спросить();
  }

  // The sequence of codes kept past every code stored.
  void поднять_код(std::int32_t наибольший) {
    выполнить(QStringLiteral("SELECT setval('record_codes', GREATEST(last_value, ?)) FROM record_codes"),
              {QVariant(static_cast<qint64>(наибольший))});
  }

  static bool та_же(const FactView<ЗаписьБазы>& v, const ЗаписьБазы& з) {
    return v[&ЗаписьБазы::код] == з.код && v[&ЗаписьБазы::диск] == з.диск && v[&ЗаписьБазы::переплет] == з.переплет &&
           v[&ЗаписьБазы::наименование] == з.наименование && v[&ЗаписьБазы::автор] == з.автор &&
           v[&ЗаписьБазы::категория] == з.категория && v[&ЗаписьБазы::вид] == з.вид && v[&ЗаписьБазы::обложка] == з.обложка;
  }

  // The transaction under way ends: what it stored becomes what this desk knows to be stored.
  void принять_сохранённое() {
    for (auto& [файл, в] : новые_версии) версии[файл] = в;
    новые_версии.clear();
    записи_тронуты = false;
  }
  // It is rolled back: the versions it raised are forgotten, and the records, changed in place
  // as they were stored, are no longer known (the next store writes them whole, the next read
  // reads them).
  void забыть_сохранённое() {
    новые_версии.clear();
    if (записи_тронуты) {
      записи_известны = false;
      записи.clear();
      места.clear();
    }
    записи_тронуты = false;
  }

  void начать(Занятие как) {
    код_сбоя = 0;
    сбой_сказан = false;
    сохранено = false;
    выполнить(как == Занятие::запись ? QStringLiteral("BEGIN")
                                     : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    занятие = как;
  }
  // A failure of the transaction not yet told: raised now, once.
  void сказать_о_сбое() {
    if (!код_сбоя || сбой_сказан) return;
    сбой_сказан = true;
    RUN_OsError(код_сбоя);
  }
  // Ends the transaction: committed (raises when the commit fails or a statement of it failed
  // unheard, and then nothing is stored) or rolled back.
  void закончить(bool закрепить) {
    if (занятие == Занятие::нет) return;
    if (закрепить && !код_сбоя) {
      // The transaction's number, to ask after it when the answer to its commit is lost.
      qint64 номер = 0;
      if (сохранено) {
        выполнить(QStringLiteral("NOTIFY ") + QLatin1String(kКанал));
        номер = число(QStringLiteral("SELECT txid_current()"));
      }
      try {
        выполнить(QStringLiteral("COMMIT"));  // on failure: rolled back, the hold ends it
      } catch (const RunError& e) {
        if (!номер || e.code() != errcode::host(ECONNRESET) || !зафиксирована(номер)) throw;
      }
      занятие = Занятие::нет;
      принять_сохранённое();
      return;
    }
    const bool сказать = закрепить;
    if (сказать) сказать_о_сбое();
    откатить();
  }
  // Whether the transaction `номер`, the answer to whose commit was lost with the connection, was
  // committed all the same: asked over the connection made again at once. When it cannot be made
  // now, no: the change is told as not stored (memory put back), and once the server is back the
  // watch reads whatever it holds.
  bool зафиксирована(qint64 номер) {
    const int сбой = std::exchange(код_сбоя, 0);
    const Занятие было = std::exchange(занятие, Занятие::нет);
    bool да = false;
    try {
      if (!связь()) {
        QSqlQuery q = выполнить(QStringLiteral("SELECT txid_status(?)"), {QVariant(номер)});
        да = q.next() && q.value(0).toString() == QLatin1String("committed");
      }
    } catch (const RunError&) {  // the server answers nothing yet
    }
    if (!да) {
      код_сбоя = сбой;
      занятие = было;
    }
    return да;
  }
  void откатить() {
    if (!код_сбоя) QSqlQuery(db()).exec(QStringLiteral("ROLLBACK"));
    занятие = Занятие::нет;
    код_сбоя = 0;
    сбой_сказан = false;
    забыть_сохранённое();
  }

  void подписаться() {
    if (!слушатель) return;
    QSqlDriver* driver = db().driver();
    if (!driver->subscribedToNotifications().contains(QLatin1String(kКанал)))
      driver->subscribeToNotification(QLatin1String(kКанал));
    приёмник = std::make_unique<QObject>();
    QObject::connect(driver, &QSqlDriver::notification, приёмник.get(),
                     [this](const QString&, QSqlDriver::NotificationSource source, const QVariant&) {
                       if (source != QSqlDriver::SelfSource && слушатель) слушатель();
                     });
  }

  // The connection, made again when it was lost; why it cannot be had.
  std::optional<std::string> связь() {
    QSqlDatabase d = db();
    if (d.isOpen()) {
      QSqlQuery q(d);
      if (q.exec(QStringLiteral("SELECT 1")) || !связь_оборвана(q.lastError())) {
        связь_есть = true;
        return std::nullopt;
      }
      d.close();
    }
    if (!d.open()) {
      связь_есть = false;
      return почему_нет_связи(адрес, d.lastError());
    }
    связь_есть = true;
    подписаться();
    return std::nullopt;
  }
};

namespace {

// The hold of a server catalogue: the transaction, ended when the hold goes (rolled back unless
// закрепить committed it).
class ЗанятиеСервера : public ЗанятиеХранилища {
 public:
  explicit ЗанятиеСервера(ХранилищеСервера::Состояние& с) : с_(с) {}
  ~ЗанятиеСервера() override {
    try {
      с_.закончить(с_.занятие == ХранилищеСервера::Состояние::Занятие::чтение);
    } catch (const RunError&) {  // a reader's snapshot that cannot be ended stored nothing
    }
  }

 private:
  ХранилищеСервера::Состояние& с_;
};

}  // namespace

ХранилищеСервера::ХранилищеСервера(std::unique_ptr<Состояние> состояние) : с_(std::move(состояние)) {}
ХранилищеСервера::~ХранилищеСервера() = default;

const АдресСервера& ХранилищеСервера::адрес() const { return с_->адрес; }
bool ХранилищеСервера::только_чтение() const { return с_->только_чтение; }
bool ХранилищеСервера::на_связи() const { return с_->связь_есть; }

void ХранилищеСервера::загрузить(const РазделКаталога& р) {
  Состояние& с = *с_;
  const qint64 версия = с.версия(р.файл);  // before reading: what is read is never older than what was seen
  if (записи_раздела(р)) {
    std::deque<ЗаписьБазы> записи;
    std::deque<qint64> места;
    с.прочитать_записи(записи, места);
    for (const ЗаписьБазы& з : записи) база_лит.assertz(з);
    с.записи = std::move(записи);
    с.места = std::move(места);
    с.записи_известны = true;
    с.получить_обложки();
  } else if (const auto текст = текст_раздела(р)) {
    RNT_ConsultText(*р.секция, *текст);
  }
  с.версии[std::string(р.файл)] = версия;
}

void ХранилищеСервера::перечитать(const РазделКаталога& р) {
  Состояние& с = *с_;
  const qint64 версия = с.версия(р.файл);
  if (записи_раздела(р)) {
    std::deque<ЗаписьБазы> записи;
    std::deque<qint64> места;
    с.прочитать_записи(записи, места);
    база_лит.retract_all();
    for (const ЗаписьБазы& з : записи) база_лит.assertz(з);
    с.записи = std::move(записи);
    с.места = std::move(места);
    с.записи_известны = true;
    с.получить_обложки();
  } else {
    const std::string текст = текст_раздела(р).value_or(std::string());
    RNT_RetractallVar(*р.секция);
    RNT_ConsultText(*р.секция, текст);
  }
  с.версии[std::string(р.файл)] = версия;
}

void ХранилищеСервера::сохранить(const РазделКаталога& р) {
  Состояние& с = *с_;
  // A transaction that failed was rolled back whole, what was stored in it before too: its
  // failure is told once; a section saved again to put it back has nothing to do.
  if (с.код_сбоя) {
    с.сказать_о_сбое();
    return;
  }
  const bool своя = с.занятие == Состояние::Занятие::нет;  // outside a hold: a transaction of its own
  if (своя) с.начать(Состояние::Занятие::запись);
  try {
    if (записи_раздела(р)) {
      с.сохранить_записи();
      с.новые_версии[std::string(р.файл)] = с.поднять_версию(р.файл, std::nullopt);
    } else {
      с.новые_версии[std::string(р.файл)] = с.поднять_версию(р.файл, RNT_SaveText(*р.секция));
    }
    с.сохранено = true;
    if (своя) с.закончить(true);
  } catch (...) {
    if (своя) с.откатить();
    throw;
  }
}

void ХранилищеСервера::закрепить() {
  if (с_->занятие != Состояние::Занятие::запись) return;
  с_->сказать_о_сбое();
  if (!с_->код_сбоя) с_->закончить(true);
}

std::optional<ОтказСохранения> ХранилищеСервера::отказ_сохранения(int код_ошибки) const {
  const std::string где = "«"_cps + с_->адрес.показ() + "»"_cps;
  const std::string администратор = "Если так будет и дальше, сообщите администратору сервера."_cps;
  if (код_ошибки == errcode::host(ECONNRESET))
    return ОтказСохранения{"связь с сервером каталога прервалась"_cps,
                           "Программа подключится к серверу снова сама; когда связь восстановится, повторите."_cps};
  if (код_ошибки == errcode::host(EACCES))
    return ОтказСохранения{"у пользователя «"_cps + cp1251::from_utf8(с_->адрес.пользователь) +
                               "» нет прав изменять каталог "_cps + где,
                           "Права на изменение каталога даёт администратор сервера."_cps};
  if (код_ошибки == errcode::host(EROFS))
    return ОтказСохранения{"сервер каталога сейчас принимает только чтение"_cps, администратор};
  if (код_ошибки == errcode::host(ENOSPC))
    return ОтказСохранения{"серверу каталога не хватило места на диске или памяти"_cps, администратор};
  if (код_ошибки == errcode::host(EEXIST))
    return ОтказСохранения{"на сервере уже есть запись с тем же кодом"_cps,
                           "Повторите: программа прочитает каталог с сервера заново."_cps};
  const QString текст = слова_сервера(с_->последняя);
  return ОтказСохранения{"сервер каталога отказал"_cps + (текст.isEmpty() ? std::string() : " ("_cps + из_qt(текст) + ")"_cps),
                         "Повторите; если сервер откажет снова, сообщите администратору сервера."_cps};
}

СловаНедоступности ХранилищеСервера::слова_недоступности() const {
  return {"Нет связи с сервером каталога: "_cps,
          " Пока связи нет, изменения не сохраняются; программа показывает данные, прочитанные раньше, и "
          "подключается снова сама."_cps,
          " Пока связи с сервером нет, изменения не сохраняются; данные остались как были. Когда связь "
          "восстановится, повторите."_cps,
          "Связь с сервером каталога восстановлена: изменения снова сохраняются."_cps};
}

std::optional<std::string> ХранилищеСервера::недоступно() {
  if (с_->занятие != Состояние::Занятие::нет) return std::nullopt;
  return с_->связь();
}

bool ХранилищеСервера::изменён(const РазделКаталога& р) {
  if (!р.при_открытии) return false;
  const auto it = с_->версии.find(р.файл);
  return it != с_->версии.end() && с_->версия(р.файл) != it->second;
}

std::unique_ptr<ЗанятиеХранилища> ХранилищеСервера::занять(bool для_записи, std::chrono::milliseconds ждать,
                                                          const std::function<void()>& пока_ждём) {
  Состояние& с = *с_;
  if (с.занятие != Состояние::Занятие::нет) с.откатить();  // a hold left behind by a fault
  с.начать(для_записи ? Состояние::Занятие::запись : Состояние::Занятие::чтение);
  auto занятие = std::make_unique<ЗанятиеСервера>(с);
  if (!для_записи) return занятие;
  const auto до = std::chrono::steady_clock::now() + ждать;
  for (;;) {
    if (с.число(QStringLiteral("SELECT pg_try_advisory_xact_lock(?)::int"), {QVariant(kЗамокЗаписи)})) return занятие;
    if (std::chrono::steady_clock::now() >= до) return nullptr;  // the hold goes: rolled back
    if (пока_ждём) пока_ждём();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// A code the sequence cannot give (no right to it, the connection lost) is left to the core's
// rule: the change's save then tells what failed.
std::optional<std::int32_t> ХранилищеСервера::новый_код(std::optional<std::int32_t> наибольший) {
  Состояние& с = *с_;
  if (с.только_чтение) return std::nullopt;
  try {
    с.выполнить(QStringLiteral("SELECT setval('record_codes', GREATEST(last_value, ?)) FROM record_codes"),
              {QVariant(static_cast<qint64>(std::max(наибольший.value_or(0), 0)))});
    const qint64 код = с.число(QStringLiteral("SELECT nextval('record_codes')"));
    if (код > INT32_MAX) RUN_Error(errcode::kIntOverflow);
    return static_cast<std::int32_t>(код);
  } catch (const RunError& e) {
    if (e.code() == errcode::kIntOverflow) throw;
    с.сбой_сказан = false;  // the save tells it
    return std::nullopt;
  }
}

bool ХранилищеСервера::пуст() {
  return с_->число(QStringLiteral("SELECT (SELECT count(*) FROM records) + (SELECT count(*) FROM sections)")) == 0;
}

std::size_t ХранилищеСервера::число_записей() {
  return static_cast<std::size_t>(с_->число(QStringLiteral("SELECT count(*) FROM records")));
}

std::size_t ХранилищеСервера::число_обложек() {
  return static_cast<std::size_t>(с_->число(QStringLiteral("SELECT count(*) FROM covers")));
}

std::optional<std::string> ХранилищеСервера::текст_раздела(const РазделКаталога& р) {
  QSqlQuery q = с_->выполнить(QStringLiteral("SELECT text FROM sections WHERE file = ?"), {в_qt(р.файл)});
  if (!q.next() || q.value(0).isNull()) return std::nullopt;
  return из_qt(q.value(0).toString());
}

void ХранилищеСервера::задать_папку_обложек(const std::string& папка) {
  с_->папка_обложек = папка;
  с_->обложки_есть.clear();
}

ХранилищеСервера::ОбложкиВПапке ХранилищеСервера::записать_обложки(const std::string& папка) {
  std::set<std::string> имена;
  for (auto v : база_лит.views()) {
    std::string имя(v[&ЗаписьБазы::обложка]);
    if (имя_обложки(имя)) имена.insert(std::move(имя));
  }
  ОбложкиВПапке итог;
  std::size_t есть = 0;
  с_->картинки(имена, [&](const std::string& имя, const QByteArray& байты) {
    if (!имена.contains(имя)) return;
    ++есть;
    const std::string путь = файл_в_папке(папка, имя);
    записать_копию_картинки(путь, байты);
    итог.файлы.push_back(RUN_FromHostPath(путь));
  });
  итог.нет = static_cast<int>(имена.size() - есть);
  return итог;
}

void ХранилищеСервера::слушать(std::function<void()> пришло) {
  с_->слушатель = std::move(пришло);
  с_->приёмник.reset();
  if (!с_->слушатель) {
    с_->db().driver()->unsubscribeFromNotification(QLatin1String(kКанал));
    return;
  }
  с_->подписаться();
}

int версия_схемы_сервера() { return static_cast<int>(миграции().size()); }

ОткрытиеСервера открыть_сервер(const АдресСервера& адрес) {
  нужно_приложение();
  ОткрытиеСервера итог;
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
    итог.ошибка = не_подключено(адрес, "в системе нет драйвера PostgreSQL для Qt (пакет libqt6sql6-psql)."_cps);
    return итог;
  }
  auto с = std::make_unique<ХранилищеСервера::Состояние>();
  с->адрес = адрес;
  с->имя_связи = QStringLiteral("foliarkh-catalogue-%1").arg(++номер_связи);
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), с->имя_связи);
    if (!адрес.хост.empty()) db.setHostName(utf(адрес.хост));
    db.setPort(адрес.порт);
    if (!адрес.база.empty()) db.setDatabaseName(utf(адрес.база));
    if (!адрес.пользователь.empty()) db.setUserName(utf(адрес.пользователь));
    if (!адрес.пароль.empty()) db.setPassword(utf(адрес.пароль));
    QString options = QStringLiteral("connect_timeout=10;application_name=foliarkh");
    if (!адрес.параметры.empty()) options += QLatin1Char(';') + utf(адрес.параметры);
    db.setConnectOptions(options);
    if (!db.open()) {
      итог.ошибка = не_подключено(адрес, почему_нет_связи(адрес, db.lastError()));
      return итог;
    }
  }
  const std::string где = "«"_cps + адрес.показ() + "»"_cps;
  const int наша = версия_схемы_сервера();
  try {
    с->начать(ХранилищеСервера::Состояние::Занятие::запись);
    с->выполнить(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {QVariant(kЗамокСхемы)});
    const bool есть_схема = с->число(QStringLiteral("SELECT (to_regclass('foliarkh_schema') IS NOT NULL)::int")) != 0;
    int версия = 0;
    if (есть_схема) {
      версия = static_cast<int>(с->число(QStringLiteral("SELECT max(version) FROM foliarkh_schema")));
      if (версия > наша) {
        с->откатить();
        итог.ошибка = "Каталог "_cps + где + " создан более новой версией программы (схема базы данных версии "_cps +
                      std::to_string(версия) + ", эта программа знает версии до "_cps + std::to_string(наша) +
                      "). Обновите программу; каталог не изменён."_cps;
        return итог;
      }
    } else if (с->число(QStringLiteral(
                   "SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                   "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'v', 'm', 'S', 'p', 'f')")) > 0) {
      с->откатить();
      итог.ошибка = "База данных "_cps + где +
                    " уже содержит другие таблицы и не является каталогом Фолиарха. Каталог создаётся только в "
                    "пустой базе данных; база не изменена."_cps;
      return итог;
    }
    if (версия < наша) {
      if (!с->число(QStringLiteral("SELECT has_database_privilege(current_database(), 'CREATE')::int")) &&
          !с->число(QStringLiteral("SELECT has_schema_privilege(current_schema(), 'CREATE')::int"))) {
        с->откатить();
        итог.ошибка = (есть_схема ? "Каталог "_cps + где + " нужно обновить, "_cps
                                  : "База данных "_cps + где + " пуста, и каталог в ней нужно создать, "_cps) +
                      "но у пользователя «"_cps + cp1251::from_utf8(адрес.пользователь) +
                      "» нет на это прав. Подключитесь один раз как владелец базы данных."_cps;
        return итог;
      }
      for (int v = версия; v < наша; ++v) с->выполнить(QString::fromUtf8(миграции()[static_cast<std::size_t>(v)]));
      с->выполнить(QStringLiteral("UPDATE foliarkh_schema SET version = ?"), {QVariant(наша)});
    }
    с->только_чтение = с->число(QStringLiteral("SELECT has_table_privilege('records', 'INSERT')::int")) == 0;
    с->закончить(true);
  } catch (const RunError&) {
    с->откатить();
    итог.ошибка = "Не удалось подготовить каталог "_cps + где + ": сервер ответил: "_cps + из_qt(с->последняя.text()) +
                  "."_cps;
    return итог;
  }
  итог.хранилище.reset(new ХранилищеСервера(std::move(с)));
  return итог;
}

std::optional<std::string> перенести_каталог(ХранилищеСервера& сервер) {
  const std::string где = "«"_cps + сервер.адрес().показ() + "»"_cps;
  try {
    if (сервер.только_чтение())
      return "Каталог не перенесён: у пользователя нет прав изменять каталог "_cps + где + "."_cps;
    auto занятие = сервер.занять(true, std::chrono::seconds(10), {});
    if (!занятие) return "Каталог не перенесён: каталог "_cps + где + " сейчас изменяет другое рабочее место."_cps;
    if (!сервер.пуст())
      return "Каталог не перенесён: в каталоге "_cps + где +
             " уже есть данные. Переносить можно только в пустую базу данных."_cps;
    for (const РазделКаталога& р : разделы_каталога()) сервер.сохранить(р);
    const std::size_t записей = сервер.число_записей();
    if (записей != база_лит.count())
      return "Каталог не перенесён: на сервере оказалось "_cps + std::to_string(записей) + " записей вместо "_cps +
             std::to_string(база_лит.count()) + "; ничего не сохранено."_cps;
    // Every picture a record names whose file the folder holds.
    std::set<std::string> картинки;
    for (auto v : база_лит.views()) {
      std::string имя(v[&ЗаписьБазы::обложка]);
      std::error_code ec;
      if (имя_обложки(имя) && std::filesystem::is_regular_file(RUN_HostPath(имя), ec)) картинки.insert(std::move(имя));
    }
    const auto обложек = сервер.число_обложек();
    if (обложек != картинки.size())
      return "Каталог не перенесён: на сервере оказалось картинок обложек "_cps + std::to_string(обложек) +
             " вместо "_cps + std::to_string(картинки.size()) + "; ничего не сохранено."_cps;
    for (const РазделКаталога& р : разделы_каталога()) {
      if (записи_раздела(р)) continue;
      if (сервер.текст_раздела(р).value_or(std::string()) != RNT_SaveText(*р.секция))
        return "Каталог не перенесён: данные файла «"_cps + std::string(р.файл) +
               "» на сервере не совпали с прочитанными; ничего не сохранено."_cps;
    }
    сервер.закрепить();
  } catch (const RunError& e) {
    return "Каталог не перенесён: сервер "_cps + где + " не сохранил данные ("_cps +
           (e.code() == errcode::host(ECONNRESET) ? "связь с сервером прервалась"_cps
            : e.code() == errcode::host(EEXIST) ? "в каталоге есть записи с одинаковым кодом"_cps
            : e.code() == errcode::host(EACCES) ? "нет прав"_cps
                                                : "ошибка сервера"_cps) +
           "); ничего не сохранено."_cps;
  }
  return std::nullopt;
}

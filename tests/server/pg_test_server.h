// A private PostgreSQL server for tests: made with initdb in a temporary folder and started with
// pg_ctl on a Unix socket in that folder (no TCP port, no system service), stopped and removed
// when its value goes, also when the test process dies (a guard process watches it). The server
// refuses to run as root, so under root (CI) it runs as the unprivileged user "nobody"; otherwise
// as the current user. Plain C++ and POSIX, no Qt: GoogleTest and Qt Test suites both use it.
//
// The binaries are those of the distribution's server package, the newest version under
// /usr/lib/postgresql/<version>/bin (FOLIARKH_PG_BINDIR names another folder). Every failure
// throws PgTestServerError with what the tool said and the end of the server's log.
//
//   test_support::PgTestServer server;               // running when constructed
//   server.create_role("writer", "secret");
//   server.create_database("library", "writer");     // the writer owns it and may make tables
//   server.create_role("reader", "secret");
//   server.grant_read_only("reader", "library");     // also on tables the owner makes later
//   QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "desk");
//   db.setHostName(QString::fromStdString(server.socket_dir()));
//   db.setPort(server.port());
//   db.setDatabaseName("library"); db.setUserName("writer"); db.setPassword("secret");
//   server.stop(); … server.start();                 // a server that goes away mid-test
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace test_support {

class PgTestServerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class PgTestServer {
 public:
  struct Options {
    // Whether connections must give a password (scram-sha-256) or are trusted. With passwords,
    // the superuser's is superuser_password, and a role made without a password cannot log in.
    bool passwords = false;
    std::string superuser = "foliarkh_admin";
    std::string superuser_password = "foliarkh_admin";
    // More environment of the server's own processes ("NAME=value"; not LC_ALL): e.g. LOCPATH
    // naming a folder of locales made for the test, for a server that writes its messages in one.
    std::vector<std::string> environment;
  };
  // How stop() ends the server.
  enum class StopMode {
    fast,       // connections are ended, the server shuts down cleanly
    immediate,  // the server ends at once, as if it had crashed (it recovers at the next start)
  };

  // Makes the cluster and starts the server: about 2 s, most of it initdb.
  PgTestServer() : PgTestServer(Options{}) {}
  explicit PgTestServer(Options options);
  // Stops the server at once and removes its folders.
  ~PgTestServer();
  PgTestServer(const PgTestServer&) = delete;
  PgTestServer& operator=(const PgTestServer&) = delete;

  // Where a client connects: the folder of the server's socket (the "host" of a connection) and
  // the port that names the socket in it.
  const std::string& socket_dir() const { return socket_dir_; }
  int port() const { return port_; }
  const std::string& superuser() const { return options_.superuser; }
  const std::string& bin_dir() const { return bin_dir_; }
  // The server's own folder: its data, socket and log; gone after the value.
  const std::string& folder() const { return base_dir_; }
  // The process id of the running server (its postmaster); 0 when it does not run.
  int server_pid() const;
  // A libpq connection URI for `database` as `user` (no password in it), e.g.
  // "postgresql://writer@%2Ftmp%2Ffoliarkh-pg-Ab12Cd%2Fsocket:5432/library".
  std::string uri(const std::string& database, const std::string& user) const;

  // Runs `statements` (one or more, each its own transaction unless they say otherwise) as the
  // superuser on `database` with psql and returns what they print: rows one a line, fields
  // separated by "|", nothing else. Throws with psql's message when a statement fails. Calls from
  // several threads at once run side by side (one may hold a lock while another asks).
  std::string sql(const std::string& statements, const std::string& database = "postgres") const;
  // A login role; with a password when one is given.
  void create_role(const std::string& role, const std::string& password = "") const;
  // A database (UTF-8) owned by `owner` (the superuser when empty); the owner may make tables.
  void create_database(const std::string& database, const std::string& owner = "") const;
  // Lets `role` connect to `database` and read every table of its public schema, also those its
  // owner makes later, and nothing more.
  void grant_read_only(const std::string& role, const std::string& database) const;

  void stop(StopMode mode = StopMode::fast);
  // Starts the stopped server again on the same data and socket; waits until it takes connections.
  void start();
  bool running() const { return running_; }
  // The server's log so far.
  std::string log() const;

 private:
  struct Result {
    int exit_code = -1;
    std::string output;  // standard output and standard error together
  };
  // Runs the program `argv` to its end, as the server's user when `as_server_user`.
  Result run(const std::vector<std::string>& argv, bool as_server_user,
             const std::vector<std::string>& env = {}) const;
  // Runs it and throws, naming `what`, when it fails.
  std::string run_or_throw(const char* what, const std::vector<std::string>& argv, bool as_server_user,
                           const std::vector<std::string>& env = {}) const;
  [[noreturn]] void fail(const std::string& what) const;
  void start_guard();
  void remove_all() noexcept;

  Options options_;
  std::string bin_dir_;
  std::string base_dir_;  // holds data/, socket/, server.log and what psql reads
  std::string data_dir_;
  std::string socket_dir_;
  std::string log_file_;
  int port_ = 5432;
  bool drop_to_nobody_ = false;  // running as root: the server runs as nobody
  unsigned server_uid_ = 0;
  unsigned server_gid_ = 0;
  bool running_ = false;
  int guard_pid_ = -1;
  int guard_pipe_ = -1;  // the guard cleans up when this is closed, by the destructor or the process's end
};

// The binaries' folder (newest version first), or empty when no server package is installed.
std::string pg_test_server_bin_dir();

}  // namespace test_support

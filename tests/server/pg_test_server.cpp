// The private PostgreSQL server of the tests: its folders, the server's user, the tools it runs
// (initdb, pg_ctl, psql) and the guard process that removes it when the test process dies.
//
// Children are started with fork and execve only; everything they need (arguments, environment,
// the user to become) is made before the fork, so a test process with threads (Qt's) forks
// safely. Every child gets the inherited environment without its PG* variables (so a developer's
// own PGHOST or PGPASSWORD never leads a test elsewhere) and with LC_ALL=C.UTF-8.
#include "pg_test_server.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace test_support {

namespace fs = std::filesystem;

namespace {

// The guard: when its input ends (the test process closed it or died) it ends the server at once
// (SIGQUIT is the server's immediate shutdown; only a process whose folder is this server's data
// folder is signalled) and removes the folder given as $1.
constexpr const char* kGuardScript = R"sh(
cat >/dev/null
pidfile="$1/data/postmaster.pid"
if [ -f "$pidfile" ]; then
  pid=$(head -n 1 "$pidfile")
  if [ -n "$pid" ] && [ "$(readlink "/proc/$pid/cwd")" = "$1/data" ]; then
    kill -QUIT "$pid" 2>/dev/null
    n=0
    while kill -0 "$pid" 2>/dev/null && [ $n -lt 50 ]; do sleep 0.1; n=$((n + 1)); done
    kill -KILL "$pid" 2>/dev/null
  fi
fi
rm -rf "$1"
)sh";

std::string quote_ident(const std::string& name) {
  std::string q = "\"";
  for (const char c : name) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

std::string quote_literal(const std::string& text) {
  std::string q = "'";
  for (const char c : text) q += c == '\'' ? std::string("''") : std::string(1, c);
  return q + "'";
}

std::string percent_encoded(const std::string& s) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : s) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The environment of a child: the inherited one without PG* variables, LC_ALL=C.UTF-8, then
// `extra` ("NAME=value"), which replaces what it names.
std::vector<std::string> child_environment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (name.rfind("PG", 0) == 0 || name == "LC_ALL") continue;
    if (std::any_of(extra.begin(), extra.end(), [&](const std::string& x) { return x.rfind(name + "=", 0) == 0; }))
      continue;
    env.push_back(entry);
  }
  env.push_back("LC_ALL=C.UTF-8");
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  for (std::string& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

// The folder the server's folder is made in: the temporary folder when its socket's path stays
// short (the host takes about 100 bytes for it) and, for a server run as another user, /tmp,
// which every user can pass.
std::string parent_folder(bool other_user) {
  if (other_user) return "/tmp";
  std::error_code ec;
  const std::string tmp = fs::temp_directory_path(ec).string();
  return !ec && !tmp.empty() && tmp.size() < 60 ? tmp : "/tmp";
}

}  // namespace

std::string pg_test_server_bin_dir() {
  if (const char* dir = std::getenv("FOLIARKH_PG_BINDIR"); dir != nullptr && *dir != '\0') return dir;
  int best_version = -1;
  std::string best;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const std::string version = entry.path().filename().string();
    char* end = nullptr;
    const long v = std::strtol(version.c_str(), &end, 10);
    if (end == version.c_str() || *end != '\0') continue;
    const fs::path bin = entry.path() / "bin";
    if (!fs::exists(bin / "initdb") || !fs::exists(bin / "pg_ctl") || !fs::exists(bin / "psql")) continue;
    if (v > best_version) {
      best_version = static_cast<int>(v);
      best = bin.string();
    }
  }
  return best;
}

PgTestServer::PgTestServer(Options options) : options_(std::move(options)) {
  bin_dir_ = pg_test_server_bin_dir();
  if (bin_dir_.empty())
    throw PgTestServerError(
        "no PostgreSQL server binaries under /usr/lib/postgresql/<version>/bin: install the Debian package "
        "postgresql (scripts/setup.sh does), or name the folder in FOLIARKH_PG_BINDIR");

  drop_to_nobody_ = ::geteuid() == 0;
  if (drop_to_nobody_) {
    const passwd* pw = ::getpwnam("nobody");
    if (pw == nullptr) throw PgTestServerError("running as root, and there is no user \"nobody\" to run the server as");
    server_uid_ = pw->pw_uid;
    const group* gr = ::getgrnam("nogroup");
    server_gid_ = gr != nullptr ? gr->gr_gid : pw->pw_gid;
  } else {
    server_uid_ = ::geteuid();
    server_gid_ = ::getegid();
  }

  std::string tmpl = parent_folder(drop_to_nobody_) + "/foliarkh-pg-XXXXXX";
  if (::mkdtemp(tmpl.data()) == nullptr)
    throw PgTestServerError("cannot make a temporary folder in " + parent_folder(drop_to_nobody_) + ": " +
                            std::strerror(errno));
  base_dir_ = tmpl;
  data_dir_ = base_dir_ + "/data";
  socket_dir_ = base_dir_ + "/socket";
  log_file_ = base_dir_ + "/server.log";
  try {
    start_guard();
    const std::string pwfile = base_dir_ + "/superuser-password";
    std::ofstream(pwfile) << options_.superuser_password << "\n";
    if (::mkdir(socket_dir_.c_str(), 0755) != 0) fail("cannot make the socket folder");
    for (const std::string& path : {base_dir_, socket_dir_, pwfile})
      if (::chown(path.c_str(), server_uid_, server_gid_) != 0) fail("cannot give " + path + " to the server's user");
    ::chmod(base_dir_.c_str(), 0755);
    ::chmod(pwfile.c_str(), 0600);

    const std::string auth = options_.passwords ? "scram-sha-256" : "trust";
    run_or_throw("initdb",
                 {bin_dir_ + "/initdb", "-D", data_dir_, "-U", options_.superuser, "--pwfile=" + pwfile,
                  "--auth-local=" + auth, "--auth-host=" + auth, "--encoding=UTF8", "--locale=C.UTF-8", "--no-sync",
                  "--no-instructions"},
                 true, options_.environment);
    ::unlink(pwfile.c_str());
    start();
  } catch (...) {
    remove_all();
    throw;
  }
}

PgTestServer::~PgTestServer() {
  if (running_) {
    try {
      stop(StopMode::immediate);
    } catch (...) {
      // The guard ends it.
    }
  }
  remove_all();
}

void PgTestServer::remove_all() noexcept {
  if (guard_pipe_ >= 0) {
    ::close(guard_pipe_);  // the guard ends a server still running and removes the folder
    guard_pipe_ = -1;
    while (::waitpid(guard_pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    guard_pid_ = -1;
  } else if (!base_dir_.empty()) {
    std::error_code ec;
    fs::remove_all(base_dir_, ec);
  }
}

void PgTestServer::start_guard() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) fail("cannot make the guard's pipe");
  std::vector<std::string> args{"sh", "-c", kGuardScript, "foliarkh-pg-guard", base_dir_};
  std::vector<std::string> env{"PATH=/usr/bin:/bin", "LC_ALL=C"};
  auto argv = pointers(args);
  auto envp = pointers(env);
  const pid_t pid = ::fork();
  if (pid < 0) fail("cannot start the guard process");
  if (pid == 0) {
    ::setsid();  // out of the test's process group: a timeout that kills the group spares it
    ::dup2(fds[0], 0);
    ::execve("/bin/sh", argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(fds[0]);
  guard_pid_ = pid;
  guard_pipe_ = fds[1];
}

PgTestServer::Result PgTestServer::run(const std::vector<std::string>& argv_strings, bool as_server_user,
                                       const std::vector<std::string>& env_extra) const {
  std::vector<std::string> args = argv_strings;
  std::vector<std::string> env = child_environment(env_extra);
  auto argv = pointers(args);
  auto envp = pointers(env);
  const bool drop = as_server_user && drop_to_nobody_;
  const uid_t uid = server_uid_;
  const gid_t gid = server_gid_;
  const char* dir = base_dir_.c_str();

  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return Result{-1, std::string("pipe: ") + std::strerror(errno)};
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(out[0]);
    ::close(out[1]);
    return Result{-1, std::string("fork: ") + std::strerror(errno)};
  }
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0) ::dup2(null, 0);
    ::dup2(out[1], 1);
    ::dup2(out[1], 2);
    if (::chdir(dir) != 0) ::_exit(126);
    if (drop && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) ::_exit(126);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(out[1]);
  Result r;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(out[0], buf, sizeof buf);
    if (n > 0) r.output.append(buf, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR) break;
  }
  ::close(out[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

std::string PgTestServer::run_or_throw(const char* what, const std::vector<std::string>& argv, bool as_server_user,
                                       const std::vector<std::string>& env) const {
  Result r = run(argv, as_server_user, env);
  if (r.exit_code != 0) fail(std::string(what) + " failed (exit " + std::to_string(r.exit_code) + "):\n" + r.output);
  return r.output;
}

void PgTestServer::fail(const std::string& what) const {
  std::string message = "private PostgreSQL server in " + base_dir_ + ": " + what;
  const std::string server_log = log();
  if (!server_log.empty())
    message += "\n--- server log (end) ---\n" + server_log.substr(server_log.size() > 3000 ? server_log.size() - 3000 : 0);
  throw PgTestServerError(message);
}

void PgTestServer::start() {
  // The socket only: listen_addresses='' opens no TCP port. A test server needs no durability.
  const std::string options = "-k '" + socket_dir_ + "' -p " + std::to_string(port_) +
                              " -c listen_addresses='' -c fsync=off -c synchronous_commit=off"
                              " -c full_page_writes=off";
  run_or_throw("pg_ctl start",
               {bin_dir_ + "/pg_ctl", "-D", data_dir_, "-l", log_file_, "-w", "-t", "60", "-o", options, "start"},
               true, options_.environment);
  running_ = true;
}

void PgTestServer::stop(StopMode mode) {
  run_or_throw("pg_ctl stop",
               {bin_dir_ + "/pg_ctl", "-D", data_dir_, "-m", mode == StopMode::fast ? "fast" : "immediate", "-w",
                "-t", "60", "stop"},
               true);
  running_ = false;
}

std::string PgTestServer::log() const { return read_file(log_file_); }

int PgTestServer::server_pid() const {
  // The first line of the server's lock file in its data folder.
  std::istringstream in(read_file(data_dir_ + "/postmaster.pid"));
  int pid = 0;
  in >> pid;
  return pid;
}

std::string PgTestServer::uri(const std::string& database, const std::string& user) const {
  return "postgresql://" + percent_encoded(user) + "@" + percent_encoded(socket_dir_) + ":" + std::to_string(port_) +
         "/" + percent_encoded(database);
}

std::string PgTestServer::sql(const std::string& statements, const std::string& database) const {
  // A file of its own for each call: a test may hold one session open in a thread while it asks
  // another.
  static std::atomic<int> calls{0};
  const std::string file = base_dir_ + "/statements-" + std::to_string(++calls) + ".sql";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << statements << "\n";
    if (!out) fail("cannot write " + file);
  }
  struct Remove {
    const std::string& file;
    ~Remove() { ::unlink(file.c_str()); }
  } remove{file};
  return run_or_throw(("psql on " + database).c_str(),
                      {bin_dir_ + "/psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h", socket_dir_, "-p",
                       std::to_string(port_), "-U", options_.superuser, "-d", database, "-f", file},
                      false, {"PGPASSWORD=" + options_.superuser_password});
}

void PgTestServer::create_role(const std::string& role, const std::string& password) const {
  sql("CREATE ROLE " + quote_ident(role) + " LOGIN" + (password.empty() ? "" : " PASSWORD " + quote_literal(password)) +
      ";");
}

void PgTestServer::create_database(const std::string& database, const std::string& owner) const {
  sql("CREATE DATABASE " + quote_ident(database) + " OWNER " +
      quote_ident(owner.empty() ? options_.superuser : owner) + " ENCODING 'UTF8';");
}

void PgTestServer::grant_read_only(const std::string& role, const std::string& database) const {
  std::string owner =
      sql("SELECT pg_get_userbyid(datdba) FROM pg_database WHERE datname = " + quote_literal(database) + ";");
  owner.erase(std::remove(owner.begin(), owner.end(), '\n'), owner.end());
  if (owner.empty()) fail("no database " + database + " to grant on");
  const std::string r = quote_ident(role), o = quote_ident(owner);
  sql("GRANT CONNECT ON DATABASE " + quote_ident(database) + " TO " + r + ";");
  sql("GRANT USAGE ON SCHEMA public TO " + r +
          ";\n"
          "GRANT SELECT ON ALL TABLES IN SCHEMA public TO " +
          r +
          ";\n"
          "GRANT SELECT ON ALL SEQUENCES IN SCHEMA public TO " +
          r +
          ";\n"
          "ALTER DEFAULT PRIVILEGES FOR ROLE " +
          o + " IN SCHEMA public GRANT SELECT ON TABLES TO " + r +
          ";\n"
          "ALTER DEFAULT PRIVILEGES FOR ROLE " +
          o + " IN SCHEMA public GRANT SELECT ON SEQUENCES TO " + r + ";",
      database);
}

}  // namespace test_support

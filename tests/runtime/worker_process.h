// Worker processes of the tests that start several real processes on one folder (the folder lock's
// and the desks' tests).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace test_support {

// A process of the tests (a worker executable) with its standard input and output on pipes; killed
// and reaped when the value goes, should the test end early.
class WorkerProcess {
 public:
  WorkerProcess(const std::string& executable, const std::vector<std::string>& args) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<std::string> all{executable};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  ~WorkerProcess() {
    if (pid_ > 0 && !ended_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    close_input();
    if (output_ >= 0) ::close(output_);
  }
  WorkerProcess(const WorkerProcess&) = delete;
  WorkerProcess& operator=(const WorkerProcess&) = delete;

  bool started() const { return pid_ > 0; }
  // The next line the worker prints, without its line end; empty when none comes within 10 s.
  std::string read_line() {
    std::string line;
    char c;
    pollfd p{output_, POLLIN, 0};
    while (::poll(&p, 1, 10000) == 1 && ::read(output_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  // Ends the worker's input: a holder releases its lock and ends.
  void close_input() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }
  void kill_now() { ::kill(pid_, SIGKILL); }
  // Whether it is still running (not yet ended).
  bool running() {
    if (ended_) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) != pid_) return true;
    ended_ = true;
    status_ = status;
    return false;
  }
  // Its exit code once it ended; 128 + the signal when a signal ended it.
  int wait() {
    if (!ended_) {
      ::waitpid(pid_, &status_, 0);
      ended_ = true;
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  bool ended_ = false;
  int status_ = 0;
};

}  // namespace test_support

// A process that starts a private server, prints "<server's folder> <server's process id>" and
// waits to be killed: the test that kills it checks that the guard removes the server after it.
#include <unistd.h>

#include <cstdio>

#include "pg_test_server.h"

int main() {
  try {
    test_support::PgTestServer server;
    std::printf("%s %d\n", server.folder().c_str(), server.server_pid());
    std::fflush(stdout);
    for (;;) ::pause();
  } catch (const test_support::PgTestServerError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}

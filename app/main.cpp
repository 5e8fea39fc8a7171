// The process entry of foliarkh: the command line is answered or noted, then control goes to the
// runtime.
#include "app/command_line.h"
#include "runtime/run.h"

int main(int argc, char** argv) {
  if (const auto код = принять_командную_строку(argc, argv)) return *код;
  return QbxKernogStart(argc, argv);
}

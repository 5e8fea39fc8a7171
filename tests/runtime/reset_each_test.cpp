// Every runtime test starts on the process state a new process finds: the one reset of the
// registered parts (RUN_ResetParts) runs before each test's own set-up. The tests run under a
// locale that is not Russian whatever the environment says: they read the system's own texts
// (a test of the Russian forms sets the locale itself).
#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/run.h"

namespace {

class ResetEachTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { RUN_ResetParts(); }
};

const bool g_installed = [] {
  ::unsetenv("LC_ALL");
  ::unsetenv("LC_MESSAGES");
  ::setenv("LANG", "C.UTF-8", 1);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ResetEachTest);
  return true;
}();

}  // namespace

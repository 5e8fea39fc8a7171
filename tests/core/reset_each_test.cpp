// Every core test starts on the process state a new process finds: the one reset of the
// registered parts (RUN_ResetParts) runs before each test's own set-up. The core tests start no
// run, so the program's goal, which the runtime's start would call, is empty.
#include <gtest/gtest.h>

#include "core/core_part.h"
#include "runtime/run.h"

namespace {

class ResetEachTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    core_RegisterPart();
    RUN_ResetParts();
  }
};

const bool g_installed = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new ResetEachTest);
  return true;
}();

}  // namespace

void KERNOG_Goal() {}

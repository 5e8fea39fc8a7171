// Raising run-time errors: codes, exit codes, host errors and positions.
#include <gtest/gtest.h>

#include "runtime/run_error.h"

namespace {

TEST(RunError, RaiseSetsFlagExitCodeAndPosition) {
  try {
    RUN_Error(1041);
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(e.code(), 1041);
    EXPECT_EQ(e.where().unit, "run_error_test.cpp");
    EXPECT_GT(e.where().pos, 0u);
  }
  EXPECT_TRUE(RUN_GetErrorFlag());
  EXPECT_EQ(RUN_GetExitCode(), 1041);
  EXPECT_EQ(RUN_GetOsErrorNo(), 0);
}

TEST(RunError, HostErrorsKeepTheirNumberAndCapTheExitCode) {
  EXPECT_THROW(RUN_OsError(7002), RunError);
  EXPECT_EQ(RUN_GetOsErrorNo(), 2);
  EXPECT_EQ(RUN_GetExitCode(), 7002);
  EXPECT_THROW(RUN_OsError(8500), RunError);
  EXPECT_EQ(RUN_GetOsErrorNo(), 1500);
  EXPECT_EQ(RUN_GetExitCode(), 7000);
}

TEST(RunError, ErrorContRaisesWhatTheTrapCaught) {
  try {
    try {
      RUN_OsError(7013);
    } catch (const RunError&) {
      RUN_ErrorCont();
    }
  } catch (const RunError& e) {
    EXPECT_EQ(e.code(), 7013);
  }
  RUN_ResetErrorState();
  EXPECT_THROW(RUN_ErrorCont(), RunExit);
  EXPECT_THROW(RUN_ErrorExit(), RunError);
  EXPECT_EQ(RUN_GetExitCode(), 1000);
}

}  // namespace

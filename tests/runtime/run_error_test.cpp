// Raising run-time errors: codes, exit codes, host errors and positions.
#include <gtest/gtest.h>

#include <cerrno>

#include "runtime/run_error.h"
#include "runtime/scope_exit.h"

namespace {

TEST(RunError, RaiseSetsFlagExitCodeAndPosition) {
  try {
    RUN_Error(errcode::kSecondFact);
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(e.code(), errcode::kSecondFact);
    EXPECT_EQ(e.where().unit, "run_error_test.cpp");
    EXPECT_GT(e.where().pos, 0u);
  }
  EXPECT_TRUE(RUN_GetErrorFlag());
  EXPECT_EQ(RUN_GetExitCode(), errcode::kSecondFact);
  EXPECT_EQ(RUN_GetOsErrorNo(), 0);
}

TEST(RunError, HostErrorsKeepTheirNumberAndCapTheExitCode) {
  EXPECT_THROW(RUN_OsError(errcode::host(ENOENT)), RunError);
  EXPECT_EQ(RUN_GetOsErrorNo(), ENOENT);
  EXPECT_EQ(RUN_GetExitCode(), errcode::host(ENOENT));
  EXPECT_THROW(RUN_OsError(errcode::host(1500)), RunError);
  EXPECT_EQ(RUN_GetOsErrorNo(), 1500);
  EXPECT_EQ(RUN_GetExitCode(), errcode::kHostBase);
}

TEST(RunError, ErrorContRaisesWhatTheTrapCaught) {
  try {
    try {
      RUN_OsError(errcode::host(EACCES));
    } catch (const RunError&) {
      RUN_ErrorCont();
    }
  } catch (const RunError& e) {
    EXPECT_EQ(e.code(), errcode::host(EACCES));
  }
  RUN_ResetErrorState();
  EXPECT_THROW(RUN_ErrorCont(), RunExit);
  EXPECT_THROW(RUN_ErrorExit(), RunError);
  EXPECT_EQ(RUN_GetExitCode(), errcode::kNoCase);
}

// A guard cleans up when its scope ends and when an error leaves it; dismissed, it does not.
TEST(RunError, AGuardCleansUpOnTheWayOutUnlessDismissed) {
  int cleaned = 0;
  { const auto g = on_scope_exit([&] { ++cleaned; }); }
  EXPECT_EQ(cleaned, 1);
  EXPECT_THROW(
      {
        const auto g = on_scope_exit([&] { ++cleaned; });
        RUN_ErrorExit();
      },
      RunError);
  EXPECT_EQ(cleaned, 2);
  {
    auto g = on_scope_exit([&] { ++cleaned; });
    g.dismiss();
  }
  EXPECT_EQ(cleaned, 2);
}

}  // namespace

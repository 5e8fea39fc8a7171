// The run: WinMain's exit codes and outermost trap, RUN_Init and RUN_End, the memory settings,
// the command line, fatal stops and host faults (in child processes).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fatal_stop.h"
#include "fault_signals.h"
#include "heap_settings.h"
#include "runtime/err_messages.h"
#include "runtime/console_output.h"
#include "runtime/err_report.h"
#include "runtime/fact_kind.h"
#include "runtime/file_slots.h"
#include "runtime/run.h"
#include "runtime/term_reader.h"
#include "settings_store.h"
#include "test_support.h"

namespace {
std::function<void()> g_goal;
}

void KERNOG_Goal() {
  if (g_goal) g_goal();
}

namespace {

using test_support::ScopedEnv;
using test_support::TempDir;
using test_support::write_bytes;

int g_reports = 0;
std::vector<std::string> g_boxes;

void counting_reporter(int, int, std::uint32_t, const std::string&) { ++g_reports; }
void failing_reporter(int, int, std::uint32_t, const std::string&) {
  ++g_reports;
  RUN_Error(errcode::kNotWindow);
}
void box(const char* title, std::string_view text) { g_boxes.push_back(std::string(title) + "|" + std::string(text)); }

// Each test runs with its own settings store (empty unless the test writes one).
class Run : public ::testing::Test {
 protected:
  void SetUp() override {
    g_goal = nullptr;
    g_reports = 0;
    g_boxes.clear();
    RUN_SetErrorBoxFn(box);
    ERR_InstallUserRepFns(counting_reporter);
  }
  void TearDown() override {
    if (RUN_IsInitialised()) RUN_End();
    g_goal = nullptr;
  }
  void write_settings(const std::string& text) {
    std::filesystem::create_directories(config_.path() + "/kernog");
    write_bytes(config_.path() + "/kernog/applications.ini", text);
  }
  TempDir config_;
  ScopedEnv xdg_{"XDG_CONFIG_HOME", config_.path()};
};

TEST_F(Run, ExitCodesOfWinMain) {
  EXPECT_EQ(WinMain(nullptr, 0, "", 10), 0);
  EXPECT_EQ(g_reports, 0);

  g_goal = [] { RUN_Error(errcode::kSecondFact); };
  EXPECT_EQ(WinMain(nullptr, 0, "", 10), errcode::kSecondFact);
  EXPECT_EQ(g_reports, 1);

  g_goal = [] { RUN_Exit(7); };
  EXPECT_EQ(WinMain(nullptr, 0, "", 10), 7);
  EXPECT_EQ(g_reports, 1);  // a normal exit is not reported

  g_goal = [] { RUN_OsError(errcode::host(1500)); };  // a host number of 1000 or more exits with 7000
  EXPECT_EQ(WinMain(nullptr, 0, "", 10), errcode::kHostBase);

  g_goal = [] { throw std::runtime_error("library failure"); };
  EXPECT_EQ(WinMain(nullptr, 0, "", 10), errcode::kUnexpectedException);
  EXPECT_FALSE(RUN_IsInitialised());
}

TEST_F(Run, AFailingReportIsNotReportedAgain) {
  ERR_InstallUserRepFns(failing_reporter);
  g_goal = [] { RUN_Error(errcode::kSecondFact); };
  EXPECT_EQ(WinMain(nullptr, 0, "", 10), errcode::kSecondFact);  // the first error's code, not the report's
  EXPECT_EQ(g_reports, 1);
}

TEST_F(Run, TheEndOfTheRunClosesFilesAndItsFailureBecomesTheExitCode) {
  g_goal = [] {
    const int slot = IO_DeclareFile("myfile");
    IO_O_Write(slot, "/dev/full");
    IO_WrDev_i(slot);
    IO_WrStr("never written");
  };
  EXPECT_EQ(WinMain(nullptr, 0, "", 10), errcode::host(ENOSPC));
  EXPECT_FALSE(IO_IsOpen(IO_DeclareFile("myfile")));
  EXPECT_EQ(IO_WrDev_o(), IO_Screen);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Kernog fatal error message|Kernog termination failed with code: " +
                            std::to_string(errcode::host(ENOSPC)));
}

TEST_F(Run, InitialisationAndEndHappenOnce) {
  EXPECT_EQ(RUN_End(), errcode::kInitTwice);
  ASSERT_EQ(RUN_Init(), 0);
  EXPECT_EQ(RUN_Init(), errcode::kInitTwice);
  EXPECT_TRUE(RUN_IsInitialised());
  EXPECT_EQ(RUN_End(), 0);
  EXPECT_EQ(RUN_End(), errcode::kInitTwice);
  EXPECT_TRUE(g_boxes.empty());
}

bool g_part_fails = false;
int g_part_ends = 0;
void part_init() {
  if (g_part_fails) RUN_Error(errcode::kFindallType);
}
void part_end() { ++g_part_ends; }

TEST_F(Run, RegisteredPartsStartAndEndWithTheRuntime) {
  RUN_RegisterPart(part_init, part_end);
  g_part_fails = true;
  EXPECT_EQ(RUN_Init(), errcode::kFindallType);
  EXPECT_FALSE(RUN_IsInitialised());
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Kernog fatal error message|Kernog initialization failed with code: 1051");
  g_part_fails = false;
  const int ends = g_part_ends;
  ASSERT_EQ(RUN_Init(), 0);
  EXPECT_EQ(RUN_End(), 0);
  EXPECT_EQ(g_part_ends, ends + 1);
}

std::string g_resets;
void reset_a() { g_resets += "a"; }
void reset_b() { g_resets += "b"; }
std::string g_console;
void console(std::string_view text) { g_console += text; }

// The parts are reset last registered first, each once however often it registered; the
// runtime's own part, first of all, closes the program's files, puts the devices and the console
// routines back, empties the fact store, forgets where the last read failed and clears the error
// state.
TEST_F(Run, ResetPutsEveryPartBackLastRegisteredFirst) {
  RUN_RegisterPart(nullptr, nullptr, reset_a);
  RUN_RegisterPart(nullptr, nullptr, reset_b);
  RUN_RegisterPart(nullptr, nullptr, reset_a);
  TempDir dir;
  const int slot = IO_DeclareFile("resetfile");
  IO_O_Write(slot, dir.file("out.txt"));
  IO_WrDev_i(slot);
  IO_SetConsoleFns(console, nullptr);
  FactSection section;
  SingleKind<std::int32_t> counter{section, "counter", 0};
  FactKind<std::int32_t> numbers{section, "numbers"};
  counter.set(5);
  numbers.assertz(1);
  EXPECT_NE(test_support::error_code_of([] {
              Term t;
              TermLineReader("  x").read(scalar_type(TypeCode::Integer), t);
            }),
            0);
  RNT_ConsultErrorFilepos = 40;
  ASSERT_NE(RNT_ReadTermErrorLinePos, 0u);
  ASSERT_EQ(RNT_ReadTermErrorLine(), "  x");
  EXPECT_EQ(test_support::error_code_of([] { RUN_Error(errcode::kSecondFact); }), errcode::kSecondFact);
  ASSERT_TRUE(RUN_GetErrorFlag());
  g_resets.clear();

  RUN_ResetParts();
  EXPECT_EQ(g_resets, "ba");
  EXPECT_FALSE(IO_IsOpen(slot));
  EXPECT_EQ(IO_WrDev_o(), IO_Screen);
  EXPECT_EQ(counter.get(), 0);
  EXPECT_EQ(numbers.count(), 0u);
  EXPECT_FALSE(RUN_GetErrorFlag());
  EXPECT_EQ(RNT_ConsultErrorFilepos, 0u);
  EXPECT_EQ(RNT_ReadTermErrorLinePos, 0u);
  EXPECT_EQ(RNT_ReadTermErrorLine(), "");
  IO_WrStrCon("x");
  EXPECT_EQ(g_console, "");
}

TEST_F(Run, MemorySettings) {
  // No store: the defaults.
  ASSERT_EQ(RUN_Init(), 0);
  EXPECT_EQ(RUN_GetHeapSettings().sys_block_size, 4194304u);
  EXPECT_EQ(RUN_GetHeapSettings().decommit_size, 65536u);
  RUN_End();

  // The program's own section (named by the test program's file name), rounded up.
  write_settings("[.Default]\nHeap.DecommitSize=8192\n[runtime_tests]\nheap.sysblocksize = 100000\n"
                 "Heap.DecommitSize = 0x8000\n");
  ASSERT_EQ(RUN_Init(), 0);
  EXPECT_EQ(RUN_GetHeapSettings().sys_block_size, 131072u);
  EXPECT_EQ(RUN_GetHeapSettings().decommit_size, 32768u);
  RUN_End();

  write_settings("[runtime_tests]\nHeap.DecommitSize=5000\n");
  EXPECT_EQ(RUN_Init(), errcode::kHeapSettings);
  EXPECT_FALSE(RUN_IsInitialised());
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Kernog fatal error message|Kernog initialization failed with code: 1008");
}

TEST(HeapSettings, SectionsValuesAndChecks) {
  const SettingsStore store = SettingsStore::parse(
      "; settings\n[.Default]\nHeap.SysBlockSize=65536\nHeap.DecommitSize=2048\n"
      "[prog.exe]\nHeap.SysBlockSize = abc\n[other]\nHeap.SysBlockSize=0x1FFFFFFFF\n"
      "Heap.DecommitSize=-4096\n[big]\nHeap.SysBlockSize=4294967295\n");
  // A program without a section, or without a name, takes ".Default".
  for (const char* name : {"unknown", ""}) {
    HeapSettings s = RUN_ReadHeapSettings(store, name);
    EXPECT_EQ(s.sys_block_size, 65536u);
    EXPECT_EQ(s.decommit_size, 2048u);
    EXPECT_EQ(RUN_CheckHeapSettings(s), errcode::kHeapSettings);  // below the page size
  }
  // A section of its own replaces ".Default" whole; invalid values leave the defaults.
  HeapSettings s = RUN_ReadHeapSettings(store, "prog.exe");
  EXPECT_EQ(s.sys_block_size, 4194304u);
  EXPECT_EQ(s.decommit_size, 65536u);
  s = RUN_ReadHeapSettings(store, "other");
  EXPECT_EQ(s.sys_block_size, 4194304u);
  EXPECT_EQ(s.decommit_size, 65536u);

  s = RUN_ReadHeapSettings(store, "big");
  EXPECT_EQ(RUN_CheckHeapSettings(s), 0);
  EXPECT_EQ(s.sys_block_size, 4294901760u);  // the largest multiple of 65536 in 32 bits
  HeapSettings zero{0, 4096};
  EXPECT_EQ(RUN_CheckHeapSettings(zero), 0);
  EXPECT_EQ(zero.sys_block_size, 4096u);
  for (std::uint32_t bad : {0u, 4095u, 12288u, 65537u}) {
    HeapSettings b{4194304, bad};
    EXPECT_EQ(RUN_CheckHeapSettings(b), errcode::kHeapSettings) << bad;
  }
}

void* volatile g_sink = nullptr;

TEST(HeapSettingsDeathTest, TheBlockSizeReachesTheAllocator) {
#ifdef FOLIARKH_ASAN
  GTEST_SKIP() << "the sanitizer's allocator replaces the C library's";
#else
  // In a child: after the settings are applied, the heap grows by at least a block at a time.
  EXPECT_EXIT(
      {
        RUN_ApplyHeapSettings({16u << 20, 65536});
        const std::size_t before = mallinfo2().arena;
        std::size_t after = before;
        for (int i = 0; i < 10000 && after == before; ++i) {
          g_sink = malloc(60000);  // below the mmap threshold: taken from the heap, kept
          after = mallinfo2().arena;
        }
        std::_Exit(after - before >= (16u << 20) ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
#endif
}

TEST(CommandLine, ProgramNameAndRest) {
  EXPECT_EQ(RUN_SkipProgramName("\"C:\\Program Files\\foliarkh.exe\"  \t\x01 data.pbs -x"), "data.pbs -x");
  EXPECT_EQ(RUN_SkipProgramName("foliarkh arg"), "arg");
  EXPECT_EQ(RUN_SkipProgramName("foliarkh"), "");
  EXPECT_EQ(RUN_SkipProgramName("\"unterminated name"), "");
  EXPECT_EQ(RUN_ProgramFileName("\"C:\\Program Files\\foliarkh.exe\" a"), "foliarkh.exe");
  EXPECT_EQ(RUN_ProgramFileName("/usr/bin/foliarkh -x"), "foliarkh");
  EXPECT_EQ(RUN_ProgramFileName("C:foliarkh"), "foliarkh");
  EXPECT_EQ(RUN_ProgramFileName(""), "");
}

TEST_F(Run, ProcessEntryRunsTheProgram) {
  const std::string saved = RUN_GetCommandLine();
  char prog[] = "/opt/bin/foliarkh";
  char arg[] = "two words";
  char* argv[] = {prog, arg, nullptr};
  bool ran = false;
  g_goal = [&] { ran = true; };
  EXPECT_EQ(QbxKernogStart(2, argv), 0);
  EXPECT_TRUE(ran);
  EXPECT_EQ(RUN_GetCommandLine(), "/opt/bin/foliarkh \"two words\"");
  EXPECT_EQ(RUN_GetShowMode(), 10);
  RUN_SetCommandLine(saved);
}

// Host faults and fatal stops end a child process; the parent checks its exit status (the host
// keeps the low 8 bits of the code) and what it wrote to the standard error stream.
volatile std::uintptr_t g_bad_address = 8;
volatile int g_zero = 0;
volatile int g_seven = 7;
volatile bool g_never = false;

void start_in_child() {
  RUN_SetErrorBoxFn(nullptr);
  if (RUN_IsInitialised()) RUN_End();
  if (RUN_Init() != 0) std::_Exit(99);
  ERR_UseMessageFile(std::string(FOLIARKH_TEST_BINARY_DIR) + "/KERNOG.ERR");
}

__attribute__((no_sanitize("undefined"))) void touch_bad_address() {
  *reinterpret_cast<volatile int*>(g_bad_address) = 1;
}

volatile int g_quotient = 0;
__attribute__((no_sanitize("undefined"))) void divide_by_zero() { g_quotient = g_seven / g_zero; }

int recurse_forever(int depth) {
  volatile char frame[4096];
  frame[0] = static_cast<char>(depth);
  if (g_never) return frame[0];
  return recurse_forever(depth + 1) + frame[0];
}

int g_box_calls = 0;
void crashing_box(const char* title, std::string_view text) {
  if (++g_box_calls == 1) touch_bad_address();
  const std::string line = std::string(title) + ": " + std::string(text) + "\n";
  if (::write(2, line.data(), line.size()) < 0) std::_Exit(98);
}

void waiting_box(const char*, std::string_view) {
  for (;;) ::pause();
}

TEST(FaultDeathTest, FaultsEndTheRunWithTheirCodes) {
  EXPECT_EXIT((start_in_child(), touch_bad_address()), ::testing::ExitedWithCode(errcode::kAccessViolation & 0xFF),
              "Kernog fatal error message: 1009 Access violation.*\n"
              "Kernog fatal error message: Kernog program terminated on fatal error");
  EXPECT_EXIT((start_in_child(), recurse_forever(0)), ::testing::ExitedWithCode(errcode::kStackOverflow & 0xFF),
              "1010 Stack overflow");
  EXPECT_EXIT((start_in_child(), divide_by_zero()), ::testing::ExitedWithCode(errcode::kDivisionByZero & 0xFF),
              "1032 Division by zero");
  EXPECT_EXIT((start_in_child(), raise(SIGILL)), ::testing::ExitedWithCode(errcode::kUnexpectedException & 0xFF),
              "1050 Unexpected exception");
}

// The report of a fault is the text prepared for it, written as it stands: the error box, which
// may allocate or wait for the user, is not called inside a fault (a box that faults would give
// a nested report here).
TEST(FaultDeathTest, AFaultIsReportedWithoutTheErrorBox) {
  EXPECT_EXIT((start_in_child(), RUN_SetErrorBoxFn(crashing_box), touch_bad_address()),
              ::testing::ExitedWithCode(errcode::kAccessViolation & 0xFF),
              "^Kernog fatal error message: 1009 Access violation[^\n]*\n"
              "Kernog fatal error message: Kernog program terminated on fatal error\n$");
}

// A report that cannot be written (a full pipe nobody reads) still ends the run with the fault's
// code once the time limit runs out, with or without an error box (one that waits for ever).
TEST(FaultDeathTest, AFaultReportIsBoundedInTime) {
  auto stderr_to_full_pipe = [] {
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK) != 0) std::_Exit(97);
    const std::string chunk(4096, 'x');
    while (::write(fds[1], chunk.data(), chunk.size()) > 0) {
    }
    ::fcntl(fds[1], F_SETFL, 0);
    ::dup2(fds[1], STDERR_FILENO);
  };
  for (bool with_box : {false, true})
    EXPECT_EXIT((start_in_child(), RUN_SetFaultReportTimeLimit(1), RUN_SetErrorBoxFn(with_box ? waiting_box : nullptr),
                 stderr_to_full_pipe(), touch_bad_address()),
                ::testing::ExitedWithCode(errcode::kAccessViolation & 0xFF), "");
}

TEST(FaultDeathTest, FatalStop) {
  EXPECT_EXIT(RUN_FatalStop(1234, "Something broke"), ::testing::ExitedWithCode(1234 & 0xFF),
              "^Kernog fatal error message: Something broke\n"
              "Kernog fatal error message: Kernog program terminated on fatal error\n$");
}

TEST(Faults, CodesOfEveryKindOfFault) {
  EXPECT_EQ(RUN_FaultErrorCode(SIGSEGV, SEGV_MAPERR, false), errcode::kAccessViolation);
  EXPECT_EQ(RUN_FaultErrorCode(SIGSEGV, SEGV_MAPERR, true), errcode::kStackOverflow);
  EXPECT_EQ(RUN_FaultErrorCode(SIGBUS, BUS_ADRERR, false), errcode::kAccessViolation);
  EXPECT_EQ(RUN_FaultErrorCode(SIGFPE, FPE_FLTOVF, false), errcode::kRealOverflow);
  EXPECT_EQ(RUN_FaultErrorCode(SIGFPE, FPE_INTOVF, false), errcode::kIntOverflow);
  EXPECT_EQ(RUN_FaultErrorCode(SIGFPE, FPE_INTDIV, false), errcode::kDivisionByZero);
  EXPECT_EQ(RUN_FaultErrorCode(SIGFPE, FPE_FLTDIV, false), errcode::kDivisionByZero);
  EXPECT_EQ(RUN_FaultErrorCode(SIGFPE, FPE_FLTUND, false), errcode::kRealUnderflow);
  EXPECT_EQ(RUN_FaultErrorCode(SIGFPE, FPE_FLTRES, false), errcode::kRealUnderflow);
  EXPECT_EQ(RUN_FaultErrorCode(SIGFPE, FPE_FLTINV, false), errcode::kUnexpectedException);
  EXPECT_EQ(RUN_FaultErrorCode(SIGILL, ILL_ILLOPC, false), errcode::kUnexpectedException);
}

}  // namespace

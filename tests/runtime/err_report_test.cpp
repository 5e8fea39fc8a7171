// The error-message file (search, lazy index, fallback texts) and the composed report in both
// forms, through the reporter, the error box and the current output device.
#include <gtest/gtest.h>

#include <pthread.h>

#include <cerrno>
#include <filesystem>
#include <set>
#include <string>

#include "fatal_stop.h"
#include "runtime/console_output.h"
#include "runtime/err_messages.h"
#include "runtime/err_report.h"
#include "runtime/file_slots.h"
#include "stack_room.h"
#include "test_support.h"

namespace {

using test_support::InDirectory;
using test_support::ScopedEnv;
using test_support::TempDir;
using test_support::write_bytes;

// Every code the system raises has its message in the shipped file.
const int kSystemCodes[] = {
    999,  1000, 1008, 1009, 1010, 1030, 1031, 1032, 1033, 1041, 1047, 1050, 1051, 1101, 1103, 1104,
    1109, 1135, 1140, 1215, 1401, 1402, 1403, 1404, 1405, 1406, 1407, 1408, 1409, 1410, 1602, 6000,
    6001, 6002, 6003, 6004, 6005, 6009, 6010, 6050, 6051, 6053, 6054, 6101, 6103, 6120, 6121, 6150,
    6200, 6220, 6230, 6231, 6260, 6302, 6304, 6306, 6307, 6311, 6312, 6313, 6315, 6316, 6402, 6403,
    6405, 6422, 9002};

class ErrMessages : public ::testing::Test {
 protected:
  void TearDown() override { ERR_InitMessages(); }
  TempDir dir_;
};

TEST_F(ErrMessages, FallbackTexts) {
  {
    InDirectory here(dir_.path());
    ERR_UseMessageFile(ERR_FindMessageFile({"", "", ""}));
    EXPECT_EQ(ERR_MessageFilePath(), "KERNOG.ERR");
    EXPECT_EQ(ERR_GetSysErrorMsg(1234), "1234 (KERNOG.ERR can not be opened)");
  }
  const std::string file = dir_.file("KERNOG.ERR");
  write_bytes(file, "1009 Access violation\n");
  ERR_UseMessageFile(file);
  EXPECT_EQ(ERR_GetSysErrorMsg(1234), "1234 (" + file + " No error messages)");
  EXPECT_THROW(RUN_OsError(7000 + ENOENT), RunError);
  EXPECT_EQ(ERR_GetSysErrorMsg(7002), "7002 Native OS error 2 No such file or directory (" + file +
                                          " No error messages)");
  RUN_NoteHostFault(1050, 0x1B);
  EXPECT_EQ(ERR_GetSysErrorMsg(1050), "1050 Exception with code 1B (" + file + " No error messages)");
  ERR_UseMessageFile(dir_.path());  // a directory opens but cannot be read
  EXPECT_EQ(ERR_GetSysErrorMsg(1234), "1234 (" + dir_.path() + " can not be read)");
}

TEST_F(ErrMessages, LinesAreFoundByTheirCode) {
  const std::string file = dir_.file("KERNOG.ERR");
  write_bytes(file, "; comment 1009\n10090 Not this one\n1009 Access violation\r\n 1010 indented\n"
                    "1009 A second text\n1010\tStack overflow");
  ERR_UseMessageFile(file);
  EXPECT_EQ(ERR_GetSysErrorMsg(1009), "1009 Access violation");
  EXPECT_EQ(ERR_GetSysErrorMsg(10090), "10090 Not this one");
  EXPECT_EQ(ERR_GetSysErrorMsg(1010), "1010\tStack overflow");  // last line without its LF
  EXPECT_EQ(ERR_GetSysErrorMsg(1009), "1009 Access violation");
}

TEST_F(ErrMessages, TheIndexSeeksStraightToCodesAlreadySeen) {
  const std::string file = dir_.file("KERNOG.ERR");
  std::string text;
  for (int code = 2000; code < 2300; ++code) text += std::to_string(code) + " text of " + std::to_string(code) + "\n";
  write_bytes(file, text);
  ERR_UseMessageFile(file);
  EXPECT_EQ(ERR_GetSysErrorMsg(2299), "2299 text of 2299");  // scans past three index blocks
  for (int code = 2000; code < 2300; code += 37)
    EXPECT_EQ(ERR_GetSysErrorMsg(code), std::to_string(code) + " text of " + std::to_string(code));
  // Codes seen on the way are read at their recorded offsets, without a new scan: swap two lines
  // of equal length, and the old offsets now point at each other's line.
  std::string swapped = text;
  const std::string l0 = "2000 text of 2000\n", l1 = "2001 text of 2001\n";
  swapped.replace(0, l0.size(), l1);
  swapped.replace(l0.size(), l1.size(), l0);
  write_bytes(file, swapped);
  EXPECT_EQ(ERR_GetSysErrorMsg(2000), "2001 text of 2001");
  EXPECT_EQ(ERR_GetSysErrorMsg(4242), "4242 (" + file + " No error messages)");
}

TEST_F(ErrMessages, SearchOrderOfTheMessageFile) {
  TempDir err, prog, path1, path2;
  for (const TempDir* d : {&err, &prog, &path1, &path2}) write_bytes(d->file("KERNOG.ERR"), "");
  const ErrSearchDirs dirs{err.path(), prog.path(), "/nonexistent::" + path1.path() + ":" + path2.path()};
  EXPECT_EQ(ERR_FindMessageFile(dirs), err.file("KERNOG.ERR"));
  std::filesystem::remove(err.file("KERNOG.ERR"));
  std::filesystem::create_directory(err.file("KERNOG.ERR"));  // not a file: skipped
  EXPECT_EQ(ERR_FindMessageFile(dirs), prog.file("KERNOG.ERR"));
  std::filesystem::remove(prog.file("KERNOG.ERR"));
  EXPECT_EQ(ERR_FindMessageFile(dirs), path1.file("KERNOG.ERR"));
  std::filesystem::remove(path1.file("KERNOG.ERR"));
  EXPECT_EQ(ERR_FindMessageFile(dirs), path2.file("KERNOG.ERR"));
  std::filesystem::remove(path2.file("KERNOG.ERR"));
  EXPECT_EQ(ERR_FindMessageFile(dirs), "KERNOG.ERR");

  // The process's own directories: FOLIARKH_ERRDIR, then the directory of this test program, where
  // the build puts a copy of the shipped file.
  ScopedEnv env("FOLIARKH_ERRDIR", dir_.path());
  const ErrSearchDirs own = ERR_DefaultSearchDirs();
  EXPECT_EQ(own.error_dir, dir_.path());
  EXPECT_EQ(std::filesystem::canonical(own.program_dir), std::filesystem::canonical(FOLIARKH_TEST_BINARY_DIR));
  EXPECT_EQ(ERR_FindMessageFile(own), own.program_dir + "/KERNOG.ERR");
}

TEST_F(ErrMessages, TheShippedFileHasAMessageForEveryCode) {
  ERR_UseMessageFile(std::string(FOLIARKH_TEST_BINARY_DIR) + "/KERNOG.ERR");
  for (const int code : kSystemCodes) {
    std::string text;
    ASSERT_EQ(ERR_ReadErrorMsg(code, text), ErrLookup::found) << code;
    EXPECT_GT(text.size(), std::to_string(code).size() + 5) << code;
    for (const char c : text) EXPECT_NE(static_cast<unsigned char>(c), 0x98) << code;
  }
}

// Runs on a thread of its own with a small stack, and looks a message up with less stack left
// than a lookup needs.
void* lookup_near_stack_end(void* out) {
  RUN_NoteThreadStack();
  struct Dig {
    static void down(std::string* result) {
      volatile char pad[512];
      pad[0] = 1;
      if (RUN_StackBytesLeft() > ERR_MinStackBytes - 200) {
        down(result);
      } else {
        *result = ERR_GetSysErrorMsg(1234);
      }
      (void)pad[0];
    }
  };
  Dig::down(static_cast<std::string*>(out));
  return nullptr;
}

TEST_F(ErrMessages, NoLookupWhenTheStackRunsShort) {
  std::string result;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 * 1024);
  pthread_t t;
  ASSERT_EQ(pthread_create(&t, &attr, lookup_near_stack_end, &result), 0);
  pthread_join(t, nullptr);
  pthread_attr_destroy(&attr);
  EXPECT_EQ(result, "1234 (+ memory overflow)");
}

struct ReportSeen {
  int calls = 0;
  int code = 0;
  int include_no = -1;
  std::uint32_t pos = 0;
  std::string text;
  std::string title;
};
ReportSeen g_seen;
std::string g_console;

void reporter(int code, int include_no, std::uint32_t pos, const std::string& text) {
  ++g_seen.calls;
  g_seen.code = code;
  g_seen.include_no = include_no;
  g_seen.pos = pos;
  g_seen.text = text;
}
void error_box(const char* title, std::string_view text) {
  ++g_seen.calls;
  g_seen.title = title;
  g_seen.text = std::string(text);
}
void console(std::string_view s) { g_console.append(s); }

class Reports : public ErrMessages {
 protected:
  void SetUp() override {
    g_seen = {};
    g_console.clear();
    write_bytes(dir_.file("KERNOG.ERR"), "1041 A second fact\n");
    ERR_UseMessageFile(dir_.file("KERNOG.ERR"));
    IO_SetConsoleFns(console, nullptr);
  }
  // Raises 1041 here and returns the line it was raised on.
  static std::uint32_t raise_1041() {
    const std::uint32_t line = __LINE__ + 2;
    try {
      RUN_Error(1041);
    } catch (const RunError&) {
    }
    return line;
  }
};

TEST_F(Reports, WithMessageBoxesThroughTheReporter) {
  const std::uint32_t line = raise_1041();
  ERR_SetMessageBoxes(true);
  ERR_InstallUserRepFns(reporter);
  ERR_ReportLevel1(1041);
  EXPECT_EQ(g_seen.calls, 1);
  EXPECT_EQ(g_seen.code, 1041);
  EXPECT_EQ(g_seen.include_no, 0);
  EXPECT_EQ(g_seen.pos, line);
  EXPECT_EQ(g_seen.text, "Module:err_report_test.cpp Pos:" + std::to_string(line) + " Message:1041 A second fact");
}

TEST_F(Reports, WithMessageBoxesAndNoReporterInAnErrorBox) {
  const std::uint32_t line = raise_1041();
  ERR_SetMessageBoxes(true);
  RUN_SetErrorBoxFn(error_box);
  ERR_ReportLevel1(1041);
  EXPECT_EQ(g_seen.calls, 1);
  EXPECT_EQ(g_seen.title, "PROGRAM ERROR");
  EXPECT_EQ(g_seen.text, "Module:err_report_test.cpp Pos:" + std::to_string(line) + " Message:1041 A second fact");
  EXPECT_EQ(g_console, "");
}

TEST_F(Reports, WithoutMessageBoxesOnTheCurrentOutputDevice) {
  const std::uint32_t line = raise_1041();
  ERR_ReportLevel1(1041);
  EXPECT_EQ(g_console, "\nPROGRAM ERROR. Module:err_report_test.cpp Pos:" + std::to_string(line) +
                           "\n Message:1041 A second fact\n");
  // A position inside an included source names it.
  try {
    RUN_Error(1041, SrcLoc{"/src/runtime/fact_store.h", 12});
  } catch (const RunError&) {
  }
  g_console.clear();
  ERR_ReportLevel1(1041);
  EXPECT_EQ(g_console, "\nPROGRAM ERROR. Module: Include:fact_store.h Pos:12\n Message:1041 A second fact\n");
}

}  // namespace

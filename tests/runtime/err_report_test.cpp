// The error-message file (search, lazy index, fallback texts) and the composed report in both
// forms, through the reporter, the error box and the current output device.
#include <gtest/gtest.h>

#include <pthread.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <new>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "fatal_stop.h"
#include "runtime/console_output.h"
#include "runtime/err_messages.h"
#include "runtime/codepage.h"
#include "runtime/err_report.h"
#include "runtime/err_texts.h"
#include "runtime/error_codes.h"
#include "runtime/file_slots.h"
#include "runtime/run.h"
#include "stack_room.h"
#include "test_support.h"

namespace {

using test_support::InDirectory;
using test_support::read_bytes;
using test_support::ScopedEnv;
using test_support::TempDir;
using test_support::write_bytes;

// The codes named in runtime/error_codes.h, read from its source (every
// "inline constexpr int kName = <code>;"), without the base of the host errors, whose texts come
// from the host.
std::map<std::string, int> named_codes() {
  static const std::regex constant(R"(^inline constexpr int (k\w+) = (\d+);)");
  std::map<std::string, int> codes;
  std::istringstream in(read_bytes(FOLIARKH_ERROR_CODES_HEADER));
  std::size_t constants = 0;
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (line.find("constexpr int k") != std::string::npos) ++constants;
    if (std::regex_search(line, m, constant) && m[1] != "kHostBase") codes[m[1]] = std::stoi(m[2]);
  }
  EXPECT_EQ(codes.size() + 1, constants) << "a constant not written as one line of its own";
  return codes;
}

// The codes that have a line in a message file: the decimal number a line starts with.
std::set<int> codes_with_text(const std::string& file) {
  std::set<int> codes;
  std::istringstream in(read_bytes(file));
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] >= '0' && line[0] <= '9') codes.insert(std::stoi(line));
  return codes;
}

class ErrMessages : public ::testing::Test {
 protected:
  void TearDown() override { ERR_InitMessages(); }
  TempDir dir_;
};

// The fallback texts of a message file in `dir` that lacks the code, each of the runtime's words as
// `as_read` gives it.
std::string as_written(std::string_view text) { return std::string(text); }
std::string bracketed(std::string_view text) { return "<" + std::string(text) + ">"; }
void expect_fallback_texts(const std::string& dir, std::string (*as_read)(std::string_view)) {
  const std::string file = dir + "/KERNOG.ERR";
  write_bytes(file, "1009 Access violation\n");
  ERR_UseMessageFile(file);
  EXPECT_EQ(ERR_GetSysErrorMsg(1009), "1009 Access violation");  // the file's own text
  const std::string no_text = " " + as_read("No error messages") + ")";
  EXPECT_EQ(ERR_GetSysErrorMsg(1234), "1234 (" + file + no_text);
  EXPECT_THROW(RUN_OsError(7000 + ENOENT), RunError);
  EXPECT_EQ(ERR_GetSysErrorMsg(7002), "7002 " + as_read("Native OS error") + " 2 " +
                                          as_read("No such file or directory") + " (" + file + no_text);
  RUN_NoteHostFault(1050, 0x1B);
  EXPECT_EQ(ERR_GetSysErrorMsg(1050), "1050 " + as_read("Exception with code") + " 1B (" + file + no_text);
  ERR_UseMessageFile(dir);  // a directory opens but cannot be read
  EXPECT_EQ(ERR_GetSysErrorMsg(1234), "1234 (" + dir + " " + as_read("can not be read") + ")");
}

TEST_F(ErrMessages, FallbackTexts) {
  {
    InDirectory here(dir_.path());
    ERR_UseMessageFile(ERR_FindMessageFile({"", "", ""}));
    EXPECT_EQ(ERR_MessageFilePath(), "KERNOG.ERR");
    EXPECT_EQ(ERR_GetSysErrorMsg(1234), "1234 (KERNOG.ERR can not be opened)");
  }
  expect_fallback_texts(dir_.path(), as_written);
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
  // An installation in another root: bin/ beside share/foliarkh/.
  std::filesystem::create_directories(prog.file("bin"));
  std::filesystem::create_directories(prog.file("share/foliarkh"));
  write_bytes(prog.file("share/foliarkh/KERNOG.ERR"), "");
  const ErrSearchDirs moved{"", prog.file("bin"), dirs.path_list};
  EXPECT_EQ(ERR_FindMessageFile(moved), prog.file("bin") + "/../share/foliarkh/KERNOG.ERR");
  std::filesystem::remove(prog.file("share/foliarkh/KERNOG.ERR"));
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
  const auto named = named_codes();
  // The source was read: its names are the ones the program compiles with.
  ASSERT_EQ(named.at("kNotWindow"), errcode::kNotWindow);
  ASSERT_EQ(named.at("kNoValueListEntry"), errcode::kNoValueListEntry);
  ERR_UseMessageFile(std::string(FOLIARKH_TEST_BINARY_DIR) + "/KERNOG.ERR");
  std::set<int> distinct;
  for (const auto& [name, code] : named) {
    EXPECT_TRUE(distinct.insert(code).second) << name << ": a second name of " << code;
    std::string text;
    ASSERT_EQ(ERR_ReadErrorMsg(code, text), ErrLookup::found) << name << " " << code;
    EXPECT_GT(text.size(), std::to_string(code).size() + 5) << code;
    for (const char c : text) EXPECT_NE(static_cast<unsigned char>(c), 0x98) << code;
  }
}

// The converse: a text whose code has no name is either dead or the text of a code that is
// raised by a bare number, which nothing keeps in step.
TEST_F(ErrMessages, EveryMessageOfTheShippedFileBelongsToANamedCode) {
  std::set<int> named;
  for (const auto& [name, code] : named_codes()) named.insert(code);
  for (const int code : codes_with_text(std::string(FOLIARKH_TEST_BINARY_DIR) + "/KERNOG.ERR"))
    EXPECT_TRUE(named.contains(code)) << code << " has a text but no name in runtime/error_codes.h";
}

// Under a Russian locale the Russian message file is taken where it lies beside "KERNOG.ERR": the
// first directory that holds either gives the file, and a directory without the Russian one
// gives its own.
TEST_F(ErrMessages, TheRussianMessageFileIsTakenBesideTheSystemsOwn) {
  TempDir err, prog;
  write_bytes(err.file("KERNOG.ERR"), "");
  write_bytes(prog.file("KERNOG.ERR"), "");
  write_bytes(prog.file("KERNOG_RU.ERR"), "");
  ErrSearchDirs dirs{err.path(), prog.path(), ""};
  dirs.russian = true;
  EXPECT_EQ(ERR_FindMessageFile(dirs), err.file("KERNOG.ERR"));
  write_bytes(err.file("KERNOG_RU.ERR"), "");
  EXPECT_EQ(ERR_FindMessageFile(dirs), err.file("KERNOG_RU.ERR"));
  dirs.russian = false;
  EXPECT_EQ(ERR_FindMessageFile(dirs), err.file("KERNOG.ERR"));
  std::filesystem::remove(err.file("KERNOG.ERR"));
  // Read in English, a directory with the Russian file alone is passed over.
  EXPECT_EQ(ERR_FindMessageFile(dirs), prog.file("KERNOG.ERR"));
  // Another file of the program beside them is found along the same directories.
  EXPECT_EQ(ERR_FindBesideMessageFile(dirs, "KERNOG_RU.ERR"), err.file("KERNOG_RU.ERR"));
  EXPECT_EQ(ERR_FindBesideMessageFile(dirs, "foliarkh_ru.qm"), std::nullopt);
  // With none anywhere, the bare name: the Russian one only where the current directory holds it.
  const ErrSearchDirs none{"", "", "", true};
  {
    InDirectory here(dir_.path());
    EXPECT_EQ(ERR_FindMessageFile(none), "KERNOG.ERR");
    write_bytes(dir_.file("KERNOG_RU.ERR"), "");
    EXPECT_EQ(ERR_FindMessageFile(none), "KERNOG_RU.ERR");
  }
  // The process's own: the locale decides.
  ScopedEnv lang("LANG", "ru_RU.UTF-8");
  EXPECT_TRUE(ERR_DefaultSearchDirs().russian);
  ScopedEnv all("LC_ALL", "C.UTF-8");
  EXPECT_FALSE(ERR_DefaultSearchDirs().russian);
}

// The shipped Russian message file has a text for every code of the system's own and no other,
// each in Russian.
TEST_F(ErrMessages, TheShippedRussianFileHasTheSameCodes) {
  const std::string system_file = std::string(FOLIARKH_TEST_BINARY_DIR) + "/KERNOG.ERR";
  const std::string russian_file = std::string(FOLIARKH_TEST_BINARY_DIR) + "/KERNOG_RU.ERR";
  const std::set<int> codes = codes_with_text(system_file);
  ASSERT_GT(codes.size(), 50u);
  EXPECT_EQ(codes_with_text(russian_file), codes);
  ERR_UseMessageFile(russian_file);
  for (const int code : codes) {
    std::string text;
    ASSERT_EQ(ERR_ReadErrorMsg(code, text), ErrLookup::found) << code;
    // Code page 1251: the Cyrillic letters are 0xC0..0xFF (and Ё, ё).
    const std::size_t cyrillic = std::count_if(text.begin(), text.end(), [](char c) {
      const auto b = static_cast<unsigned char>(c);
      return b >= 0xC0 || b == 0xA8 || b == 0xB8;
    });
    EXPECT_GT(cyrillic, 3u) << code << ": " << cp1251::to_utf8(text);
  }
}

// The runtime's words pass through the installed translation; without one they stand as written.
TEST_F(ErrMessages, TheRuntimesWordsPassThroughTheTranslation) {
  ERR_InstallTranslation(bracketed);
  EXPECT_EQ(ERR_GetTranslation(), &bracketed);
  expect_fallback_texts(dir_.path(), bracketed);
  EXPECT_EQ(ERR_HostErrorText(41), "<Unknown error> 41");  // a number the C library has no text for
  EXPECT_EQ(ERR_MemoryOverflowWords(), "<+ memory overflow>");
  {
    InDirectory here(dir_.path());
    ERR_UseMessageFile("none.err");
    EXPECT_EQ(ERR_GetSysErrorMsg(1234), "1234 (none.err <can not be opened>)");
  }
  for (const std::string_view word : ERR_ReportWords) EXPECT_EQ(ERR_Translate(word), bracketed(word));
  // The reset puts the words back as written.
  RUN_ResetParts();
  EXPECT_EQ(ERR_GetTranslation(), nullptr);
  EXPECT_EQ(ERR_HostErrorText(ENOENT), "No such file or directory");
  EXPECT_EQ(ERR_MemoryOverflowWords(), "+ memory overflow");
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

TEST_F(Reports, TheWordsOfAReportAreTranslated) {
  const std::uint32_t line = raise_1041();
  ERR_InstallTranslation(bracketed);
  EXPECT_EQ(ERR_ComposeReport(1041, true),
            "<Module:>err_report_test.cpp <Pos:>" + std::to_string(line) + " <Message:>1041 A second fact");
  try {
    RUN_Error(1041, SrcLoc{"/src/runtime/fact_store.h", 12});
  } catch (const RunError&) {
  }
  EXPECT_EQ(ERR_ComposeReport(1041, false),
            "\n<PROGRAM ERROR.> <Module:> <Include:>fact_store.h <Pos:>12\n <Message:>1041 A second fact\n");
}

// A translation that fails (no memory for its result) leaves the words as written.
std::string failing(std::string_view) { throw std::bad_alloc(); }

TEST_F(Reports, AFailingTranslationLeavesTheWordsAsWritten) {
  const std::uint32_t line = raise_1041();
  ERR_InstallTranslation(failing);
  EXPECT_EQ(ERR_ComposeReport(1041, true),
            "Module:err_report_test.cpp Pos:" + std::to_string(line) + " Message:1041 A second fact");
}

}  // namespace

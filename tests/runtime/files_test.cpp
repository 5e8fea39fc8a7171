// File slots, devices, text mode, line reading, closing after failures, and file names.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "file_names.h"
#include "runtime/codepage.h"
#include "runtime/console_output.h"
#include "runtime/file_slots.h"
#include "test_support.h"

namespace {

using test_support::error_code_of;
using test_support::read_bytes;
using test_support::TempDir;
using test_support::write_bytes;

std::string g_console;
void capture_str(std::string_view s) { g_console.append(s); }
void capture_ch(char c) { g_console.push_back(c); }

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    g_console.clear();
    IO_SetConsoleFns(capture_str, capture_ch);
    slot_ = IO_DeclareFile("myfile");
  }

  std::vector<std::string> read_lines(const std::string& path) {
    IO_O_Read(slot_, path);
    IO_RdDev_i(slot_);
    std::vector<std::string> lines;
    while (auto line = IO_RdLine()) lines.push_back(*line);
    EXPECT_FALSE(IO_RdLine());  // and it stays at the end
    IO_Close(slot_);
    return lines;
  }

  void write_file(const std::string& path, std::string_view text) {
    IO_O_Write(slot_, path);
    IO_WrDev_i(slot_);
    IO_WrStr(text);
    IO_Close(slot_);
  }

  TempDir dir_;
  int slot_ = 0;
};

TEST_F(Files, DeclaredSymbolsKeepTheirSlots) {
  EXPECT_EQ(IO_DeclareFile("myfile"), slot_);
  EXPECT_GT(slot_, IO_SystemPF);
  EXPECT_EQ(IO_DeclareFile("screen"), IO_Screen);
  EXPECT_EQ(IO_DeclareFile("stderr"), IO_Stderr);
  EXPECT_NE(IO_DeclareFile("otherfile"), slot_);
  EXPECT_TRUE(IO_IsOpen(IO_Keyboard));
  EXPECT_FALSE(IO_IsOpen(slot_));
}

TEST_F(Files, TextModeWritesCrLfAndReadsLinesBack) {
  const std::string path = dir_.file("ab.txt");
  IO_O_Write(slot_, path);
  IO_WrDev_i(slot_);
  IO_WrCh('a');
  IO_Nl();
  IO_WrCh('b');
  IO_Close(slot_);
  EXPECT_EQ(read_bytes(path), "a\r\nb");
  EXPECT_EQ(read_lines(path), (std::vector<std::string>{"a", "b"}));

  write_bytes(path, "");
  EXPECT_TRUE(read_lines(path).empty());
  write_bytes(path, "\n");
  EXPECT_EQ(read_lines(path), (std::vector<std::string>{""}));
  write_bytes(path, "x\r\n\r");  // a CR is dropped wherever it stands: no extra line
  EXPECT_EQ(read_lines(path), (std::vector<std::string>{"x"}));
  write_bytes(path, "a\rb\r\nc");
  EXPECT_EQ(read_lines(path), (std::vector<std::string>{"ab", "c"}));
}

TEST_F(Files, LongLinesAndBufferBoundaries) {
  // Lines across many buffer refills, and one line longer than a buffer.
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; i < 5000; ++i) {
    expected.push_back("line " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 13), 'x'));
    text += expected.back() + "\n";
  }
  expected.push_back(std::string(100000, 'L'));
  text += expected.back();
  const std::string path = dir_.file("long.txt");
  write_file(path, text);  // longer than the buffer: written directly, in chunks
  std::size_t lfs = 5000;
  EXPECT_EQ(read_bytes(path).size(), text.size() + lfs);
  EXPECT_EQ(read_lines(path), expected);
  EXPECT_EQ(IO_RdFile(path), text);

  std::string many_lf(200000, '\n');  // every byte doubles: chunks of the conversion fill up
  write_file(path, many_lf);
  EXPECT_EQ(read_bytes(path).size(), 400000u);
}

TEST_F(Files, OpeningModesAndTheirErrors) {
  const std::string path = dir_.file("f.txt");
  write_bytes(path, "old contents");
  write_file(path, "new");
  EXPECT_EQ(read_bytes(path), "new");  // opening for writing empties the file

  IO_O_App(slot_, path);
  IO_WrDev_i(slot_);
  IO_WrStr("er\n");
  IO_Close(slot_);
  EXPECT_EQ(read_bytes(path), "newer\r\n");

  write_bytes(path, "abc\r\ndef\r\n");
  IO_O_Mod(slot_, path);  // reading then writing continues right after the line read
  IO_RdDev_i(slot_);
  EXPECT_EQ(IO_RdLine(), "abc");
  IO_WrDev_i(slot_);
  IO_WrStr("X");
  IO_Close(slot_);
  EXPECT_EQ(read_bytes(path), "abc\r\nXef\r\n");

  IO_O_Read(slot_, path);
  EXPECT_EQ(error_code_of([&] { IO_O_Write(slot_, path); }), errcode::kFileAlreadyOpen);
  EXPECT_EQ(error_code_of([&] { IO_WrDev_i(slot_); }), errcode::kFileReadOnly);
  IO_Close(slot_);
  EXPECT_EQ(error_code_of([&] { IO_WrDev_i(slot_); }), errcode::kFileNotOpen);
  EXPECT_EQ(error_code_of([&] { IO_RdDev_i(slot_); }), errcode::kFileNotOpen);
  EXPECT_EQ(error_code_of([&] { IO_O_Read(IO_Screen, path); }), errcode::kFileAlreadyOpen);
  EXPECT_EQ(error_code_of([&] { IO_O_Read(9999, path); }), errcode::kFileNotOpen);
  EXPECT_EQ(error_code_of([] { IO_WrDev_i(IO_Keyboard); }), errcode::kFileReadOnly);
  EXPECT_EQ(error_code_of([&] { IO_O_Read(slot_, dir_.file("missing")); }), errcode::host(ENOENT));
  EXPECT_FALSE(IO_IsOpen(slot_));  // a refused open leaves the slot closed
  EXPECT_EQ(error_code_of([&] { IO_RdFile(dir_.file("missing")); }), errcode::host(ENOENT));
}

TEST_F(Files, ClosingACurrentDeviceFallsBackToScreenAndKeyboard) {
  const std::string path = dir_.file("out.txt");
  IO_O_Write(slot_, path);
  IO_WrDev_i(slot_);
  IO_WrStr("to file");
  IO_Close(slot_);
  EXPECT_EQ(IO_WrDev_o(), IO_Screen);
  IO_WrStr("to screen");
  IO_Nl();
  EXPECT_EQ(g_console, "to screen\n");
  EXPECT_EQ(read_bytes(path), "to file");

  IO_WrDev_i(IO_Stdout);  // standard output goes through the console routines too
  IO_WrCh('!');
  EXPECT_EQ(g_console, "to screen\n!");

  IO_O_Read(slot_, path);
  IO_RdDev_i(slot_);
  IO_Close(slot_);
  EXPECT_EQ(IO_RdDev_o(), IO_Keyboard);
}

TEST_F(Files, CloseReleasesTheSlotWhenWritingOutFails) {
  IO_O_Write(slot_, "/dev/full");
  IO_WrDev_i(slot_);
  IO_WrStr("abc");  // stays in the buffer
  EXPECT_EQ(error_code_of([&] { IO_Close(slot_); }), errcode::host(ENOSPC));
  EXPECT_FALSE(IO_IsOpen(slot_));
  EXPECT_EQ(IO_WrDev_o(), IO_Screen);
  const std::string path = dir_.file("after.txt");
  write_file(path, "ok");  // the slot can be opened again
  EXPECT_EQ(read_bytes(path), "ok");

  // The end of the run closes every slot, even after one fails, and then raises the failure.
  const int other = IO_DeclareFile("secondfile");
  IO_O_Write(slot_, "/dev/full");
  IO_WrDev_i(slot_);
  IO_WrStr("lost");
  IO_O_Write(other, path);
  IO_WrDev_i(other);
  IO_WrStr("kept\n");
  EXPECT_EQ(error_code_of([] { IO_EndFiles(); }), errcode::host(ENOSPC));
  EXPECT_FALSE(IO_IsOpen(slot_));
  EXPECT_FALSE(IO_IsOpen(other));
  EXPECT_EQ(read_bytes(path), "kept\r\n");
}

TEST_F(Files, BuffersOfFilesAndSerialDevices) {
  const std::string path = dir_.file("buffered.txt");
  IO_O_Write(slot_, path);
  IO_WrDev_i(slot_);
  IO_WrStr("abc");
  EXPECT_EQ(read_bytes(path), "");  // still in the 16384-byte buffer
  IO_Flush(slot_);
  EXPECT_EQ(read_bytes(path), "abc");
  IO_Close(slot_);

  const std::string com = dir_.file("COM1");  // a serial device's name: a one-byte buffer
  IO_O_Write(slot_, com);
  IO_WrDev_i(slot_);
  IO_WrStr("abc");
  EXPECT_EQ(read_bytes(com), "abc");
  IO_Close(slot_);

  // "\\" and ":" belong to the file's own name on this host: these are ordinary files.
  for (const char* name : {"a:COM1", "a\\COM2"}) {
    const std::string file = dir_.file(name);
    IO_O_Write(slot_, file);
    IO_WrDev_i(slot_);
    IO_WrStr("abc");
    EXPECT_EQ(read_bytes(file), "") << name;
    IO_Close(slot_);
  }
}

TEST_F(Files, KeyboardCannotBeReadWhileTheLayerRuns) {
  IO_SetLayerRunning(true);
  EXPECT_EQ(IO_RdDev_o(), IO_Keyboard);
  EXPECT_EQ(error_code_of([] { IO_RdLine(); }), errcode::kKeyboardInWindows);
  IO_RdDev_i(IO_Stdin);
  EXPECT_EQ(error_code_of([] { IO_RdLine(); }), errcode::kKeyboardInWindows);
}

// A file whose bytes cannot be had in memory: the reader gives up without keeping the file open.
TEST_F(Files, AFileTooLargeForMemoryIsClosedAgain) {
#ifdef FOLIARKH_ASAN
  GTEST_SKIP() << "the sanitizer's operator new ends the process instead of throwing";
#else
  const std::string path = dir_.file("huge.bin");
  write_bytes(path, "");
  std::filesystem::resize_file(path, std::uintmax_t{1} << 40);  // sparse: takes no room on disk
  auto open_files = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
  const auto before = open_files();
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_AS, &saved), 0);
  rlimit capped = saved;
  capped.rlim_cur = std::min<rlim_t>(saved.rlim_cur, rlim_t{64} << 30);  // whatever the host overcommits
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &capped), 0);
  EXPECT_THROW(RUN_ReadFileBytes(path), std::bad_alloc);
  ::setrlimit(RLIMIT_AS, &saved);
  EXPECT_EQ(open_files(), before);
#endif
}

TEST_F(Files, ReadingAWholeFile) {
  const std::string path = dir_.file("whole.txt");
  write_bytes(path, "a\r\nb\r\n");
  EXPECT_EQ(IO_RdFile(path), "a\nb\n");
  write_bytes(path, "");
  EXPECT_EQ(IO_RdFile(path), "");
  // File names are code page 1251; on the host they are UTF-8.
  const std::string cyr = dir_.path() + "/" + std::string("Литература1.pbs");
  write_bytes(cyr, "x");
  EXPECT_EQ(IO_RdFile(dir_.path() + "/" + std::string("Литература1.pbs"_cp)), "x");
  // The bytes as they are, up to a limit.
  write_bytes(path, "a\r\nb\rc");
  EXPECT_EQ(IO_RdFileBytes(path, 6), std::optional<std::string>("a\r\nb\rc"));
  EXPECT_FALSE(IO_RdFileBytes(path, 5));
  EXPECT_EQ(error_code_of([&] { IO_RdFileBytes(dir_.file("missing"), 10); }), errcode::host(ENOENT));
}

// What is not a regular file is refused before it is read, and the reading never waits: a pipe
// without a writer would hold it for ever, a device may never end.
TEST_F(Files, OnlyARegularFileIsReadWhole) {
  for (const test_support::NotARegularFile& c : test_support::kNotRegularFiles) {
    SCOPED_TRACE(c.what);
    const std::string path = dir_.file(c.what);
    if (!c.make(path)) continue;  // not possible here (a device node needs the right to make one)
    const std::string link = dir_.file(std::string("link to ") + c.what);
    std::filesystem::create_symlink(path, link);
    for (const std::string& name : {path, link}) {
      EXPECT_EQ(test_support::error_code_within(5, [&] { IO_RdFileBytes(name, 100); }), c.code);
      EXPECT_EQ(test_support::error_code_within(5, [&] { IO_RdFile(name); }), c.code);
    }
  }
  // The host's own device, as it stands.
  EXPECT_EQ(test_support::error_code_within(5, [&] { IO_RdFileBytes("/dev/null", 100); }), errcode::kNotRegularFile);
}

TEST(FileNames, SplittingFullNames) {
  FileNameParts p = FNM_FileNamePath_ioo("C:\\books\\covers\\pushkin.bmp");
  EXPECT_EQ(p.directory, "C:\\books\\covers\\");
  EXPECT_EQ(p.file_name, "pushkin.bmp");
  p = FNM_FileNamePath_ioo("pushkin.bmp");
  EXPECT_EQ(p.directory, "");
  EXPECT_EQ(p.file_name, "pushkin.bmp");
  p = FNM_FileNamePath_ioo("C:file");
  EXPECT_EQ(p.directory, "C:");
  EXPECT_EQ(p.file_name, "file");
  p = FNM_FileNamePath_ioo("/home/user/file");  // "/" is not a separator
  EXPECT_EQ(p.directory, "");
  EXPECT_EQ(p.file_name, "/home/user/file");
  EXPECT_EQ(FNM_FileNamePath_ioo(std::string(255, 'n')).file_name.size(), 255u);
  EXPECT_EQ(error_code_of([] { FNM_FileNamePath_ioo(std::string(256, 'n')); }), errcode::kFileNameTooLong);
}

TEST(FileNames, SearchingADirectoryList) {
  TempDir a, b;
  write_bytes(b.file("target"), "");
  std::filesystem::create_directory(a.file("target"));  // a directory of that name does not count
  const std::string list = a.path() + "::" + std::string(5000, 'd') + ":" + b.path() + "/";
  EXPECT_EQ(FNM_SearchFile(list, "target"), b.path() + "/target");
  EXPECT_EQ(FNM_SearchFile(a.path() + ";" + b.path(), "target", ';'), b.path() + "/target");
  EXPECT_FALSE(FNM_SearchFile(list, "absent"));
  EXPECT_FALSE(FNM_SearchFile("", "target"));
  EXPECT_EQ(error_code_of([&] { FNM_SearchFile(list, std::string(256, 'n')); }), errcode::kFileNameTooLong);
}

}  // namespace

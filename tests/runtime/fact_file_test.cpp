// Saving and consulting fact files: the exact bytes of a save, the round trip of a section,
// the line rules of a consult, every file-level error with its file and line position, and a
// save that fails midway leaving the old file intact.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/fact_store.h"
#include "runtime/term_reader.h"
#include "test_support.h"

namespace {

using test_support::error_code_of;
using test_support::read_bytes;
using test_support::TempDir;
using test_support::write_bytes;

// A section with a kind of many fields, a kind of one string, a determ kind and a kind without
// fields.
struct Sample {
  FactSection s;
  std::size_t rec = s.add_kind("rec", {&scalar_type(TypeCode::Integer), &scalar_type(TypeCode::String),
                                       &scalar_type(TypeCode::Real), &scalar_type(TypeCode::Char),
                                       &scalar_type(TypeCode::Binary), &list_type(scalar_type(TypeCode::Integer))});
  std::size_t name = s.add_kind("имя"_cps, {&scalar_type(TypeCode::String)});
  std::size_t one = s.add_kind("one", {&scalar_type(TypeCode::UInt8)}, kFactDeterm);
  std::size_t flag = s.add_kind("flag", {});

  std::vector<Term> facts(std::size_t kind) {
    std::vector<Term> out;
    for (const Term& t : s.facts(kind)) out.push_back(t);
    return out;
  }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (const Term& t : s.facts(name)) out.push_back(t.args()[0].as_string());
    return out;
  }
};

TEST(FactFileSave, WritesEveryKindInOrderWithCrLf) {
  TempDir dir;
  Sample a;
  RNT_Assertz(a.s, Term::compound(1, {"б"_cps}));
  RNT_Assertz(a.s, Term::compound(3));
  RNT_Assertz(a.s, Term::compound(0, {-2147483648LL, "q\"\\\n\r", 0.25, '\n', Binary{{1, 0xFE}}, Term::List{1, 2}}));
  RNT_Asserta(a.s, Term::compound(1, {"а"_cps}));
  RNT_Assertz(a.s, Term::compound(2, {255}));
  const std::string file = dir.file("out.pbs");
  RNT_Save(a.s, file);
  EXPECT_EQ(read_bytes(file),
            "rec(-2147483648,\"q\\\"\\\\\\n\\r\",0.25,'\\n',$[01,FE],[1,2])\r\n"
            "имя(\"а\")\r\nимя(\"б\")\r\none(255)\r\nflag\r\n"_cps);

  // Read back into a fresh section, the facts are equal (the smallest integer included); the
  // same section saved again gives the same bytes.
  Sample b;
  RNT_Consult(b.s, file);
  EXPECT_EQ(b.facts(b.rec), a.facts(a.rec));
  EXPECT_EQ(b.names(), a.names());
  EXPECT_EQ(b.facts(b.one), a.facts(a.one));
  EXPECT_EQ(b.facts(b.flag).size(), 1u);
  EXPECT_EQ(RNT_SaveText(b.s), read_bytes(file));

  // A save of an emptied section leaves a file with no lines, and replaces nothing else.
  RNT_RetractallVar(a.s);
  RNT_Save(a.s, file);
  EXPECT_EQ(read_bytes(file), "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FactFileConsult, LineRules) {
  struct Case {
    std::string text;
    std::vector<std::string> names;
  };
  const std::vector<Case> ok = {
      {""_cps, {}},  // a _cps literal too: clang 14 crashes on a plain "" beside _cps ones here
      {"имя(\"x\")"_cps, {"x"}},                                 // last line without LF
      {"имя(\"x\")\r\nимя(\"y\")\r\n"_cps, {"x", "y"}},          // a final LF adds nothing
      {"имя(\"a\r\rb\")\n"_cps, {"ab"}},                          // CR dropped wherever it stands
      {"  имя( \"x\" )trailing text, ignored\n"_cps, {"x"}},
      {"имя(\"\")\n"_cps, {""}},
      {"имя(\"x\")\n\r\r"_cps, {"x"}},                              // CR bytes alone after the last LF
  };
  for (const Case& c : ok) {
    Sample a;
    RNT_ConsultText(a.s, c.text);
    EXPECT_EQ(a.names(), c.names) << c.text;
  }
}

TEST(FactFileConsult, ErrorsWithFileAndLinePositions) {
  struct Case {
    std::string text;
    int code;
    std::size_t filepos, linepos;
    std::size_t names_kept;
  };
  const std::string x = "имя(\"x\")\r\n"_cps;  // 9 bytes once its CR is dropped
  const std::vector<Case> cases = {
      {x + "\r\n" + x, errcode::kReadFunctor, 9, 0, 1},                    // an empty line
      {x + "   \n", errcode::kReadFunctor, 9, 3, 1},                        // a line of blanks
      {x + "\n", errcode::kReadFunctor, 9, 0, 1},                           // two line ends at the end
      {x + x + "имя (\"y\")"_cps, errcode::kReadFunctor, 18, 0, 2},         // a blank before "("
      {x + "имя(\t\"y\")"_cps, errcode::kReadString, 9, 4, 1},             // a tab before a value
      {x + "другое(\"y\")"_cps, errcode::kReadFunctor, 9, 0, 1},            // a name of no kind of this section
      {"имя(\"y)\n\")\n"_cps, errcode::kReadString, 0, 7, 0},             // a string never reads into the next line
      {"имя\n"_cps, errcode::kReadOpen, 0, 3, 0},
      {"имя(\"y\"\n"_cps, errcode::kReadFieldSep, 0, 7, 0},
      {"one(1)\none(2)\none(3)\n", errcode::kSecondFact, 7, 0, 0},         // a second fact of a determ kind
      {"one(256)\n", errcode::kIntOverflow, 0, 4, 0},
      {"one(-1)\n", errcode::kReadNumber, 0, 4, 0},
      {"rec(1,\"\",1.0,'',$[],[])\n", errcode::kReadChar, 0, 13, 0},
      {"rec(1,\"\",x,'a',$[],[])\n", errcode::kReadReal, 0, 9, 0},
      {"rec(1,\"\",1,'a',[],[])\n", errcode::kReadDollar, 0, 15, 0},
      {"rec(1,\"\",1,'a',$[],[1 2])\n", errcode::kReadListSep, 0, 22, 0},
      {"flag(x)\n", errcode::kReadFieldSep, 0, 5, 0},
  };
  for (const Case& c : cases) {
    Sample a;
    RNT_ReadTermErrorLinePos = 999;
    EXPECT_EQ(error_code_of([&] { RNT_ConsultText(a.s, c.text); }), c.code) << c.text;
    EXPECT_EQ(RNT_ConsultErrorFilepos, c.filepos) << c.text;
    if (c.code != errcode::kSecondFact) {
      EXPECT_EQ(RNT_ReadTermErrorLinePos, c.linepos) << c.text;
    }
    EXPECT_EQ(a.names().size(), c.names_kept) << c.text;
  }
  // The determ kind keeps its first fact; the failing line is kept for the report.
  Sample a;
  error_code_of([&] { RNT_ConsultText(a.s, "one(1)\none(2)\n"); });
  EXPECT_EQ(a.facts(a.one), std::vector<Term>{Term::compound(2, {1})});
  error_code_of([&] { RNT_ConsultText(a.s, x + "имя (1)\r\n"_cps); });
  EXPECT_EQ(RNT_ReadTermErrorLine(), "имя (1)"_cps);
}

TEST(FactFileConsult, FilesMissingTwiceAndReadBack) {
  TempDir dir;
  Sample a;
  RNT_Assertz(a.s, Term::compound(1, {"old"}));
  EXPECT_EQ(error_code_of([&] { RNT_Consult(a.s, dir.file("absent.pbs")); }), errcode::host(ENOENT));
  EXPECT_EQ(a.names(), std::vector<std::string>{"old"});
  EXPECT_EQ(error_code_of([&] { RNT_Consult(a.s, dir.path()); }), errcode::host(EISDIR));  // a directory

  // Cyrillic file names reach the host as UTF-8.
  const std::string file = dir.path() + "/" + "Файл.pbs"_cps;
  write_bytes(dir.path() + "/Файл.pbs", "имя(\"x\")\r\nflag()\r\n"_cps);
  RNT_Consult(a.s, file);
  RNT_Consult(a.s, file);
  EXPECT_EQ(a.names(), (std::vector<std::string>{"old", "x", "x"}));
  EXPECT_EQ(a.facts(a.flag).size(), 2u);
}

TEST(FactFileSave, AFailedSaveKeepsTheOldFile) {
  TempDir dir;
  const std::string file = dir.file("data.pbs");
  const std::string old = "имя(\"старое\")\r\n"_cps;
  write_bytes(file, old);
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  Sample a;
  for (int i = 0; i < 2000; ++i) RNT_Assertz(a.s, Term::compound(1, {std::string(40, 'z')}));

  // A file size limit makes the write fail midway, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit tiny = saved;
  tiny.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  const int code = error_code_of([&] { RNT_Save(a.s, file); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_EQ(code, errcode::host(EFBIG));
  EXPECT_EQ(read_bytes(file), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left

  // A save that succeeds replaces the contents and keeps the file's permissions.
  RNT_Save(a.s, file);
  EXPECT_EQ(read_bytes(file).size(), 2000u * 49);
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  // A directory that does not exist: the host's error, nothing created.
  EXPECT_EQ(error_code_of([&] { RNT_Save(a.s, dir.file("none/x.pbs")); }), errcode::host(ENOENT));
}

}  // namespace

// The Russian words of host errors: every error a user can meet at a file or folder has its own
// text and advice in code page 1251, other numbers a general text with the number, and a failed
// runtime operation is put in those words.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include "runtime/codepage.h"
#include "runtime/err_words.h"
#include "runtime/error_codes.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"
#include "test_support.h"

namespace {

// Whether the cp1251 text holds Cyrillic letters and no Latin ones (a host's English text would).
bool russian(const std::string& cp) {
  bool cyrillic = false;
  for (unsigned char c : cp) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return false;
    if (c >= 0xC0) cyrillic = true;
  }
  return cyrillic;
}

constexpr int kUserErrors[] = {ENOENT, EACCES,  EPERM, ENOSPC, EDQUOT, EROFS,  EISDIR,    ENOTDIR, EEXIST,
                               ENAMETOOLONG, EMFILE, ENFILE, EIO, EBUSY, ETXTBSY, ELOOP, EFBIG, ENOTEMPTY,
                               EXDEV, ENXIO, ESPIPE, EOPNOTSUPP, EAGAIN, ENOMEM, ESTALE, ENOTCONN};

TEST(ErrWords, EveryErrorAUserMeetsHasItsOwnRussianText) {
  std::set<std::string> texts;
  for (int n : kUserErrors) {
    const std::string words = ERR_HostErrorWords(n), advice = ERR_HostErrorAdvice(n);
    SCOPED_TRACE(std::strerror(n));
    EXPECT_TRUE(russian(words)) << cp1251::to_utf8(words);
    EXPECT_TRUE(russian(advice)) << cp1251::to_utf8(advice);
    EXPECT_EQ(words.find(std::to_string(n)), std::string::npos) << "a general text for a known error";
    EXPECT_EQ(advice.back(), '.');
    EXPECT_TRUE(texts.insert(words).second) << "two errors share " << cp1251::to_utf8(words);
  }
  EXPECT_EQ(ERR_HostErrorWords(ENOSPC), "на диске нет места"_cps);
  EXPECT_EQ(ERR_HostErrorWords(EACCES), "нет прав доступа"_cps);
}

TEST(ErrWords, OtherNumbersAndCodes) {
  // A number the table does not know: a general text that names it.
  EXPECT_EQ(ERR_HostErrorWords(EHWPOISON), "ошибка системы № "_cps + std::to_string(EHWPOISON));
  EXPECT_TRUE(russian(ERR_HostErrorAdvice(EHWPOISON)));
  // Run-time codes: a host error through the table, the run-time's own name limit as its host
  // twin, and an error of the program itself named as one, with its code.
  EXPECT_EQ(ERR_ErrorWords(errcode::host(EROFS)), ERR_HostErrorWords(EROFS));
  EXPECT_EQ(ERR_ErrorAdvice(errcode::host(EROFS)), ERR_HostErrorAdvice(EROFS));
  EXPECT_EQ(ERR_ErrorWords(errcode::kFileNameTooLong), ERR_HostErrorWords(ENAMETOOLONG));
  EXPECT_EQ(ERR_ErrorWords(errcode::kNoControlId), "внутренняя ошибка программы (код 6316)"_cps);
  EXPECT_TRUE(russian(ERR_ErrorAdvice(errcode::kNoControlId)));
}

// A save into a folder that is not there fails with the host's number, put in the table's words.
TEST(ErrWords, AFailedSaveInWords) {
  test_support::TempDir dir;
  try {
    RUN_ReplaceFile(RUN_FromHostPath(dir.file("нет/Литература1.pbs")), "x");
    FAIL() << "the save did not fail";
  } catch (const RunError& e) {
    EXPECT_EQ(ERR_ErrorWords(e.code()), "нет такого файла или папки"_cps);
  }
}

}  // namespace

// The check of a catalogue's files (see catalogue_check.h).
#include "core/catalogue_check.h"

#include <cerrno>
#include <optional>

#include "core/catalogue_files.h"
#include "runtime/codepage.h"
#include "runtime/err_messages.h"
#include "runtime/err_words.h"
#include "runtime/fact_file.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"

namespace {

// No catalogue file the program writes comes near this; a larger one is read no further.
constexpr std::size_t kНаибольшийФайл = std::size_t{1} << 31;

std::string в_кавычках(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

// Consults the file's lines one by one into its section, which is emptied first: the reader of
// the whole file stops at the first line it does not understand, the check goes on.
void проверить(const РазделКаталога& раздел, std::vector<ОшибкаФайла>& ошибки) {
  RNT_RetractallVar(*раздел.секция);
  std::optional<std::string> текст;
  try {
    текст = IO_RdFileBytes(раздел.файл, kНаибольшийФайл);
  } catch (const RunError& e) {
    if (!ERR_IsHostCondition(e.code())) throw;
    // Written only when chosen, or a section a catalogue made before it came has no file of.
    if ((!раздел.при_открытии || раздел.может_не_быть) && e.code() == errcode::host(ENOENT)) return;
    ошибки.push_back({раздел.файл, 0, "файл не прочитан: "_cps + ERR_ErrorWords(e.code())});
    return;
  }
  if (!текст) {
    ошибки.push_back({раздел.файл, 0, "файл слишком велик для каталога"_cps});
    return;
  }
  std::size_t номер = 0;
  for (std::size_t начало = 0; начало < текст->size();) {
    std::size_t конец = текст->find('\n', начало);
    if (конец == std::string::npos) конец = текст->size();
    // The line with its LF, so that it reads as it does inside the whole file.
    const std::size_t после = конец < текст->size() ? конец + 1 : конец;
    const std::string_view строка = std::string_view(*текст).substr(начало, после - начало);
    начало = после;
    ++номер;
    try {
      RNT_ConsultText(*раздел.секция, строка);
    } catch (const RunError& e) {
      if (ERR_IsHostCondition(e.code())) throw;
      std::string_view показ = строка;
      while (показ.ends_with('\n') || показ.ends_with('\r')) показ.remove_suffix(1);
      if (показ.size() > 60) показ = показ.substr(0, 60);
      ошибки.push_back({раздел.файл, номер,
                        "строку "_cps + в_кавычках(показ) + " программа не понимает: "_cps + ERR_GetSysErrorMsg(e.code())});
    }
  }
}

}  // namespace

std::vector<ОшибкаФайла> проверить_файлы_каталога() {
  std::vector<ОшибкаФайла> ошибки;
  for (const РазделКаталога& раздел : разделы_каталога()) проверить(раздел, ошибки);
  return ошибки;
}

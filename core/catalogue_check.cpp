// The check of a catalogue's files (see catalogue_check.h).
#include "core/catalogue_check.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/lending.h"
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

std::size_t фактов(const FactSection& section) {
  std::size_t n = 0;
  for (std::size_t k = 0; k < section.kind_count(); ++k) n += section.count(k);
  return n;
}

// Consults the file's lines one by one into its section, which is emptied first: the reader of
// the whole file stops at the first line it does not understand, the check goes on. `строки`
// receives the line of each fact read, in the facts' order.
void проверить(const РазделКаталога& раздел, std::vector<ОшибкаФайла>& ошибки, std::vector<std::size_t>& строки) {
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
      const std::size_t было = фактов(*раздел.секция);
      RNT_ConsultText(*раздел.секция, строка);
      for (std::size_t n = фактов(*раздел.секция); n > было; --n) строки.push_back(номер);
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

// The place of a file in the section list.
std::size_t раздел_по_имени(std::string_view файл) {
  const auto& разделы = разделы_каталога();
  for (std::size_t i = 0; i < разделы.size(); ++i)
    if (разделы[i].файл == файл) return i;
  return разделы.size();
}

}  // namespace

std::vector<ОшибкаФайла> проверить_файлы_каталога() {
  std::vector<ОшибкаФайла> ошибки;
  std::vector<std::size_t> строки_выдач;
  for (const РазделКаталога& раздел : разделы_каталога()) {
    std::vector<std::size_t> строки;
    проверить(раздел, ошибки, строки);
    if (раздел.секция == &секция_выдач) строки_выдач = std::move(строки);
  }
  // The loans against the books and readers read before them: lines the reader understands whose
  // loan is wrong, in the order of the lines.
  std::vector<ОшибкаФайла> выдачи;
  for (const ЗамечаниеВыдачи& з : замечания_выдач())
    выдачи.push_back({файл_выдач, з.номер <= строки_выдач.size() ? строки_выдач[з.номер - 1] : з.номер, з.причина});
  if (!выдачи.empty()) {
    ошибки.insert(ошибки.end(), выдачи.begin(), выдачи.end());
    std::stable_sort(ошибки.begin(), ошибки.end(), [](const ОшибкаФайла& a, const ОшибкаФайла& b) {
      const auto место = [](const ОшибкаФайла& о) { return раздел_по_имени(о.файл); };
      if (место(a) != место(b)) return место(a) < место(b);
      return a.строка < b.строка;
    });
  }
  return ошибки;
}

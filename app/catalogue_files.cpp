// Loading and saving the catalogue's sections, and the copy kept of a start file that did not
// load before its section is first saved.
#include "app/catalogue_files.h"

#include <algorithm>
#include <cerrno>

#include "app/session.h"
#include "catalogue/catalogue_facts.h"
#include "layer/std_dialogs.h"
#include "runtime/err_notice.h"
#include "runtime/err_words.h"
#include "runtime/error_codes.h"
#include "runtime/fact_file.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"
#include "runtime/term_reader.h"

namespace {

// A start file that is also saved: its name, its section and what the session knows of it.
struct StartFile {
  std::string_view name;
  FactSection& section;
  StartFileState& state;
};

StartFile виды() { return {файл_видов, секция_видов, сеанс().файл_видов}; }
StartFile категории() { return {файл_категорий, секция_категорий, сеанс().файл_категорий}; }
StartFile база() { return {файл_базы, секция_базы, сеанс().файл_базы}; }

std::string в_кавычках(std::string_view name) { return "«"_cps + std::string(name) + "»"_cps; }

// A notice about the catalogue's files: a note of the program while the windowing layer runs,
// else through the runtime's channel of notices (a run without windows).
void сообщить_о_файле(const std::string& text) {
  if (IO_LayerRunning())
    dlg_MessageBox("Каталог"_cps, text, mb_Information, mb_Ok, 0, mb_TaskModal);
  else
    ERR_ReportNotice(text);
}

// Whether a consult's run-time error says that the file holds what is not a fact of its section
// (a damaged line), not that the file could not be read or that the program failed.
bool ошибка_содержимого(int code) {
  switch (code) {
    case errcode::kReadLeftOver:
    case errcode::kReadNumber:
    case errcode::kReadReal:
    case errcode::kReadString:
    case errcode::kReadChar:
    case errcode::kReadBracket:
    case errcode::kReadListSep:
    case errcode::kReadFunctor:
    case errcode::kReadOpen:
    case errcode::kReadFieldSep:
    case errcode::kReadDollar:
    case errcode::kSecondFact:
    case errcode::kIntOverflow:
    case errcode::kRealOverflow:
    case errcode::kStackOverflow:
    case errcode::kStringTooLong: return true;
    default: return false;
  }
}

// The number of the line (from 1) at `pos` of the file's text as a consult reads it (CR bytes
// dropped); 0 when the file cannot be read again.
std::size_t номер_строки(std::string_view name, std::size_t pos) {
  std::string текст;
  try {
    текст = IO_RdFile(name);
  } catch (const RunError&) {
    return 0;
  }
  const auto конец = текст.begin() + static_cast<std::ptrdiff_t>(std::min(pos, текст.size()));
  return 1 + static_cast<std::size_t>(std::count(текст.begin(), конец, '\n'));
}

void load(const StartFile& f) {
  f.state.holds_memory = false;
  RNT_Consult(f.section, f.name);
  f.state.holds_memory = true;
}

// Copies the file to the first free "<name>.сохранено-<n>" and tells the user where it is. When
// the copy cannot be made (the file cannot be read, say), the user is told once, with the host's
// reason, and the error is raised: the save is not done.
void keep_copy(const StartFile& f) {
  try {
    for (int n = 1;; ++n) {
      std::string copy = std::string(f.name) + ".сохранено-"_cps + std::to_string(n);
      if (RUN_CopyToNewFile(f.name, copy)) {
        f.state.kept_copy = std::move(copy);
        break;
      }
      if (n == 100000) RUN_OsError(errcode::host(EEXIST));  // every name is taken
    }
  } catch (const RunError& e) {
    if (!f.state.told_no_copy) {
      f.state.told_no_copy = true;
      сообщить_о_файле("Файл "_cps + в_кавычках(f.name) +
                       " не был загружен полностью, а сделать копию его прежнего содержимого не удалось: "_cps +
                       ERR_ErrorWords(e.code()) +
                       ". Пока копию сделать нельзя, изменения этих данных в файл не сохраняются.\n"_cps +
                       ERR_ErrorAdvice(e.code()));
    }
    throw;
  }
  сообщить_о_файле("Файл "_cps + в_кавычках(f.name) +
                   " не был загружен полностью. Чтобы не потерять его данные, прежнее содержимое "
                   "сохранено в файле "_cps +
                   в_кавычках(f.state.kept_copy) + "."_cps);
}

void save(const StartFile& f) {
  if (!f.state.holds_memory && f.state.kept_copy.empty() && RUN_FileExists(f.name)) keep_copy(f);
  RNT_Save(f.section, f.name);
  f.state.holds_memory = true;
}

// Runs a save the user asked for; true when the file was written. When the host refuses it, the
// message titled `title` says "<what> файл «name» не записан — <why>. <outcome>" and what to do,
// and the answer is false. An error of the program itself is raised.
bool сохранить_или_сообщить(void (*save_section)(), std::string_view name, std::string_view title,
                            std::string_view what, std::string_view outcome) {
  try {
    save_section();
    return true;
  } catch (const RunError& e) {
    if (!ERR_IsHostCondition(e.code())) throw;
    dlg_MessageBox(std::string(title),
                   std::string(what) + " файл "_cps + в_кавычках(name) + " не записан — "_cps + ERR_ErrorWords(e.code()) +
                       ". "_cps + std::string(outcome) + "\n"_cps + ERR_ErrorAdvice(e.code()),
                   mb_Error, mb_Ok, 0, mb_TaskModal);
    return false;
  }
}

constexpr std::string_view kИзменениеНеСохранено = "Изменение не сохранено:"_cp;
constexpr std::string_view kДанныеКакБыли = "Данные остались как были."_cp;

}  // namespace

void загрузить_раб_базы() {
  загрузить_виды();
  загрузить_категории();
}

void загрузить_виды() { load(виды()); }
void загрузить_категории() { load(категории()); }

void загрузить_основную_базу() { load(база()); }

void загрузить_с_сообщением(void (*load_file)(), std::string_view name) {
  try {
    load_file();
  } catch (const RunError& e) {
    const int code = e.code();
    if (ERR_IsHostCondition(code)) {
      сообщить_о_файле("Файл "_cps + в_кавычках(name) + " не прочитан: "_cps + ERR_ErrorWords(code) + ".\n"_cps +
                       ERR_ErrorAdvice(code) + " Пока файл не прочитан, программа работает без его данных."_cps);
    } else if (ошибка_содержимого(code)) {
      const std::string строка = RNT_ReadTermErrorLine();
      std::string текст = "Файл "_cps + в_кавычках(name) + " прочитан не полностью: строку "_cps +
                          std::to_string(номер_строки(name, RNT_ConsultErrorFilepos)) +
                          (строка.empty() ? std::string() : " ("_cps + в_кавычках(строка.substr(0, 80)) + ")"_cps) +
                          " программа не понимает.\nЗагружено то, что стоит до неё. Исправьте файл или возьмите "_cps
                          "его из резервной копии."_cps;
      текст += " Перед первым сохранением этих данных прежний файл будет сохранён в копии."_cps;
      сообщить_о_файле(текст);
    } else {
      throw;
    }
  }
}

bool сохранить_изменение_категорий() {
  return сохранить_или_сообщить(сохранить_категории, файл_категорий, "Сохранение"_cp, kИзменениеНеСохранено,
                                kДанныеКакБыли);
}
bool сохранить_изменение_базы() {
  return сохранить_или_сообщить(сохранить_основную_базу, файл_базы, "Сохранение"_cp, kИзменениеНеСохранено,
                                kДанныеКакБыли);
}
bool сохранить_шрифт_карточки() {
  return сохранить_или_сообщить(сохранить_настройки, файл_настроек, "Настройки"_cp, "Шрифт карточки выбран, но"_cp,
                                "Выбранный шрифт действует до конца работы программы."_cp);
}

void сохранить_виды() { save(виды()); }
void сохранить_категории() { save(категории()); }
void сохранить_основную_базу() { save(база()); }
void сохранить_настройки() { RNT_Save(секция_настроек, файл_настроек); }

std::string сохранённая_копия_категорий() { return сеанс().файл_категорий.kept_copy; }
std::string сохранённая_копия_базы() { return сеанс().файл_базы.kept_copy; }

// Loading and saving the catalogue's sections, and the copy kept of a start file that did not
// load before its section is first saved.
#include "app/catalogue_files.h"

#include <cerrno>

#include "app/session.h"
#include "catalogue/catalogue_facts.h"
#include "runtime/err_messages.h"
#include "runtime/err_notice.h"
#include "runtime/fact_file.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

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
      ERR_ReportNotice("Файл «"_cps + std::string(f.name) +
                       "» не был загружен полностью, а сделать копию его прежнего содержимого не удалось: "_cps +
                       ERR_HostErrorText(errcode::host_number(e.code())) +
                       ". Пока копию сделать нельзя, изменения этих данных в файл не сохраняются."_cps);
    }
    throw;
  }
  ERR_ReportNotice("Файл «"_cps + std::string(f.name) +
                   "» не был загружен полностью. Чтобы не потерять его данные, прежнее содержимое "
                   "сохранено в файле «"_cps +
                   f.state.kept_copy + "»."_cps);
}

void save(const StartFile& f) {
  if (!f.state.holds_memory && f.state.kept_copy.empty() && RUN_FileExists(f.name)) keep_copy(f);
  RNT_Save(f.section, f.name);
  f.state.holds_memory = true;
}

}  // namespace

void загрузить_раб_базы() {
  загрузить_виды();
  загрузить_категории();
}

void загрузить_виды() { load(виды()); }
void загрузить_категории() { load(категории()); }

void загрузить_основную_базу() { load(база()); }

void сохранить_виды() { save(виды()); }
void сохранить_категории() { save(категории()); }
void сохранить_основную_базу() { save(база()); }
void сохранить_настройки() { RNT_Save(секция_настроек, файл_настроек); }

std::string сохранённая_копия_категорий() { return сеанс().файл_категорий.kept_copy; }
std::string сохранённая_копия_базы() { return сеанс().файл_базы.kept_copy; }

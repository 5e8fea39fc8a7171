// Loading and saving the catalogue's sections, and the copy kept of a start file that did not
// load before its section is first saved.
#include "app/catalogue_files.h"

#include <cerrno>

#include "app/catalogue_facts.h"
#include "runtime/err_messages.h"
#include "runtime/err_notice.h"
#include "runtime/fact_file.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

namespace {

// What the run knows about a start file that is also saved.
struct StartFile {
  std::string_view name;
  FactSection* section;
  bool holds_memory = false;  // loaded completely, or written by this run: saving loses nothing
  std::string kept_copy;      // the copy made before the first save, once made
  bool told_no_copy = false;  // the user knows that the copy cannot be made, so nothing is saved
};

StartFile g_categories{файл_категорий, &секция_категорий, false, {}, false};
StartFile g_catalogue{файл_базы, &секция_базы, false, {}, false};

void load(StartFile* guarded, FactSection& section, std::string_view name) {
  if (guarded) guarded->holds_memory = false;
  RNT_Consult(section, name);
  if (guarded) guarded->holds_memory = true;
}

// Copies the file to the first free "<name>.сохранено-<n>" and tells the user where it is. When
// the copy cannot be made (the file cannot be read, say), the user is told once, with the host's
// reason, and the error is raised: the save is not done.
void keep_copy(StartFile& f) {
  try {
    for (int n = 1;; ++n) {
      std::string copy = std::string(f.name) + ".сохранено-"_cps + std::to_string(n);
      if (RUN_CopyToNewFile(f.name, copy)) {
        f.kept_copy = std::move(copy);
        break;
      }
      if (n == 100000) RUN_OsError(errcode::host(EEXIST));  // every name is taken
    }
  } catch (const RunError& e) {
    if (!f.told_no_copy) {
      f.told_no_copy = true;
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
                   f.kept_copy + "»."_cps);
}

void save(StartFile& f) {
  if (!f.holds_memory && f.kept_copy.empty() && RUN_FileExists(f.name)) keep_copy(f);
  RNT_Save(*f.section, f.name);
  f.holds_memory = true;
}

}  // namespace

void загрузить_раб_базы() {
  load(nullptr, секция_видов, файл_видов);
  load(&g_categories, секция_категорий, файл_категорий);
}

void загрузить_виды() { load(nullptr, секция_видов, файл_видов); }
void загрузить_категории() { load(&g_categories, секция_категорий, файл_категорий); }

void загрузить_основную_базу() { load(&g_catalogue, секция_базы, файл_базы); }

void сохранить_категории() { save(g_categories); }
void сохранить_основную_базу() { save(g_catalogue); }
void сохранить_настройки() { RNT_Save(секция_настроек, файл_настроек); }

std::string сохранённая_копия_категорий() { return g_categories.kept_copy; }
std::string сохранённая_копия_базы() { return g_catalogue.kept_copy; }

void начать_данные_каталога() {
  RNT_RetractallVar(секция_видов);
  RNT_RetractallVar(секция_категорий);
  RNT_RetractallVar(секция_базы);
  RNT_RetractallVar(секция_настроек);
  сбросить_рабочие_факты();
  for (StartFile* f : {&g_categories, &g_catalogue}) {
    f->holds_memory = false;
    f->kept_copy.clear();
    f->told_no_copy = false;
  }
}

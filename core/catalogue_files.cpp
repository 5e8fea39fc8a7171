// The section list, the storage seam, and the working folder's fact files with the copy kept of
// a start file that did not load before its section is first saved.
#include "core/catalogue_files.h"

#include <cerrno>
#include <map>

#include "core/catalogue_facts.h"
#include "runtime/err_words.h"
#include "runtime/err_notice.h"
#include "runtime/fact_file.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

namespace {

СообщениеОФайле& сообщение_о_файлах() {
  static СообщениеОФайле сообщение = nullptr;
  return сообщение;
}

void сообщить_о_файле(const std::string& text) {
  if (сообщение_о_файлах())
    сообщение_о_файлах()(text);
  else
    ERR_ReportNotice(text);
}

// The fact files of the working folder: each section in its file, consulted and saved whole.
class ФайлыПапки : public ХранилищеКаталога {
 public:
  void загрузить(const РазделКаталога& р) override {
    if (!р.сохраняется) {
      RNT_Consult(*р.секция, р.файл);
      return;
    }
    StartFileState& state = состояния[р.секция];
    state.holds_memory = false;
    if (р.может_не_быть && !RUN_FileExists(р.файл)) {
      state.holds_memory = true;  // nothing stored: saving loses nothing
      return;
    }
    RNT_Consult(*р.секция, р.файл);
    state.holds_memory = true;
  }

  void сохранить(const РазделКаталога& р) override {
    if (!р.при_открытии) {
      RNT_Save(*р.секция, р.файл);
      return;
    }
    StartFileState& state = состояния[р.секция];
    if (!state.holds_memory && state.kept_copy.empty() && RUN_FileExists(р.файл)) keep_copy(р, state);
    RNT_Save(*р.секция, р.файл);
    state.holds_memory = true;
  }

  std::map<const FactSection*, StartFileState> состояния;

 private:
  // Copies the file to the first free "<name>.сохранено-<n>" and tells the user where it is.
  // When the copy cannot be made (the file cannot be read, say), the user is told once, with the
  // host's reason, and the error is raised: the save is not done.
  static void keep_copy(const РазделКаталога& р, StartFileState& state) {
    try {
      for (int n = 1;; ++n) {
        std::string copy = std::string(р.файл) + ".сохранено-"_cps + std::to_string(n);
        if (RUN_CopyToNewFile(р.файл, copy)) {
          state.kept_copy = std::move(copy);
          break;
        }
        if (n == 100000) RUN_OsError(errcode::host(EEXIST));  // every name is taken
      }
    } catch (const RunError& e) {
      if (!state.told_no_copy) {
        state.told_no_copy = true;
        сообщить_о_файле("Файл «"_cps + std::string(р.файл) +
                         "» не был загружен полностью, а сделать копию его прежнего содержимого не удалось: "_cps +
                         ERR_ErrorWords(e.code()) +
                         ". Пока копию сделать нельзя, изменения этих данных в файл не сохраняются.\n"_cps +
                         ERR_ErrorAdvice(e.code()));
      }
      throw;
    }
    сообщить_о_файле("Файл «"_cps + std::string(р.файл) +
                     "» не был загружен полностью. Чтобы не потерять его данные, прежнее содержимое "
                     "сохранено в файле «"_cps +
                     state.kept_copy + "»."_cps);
  }
};

ФайлыПапки& файлы_папки() {
  static ФайлыПапки файлы;
  return файлы;
}

std::unique_ptr<ХранилищеКаталога>& другое_хранилище() {
  static std::unique_ptr<ХранилищеКаталога> хранилище;
  return хранилище;
}

const РазделКаталога& раздел(const FactSection& section) { return *раздел_секции(section); }

}  // namespace

const std::vector<РазделКаталога>& разделы_каталога() {
  static const std::vector<РазделКаталога> разделы = {
      {файл_видов, &секция_видов, true, true, true},
      {файл_категорий, &секция_категорий, true, true, true},
      {файл_базы, &секция_базы, true, true, false},
      {файл_кодов, &секция_кодов_каталога, true, true, false, true},
      {файл_настроек, &секция_настроек, false, true, false},
  };
  return разделы;
}

const РазделКаталога* раздел_секции(const FactSection& section) {
  for (const РазделКаталога& р : разделы_каталога())
    if (р.секция == &section) return &р;
  return nullptr;
}

const РазделКаталога* раздел_таблицы(std::string_view table) {
  for (const РазделКаталога& р : разделы_каталога())
    if (р.секция->find_kind(table)) return &р;
  return nullptr;
}

ХранилищеКаталога& хранилище_каталога() {
  if (другое_хранилище()) return *другое_хранилище();
  return файлы_папки();
}

void задать_хранилище_каталога(std::unique_ptr<ХранилищеКаталога> storage) { другое_хранилище() = std::move(storage); }

void загрузить_раздел(const РазделКаталога& section) { хранилище_каталога().загрузить(section); }
void сохранить_раздел(const РазделКаталога& section) { хранилище_каталога().сохранить(section); }

void загрузить_раб_базы() {
  загрузить_виды();
  загрузить_категории();
}

void загрузить_виды() { загрузить_раздел(раздел(секция_видов)); }
void загрузить_категории() { загрузить_раздел(раздел(секция_категорий)); }
void загрузить_основную_базу() { загрузить_раздел(раздел(секция_базы)); }

void сохранить_виды() { сохранить_раздел(раздел(секция_видов)); }
void сохранить_категории() { сохранить_раздел(раздел(секция_категорий)); }
void сохранить_основную_базу() { сохранить_раздел(раздел(секция_базы)); }
void сохранить_настройки() { сохранить_раздел(раздел(секция_настроек)); }

const StartFileState& состояние_файла(const FactSection& section) { return файлы_папки().состояния[&section]; }

void забыть_состояние_файлов() { файлы_папки().состояния.clear(); }

void задать_сообщение_о_файлах(СообщениеОФайле tell) { сообщение_о_файлах() = tell; }

std::string сохранённая_копия_категорий() { return состояние_файла(секция_категорий).kept_copy; }
std::string сохранённая_копия_базы() { return состояние_файла(секция_базы).kept_copy; }

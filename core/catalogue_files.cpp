// The section list, the storage seam, and the working folder's fact files with the copy kept of
// a start file that did not load before its section is first saved; the folder's lock, the
// identities of its files as this desk last read or wrote them, and the folder gone and back.
#include "core/catalogue_files.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <system_error>

#include "core/catalogue_facts.h"
#include "runtime/err_words.h"
#include "runtime/err_notice.h"
#include "runtime/error_codes.h"
#include "runtime/fact_file.h"
#include "runtime/file_identity.h"
#include "runtime/file_slots.h"
#include "runtime/folder_lock.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"
#include "runtime/term_reader.h"

namespace fs = std::filesystem;

namespace {

СообщениеОФайле& сообщение_о_файлах() {
  static СообщениеОФайле сообщение = nullptr;
  return сообщение;
}

std::vector<std::string>*& копилка_сообщений() {
  static std::vector<std::string>* копилка = nullptr;
  return копилка;
}

void сообщить_о_файле(const std::string& text) {
  if (копилка_сообщений())
    копилка_сообщений()->push_back(text);
  else if (сообщение_о_файлах())
    сообщение_о_файлах()(text);
  else
    ERR_ReportNotice(text);
}

// The folder's lock held for a change or a re-read.
class ЗамокПапки : public ЗанятиеХранилища {
 public:
  explicit ЗамокПапки(FolderLock lock) : lock_(std::move(lock)) {}

 private:
  FolderLock lock_;
};

// The fact files of the working folder: each section in its file, consulted and saved whole. The
// folder may be shared by several desks: each file's identity is taken as this desk reads or
// writes it, so that a file another desk (or a person) wrote since is seen; the desks take turns
// through the folder's lock.
class ФайлыПапки : public ХранилищеКаталога {
 public:
  void загрузить(const РазделКаталога& р) override {
    запомнить_папку();
    опознать(р);  // before reading: what is read is never older than what was seen
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
    запомнить_папку();
    if (!р.при_открытии) {
      RNT_Save(*р.секция, р.файл);
      опознать(р);
      return;
    }
    StartFileState& state = состояния[р.секция];
    if (!state.holds_memory && state.kept_copy.empty() && RUN_FileExists(р.файл)) keep_copy(р, state);
    RNT_Save(*р.секция, р.файл);
    state.holds_memory = true;
    опознать(р);
  }

  std::optional<std::string> недоступно() override {
    if (папка_.empty()) return std::nullopt;  // nothing read yet: the current folder is the catalogue's
    std::error_code ec;
    if (!fs::is_directory(папка_, ec)) return "папки «"_cps + показ_папки(папка_) + "» нет на месте"_cps;
    if (fs::equivalent(папка_, ".", ec) && !ec) return std::nullopt;
    // The name leads to another folder than the one this desk works in: the share mounted again,
    // the folder put back from a copy — or an empty mount point while the share is away, which
    // holds no catalogue and is never written to.
    if (!fs::is_regular_file(файл_в_папке(папка_, файл_базы), ec))
      return "в папке «"_cps + показ_папки(папка_) + "» нет файла «"_cps + std::string(файл_базы) + "»"_cps;
    fs::current_path(папка_, ec);
    if (ec) return "папку «"_cps + показ_папки(папка_) + "» не удалось открыть: "_cps + ERR_HostErrorWords(ec.value());
    return std::nullopt;
  }

  bool изменён(const РазделКаталога& р) override {
    const auto it = опознано_.find(р.секция);
    return р.при_открытии && it != опознано_.end() && RUN_IdentifyFile(р.файл) != it->second;
  }

  // The file is read whole before the section is emptied, so a file that cannot be read leaves
  // memory as it was. Until the file loads whole, memory is not known to hold it: the next save
  // keeps it aside first, as a start file that did not load is kept.
  void перечитать(const РазделКаталога& р) override {
    StartFileState& state = состояния[р.секция];
    опознать(р);
    state = StartFileState{};
    const std::string текст = IO_RdFile(р.файл);
    RNT_RetractallVar(*р.секция);
    RNT_ConsultText(*р.секция, текст);
    state.holds_memory = true;
  }

  // A folder where the lock file cannot be made or locked (a read-only folder, a share without a
  // lock service) is changed without the lock, as a desk alone would change it.
  std::unique_ptr<ЗанятиеХранилища> занять(bool для_записи, std::chrono::milliseconds ждать,
                                           const std::function<void()>& пока_ждём) override {
    запомнить_папку();
    try {
      auto lock = RUN_LockFolder({}, для_записи ? FolderLockMode::exclusive : FolderLockMode::shared, ждать, пока_ждём);
      if (!lock) return nullptr;
      return std::make_unique<ЗамокПапки>(std::move(*lock));
    } catch (const RunError& e) {
      if (!ERR_IsHostCondition(e.code())) throw;
      return std::make_unique<ЗанятиеХранилища>();
    }
  }

  // A new catalogue opens: nothing is known of its files and folder yet.
  void забыть() {
    состояния.clear();
    опознано_.clear();
    папка_.clear();
  }

  std::map<const FactSection*, StartFileState> состояния;

 private:
  void запомнить_папку() {
    if (папка_.empty()) папка_ = рабочая_папка();
  }

  // The file's identity now, as this desk has read or written it; one that cannot be taken is
  // none, which differs from the file's and so reads it again at the next check.
  void опознать(const РазделКаталога& р) {
    try {
      опознано_[р.секция] = RUN_IdentifyFile(р.файл);
    } catch (const RunError& e) {
      if (!ERR_IsHostCondition(e.code())) throw;
      опознано_[р.секция] = FileIdentity{.exists = false, .device = ~std::uint64_t{0}};
    }
  }

  std::map<const FactSection*, FileIdentity> опознано_;
  std::string папка_;  // the working folder as the catalogue was opened in it (a host path)

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

std::string в_кавычках(std::string_view name) { return "«"_cps + std::string(name) + "»"_cps; }

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

}  // namespace

СловаНедоступности ХранилищеКаталога::слова_недоступности() const {
  return {"Папка каталога недоступна: "_cps,
          ". Пока она не вернётся, изменения не сохраняются; программа показывает данные, прочитанные раньше."_cps,
          ". Пока папка каталога недоступна, изменения не сохраняются; данные остались как были. Когда папка "
          "вернётся, повторите."_cps,
          "Папка каталога снова доступна: изменения снова сохраняются."_cps};
}

void ХранилищеКаталога::перечитать(const РазделКаталога& р) {
  const std::string было = RNT_SaveText(*р.секция);
  RNT_RetractallVar(*р.секция);
  try {
    загрузить(р);
  } catch (const RunError& e) {
    if (ERR_IsHostCondition(e.code())) {  // nothing read: memory as it was
      RNT_RetractallVar(*р.секция);
      RNT_ConsultText(*р.секция, было);
    }
    throw;
  }
}

void сообщить_о_каталоге(const std::string& text) { сообщить_о_файле(text); }

void копить_сообщения_о_каталоге(std::vector<std::string>* копилка) { копилка_сообщений() = копилка; }

std::optional<std::string> сообщение_о_загрузке(const РазделКаталога& раздел, const RunError& e, bool снова) {
  const int code = e.code();
  const std::string_view name = раздел.файл;
  const std::string как = снова ? " изменён другим рабочим местом или вручную, но"_cps : std::string();
  if (ERR_IsHostCondition(code))
    return "Файл "_cps + в_кавычках(name) + как + " не прочитан: "_cps + ERR_ErrorWords(code) + ".\n"_cps +
           ERR_ErrorAdvice(code) +
           (снова ? " Пока файл не прочитан, программа работает с прежними его данными."_cps
                  : " Пока файл не прочитан, программа работает без его данных."_cps);
  if (!ошибка_содержимого(code)) return std::nullopt;
  const std::string строка = RNT_ReadTermErrorLine();
  std::string текст = "Файл "_cps + в_кавычках(name) + как + " прочитан не полностью: строку "_cps +
                      std::to_string(номер_строки(name, RNT_ConsultErrorFilepos)) +
                      (строка.empty() ? std::string() : " ("_cps + в_кавычках(строка.substr(0, 80)) + ")"_cps) +
                      " программа не понимает.\nЗагружено то, что стоит до неё. Исправьте файл или возьмите "_cps
                      "его из резервной копии."_cps;
  if (раздел.сохраняется) текст += " Перед первым сохранением этих данных прежний файл будет сохранён в копии."_cps;
  return текст;
}

void загрузить_с_сообщением(const РазделКаталога& раздел) {
  try {
    загрузить_раздел(раздел);
  } catch (const RunError& e) {
    const auto текст = сообщение_о_загрузке(раздел, e, false);
    if (!текст) throw;
    сообщить_о_файле(*текст);
  }
}

const std::vector<РазделКаталога>& разделы_каталога() {
  static const std::vector<РазделКаталога> разделы = {
      {файл_видов, &секция_видов, true, true, true},
      {файл_категорий, &секция_категорий, true, true, true},
      {файл_базы, &секция_базы, true, true, false},
      {файл_сведений, &секция_сведений, true, true, false, true},
      {файл_кодов, &секция_кодов_каталога, true, true, false, true},
      {файл_читателей, &секция_читателей, true, true, false, true},
      {файл_кодов_читателей, &секция_кодов_читателей, true, true, false, true},
      {файл_выдач, &секция_выдач, true, true, false, true},
      {файл_срока_выдачи, &секция_срока_выдачи, true, true, true, true},
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

bool каталог_в_папке() { return !другое_хранилище(); }

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

void забыть_состояние_файлов() { файлы_папки().забыть(); }

void задать_сообщение_о_файлах(СообщениеОФайле tell) {
  сообщение_о_файлах() = tell;
  копилка_сообщений() = nullptr;
}

std::string сохранённая_копия_категорий() { return состояние_файла(секция_категорий).kept_copy; }
std::string сохранённая_копия_базы() { return состояние_файла(секция_базы).kept_copy; }

std::string показ_папки(const std::string& folder) { return RUN_FromHostPath(folder); }

std::string файл_в_папке(const std::string& folder, std::string_view name) {
  return (fs::path(folder) / RUN_HostPath(name)).string();
}

std::string рабочая_папка() {
  std::error_code ec;
  const fs::path p = fs::current_path(ec);
  return ec ? std::string(".") : p.string();
}

// The backup copy command.
#include "app/catalogue_backup.h"
#include "app/session.h"

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "app/server_catalogue.h"
#include "app/toolbars.h"
#include "core/catalogue_files.h"
#include "core/catalogue_folder.h"
#include "core/catalogue_work.h"
#include "layer/std_dialogs.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"
#include "server/server_catalogue.h"

namespace {

namespace fs = std::filesystem;

const std::string kЗаголовок = std::string("Резервная копия"_cp);

// A server catalogue's copy in the folder form: every section's fact file written, as memory
// holds it now, and the cover pictures the records name, as the server holds them, into a
// temporary folder (removed when the value goes), to be copied from there.
class ФайлыСервера {
 public:
  ФайлыСервера() {
    std::string шаблон = (fs::temp_directory_path() / "foliarkh-copy-XXXXXX").string();
    if (::mkdtemp(шаблон.data())) папка_ = шаблон;
  }
  ~ФайлыСервера() {
    std::error_code ec;
    if (!папка_.empty()) fs::remove_all(папка_, ec);
  }
  // The files of the sections (cp1251 paths); raises the host's error of one that cannot be written.
  ФайлыКопии записать() {
    if (папка_.empty()) RUN_OsErrorFromErrno();
    ФайлыКопии что;
    for (const РазделКаталога& р : разделы_каталога()) {
      const std::string файл = RUN_FromHostPath(файл_в_папке(папка_, р.файл));
      RUN_ReplaceFile(файл, RNT_SaveText(*р.секция));
      что.файлы.push_back(файл);
    }
    ХранилищеСервера::ОбложкиВПапке обложки = сервер_каталога()->записать_обложки(папка_);
    что.файлы.insert(что.файлы.end(), обложки.файлы.begin(), обложки.файлы.end());
    что.нет_обложек = обложки.нет;
    return что;
  }

 private:
  std::string папка_;
};

}  // namespace

bool сделать_резервную_копию() {
  const auto выбор = dlg_GetFolderName("Резервная копия: выберите папку для копии"_cps, папка_для_документов());
  if (!выбор) return false;
  запомнить_папку_документов(*выбор, true);
  // A server catalogue is copied in the folder form, which opens without a server.
  ФайлыСервера сервера;
  ФайлыКопии что;
  if (каталог_в_папке()) {
    что = файлы_для_копии();
  } else {
    try {
      что = сервера.записать();
    } catch (const RunError& e) {
      dlg_Error(kЗаголовок, текст_отказа("Не удалось подготовить резервную копию каталога"_cps, e, "Копия не сделана."_cp));
      return false;
    }
  }
  const ИтогРаботы копия = записать_копию(RUN_HostPath(*выбор), что);
  if (!копия.сделано()) {
    dlg_Error(kЗаголовок, копия.отказ);
    return false;
  }
  std::string текст = "Резервная копия каталога сохранена в папке «"_cps + показ_папки(копия.путь) +
                      "».\nФайлов в копии: "_cps + std::to_string(что.файлы.size()) + "."_cps;
  if (что.нет_обложек > 0)
    текст += "\nНе найдено файлов обложек: "_cps + std::to_string(что.нет_обложек) + "."_cps;
  показать_в_строке_подсказки("Резервная копия сохранена в папке «"_cps + показ_папки(копия.путь) + "» (файлов: "_cps +
                              std::to_string(что.файлы.size()) + ")"_cps);
  dlg_MessageBox(kЗаголовок, текст, mb_Information, mb_Ok, 0, mb_TaskModal);
  return true;
}

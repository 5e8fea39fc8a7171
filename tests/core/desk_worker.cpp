// A desk without windows: the process the desks' tests start, several at a time, on one catalogue
// folder. It opens the folder's catalogue as the program's start does and changes it through the
// program's own change path (core/change_path.h), with the watch the program runs about once a
// second run before each change.
//
//   desk_worker changes <folder> <id> <count> <seed> <log>
//       `count` random changes (records entered, edited, deleted; categories entered, renamed,
//       deleted; undo; redo), each change done appended to <log> as lines "+r <code> <title>",
//       "-r <code> <title>", "+c <name>", "-c <name>" (what it put in and took out); titles and
//       names are made of the id and the change's number, so that no two changes make the same;
//       prints "done <n> refused <n> unavailable <n>" at the end
//   desk_worker hold <folder>
//       starts an import of 3000 records and, inside it (the folder's lock held), prints "held" and
//       waits until it is killed
//   desk_worker enter <folder> <author> <title> [<category> <kind> <disk> <binding>]
//       a record entered (UTF-8 texts); prints its code
//   desk_worker delete <folder> <code>              the record of the code deleted
//   desk_worker import <folder> <n>                 n records imported at once
//   desk_worker category <folder> <name>            a category entered (UTF-8)
// A change that is not done prints its message to standard error and, in the one-change modes,
// ends with exit code 1. Any run-time error prints its code and ends with exit code 2.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/change_path.h"
#include "core/core_part.h"
#include "core/record_codes.h"
#include "core/undo_history.h"
#include "runtime/codepage.h"
#include "runtime/run.h"
#include "runtime/run_error.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: desk_worker changes|hold|enter|delete|category <folder> ...\n");
  return 2;
}

void открыть(const char* folder) {
  std::filesystem::current_path(folder);
  for (const РазделКаталога& р : разделы_каталога())
    if (р.при_открытии) загрузить_с_сообщением(р);
  получитьсписоккодов();
}

ЗаписьБазы запись(const std::string& author, const std::string& title, const std::string& category = {}) {
  return {0, author, title, category, {}, 0, 0, {}};
}

template <class T>
const T& любой(const std::vector<T>& all, std::mt19937& rng) {
  return all[rng() % all.size()];
}

// One change done, as its log lines.
class Журнал {
 public:
  explicit Журнал(const char* path) : fd_(::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)) {}
  ~Журнал() { ::close(fd_); }
  void запись(char знак, const ЗаписьБазы& з) { lines_ += std::string(1, знак) + "r " + std::to_string(з.код) + " " + з.наименование + "\n"; }
  void категория(char знак, const std::string& к) { lines_ += std::string(1, знак) + "c " + к + "\n"; }
  // The lines of the change, written at once.
  void записать() {
    if (!lines_.empty() && ::write(fd_, lines_.data(), lines_.size()) != static_cast<ssize_t>(lines_.size())) std::exit(4);
    lines_.clear();
  }
  void забыть() { lines_.clear(); }

 private:
  int fd_;
  std::string lines_;
};

// What undoing (назад) or redoing a step does to the categories.
void категории_шага(const ШагИстории& шаг, bool назад, Журнал& журнал) {
  if (const auto* s = std::get_if<ВводКатегории>(&шаг)) журнал.категория(назад ? '-' : '+', s->категория);
  if (const auto* s = std::get_if<УдалениеКатегории>(&шаг)) журнал.категория(назад ? '+' : '-', s->категория);
  if (const auto* s = std::get_if<ПравкаКатегории>(&шаг)) {
    журнал.категория('-', назад ? s->новая : s->старая);
    журнал.категория('+', назад ? s->старая : s->новая);
  }
}

int изменения(const char* folder, const std::string& id, int count, unsigned seed, const char* log) {
  открыть(folder);
  // The folder's lock is not handed out in turn: on a loaded machine one desk among several may
  // wait longer than a user would. What is checked here is that nothing is lost, so the desk waits
  // as long as it takes (the user's 10 s are tested on their own).
  задать_ожидание_хранилища(std::chrono::seconds(120));
  std::mt19937 rng(seed);
  Журнал журнал(log);
  int сделано = 0, не_применимо = 0, недоступно = 0;
  for (int n = 0; n < count; ++n) {
    (void)освежить_каталог();
    const std::string имя = id + "-" + std::to_string(n);
    const std::vector<ЗаписьБазы> записи = база_лит.all();
    const std::vector<std::string> категории = категории_лит.all();
    const std::string категория = категории.empty() ? std::string() : любой(категории, rng);
    const unsigned r = rng() % 100;
    Операция оп = ВвестиЗапись{запись("w" + id, "t" + имя, категория)};
    if (r >= 30 && r < 45 && !записи.empty()) {
      const ЗаписьБазы& прежняя = любой(записи, rng);
      ЗаписьБазы новая = прежняя;
      новая.наименование = "t" + имя + "e";
      оп = ИзменитьЗапись{прежняя, новая};
    } else if (r >= 45 && r < 58 && !записи.empty()) {
      оп = УдалитьЗапись{любой(записи, rng)};
    } else if (r >= 58 && r < 68) {
      оп = ВвестиКатегорию{"c" + имя};
      журнал.категория('+', "c" + имя);
    } else if (r >= 68 && r < 73 && !категории.empty()) {
      оп = ИзменитьКатегорию{категория, "c" + имя};
      журнал.категория('-', категория);
      журнал.категория('+', "c" + имя);
    } else if (r >= 73 && r < 78 && !категории.empty()) {
      оп = УдалитьКатегорию{категория};
      журнал.категория('-', категория);
    } else if (r >= 78 && r < 93) {
      оп = ОтменитьИзменение{};
      if (!история_изменений().отмена.empty()) категории_шага(история_изменений().отмена.back(), true, журнал);
    } else if (r >= 93) {
      оп = ПовторитьИзменение{};
      if (!история_изменений().повтор.empty()) категории_шага(история_изменений().повтор.back(), false, журнал);
    }
    const ИтогИзменения итог = применить(оп);
    if (!итог.сделано()) {
      журнал.забыть();
      ++(итог.исход == ИтогИзменения::Исход::недоступно ? недоступно : не_применимо);
      continue;
    }
    for (const ЗаписьБазы& з : итог.изменения.убранные) журнал.запись('-', з);
    for (const ЗаписьБазы& з : итог.изменения.добавленные) журнал.запись('+', з);
    журнал.записать();
    ++сделано;
  }
  std::printf("done %d refused %d unavailable %d\n", сделано, не_применимо, недоступно);
  return 0;
}

int держать(const char* folder) {
  открыть(folder);
  ИмпортироватьЗаписи импорт;
  for (int i = 0; i < 3000; ++i) импорт.записи.push_back(запись("hold", "h-" + std::to_string(i)));
  применить(импорт, 0, [](std::size_t) {
    std::printf("held\n");
    std::fflush(stdout);
    for (;;) ::pause();
  });
  return 3;  // never reached while the test holds it
}

int одно(const Операция& оп) {
  const ИтогИзменения итог = применить(оп);
  if (!итог.сделано()) {
    std::fprintf(stderr, "%s\n", cp1251::to_utf8(итог.сообщение).c_str());
    return 1;
  }
  if (!итог.изменения.добавленные.empty()) std::printf("%d\n", итог.изменения.добавленные.front().код);
  return 0;
}

}  // namespace

// The runtime's start calls the program's goal; this process starts no run.
void KERNOG_Goal() {}

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string what = argv[1];
  core_RegisterPart();
  RUN_ResetParts();
  try {
    if (what == "changes" && argc == 7)
      return изменения(argv[2], argv[3], std::atoi(argv[4]), static_cast<unsigned>(std::atol(argv[5])), argv[6]);
    if (what == "hold" && argc == 3) return держать(argv[2]);
    if (what == "enter" && (argc == 5 || argc == 9)) {
      открыть(argv[2]);
      ЗаписьБазы з = запись(cp1251::from_utf8(argv[3]), cp1251::from_utf8(argv[4]));
      if (argc == 9) {
        з.категория = cp1251::from_utf8(argv[5]);
        з.вид = cp1251::from_utf8(argv[6]);
        з.диск = std::atoi(argv[7]);
        з.переплет = std::atoi(argv[8]);
      }
      return одно(ВвестиЗапись{з});
    }
    if (what == "delete" && argc == 4) {
      открыть(argv[2]);
      const std::vector<ЗаписьБазы> записи = база_лит.по_коду(std::atoi(argv[3]));
      if (записи.empty()) return 1;
      return одно(УдалитьЗапись{записи.front()});
    }
    if (what == "import" && argc == 4) {
      открыть(argv[2]);
      ИмпортироватьЗаписи импорт;
      for (int i = 0; i < std::atoi(argv[3]); ++i) импорт.записи.push_back(запись("import", "i-" + std::to_string(i)));
      return одно(импорт);
    }
    if (what == "category" && argc == 4) {
      открыть(argv[2]);
      return одно(ВвестиКатегорию{cp1251::from_utf8(argv[3])});
    }
  } catch (const RunError& e) {
    std::fprintf(stderr, "desk_worker: run-time error %d\n", e.code());
    return 2;
  }
  return usage();
}

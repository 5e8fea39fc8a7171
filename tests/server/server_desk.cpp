// A desk without windows on a server catalogue: the process the server storage's tests start, two
// at a time, on one database. It opens the catalogue as the program does (the server storage
// behind the core's seam) and changes it through the program's own change path, the watch run
// before each change as the program runs it about once a second.
//
//   server_desk enter <uri> <prefix> <count>
//       `count` records entered one by one, titled "<prefix> <n>"; every third one deleted again
//       after it is entered; prints "done <entered> <deleted> refused <n>"
//   server_desk hold <uri>
//       takes the catalogue for writing, stores a record in the open transaction, prints "held"
//       and waits until it is killed (the record never committed)
// Any run-time error prints its code and ends with exit code 2; a connection refused, 3.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/change_path.h"
#include "core/core_part.h"
#include "core/record_codes.h"
#include "runtime/codepage.h"
#include "runtime/run.h"
#include "runtime/run_error.h"
#include "server/server_catalogue.h"

void KERNOG_Goal() {}

namespace {

ХранилищеСервера* открыть(const char* uri) {
  const auto адрес = разобрать_адрес(uri);
  if (!адрес) std::exit(3);
  ОткрытиеСервера о = открыть_сервер(*адрес);
  if (!о.хранилище) {
    std::fprintf(stderr, "%s\n", cp1251::to_utf8(о.ошибка).c_str());
    std::exit(3);
  }
  ХранилищеСервера* сервер = о.хранилище.get();
  задать_хранилище_каталога(std::move(о.хранилище));
  for (const РазделКаталога& р : разделы_каталога())
    if (р.при_открытии) загрузить_раздел(р);
  получитьсписоккодов();
  return сервер;
}

int ввести(const char* uri, const std::string& prefix, int count) {
  открыть(uri);
  int введено = 0, удалено = 0, отказано = 0;
  for (int n = 0; n < count; ++n) {
    освежить_каталог();
    ЗаписьБазы з{0, "Автор"_cps, prefix + " " + std::to_string(n), {}, {}, 0, 0, {}};
    ИтогИзменения итог = применить(ВвестиЗапись{з});
    if (!итог.сделано()) {
      ++отказано;
      std::fprintf(stderr, "%s\n", cp1251::to_utf8(итог.сообщение).c_str());
      continue;
    }
    ++введено;
    if (n % 3 == 2) {
      освежить_каталог();
      if (применить(УдалитьЗапись{итог.изменения.добавленные.front()}).сделано())
        ++удалено;
      else
        ++отказано;
    }
  }
  std::printf("done %d %d refused %d\n", введено, удалено, отказано);
  задать_хранилище_каталога(nullptr);  // the connection closes before the process's last destructors
  return 0;
}

int держать(const char* uri) {
  ХранилищеСервера* сервер = открыть(uri);
  auto занятие = сервер->занять(true, std::chrono::seconds(10), {});
  if (!занятие) return 1;
  база_лит.asserta(ЗаписьБазы{0, "Автор"_cps, "незавершённая"_cps, {}, {}, 0, 0, {}});
  сервер->сохранить(*раздел_секции(секция_базы));
  std::printf("held\n");
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string what = argv[1];
  core_RegisterPart();
  RUN_ResetParts();
  try {
    if (what == "enter" && argc == 5) return ввести(argv[2], argv[3], std::atoi(argv[4]));
    if (what == "hold" && argc == 3) return держать(argv[2]);
  } catch (const RunError& e) {
    std::fprintf(stderr, "run-time error %d\n", e.code());
    return 2;
  }
  return 2;
}

// A server catalogue of 100,000 records on a private PostgreSQL server (Unix socket, the loopback
// of this machine), through the core's own path and the server storage: opening it (every section
// read), an entry (one transaction: the hold, the check for other desks, the code from the
// database, the record stored, the commit), another desk's change shown (the watch reading what
// another desk stored: a record more), and the export read from the server beside the same export
// read from a catalogue folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/change_path.h"
#include "core/core_part.h"
#include "core/exchange_table.h"
#include "core/record_codes.h"
#include "pg_test_server.h"
#include "runtime/codepage.h"
#include "runtime/run.h"
#include "runtime/safe_write.h"
#include "server/server_catalogue.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kЗаписей = 100000;

ЗаписьБазы запись(std::int32_t код) {
  return {код, "Толстой Л. Н."_cps, "Война и мир, том "_cps + std::to_string(код), "Проза"_cps, "Роман"_cps, 1, 1, {}};
}

void каталог_в_памяти() {
  core_RegisterPart();
  RUN_ResetParts();
  категории_лит.assertz("Проза"_cps);
  категории_лит.assertz("Поэзия"_cps);
  виды_лит.assertz("Роман"_cps);
  for (std::size_t i = kЗаписей; i >= 1; --i) база_лит.assertz(запись(static_cast<std::int32_t>(i)));
}

// The private server with the catalogue moved onto it, made once for every benchmark here.
class Сервер {
 public:
  static Сервер& один() {
    static Сервер с;
    return с;
  }
  АдресСервера адрес() const { return *разобрать_адрес(server_.uri("catalogue", "librarian")); }
  // The catalogue opened from the server as the program opens it.
  void открыть() {
    core_RegisterPart();
    RUN_ResetParts();
    ОткрытиеСервера о = открыть_сервер(адрес());
    if (!о.хранилище) throw std::runtime_error(cp1251::to_utf8(о.ошибка));
    задать_хранилище_каталога(std::move(о.хранилище));
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
    получитьсписоккодов();
  }
  // Another desk stores one record more (or takes it out again), as a change of the change path
  // stores it: the record and the section's version in one transaction.
  void другой_стол(bool ещё_одна, std::int32_t код) {
    server_.sql(ещё_одна ? "BEGIN; INSERT INTO records VALUES (" + std::to_string(код) +
                               ", 'А', 'другой стол', 'Проза', '', 0, 0, '', -1);"
                               "UPDATE sections SET version = version + 1 WHERE file = 'Литература1.pbs'; COMMIT;"
                         : "BEGIN; DELETE FROM records WHERE place = -1;"
                           "UPDATE sections SET version = version + 1 WHERE file = 'Литература1.pbs'; COMMIT;",
                "catalogue");
  }

 private:
  Сервер() {
    server_.create_role("librarian");
    server_.create_database("catalogue", "librarian");
    каталог_в_памяти();
    ОткрытиеСервера о = открыть_сервер(адрес());
    if (!о.хранилище || перенести_каталог(*о.хранилище)) throw std::runtime_error("the catalogue was not moved");
    RUN_ResetParts();
  }
  test_support::PgTestServer server_;
};

void BM_ServerOpen(benchmark::State& state) {
  Сервер& с = Сервер::один();
  for (auto _ : state) {
    с.открыть();
    if (база_лит.count() < kЗаписей) state.SkipWithError("records missing");
  }
  RUN_ResetParts();
}
BENCHMARK(BM_ServerOpen)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ServerEntry(benchmark::State& state) {
  Сервер& с = Сервер::один();
  с.открыть();
  int n = 0;
  for (auto _ : state) {
    ЗаписьБазы з = запись(0);
    з.наименование = "Новая книга "_cps + std::to_string(++n);
    if (!применить(ВвестиЗапись{з}).сделано()) state.SkipWithError("not entered");
  }
  // The entries taken out again, so that every benchmark finds the catalogue as it was.
  for (int i = 0; i < n; ++i) применить(ОтменитьИзменение{});
  RUN_ResetParts();
}
BENCHMARK(BM_ServerEntry)->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_ServerOtherDeskShown(benchmark::State& state) {
  Сервер& с = Сервер::один();
  с.открыть();
  bool ещё_одна = false;
  for (auto _ : state) {
    state.PauseTiming();
    ещё_одна = !ещё_одна;
    с.другой_стол(ещё_одна, 9999999);
    state.ResumeTiming();
    if (!освежить_каталог().прочитано) state.SkipWithError("not read");
  }
  if (ещё_одна) с.другой_стол(false, 0);
  RUN_ResetParts();
}
BENCHMARK(BM_ServerOtherDeskShown)->Unit(benchmark::kMillisecond)->Iterations(10);

// The command line's export: the catalogue read, then its table made.
void BM_ExportFromServer(benchmark::State& state) {
  Сервер& с = Сервер::один();
  for (auto _ : state) {
    с.открыть();
    benchmark::DoNotOptimize(текст_экспорта(каталог_для_экспорта(), "каталог.csv"_cp));
  }
  RUN_ResetParts();
}
BENCHMARK(BM_ExportFromServer)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportFromFolder(benchmark::State& state) {
  const fs::path old = fs::current_path();
  const fs::path folder = fs::temp_directory_path() / ("foliarkh-bench-export-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  fs::current_path(folder);
  каталог_в_памяти();
  for (const РазделКаталога& р : разделы_каталога())
    if (р.при_открытии) сохранить_раздел(р);
  for (auto _ : state) {
    core_RegisterPart();
    RUN_ResetParts();
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
    получитьсписоккодов();
    benchmark::DoNotOptimize(текст_экспорта(каталог_для_экспорта(), "каталог.csv"_cp));
  }
  RUN_ResetParts();
  fs::current_path(old);
  std::error_code ec;
  fs::remove_all(folder, ec);
}
BENCHMARK(BM_ExportFromFolder)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

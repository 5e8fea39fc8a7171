// A process that measures the memory of reading a hostile table for an import: it writes a file
// of the asked kind and size (a little at a time), reads it as the import command does and makes
// the plan against an empty catalogue, then prints the file's size and the process's peak
// resident memory, both in bytes.
//
//   foliarkh_import_memory_driver KIND MEGABYTES FOLDER
//
// KIND: commas (one row of commas under a head), commas-head (the head itself of commas),
// refused (rows that all have a value too many), records (distinct rows as the export writes
// them), tiny (distinct rows of one short value each).
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <variant>

#include "core/import_plan.h"
#include "runtime/file_slots.h"
#include "runtime/host_path.h"

namespace {

// Writes rows from `next` until the file holds `size` bytes.
template <class Next>
void write_rows(std::ofstream& out, std::size_t size, const std::string& head, Next next) {
  out << head;
  std::size_t written = head.size();
  for (std::size_t i = 0; written < size; ++i) {
    const std::string row = next(i);
    out << row;
    written += row.size();
  }
}

std::string base62(std::size_t n, int digits) {
  static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::string s(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, n /= 62) s[static_cast<std::size_t>(i)] = kDigits[n % 62];
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: foliarkh_import_memory_driver KIND MEGABYTES FOLDER\n", stderr);
    return 2;
  }
  const std::string kind = argv[1];
  const std::size_t size = std::strtoull(argv[2], nullptr, 10) << 20;
  const std::string path = std::string(argv[3]) + "/table.csv";
  {
    std::ofstream out(path, std::ios::binary);
    if (kind == "commas") {
      write_rows(out, size, "Автор,Наименование\r\n", [](std::size_t) { return std::string(1 << 16, ','); });
    } else if (kind == "commas-head") {
      write_rows(out, size, "", [](std::size_t) { return std::string(1 << 16, ','); });
    } else if (kind == "refused") {
      write_rows(out, size, "Автор,Наименование,Диск\r\n",
                 [](std::size_t i) { return "Автор " + std::to_string(i) + ",Книга,Нет,лишнее\r\n"; });
    } else if (kind == "records") {
      write_rows(out, size, "\xEF\xBB\xBFКод,Автор,Наименование,Категория,Вид,Диск,Переплёт,Обложка\r\n", [](std::size_t i) {
        const std::string n = std::to_string(i);
        return n + ",Автор " + n + ",Наименование книги " + n + ",Категория " + std::to_string(i % 50) +
               ",Книга,Есть,Твёрдый,обложка" + n + ".bmp\r\n";
      });
    } else if (kind == "tiny") {
      write_rows(out, size, "Автор\r\n", [](std::size_t i) { return base62(i, 4) + "\r\n"; });
    } else {
      std::fputs("unknown kind\n", stderr);
      return 2;
    }
  }
  const auto bytes = IO_RdFileBytes(RUN_FromHostPath(path), kНаибольшийФайлИмпорта);
  if (!bytes) return 3;
  const auto plan = разобрать_импорт(*bytes);
  if (!plan) return 4;
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("%zu %ld\n", bytes->size(), usage.ru_maxrss * 1024L);
  return 0;
}

// libFuzzer target: arbitrary bytes read as a table of records for an import, the plan checked
// and its records sent through the export and read back (import_entry.h).
#include <cstddef>
#include <cstdint>

#include "import_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz_import::run_one(data, size);
  return 0;
}

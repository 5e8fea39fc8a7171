// libFuzzer target: arbitrary bytes to the consult of the catalogue section and to the reading
// of one value (consult_entry.h).
#include <cstddef>
#include <cstdint>

#include "consult_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz_consult::run_one(data, size);
  return 0;
}

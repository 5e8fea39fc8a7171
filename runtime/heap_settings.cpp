// Reading, checking and applying the memory settings.
#include "heap_settings.h"

#include <malloc.h>

#include <climits>

#include "runtime/error_codes.h"
#include "settings_store.h"

namespace {
HeapSettings g_applied;

int as_malloc_param(std::uint32_t v) { return v > INT_MAX ? INT_MAX : static_cast<int>(v); }
}  // namespace

HeapSettings RUN_ReadHeapSettings(const SettingsStore& store, std::string_view program_name) {
  HeapSettings s;
  const std::string section = RUN_SettingsSection(store, program_name);
  if (const auto v = store.value_u32(section, "Heap.SysBlockSize")) s.sys_block_size = *v;
  if (const auto v = store.value_u32(section, "Heap.DecommitSize")) s.decommit_size = *v;
  return s;
}

int RUN_CheckHeapSettings(HeapSettings& s) {
  const std::uint32_t d = s.decommit_size;
  if (d < RUN_PageSize || (d & (d - 1)) != 0) return errcode::kHeapSettings;
  std::uint64_t block = (static_cast<std::uint64_t>(s.sys_block_size) + d - 1) / d * d;
  if (block == 0) block = d;
  if (block > 0xFFFFFFFFull) block = 0xFFFFFFFFull / d * d;
  s.sys_block_size = static_cast<std::uint32_t>(block);
  return 0;
}

void RUN_ApplyHeapSettings(const HeapSettings& s) {
  mallopt(M_TOP_PAD, as_malloc_param(s.sys_block_size));
  mallopt(M_TRIM_THRESHOLD, as_malloc_param(s.decommit_size));
  g_applied = s;
}

const HeapSettings& RUN_GetHeapSettings() { return g_applied; }

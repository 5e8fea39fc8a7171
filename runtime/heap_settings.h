// The memory settings of the run: "Heap.SysBlockSize", the size of the blocks the heap takes from
// the host (default 4194304), and "Heap.DecommitSize", the amount of free memory at the top of the
// heap from which it is handed back to the host (default 65536). They are read from the program's
// section of the settings store, checked, and given to the C library's allocator: the block size
// becomes its top pad (every extension of the heap asks the host for that much more) and the
// decommit size its trim threshold (free memory at the top is returned once it exceeds it).
#pragma once

#include <cstdint>
#include <string_view>

class SettingsStore;

struct HeapSettings {
  std::uint32_t sys_block_size = 0x400000;
  std::uint32_t decommit_size = 0x10000;
};

inline constexpr std::uint32_t RUN_PageSize = 4096;

// The settings of a program: its section of the store (".Default" when it has none); a value
// counts only when present and a valid 32-bit number, otherwise its default stands.
HeapSettings RUN_ReadHeapSettings(const SettingsStore& store, std::string_view program_name);

// Checks the settings: 0, or 1008 when the decommit size is not a power of two or is smaller than
// the page size. On success the block size is rounded up to a multiple of the decommit size (at
// least one; at most the largest multiple that fits 32 bits).
int RUN_CheckHeapSettings(HeapSettings& settings);

// Hands checked settings to the allocator and keeps them as the settings of the run.
void RUN_ApplyHeapSettings(const HeapSettings& settings);
// The settings of the run (the defaults before any were applied).
const HeapSettings& RUN_GetHeapSettings();

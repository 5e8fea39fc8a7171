// The memory of the fact store: fact nodes taken from blocks of 1000 nodes with a free list
// that is reused first, and the heap blocks of stored records.
// Invariant: a node is either on the free list or in exactly one chain (or a findall collector);
// the node blocks are released only all together (fact_pool_release at the end of the run).
#pragma once

#include <cstddef>
#include <cstdint>

// One fact of a chain: the next node of the same kind, the stored record and its block size.
// `next` comes first, so that a link (FactNode**) that is not a chain head is the address of
// the node that holds it.
struct FactNode {
  FactNode* next = nullptr;
  std::byte* record = nullptr;
  std::uint32_t size = 0;
  std::uint32_t flags = 0;  // kNodeStatic...
};

// The record is a preset in the kind's own memory, not a heap block: it is never freed.
inline constexpr std::uint32_t kNodeStaticRecord = 1;
// The node belongs to its kind, not to the pool: it never goes on the free list.
inline constexpr std::uint32_t kNodeStaticNode = 2;

inline constexpr std::size_t kFactNodesPerBlock = 1000;

// A node from the free list, or from a new block when the list is empty; raises
// errcode::kFactMemory when no block can be had.
FactNode* fact_pool_take();
// A node from the pool holding the record block `block` of `size` bytes; when no node can be had
// the block is freed before the error goes on.
FactNode* fact_pool_take_for(std::byte* block, std::size_t size);
// Puts a node back on the free list.
void fact_pool_give(FactNode* node);
// Releases every node block and empties the free list.
void fact_pool_release();

// A heap block for a record of `size` bytes; raises errcode::kFactMemory on exhaustion (or when
// the record would not fit the 32-bit offsets of the block layout).
std::byte* fact_block_alloc(std::size_t size);
void fact_block_free(std::byte* block, std::uint32_t size);

struct FactPoolStats {
  std::size_t blocks = 0;      // node blocks taken from the heap
  std::size_t free_nodes = 0;  // nodes on the free list
};
FactPoolStats fact_pool_stats();

// The node pool and the record blocks of the fact store.
// The pool's state is plain pointers and counts, constant-initialised, so it is usable from any
// static constructor or destructor of the program.
#include "runtime/fact_pool.h"

#include <cstdlib>
#include <new>

#include "runtime/run_error.h"
#include "runtime/scope_exit.h"

namespace {

struct NodeBlock {
  NodeBlock* next;
  FactNode nodes[kFactNodesPerBlock];
};

NodeBlock* g_blocks = nullptr;
FactNode* g_free = nullptr;
std::size_t g_block_count = 0;
std::size_t g_free_count = 0;

}  // namespace

FactNode* fact_pool_take() {
  if (g_free == nullptr) {
    auto* block = static_cast<NodeBlock*>(std::malloc(sizeof(NodeBlock)));
    if (block == nullptr) RUN_Error(errcode::kFactMemory);
    block->next = g_blocks;
    g_blocks = block;
    ++g_block_count;
    // Threaded so that the nodes are handed out in address order.
    for (std::size_t i = kFactNodesPerBlock; i-- > 0;) {
      FactNode* n = new (&block->nodes[i]) FactNode{};
      n->next = g_free;
      g_free = n;
    }
    g_free_count += kFactNodesPerBlock;
  }
  FactNode* node = g_free;
  g_free = node->next;
  --g_free_count;
  *node = FactNode{};
  return node;
}

FactNode* fact_pool_take_for(std::byte* block, std::size_t size) {
  auto freed = on_scope_exit([&] { fact_block_free(block, static_cast<std::uint32_t>(size)); });
  FactNode* node = fact_pool_take();
  freed.dismiss();
  node->record = block;
  node->size = static_cast<std::uint32_t>(size);
  return node;
}

void fact_pool_give(FactNode* node) {
  node->record = nullptr;
  node->size = 0;
  node->flags = 0;
  node->next = g_free;
  g_free = node;
  ++g_free_count;
}

void fact_pool_release() {
  while (g_blocks != nullptr) {
    NodeBlock* next = g_blocks->next;
    std::free(g_blocks);
    g_blocks = next;
  }
  g_free = nullptr;
  g_block_count = 0;
  g_free_count = 0;
}

std::byte* fact_block_alloc(std::size_t size) {
  if (size > UINT32_MAX) RUN_Error(errcode::kFactMemory);
  auto* block = static_cast<std::byte*>(std::malloc(size));
  if (block == nullptr) RUN_Error(errcode::kFactMemory);
  return block;
}

void fact_block_free(std::byte* block, std::uint32_t) { std::free(block); }

FactPoolStats fact_pool_stats() { return FactPoolStats{g_block_count, g_free_count}; }

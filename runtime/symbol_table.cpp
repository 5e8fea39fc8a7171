// The symbol table's tree: walk from the root comparing unsigned bytes, hang a new node at the
// first null child. The walk is a loop, so a degenerate (sorted-insert) tree costs time, not stack.
#include "symbol_table.h"

#include <cstring>
#include <new>

namespace {

// One heap block: this header, then the string's bytes and its NUL.
struct SymbolNode {
  SymbolNode* left;
  SymbolNode* right;
  std::size_t length;

  const char* text() const { return reinterpret_cast<const char*>(this + 1); }
  std::string_view view() const { return {text(), length}; }
};

SymbolNode* g_root = nullptr;
std::size_t g_count = 0;

SymbolNode* new_node(std::string_view text) {
  void* block = ::operator new(sizeof(SymbolNode) + text.size() + 1);
  auto* node = new (block) SymbolNode{nullptr, nullptr, text.size()};
  char* bytes = reinterpret_cast<char*>(node + 1);
  if (!text.empty()) std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  ++g_count;
  return node;
}

// Unsigned byte order, a prefix first (std::string_view's char_traits<char> compares as unsigned
// char as well, but the order is part of this table's contract, so it is spelt out).
int compare_bytes(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  if (n != 0)
    if (const int c = std::memcmp(a.data(), b.data(), n); c != 0) return c;
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

std::string_view HASH_BinInsert(std::string_view text) {
  SymbolNode** link = &g_root;
  while (*link != nullptr) {
    const int c = compare_bytes(text, (*link)->view());
    if (c == 0) return (*link)->view();
    link = c < 0 ? &(*link)->left : &(*link)->right;
  }
  *link = new_node(text);
  return (*link)->view();
}

std::size_t HASH_SymbolCount() { return g_count; }

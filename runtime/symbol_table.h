// The global symbol table: one set of interned strings in an unbalanced binary search tree
// ordered by unsigned byte comparison (a prefix sorts first). Each node is one heap block holding
// its two children and the string with its NUL; nodes are never removed, so an interned string
// stays valid, at the same address, until the process ends.
#pragma once

#include <cstddef>
#include <string_view>

// The interned copy of `text`, inserted when absent. The same text always yields the same
// stored string (same data() pointer); the stored string is NUL-terminated.
std::string_view HASH_BinInsert(std::string_view text);

// The number of interned strings.
std::size_t HASH_SymbolCount();

// Collecting all solutions of a goal into a list. The collector is a chain of pool nodes, each
// holding a deep copy of one solution in a heap block of its own, so that the goal may change
// the store between solutions without touching what was collected.
#pragma once

#include "runtime/fact_pool.h"
#include "runtime/value_term.h"
#include "runtime/value_type.h"

class FindallCollector {
 public:
  FindallCollector();
  ~FindallCollector();  // frees what RNT_FindallSlut has not taken (the goal raised an error)
  FindallCollector(const FindallCollector&) = delete;
  FindallCollector& operator=(const FindallCollector&) = delete;

  bool empty() const { return first_ == nullptr; }

 private:
  friend void findall_append(const TypeDesc& type, const Term& value, FindallCollector& collector);
  friend Term RNT_FindallSlut(const TypeDesc& list_type, FindallCollector& collector);
  friend void findall_release_all();
  void release();
  FactNode* first_ = nullptr;
  FactNode* last_ = nullptr;
  FindallCollector* prev_ = nullptr;  // every live collector, for the end of the store
  FindallCollector* after_ = nullptr;
};

// Appends a deep copy of one solution: a string, a binary block, a list or a compound value.
// Any other (plain scalar) type is run-time error 1051: those solutions are collected as cells
// with RNT_FindallCell.
void RNT_FindallAlloc(const TypeDesc& type, const Term& value, FindallCollector& collector);
// Appends one solution of a plain scalar type as a cell; any other type is run-time error 1051.
void RNT_FindallCell(const TypeDesc& type, const Term& value, FindallCollector& collector);
// Turns the collector into a list of `list_type` (solutions in the order they were found) owned
// by the caller, and empties the collector; no solutions give the empty list.
Term RNT_FindallSlut(const TypeDesc& list_type, FindallCollector& collector);

// Empties every live collector before the node pool goes away (part of RNT_FC_Terminate).
void findall_release_all();

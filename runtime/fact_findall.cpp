// The findall collector: solutions deep-copied into heap blocks on a chain of pool nodes.
#include "fact_findall.h"

#include "runtime/fact_record.h"
#include "runtime/run_error.h"

namespace {

FindallCollector* g_collectors = nullptr;

bool copied_deep(const TypeDesc& type) {
  return type.code == TypeCode::String || type.code == TypeCode::Binary || type.code == TypeCode::List ||
         type.code == TypeCode::Compound;
}

}  // namespace

void findall_append(const TypeDesc& type, const Term& value, FindallCollector& collector) {
  const std::size_t size = fact_record::measure_value(type, value);
  std::byte* block = fact_block_alloc(size);
  fact_record::write_value(block, size, type, value);
  FactNode* node = fact_pool_take_for(block, size);
  if (collector.last_ != nullptr)
    collector.last_->next = node;
  else
    collector.first_ = node;
  collector.last_ = node;
}

void RNT_FindallAlloc(const TypeDesc& type, const Term& value, FindallCollector& collector) {
  if (!copied_deep(type)) RUN_Error(errcode::kFindallType);
  findall_append(type, value, collector);
}

void RNT_FindallCell(const TypeDesc& type, const Term& value, FindallCollector& collector) {
  if (copied_deep(type)) RUN_Error(errcode::kFindallType);
  findall_append(type, value, collector);
}

Term RNT_FindallSlut(const TypeDesc& list_type, FindallCollector& collector) {
  if (list_type.code != TypeCode::List) RUN_ErrorExit();
  Term result{Term::List{}};
  Term::List& items = result.set_list();
  while (FactNode* node = collector.first_) {
    items.emplace_back();
    fact_record::read_value(node->record, *list_type.element, items.back());
    collector.first_ = node->next;
    fact_block_free(node->record, node->size);
    fact_pool_give(node);
  }
  collector.last_ = nullptr;
  return result;
}

FindallCollector::FindallCollector() {
  after_ = g_collectors;
  if (g_collectors != nullptr) g_collectors->prev_ = this;
  g_collectors = this;
}

FindallCollector::~FindallCollector() {
  release();
  if (prev_ != nullptr)
    prev_->after_ = after_;
  else
    g_collectors = after_;
  if (after_ != nullptr) after_->prev_ = prev_;
}

void FindallCollector::release() {
  while (FactNode* node = first_) {
    first_ = node->next;
    fact_block_free(node->record, node->size);
    fact_pool_give(node);
  }
  last_ = nullptr;
}

void findall_release_all() {
  for (FindallCollector* c = g_collectors; c != nullptr; c = c->after_) c->release();
}

// Sections, chains, the registry of pending cursors and the removal repair, and the operations
// of the store on fact terms.
#include "runtime/fact_store.h"
#include "runtime/fact_changes.h"

#include <unordered_map>

#include "fact_findall.h"
#include "runtime/run_error.h"

namespace {

// The changes of each section (fact_changes.h): counted where every add, replace and removal
// passes, so the inline paths of the header count too.
// Never destroyed: sections destroyed at exit still count their removals.
std::unordered_map<const FactSection*, std::uint64_t>& section_changes() {
  static auto* changes = new std::unordered_map<const FactSection*, std::uint64_t>;
  return *changes;
}

void count_change(const FactSection* section) { ++section_changes()[section]; }

}  // namespace

std::uint64_t RNT_SectionChanges(const FactSection& section) {
  const auto it = section_changes().find(&section);
  return it == section_changes().end() ? 0 : it->second;
}

namespace {

// Every pending enumeration and retract walk, newest first.
FactCursor* g_cursors = nullptr;
// Every live section.
FactSection* g_sections = nullptr;

void free_record(FactNode* node) {
  if ((node->flags & kNodeStaticRecord) == 0 && node->record != nullptr) fact_block_free(node->record, node->size);
  node->record = nullptr;
}

std::size_t checked_kind(const FactSection& section, const Term& record) {
  if (!record.is_compound() || record.functor() >= section.kind_count()) RUN_ErrorExit();
  return record.functor();
}

void assert_term(FactSection& section, const Term& record, FactEnd end, bool in_place) {
  const std::size_t kind = checked_kind(section, record);
  const auto& types = section.kind_fields(kind);
  const std::size_t size = fact_record::measure(types, record.args());
  section.assert_block(kind, end, size, in_place && section.kind_is_flat(kind),
                       [&](std::byte* block) { fact_record::write(block, size, kind, types, record.args()); });
}

}  // namespace

// Cursors.

FactCursor::FactCursor() {
  after_ = g_cursors;
  if (g_cursors != nullptr) g_cursors->prev_ = this;
  g_cursors = this;
}

FactCursor::~FactCursor() {
  if (prev_ != nullptr)
    prev_->after_ = after_;
  else
    g_cursors = after_;
  if (after_ != nullptr) after_->prev_ = prev_;
}

// Sections.

FactSection::FactSection() {
  record_type_.code = TypeCode::Compound;
  after_ = g_sections;
  if (g_sections != nullptr) g_sections->prev_ = this;
  g_sections = this;
}

FactSection::~FactSection() {
  RNT_RetractallVar(*this);
  if (prev_ != nullptr)
    prev_->after_ = after_;
  else
    g_sections = after_;
  if (after_ != nullptr) after_->prev_ = prev_;
}

std::size_t FactSection::declare(std::string name, std::vector<const TypeDesc*> fields, std::uint8_t flags) {
  if (kinds_.size() >= 255 || fields.size() > 255) RUN_ErrorExit();
  for (const TypeDesc* f : fields)
    if (f == nullptr) RUN_ErrorExit();
  if (flags & kFactSingle) flags |= kFactDeterm;
  bool flat = true;
  for (const TypeDesc* f : fields) flat = flat && f->is_flat();
  record_type_.functors.push_back(FunctorDesc{std::move(name), std::move(fields)});
  KindState& k = kinds_.emplace_back();
  k.flags = flags;
  k.flat = flat;
  return kinds_.size() - 1;
}

std::size_t FactSection::add_kind(std::string name, std::vector<const TypeDesc*> fields, std::uint8_t flags,
                                  const Term::List& preset) {
  if ((flags & kFactSingle) && preset.size() != fields.size()) RUN_ErrorExit();  // a single kind needs its start value
  const std::size_t index = declare(std::move(name), std::move(fields), flags);
  if (flags & kFactSingle) {
    const auto& types = kind_fields(index);
    const std::size_t size = fact_record::measure(types, preset);
    auto block = std::make_unique<std::byte[]>(size);
    fact_record::write(block.get(), size, index, types, preset);
    install_preset(index, std::move(block), size);
  }
  return index;
}

std::size_t FactSection::add_single_kind(std::string name, std::vector<const TypeDesc*> fields,
                                         std::unique_ptr<std::byte[]> preset, std::size_t size) {
  if (size > UINT32_MAX || size < fact_record::kHeaderSize + fact_record::kSlotSize * fields.size()) RUN_ErrorExit();
  const std::size_t index = declare(std::move(name), std::move(fields), kFactSingle);
  preset[0] = static_cast<std::byte>(index + 1);
  install_preset(index, std::move(preset), size);
  return index;
}

void FactSection::install_preset(std::size_t kind, std::unique_ptr<std::byte[]> block, std::size_t size) {
  KindState& k = kinds_[kind];
  k.preset_block = std::move(block);
  k.preset_size = static_cast<std::uint32_t>(size);
  reset_to_preset(kind);
}

void FactSection::reset_to_preset(std::size_t kind) {
  count_change(this);
  KindState& k = kinds_[kind];
  if (!k.preset_block) {
    k.chain = FactChain{};
    return;
  }
  k.preset_node.next = nullptr;
  k.preset_node.record = k.preset_block.get();
  k.preset_node.size = k.preset_size;
  k.preset_node.flags = kNodeStaticRecord | kNodeStaticNode;
  k.chain.head = k.chain.tail = &k.preset_node;
}

std::optional<std::size_t> FactSection::find_kind(std::string_view name) const {
  const int i = record_type_.functor_index(name);
  if (i < 0) return std::nullopt;
  return static_cast<std::size_t>(i);
}

std::size_t FactSection::count(std::size_t kind) const {
  std::size_t n = 0;
  for (const FactNode* node = kinds_[kind].chain.head; node != nullptr; node = node->next) ++n;
  return n;
}

FactNode* FactSection::prepare_assert(std::size_t kind) {
  count_change(this);
  KindState& k = kinds_[kind];
  if (k.flags & kFactSingle) return k.chain.head;
  if ((k.flags & kFactDeterm) && k.chain.tail != nullptr) RUN_Error(errcode::kSecondFact);
  return nullptr;
}

void FactSection::replace_record(FactNode* node, std::byte* block, std::size_t size) {
  free_record(node);
  node->record = block;
  node->size = static_cast<std::uint32_t>(size);
  node->flags &= ~kNodeStaticRecord;
}

void FactSection::link_new(std::size_t kind, FactEnd end, std::byte* block, std::size_t size) {
  FactNode* node = fact_pool_take_for(block, size);
  FactChain& c = kinds_[kind].chain;
  if (end == FactEnd::Back) {
    node->next = nullptr;
    if (c.tail != nullptr)
      c.tail->next = node;
    else
      c.head = node;
    c.tail = node;
  } else {
    node->next = c.head;
    c.head = node;
    if (c.tail == nullptr) c.tail = node;
  }
}

void FactSection::link_at(std::size_t kind, std::size_t position, std::byte* block, std::size_t size) {
  count_change(this);
  FactChain& c = kinds_[kind].chain;
  FactNode** link = &c.head;
  for (std::size_t i = 0; i < position && *link != nullptr; ++i) link = &(*link)->next;
  FactNode* node = fact_pool_take_for(block, size);
  node->next = *link;
  *link = node;
  if (node->next == nullptr) c.tail = node;
}

FactNode* FactSection::unlink(std::size_t kind, FactNode** link) {
  count_change(this);
  FactChain& c = kinds_[kind].chain;
  FactNode* node = *link;
  *link = node->next;
  if (c.tail == node) c.tail = link == &c.head ? nullptr : reinterpret_cast<FactNode*>(link);
  return node;
}

// Walks and ranges.

void FactRetractWalk::remove() {
  FactNode** link = cursor_.link;
  FactNode* node = section_.unlink(kind_, link);
  RNT_FinishRetract(node, link);
}

FactSection::TermRange::TermRange(FactSection& section, std::size_t kind)
    : section_(section), kind_(kind), enumeration_(section, kind) {}

bool FactSection::TermRange::advance() {
  const std::byte* record = enumeration_.step();
  if (record == nullptr) return false;
  TermCompound& c = current_.set_compound();
  c.functor = static_cast<std::uint32_t>(kind_);
  fact_record::read(record, section_.kind_fields(kind_), c.args);
  return true;
}

// The operations.

void RNT_FinishRetract(FactNode* node, FactNode** link) {
  for (FactCursor* c = g_cursors; c != nullptr; c = c->after_) {
    if (c->next == node) c->next = node->next;
    if (c->link == &node->next) c->link = link;
  }
  free_record(node);
  if ((node->flags & kNodeStaticNode) == 0)
    fact_pool_give(node);
  else
    node->next = nullptr;
}

void RNT_Assertz(FactSection& section, const Term& record) { assert_term(section, record, FactEnd::Back, false); }

void RNT_Asserta(FactSection& section, const Term& record) { assert_term(section, record, FactEnd::Front, false); }

void RNT_AssertzSimple(FactSection& section, const Term& record) {
  assert_term(section, record, FactEnd::Back, true);
}

bool RNT_RetractDeterm(FactSection& section, std::size_t kind) {
  FactChain& c = section.chain(kind);
  if (c.head == nullptr) return false;
  FactNode* node = section.unlink(kind, &c.head);
  RNT_FinishRetract(node, &c.head);
  return true;
}

void RNT_RetractallCmp(FactSection& section, std::size_t kind) {
  FactChain& c = section.chain(kind);
  while (c.head != nullptr) {
    FactNode* node = section.unlink(kind, &c.head);
    RNT_FinishRetract(node, &c.head);
  }
}

void RNT_RetractallVar(FactSection& section) {
  for (std::size_t k = 0; k < section.kind_count(); ++k) RNT_RetractallCmp(section, k);
}

bool RNT_Retract(FactSection& section, const Term& pattern) {
  const std::size_t kind = checked_kind(section, pattern);
  const auto& types = section.kind_fields(kind);
  FactRetractWalk walk(section, kind);
  for (const std::byte* record; (record = walk.peek()) != nullptr; walk.skip()) {
    if (fact_record::match(record, types, pattern.args())) {
      walk.remove();
      return true;
    }
  }
  return false;
}

std::size_t RNT_RetractAll(FactSection& section, const Term& pattern) {
  const std::size_t kind = checked_kind(section, pattern);
  const auto& types = section.kind_fields(kind);
  std::size_t removed = 0;
  FactRetractWalk walk(section, kind);
  while (const std::byte* record = walk.peek()) {
    if (fact_record::match(record, types, pattern.args())) {
      walk.remove();
      ++removed;
    } else {
      walk.skip();
    }
  }
  return removed;
}

void RNT_FC_Terminate() {
  for (FactSection* s = g_sections; s != nullptr; s = s->after_) {
    for (std::size_t k = 0; k < s->kinds_.size(); ++k) {
      for (FactNode* node = s->kinds_[k].chain.head; node != nullptr; node = node->next) free_record(node);
      s->reset_to_preset(k);
    }
  }
  for (FactCursor* c = g_cursors; c != nullptr; c = c->after_) {
    c->next = nullptr;
    c->link = nullptr;
  }
  findall_release_all();
  fact_pool_release();
}

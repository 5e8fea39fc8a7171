// Block storage of list lines and the item model over them.
#include "internal/list_model.h"

#include <algorithm>

#include "internal/text.h"

namespace gui_detail {

ListModel::ListModel(QObject* parent) : QAbstractListModel(parent) {}

ListModel::Place ListModel::locate(std::size_t index) const {
  std::size_t b = 0;
  while (b < blocks_.size() && index >= blocks_[b].size()) {
    index -= blocks_[b].size();
    ++b;
  }
  return {b, index};
}

std::string_view ListModel::line(int index) const {
  const Place p = locate(static_cast<std::size_t>(index));
  return blocks_[p.block].line(p.offset);
}

void ListModel::Block::push_back(std::string_view line) {
  text += line;
  ends.push_back(static_cast<std::uint32_t>(text.size()));
}

void ListModel::insert_at(Place p, std::string_view line) {
  if (blocks_.empty()) blocks_.emplace_back();
  if (p.block == blocks_.size()) {  // after the last line
    p.block = blocks_.size() - 1;
    p.offset = blocks_[p.block].size();
  }
  Block& blk = blocks_[p.block];
  const std::uint32_t at = blk.start(p.offset);
  const auto length = static_cast<std::uint32_t>(line.size());
  blk.text.insert(at, line);
  blk.ends.insert(blk.ends.begin() + static_cast<std::ptrdiff_t>(p.offset), at + length);
  for (std::size_t i = p.offset + 1; i < blk.ends.size(); ++i) blk.ends[i] += length;
  if (blk.size() > kBlockMax) {  // split in halves
    Block upper;
    const std::uint32_t cut = blk.ends[kBlockMax / 2 - 1];
    upper.text.assign(blk.text, cut);
    for (std::size_t i = kBlockMax / 2; i < blk.size(); ++i) upper.ends.push_back(blk.ends[i] - cut);
    blk.text.resize(cut);
    blk.text.shrink_to_fit();
    blk.ends.resize(kBlockMax / 2);
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block) + 1, std::move(upper));
  }
  ++size_;
}

int ListModel::insert(int index, std::string line) {
  beginInsertRows(QModelIndex(), index, index);
  insert_at(locate(static_cast<std::size_t>(index)), line);
  endInsertRows();
  return index;
}

int ListModel::insert_sorted(std::string line) {
  // The first block whose last line sorts above the new one (blocks are never empty);
  // inside it, the first such line.
  const auto above = [](std::string_view x, std::string_view y) { return list_compare(x, y) < 0; };
  const std::size_t b = static_cast<std::size_t>(
      std::upper_bound(blocks_.begin(), blocks_.end(), line,
                       [&](const std::string& l, const Block& blk) { return above(l, blk.line(blk.size() - 1)); }) -
      blocks_.begin());
  std::size_t before = 0;
  for (std::size_t i = 0; i < b; ++i) before += blocks_[i].size();
  std::size_t offset = 0;
  if (b < blocks_.size()) {
    const Block& blk = blocks_[b];
    std::size_t lo = 0, hi = blk.size();  // the first line that sorts above the new one
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      if (above(line, blk.line(mid)))
        hi = mid;
      else
        lo = mid + 1;
    }
    offset = lo;
  }
  const int index = static_cast<int>(before + offset);
  beginInsertRows(QModelIndex(), index, index);
  insert_at({b, offset}, line);
  endInsertRows();
  return index;
}

void ListModel::remove(int index) {
  beginRemoveRows(QModelIndex(), index, index);
  const Place p = locate(static_cast<std::size_t>(index));
  Block& blk = blocks_[p.block];
  const std::uint32_t from = blk.start(p.offset);
  const std::uint32_t length = blk.ends[p.offset] - from;
  blk.text.erase(from, length);
  blk.ends.erase(blk.ends.begin() + static_cast<std::ptrdiff_t>(p.offset));
  for (std::size_t i = p.offset; i < blk.ends.size(); ++i) blk.ends[i] -= length;
  if (blk.ends.empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block));
  --size_;
  endRemoveRows();
}

void ListModel::clear() {
  beginResetModel();
  blocks_.clear();
  size_ = 0;
  endResetModel();
}

void ListModel::assign(const std::vector<std::string_view>& lines) {
  beginResetModel();
  blocks_.clear();
  size_ = lines.size();
  // Half-full blocks, as a split leaves them: later inserts move few lines before a split.
  constexpr std::size_t kFill = kBlockMax / 2;
  blocks_.reserve((lines.size() + kFill - 1) / kFill);
  for (std::size_t i = 0; i < lines.size(); i += kFill) {
    const std::size_t last = std::min(lines.size(), i + kFill);
    Block blk;
    std::size_t bytes = 0;
    for (std::size_t k = i; k < last; ++k) bytes += lines[k].size();
    blk.text.reserve(bytes);
    blk.ends.reserve(kFill);
    for (std::size_t k = i; k < last; ++k) blk.push_back(lines[k]);
    blocks_.push_back(std::move(blk));
  }
  endResetModel();
}

std::vector<std::string> ListModel::all() const {
  std::vector<std::string> out;
  out.reserve(size_);
  for (const Block& blk : blocks_)
    for (std::size_t i = 0; i < blk.size(); ++i) out.emplace_back(blk.line(i));
  return out;
}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= count()) return {};
  switch (role) {
    case Qt::DisplayRole: case Qt::EditRole: case Qt::AccessibleTextRole:
      return to_qt(line(index.row()));
    default:
      return {};
  }
}

}  // namespace gui_detail

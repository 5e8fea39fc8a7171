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

const std::string& ListModel::at(int index) const {
  const Place p = locate(static_cast<std::size_t>(index));
  return blocks_[p.block][p.offset];
}

void ListModel::insert_at(Place p, std::string line) {
  if (blocks_.empty()) blocks_.emplace_back();
  if (p.block == blocks_.size()) {  // after the last line
    p.block = blocks_.size() - 1;
    p.offset = blocks_[p.block].size();
  }
  auto& blk = blocks_[p.block];
  blk.insert(blk.begin() + static_cast<std::ptrdiff_t>(p.offset), std::move(line));
  if (blk.size() > kBlockMax) {  // split in halves
    std::vector<std::string> upper(std::make_move_iterator(blk.begin() + kBlockMax / 2),
                                   std::make_move_iterator(blk.end()));
    blk.resize(kBlockMax / 2);
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block) + 1, std::move(upper));
  }
  ++size_;
}

int ListModel::insert(int index, std::string line) {
  beginInsertRows(QModelIndex(), index, index);
  insert_at(locate(static_cast<std::size_t>(index)), std::move(line));
  endInsertRows();
  return index;
}

int ListModel::insert_sorted(std::string line) {
  // The first block whose last line sorts above the new one (blocks are never empty);
  // inside it, the first such line.
  const auto above = [](const std::string& x, const std::string& y) { return list_compare(x, y) < 0; };
  const std::size_t b = static_cast<std::size_t>(
      std::upper_bound(blocks_.begin(), blocks_.end(), line,
                       [&](const std::string& l, const std::vector<std::string>& blk) { return above(l, blk.back()); }) -
      blocks_.begin());
  std::size_t before = 0;
  for (std::size_t i = 0; i < b; ++i) before += blocks_[i].size();
  std::size_t offset = 0;
  if (b < blocks_.size()) {
    const auto& blk = blocks_[b];
    offset = static_cast<std::size_t>(
        std::upper_bound(blk.begin(), blk.end(), line, above) - blk.begin());
  }
  const int index = static_cast<int>(before + offset);
  beginInsertRows(QModelIndex(), index, index);
  insert_at({b, offset}, std::move(line));
  endInsertRows();
  return index;
}

void ListModel::remove(int index) {
  beginRemoveRows(QModelIndex(), index, index);
  const Place p = locate(static_cast<std::size_t>(index));
  auto& blk = blocks_[p.block];
  blk.erase(blk.begin() + static_cast<std::ptrdiff_t>(p.offset));
  if (blk.empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(p.block));
  --size_;
  endRemoveRows();
}

void ListModel::clear() {
  beginResetModel();
  blocks_.clear();
  size_ = 0;
  endResetModel();
}

void ListModel::assign(std::vector<std::string> lines) {
  beginResetModel();
  blocks_.clear();
  size_ = lines.size();
  // Half-full blocks, as a split leaves them: later inserts move few lines before a split.
  constexpr std::size_t kFill = kBlockMax / 2;
  blocks_.reserve((lines.size() + kFill - 1) / kFill);
  for (std::size_t i = 0; i < lines.size(); i += kFill) {
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(i);
    const auto last = lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), i + kFill));
    blocks_.emplace_back(std::make_move_iterator(first), std::make_move_iterator(last));
  }
  endResetModel();
}

std::vector<std::string> ListModel::all() const {
  std::vector<std::string> out;
  out.reserve(size_);
  for (const auto& blk : blocks_) out.insert(out.end(), blk.begin(), blk.end());
  return out;
}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= count()) return {};
  switch (role) {
    case Qt::DisplayRole: case Qt::EditRole: case Qt::AccessibleTextRole:
      return to_qt(at(index.row()));
    default:
      return {};
  }
}

}  // namespace gui_detail

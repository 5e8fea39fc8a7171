// The items of list boxes and combined lists: cp1251 lines kept in blocks of bounded size, so
// that inserting anywhere in a list of a hundred thousand lines moves at most one block, each
// block's lines one after another in one text (a line costs its bytes and the 4 of its end, not a
// string of its own with its allocation); and the
// layer's sort order, by which a sorted list places a line added at the end.
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/list_order.h"

namespace gui_detail {

// The sort order of sorted lists, the runtime's list order (PSTR_ListCompare): case-insensitive;
// blanks and punctuation first, then digits, Latin letters, Cyrillic letters (ё right after е);
// lines equal that way are ordered by their bytes. Negative, zero or positive like strcmp.
inline int list_compare(std::string_view a, std::string_view b) { return PSTR_ListCompare(a, b); }

// The lines of one list as an item model (display role: the line as the toolkit's text).
// Indexes count from 0; functions taking an index expect a valid one unless they say otherwise.
class ListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit ListModel(QObject* parent = nullptr);

  int count() const { return static_cast<int>(size_); }
  std::string at(int index) const { return std::string(line(index)); }
  // The line at `index`, valid until the list next changes.
  std::string_view line(int index) const;
  // Inserts before `index` (0..count); returns `index`.
  int insert(int index, std::string line);
  // Inserts at the place that keeps a sorted list sorted: after every line that does not sort
  // above it. Returns the position.
  int insert_sorted(std::string line);
  void remove(int index);
  void clear();
  // Every line replaced by `lines`, in the order given, as one reset of the model.
  void assign(const std::vector<std::string_view>& lines);
  std::vector<std::string> all() const;

  // Tab stops in pixels for lines with tabs (empty: every 8 average characters).
  void set_tab_stops(QList<qreal> stops) { tab_stops_ = std::move(stops); }
  const QList<qreal>& tab_stops() const { return tab_stops_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  static constexpr std::size_t kBlockMax = 128;  // lines moved by one insert, at most
  struct Place {
    std::size_t block;
    std::size_t offset;
  };
  // Lines one after another: line i is text[start(i), ends[i]).
  struct Block {
    std::string text;
    std::vector<std::uint32_t> ends;
    std::size_t size() const { return ends.size(); }
    std::uint32_t start(std::size_t i) const { return i == 0 ? 0 : ends[i - 1]; }
    std::string_view line(std::size_t i) const { return std::string_view(text).substr(start(i), ends[i] - start(i)); }
    void push_back(std::string_view line);
  };
  Place locate(std::size_t index) const;
  void insert_at(Place p, std::string_view line);

  std::vector<Block> blocks_;
  std::size_t size_ = 0;
  QList<qreal> tab_stops_;
};

}  // namespace gui_detail

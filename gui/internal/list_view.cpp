// The multi-column list's widget and its row-less model.
#include "internal/list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>

#include "internal/dispatch.h"
#include "internal/text.h"
#include "internal/window_record.h"

namespace gui_detail {
namespace {

bool is_return(const QKeyEvent* ev) { return ev->key() == Qt::Key_Return || ev->key() == Qt::Key_Enter; }

Qt::Alignment alignment_of(int align) {
  switch (align) {
    case ca_Center: return Qt::AlignHCenter;
    case ca_Right: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

int align_code(Qt::Alignment a) {
  if (a & Qt::AlignHCenter) return ca_Center;
  if (a & Qt::AlignRight) return ca_Right;
  return ca_Left;
}

}  // namespace

void CellModel::set_columns(std::vector<Column> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  broken_ = false;
  endResetModel();
}

void CellModel::set_source(CellSource source) {
  source_ = std::move(source);
  broken_ = false;
  if (rows_ > 0 && !columns_.empty()) emit dataChanged(index(0, 0), index(rows_ - 1, column_count() - 1));
}

void CellModel::set_row_count(int rows) {
  beginResetModel();
  rows_ = rows;
  broken_ = false;
  endResetModel();
}

void CellModel::rows_changed(int first, int last) {
  broken_ = false;
  first = std::max(first, 0);
  last = std::min(last, rows_ - 1);
  if (first > last || columns_.empty()) return;
  emit dataChanged(index(first, 0), index(last, column_count() - 1), {Qt::DisplayRole});
}

void CellModel::insert_rows(int row, int count) {
  broken_ = false;
  if (count <= 0) return;
  beginInsertRows(QModelIndex(), row, row + count - 1);
  rows_ += count;
  endInsertRows();
}

void CellModel::remove_rows(int row, int count) {
  broken_ = false;
  if (count <= 0) return;
  beginRemoveRows(QModelIndex(), row, row + count - 1);
  rows_ -= count;
  endRemoveRows();
}

int CellModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int CellModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : column_count(); }

QString CellModel::cell(int row, int column) const {
  if (!source_ || broken_) return {};
  // Once the list's destruction has begun, the program's rows may be gone already.
  const WindowRecord* r = find_record(QObject::parent());
  if (!r || r->dying) return {};
  try {
    return to_qt(source_(row, column));
  } catch (...) {
    broken_ = true;
    report_later(std::current_exception());
    return {};
  }
}

void CellModel::report_later(std::exception_ptr failure) const {
  // Not from inside the toolkit's drawing: the report opens a box with a loop of its own.
  QMetaObject::invokeMethod(
      const_cast<CellModel*>(this), [failure] { run_trapped([&] { std::rethrow_exception(failure); }); },
      Qt::QueuedConnection);
}

QVariant CellModel::data(const QModelIndex& i, int role) const {
  if (!i.isValid() || i.row() >= rows_ || i.column() >= column_count()) return {};
  switch (role) {
    case Qt::DisplayRole: return cell(i.row(), i.column());
    case Qt::TextAlignmentRole:
      return static_cast<int>(columns_[static_cast<std::size_t>(i.column())].align | Qt::AlignVCenter);
    default: return {};
  }
}

QVariant CellModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= column_count()) return {};
  const Column& c = columns_[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return c.caption;
  if (role == Qt::TextAlignmentRole) return static_cast<int>(c.align | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags CellModel::flags(const QModelIndex& i) const {
  if (!i.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

CtlTableView::CtlTableView(QWidget* parent) : ReportsFocus(parent), model_(new CellModel(this)) {
  setModel(model_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSortingEnabled(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  QHeaderView* h = header();
  h->setStretchLastSection(false);
  h->setSectionsMovable(false);
  h->setSectionsClickable(true);
  h->setSectionResizeMode(QHeaderView::Interactive);
  h->setSortIndicatorShown(false);
  h->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(h, &QHeaderView::sectionClicked, this, [this](int section) {
    show_sort_indicator();  // the header turned it by itself; the program sets it
    notify_parent(this, ::headerclick{section});
  });
  connect(h, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
    if (size > 0 && section >= 0 && section < static_cast<int>(widths_.size()) && !header()->isSectionHidden(section))
      widths_[static_cast<std::size_t>(section)] = size;
  });
  connect(h, &QHeaderView::customContextMenuRequested, this, &CtlTableView::header_menu);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { notify_parent(this, ::selchanged{}); });
}

void CtlTableView::set_columns(const std::vector<ListViewColumn>& columns) {
  std::vector<CellModel::Column> cells;
  widths_.clear();
  for (const ListViewColumn& c : columns) {
    cells.push_back({to_qt(c.caption), alignment_of(c.align)});
    widths_.push_back(std::max(c.width, 0));
  }
  model_->set_columns(std::move(cells));
  bool any = false;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    header()->setSectionHidden(static_cast<int>(c), !columns[c].visible);
    any = any || columns[c].visible;
  }
  if (!any && !columns.empty()) header()->setSectionHidden(0, false);
  for (std::size_t c = 0; c < columns.size(); ++c) header()->resizeSection(static_cast<int>(c), widths_[c]);
  sort_column_ = -1;
  show_sort_indicator();
}

std::vector<ListViewColumn> CtlTableView::columns() const {
  std::vector<ListViewColumn> out;
  for (int c = 0; c < model_->column_count(); ++c) {
    ListViewColumn col;
    col.caption = from_qt(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    col.width = column_width(c);
    col.align = align_code(Qt::Alignment(model_->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt()));
    col.visible = column_visible(c);
    out.push_back(std::move(col));
  }
  return out;
}

void CtlTableView::set_column_width(int column, int width) {
  widths_[static_cast<std::size_t>(column)] = std::max(width, 0);
  header()->resizeSection(column, std::max(width, 0));
}

int CtlTableView::column_width(int column) const { return widths_[static_cast<std::size_t>(column)]; }

bool CtlTableView::set_column_visible(int column, bool visible) {
  if (column_visible(column) == visible) return true;
  if (!visible) {
    int shown = 0;
    for (int c = 0; c < model_->column_count(); ++c) shown += column_visible(c) ? 1 : 0;
    if (shown <= 1) return false;
    header()->setSectionHidden(column, true);
    return true;
  }
  header()->setSectionHidden(column, false);
  header()->resizeSection(column, widths_[static_cast<std::size_t>(column)]);
  return true;
}

bool CtlTableView::column_visible(int column) const { return !header()->isSectionHidden(column); }

void CtlTableView::reset_rows(int count) {
  const int top = verticalScrollBar()->value();
  model_->set_row_count(count);
  executeDelayedItemsLayout();
  verticalScrollBar()->setValue(std::min(top, verticalScrollBar()->maximum()));
}

void CtlTableView::rows_changed(int first, int last) {
  const int rows = model_->row_count();
  if (rows == 0 || model_->column_count() == 0) {
    model_->rows_changed(first, last);
    return;
  }
  executeDelayedItemsLayout();
  const int top = std::clamp(verticalScrollBar()->value(), 0, rows - 1);
  const int height = std::max(1, rowHeight(model_->index(top, 0)));
  const int bottom = top + viewport()->height() / height + 1;
  model_->rows_changed(std::max(first, top), std::min(last, bottom));
}

std::optional<int> CtlTableView::selected_row() const {
  std::optional<int> row;
  for (const QModelIndex& i : selectionModel()->selectedIndexes())
    if (!row || i.row() < *row) row = i.row();
  return row;
}

void CtlTableView::remove_rows(int row, int count) {
  const std::optional<int> selected = selected_row();
  model_->remove_rows(row, count);
  // The toolkit would select a neighbour of a removed selected row; its selection ends instead.
  if (selected && *selected >= row && *selected < row + count) selectionModel()->clearSelection();
}

void CtlTableView::set_sort_indicator(int column, bool ascending) {
  sort_column_ = column;
  sort_ascending_ = ascending;
  show_sort_indicator();
}

void CtlTableView::show_sort_indicator() {
  QHeaderView* h = header();
  if (sort_column_ < 0 || sort_column_ >= model_->column_count()) {
    h->setSortIndicatorShown(false);
    h->setSortIndicator(-1, Qt::AscendingOrder);
    return;
  }
  h->setSortIndicatorShown(true);
  h->setSortIndicator(sort_column_, sort_ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
}

int CtlTableView::top_row() const {
  if (model_->row_count() == 0) return -1;
  const_cast<CtlTableView*>(this)->executeDelayedItemsLayout();
  return std::clamp(verticalScrollBar()->value(), 0, model_->row_count() - 1);
}

// Enter is reported as a double click on the row: the parent hears `activated`.
void CtlTableView::keyPressEvent(QKeyEvent* ev) {
  if (is_return(ev)) {
    ev->accept();
    notify_parent(this, ::activated{});
    return;
  }
  QTreeView::keyPressEvent(ev);
}

void CtlTableView::mouseDoubleClickEvent(QMouseEvent* ev) {
  const bool on_row = indexAt(ev->position().toPoint()).isValid();
  QTreeView::mouseDoubleClickEvent(ev);
  if (on_row) notify_parent(this, ::activated{});
}

// The header's menu: one checked item per shown column. The last shown column cannot be hidden.
void CtlTableView::header_menu(const QPoint& pos) {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  int shown = 0;
  for (int c = 0; c < model_->column_count(); ++c) shown += column_visible(c) ? 1 : 0;
  for (int c = 0; c < model_->column_count(); ++c) {
    QString caption = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    QAction* a = menu->addAction(caption.replace(QLatin1Char('&'), QStringLiteral("&&")));
    a->setCheckable(true);
    a->setChecked(column_visible(c));
    a->setEnabled(!(column_visible(c) && shown == 1));
    connect(a, &QAction::triggered, this, [this, c](bool checked) {
      if (column_visible(c) != checked && set_column_visible(c, checked)) notify_parent(this, ::colvisible{c, checked});
    });
  }
  menu->popup(header()->viewport()->mapToGlobal(pos));
}

}  // namespace gui_detail

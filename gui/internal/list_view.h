// The widget of a multi-column list (wk_ListView): a tree view without branches over a table
// model that holds no rows, only their count, the columns and the program's cell source. The
// view asks the model for the cells it draws; the model asks the source for those only.
#pragma once

#include <QAbstractTableModel>
#include <QTreeView>
#include <exception>
#include <optional>
#include <vector>

#include "internal/control_widgets.h"
#include "layer/listview.h"

namespace gui_detail {

class CellModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit CellModel(QObject* parent) : QAbstractTableModel(parent) {}

  struct Column {
    QString caption;
    Qt::Alignment align = Qt::AlignLeft;
  };
  void set_columns(std::vector<Column> columns);
  int column_count() const { return static_cast<int>(columns_.size()); }
  int row_count() const { return rows_; }

  void set_source(CellSource source);
  // All rows new: a reset of the model.
  void set_row_count(int rows);
  void rows_changed(int first, int last);
  void insert_rows(int row, int count);
  void remove_rows(int row, int count);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  // The cell's text from the source; after the source failed, nothing until the next change.
  QString cell(int row, int column) const;
  // Reports the source's failure as an error of a handler, once the drawing is over.
  void report_later(std::exception_ptr failure) const;

  std::vector<Column> columns_;
  int rows_ = 0;
  CellSource source_;
  mutable bool broken_ = false;
};

class CtlTableView : public ReportsFocus<QTreeView>, public ControlTraits {
  Q_OBJECT
 public:
  explicit CtlTableView(QWidget* parent);
  CellModel& cells() { return *model_; }

  void set_columns(const std::vector<ListViewColumn>& columns);
  std::vector<ListViewColumn> columns() const;
  void set_column_width(int column, int width);
  int column_width(int column) const;
  // False when it would hide the last shown column.
  bool set_column_visible(int column, bool visible);
  bool column_visible(int column) const;

  // All rows new; the scroll position kept as far as the new count allows.
  void reset_rows(int count);
  // Rows first..last changed in place. Only the rows on screen are drawn again: the view keeps
  // nothing of the others (their heights are all one), and telling it of every row of a long
  // list costs a pass over all of them.
  void rows_changed(int first, int last);
  // Rows removed; a removed selected row leaves nothing selected.
  void remove_rows(int row, int count);
  std::optional<int> selected_row() const;
  void set_sort_indicator(int column, bool ascending);
  int sort_column() const { return sort_column_; }
  bool sort_ascending() const { return sort_ascending_; }
  int top_row() const;

 protected:
  void keyPressEvent(QKeyEvent* ev) override;
  void mouseDoubleClickEvent(QMouseEvent* ev) override;

 private:
  void show_sort_indicator();
  void header_menu(const QPoint& pos);

  CellModel* model_;
  std::vector<int> widths_;  // the width of each column, kept while it is hidden
  int sort_column_ = -1;
  bool sort_ascending_ = true;
};

}  // namespace gui_detail

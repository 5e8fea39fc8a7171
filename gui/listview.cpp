// The lview_ family over the multi-column list's widget (internal/list_view.h).
#include "layer/listview.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>

#include "internal/list_view.h"
#include "internal/window_record.h"
#include "layer/controls.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

CtlTableView& table_of(Window win, SrcLoc loc = SrcLoc::current()) {
  const WindowRecord& r = checked_record(win, loc);
  auto* v = dynamic_cast<CtlTableView*>(r.client.data());
  if (r.kind != wk_ListView || !v) RUN_Error(errcode::kWrongKind, loc);
  return *v;
}

CtlTableView& table_column(Window win, int column, SrcLoc loc = SrcLoc::current()) {
  CtlTableView& v = table_of(win, loc);
  if (column < 0 || column >= v.cells().column_count()) RUN_Error(errcode::kBadValue, loc);
  return v;
}

}  // namespace

Window lview_Create(Window parent, Rect rect, const std::string& title, const WinFlags& flags, int ctl_id,
                    const std::vector<ListViewColumn>& columns, CellSource source, int row_count) {
  if (row_count < 0) RUN_Error(errcode::kBadValue);
  const Window win = win_CreateControl(wk_ListView, rect, title, parent, flags, ctl_id);
  lview_SetColumns(win, columns);
  lview_SetSource(win, std::move(source));
  lview_SetRowCount(win, row_count);
  return win;
}

void lview_SetColumns(Window win, const std::vector<ListViewColumn>& columns) {
  CtlTableView& v = table_of(win);
  QuietScope quiet(&v);
  v.set_columns(columns);
}

std::vector<ListViewColumn> lview_GetColumns(Window win) { return table_of(win).columns(); }

void lview_SetColumnWidth(Window win, int column, int width) { table_column(win, column).set_column_width(column, width); }

int lview_GetColumnWidth(Window win, int column) { return table_column(win, column).column_width(column); }

bool lview_SetColumnVisible(Window win, int column, bool visible) {
  return table_column(win, column).set_column_visible(column, visible);
}

bool lview_IsColumnVisible(Window win, int column) { return table_column(win, column).column_visible(column); }

void lview_SetSource(Window win, CellSource source) { table_of(win).cells().set_source(std::move(source)); }

void lview_SetRowCount(Window win, int count) {
  CtlTableView& v = table_of(win);
  if (count < 0) RUN_Error(errcode::kBadValue);
  QuietScope quiet(&v);
  v.reset_rows(count);
}

int lview_GetRowCount(Window win) { return table_of(win).cells().row_count(); }

void lview_RowsChanged(Window win, int first, int last) { table_of(win).rows_changed(first, last); }

void lview_Refresh(Window win) {
  CtlTableView& v = table_of(win);
  v.rows_changed(0, v.cells().row_count() - 1);
}

void lview_RowsInserted(Window win, int row, int count) {
  CtlTableView& v = table_of(win);
  if (row < 0 || row > v.cells().row_count() || count < 0) RUN_Error(errcode::kBadValue);
  QuietScope quiet(&v);
  v.cells().insert_rows(row, count);
}

void lview_RowsRemoved(Window win, int row, int count) {
  CtlTableView& v = table_of(win);
  if (row < 0 || count < 0 || row + count > v.cells().row_count()) RUN_Error(errcode::kBadValue);
  QuietScope quiet(&v);
  v.remove_rows(row, count);
}

std::optional<int> lview_GetSel(Window win) {
  return table_of(win).selected_row();
}

void lview_SetSel(Window win, int row) {
  CtlTableView& v = table_of(win);
  QuietScope quiet(&v);
  CellModel& m = v.cells();
  QItemSelectionModel* sel = v.selectionModel();
  if (row < 0 || row >= m.row_count() || m.column_count() == 0) {
    sel->clearSelection();
    return;
  }
  sel->setCurrentIndex(m.index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void lview_EnsureVisible(Window win, int row) {
  CtlTableView& v = table_of(win);
  CellModel& m = v.cells();
  if (row < 0 || row >= m.row_count() || m.column_count() == 0) return;
  // Only up or down: the columns stay where the user scrolled them.
  const int across = v.horizontalScrollBar()->value();
  v.scrollTo(m.index(row, 0), QAbstractItemView::EnsureVisible);
  v.horizontalScrollBar()->setValue(across);
}

int lview_GetTopRow(Window win) { return table_of(win).top_row(); }

void lview_SetSortIndicator(Window win, int column, bool ascending) {
  CtlTableView& v = table_of(win);
  if (column < -1 || column >= v.cells().column_count()) RUN_Error(errcode::kBadValue);
  v.set_sort_indicator(column, ascending);
}

int lview_GetSortIndicator(Window win, bool& ascending) {
  const CtlTableView& v = table_of(win);
  ascending = v.sort_ascending();
  return v.sort_column();
}

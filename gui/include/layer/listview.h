// Multi-column lists: the lview_ family. A multi-column list (control kind 21, wk_ListView) shows
// rows of cells under a header of column captions. It keeps no copy of the rows: the program
// gives it a row count and a cell source, and the control asks the source only for the cells it
// shows, so a list of a hundred thousand rows is made and refilled at once and costs no memory
// per row. The program tells the control when rows changed; rows changed, inserted or removed
// in place keep the selection and the scroll position.
//
// The user selects one row at a time (mouse, arrow keys, Page Up/Down, Home, End), resizes the
// columns by their header edges and chooses the shown columns from the header's context menu.
// The parent hears, as e_control(Id, 21, List, info):
//   selchanged            the user changed the selection;
//   activated             a double click on a row, or Enter;
//   headerclick{column}   a click on a column's header (the program sorts its rows, calls
//                         lview_SetRowCount or lview_Refresh and sets the sort indicator);
//   colvisible{column, visible}   the user showed or hid a column from the header's menu;
//   getfocus, losefocus   the keyboard focus arrived or left;
//   dropfiles{files}      files dropped on it (after win_AcceptFiles).
// Changes the program makes through these operations report nothing.
//
// The control is made by win_CreateControl(wk_ListView, Rect, Title, Parent, Flags, Id) (the title
// becomes its accessible name; flags as for every control: 11 invisible, 12 disabled, 25 group,
// 26 tab stop, 38 no border) or by lview_Create. It takes part in win_Move, win_SetFont,
// win_SetState, win_Destroy and the tab order like the list box. Every operation takes a
// multi-column list: any other window is run-time error 6001 (6000 when it is not a window).
// Columns count from 0 in the order the program gave them; rows from 0 in the program's order.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "layer/types.h"
#include "layer/window.h"

enum ColumnAlign : int { ca_Left = 0, ca_Center = 1, ca_Right = 2 };

struct ListViewColumn {
  std::string caption;   // cp1251
  int width = 100;       // pixels
  int align = ca_Left;   // ColumnAlign; other values are left
  bool visible = true;
  friend bool operator==(const ListViewColumn&, const ListViewColumn&) = default;
};

// The text (cp1251, one line) of the cell at `row`, `column`. Called only for cells the control
// shows or measures, and only while the control is drawn or asked about them; never once the
// control's destruction has begun. A run-time error raised in it is reported as an error of a
// handler (once, after the drawing); the control then shows empty cells and asks the source
// nothing more until the program next tells it of a change (lview_SetSource, lview_SetRowCount,
// lview_Refresh, lview_RowsChanged, lview_RowsInserted, lview_RowsRemoved, lview_SetColumns).
using CellSource = std::function<std::string(int row, int column)>;

// Makes a multi-column list in `parent` with outer rectangle `rect`, columns and rows as given.
// The same as win_CreateControl(wk_ListView, rect, title, parent, flags, ctl_id) followed by
// lview_SetColumns, lview_SetSource and lview_SetRowCount (a negative row count: 6010).
Window lview_Create(Window parent, Rect rect, const std::string& title, const WinFlags& flags, int ctl_id,
                    const std::vector<ListViewColumn>& columns, CellSource source, int row_count);

// Replaces every column; the selection is cleared and the sort indicator dropped. At least one
// column stays shown: when none is visible, the first is shown. A negative width is taken as 0.
void lview_SetColumns(Window win, const std::vector<ListViewColumn>& columns);
// The columns as they stand now: captions, widths as the user left them (a hidden column keeps
// the width it had when shown), alignment, visibility.
std::vector<ListViewColumn> lview_GetColumns(Window win);
// A column that does not exist is run-time error 6010 in the operations below.
void lview_SetColumnWidth(Window win, int column, int width);
int lview_GetColumnWidth(Window win, int column);
// Shows or hides a column; hiding the last shown column fails (false) and changes nothing.
bool lview_SetColumnVisible(Window win, int column, bool visible);
bool lview_IsColumnVisible(Window win, int column);

// The cell source; nullptr shows empty cells.
void lview_SetSource(Window win, CellSource source);
// All rows changed: the list now has `count` rows (a negative count is 6010). The selection is
// cleared; the scroll position stays where the new rows allow.
void lview_SetRowCount(Window win, int count);
int lview_GetRowCount(Window win);
// Rows first..last (inclusive, clipped to the list) changed in place: they are drawn again;
// the selection and the scroll position stay.
void lview_RowsChanged(Window win, int first, int last);
// Every row changed in place (the same count): the whole list is drawn again, the selection and
// the scroll position stay.
void lview_Refresh(Window win);
// `count` rows were inserted before row `row` (0..row count): the rows after them move down,
// the selected row with them. Out of range: 6010.
void lview_RowsInserted(Window win, int row, int count);
// `count` rows starting at `row` were removed: the rows after them move up, the selected row with
// them; a removed selected row leaves nothing selected. Out of range: 6010.
void lview_RowsRemoved(Window win, int row, int count);

// The selected row; fails when none is selected.
std::optional<int> lview_GetSel(Window win);
// Selects `row` and makes it the current row (a row outside the list, -1 for one, clears the
// selection). It does not scroll: see lview_EnsureVisible.
void lview_SetSel(Window win, int row);
// Scrolls as little as needed for `row` to be shown whole (a row outside the list: nothing).
void lview_EnsureVisible(Window win, int row);
// The first row shown at the top; -1 for an empty list.
int lview_GetTopRow(Window win);

// The sort indicator on the header of `column`, ascending or descending; column -1 shows none.
// The control never sorts: a header click only reports headerclick.
void lview_SetSortIndicator(Window win, int column, bool ascending);
// The column of the sort indicator (-1 for none) and its direction.
int lview_GetSortIndicator(Window win, bool& ascending);

// The lbox_ family over the list widgets of the layer: list boxes (a list view) and combined
// lists (a combo box), both showing a ListModel.
#include "layer/listbox.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "internal/control_create.h"
#include "internal/control_widgets.h"
#include "internal/window_record.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

// The list control behind a window: exactly one of `view` and `combo` is set.
struct ListTarget {
  CtlListView* view = nullptr;
  CtlComboBox* combo = nullptr;
  QWidget* widget() const { return view ? static_cast<QWidget*>(view) : combo; }
  ListModel& model() const { return view ? view->list() : combo->list(); }
  bool sorted() const { return view ? view->sorted : combo->sorted; }
};

ListTarget list_target(Window win, SrcLoc loc = SrcLoc::current()) {
  const WindowRecord& r = checked_record(win, loc);
  ListTarget t;
  t.view = dynamic_cast<CtlListView*>(r.client.data());
  if (!t.view) t.combo = dynamic_cast<CtlComboBox*>(r.client.data());
  if (!t.view && !t.combo) RUN_Error(errcode::kWrongKind, loc);
  return t;
}

// Empties the combined list's selection and edit line.
void reset_combo(CtlComboBox* c) {
  c->setCurrentIndex(-1);
  if (c->isEditable()) c->clearEditText();
}

int add_one(const ListTarget& t, int index, std::string line) {
  ListModel& m = t.model();
  if (index == -1) return t.sorted() ? m.insert_sorted(std::move(line)) : m.insert(m.count(), std::move(line));
  if (index < 0 || index > m.count()) RUN_Error(errcode::kListAddFailed);
  return m.insert(index, std::move(line));
}

bool valid(const ListModel& m, int index) { return index >= 0 && index < m.count(); }

}  // namespace

int lbox_Add(Window win, int index, const std::string& line) {
  const ListTarget t = list_target(win);
  QuietScope quiet(t.widget());
  return add_one(t, index, line);
}

void lbox_Add(Window win, int index, const std::vector<std::string>& lines) {
  const ListTarget t = list_target(win);
  QuietScope quiet(t.widget());
  for (const std::string& line : lines) {
    add_one(t, index, line);
    if (index != -1) ++index;
  }
}

int lbox_Add(Window win, const std::string& line) { return lbox_Add(win, -1, line); }
void lbox_Add(Window win, const std::vector<std::string>& lines) { lbox_Add(win, -1, lines); }

void lbox_Clear(Window win) {
  const ListTarget t = list_target(win);
  QuietScope quiet(t.widget());
  t.model().clear();
  if (t.combo) reset_combo(t.combo);
}

void lbox_SetAll(Window win, std::vector<std::string> lines) {
  lbox_SetAllViews(win, std::vector<std::string_view>(lines.begin(), lines.end()));
}

void lbox_SetAllViews(Window win, std::vector<std::string_view> lines) {
  const ListTarget t = list_target(win);
  QuietScope quiet(t.widget());
  const auto above = [](std::string_view a, std::string_view b) { return list_compare(a, b) < 0; };
  if (t.sorted() && !std::is_sorted(lines.begin(), lines.end(), above))
    std::stable_sort(lines.begin(), lines.end(), above);
  t.model().assign(lines);
  if (t.combo) reset_combo(t.combo);
}

int lbox_Compare(std::string_view a, std::string_view b) { return list_compare(a, b); }

void lbox_Delete(Window win, int index) {
  const ListTarget t = list_target(win);
  QuietScope quiet(t.widget());
  ListModel& m = t.model();
  if (!valid(m, index)) return;
  if (!t.combo) {
    m.remove(index);
    return;
  }
  // The toolkit would move the selection to a neighbour; the deleted item's selection ends.
  const int current = t.combo->currentIndex();
  const QString edit_text = t.combo->currentText();
  m.remove(index);
  if (m.count() == 0) {
    reset_combo(t.combo);
  } else if (current == index) {
    t.combo->setCurrentIndex(-1);
    if (t.combo->isEditable()) t.combo->setEditText(edit_text);
  }
}

void lbox_GetSel(Window win, std::vector<std::string>& lines, std::vector<int>& indexes) {
  const ListTarget t = list_target(win);
  lines.clear();
  indexes.clear();
  if (t.combo) {
    indexes.push_back(t.combo->currentIndex());
  } else {
    for (const QModelIndex& i : t.view->selectionModel()->selectedIndexes()) indexes.push_back(i.row());
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
  }
  std::erase_if(indexes, [&](int i) { return !valid(t.model(), i); });
  for (int i : indexes) lines.push_back(t.model().at(i));
}

void lbox_SetSel(Window win, int index, int select) {
  const ListTarget t = list_target(win);
  QuietScope quiet(t.widget());
  const ListModel& m = t.model();
  if (t.combo) {
    t.combo->setCurrentIndex(select != 0 && valid(m, index) ? index : -1);
    return;
  }
  QItemSelectionModel* sel = t.view->selectionModel();
  if (t.view->multi) {
    const int i = index & 0xFFFF;
    if (!valid(m, i)) return;
    sel->select(m.index(i), select != 0 ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
    return;
  }
  if (select != 0 && valid(m, index)) {
    sel->setCurrentIndex(m.index(index), QItemSelectionModel::ClearAndSelect);
    t.view->scrollTo(m.index(index));
  } else {
    sel->clearSelection();
  }
}

std::optional<int> lbox_GetSelIndex(Window win) {
  const ListTarget t = list_target(win);
  if (t.combo) {
    const int i = t.combo->currentIndex();
    return valid(t.model(), i) ? std::optional<int>(i) : std::nullopt;
  }
  const QItemSelectionModel* sel = t.view->selectionModel();
  const QModelIndex cur = sel->currentIndex();
  if (cur.isValid() && sel->isSelected(cur)) return cur.row();
  std::optional<int> first;
  for (const QModelIndex& i : sel->selectedIndexes())
    if (!first || i.row() < *first) first = i.row();
  return first;
}

bool lbox_IsSel(Window win, int index) {
  const ListTarget t = list_target(win);
  if (!valid(t.model(), index)) return false;
  if (t.combo) return t.combo->currentIndex() == index;
  return t.view->selectionModel()->isRowSelected(index, QModelIndex());
}

std::string lbox_GetItem(Window win, int index) {
  const ListTarget t = list_target(win);
  return valid(t.model(), index) ? t.model().at(index) : std::string();
}

std::vector<std::string> lbox_GetAll(Window win) { return list_target(win).model().all(); }

int lbox_CountAll(Window win) { return list_target(win).model().count(); }

void lbox_Suspend(Window win) { list_target(win).widget()->setUpdatesEnabled(false); }

void lbox_Resume(Window win) {
  QWidget* w = list_target(win).widget();
  w->setUpdatesEnabled(true);
  w->update();
}

void lbox_SetColumnWidth(Window win, int width) {
  const ListTarget t = list_target(win);
  if (!t.view || width <= 0) return;
  const int row = std::max(t.view->sizeHintForRow(0), t.view->fontMetrics().height());
  t.view->setGridSize(QSize(width, row));
}

void lbox_SetTabStops(Window win, const std::vector<int>& stops) {
  const ListTarget t = list_target(win);
  const BaseUnits b = base_units(t.widget()->font());
  QList<qreal> px;
  for (int s : stops) px.push_back(static_cast<qreal>(s) * b.x / 4);
  t.model().set_tab_stops(std::move(px));
  t.widget()->update();
}

void lbox_SetTopIndex(Window win, int index) {
  const ListTarget t = list_target(win);
  if (!valid(t.model(), index)) return;
  if (t.view)
    t.view->scrollTo(t.model().index(index), QAbstractItemView::PositionAtTop);
  else if (t.combo->view())
    t.combo->view()->scrollTo(t.model().index(index), QAbstractItemView::PositionAtTop);
}


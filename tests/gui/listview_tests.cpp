// Multi-column lists through the real widget on the offscreen platform: rows asked for only when
// shown, header clicks and the column menu reported to the parent, selection and activation,
// rows changed in place, column widths read back, and the control's place among the controls.
#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <set>

#include "internal/window_record.h"
#include "layer_test_support.h"
#include "runtime/run_error.h"

using namespace layer_test;
using gui_detail::find_record;

namespace {

const WinFlags kTopFlags = {wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize};
constexpr int kListId = 4100;

Window make_window(Window task) {
  return win_Create(wk_TopLevel, {20, 20, 620, 420}, "table", no_menu{}, task, kTopFlags, recording_handler, 0);
}

QTreeView* view_of(Window w) { return qobject_cast<QTreeView*>(find_record(w)->client.data()); }

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// A cell source over generated rows that counts the calls and keeps the rows asked for.
struct Rows {
  std::vector<std::string> author;  // one per row; the other columns are made from the row
  std::set<int> asked;
  long calls = 0;
  CellSource source() {
    return [this](int row, int column) {
      ++calls;
      asked.insert(row);
      if (column == 0) return std::to_string(row + 1);
      if (column == 1) return author[static_cast<std::size_t>(row)];
      return cp("Книга ") + std::to_string(row);
    };
  }
};

std::vector<ListViewColumn> three_columns() {
  return {{cp("Код"), 60, ca_Right, true}, {cp("Автор"), 160, ca_Left, true}, {cp("Наименование"), 220, ca_Center, true}};
}

// Destroys the window when the test leaves, also after a failed check: the list must not outlive
// the rows its source reads.
struct Owned {
  Window win;
  ~Owned() {
    if (win_GetType(win) != wk_NotAWindow) win_Destroy(win);
  }
};

Window make_list(Window parent, Rows& rows, int count) {
  rows.author.resize(static_cast<std::size_t>(count), cp("Пушкин"));
  return lview_Create(parent, {10, 10, 590, 390}, cp("Каталог"), {csf_TabStop}, kListId, three_columns(),
                      rows.source(), count);
}

// The e_control infos that reached `parent` from the list, in order.
std::vector<ControlInfo> infos(Window parent, Window list) {
  std::vector<ControlInfo> out;
  for (const e_control& e : events_of<e_control>(parent))
    if (e.window == list && e.id == kListId && e.kind == wk_ListView) out.push_back(e.info);
  return out;
}
template <class Info>
int count_of(Window parent, Window list) {
  int n = 0;
  for (const ControlInfo& i : infos(parent, list)) n += std::holds_alternative<Info>(i) ? 1 : 0;
  return n;
}

QPoint row_point(Window list, int row) {
  QTreeView* v = view_of(list);
  return v->visualRect(v->model()->index(row, 1)).center();
}

QString shown_text(Window list, int row, int column) {
  QTreeView* v = view_of(list);
  return v->model()->index(row, column).data().toString();
}

// Rows that fit the view's viewport at once.
int rows_on_screen(Window list) {
  QTreeView* v = view_of(list);
  return v->viewport()->height() / std::max(1, v->visualRect(v->model()->index(0, 0)).height()) + 1;
}

void paint_now(Window list) {
  QTreeView* v = view_of(list);
  v->viewport()->repaint();
  QCoreApplication::processEvents();
}

// Opens the header's menu as a right click does and returns it.
QMenu* open_header_menu(Window list) {
  QHeaderView* h = view_of(list)->header();
  const QPoint at(10, h->height() / 2);
  QContextMenuEvent ev(QContextMenuEvent::Mouse, at, h->viewport()->mapToGlobal(at));
  QCoreApplication::sendEvent(h->viewport(), &ev);
  QMenu* menu = nullptr;
  wait_until([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; });
  return menu;
}

void close_menu(QMenu* menu) {
  menu->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class ListViewTests : public QtSuite {
  Q_OBJECT

 public:
  ListViewTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  // A hundred thousand rows: the list knows the count at once, and the cell source is asked only
  // for the rows on screen, at the top and after a jump to the end.
  void hundredThousandRowsAskOnlyForShownRows() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      Rows rows;
      const Window list = make_list(w, rows, 100000);
      const Owned owned{w};
      QCOMPARE(win_GetType(list), int(wk_ListView));
      QCOMPARE(lview_GetRowCount(list), 100000);
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));
      paint_now(list);
      const int screen = rows_on_screen(list);
      QVERIFY(screen > 5);
      QVERIFY(!rows.asked.empty());
      QVERIFY2(*rows.asked.rbegin() <= screen + 2, qPrintable(QString::number(*rows.asked.rbegin())));
      QVERIFY(rows.calls <= 3L * 3 * (screen + 3));  // a few passes over the shown cells, no more
      QCOMPARE(shown_text(list, 0, 2), QString::fromUtf8("Книга 0"));

      rows.asked.clear();
      lview_EnsureVisible(list, 99999);
      paint_now(list);
      QVERIFY(rows.asked.count(99999) == 1);
      QVERIFY2(*rows.asked.begin() >= 99999 - screen - 2, qPrintable(QString::number(*rows.asked.begin())));
      QVERIFY(lview_GetTopRow(list) > 99999 - screen);

      // Refilled with a new count: still nothing asked beyond the screen.
      rows.asked.clear();
      rows.author.assign(60000, cp("Гоголь"));
      lview_SetRowCount(list, 60000);
      paint_now(list);
      QCOMPARE(lview_GetRowCount(list), 60000);
      QVERIFY(rows.asked.size() <= static_cast<std::size_t>(2 * screen + 4));
      win_Destroy(w);
    });
  }

  // A click on a header reports the column; the sort indicator is the program's alone.
  void headerClicksAreReportedAndTheIndicatorIsTheProgramsOwn() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      Rows rows;
      const Window list = make_list(w, rows, 50);
      const Owned owned{w};
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));
      QHeaderView* h = view_of(list)->header();
      bool ascending = false;
      QCOMPARE(lview_GetSortIndicator(list, ascending), -1);

      for (int column : {1, 2, 1}) {
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(column) + 10, h->height() / 2));
        const std::vector<ControlInfo> got = infos(w, list);
        QVERIFY(!got.empty());
        QVERIFY(std::holds_alternative<headerclick>(got.back()));
        QCOMPARE(std::get<headerclick>(got.back()).column, column);
      }
      QCOMPARE(count_of<headerclick>(w, list), 3);
      QVERIFY(!h->isSortIndicatorShown());  // the clicks sorted nothing and showed nothing

      lview_SetSortIndicator(list, 2, false);
      QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(2) + 10, h->height() / 2));
      QCOMPARE(lview_GetSortIndicator(list, ascending), 2);
      QVERIFY(!ascending);
      QVERIFY(h->isSortIndicatorShown());
      QCOMPARE(h->sortIndicatorSection(), 2);
      QCOMPARE(h->sortIndicatorOrder(), Qt::DescendingOrder);  // not turned by the click
      lview_SetSortIndicator(list, 2, true);
      QCOMPARE(h->sortIndicatorOrder(), Qt::AscendingOrder);
      lview_SetSortIndicator(list, -1, true);
      QVERIFY(!h->isSortIndicatorShown());
      QCOMPARE(caught_code([&] { lview_SetSortIndicator(list, 3, true); }), errcode::kBadValue);
      win_Destroy(w);
    });
  }

  // The header's menu shows each column checked when shown; unchecking hides it and tells the
  // parent; the last shown column cannot be hidden.
  void theColumnMenuChoosesTheShownColumns() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      Rows rows;
      const Window list = make_list(w, rows, 10);
      const Owned owned{w};
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));

      QMenu* menu = open_header_menu(list);
      QVERIFY(menu);
      QList<QAction*> items = menu->actions();
      QCOMPARE(items.size(), 3);
      QCOMPARE(items[1]->text(), QString::fromUtf8("Автор"));
      for (QAction* a : items) QVERIFY(a->isCheckable() && a->isChecked() && a->isEnabled());
      items[1]->trigger();
      close_menu(menu);
      QVERIFY(!lview_IsColumnVisible(list, 1));
      QVERIFY(view_of(list)->isColumnHidden(1));
      std::vector<ControlInfo> got = infos(w, list);
      QVERIFY(!got.empty() && std::holds_alternative<colvisible>(got.back()));
      QCOMPARE(std::get<colvisible>(got.back()).column, 1);
      QCOMPARE(std::get<colvisible>(got.back()).visible, false);

      QVERIFY(lview_SetColumnVisible(list, 0, false));  // the program's change reports nothing
      QCOMPARE(count_of<colvisible>(w, list), 1);
      menu = open_header_menu(list);
      QVERIFY(menu);
      items = menu->actions();
      QVERIFY(!items[0]->isChecked() && !items[1]->isChecked() && items[2]->isChecked());
      QVERIFY(!items[2]->isEnabled());  // the only shown column
      items[0]->trigger();              // shown again
      close_menu(menu);
      QVERIFY(lview_IsColumnVisible(list, 0));
      got = infos(w, list);
      QCOMPARE(std::get<colvisible>(got.back()).column, 0);
      QCOMPARE(std::get<colvisible>(got.back()).visible, true);

      QVERIFY(lview_SetColumnVisible(list, 0, false));
      QVERIFY(!lview_SetColumnVisible(list, 2, false));  // the last shown column stays
      QVERIFY(lview_IsColumnVisible(list, 2));
      // A column list with none shown shows the first.
      lview_SetColumns(list, {{"a", 50, ca_Left, false}, {"b", 50, ca_Left, false}});
      QVERIFY(lview_IsColumnVisible(list, 0) && !lview_IsColumnVisible(list, 1));
      QCOMPARE(caught_code([&] { lview_IsColumnVisible(list, 2); }), errcode::kBadValue);
      QCOMPARE(caught_code([&] { lview_GetColumnWidth(list, -1); }), errcode::kBadValue);
      win_Destroy(w);
    });
  }

  void selectionIsReadSetAndReported() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      Rows rows;
      const Window list = make_list(w, rows, 100);
      const Owned owned{w};
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));
      QVERIFY(!lview_GetSel(list));
      lview_SetSel(list, 5);
      QCOMPARE(lview_GetSel(list), std::optional<int>(5));
      QVERIFY(infos(w, list).empty());  // the program's own change is not reported

      QTest::mouseClick(view_of(list)->viewport(), Qt::LeftButton, {}, row_point(list, 3));
      QCOMPARE(lview_GetSel(list), std::optional<int>(3));
      QCOMPARE(count_of<selchanged>(w, list), 1);
      QTest::keyClick(view_of(list), Qt::Key_Down);
      QCOMPARE(lview_GetSel(list), std::optional<int>(4));
      QTest::keyClick(view_of(list), Qt::Key_End);
      QCOMPARE(lview_GetSel(list), std::optional<int>(99));
      QTest::keyClick(view_of(list), Qt::Key_Home);
      QCOMPARE(lview_GetSel(list), std::optional<int>(0));
      QCOMPARE(count_of<selchanged>(w, list), 4);

      log().clear();
      QTest::mouseDClick(view_of(list)->viewport(), Qt::LeftButton, {}, row_point(list, 2));
      QCOMPARE(count_of<activated>(w, list), 1);
      QTest::keyClick(view_of(list), Qt::Key_Return);
      QCOMPARE(count_of<activated>(w, list), 2);
      // A double click below the last row activates nothing.
      lview_SetRowCount(list, 2);
      log().clear();
      QTest::mouseDClick(view_of(list)->viewport(), Qt::LeftButton, {}, QPoint(20, view_of(list)->viewport()->height() - 5));
      QCOMPARE(count_of<activated>(w, list), 0);

      lview_SetSel(list, 1);
      lview_SetSel(list, -1);
      QVERIFY(!lview_GetSel(list));
      lview_SetSel(list, 7);  // beyond the list: nothing selected
      QVERIFY(!lview_GetSel(list));
      win_Destroy(w);
    });
  }

  // Rows changed, inserted or removed in place keep the selection on its row and the scroll
  // position; a new row count clears the selection.
  void rowsChangedInPlaceKeepSelectionAndScroll() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      Rows rows;
      const Window list = make_list(w, rows, 1000);
      const Owned owned{w};
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));
      lview_EnsureVisible(list, 600);
      lview_SetSel(list, 590);
      const int top = lview_GetTopRow(list);
      QVERIFY(top > 500 && top <= 590);

      paint_now(list);
      QTest::qWait(50);  // whatever the selection and the scrolling left to draw
      rows.asked.clear();
      rows.author[590] = cp("Булгаков");
      QTest::qWait(30);
      QVERIFY(rows.asked.empty());  // nothing is drawn again until the list is told
      lview_RowsChanged(list, 590, 590);
      QTRY_VERIFY(rows.asked.count(590) == 1);
      QVERIFY(*rows.asked.begin() >= 589 && *rows.asked.rbegin() <= 591);  // that row alone
      QCOMPARE(shown_text(list, 590, 1), QString::fromUtf8("Булгаков"));
      QCOMPARE(lview_GetSel(list), std::optional<int>(590));
      QCOMPARE(lview_GetTopRow(list), top);

      lview_Refresh(list);
      QCOMPARE(lview_GetSel(list), std::optional<int>(590));
      QCOMPARE(lview_GetTopRow(list), top);

      rows.author.insert(rows.author.begin() + 100, 3, cp("Ахматова"));
      lview_RowsInserted(list, 100, 3);
      QCOMPARE(lview_GetRowCount(list), 1003);
      QCOMPARE(lview_GetSel(list), std::optional<int>(593));
      QCOMPARE(shown_text(list, 593, 1), QString::fromUtf8("Булгаков"));

      rows.author.erase(rows.author.begin(), rows.author.begin() + 10);
      lview_RowsRemoved(list, 0, 10);
      QCOMPARE(lview_GetSel(list), std::optional<int>(583));
      rows.author.erase(rows.author.begin() + 583);
      lview_RowsRemoved(list, 583, 1);
      QVERIFY(!lview_GetSel(list));  // the selected row went
      QVERIFY(infos(w, list).empty());

      QCOMPARE(caught_code([&] { lview_RowsInserted(list, 993, 1); }), errcode::kBadValue);
      QCOMPARE(caught_code([&] { lview_RowsRemoved(list, 990, 3); }), errcode::kBadValue);
      QCOMPARE(caught_code([&] { lview_SetRowCount(list, -1); }), errcode::kBadValue);

      lview_SetSel(list, 100);
      const int before = lview_GetTopRow(list);
      lview_SetRowCount(list, 900);
      QVERIFY(!lview_GetSel(list));
      QCOMPARE(lview_GetTopRow(list), before);  // the scroll position stays
      lview_SetRowCount(list, 5);
      QCOMPARE(lview_GetTopRow(list), 0);
      lview_SetRowCount(list, 0);
      QCOMPARE(lview_GetTopRow(list), -1);
      win_Destroy(w);
    });
  }

  // Columns as given are read back; the user's resizing is read back, also while hidden.
  void columnWidthsAreReadBack() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      Rows rows;
      const Window list = make_list(w, rows, 20);
      const Owned owned{w};
      QCOMPARE(lview_GetColumns(list), three_columns());
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));

      // The user drags the right edge of the second column 40 pixels to the right.
      QHeaderView* h = view_of(list)->header();
      const int edge = h->sectionViewportPosition(1) + h->sectionSize(1) - 1;
      const int y = h->height() / 2;
      QTest::mousePress(h->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
      QTest::mouseMove(h->viewport(), QPoint(edge + 20, y));
      QTest::mouseMove(h->viewport(), QPoint(edge + 40, y));
      QTest::mouseRelease(h->viewport(), Qt::LeftButton, {}, QPoint(edge + 40, y));
      QCOMPARE(lview_GetColumnWidth(list, 1), 200);
      QCOMPARE(h->sectionSize(1), 200);

      QVERIFY(lview_SetColumnVisible(list, 1, false));
      QCOMPARE(lview_GetColumnWidth(list, 1), 200);  // kept while hidden
      std::vector<ListViewColumn> now = lview_GetColumns(list);
      QCOMPARE(now[1].width, 200);
      QVERIFY(!now[1].visible);
      QVERIFY(lview_SetColumnVisible(list, 1, true));
      QCOMPARE(h->sectionSize(1), 200);

      lview_SetColumnWidth(list, 2, 90);
      QCOMPARE(h->sectionSize(2), 90);
      QCOMPARE(lview_GetColumnWidth(list, 2), 90);
      // A new row count keeps the columns as they are.
      QVERIFY(lview_SetColumnVisible(list, 0, false));
      lview_SetRowCount(list, 3);
      QVERIFY(!lview_IsColumnVisible(list, 0));
      QCOMPARE(lview_GetColumnWidth(list, 2), 90);
      QCOMPARE(view_of(list)->model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
               int(Qt::AlignRight));
      win_Destroy(w);
    });
  }

  // In a dialog: in the tab order after the control made before it, named by its label.
  void inADialogItTakesTabAndItsLabel() {
    run_in_task([](Window task) {
      const Window dlg = win_CreateDynDialog(
          {wdef_dialog{wk_ModelessDialog, {10, 10, 400, 300}, "Dyn", {wsf_TitleBar}, std::nullopt},
           wdef_control{wk_PushButton, {10, 10, 90, 40}, "OK", 1, {csf_TabStop}},
           wdef_control{wk_Text, {10, 50, 200, 70}, cp("&Книги:"), 5, {}},
           wdef_control{wk_ListView, {10, 75, 380, 280}, "", kListId, {csf_TabStop}}},
          task, recording_handler, 0);
      const Window list = win_GetCtlHandle(dlg, kListId);
      QCOMPARE(win_GetType(list), int(wk_ListView));
      QCOMPARE(view_of(list)->accessibleName(), QString::fromUtf8("Книги:"));
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));
      const Window button = win_GetCtlHandle(dlg, 1);
      win_SetFocus(button);
      QTest::keyClick(find_record(button)->client, Qt::Key_Tab);
      QTRY_VERIFY(view_of(list)->hasFocus());
      QVERIFY(count_of<getfocus>(dlg, list) >= 1);
      win_Destroy(dlg);
    });
  }

  // Made by win_CreateControl like any control: found by id, moved, given a font, named for
  // assistive technology by its title, destroyed alone or with its window.
  void itIsAControlLikeTheOthers() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window button = win_CreateControl(wk_PushButton, {10, 10, 90, 40}, "OK", w, {csf_TabStop}, 1);
      const Window list = win_CreateControl(wk_ListView, {10, 50, 300, 250}, cp("Список книг"), w, {csf_TabStop}, kListId);
      QCOMPARE(win_GetCtlHandle(w, kListId), list);
      QCOMPARE(win_GetCtlId(list), kListId);
      QCOMPARE(view_of(list)->accessibleName(), QString::fromUtf8("Список книг"));
      QCOMPARE(lview_GetRowCount(list), 0);
      QVERIFY(lview_GetColumns(list).empty());
      lview_SetColumns(list, three_columns());
      lview_SetRowCount(list, 4);  // no source yet: empty cells
      QCOMPARE(shown_text(list, 0, 0), QString());

      win_Move(list, {20, 60, 320, 300});
      QCOMPARE(view_of(list)->geometry(), QRect(20, 60, 300, 240));
      const Font f = font_Create(ff_Helvetica, {fs_Bold}, 14);
      win_SetFont(list, f);
      QCOMPARE(win_GetFont(list), f);
      QVERIFY(view_of(list)->font().bold());

      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));
      win_SetFocus(list);
      QTRY_VERIFY(view_of(list)->hasFocus());
      QCOMPARE(win_GetFocus(), list);
      QVERIFY(count_of<getfocus>(w, list) >= 1);

      win_SetState(list, {st_Invisible});
      QVERIFY(!view_of(list)->isVisible());
      win_SetState(list, {st_Visible});

      QCOMPARE(caught_code([&] { lview_GetSel(button); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { lview_SetRowCount(0x7777, 1); }), errcode::kNotWindow);
      win_Destroy(list);
      QCOMPARE(win_GetType(list), int(wk_NotAWindow));
      // One made with the rest goes with its window.
      Rows rows;
      const Window second = make_list(w, rows, 3);
      win_Destroy(w);
      QCOMPARE(win_GetType(second), int(wk_NotAWindow));
    });
  }

  // Once the list's destruction has begun the program's rows may be gone: the source is not
  // asked again, though the toolkit lays the hidden list out once more.
  void theSourceIsNotAskedOnceDestructionBegins() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      static Window list;
      static int asked_while_dying;
      asked_while_dying = 0;
      list = 0;  // while it is made, the list's handle is not known here yet
      list = lview_Create(w, {10, 10, 300, 200}, "", {}, kListId, three_columns(),
                          [](int row, int) {
                            const gui_detail::WindowRecord* r = find_record(list);
                            if (list != 0 && (!r || r->dying)) ++asked_while_dying;
                            return std::to_string(row);
                          },
                          500);
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));
      paint_now(list);
      lview_RowsRemoved(list, 0, 100);  // a layout is pending when the window goes
      win_Destroy(w);
      QCoreApplication::processEvents();
      QCOMPARE(asked_while_dying, 0);
    });
  }

  // A source that raises a run-time error is reported once, as an error of a handler, and is
  // asked nothing more until the program tells the list of a change.
  void aFailingSourceIsReportedOnce() {
    static std::vector<int> reported;
    reported.clear();
    uix_SetErrorHandler([](int code) { reported.push_back(code); });
    run_in_task([](Window task) {
      const Window w = make_window(task);
      static bool failing;
      static long calls;
      failing = true;
      calls = 0;
      const Window list = lview_Create(w, {10, 10, 300, 200}, "", {}, kListId, three_columns(),
                                       [](int row, int) -> std::string {
                                         ++calls;
                                         if (failing) RUN_Error(errcode::kBadValue);
                                         return std::to_string(row);
                                       },
                                       30);
      QVERIFY(QTest::qWaitForWindowExposed(view_of(list)));
      paint_now(list);
      QTRY_COMPARE(reported, std::vector<int>{errcode::kBadValue});
      const long after_failure = calls;
      paint_now(list);
      view_of(list)->viewport()->update();
      QTest::qWait(50);
      QCOMPARE(calls, after_failure);
      QCOMPARE(reported.size(), std::size_t(1));

      failing = false;
      lview_Refresh(list);
      paint_now(list);
      QVERIFY(calls > after_failure);
      QCOMPARE(shown_text(list, 4, 0), QString("4"));
      win_Destroy(w);
    });
    uix_SetErrorHandler(nullptr);
  }
};

QTEST_MAIN(ListViewTests)
#include "listview_tests.moc"

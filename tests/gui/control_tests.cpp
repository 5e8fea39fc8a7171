// Controls and list boxes through real widgets on the offscreen platform: creation of every kind,
// notifications to the parent, check and window states, edit fields, the lbox_ family on list
// boxes and combined lists, dialog units and accessible names.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRadioButton>
#include <QCheckBox>
#include <QClipboard>
#include <QScrollBar>

#include "internal/control_create.h"
#include "internal/list_model.h"
#include "internal/paint_surface.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

using namespace layer_test;
using gui_detail::find_record;

namespace {

const WinFlags kTopFlags = {wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize};

Window make_window(Window task) {
  return win_Create(wk_TopLevel, {20, 20, 420, 320}, "controls", no_menu{}, task, kTopFlags,
                    recording_handler, 0);
}

QWidget* widget_of(Window w) { return find_record(w)->client; }
template <class T>
T* as(Window w) { return qobject_cast<T*>(widget_of(w)); }

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// The e_control events that reached `parent`, as (id, kind, control, info index).
struct Note {
  int id, kind;
  Window ctl;
  std::size_t info;
  friend bool operator==(const Note&, const Note&) = default;
};
std::vector<Note> notes(Window parent) {
  std::vector<Note> out;
  for (const e_control& e : events_of<e_control>(parent))
    out.push_back({e.id, e.kind, e.window, e.info.index()});
  return out;
}
constexpr std::size_t kActivated = 5, kSelChanged = 4, kModified = 3, kGetFocus = 1, kLoseFocus = 2;

QModelIndex row(Window list, int r) { return as<QListView>(list)->model()->index(r, 0); }
QPoint row_point(Window list, int r) { return as<QListView>(list)->visualRect(row(list, r)).center(); }

}  // namespace

class ControlTests : public QtSuite {
  Q_OBJECT

 public:
  ControlTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  void everyKindIsMadeWithItsTextIdAndFlags() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const std::string title = cp("&Автор");
      for (int kind = wk_PushButton; kind <= wk_GroupBox; ++kind) {
        const Window c = win_CreateControl(kind, {10, 10, 110, 40}, title, w, {}, 100 + kind);
        QCOMPARE(win_GetType(c), kind);
        QCOMPARE(win_GetCtlId(c), 100 + kind);
        QCOMPARE(win_GetParent(c), w);
        QCOMPARE(win_GetCtlHandle(w, 100 + kind), c);
        QCOMPARE(win_GetOuterRect(c).right - win_GetOuterRect(c).left, 100);
        const bool has_text = kind != wk_HScroll && kind != wk_VScroll && kind != wk_ListBox &&
                              kind != wk_ListButton;
        if (has_text) QCOMPARE(win_GetText(c), title);
      }
      QCOMPARE(caught_code([&] { win_GetCtlHandle(w, 4242); }), errcode::kNoControlId);
      QCOMPARE(caught_code([&] { win_CreateControl(wk_Icon, {}, "", w, {}, 1); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { win_CreateControl(wk_Child, {}, "", w, {}, 1); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { win_CreateControl(wk_Edit, {}, "", uix_GetAttrVal(attr_ScreenWindow), {}, 1); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { win_CreateControl(wk_Edit, {}, "", 0x7777, {}, 1); }), errcode::kNotWindow);

      // Flags: checked at creation, read-only, invisible and disabled, a multi-line field, and
      // everything after 0 ignored.
      const Window radio = win_CreateControl(wk_RadioButton, {}, "r", w, {csf_Checked}, 1);
      const Window check = win_CreateControl(wk_CheckBox, {}, "c", w, {csf_Checked, csf_3State}, 2);
      const Window ro = win_CreateControl(wk_Edit, {}, "x", w, {csf_ReadOnly, 0, wsf_Invisible}, 3);
      const Window hidden = win_CreateControl(wk_Edit, {}, "", w, {wsf_Invisible, wsf_Disabled}, 4);
      const Window multi = win_CreateControl(wk_Edit, {}, "one\ntwo", w, {csf_MultiLine}, 5);
      QCOMPARE(win_IsChecked(radio), 1);
      QCOMPARE(win_IsChecked(check), 1);
      QVERIFY(as<QLineEdit>(ro)->isReadOnly());
      QCOMPARE(win_GetState(ro), (std::vector<int>{st_Visible, st_Enabled}));
      QCOMPARE(win_GetState(hidden), (std::vector<int>{st_Invisible, st_Disabled}));
      QCOMPARE(as<QPlainTextEdit>(multi)->document()->blockCount(), 2);
      QCOMPARE(win_GetText(multi), std::string("one\ntwo"));
      win_SetText(multi, "a\nb\nc");
      QCOMPARE(as<QPlainTextEdit>(multi)->document()->blockCount(), 3);
      // A list edit shows its title in its edit line; the list itself starts empty and unselected.
      const Window le = win_CreateControl(wk_ListEdit, {}, cp("Проза"), w, {}, 6);
      QCOMPARE(as<QComboBox>(le)->currentText(), QString::fromUtf8("Проза"));
      QCOMPARE(lbox_CountAll(le), 0);
      win_Destroy(w);
    });
  }

  // Each kind of field that takes the keyboard focus tells its parent when the focus arrives and
  // when it leaves for the next one.
  void focusChangesReachTheParent() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const std::vector<std::pair<Window, int>> fields = {
          {win_CreateControl(wk_Edit, {0, 0, 200, 24}, "", w, {csf_TabStop}, 1), wk_Edit},
          {win_CreateControl(wk_Edit, {0, 30, 200, 80}, "", w, {csf_MultiLine, csf_TabStop}, 2), wk_Edit},
          {win_CreateControl(wk_ListBox, {0, 90, 200, 150}, "", w, {csf_TabStop}, 3), wk_ListBox},
          {win_CreateControl(wk_ListButton, {0, 160, 200, 184}, "", w, {csf_TabStop}, 4), wk_ListButton}};
      log().clear();
      std::vector<Note> want;
      for (std::size_t i = 0; i < fields.size(); ++i) {
        win_SetFocus(fields[i].first);
        if (i > 0) want.push_back({int(i), fields[i - 1].second, fields[i - 1].first, kLoseFocus});
        want.push_back({int(i + 1), fields[i].second, fields[i].first, kGetFocus});
      }
      win_SetFocus(fields[0].first);
      want.push_back({4, wk_ListButton, fields[3].first, kLoseFocus});
      want.push_back({1, wk_Edit, fields[0].first, kGetFocus});
      QCOMPARE(notes(w), want);
      win_Destroy(w);
    });
  }

  void notificationsReachTheParent() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window button = win_CreateControl(wk_PushButton, {0, 0, 80, 24}, "OK", w, {csf_TabStop}, 1);
      const Window edit = win_CreateControl(wk_Edit, {0, 30, 200, 54}, "", w, {csf_TabStop}, 2);
      const Window check = win_CreateControl(wk_CheckBox, {0, 60, 200, 84}, "c", w, {csf_Auto}, 3);
      const Window plain = win_CreateControl(wk_CheckBox, {0, 90, 200, 114}, "p", w, {}, 4);
      log().clear();

      QTest::mouseClick(as<QPushButton>(button), Qt::LeftButton);
      QCOMPARE(notes(w), (std::vector<Note>{{1, wk_PushButton, button, kActivated}}));

      // An automatic check box toggles on a click; a plain one leaves that to the program.
      QTest::mouseClick(as<QCheckBox>(check), Qt::LeftButton, {}, QPoint(5, 12));
      QTest::mouseClick(as<QCheckBox>(plain), Qt::LeftButton, {}, QPoint(5, 12));
      QCOMPARE(win_IsChecked(check), 1);
      QCOMPARE(win_IsChecked(plain), 0);
      QCOMPARE(notes(w).size(), std::size_t(3));
      QCOMPARE(notes(w)[2], (Note{4, wk_CheckBox, plain, kActivated}));

      log().clear();
      win_SetFocus(edit);
      QTest::keyClicks(as<QLineEdit>(edit), "ab");
      auto n = notes(w);
      QCOMPARE(n.front(), (Note{2, wk_Edit, edit, kGetFocus}));
      QCOMPARE(std::count_if(n.begin(), n.end(), [](const Note& x) { return x.info == kModified; }), 2);

      // No `modified` while the suppress-change attribute is on, and none while the parent is
      // a dialog being created (here: the flag of the record).
      log().clear();
      uix_SetAttrVal(xQbx_bSuppressUpdateCheck, 1);
      QTest::keyClicks(as<QLineEdit>(edit), "c");
      uix_SetAttrVal(xQbx_bSuppressUpdateCheck, 0);
      find_record(w)->being_created = true;
      QTest::keyClicks(as<QLineEdit>(edit), "d");
      QTest::mouseClick(as<QPushButton>(button), Qt::LeftButton);
      find_record(w)->being_created = false;
      QVERIFY(notes(w).empty());
      QCOMPARE(win_GetText(edit), std::string("abcd"));

      // Scroll bars report scroll codes with the position; list buttons their drop-down.
      const Window bar = win_CreateControl(wk_VScroll, {300, 0, 320, 200}, "", w, {}, 5);
      const Window drop = win_CreateControl(wk_ListButton, {0, 150, 200, 174}, "", w, {}, 6);
      lbox_Add(drop, "x");
      log().clear();
      auto* sb = static_cast<QScrollBar*>(widget_of(bar));
      sb->setRange(0, 50);
      sb->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      sb->triggerAction(QAbstractSlider::SliderPageStepSub);
      as<QComboBox>(drop)->showPopup();
      as<QComboBox>(drop)->hidePopup();
      const auto ev = events_of<e_control>(w);
      QCOMPARE(ev.size(), std::size_t(4));
      QCOMPARE(std::get<scroll>(ev[0].info).code, int(sc_LineDown));
      QCOMPARE(std::get<scroll>(ev[0].info).pos, 1);
      QCOMPARE(ev[0].kind, int(wk_VScroll));
      QCOMPARE(std::get<scroll>(ev[1].info).code, int(sc_PageUp));
      QVERIFY(std::holds_alternative<dropdown>(ev[2].info) && std::holds_alternative<closeup>(ev[3].info));
      QCOMPARE(ev[2].window, drop);
      win_Destroy(w);
    });
  }

  void listBoxReportsSelectionDoubleClickAndEnter() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window list = win_CreateControl(wk_ListBox, {0, 0, 200, 150}, "", w, {csf_TabStop}, 10047);
      lbox_Add(list, std::vector<std::string>{"a", "b", "c"});
      lbox_SetSel(list, 0, 1);  // the program's own changes are not reported
      QVERIFY(notes(w).empty());
      QVERIFY(QTest::qWaitForWindowExposed(widget_of(list)));
      QWidget* vp = as<QListView>(list)->viewport();
      QTest::mouseClick(vp, Qt::LeftButton, {}, row_point(list, 1));
      QCOMPARE(lbox_GetSelIndex(list), std::optional<int>(1));
      auto n = notes(w);
      QVERIFY(std::find(n.begin(), n.end(), Note{10047, wk_ListBox, list, kSelChanged}) != n.end());

      log().clear();
      QTest::mouseDClick(vp, Qt::LeftButton, {}, row_point(list, 1));
      n = notes(w);
      QCOMPARE(std::count(n.begin(), n.end(), Note{10047, wk_ListBox, list, kActivated}), 1);

      log().clear();
      win_SetFocus(list);
      QTest::keyClick(widget_of(list), Qt::Key_Return);
      n = notes(w);
      QCOMPARE(std::count(n.begin(), n.end(), Note{10047, wk_ListBox, list, kActivated}), 1);

      // A list box without notification still reports Enter, but not clicks.
      const Window quiet = win_CreateControl(wk_ListBox, {210, 0, 390, 150}, "", w, {csf_NoNotify}, 7);
      lbox_Add(quiet, std::vector<std::string>{"x", "y"});
      log().clear();
      QTest::mouseClick(as<QListView>(quiet)->viewport(), Qt::LeftButton, {}, row_point(quiet, 1));
      QTest::keyClick(widget_of(quiet), Qt::Key_Enter);
      n = notes(w);
      QCOMPARE(std::count_if(n.begin(), n.end(), [&](const Note& x) { return x.ctl == quiet && x.info != kGetFocus; }), 1);
      QCOMPARE(std::count(n.begin(), n.end(), Note{7, wk_ListBox, quiet, kActivated}), 1);
      win_Destroy(w);
    });
  }

  void sortedListPlacesLines() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window sorted = win_CreateControl(wk_ListBox, {}, "", w, {csf_Sort}, 1);
      // Codes right-aligned in five places sort by value; letters case-insensitively,
      // Latin before Cyrillic, ё right after е.
      QCOMPARE(lbox_Add(sorted, -1, "   12|b"), 0);
      QCOMPARE(lbox_Add(sorted, -1, "    3|a"), 0);
      QCOMPARE(lbox_Add(sorted, -1, "  100|c"), 2);
      QCOMPARE(lbox_Add(sorted, -1, cp("ж")), 3);
      QCOMPARE(lbox_Add(sorted, -1, cp("Ё")), 3);
      QCOMPARE(lbox_Add(sorted, -1, cp("е")), 3);
      QCOMPARE(lbox_Add(sorted, -1, "Z"), 3);
      QCOMPARE(lbox_Add(sorted, -1, "a"), 3);
      QCOMPARE(lbox_GetAll(sorted), (std::vector<std::string>{"    3|a", "   12|b", "  100|c", "a", "Z",
                                                              cp("е"), cp("Ё"), cp("ж")}));
      // An explicit position is taken as it is, even in a sorted list; past the end is 6260.
      QCOMPARE(lbox_Add(sorted, 0, "zzz"), 0);
      QCOMPARE(lbox_GetItem(sorted, 0), std::string("zzz"));
      QCOMPARE(caught_code([&] { lbox_Add(sorted, lbox_CountAll(sorted) + 1, "x"); }), errcode::kListAddFailed);
      QCOMPARE(caught_code([&] { lbox_Add(sorted, -2, "x"); }), errcode::kListAddFailed);
      QCOMPARE(lbox_GetItem(sorted, 99), std::string());

      // Refilled at once: the sorted list sorts what it is given,
      // a plain list keeps the order given; the selection goes with the old lines.
      lbox_SetSel(sorted, 1, 1);
      lbox_SetAll(sorted, {"b", "  100|c", "B", "    3|a", "a"});
      QCOMPARE(lbox_GetAll(sorted), (std::vector<std::string>{"    3|a", "  100|c", "a", "B", "b"}));
      QVERIFY(!lbox_GetSelIndex(sorted));
      QVERIFY(lbox_Compare("    3|a", "   12|b") < 0 && lbox_Compare(cp("Ё"), cp("ж")) < 0);
      QVERIFY(lbox_Compare("B", "b") < 0 && lbox_Compare("b", "b") == 0);
      std::vector<std::string> many;
      for (int i = 0; i < 1000; ++i) many.push_back(std::to_string(100000 + i));
      lbox_SetAll(sorted, many);
      QCOMPARE(lbox_GetAll(sorted), many);
      QCOMPARE(lbox_Add(sorted, -1, "100500x"), 501);  // the blocks take later lines as before

      const Window plain = win_CreateControl(wk_ListBox, {}, "", w, {}, 2);
      lbox_SetAll(plain, {"z", "y"});
      QCOMPARE(lbox_GetAll(plain), (std::vector<std::string>{"z", "y"}));
      lbox_SetAll(plain, {});
      lbox_Add(plain, std::vector<std::string>{"c", "a"});
      lbox_Add(plain, 1, std::vector<std::string>{"x", "y"});
      QCOMPARE(lbox_GetAll(plain), (std::vector<std::string>{"c", "x", "y", "a"}));
      lbox_Delete(plain, 1);
      lbox_Delete(plain, 17);  // nothing there
      QCOMPARE(lbox_GetAll(plain), (std::vector<std::string>{"c", "y", "a"}));
      lbox_Clear(plain);
      QCOMPARE(lbox_CountAll(plain), 0);
      QCOMPARE(caught_code([&] { lbox_CountAll(w); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { lbox_Add(0x7777, "x"); }), errcode::kNotWindow);
      win_Destroy(w);
    });
  }

  void singleAndMultipleSelection() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window single = win_CreateControl(wk_ListBox, {}, "", w, {}, 1);
      lbox_Add(single, std::vector<std::string>{"a", "b", "c"});
      std::vector<std::string> lines{"stale"};
      std::vector<int> idx{9};
      lbox_GetSel(single, lines, idx);
      QVERIFY(lines.empty() && idx.empty());
      QVERIFY(!lbox_GetSelIndex(single));
      lbox_SetSel(single, 2, 1);
      lbox_SetSel(single, 1, 1);
      lbox_GetSel(single, lines, idx);
      QCOMPARE(lines, std::vector<std::string>{"b"});
      QCOMPARE(idx, std::vector<int>{1});
      QVERIFY(lbox_IsSel(single, 1) && !lbox_IsSel(single, 2));
      lbox_SetSel(single, 0, 0);  // clears whatever the index
      QVERIFY(!lbox_GetSelIndex(single));
      lbox_SetSel(single, 2, 1);
      lbox_Delete(single, 0);  // the selection follows its line
      QCOMPARE(lbox_GetSelIndex(single), std::optional<int>(1));

      const Window multi = win_CreateControl(wk_ListBox, {}, "", w, {csf_MultipleSel}, 2);
      lbox_Add(multi, std::vector<std::string>{"a", "b", "c", "d"});
      lbox_SetSel(multi, 3, 1);
      lbox_SetSel(multi, 0, 1);
      lbox_SetSel(multi, 2, 1);
      lbox_SetSel(multi, 2, 0);
      lbox_SetSel(multi, 0x10001, 1);  // the index is its low 16 bits
      lbox_GetSel(multi, lines, idx);
      QCOMPARE(idx, (std::vector<int>{0, 1, 3}));
      QCOMPARE(lines, (std::vector<std::string>{"a", "b", "d"}));
      win_Destroy(w);
    });
  }

  void combinedLists() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window le = win_CreateControl(wk_ListEdit, {0, 0, 200, 24}, "", w, {csf_Sort}, 1);
      const Window lb = win_CreateControl(wk_ListButton, {0, 30, 200, 54}, "", w, {}, 2);
      QCOMPARE(lbox_Add(le, cp("Проза")), 0);
      QCOMPARE(lbox_Add(le, cp("Поэзия")), 0);
      lbox_Add(lb, std::vector<std::string>{"x", "y"});
      // Adding does not select anything.
      QVERIFY(!lbox_GetSelIndex(le) && !lbox_GetSelIndex(lb));
      QCOMPARE(win_GetText(le), std::string());

      lbox_SetSel(le, 1, 1);
      QCOMPARE(win_GetText(le), cp("Проза"));
      std::vector<std::string> lines;
      std::vector<int> idx;
      lbox_GetSel(le, lines, idx);
      QCOMPARE(idx, std::vector<int>{1});
      QVERIFY(lbox_IsSel(le, 1) && !lbox_IsSel(le, 0));
      lbox_SetSel(le, 1, 0);
      QVERIFY(!lbox_GetSelIndex(le));
      QCOMPARE(win_GetText(le), std::string());

      // Deleting the last item resets the list edit: its edit line is cleared too.
      lbox_SetSel(le, 0, 1);
      lbox_Delete(le, 1);
      QCOMPARE(lbox_GetSelIndex(le), std::optional<int>(0));
      lbox_Delete(le, 0);
      QCOMPARE(lbox_CountAll(le), 0);
      QCOMPARE(win_GetText(le), std::string());
      win_SetText(le, "typed");
      lbox_Add(le, "a");
      QCOMPARE(win_GetText(le), std::string("typed"));
      lbox_Clear(le);
      QCOMPARE(win_GetText(le), std::string());

      // The user's choice is reported; deleting the chosen item leaves no selection.
      log().clear();
      auto* combo = as<QComboBox>(lb);
      combo->setFocus();
      QTest::keyClick(combo, Qt::Key_Down);
      QCOMPARE(lbox_GetSelIndex(lb), std::optional<int>(0));
      auto n = notes(w);
      QVERIFY(std::find(n.begin(), n.end(), Note{2, wk_ListButton, lb, kSelChanged}) != n.end());
      lbox_Delete(lb, 0);
      QVERIFY(!lbox_GetSelIndex(lb));
      QCOMPARE(lbox_GetAll(lb), std::vector<std::string>{"y"});
      win_Destroy(w);
    });
  }

  void setStateAndFocus() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window edit = win_CreateControl(wk_Edit, {0, 0, 100, 24}, "", w, {csf_TabStop}, 1);
      const Window other = win_CreateControl(wk_Edit, {0, 30, 100, 54}, "", w, {csf_TabStop}, 2);
      win_SetFocus(edit);
      QVERIFY(widget_of(edit)->hasFocus());
      win_SetState(edit, {st_Invisible});
      QCOMPARE(QApplication::focusWidget(), widget_of(w));
      QCOMPARE(win_GetState(edit)[0], int(st_Invisible));
      win_SetState(edit, {st_Visible, st_Disabled});
      QCOMPARE(win_GetState(edit), (std::vector<int>{st_Visible, st_Disabled}));
      win_SetFocus(other);
      win_SetState(other, {st_Disabled});
      QCOMPARE(QApplication::focusWidget(), widget_of(w));
      win_SetState(other, {st_Enabled});
      QVERIFY(widget_of(other)->isEnabled());

      // The window itself hears of its state changes, in order.
      log().clear();
      win_SetState(w, {st_Disabled, st_Enabled, st_Invisible, st_Visible});
      const auto states = events_of<e_state>(w);
      QCOMPARE(states.size(), std::size_t(4));
      QVERIFY(std::holds_alternative<disabled>(states[0].item));
      QVERIFY(std::holds_alternative<enabled>(states[1].item));
      QVERIFY(std::holds_alternative<invisible>(states[2].item));
      QVERIFY(std::holds_alternative<visible>(states[3].item));

      // The default push button moves.
      const Window ok = win_CreateControl(wk_PushButton, {}, "OK", w, {csf_DefPushButton}, 3);
      const Window cancel = win_CreateControl(wk_PushButton, {}, "Cancel", w, {}, 4);
      QCOMPARE(win_GetState(ok).back(), int(st_DefPushButton));
      win_SetState(cancel, {st_DefPushButton});
      QVERIFY(as<QPushButton>(cancel)->isDefault() && !as<QPushButton>(ok)->isDefault());
      QCOMPARE(caught_code([&] { win_SetState(edit, {st_DefPushButton}); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { win_SetState(edit, {}); }), errcode::kEmptyList);
      QCOMPARE(caught_code([&] { win_SetState(edit, {99}); }), errcode::kBadValue);
      win_Destroy(w);
    });
  }

  void checksAndRadioGroups() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window check = win_CreateControl(wk_CheckBox, {}, "c", w, {csf_Auto3State}, 1);
      win_Check(check, 2);
      QCOMPARE(win_IsChecked(check), 2);
      win_Check(check, 0);
      QCOMPARE(win_IsChecked(check), 0);
      QCOMPARE(caught_code([&] { win_Check(check, 3); }), errcode::kBadValue);
      const Window no_id = win_CreateControl(wk_CheckBox, {}, "n", w, {}, 0);
      win_Check(no_id, 1);
      QCOMPARE(win_IsChecked(no_id), 0);

      // Two groups of automatic radio buttons: a click clears only its own group.
      std::vector<Window> r;
      for (int i = 0; i < 4; ++i) {
        WinFlags f{csf_Auto};
        if (i % 2 == 0) f.push_back(csf_Group);
        r.push_back(win_CreateControl(wk_RadioButton, {0, 30 * i, 100, 30 * i + 24}, "r", w, f, 10 + i));
      }
      win_Check(r[0], 1);
      win_Check(r[2], 1);
      QTest::mouseClick(as<QRadioButton>(r[1]), Qt::LeftButton, {}, QPoint(5, 12));
      QCOMPARE((std::vector<int>{win_IsChecked(r[0]), win_IsChecked(r[1]), win_IsChecked(r[2]), win_IsChecked(r[3])}),
               (std::vector<int>{0, 1, 1, 0}));
      win_CheckRadioButton(r[3], {r[2], r[3]});
      QCOMPARE(win_IsChecked(r[2]), 0);
      QCOMPARE(win_IsChecked(r[3]), 1);
      win_CheckRadioButton(w, 10, 12, 10);
      QCOMPARE((std::vector<int>{win_IsChecked(r[0]), win_IsChecked(r[1]), win_IsChecked(r[2]), win_IsChecked(r[3])}),
               (std::vector<int>{1, 0, 0, 1}));
      win_Destroy(w);
    });
  }

  void editFieldOperations() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window edit = win_CreateControl(wk_Edit, {}, "hello world", w, {}, 1);
      win_SelectText(edit, 0, 5);
      int s = -1, e = -1;
      win_GetTextSelection(edit, s, e);
      QCOMPARE(std::pair(s, e), std::pair(0, 5));
      win_Clear(edit);
      QCOMPARE(win_GetText(edit), std::string(" world"));
      win_SelectText(edit, 1, -1);
      win_GetTextSelection(edit, s, e);
      QCOMPARE(std::pair(s, e), std::pair(1, 6));
      win_SetEditCtlReadOnly(edit, true);
      win_Clear(edit);
      QCOMPARE(win_GetText(edit), std::string(" world"));

      const Window multi = win_CreateControl(wk_Edit, {}, "ab\ncd", w, {csf_MultiLine}, 2);
      win_SelectText(multi, 3, 5);
      win_GetTextSelection(multi, s, e);
      QCOMPARE(std::pair(s, e), std::pair(3, 5));
      win_Clear(multi);
      QCOMPARE(win_GetText(multi), std::string("ab\n"));

      const Window upper = win_CreateControl(wk_Edit, {}, "", w, {csf_Upper}, 3);
      QTest::keyClicks(as<QLineEdit>(upper), "abc");
      QCOMPARE(win_GetText(upper), std::string("ABC"));
      QCOMPARE(caught_code([&] { win_SelectText(win_CreateControl(wk_ListBox, {}, "", w, {}, 4), 0, 1); }), errcode::kWrongKind);
      win_Destroy(w);
    });
  }

  // Cut, copy and paste act on the edit field with the focus, as its own keys would; the
  // program hears of every focus move, selection change and clipboard change.
  void clipboardOnTheFocusedTextField() {
    static int notices = 0;
    notices = 0;
    uix_SetTextFocusHandler([] { ++notices; });
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window edit = win_CreateControl(wk_Edit, {0, 0, 200, 24}, cp("Война и мир"), w, {csf_TabStop}, 1);
      const Window ro = win_CreateControl(wk_Edit, {0, 30, 200, 54}, "read only", w, {csf_ReadOnly, csf_TabStop}, 2);
      const Window list = win_CreateControl(wk_ListBox, {0, 60, 200, 160}, "", w, {csf_TabStop}, 3);
      clip_SetText(cp("Ёлка\nи снег"));
      QCOMPARE(clip_GetText(), std::optional<std::string>(cp("Ёлка\nи снег")));
      // Nothing with the focus on a list box: no field, nothing to do.
      win_SetFocus(list);
      QCOMPARE(win_GetFocus(), list);
      QVERIFY(!win_GetTextFocus().field);
      QVERIFY(!win_CopyToClipboard() && !win_CutToClipboard() && !win_PasteFromClipboard());

      int before = notices;
      win_SetFocus(edit);
      QVERIFY(notices > before);  // the focus moved
      QCOMPARE(win_GetFocus(), edit);
      TextFocus tf = win_GetTextFocus();
      QVERIFY(tf.field && tf.editable && !tf.selection);
      QVERIFY(!win_CutToClipboard());
      before = notices;
      win_SelectText(edit, 0, 5);
      QVERIFY(notices > before);  // the selection changed
      QVERIFY(win_GetTextFocus().selection);
      before = notices;
      QVERIFY(win_CutToClipboard());
      QVERIFY(notices > before);  // the clipboard changed
      QCOMPARE(clip_GetText(), std::optional<std::string>(cp("Война")));
      QCOMPARE(win_GetText(edit), cp(" и мир"));
      as<QLineEdit>(edit)->setCursorPosition(6);
      QVERIFY(win_PasteFromClipboard());
      QCOMPARE(win_GetText(edit), cp(" и мирВойна"));

      // A read-only field copies but takes neither cut nor paste.
      win_SetFocus(ro);
      win_SelectText(ro, 0, 4);
      tf = win_GetTextFocus();
      QVERIFY(tf.field && tf.selection && !tf.editable);
      QVERIFY(!win_CutToClipboard() && !win_PasteFromClipboard());
      QVERIFY(win_CopyToClipboard());
      QCOMPARE(clip_GetText(), std::optional<std::string>("read"));
      QCOMPARE(win_GetText(ro), std::string("read only"));

      // A multi-line field; no text on the clipboard, nothing to paste.
      const Window multi = win_CreateControl(wk_Edit, {0, 170, 200, 220}, "ab\ncd", w, {csf_MultiLine}, 4);
      win_SetFocus(multi);
      win_SelectText(multi, 1, 4);
      QVERIFY(win_CopyToClipboard());
      QCOMPARE(clip_GetText(), std::optional<std::string>("b\nc"));
      QGuiApplication::clipboard()->clear();
      QVERIFY(!clip_GetText());
      QVERIFY(!win_PasteFromClipboard());
      win_Destroy(w);
    });
    uix_SetTextFocusHandler(nullptr);
  }

  // A click on a window set to take no focus leaves the focus where it was; set back, the click
  // gives it the focus. A control cannot be set.
  void aWindowAClickGivesNoFocus() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window edit = win_CreateControl(wk_Edit, {0, 0, 200, 24}, "text", w, {csf_TabStop}, 1);
      const Window pad = win_Create(wk_Child, {0, 40, 120, 80}, "", res_menu{0}, w, {wsf_ClipSiblings},
                                    recording_handler, 0);
      QCOMPARE(caught_code([&] { win_SetClickFocus(edit, false); }), errcode::kWrongKind);
      win_SetClickFocus(pad, false);
      win_SetFocus(edit);
      QTest::mouseClick(find_record(pad)->client, Qt::LeftButton, {}, QPoint(5, 5));
      QCOMPARE(win_GetFocus(), edit);
      win_SetClickFocus(pad, true);
      QTest::mouseClick(find_record(pad)->client, Qt::LeftButton, {}, QPoint(5, 5));
      QCOMPARE(win_GetFocus(), pad);
      win_Destroy(w);
    });
  }

  void dialogUnitsAndAccessibleNames() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      // Dialog units follow the base units of the parent's font.
      const gui_detail::BaseUnits b = gui_detail::base_units(widget_of(w)->font());
      const Window du = gui_detail::create_control_du(w, wk_Edit, {8, 16, 48, 28}, "", {}, 5);
      const QRect g = widget_of(du)->geometry();
      QCOMPARE(g, QRect(8 * b.x / 4, 16 * b.y / 8, 40 * b.x / 4, 12 * b.y / 8));
      // In a dialog with a font of its own, pixels go through dialog units of the system font
      // into that font (the record is made to look like such a dialog for the call).
      const gui_detail::BaseUnits sys = gui_detail::system_base_units();
      QFont big = widget_of(w)->font();
      big.setPointSize(big.pointSize() * 2);
      widget_of(w)->setFont(big);
      const gui_detail::BaseUnits bb = gui_detail::base_units(big);
      QVERIFY(bb.x > sys.x);
      find_record(w)->kind = wk_ModelessDialog;
      find_record(w)->dialog_font = true;
      const Window mapped = win_CreateControl(wk_Edit, {sys.x * 10, sys.y * 2, sys.x * 30, sys.y * 4}, "", w, {}, 6);
      find_record(w)->kind = wk_TopLevel;
      QCOMPARE(widget_of(mapped)->geometry(), QRect(40 * bb.x / 4, 16 * bb.y / 8, 80 * bb.x / 4, 16 * bb.y / 8));

      const Window button = win_CreateControl(wk_PushButton, {}, cp("&Отмена"), w, {}, 1);
      const Window label = win_CreateControl(wk_Text, {}, cp("&Автор && соавтор"), w, {}, 2);
      const Window edit = win_CreateControl(wk_Edit, {}, "", w, {}, 3);
      const Window combo = win_CreateControl(wk_ListEdit, {}, "", w, {}, 4);
      gui_detail::set_control_label(edit, label);
      QCOMPARE(as<QLabel>(label)->buddy(), widget_of(edit));
      gui_detail::set_control_label(combo, label);
      auto name = [](Window c) {
        return QAccessible::queryAccessibleInterface(widget_of(c))->text(QAccessible::Name);
      };
      QCOMPARE(name(button), QString::fromUtf8("Отмена"));
      QCOMPARE(name(edit), QString::fromUtf8("Автор & соавтор"));
      QCOMPARE(widget_of(combo)->accessibleName(), QString::fromUtf8("Автор & соавтор"));
      QCOMPARE(name(combo), QString::fromUtf8("Автор & соавтор"));
      // List items are named by their text.
      const Window list = win_CreateControl(wk_ListBox, {}, "", w, {}, 9);
      lbox_Add(list, cp("Строка"));
      QAccessibleInterface* items = QAccessible::queryAccessibleInterface(widget_of(list));
      QCOMPARE(items->childCount(), 1);
      QCOMPARE(items->child(0)->text(QAccessible::Name), QString::fromUtf8("Строка"));
      win_Destroy(w);
    });
  }

  // A static text's mnemonic moves the focus to the next control, or to its labelled field.
  void labelMnemonicMovesTheFocus() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window first = win_CreateControl(wk_Edit, {0, 0, 100, 24}, "", w, {csf_TabStop}, 1);
      const Window label = win_CreateControl(wk_Text, {0, 30, 100, 54}, "&Name", w, {}, 2);
      const Window next = win_CreateControl(wk_Edit, {0, 60, 100, 84}, "", w, {csf_TabStop}, 3);
      const Window field = win_CreateControl(wk_Edit, {0, 90, 100, 114}, "", w, {csf_TabStop}, 4);
      QVERIFY(QTest::qWaitForWindowActive(widget_of(w)->window()));
      win_SetFocus(first);
      QTest::keyClick(widget_of(first), Qt::Key_N, Qt::AltModifier);
      QCOMPARE(QApplication::focusWidget(), widget_of(next));
      gui_detail::set_control_label(field, label);
      win_SetFocus(first);
      QTest::keyClick(widget_of(first), Qt::Key_N, Qt::AltModifier);
      QCOMPARE(QApplication::focusWidget(), widget_of(field));
      QCOMPARE(win_GetText(label), std::string("&Name"));
      win_Destroy(w);
    });
  }

  // A tab in a line of a list with tab expansion moves the text after it to the tab stop.
  void tabsExpandToTheListsStops() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window list = win_CreateControl(wk_ListBox, {0, 0, 380, 100}, "", w, {csf_UseTabStops, csf_NoBorder}, 1);
      lbox_Add(list, "W\tW");
      const int stop_du = 120;
      lbox_SetTabStops(list, {stop_du});
      const int stop_px = stop_du * gui_detail::base_units(widget_of(list)->font()).x / 4;
      QVERIFY(stop_px > 60 && stop_px < 330);
      auto* view = as<QListView>(list);
      QVERIFY(QTest::qWaitForWindowExposed(view));
      view->doItemsLayout();
      const QImage img = view->viewport()->grab().toImage();
      const QRect row0 = view->visualRect(row(list, 0));
      std::vector<int> ink;  // columns with dark pixels in the first row
      for (int x = 0; x < img.width(); ++x)
        for (int y = row0.top(); y <= row0.bottom(); ++y)
          if (qGray(img.pixel(x, y)) < 100) {
            ink.push_back(x);
            break;
          }
      QVERIFY(!ink.empty());
      QVERIFY(ink.front() < 30);
      const auto after = std::find_if(ink.begin(), ink.end(), [](int x) { return x >= 30; });
      QVERIFY(after != ink.end());
      QVERIFY2(std::abs(*after - stop_px) < 12, qPrintable(QString::number(*after) + " vs " + QString::number(stop_px)));
      win_Destroy(w);
    });
  }

  // A line wider than its list box is cut at the edge: a tail of blanks shows nothing, not an
  // ellipsis.
  void wideLinesAreCutNotElided() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window list = win_CreateControl(wk_ListBox, {0, 0, 200, 100}, "", w, {csf_NoBorder}, 1);
      win_SetFont(list, font_Create(ff_Fixed, {}, 10));
      lbox_Add(list, "1" + std::string(80, ' '));
      auto* view = as<QListView>(list);
      QVERIFY(QTest::qWaitForWindowExposed(view));
      view->doItemsLayout();
      const QImage img = view->viewport()->grab().toImage();
      const QRect row0 = view->visualRect(row(list, 0));
      const int digit_end = QFontMetrics(view->font()).horizontalAdvance(QStringLiteral("1")) + 8;
      for (int x = digit_end; x < img.width(); ++x)
        for (int y = row0.top(); y <= row0.bottom(); ++y)
          QVERIFY2(qGray(img.pixel(x, y)) > 200, qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
      win_Destroy(w);
    });
  }

  // Two group boxes side by side at one height, one with a caption and one without, draw their
  // frames' top lines at the same height, and the caption sits on that line.
  void groupBoxFramesLineUp() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window plain = win_CreateControl(wk_GroupBox, {10, 10, 150, 100}, "", w, {}, 1);
      const Window titled = win_CreateControl(wk_GroupBox, {160, 10, 300, 100}, cp("Обложка"), w, {}, 2);
      auto frame_top = [](QWidget* box) {
        const QImage img = box->grab().toImage();
        const QRgb back = img.pixel(img.width() / 2, img.height() / 2);
        const int x = img.width() - 10;  // right of any caption
        for (int y = 0; y < img.height(); ++y)
          if (img.pixel(x, y) != back) return y;
        return -1;
      };
      QWidget* a = widget_of(plain);
      QWidget* b = widget_of(titled);
      QVERIFY(QTest::qWaitForWindowExposed(a->window()));
      const int top_a = frame_top(a), top_b = frame_top(b);
      QVERIFY(top_a >= 0);
      QCOMPARE(top_b, top_a);
      QVERIFY(top_a < QFontMetrics(b->font()).height());
      win_Destroy(w);
    });
  }

  // The block storage of list lines against a plain vector, through inserts at random places,
  // sorted inserts and removals that split and empty blocks.
  void listModelKeepsOrderAcrossBlocks() {
    gui_detail::ListModel m;
    std::vector<std::string> ref;
    QRandomGenerator rng(7);
    for (int i = 0; i < 5000; ++i) {
      const std::string line = std::to_string(rng.bounded(100000));
      const int at = rng.bounded(static_cast<int>(ref.size()) + 1);
      m.insert(at, line);
      ref.insert(ref.begin() + at, line);
    }
    for (int i = 0; i < 4000; ++i) {
      const int at = rng.bounded(static_cast<int>(ref.size()));
      m.remove(at);
      ref.erase(ref.begin() + at);
    }
    QCOMPARE(m.all(), ref);
    QCOMPARE(m.rowCount(), 1000);
    QCOMPARE(m.at(999), ref[999]);

    gui_detail::ListModel s;
    std::vector<std::string> sorted_ref;
    for (int i = 0; i < 3000; ++i) {
      const std::string line = std::to_string(rng.bounded(1000));
      const int at = s.insert_sorted(line);
      QCOMPARE(s.at(at), line);
      sorted_ref.push_back(line);
    }
    std::stable_sort(sorted_ref.begin(), sorted_ref.end(),
                     [](const std::string& a, const std::string& b) { return gui_detail::list_compare(a, b) < 0; });
    QCOMPARE(s.all(), sorted_ref);
  }

  // A subclass handler receives the control's own input: a key or mouse button it succeeds for
  // never reaches the control, anything else does; clicks on a list's inner area come in the
  // control's coordinates, once. Taking the handler away gives the control back its input.
  void subclassHandlerTakesTheControlsInput() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window edit = win_CreateControl(wk_Edit, {0, 0, 200, 24}, "", w, {csf_TabStop}, 1);
      const Window button = win_CreateControl(wk_PushButton, {0, 30, 80, 54}, "Go", w, {}, 2);
      const Window list = win_CreateControl(wk_ListBox, {0, 60, 200, 160}, "", w, {}, 3);
      for (Window c : {edit, button, list}) win_SetSubClassHandler(c, recording_handler);
      behaviour() = [edit, button](Window c, const Event& ev) -> std::optional<long> {
        if (const auto* k = std::get_if<e_keydown>(&ev); c == edit && k && k->key == 'X') return 0;
        if (c == button && (std::holds_alternative<e_mousedown>(ev) || std::holds_alternative<e_mouseup>(ev))) return 0;
        return std::nullopt;
      };
      win_SetFocus(edit);
      QCOMPARE(events_of<e_getfocus>(edit).size(), std::size_t(1));
      QTest::keyClicks(as<QLineEdit>(edit), "aXb");
      QCOMPARE(as<QLineEdit>(edit)->text(), QString("ab"));
      std::vector<int> keys;
      for (const e_keydown& k : events_of<e_keydown>(edit)) keys.push_back(k.key);
      QCOMPARE(keys, (std::vector<int>{'A', 'X', 'B'}));
      QCOMPARE(events_of<e_char>(edit).front().ch, int('a'));

      log().clear();
      QTest::mouseClick(as<QPushButton>(button), Qt::LeftButton, {}, QPoint(6, 7));
      QCOMPARE(events_of<e_mousedown>(button).size(), std::size_t(1));
      QCOMPARE(events_of<e_mousedown>(button)[0].point, (Point{6, 7}));
      for (const Note& n : notes(w)) QVERIFY(n.info != kActivated);  // the button never saw the click

      QWidget* inner = as<QListView>(list)->viewport();
      QTest::mouseClick(inner, Qt::LeftButton, {}, QPoint(5, 5));
      const QPoint at = inner->mapTo(widget_of(list), QPoint(5, 5));
      QCOMPARE(events_of<e_mousedown>(list).size(), std::size_t(1));
      QCOMPARE(events_of<e_mousedown>(list)[0].point, (Point{at.x(), at.y()}));

      for (Window c : {edit, button, list}) win_SetSubClassHandler(c, nullptr);
      log().clear();
      QTest::keyClicks(as<QLineEdit>(edit), "X");
      QTest::mouseClick(as<QPushButton>(button), Qt::LeftButton);
      QCOMPARE(as<QLineEdit>(edit)->text(), QString("abX"));
      QVERIFY(events_of<e_keydown>(edit).empty());
      QCOMPARE(notes(w).back(), (Note{2, wk_PushButton, button, kActivated}));
      win_Destroy(w);
    });
  }

  // Custom controls of a registered class: its handler, e_create, the events and drawing of a
  // window of the layer, found by id; made from definition lists into windows and dialogs.
  void customControlsFromDefinitionLists() {
    class_Create("Meter", recording_handler);
    QCOMPARE(caught_code([] { class_Create("Meter", recording_handler); }), errcode::kClassNotRegistered);
    QCOMPARE(caught_code([] { class_Create("", recording_handler); }), errcode::kClassNotRegistered);
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window first = win_CreateDynControl(
          {wdef_control{wk_PushButton, {0, 0, 60, 24}, "OK", 1, {}}, wdef_custom{"Meter", {70, 0, 170, 40}, "m", 400, {csf_TabStop}}},
          w);
      QCOMPARE(win_GetType(first), int(wk_PushButton));
      const Window meter = win_GetCtlHandle(w, 400);
      QCOMPARE(win_GetType(meter), int(wk_Custom));
      QCOMPARE(win_GetParent(meter), w);
      QCOMPARE(win_GetText(meter), std::string("m"));
      QCOMPARE(win_GetClientRect(meter), (Rect{0, 0, 100, 40}));
      QCOMPARE(events_of<e_create>(meter).size(), std::size_t(1));
      QTest::mouseClick(widget_of(meter), Qt::LeftButton, {}, QPoint(7, 8));
      QCOMPARE(events_of<e_mousedown>(meter).at(0).point, (Point{7, 8}));
      win_Move(meter, {80, 0, 180, 40});
      QVERIFY(!events_of<e_move>(meter).empty());
      QCOMPARE(events_of<e_move>(meter).back().x, 80);
      QCOMPARE(win_SendEvent(meter, e_user{5, 6}), 0L);
      QCOMPARE(events_of<e_user>(meter).size(), std::size_t(1));
      win_SetBrush(meter, Brush{pat_Solid, uix_ComposeRGB(0, 0, 255)});
      draw_Rect(meter, {0, 0, 10, 10});
      QCOMPARE(find_record(meter)->surface->image().pixel(5, 5) & 0xFFFFFF, 0x0000FFu);

      QCOMPARE(caught_code([&] { win_CreateDynControl({}, w); }), errcode::kEmptyList);
      QCOMPARE(caught_code([&] { win_CreateDynControl({wdef_control{}, wdef_child{}}, w); }), errcode::kBadDefinition);
      QCOMPARE(caught_code([&] { win_CreateDynControl({wdef_custom{"NoSuchClass", {}, "", 9, {}}}, w); }), errcode::kControlNotCreated);
      QCOMPARE(caught_code([&] { win_CreateDynControl({wdef_custom{"Meter", {}, "", 9, {}}}, first); }), errcode::kWrongKind);
      QCOMPARE(win_GetChildWindows(w).size(), std::size_t(2));

      const Window child = win_CreateDyn({wdef_child{{0, 50, 200, 150}, "", 7, {}}, wdef_custom{"Meter", {5, 5, 50, 30}, "", 401, {}}},
                                         w, recording_handler, 0);
      QCOMPARE(win_GetType(win_GetCtlHandle(child, 401)), int(wk_Custom));
      const Window dlg = win_CreateDynDialog({wdef_dialog{wk_ModelessDialog, {10, 10, 250, 130}, "Dyn", {wsf_TitleBar}, std::nullopt},
                                              wdef_custom{"Meter", {8, 8, 80, 40}, "d", 402, {}}},
                                             task, recording_handler, 0);
      const Window in_dialog = win_GetCtlHandle(dlg, 402);
      QCOMPARE(win_GetType(in_dialog), int(wk_Custom));
      QCOMPARE(events_of<e_create>(in_dialog).size(), std::size_t(1));
      win_Destroy(dlg);
      win_Destroy(w);
      QCOMPARE(events_of<e_destroy>(meter).size(), std::size_t(1));
    });
    QVERIFY(class_Destroy("Meter"));
    QVERIFY(!class_Destroy("Meter"));
  }

  // The range and position of a scroll bar are set and read without a notification; the
  // position stays inside the range; the user's moves are read back.
  void scrollBarRangeAndPosition() {
    run_in_task([](Window task) {
      const Window w = make_window(task);
      const Window bar = win_CreateControl(wk_HScroll, {0, 0, 200, 16}, "", w, {}, 5);
      const Window edit = win_CreateControl(wk_Edit, {0, 30, 200, 54}, "", w, {}, 6);
      log().clear();
      win_SetScrollRange(bar, -5, 40);
      win_SetScrollPos(bar, 12);
      int lo = 0, hi = 0;
      win_GetScrollRange(bar, lo, hi);
      QCOMPARE((std::pair{lo, hi}), (std::pair{-5, 40}));
      QCOMPARE(win_GetScrollPos(bar), 12);
      QCOMPARE(as<QScrollBar>(bar)->value(), 12);
      win_SetScrollPos(bar, 99);
      QCOMPARE(win_GetScrollPos(bar), 40);
      win_SetScrollRange(bar, 0, 30);
      QCOMPARE(win_GetScrollPos(bar), 30);
      QVERIFY(notes(w).empty());
      as<QScrollBar>(bar)->triggerAction(QAbstractSlider::SliderSingleStepSub);
      QCOMPARE(win_GetScrollPos(bar), 29);
      QCOMPARE(std::get<scroll>(events_of<e_control>(w).at(0).info).pos, 29);

      QCOMPARE(caught_code([&] { win_SetScrollRange(bar, 10, 5); }), errcode::kBadValue);
      QCOMPARE(caught_code([&] { win_SetScrollPos(edit, 1); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { win_GetScrollPos(w); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { win_GetScrollPos(0x7777); }), errcode::kNotWindow);
      win_Destroy(w);
    });
  }
};

QTEST_MAIN(ControlTests)
#include "control_tests.moc"

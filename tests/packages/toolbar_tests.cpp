// The toolbar package through real toolbar windows on the offscreen platform: layout, the task
// window's client margins, clicks, tooltips and the help line, control values, and the drawn
// bitmaps of each button state.
#include <QCursor>
#include <QImage>
#include <QMdiArea>
#include <QMouseEvent>
#include <QWidget>

#include "internal/paint_surface.h"
#include "internal/task_data.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "packages/packages_part.h"
#include "packages/toolbar.h"
#include "runtime/run_error.h"
#include "toolbar_layout.h"
#include "toolbar_state.h"

using namespace layer_test;
using gui_detail::find_record;
using namespace toolbar_detail;

namespace {

constexpr Color kGrey = 0xC0C0C0;

tb_ctrl button(std::int32_t id, std::int32_t up, std::int32_t down, std::int32_t grey, const std::string& text) {
  return tb_ctrl{id, pushb, up, down, grey, text, true, true};
}

// The project toolbar of the task window and its help line.
std::vector<toolbar_control> project_controls() {
  return {button(10077, 10073, 10072, 10073, "New;New file"),
          button(10078, 10071, 10070, 10071, "Open;Open file"),
          button(10079, 10069, 10068, 10069, "Save;File save"),
          separator{},
          button(10080, 10065, 10064, 10065, "Undo;Undo"),
          button(10081, 10063, 10062, 10063, "Redo;Redo"),
          separator{},
          button(10082, 10061, 10060, 10061, "Cut;Cut to clipboard"),
          button(10083, 10059, 10058, 10059, "Copy;Copy to clipboard"),
          button(10084, 10057, 10056, 10057, "Paste;Paste from clipboard"),
          separator{},
          separator{},
          button(10044, 10067, 10066, 10067, "Help;Help")};
}
std::vector<toolbar_control> help_line(const std::string& initial = "") {
  return {tb_text{10085, tb_context, 452, 0, 4, 10, 0, initial}};
}

QWidget* widget_of(Window w) { return find_record(w)->client; }

Rect rect_of(Window toolbar, std::int32_t id) {
  for (const ControlRecord& c : controls_of(toolbar))
    if (c.id() == id) return c.rect();
  return {};
}
QPoint centre(const Rect& r) { return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// A mouse move over a layer window without buttons, as the platform would deliver it; the
// cursor is put there too (the tooltip's hide timer looks at the cursor).
void move_mouse(Window w, QPoint at) {
  QWidget* widget = widget_of(w);
  QCursor::setPos(widget->mapToGlobal(at));
  QMouseEvent ev(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                 Qt::NoModifier);
  QApplication::sendEvent(widget, &ev);
}

std::string help_text(Window owner) {
  const std::optional<toolbar_value> v = toolbar_GetValue(owner, 10085);
  return v && std::holds_alternative<text_value>(*v) ? std::get<text_value>(*v).text : "<none>";
}

bool tip_visible(Window toolbar) {
  const Window tip = find_toolbar(toolbar)->tip_win;
  return find_record(tip)->client->isVisible();
}

std::vector<e_menu> menus_of(Window w) { return events_of<e_menu>(w); }

std::int32_t margin(int attr) { return uix_GetAttrVal(attr); }

}  // namespace

class ToolbarTests : public QtSuite {
  Q_OBJECT

 public:
  ToolbarTests() : QtSuite(packages_RegisterPart) {}

 private:
  void set_up() override { reset(); }
  void tear_down() override { QVERIFY(all_toolbars().empty()); }

 private slots:
  void layoutOfRowsSeparatorsAndEmptyLists() {
    using M = Measured;
    const M b{M::control, 24, 24}, gap{M::gap}, row{M::row};
    // One separator leaves its room besides the gap; two in a row leave twice that room.
    Layout l = lay_out({b, gap, b, gap, gap, b}, false);
    QCOMPARE(l.rects[0], (Rect{kMargin, kMargin, kMargin + 24, kMargin + 24}));
    const int single = l.rects[2].left - l.rects[0].right;
    const int twice = l.rects[5].left - l.rects[2].right;
    QCOMPARE(single, kControlGap + kSeparator);
    QCOMPARE(twice, kControlGap + 2 * kSeparator);
    QCOMPARE(l.width, l.rects[5].right + kMargin);
    QCOMPARE(l.height, 24 + 2 * kMargin);
    // A new row starts at the margin, one row height and a row gap lower; a lower control is
    // centred in the row height of the whole list.
    l = lay_out({b, row, M{M::control, 10, 16}}, false);
    QCOMPARE(l.rects[2], (Rect{kMargin, kMargin + 24 + kRowGap + 4, kMargin + 10, kMargin + 24 + kRowGap + 20}));
    QCOMPARE(l.height, 2 * kMargin + 2 * 24 + kRowGap);
    QCOMPARE(l.width, 2 * kMargin + 24);
    // Two new rows in a row leave no empty row between.
    l = lay_out({b, row, row, b}, false);
    QCOMPARE(l.rects[3].top, kMargin + 24 + kRowGap);
    // A vertical toolbar runs top to bottom, its columns as wide as the widest control.
    l = lay_out({M{M::control, 24, 24}, gap, M{M::control, 16, 16}}, true);
    QCOMPARE(l.rects[2], (Rect{kMargin + 4, kMargin + 24 + kControlGap + kSeparator, kMargin + 20,
                               kMargin + 24 + kControlGap + kSeparator + 16}));
    QCOMPARE(l.width, 2 * kMargin + 24);
    // Nothing measured: one empty 16 x 16 cell.
    for (const std::vector<M>& nothing : {std::vector<M>{}, std::vector<M>{gap, row}}) {
      l = lay_out(nothing, false);
      QCOMPARE(l.width, 2 * kMargin + kEmptyCell);
      QCOMPARE(l.height, 2 * kMargin + kEmptyCell);
    }
  }

  void tooltipAndHelpTextsOfAControlText() {
    const toolbar_texts help = toolbar_SplitText("Help;Help");
    QCOMPARE(help.tooltip, std::string("Help"));
    QCOMPARE(help.help, std::string("Help"));
    const toolbar_texts plain = toolbar_SplitText("Open file");
    QCOMPARE(plain.tooltip, std::string());
    QCOMPARE(plain.help, std::string("Open file"));
    const toolbar_texts two = toolbar_SplitText("a;b;c");  // the first ";" divides
    QCOMPARE(two.tooltip, std::string("a"));
    QCOMPARE(two.help, std::string("b;c"));
  }

  void edgeToolbarsKeepTheMdiAreaFree() {
    // As the program's task window: the toolbars are made while its e_create is handled, and
    // re-laid on a size change.
    static Window top = 0, bottom = 0;
    behaviour() = [](Window w, const Event& ev) -> std::optional<long> {
      if (win_GetType(w) != wk_Task) return std::nullopt;
      if (std::holds_alternative<e_create>(ev)) {
        top = toolbar_create(tb_top{}, kGrey, w, project_controls());
        bottom = toolbar_create(tb_bottom{}, kGrey, w, help_line());
      }
      if (std::holds_alternative<e_size>(ev)) toolbar_resize(w);
      return std::nullopt;
    };
    run_in_task([](Window task) {
      QVERIFY(toolbar_IsToolbar(top) && toolbar_IsToolbar(bottom));
      const Rect client = win_GetClientRect(task);
      // The project toolbar: one row of 24-pixel buttons, with the double separator before Help.
      const std::optional<Rect> tr = toolbar_GetRect(task, tb_top{});
      QVERIFY(tr);
      QCOMPARE(*tr, (Rect{0, 0, client.right, 24 + 2 * kMargin}));
      QCOMPARE(rect_of(top, 10044).left - rect_of(top, 10084).right,
               kControlGap + 2 * (rect_of(top, 10080).left - rect_of(top, 10079).right - kControlGap));
      const std::optional<Rect> br = toolbar_GetRect(task, tb_bottom{});
      QVERIFY(br);
      QCOMPARE(br->bottom, client.bottom);
      QVERIFY(br->bottom - br->top > 2 * kMargin);
      QVERIFY(!toolbar_GetRect(task, tb_left{}));
      // The MDI area lies between the two toolbars.
      QCOMPARE(margin(xQbx_tBarheight), tr->bottom);
      QCOMPARE(margin(xQbx_sBarheight), br->bottom - br->top);
      const QRect mdi = gui_detail::task()->mdi_client->geometry();
      QCOMPARE(mdi.top(), tr->bottom);
      QCOMPARE(mdi.bottom() + 1, br->top);

      // After a size change the toolbars fit themselves to the new client area.
      const Rect outer = win_GetClientRect(task);
      win_Move(task, Rect{40, 40, 40 + outer.right + 120, 40 + outer.bottom + 90});
      const Rect grown = win_GetClientRect(task);
      QVERIFY(wait_until([&] {
        return widget_of(top)->width() == grown.right && widget_of(bottom)->geometry().bottom() + 1 == grown.bottom;
      }));
      QCOMPARE(gui_detail::task()->mdi_client->geometry().bottom() + 1, grown.bottom - (br->bottom - br->top));

      // Removing the task window's toolbars gives the room back.
      toolbar_remove(task);
      QCOMPARE(win_GetType(top), int(wk_NotAWindow));
      QCOMPARE(win_GetType(bottom), int(wk_NotAWindow));
      QCOMPARE(margin(xQbx_tBarheight), 0);
      QCOMPARE(margin(xQbx_sBarheight), 0);
      QCOMPARE(gui_detail::task()->mdi_client->geometry().top(), 0);
    });
  }

  void removeGivesBackOnlyTheToolbarsRoom() {
    run_in_task([](Window task) {
      // Room that someone else asked for stays.
      uix_SetAttrVal(xQbx_tBarheight, 5);
      uix_SetAttrVal(xQbx_lBarheight, 3);
      const Window child = win_Create(wk_TopLevel, Rect{10, 10, 200, 120}, "child", no_menu{}, task,
                                      {wsf_SizeBorder, wsf_TitleBar}, recording_handler, 0);
      // No toolbars anywhere: removing does nothing and succeeds.
      toolbar_remove(child);
      toolbar_remove(task);
      QCOMPARE(margin(xQbx_tBarheight), 5);
      QCOMPARE(margin(xQbx_lBarheight), 3);

      const Window top = toolbar_create(tb_top{}, kGrey, task, project_controls());
      const Window left = toolbar_create(tb_left{}, kGrey, task, {button(1, 10061, 10060, 10055, "Cut")});
      const int height = toolbar_GetRect(task, tb_top{})->bottom;
      const Rect lr = *toolbar_GetRect(task, tb_left{});
      QCOMPARE(lr.top, height);  // under the top toolbar
      QCOMPARE(margin(xQbx_tBarheight), 5 + height);
      QCOMPARE(margin(xQbx_lBarheight), 3 + (lr.right - lr.left));
      // A window without toolbars of its own leaves the task window's toolbars alone.
      toolbar_remove(child);
      QVERIFY(toolbar_IsToolbar(top) && toolbar_IsToolbar(left));
      QCOMPARE(margin(xQbx_tBarheight), 5 + height);
      // One toolbar removed by its own window.
      toolbar_remove(left);
      QCOMPARE(margin(xQbx_lBarheight), 3);
      QVERIFY(toolbar_IsToolbar(top));
      toolbar_remove(task);
      QCOMPARE(margin(xQbx_tBarheight), 5);
      win_Destroy(child);
    });
  }

  void clickOnAnEnabledButtonPostsItsMenuCommand() {
    run_in_task([](Window task) {
      const Window top = toolbar_create(tb_top{}, kGrey, task, project_controls());
      QWidget* w = widget_of(top);
      const QPoint help = centre(rect_of(top, 10044));
      QTest::mousePress(w, Qt::LeftButton, {}, help);
      QVERIFY(menus_of(task).empty());  // the press only holds the button
      QCOMPARE(held()->control, std::int32_t(12));
      QTest::mouseRelease(w, Qt::LeftButton, {}, help);
      QVERIFY(wait_until([&] { return !menus_of(task).empty(); }));
      QCOMPARE(menus_of(task).size(), std::size_t(1));
      QCOMPARE(menus_of(task)[0].tag, 10044);
      QCOMPARE(menus_of(task)[0].shift, 0);
      QVERIFY(!held());

      // A double click is two clicks.
      log().clear();
      QTest::mouseClick(w, Qt::LeftButton, {}, help);  // press, release, double click, release
      QTest::mouseDClick(w, Qt::LeftButton, {}, help);
      QTest::mouseRelease(w, Qt::LeftButton, {}, help);
      QVERIFY(wait_until([&] { return menus_of(task).size() == 2; }));

      // A release away from the held button, a disabled button and a gap do nothing.
      log().clear();
      QTest::mousePress(w, Qt::LeftButton, {}, help);
      QTest::mouseRelease(w, Qt::LeftButton, {}, centre(rect_of(top, 10077)));
      QVERIFY(toolbar_SetValue(task, 10077, ctrl_value{false, true}));
      QTest::mouseClick(w, Qt::LeftButton, {}, centre(rect_of(top, 10077)));
      QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(rect_of(top, 10084).right + 2, 10));
      QTest::qWait(50);
      QVERIFY(menus_of(task).empty());
      QVERIFY(!held());
      toolbar_remove(top);
    });
  }

  // The focused edit field keeps the focus through a click on a toolbar: its command acts on it.
  void aClickLeavesTheFocusWhereItWas() {
    run_in_task([](Window task) {
      const Window top = toolbar_create(tb_top{}, kGrey, task, project_controls());
      const Window w = win_Create(wk_TopLevel, Rect{10, 60, 300, 200}, "edit", no_menu{}, task,
                                  {wsf_SizeBorder, wsf_TitleBar}, recording_handler, 0);
      const Window edit = win_CreateControl(wk_Edit, {0, 0, 200, 24}, "text", w, {csf_TabStop}, 1);
      win_SetFocus(edit);
      QTest::mouseClick(widget_of(top), Qt::LeftButton, {}, centre(rect_of(top, 10083)));
      QVERIFY(wait_until([&] { return !menus_of(task).empty(); }));
      QCOMPARE(win_GetFocus(), edit);
      QTest::mouseDClick(widget_of(top), Qt::LeftButton, {}, centre(rect_of(top, 10083)));
      QCOMPARE(win_GetFocus(), edit);
      // A focus that went to the task window before the click stays there.
      win_SetFocus(task);
      QTest::mouseClick(widget_of(top), Qt::LeftButton, {}, centre(rect_of(top, 10083)));
      QCOMPARE(win_GetFocus(), task);
      win_Destroy(w);
      toolbar_remove(top);
    });
  }

  void anActionOfTheProgramReceivesTheClick() {
    static std::vector<std::pair<Window, std::int32_t>> clicks;
    clicks.clear();
    run_in_task([](Window task) {
      const Window tb = toolbar_create(tb_inside{Point{30, 40}}, kGrey, task, {button(7, 10051, 10050, 10049, "Card")},
                                       [](Window t, std::int32_t id) { clicks.emplace_back(t, id); });
      QCOMPARE(*toolbar_GetRect(task, tb_inside{}), (Rect{30, 40, 30 + 24 + 2 * kMargin, 40 + 24 + 2 * kMargin}));
      QCOMPARE(margin(xQbx_tBarheight), 0);  // not an edge toolbar: no room taken
      QTest::mouseClick(widget_of(tb), Qt::LeftButton, {}, centre(rect_of(tb, 7)));
      QCOMPARE(clicks.size(), std::size_t(1));
      QCOMPARE(clicks[0], std::make_pair(tb, std::int32_t(7)));
      QTest::qWait(30);
      QVERIFY(menus_of(task).empty());
      toolbar_remove(tb);
    });
  }

  void aFreeStandingToolbarClicksForItsOwner() {
    run_in_task([](Window task) {
      const Window tb = toolbar_create(tb_moveable{Point{300, 200}, "Tools"}, kGrey, task,
                                       {button(10044, 10067, 10066, 10067, "Help;Help")});
      QCOMPARE(win_GetType(tb), int(wk_TopLevel));
      QCOMPARE(win_GetText(tb), std::string("Tools"));
      QCOMPARE(win_GetClientRect(tb), (Rect{0, 0, 24 + 2 * kMargin, 24 + 2 * kMargin}));
      QCOMPARE(margin(xQbx_tBarheight), 0);
      QTest::mouseClick(widget_of(tb), Qt::LeftButton, {}, centre(rect_of(tb, 10044)));
      QVERIFY(wait_until([&] { return !menus_of(task).empty(); }));
      QCOMPARE(menus_of(task)[0].tag, 10044);
      toolbar_remove(task);  // the task window owns it
      QCOMPARE(win_GetType(tb), int(wk_NotAWindow));
    });
  }

  void aMissingBitmapLeavesNothingBehind() {
    run_in_task([](Window task) {
      const std::size_t windows = gui_detail::all_records().size();
      int code = 0;
      try {
        toolbar_create(tb_top{}, kGrey, task, {tb_text{1, tb_static, 50, 0, 4, 10, 0, "x"}, button(2, 4242, 4242, 4242, "x")});
      } catch (const RunError& e) {
        code = e.code();
      }
      QCOMPARE(code, errcode::kNoBitmapResource);
      QVERIFY(all_toolbars().empty());
      QCOMPARE(margin(xQbx_tBarheight), 0);
      QTest::qWait(20);
      std::size_t alive = 0;
      for (const gui_detail::WindowRecord* r : gui_detail::all_records()) alive += r->dying ? 0 : 1;
      QCOMPARE(alive, windows);
    });
  }

  // A handler ends the run while a toolbar is open: its facts go with it, its room comes back.
  void theEndOfTheRunTakesTheToolbarsFacts() {
    try {
      run_in_task([](Window task) {
        toolbar_create(tb_top{}, kGrey, task, project_controls());
        behaviour() = [](Window, const Event& ev) -> std::optional<long> {
          if (std::holds_alternative<e_user>(ev)) RUN_Exit(0);
          return std::nullopt;
        };
        win_PostEvent(task, e_user{1, 0});
        QTest::qWait(100);
      });
    } catch (const RunExit&) {
    }
    QVERIFY(all_toolbars().empty());
    QCOMPARE(margin(xQbx_tBarheight), 0);
  }

  void theHelpLineOfTheToolbarsOwnWindowComesFirst() {
    run_in_task([](Window task) {
      toolbar_create(tb_bottom{}, kGrey, task, help_line("task"));
      const Window list = win_Create(wk_TopLevel, Rect{10, 10, 400, 200}, "list", no_menu{}, task,
                                     {wsf_SizeBorder, wsf_TitleBar}, recording_handler, 0);
      const Window tools = toolbar_create(tb_top{}, uix_ComposeRGB(128, 128, 128), list,
                                          {button(10074, 10061, 10060, 10055, "Delete")});
      // Without a help line of its own, the task window's serves.
      move_mouse(tools, centre(rect_of(tools, 10074)));
      QCOMPARE(help_text(task), std::string("Delete"));
      move_mouse(tools, QPoint(1, 1));
      QCOMPARE(help_text(task), std::string("task"));
      // With one, the window's own help line shows the text and the task window's stays.
      const Window own = toolbar_create(tb_bottom{}, kGrey, list, help_line("list"));
      move_mouse(tools, centre(rect_of(tools, 10074)));
      QCOMPARE(help_text(list), std::string("Delete"));
      QCOMPARE(help_text(task), std::string("task"));
      // The list window lays out its client area below its toolbar and above its help line.
      const Rect client = win_GetClientRect(list);
      QCOMPARE(toolbar_GetRect(list, tb_top{})->right, client.right);
      QCOMPARE(toolbar_GetRect(list, tb_bottom{})->bottom, client.bottom);
      QCOMPARE(win_GetClientRect(own).bottom, toolbar_GetRect(list, tb_bottom{})->bottom - toolbar_GetRect(list, tb_bottom{})->top);
      win_Destroy(list);
      QVERIFY(all_toolbars().size() == 1);
      QCOMPARE(help_text(task), std::string("task"));
    });
  }

  void tooltipAndHelpLineFollowTheMouse() {
    run_in_task([](Window task) {
      const Window top = toolbar_create(
          tb_top{}, kGrey, task,
          {button(1, 10067, 10066, 10067, "Help;Help"), button(2, 10073, 10072, 10073, "Opens a file"),
           button(3, 10071, 10070, 10071, "Open;Open file")});
      toolbar_create(tb_bottom{}, kGrey, task, help_line("Ready"));
      QCOMPARE(help_text(task), std::string("Ready"));

      // Onto "Help;Help": the help line at once, the tooltip after the first-time delay.
      move_mouse(top, centre(rect_of(top, 1)));
      QCOMPARE(help_text(task), std::string("Help"));
      QVERIFY(!tip_visible(top));
      QVERIFY(tip_of(top)->first_timer != 0 && tip_of(top)->show_timer == 0);
      QVERIFY(wait_until([&] { return tip_visible(top); }));
      QCOMPARE(tip_of(top)->text, std::string("Help"));
      QVERIFY(tip_of(top)->in_use);
      const Rect tip_at = win_GetOuterRect(find_toolbar(top)->tip_win);
      QVERIFY(tip_at.top > win_GetOuterRect(top).top);  // below the mouse

      // Onto a text without ";": the whole text in the help line and no tooltip at all.
      move_mouse(top, centre(rect_of(top, 2)));
      QCOMPARE(help_text(task), std::string("Opens a file"));
      QVERIFY(!tip_visible(top));
      QTest::qWait(700);
      QVERIFY(!tip_visible(top));

      // Tooltips in use: the next control's tooltip follows after the short delay.
      move_mouse(top, centre(rect_of(top, 3)));
      QCOMPARE(help_text(task), std::string("Open file"));
      QVERIFY(tip_of(top)->show_timer != 0 && tip_of(top)->first_timer == 0);
      QVERIFY(wait_until([&] { return tip_visible(top); }));
      QCOMPARE(tip_of(top)->text, std::string("Open"));

      // Off the controls but still on the toolbar: the help line's own text, no tooltip.
      move_mouse(top, QPoint(rect_of(top, 3).right + 30, 10));
      QCOMPARE(help_text(task), std::string("Ready"));
      QVERIFY(!tip_visible(top));

      // Onto a control and then away from the toolbar without a move over it: the hide timer
      // notices, ends the tooltips and gives the help line its text back.
      move_mouse(top, centre(rect_of(top, 1)));
      QCOMPARE(help_text(task), std::string("Help"));
      QCursor::setPos(widget_of(top)->mapToGlobal(QPoint(10, 200)));
      QVERIFY(wait_until([&] { return help_text(task) == "Ready" && !tip_of(top)->in_use; }));
      QVERIFY(!tip_visible(top));
      const TipRecord idle = *tip_of(top);
      QCOMPARE(idle.first_timer + idle.show_timer + idle.hide_timer, 0);
      toolbar_remove(task);
    });
  }

  // A new help-line text keeps the tooltip, shows at once under the mouse, and a text without
  // a tooltip stays without one even when the new text holds a ";".
  void aButtonsHelpTextChangesWhileItRuns() {
    run_in_task([](Window task) {
      const Window top = toolbar_create(tb_top{}, kGrey, task,
                                        {button(1, 10065, 10064, 10065, "Undo;Undo"),
                                         button(2, 10073, 10072, 10073, "Opens a file")});
      toolbar_create(tb_bottom{}, kGrey, task, help_line("Ready"));
      move_mouse(top, centre(rect_of(top, 1)));
      QCOMPARE(help_text(task), std::string("Undo"));
      QVERIFY(toolbar_SetHelpText(task, 1, "Undo the deletion"));
      QCOMPARE(help_text(task), std::string("Undo the deletion"));
      QVERIFY(toolbar_SetHelpText(top, 2, "a; b"));
      QCOMPARE(help_text(task), std::string("Undo the deletion"));  // not under the mouse
      QCOMPARE(std::get<tb_ctrl>(control_at(top, 0)->def).text, std::string("Undo;Undo the deletion"));
      move_mouse(top, centre(rect_of(top, 2)));
      QCOMPARE(help_text(task), std::string("a; b"));
      QVERIFY(tip_of(top)->text.empty());
      QVERIFY(!toolbar_SetHelpText(task, 99, "x"));
      QVERIFY(!toolbar_SetHelpText(task, 10085, "x"));  // a text field is no button
      toolbar_remove(task);
    });
  }

  void valuesOfButtonsTextsAndListButtons() {
    run_in_task([](Window task) {
      const Window top = toolbar_create(
          tb_top{}, kGrey, task,
          {button(10074, 10061, 10060, 10055, "Delete"), new_row{},
           tb_lbut{20, 120, {"one", "two", "three"}, false, 1}, tb_lbut{21, 80, {"x"}, true, 0},
           tb_text{22, tb_static, 100, 0, 4, 10, 0xFF, "static"}});
      // Found through the toolbar and through the window that owns it.
      QVERIFY(toolbar_SetValue(task, 10074, ctrl_value{false, true}));
      QVERIFY(toolbar_GetValue(top, 10074) == toolbar_value(ctrl_value{false, true}));
      QVERIFY(toolbar_SetValue(top, 22, text_value{"changed"}));
      QVERIFY(toolbar_GetValue(task, 22) == toolbar_value(text_value{"changed"}));
      // An unknown id, a value of another kind, a window without toolbars.
      QVERIFY(!toolbar_SetValue(task, 99, ctrl_value{}));
      QVERIFY(!toolbar_GetValue(task, 99));
      QVERIFY(!toolbar_SetValue(task, 22, ctrl_value{}));
      QVERIFY(!toolbar_SetValue(task, 10074, text_value{"x"}));
      QVERIFY(toolbar_GetValue(task, 10074) == toolbar_value(ctrl_value{false, true}));
      QVERIFY(!toolbar_GetValue(find_toolbar(top)->tip_win, 10074));
      // The list buttons are real controls in the second row, filled, selected and greyed.
      const ControlRecord list = *control_at(top, 2);
      QVERIFY(list.top >= rect_of(top, 10074).bottom + kRowGap);
      QCOMPARE(win_GetType(list.ctl_win), int(wk_ListButton));
      QCOMPARE(lbox_CountAll(list.ctl_win), 3);
      QCOMPARE(*lbox_GetSelIndex(list.ctl_win), 1);
      QVERIFY(find_record(list.ctl_win)->client->isEnabled());
      QVERIFY(!find_record(control_at(top, 3)->ctl_win)->client->isEnabled());
      QVERIFY(toolbar_SetValue(task, 20, lbut_value{{"a", "b"}, 0}));
      QCOMPARE(lbox_CountAll(list.ctl_win), 2);
      QCOMPARE(*lbox_GetSelIndex(list.ctl_win), 0);
      // A selection made by the user is the value, and the parent hears of it.
      lbox_SetSel(list.ctl_win, 1, 1);
      win_SendEvent(top, e_control{20, wk_ListButton, list.ctl_win, selchanged{}});
      QVERIFY(toolbar_GetValue(task, 20) == toolbar_value(lbut_value{{"a", "b"}, 1}));
      QVERIFY(wait_until([&] { return !menus_of(task).empty() && menus_of(task).back().tag == 20; }));
      toolbar_remove(top);
    });
  }

  void buttonsShowTheirUpDownAndGreyBitmaps() {
    run_in_task([](Window task) {
      const Window top = toolbar_create(
          tb_top{}, kGrey, task,
          {button(10074, 10061, 10060, 10055, "Delete"), button(10075, 10053, 10054, 10052, "Edit"),
           button(10076, 10051, 10050, 10049, "Card"), separator{}, button(10080, 10065, 10064, 10065, "Undo;Undo"),
           button(10044, 10067, 10066, 10067, "Help;Help")});
      toolbar_create(tb_bottom{}, kGrey, task, help_line("Ready"));
      QVERIFY(toolbar_SetValue(task, 10075, ctrl_value{false, true}));
      QTest::mousePress(widget_of(top), Qt::LeftButton, {}, centre(rect_of(top, 10076)));
      win_Update(top);
      const QImage shot = widget_of(top)->grab().toImage().convertToFormat(QImage::Format_RGB32);
      const auto shows = [&](std::int32_t id, int bitmap) {
        const Rect r = rect_of(top, id);
        const QImage want = QImage(QString(":/bitmaps/%1.bmp").arg(bitmap)).convertToFormat(QImage::Format_RGB32);
        return shot.copy(r.left, r.top, r.right - r.left, r.bottom - r.top) == want;
      };
      QVERIFY(shows(10074, 10061));  // up
      QVERIFY(shows(10075, 10052));  // disabled: grey
      QVERIFY(shows(10076, 10050));  // held: down
      QVERIFY(!shows(10075, 10053));
      // The background colour around the buttons.
      QCOMPARE(shot.pixelColor(rect_of(top, 10080).left - 3, 12), QColor(0xC0, 0xC0, 0xC0));
      // A release and a new value repaint their buttons without a paint of the whole toolbar.
      QTest::mouseRelease(widget_of(top), Qt::LeftButton, {}, centre(rect_of(top, 10076)));
      QVERIFY(toolbar_SetValue(task, 10075, ctrl_value{true, true}));
      const auto painted = [&](std::int32_t id, int bitmap) {
        const QImage now = find_record(top)->surface->image().convertToFormat(QImage::Format_RGB32);
        const Rect r = rect_of(top, id);
        const QImage want = QImage(QString(":/bitmaps/%1.bmp").arg(bitmap)).convertToFormat(QImage::Format_RGB32);
        return now.copy(r.left, r.top, r.right - r.left, r.bottom - r.top) == want;
      };
      QVERIFY(wait_until([&] { return painted(10076, 10051) && painted(10075, 10053); }));

      // The whole task window for the eye, outside the repository: Edit greyed, the mouse
      // resting on Help, so that the help line and the tooltip describe it.
      QVERIFY(toolbar_SetValue(task, 10075, ctrl_value{false, true}));
      QWidget* frame = find_record(task)->frame;
      frame->resize(560, 260);
      toolbar_resize(task);
      QTest::qWait(50);
      move_mouse(top, centre(rect_of(top, 10044)));
      QVERIFY(wait_until([&] { return tip_visible(top); }));
      QTest::qWait(50);
      QVERIFY(frame->grab().save("/tmp/foliarkh_toolbar.png"));
      toolbar_remove(task);
    });
  }
};

QTEST_MAIN(ToolbarTests)
#include "toolbar_tests.moc"

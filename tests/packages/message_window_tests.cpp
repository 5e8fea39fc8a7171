// The message window package: writing through the screen device's console routines with the
// 200 ms flush, the line limit, creation and placement, the pop-up menu, the forwarding of menu
// commands and the clean-up of its facts when the window goes.
#include <QClipboard>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTextBlock>
#include <climits>

#include "dialog_state.h"
#include "editor_widget.h"
#include "internal/task_data.h"
#include "internal/window_record.h"
#include "layer/editor.h"
#include "layer_test_support.h"
#include "message_window_facts.h"
#include "message_window_geometry.h"
#include "packages/message_window.h"
#include "packages/packages_part.h"
#include "runtime/console_output.h"
#include "runtime/run.h"
#include "runtime/run_error.h"
#include "toolbar_state.h"

using namespace layer_test;

namespace {

editor_detail::EditorView* view_of(Window w) {
  return static_cast<editor_detail::EditorClient*>(gui_detail::find_record(w)->client.data())->view();
}
QString text_of(Window w) { return view_of(w)->toPlainText(); }
QWidget* frame_of(Window w) { return gui_detail::find_record(w)->frame; }

// Where the window's client area stands in the MDI area.
Rect placed_at(Window w) {
  const QWidget* c = gui_detail::find_record(w)->client;
  const QPoint p = c->mapTo(gui_detail::task()->mdi_client->viewport(), QPoint(0, 0));
  return Rect{p.x(), p.y(), p.x() + c->width(), p.y() + c->height()};
}

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

std::size_t facts_left() {
  using namespace msg_facts;
  return max_no_lines.count() + mess_win.count() + msg_buffer.count() + msg_timer.count() + msg_newrct.count() +
         msg_debug.count();
}

// Runs `drive` on the next pop-up menu that shows (it must close it).
void on_next_popup(std::function<void(QMenu*)> drive) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, drive] {
    auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!m || !m->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    drive(m);
  });
  poll->start(20);
}

void choose(QMenu* m, const QString& text) {
  for (QAction* a : m->actions())
    if (a->text() == text) QTest::mouseClick(m, Qt::LeftButton, Qt::NoModifier, m->actionGeometry(a).center());
}

void right_click(Window w) { QTest::mouseClick(view_of(w)->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(30, 10)); }

}  // namespace

class MessageWindowTests : public QtSuite {
  Q_OBJECT

 public:
  MessageWindowTests() : QtSuite(packages_RegisterPart) {}

 private:
  void set_up() override { reset(); }
  void tear_down() override { QCOMPARE(facts_left(), std::size_t(0)); }

 private slots:
  // The packages' reset leaves them as a new process finds them: no toolbar record or action, no
  // dialog record or queued dialog, no message window fact.
  void thePackagesResetLeavesNoRecords() {
    const std::int32_t action = toolbar_detail::action_index([](Window, std::int32_t) {});
    toolbar_detail::add_toolbar(toolbar_detail::ToolbarRecord{});
    dialog_detail::add_dialog(0x4242, dialog_detail::DialogState{});
    dialog_detail::push_pending(dialog_detail::PendingDialog{});
    msg_facts::max_no_lines.assertz(100);
    RUN_ResetParts();
    QVERIFY(!toolbar_detail::action_at(action));
    QVERIFY(toolbar_detail::all_toolbars().empty());
    QVERIFY(!dialog_detail::find_dialog(0x4242));
    QVERIFY(!dialog_detail::take_pending());
    QCOMPARE(facts_left(), std::size_t(0));
  }

  void partialLineShowsAfter200ms() {
    run_in_task([](Window) {
      const Window w = msg_Create(100);
      QElapsedTimer clock;
      clock.start();
      IO_WrStrCon("ab");
      IO_WrChCon('c');
      QCOMPARE(text_of(w), QString());
      QVERIFY(msg_facts::msg_timer.get().has_value());
      QVERIFY(wait_until([w] { return text_of(w) == "abc"; }, 2000));
      QVERIFY2(clock.elapsed() >= 150, qPrintable(QString::number(clock.elapsed())));
      QVERIFY(!msg_facts::msg_timer.get() && !msg_facts::msg_buffer.get());
      QTest::qWait(300);  // the timer is gone: nothing more arrives
      QCOMPARE(text_of(w), QStringLiteral("abc"));
    });
  }

  void lineEndFlushesThePartialLineAtOnce() {
    run_in_task([](Window) {
      const Window w = msg_Create(100);
      IO_WrStrCon(cp("абв"));
      const std::int32_t timer = *msg_facts::msg_timer.get();
      IO_WrStrCon(cp("где\n"));
      QCOMPARE(text_of(w), QString::fromUtf8("абвгде\n"));
      QVERIFY(!msg_facts::msg_timer.get() && !msg_facts::msg_buffer.get());
      QCOMPARE(caught_code([&] { timer_Kill(timer); }), errcode::kUnknownTimer);  // already stopped
      QTest::qWait(300);
      QCOMPARE(text_of(w), QString::fromUtf8("абвгде\n"));
      msg_AppendStr("next\n");
      QCOMPARE(text_of(w), QString::fromUtf8("абвгде\nnext\n"));
    });
  }

  void lineLimit() {
    run_in_task([](Window) {
      const Window w = msg_Create(100);
      for (int i = 1; i <= 100; ++i) IO_WrStrCon("line " + std::to_string(i) + "\n");
      QCOMPARE(view_of(w)->document()->firstBlock().text(), QStringLiteral("line 1"));
      IO_WrStrCon("line 101\n");
      QCOMPARE(view_of(w)->document()->firstBlock().text(), QStringLiteral("line 2"));
      QCOMPARE(view_of(w)->document()->lastBlock().previous().text(), QStringLiteral("line 101"));
    });
  }

  void setLines() {
    run_in_task([](Window) {
      const Window w = msg_Create(100);
      for (int i = 1; i <= 60; ++i) IO_WrStrCon("line\n");
      msg_SetLines(200);  // more room: the text stays
      QCOMPARE(edit_GetNumberOfLines(w), 61);
      msg_SetLines(50);
      QCOMPARE(text_of(w), QString());
      QCOMPARE(view_of(w)->textCursor().position(), 0);
      QCOMPARE(*msg_facts::max_no_lines.get(), 50);
      for (int i = 1; i <= 60; ++i) IO_WrStrCon("line\n");
      QCOMPARE(edit_GetNumberOfLines(w), 51);
    });
  }

  void secondCreateKeepsTheWindowAndItsLimit() {
    run_in_task([](Window task) {
      const Window w = msg_Create(100);
      QCOMPARE(msg_Create("Other", 5), w);
      QCOMPARE(*msg_facts::max_no_lines.get(), 100);
      QCOMPARE(win_GetText(w), std::string("Messages"));
      QCOMPARE(win_GetParent(w), task);
      QCOMPARE(*msg_GetWin(), w);
      QVERIFY(!gui_detail::find_record(w)->frame->findChild<QLabel*>()->isVisible());  // no status line
    });
  }

  void creationAndResizePlacement() {
    uix_SetAttrVal(xQbx_tBarheight, 30);
    uix_SetAttrVal(xQbx_sBarheight, 20);
    run_in_task([](Window task) {
      const Rect client = win_GetClientRect(task);
      const Window w = msg_Create(100);
      const int bottom = client.bottom - 10 - 30 - 20;
      QCOMPARE(placed_at(w), (Rect{10, bottom - 100, client.right - 10, bottom}));

      frame_of(task)->resize(frame_of(task)->width() + 60, frame_of(task)->height() - 40);
      const Rect now = win_GetClientRect(task);
      msg_Resize(task);
      QCOMPARE(placed_at(w), (Rect{10, now.bottom - 110 - 50, now.right - 10, now.bottom - 10 - 50}));

      // A maximised message window keeps the place for its restoring.
      frame_of(task)->resize(frame_of(task)->width() - 100, frame_of(task)->height() + 30);
      const Rect later = win_GetClientRect(task);
      frame_of(w)->showMaximized();
      msg_Resize(task);
      QVERIFY(msg_facts::msg_newrct.get().has_value());
      frame_of(w)->showNormal();
      QVERIFY(wait_until([] { return !msg_facts::msg_newrct.get(); }));
      QCOMPARE(placed_at(w), (Rect{10, later.bottom - 160, later.right - 10, later.bottom - 60}));
      // The re-positioning overflows rather than wrapping round.
      QCOMPARE(caught_code([] { msg_geometry::resize_rect({0, 0, 100, INT_MIN + 50}, {}); }), errcode::kIntOverflow);
      QCOMPARE(caught_code([] { msg_geometry::creation_rect({0, 0, INT_MIN + 5, 300}, 0, 0); }), errcode::kIntOverflow);
    });
  }

  void popupMenu() {
    run_in_task([](Window) {
      const Window w = msg_Create(100);
      msg_AppendStr("first line\nsecond line\n");
      QStringList texts;
      bool copy_enabled = true;
      on_next_popup([&](QMenu* m) {
        for (QAction* a : m->actions()) texts << a->text();
        copy_enabled = m->actions()[0]->isEnabled();
        QTest::keyClick(m, Qt::Key_Escape);
      });
      right_click(w);
      QCOMPARE(texts, (QStringList{"&Copy", "&Search...", "Search &again", "&Font", "C&lear"}));
      QVERIFY(!copy_enabled);

      // With a selection, Copy is enabled and copies it.
      QTextCursor c(view_of(w)->document());
      c.setPosition(6);
      c.setPosition(10, QTextCursor::KeepAnchor);
      view_of(w)->setTextCursor(c);
      on_next_popup([&](QMenu* m) {
        copy_enabled = m->actions()[0]->isEnabled();
        choose(m, "&Copy");
      });
      right_click(w);
      QVERIFY(copy_enabled);
      QVERIFY(wait_until([] { return QApplication::clipboard()->text() == "line"; }));

      on_next_popup([](QMenu* m) { choose(m, "C&lear"); });
      right_click(w);
      QVERIFY(wait_until([w] { return text_of(w).isEmpty(); }));
    });
  }

  void otherMenuCommandsGoToTheParent() {
    run_in_task([](Window task) {
      const Window w = msg_Create(100);
      msg_AppendStr("some text\n");
      log().clear();
      QCOMPARE(win_SendEvent(w, e_menu{10044, 2}), 1L);
      const auto forwarded = events_of<e_menu>(task);
      QCOMPARE(forwarded.size(), std::size_t(1));
      QCOMPARE(forwarded[0].tag, 10044);
      QCOMPARE(forwarded[0].shift, 2);
      // The editor's own commands stay with the editor.
      win_SendEvent(w, e_menu{edit_cmd_SelectAll, 0});
      QCOMPARE(events_of<e_menu>(task).size(), std::size_t(1));
      QCOMPARE(view_of(w)->textCursor().selectedText(), QStringLiteral("some text") + QChar(0x2029));
    });
  }

  void destroyClearsThePackageState() {
    run_in_task([](Window task) {
      Window w = msg_Create(100);
      msg_FastUpdate(0);
      QCOMPARE(msg_FastUpdate(), 0);
      IO_WrStrCon("partial");
      const std::int32_t timer = *msg_facts::msg_timer.get();
      msg_close();
      QCOMPARE(win_GetType(w), int(wk_NotAWindow));
      QCOMPARE(facts_left(), std::size_t(0));
      QCOMPARE(msg_FastUpdate(), 1);
      QVERIFY(!msg_GetWin());
      QCOMPARE(caught_code([&] { timer_Kill(timer); }), errcode::kUnknownTimer);  // its timer went with it
      IO_WrStrCon("lost\n");  // no window: ignored
      msg_AppendStr("lost too");
      QVERIFY(!msg_facts::msg_timer.get());
      msg_close();

      // A new window starts afresh with its own limit; its close box clears the state as well.
      w = msg_Create(7);
      QCOMPARE(*msg_facts::max_no_lines.get(), 7);
      QCOMPARE(text_of(w), QString());
      static_cast<QMdiSubWindow*>(frame_of(w))->close();
      QCOMPARE(win_GetType(w), int(wk_NotAWindow));
      QCOMPARE(facts_left(), std::size_t(0));
      (void)task;
    });
  }

  void focus() {
    run_in_task([](Window) {
      const Window w = msg_Create(100);
      frame_of(w)->showMinimized();
      msg_SetFocus();
      QVERIFY(!view_of(w)->hasFocus());
      frame_of(w)->showNormal();
      msg_SetFocus();
      QVERIFY(view_of(w)->hasFocus());
    });
  }
};

QTEST_MAIN(MessageWindowTests)
#include "message_window_tests.moc"

// Windows destroyed while the layer is still busy with them: a box, dialog or pop-up menu whose
// owner goes while its loop runs, and a handler that destroys a window from inside an event that
// a layer operation delivers on the way. Any use of a freed window record fails: the suite guards
// freed records (internal/record_guard.h), and under the sanitizers any use of what was freed fails.
#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <csignal>
#include <cstdint>

#include <sys/wait.h>
#include <unistd.h>

#include "internal/record_guard.h"
#include "internal/window_record.h"
#include "layer/error_box.h"
#include "layer_test_support.h"

using namespace layer_test;

namespace {

const WinFlags kTopFlags = {wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize};

// Gives `w` the keyboard focus in the active window, so that the focus changes that follow
// deliver their events at once.
void focus(Window w) {
  const gui_detail::WindowRecord* r = gui_detail::find_record(w);
  QApplication::setActiveWindow((r->frame ? r->frame : r->client)->window());
  win_SetFocus(w);
}

QWidget* open_box() {
  QWidget* m = QApplication::activeModalWidget();
  if (!m) m = QApplication::activePopupWidget();
  return m && m->isVisible() ? m : nullptr;
}

// Destroys `victim` as soon as a box or pop-up menu shows; one still open 5 s later is closed and
// counted, so that a box the destruction failed to end cannot hang the run.
struct DestroyWhenOpen {
  Window victim;
  int left_open = 0;
  explicit DestroyWhenOpen(Window w) : victim(w) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [this, poll] {
      if (!open_box()) return;
      poll->stop();
      poll->deleteLater();
      win_Destroy(victim);
      QTimer::singleShot(5000, [this] {
        if (QWidget* m = open_box()) {
          ++left_open;
          if (auto* d = qobject_cast<QDialog*>(m)) d->reject();
          else m->close();
        }
      });
    });
    poll->start(20);
  }
};

}  // namespace

class WindowGoneTests : public QtSuite {
  Q_OBJECT

 public:
  WindowGoneTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  // The owner of an open box is destroyed from inside the box's loop (as a menu command chosen
  // behind it would): the box ends as cancelled, the call returns its cancel answer, and the
  // program goes on with the owner gone.
  void boxEndsWhenItsOwnerGoes_data() {
    QTest::addColumn<QString>("box");
    for (const char* b : {"question", "prompt", "list choice", "message box", "file chooser", "font chooser",
                          "modal dialog", "pop-up menu", "error box"})
      QTest::newRow(b) << QString(b);
  }
  void boxEndsWhenItsOwnerGoes() {
    QFETCH(QString, box);
    uix_SetAttrVal(xQbx_bMDI, 0);  // top-level windows are frames of their own, owning their boxes
    run_in_task(
        [&](Window task) {
          const Window top =
              win_Create(wk_TopLevel, {20, 20, 320, 220}, "owner", no_menu{}, task, kTopFlags, recording_handler, 0);
          focus(top);  // the boxes that choose their parent take this window
          const Window owner = box == "error box" ? task : top;
          DestroyWhenOpen destroyer(owner);
          std::string chosen;
          int index = 0;
          std::vector<std::string> files;
          if (box == "question") QCOMPARE(dlg_Ask(top, "T", "Q?", {"&Yes", "&No"}), 1);
          if (box == "prompt") QCOMPARE(dlg_GetStr(top, "T", "Name", "x"), std::nullopt);
          if (box == "list choice") QCOMPARE(dlg_ListSelect(top, "T", {"a", "b"}, 0, chosen, index), 0);
          if (box == "message box") QCOMPARE(dlg_MessageBox("T", "M", mb_Warning, mb_OkCancel, 0, mb_TaskModal), 2);
          if (box == "file chooser") QCOMPARE(dlg_GetFileName("*.txt", {"Text", "*.txt"}, "T", {}, "", files), std::nullopt);
          if (box == "font chooser") QCOMPARE(dlg_ChooseFont(win_GetFont(top)), std::nullopt);
          if (box == "modal dialog") win_CreateResDialog(top, wk_ModalDialog, fixture::dlg_about, recording_handler, 0);
          if (box == "pop-up menu") menu_PopUp(top, res_menu{fixture::menu_records}, {10, 10}, align_Left);
          if (box == "error box") uix_ErrorMsg(1000, 0, 0, "failure");
          QCOMPARE(destroyer.left_open, 0);
          QCOMPARE(win_GetType(owner), int(wk_NotAWindow));
          QCOMPARE(events_of<e_destroy>(top).size(), std::size_t(1));
          if (owner != task) QCOMPARE(win_GetType(task), int(wk_Task));
        },
        no_menu{});
  }

  // A handler destroys a window from inside an event that a layer operation delivers on the way;
  // the operation stops there, without touching the window again and without an error (a
  // run-time error would fail the run).
  void operationStopsWhenAHandlerDestroysTheWindow_data() {
    QTest::addColumn<QString>("operation");
    for (const char* op : {"hide focused", "move", "focus", "create maximized", "create MDI child", "drop down list",
                           "application state", "end of a box"})
      QTest::newRow(op) << QString(op);
  }
  void operationStopsWhenAHandlerDestroysTheWindow() {
    QFETCH(QString, operation);
    // Frames of their own hear the application's state, and take the focus back from a box.
    if (operation == "application state" || operation == "end of a box") uix_SetAttrVal(xQbx_bMDI, 0);
    run_in_task([&](Window task) {
      const Window top =
          win_Create(wk_TopLevel, {20, 20, 320, 220}, "top", no_menu{}, task, kTopFlags, recording_handler, 0);
      const Window child = win_Create(wk_Child, {10, 10, 110, 60}, "", res_menu{0}, top, {}, recording_handler, 0);
      Window gone = 0;
      struct Disarm {
        ~Disarm() { behaviour() = nullptr; }
      } disarm;
      // From now on: when `hearer` (0: a window other than the task and `top`) hears an event of
      // the kind of `tag`, its handler destroys `target` (0: the hearer itself).
      auto destroy_at = [&](auto tag, Window hearer, Window target) {
        behaviour() = [&, hearer, target](Window w, const Event& ev) -> std::optional<long> {
          const bool heard = hearer ? w == hearer : w != task && w != top;
          if (!gone && heard && std::holds_alternative<decltype(tag)>(ev)) win_Destroy(gone = target ? target : w);
          return std::nullopt;
        };
      };
      if (operation == "hide focused") {
        // Hiding the focused field moves the focus on to the next; the dialog hears that the
        // field lost it, and destroys the field.
        const Window dlg = win_CreateDynDialog(
            {wdef_dialog{wk_ModelessDialog, {10, 10, 250, 130}, "D", {wsf_TitleBar}, std::nullopt},
             wdef_control{wk_Edit, {8, 8, 200, 30}, "", 11, {26}}, wdef_control{wk_Edit, {8, 40, 200, 62}, "", 12, {26}}},
            task, recording_handler, 0);
        const Window edit = win_GetCtlHandle(dlg, 11);
        focus(edit);
        QVERIFY(gui_detail::find_record(edit)->client->hasFocus());
        destroy_at(e_control{}, dlg, edit);
        win_SetState(edit, {st_Invisible});
        win_Destroy(dlg);
      } else if (operation == "move") {
        destroy_at(e_size{}, child, 0);
        win_Move(child, {5, 5, 205, 105});
      } else if (operation == "focus") {
        destroy_at(e_getfocus{}, child, 0);
        win_SetFocus(child);
      } else if (operation == "create maximized") {
        destroy_at(e_size{}, 0, 0);
        win_Create(wk_TopLevel, {20, 20, 320, 220}, "max", no_menu{}, task, {wsf_TitleBar, wsf_Maximized},
                   recording_handler, 0);
      } else if (operation == "create MDI child") {
        destroy_at(e_getfocus{}, 0, 0);
        win_Create(wk_TopLevel, {20, 20, 320, 220}, "mdi", no_menu{}, task, kTopFlags, recording_handler, 0);
      } else if (operation == "drop down list") {
        const Window list = win_CreateControl(wk_ListButton, {10, 70, 110, 170}, "", top, {}, 5);
        lbox_Add(list, std::vector<std::string>{"a", "b"});
        destroy_at(e_control{}, top, list);
        qobject_cast<QComboBox*>(gui_detail::find_record(list)->client)->showPopup();
        QVERIFY(!QApplication::activePopupWidget());  // no list drops down from a control that is gone
      } else if (operation == "application state") {
        destroy_at(e_deactivate{}, task, top);
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
      } else if (operation == "end of a box") {
        // The child's pop-up menu is open while its frame has the focus; destroying the child
        // ends the menu, the focus goes back to the frame, and the frame's handler destroys the
        // frame (and the child with it) before the child's own destruction has gone on.
        focus(top);
        DestroyWhenOpen destroyer(child);
        destroy_at(e_getfocus{}, top, top);
        menu_PopUp(child, res_menu{fixture::menu_records}, {10, 10}, align_Left);
        QCOMPARE(destroyer.left_open, 0);
        QCOMPARE(win_GetType(child), int(wk_NotAWindow));
      }
      QVERIFY(gone != 0);
      QCOMPARE(win_GetType(gone), int(wk_NotAWindow));
      if (win_GetType(top) == wk_TopLevel) win_Destroy(top);
    });
  }

  // A modal dialog opened inside another dialog's loop and destroyed there: its widget goes as
  // soon as its own loop has returned, while the outer dialog runs on (a window made before a
  // loop started waits for that loop, one made inside it does not).
  void aDialogsWidgetGoesOnceItsLoopHasReturned() {
    run_in_task([](Window task) {
      QPointer<QWidget> inner_widget;
      bool gone_while_outer_runs = false;
      on_next_modal([&](QWidget* outer_widget) {
        const Window outer = gui_detail::find_record(outer_widget)->handle;
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [&, poll, outer_widget] {
          QWidget* m = QApplication::activeModalWidget();
          if (!m || m == outer_widget || !m->isVisible()) return;
          poll->stop();
          poll->deleteLater();
          inner_widget = m;
          win_Destroy(gui_detail::find_record(m)->handle);
        });
        poll->start(20);
        win_CreateResDialog(outer, wk_ModalDialog, fixture::dlg_about, recording_handler, 0);
        QVERIFY(inner_widget);  // the call returned once the inner dialog was destroyed ...
        gone_while_outer_runs = wait_until([&] { return inner_widget.isNull(); }) && outer_widget->isVisible();
        win_Destroy(outer);
      });
      win_CreateResDialog(task, wk_ModalDialog, fixture::dlg_about, recording_handler, 0);
      QVERIFY(gone_while_outer_runs);  // ... and its widget went while the outer dialog was open
    });
  }

  // The guard of freed window records: touching a freed record's memory stops the process, and
  // its address is never given out again, so a stale address cannot reach a newer window's record.
  void aFreedRecordIsBarred() {
    if (!gui_detail::freed_records_guarded()) QSKIP("AddressSanitizer watches freed records itself");
    run_in_task([](Window task) {
      const Window w = win_Create(wk_Child, {10, 10, 60, 60}, "", res_menu{0}, task, {}, recording_handler, 0);
      const gui_detail::WindowRecord* record = gui_detail::find_record(w);
      const auto address = reinterpret_cast<std::uintptr_t>(record);
      const auto kind_address = reinterpret_cast<std::uintptr_t>(&record->kind);
      win_Destroy(w);
      for (int i = 0; i < 32; ++i) {
        const Window later = win_Create(wk_Child, {10, 10, 60, 60}, "", res_menu{0}, task, {}, recording_handler, 0);
        QVERIFY(reinterpret_cast<std::uintptr_t>(gui_detail::find_record(later)) != address);
        win_Destroy(later);
      }
      const pid_t reader = fork();
      if (reader == 0) {
        signal(SIGSEGV, SIG_DFL);
        const int kind = *reinterpret_cast<const volatile int*>(kind_address);
        _exit(kind == wk_Child ? 0 : 1);
      }
      int status = 0;
      QCOMPARE(waitpid(reader, &status, 0), reader);
      QVERIFY(WIFSIGNALED(status));
      QCOMPARE(WTERMSIG(status), SIGSEGV);
    });
  }
};

QTEST_MAIN(WindowGoneTests)
#include "window_gone_tests.moc"

// The windows, events and handlers of the layer, through real widgets on the offscreen platform.
#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPushButton>
#include <QTextBlock>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QClipboard>
#include <QFile>
#include <QWheelEvent>

#include "internal/paint_surface.h"
#include "internal/task_data.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "runtime/codepage.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"

using namespace layer_test;
using gui_detail::find_record;

namespace {

const WinFlags kChildFlags = {wsf_ClipSiblings};
const WinFlags kTopFlags = {wsf_SizeBorder, wsf_TitleBar, wsf_Close, wsf_Maximize, wsf_Minimize};

Window make_child(Window parent, Rect r = {10, 10, 210, 110}) {
  return win_Create(wk_Child, r, "", res_menu{0}, parent, kChildFlags, recording_handler, 0);
}

Window make_mdi_child(Window task, const Menu& menu, const std::string& title = "child") {
  return win_Create(wk_TopLevel, {20, 20, 320, 220}, title, menu, task, kTopFlags, recording_handler, 7);
}

QWidget* client_of(Window w) { return find_record(w)->client; }
QWidget* frame_of(Window w) { return find_record(w)->frame; }

QStringList bar_texts(Window task) {
  QStringList out;
  for (QAction* a : static_cast<QMainWindow*>(frame_of(task))->menuBar()->actions())
    if (!a->isSeparator()) out << a->text();
  return out;
}

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

}  // namespace

class WindowTests : public QtSuite {
  Q_OBJECT

 public:
  WindowTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  void taskWindowRunAndMenuBar() {
    Window seen = 0;
    static Rect at_create;
    behaviour() = [](Window w, const Event& ev) -> std::optional<long> {
      if (std::holds_alternative<e_create>(ev)) at_create = win_GetClientRect(w);
      return std::nullopt;
    };
    run_in_task([&](Window task) {
      // The client area has its size already while e_create is handled.
      QVERIFY(at_create.right > 100 && at_create.bottom > 100);
      QCOMPARE(at_create, win_GetClientRect(task));
      seen = task;
      QCOMPARE(win_GetType(task), int(wk_Task));
      QCOMPARE(win_GetText(task), std::string("Test"));
      QCOMPARE(uix_GetAttrVal(attr_TaskWindow), std::int32_t(task));
      QCOMPARE(uix_GetAttrVal(xQbx_b3D), 0);  // no 3D-controls library here
      QVERIFY(QFile::exists(QString(":/icons/%1.ico").arg(fixture::icon_task)));  // the registered icon
      QVERIFY(!QApplication::windowIcon().pixmap(32).isNull());
      // The window list is the last item on the left, just before the right-aligned Help.
      const QStringList bar = bar_texts(task);
      QCOMPARE(bar, (QStringList{QString::fromUtf8("Файл"), QString::fromUtf8("База"),
                                 QString::fromUtf8("Категории"), QString::fromUtf8("Настройки"),
                                 "&Window", "&Help"}));
      const QList<QAction*> items = static_cast<QMainWindow*>(frame_of(task))->menuBar()->actions();
      QVERIFY(items.at(items.size() - 2)->isSeparator());
      QCOMPARE(events_of<e_create>(task).size(), std::size_t(1));
      QCOMPARE(events_of<e_create>(task)[0].creation_data, 0);
    });
    QCOMPARE(events_of<e_destroy>(seen).size(), std::size_t(1));
    QCOMPARE(win_GetType(seen), int(wk_NotAWindow));
  }

  void startErrorsLeaveNothingBehind() {
    QCOMPARE(caught_code([] { run_in_task([](Window) {}, no_menu{}); }), errcode::kMdiNeedsMenu);  // MDI needs a menu
    QCOMPARE(caught_code([] { run_in_task([](Window) {}, res_menu{4242}); }), errcode::kNoMenuResource);
    QCOMPARE(uix_GetTaskWin(), Window(0));
    QVERIFY(gui_detail::task() == nullptr);
    QCOMPARE(caught_code([] { timer_Set(0x7777, 10); }), errcode::kNotWindow);
  }

  void keyboardIsNotReadWhileTheLayerRuns() {
    QVERIFY(!IO_LayerRunning());
    run_in_task([](Window) {
      QVERIFY(IO_LayerRunning());
      QCOMPARE(caught_code([] { IO_RdLine(); }), errcode::kKeyboardInWindows);
    });
    QVERIFY(!IO_LayerRunning());
  }

  void withoutMdiTopLevelWindowsAreOwnedFrames() {
    uix_SetAttrVal(xQbx_bMDI, 0);
    Window top = 0;
    run_in_task(
        [&](Window task) {
          QVERIFY(gui_detail::task()->mdi_client.isNull());
          QVERIFY(static_cast<QMainWindow*>(frame_of(task))->menuBar()->isHidden());
          top = make_mdi_child(task, res_menu{fixture::menu_records});
          QVERIFY(frame_of(top)->isWindow());
          QCOMPARE(frame_of(top)->parentWidget(), frame_of(task));
          // Its own menu is in its own bar, and its commands reach it.
          auto* bar = static_cast<QMainWindow*>(frame_of(top))->menuBar();
          QCOMPARE(bar->actions().size(), 3);
          bar->actions()[0]->setEnabled(true);
          bar->actions()[0]->trigger();
          QCOMPARE(events_of<e_menu>(top).size(), std::size_t(1));
          QCOMPARE(client_of(top)->mapToGlobal(QPoint(0, 0)), QPoint(20, 20));
        },
        no_menu{});
    // Destroying the task window destroyed the window it owned.
    QCOMPARE(events_of<e_destroy>(top).size(), std::size_t(1));
  }

  void handlerChain() {
    run_in_task([](Window task) {
      const Window w = make_child(task);
      static int second_calls = 0;
      second_calls = 0;
      find_record(w)->second_handler = [](Window, const Event& ev) -> std::optional<long> {
        ++second_calls;
        if (const auto* u = std::get_if<e_user>(&ev); u && u->id == 1) return 11;
        return std::nullopt;
      };
      behaviour() = [](Window, const Event& ev) -> std::optional<long> {
        if (std::holds_alternative<e_user>(ev)) return 22;
        return std::nullopt;
      };
      log().clear();
      QCOMPARE(win_SendEvent(w, e_user{1, 0}), 11L);  // the second handler's success is final
      QVERIFY(events_of<e_user>(w).empty());
      QCOMPARE(win_SendEvent(w, e_user{2, 0}), 22L);  // its failure passes the event on
      QCOMPARE(events_of<e_user>(w).size(), std::size_t(1));
      QCOMPARE(second_calls, 2);
      // A window without any handler counts as handled with 0: its close request keeps it.
      win_SetHandler(w, nullptr);
      find_record(w)->second_handler = nullptr;
      QVERIFY(win_GetHandler(w) == nullptr);
      win_PostEvent(w, e_closerequest{});
      QTest::qWait(20);
      QCOMPARE(win_GetType(w), int(wk_Child));
    });
  }

  void paintDuringPaintIsDeferred() {
    run_in_task([](Window task) {
      const Window w = make_child(task);
      static int updates = 0;
      updates = 0;
      behaviour() = [w](Window win, const Event& ev) -> std::optional<long> {
        if (win == w && std::holds_alternative<e_update>(ev)) {
          if (++updates == 1) win_Update(w);  // asks for a paint while this one runs
          return 0;
        }
        return std::nullopt;
      };
      win_Update(w);
      QCOMPARE(updates, 1);  // not painted inside itself
      QVERIFY(wait_until([] { return updates >= 2; }));
      QVERIFY(find_record(w)->paint_painter == nullptr);
    });
  }

  void hookOffersToolkitEvents() {
    run_in_task([](Window task) {
      const Window w = make_child(task);
      behaviour() = [w](Window win, const Event& ev) -> std::optional<long> {
        if (const auto* n = std::get_if<e_native>(&ev); win == w && n && n->msg == QEvent::MouseButtonPress) return 0;
        return std::nullopt;
      };
      win_EnableHook(w, true);
      QTest::mouseClick(client_of(w), Qt::LeftButton, {}, QPoint(3, 3));
      QVERIFY(events_of<e_mousedown>(w).empty());  // the handler took the press
      QCOMPARE(events_of<e_mouseup>(w).size(), std::size_t(1));
      win_EnableHook(w, false);
      QTest::mouseClick(client_of(w), Qt::LeftButton, {}, QPoint(3, 3));
      QCOMPARE(events_of<e_mousedown>(w).size(), std::size_t(1));
    });
  }

  void closeRequestFollowsHandlerResult() {
    run_in_task([](Window task) {
      const Window keeps = make_mdi_child(task, no_menu{});
      const Window goes = make_mdi_child(task, no_menu{});
      behaviour() = [keeps](Window w, const Event& ev) -> std::optional<long> {
        if (w == keeps && std::holds_alternative<e_closerequest>(ev)) return 0;
        return std::nullopt;
      };
      frame_of(keeps)->close();
      frame_of(goes)->close();
      QCOMPARE(win_GetType(keeps), int(wk_TopLevel));
      QCOMPARE(win_GetType(goes), int(wk_NotAWindow));
      QCOMPARE(events_of<e_destroy>(goes).size(), std::size_t(1));

      // The MDI task window asks its children first and stays while one refuses.
      frame_of(task)->close();
      QCOMPARE(win_GetType(task), int(wk_Task));
      QCOMPARE(events_of<e_closerequest>(keeps).size(), std::size_t(2));
      // A handler that succeeds but destroys the window itself lets it go.
      behaviour() = [](Window w, const Event& ev) -> std::optional<long> {
        if (std::holds_alternative<e_closerequest>(ev) && win_GetType(w) == wk_TopLevel) {
          win_Destroy(w);
          return 0;
        }
        return std::nullopt;
      };
      frame_of(task)->close();
      QCOMPARE(win_GetType(keeps), int(wk_NotAWindow));
      QCOMPARE(win_GetType(task), int(wk_NotAWindow));
    });
  }

  void eraseBackground_data() {
    QTest::addColumn<bool>("attribute");
    QTest::addColumn<bool>("erased");
    QTest::newRow("attribute off") << false << false;
    QTest::newRow("attribute on, handler fails") << true << true;
  }
  void eraseBackground() {
    QFETCH(bool, attribute);
    QFETCH(bool, erased);
    uix_SetAttrVal(xQbx_bERASEBACKGROUND, attribute);
    run_in_task([&](Window task) {
      bool paint_red = true;
      const Window w = make_child(task);
      behaviour() = [&](Window win, const Event& ev) -> std::optional<long> {
        if (win == w && std::holds_alternative<e_update>(ev) && paint_red) {
          gui_detail::DrawContext dc(*find_record(win));
          dc.painter()->fillRect(QRect(0, 0, 200, 100), Qt::red);
          return 0;
        }
        return std::nullopt;
      };
      QCOMPARE(client_of(w)->grab().toImage().pixelColor(50, 50), QColor(Qt::red));
      paint_red = false;
      log().clear();
      win_Invalidate(w);
      const QColor after = client_of(w)->grab().toImage().pixelColor(50, 50);
      QCOMPARE(events_of<e_update>(w).size(), std::size_t(1));
      QCOMPARE(events_of<e_erasebackground>(w).size(), std::size_t(attribute ? 1 : 0));
      QCOMPARE(after == QColor(Qt::red), !erased);
    });
    uix_SetAttrVal(xQbx_bERASEBACKGROUND, 1);
  }

  void keyCodes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shift");
    QTest::addColumn<int>("ch");  // the e_char that follows
    QTest::newRow("F5") << int(Qt::Key_F5) << int(Qt::NoModifier) << 335 << 0 << 335;
    QTest::newRow("A") << int(Qt::Key_A) << int(Qt::NoModifier) << 65 << 0 << int('a');
    QTest::newRow("Shift+A") << int(Qt::Key_A) << int(Qt::ShiftModifier) << 65 << 1 << int('A');
    QTest::newRow("Home") << int(Qt::Key_Home) << int(Qt::NoModifier) << 307 << 0 << 307;
    QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << 309 << 2 << 309;
    QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << int(Qt::ControlModifier) << 313 << 2 << 313;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << int(Qt::NoModifier) << 127 << 0 << 127;
    // The Control key is down while its own event is built.
    QTest::newRow("Control") << int(Qt::Key_Control) << int(Qt::NoModifier) << 17 << 2 << -1;
  }
  void keyCodes() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    QFETCH(int, shift);
    QFETCH(int, ch);
    run_in_task([&](Window task) {
      const Window w = make_child(task);
      log().clear();
      if (key == Qt::Key_A)  // typed as a character, so that the event carries its text
        QTest::keyClick(client_of(w), modifiers ? 'A' : 'a', Qt::KeyboardModifiers(modifiers));
      else
        QTest::keyClick(client_of(w), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
      std::vector<int> kinds;
      bool started = false;
      for (const Recorded& r : log()) {
        if (r.win != w) continue;
        if (const auto* d = std::get_if<e_keydown>(&r.ev); d && d->key == code) started = true;
        if (started) kinds.push_back(event_code(r.ev));
      }
      // A modifier is pressed before the key and gives its own e_keydown (16, 17, 18).
      std::vector<e_keydown> down;
      for (const e_keydown& d : events_of<e_keydown>(w))
        if (d.key == code) down.push_back(d);
      QCOMPARE(down.size(), std::size_t(1));
      QCOMPARE(down[0].shift, shift);
      const auto chars = events_of<e_char>(w);
      if (ch < 0) {
        QVERIFY(chars.empty());
      } else {
        QCOMPARE(chars.size(), std::size_t(1));
        QCOMPARE(chars[0].ch, ch);
        QCOMPARE(chars[0].shift, shift);
        // The key's e_keydown comes first, then e_char, then its e_keyup.
        while (!kinds.empty() && kinds.front() != 15) kinds.erase(kinds.begin());
        kinds.resize(std::min<std::size_t>(kinds.size(), 3));
        QCOMPARE(kinds, (std::vector<int>{15, 14, 16}));
      }
      std::size_t ups = 0;
      for (const e_keyup& u : events_of<e_keyup>(w)) ups += u.key == code;
      QCOMPARE(ups, std::size_t(1));
    });
  }

  void acceleratorsGiveMenuCommands() {
    run_in_task([](Window task) {
      const Window w = make_child(task);
      QWidget* frame = frame_of(task);
      frame->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(frame));
      log().clear();
      QTest::keyClick(client_of(w), Qt::Key_F1, Qt::ControlModifier);
      QTest::keyClick(client_of(w), Qt::Key_F1);
      const auto menus = events_of<e_menu>(task);
      QCOMPARE(menus.size(), std::size_t(2));
      QCOMPARE(menus[0].tag, fixture::cmd_contents);
      QCOMPARE(menus[1].tag, fixture::cmd_local);
      for (const e_keydown& d : events_of<e_keydown>(w)) QCOMPARE(d.key, 17);  // the accelerator took F1
    });
  }

  // The layer finds only what the program registered: without tables no dialog, menu or
  // accelerator table; a window-list menu in the tables replaces the layer's own pop-up.
  void resourcesComeFromTheRegistration() {
    const ResourceTables none{};
    QCOMPARE(caught_code([&] { run_in_task([](Window) {}, res_menu{fixture::menu_task}, none); }), errcode::kNoMenuResource);
    const auto ctrl_f1_commands = [](Window task) {
      QWidget* frame = frame_of(task);
      frame->activateWindow();
      if (!QTest::qWaitForWindowActive(frame)) return std::size_t(99);
      log().clear();
      QTest::keyClick(client_of(make_child(task)), Qt::Key_F1, Qt::ControlModifier);
      return events_of<e_menu>(task).size();
    };
    run_in_task(
        [&](Window task) {
          QCOMPARE(
              caught_code([&] { win_CreateResDialog(task, wk_ModalDialog, fixture::dlg_about, recording_handler, 0); }),
              errcode::kNoDialogResource);
          QCOMPARE(caught_code([&] { menu_PopUp(task, res_menu{fixture::menu_records}, {0, 0}, align_Left); }), errcode::kNoMenuResource);
          QCOMPARE(bar_texts(task), (QStringList{"Own", "&Window"}));
          QCOMPARE(ctrl_f1_commands(task), std::size_t(0));
        },
        dyn_menu{{menu_item::txt(500, "Own")}}, none);

    run_in_task(
        [&](Window task) {
          QCOMPARE(bar_texts(task), (QStringList{QString::fromUtf8("Файл"), QString::fromUtf8("База"),
                                                 QString::fromUtf8("Категории"), QString::fromUtf8("Настройки"),
                                                 QString::fromUtf8("&Окна"), "&Help"}));
          QStringList items;
          for (QAction* act : gui_detail::task()->window_list->actions()) items << act->text();
          QCOMPARE(items, (QStringList{QString::fromUtf8("&Рядом"), QString::fromUtf8("&Закрыть все")}));
          log().clear();
          gui_detail::task()->window_list->actions().at(1)->trigger();
          QCOMPARE(events_of<e_menu>(task).size(), std::size_t(1));
          QCOMPARE(events_of<e_menu>(task)[0].tag, fixture::cmd_windows_close_all);
          QCOMPARE(ctrl_f1_commands(task), std::size_t(0));  // these tables name no accelerators
        },
        res_menu{fixture::menu_task}, fixture::tables_with_window_list());
  }

  void mouseAndWheel() {
    run_in_task([](Window task) {
      const Window a = make_child(task, {10, 10, 110, 110});
      const Window b = make_child(task, {120, 10, 220, 110});
      client_of(a)->setFocus();
      log().clear();
      QTest::mousePress(client_of(b), Qt::RightButton, Qt::ShiftModifier, QPoint(5, 7));
      // The window takes the focus before it hears of the button.
      std::vector<int> order;
      for (const Recorded& r : log())
        if (r.win == b) order.push_back(event_code(r.ev));
      QCOMPARE(order, (std::vector<int>{3, 10}));
      const auto down = events_of<e_mousedown>(b);
      QCOMPARE(down[0].point, (Point{5, 7}));
      QCOMPARE(down[0].button, int(mb_Right));
      QCOMPARE(down[0].shift, 1);
      QCOMPARE(events_of<e_losefocus>(a).size(), std::size_t(1));

      QMouseEvent move(QEvent::MouseMove, QPointF(9, 9), client_of(b)->mapToGlobal(QPointF(9, 9)),
                       Qt::NoButton, Qt::LeftButton | Qt::MiddleButton, Qt::NoModifier);
      QApplication::sendEvent(client_of(b), &move);
      QCOMPARE(events_of<e_mousemove>(b).back().buttons, (std::vector<int>{0, 2}));

      for (int delta : {120, -120}) {
        log().clear();
        QWheelEvent wheel(QPointF(5, 5), client_of(b)->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(client_of(b), &wheel);
        const auto scrolls = events_of<e_vscroll>(b);
        QCOMPARE(scrolls.size(), std::size_t(QApplication::wheelScrollLines()));
        QCOMPARE(QApplication::wheelScrollLines(), 3);
        for (const e_vscroll& s : scrolls) QCOMPARE(s.code, delta > 0 ? 1 : 2);
      }
    });
  }

  void textRoundTrips() {
    run_in_task([](Window task) {
      const Window w = make_child(task);
      QCOMPARE(win_GetText(w), std::string());
      const std::string title(cp("Каталог"));
      win_SetText(w, title);
      QCOMPARE(win_GetText(w), title);
      QCOMPARE(events_of<e_state>(w).size(), std::size_t(1));
      QCOMPARE(std::get<text>(events_of<e_state>(w)[0].item).value, title);

      // A multi-line edit field, registered as a control of the window.
      auto* edit = new QPlainTextEdit(client_of(w));
      auto rec = std::make_unique<gui_detail::WindowRecord>();
      rec->kind = wk_Edit;
      rec->parent = w;
      rec->client = edit;
      const Window e = gui_detail::register_window(std::move(rec)).handle;
      const std::string two_lines = cp("Первая") + "\n" + cp("вторая");
      win_SetText(e, two_lines);
      QCOMPARE(edit->document()->blockCount(), 2);
      QCOMPARE(edit->document()->findBlockByNumber(1).text(), QString::fromUtf8("вторая"));
      QCOMPARE(win_GetText(e), two_lines);
      win_SetText(e, "a\r\nb");  // a line break in the platform's form is one break too
      QCOMPARE(win_GetText(e), std::string("a\nb"));
      // Events sent to a control go to its window.
      behaviour() = [](Window, const Event& ev) -> std::optional<long> {
        if (std::holds_alternative<e_user>(ev)) return std::get<e_user>(ev).data + 1;
        return std::nullopt;
      };
      QCOMPARE(win_SendEvent(e, e_user{1, 41}), 42L);
      QCOMPARE(win_GetParent(e), w);
    });
  }

  void attributesAndArguments() {
    QCOMPARE(caught_code([] { uix_SetAttrVal(4711, 1); }), errcode::kBadValue);
    QCOMPARE(caught_code([] { uix_GetAttrVal(4711); }), errcode::kBadValue);
    uix_SetAttrVal(xQbx_b3D, 5);
    QCOMPARE(uix_GetAttrVal(xQbx_b3D), 1);
    run_in_task([](Window task) {
      QMdiArea* mdi = gui_detail::task()->mdi_client;
      QCOMPARE(mdi->geometry().topLeft(), QPoint(0, 0));
      uix_SetAttrVal(xQbx_tBarheight, 30);
      uix_SetAttrVal(xQbx_lBarheight, 5);
      uix_SetAttrVal(xQbx_sBarheight, 20);
      const Rect client = win_GetClientRect(task);
      QCOMPARE(mdi->geometry(), QRect(5, 30, client.right - 5, client.bottom - 50));
      QCOMPARE(caught_code([] { win_GetText(0x7777); }), errcode::kNotWindow);
      QCOMPARE(caught_code([&] { win_Create(wk_TopLevel, {}, "", no_menu{}, make_child(task), {}, nullptr, 0); }), errcode::kWrongKind);
      QCOMPARE(caught_code([&] { win_PostEvent(task, e_keydown{65, 0}); }), errcode::kCannotPost);
      QCOMPARE(caught_code([] { win_Destroy(uix_GetAttrVal(attr_ScreenWindow)); }), errcode::kWrongKind);
      QCOMPARE(win_GetType(uix_GetAttrVal(attr_ScreenWindow)), int(wk_Screen));
    });
  }

  void geometryOfCreatedWindows() {
    run_in_task([](Window task) {
      const Window c = make_mdi_child(task, no_menu{});
      QCOMPARE(win_GetClientRect(c), (Rect{0, 0, 300, 200}));
      QMdiArea* mdi = gui_detail::task()->mdi_client;
      QCOMPARE(client_of(c)->mapTo(mdi->viewport(), QPoint(0, 0)), QPoint(20, 20));
      win_Move(c, {40, 50, 140, 100});
      QCOMPARE(win_GetClientRect(c), (Rect{0, 0, 100, 50}));
      QCOMPARE(client_of(c)->mapTo(mdi->viewport(), QPoint(0, 0)), QPoint(40, 50));
      QCOMPARE(win_GetParent(c), task);

      const Window pop = win_Create(wk_TopLevel, {100, 120, 400, 320}, "pop", res_menu{fixture::menu_records},
                                    uix_GetAttrVal(attr_ScreenWindow), kTopFlags, recording_handler, 0);
      QCOMPARE(win_GetClientRect(pop), (Rect{0, 0, 300, 200}));
      QCOMPARE(client_of(pop)->mapToGlobal(QPoint(0, 0)), QPoint(100, 120));
      QCOMPARE(win_GetParent(pop), Window(uix_GetAttrVal(attr_ScreenWindow)));
      const Window child = make_child(pop, {1, 2, 51, 32});
      QCOMPARE(win_GetChildWindows(pop), std::vector<Window>{child});
      QCOMPARE(win_GetChildWindows(task), std::vector<Window>{c});
    });
  }

  void destroyFromOwnDestroyIs6230() {
    static int reported = 0;
    reported = 0;
    uix_SetErrorHandler([](int code) { reported = code; });
    run_in_task([](Window task) {
      const Window w = make_child(task);
      behaviour() = [w](Window win, const Event& ev) -> std::optional<long> {
        if (win == w && std::holds_alternative<e_destroy>(ev)) win_Destroy(w);
        return std::nullopt;
      };
      win_Destroy(w);
      QCOMPARE(reported, errcode::kDestroyWhileDestroying);
      QCOMPARE(win_GetType(w), int(wk_NotAWindow));
    });
  }

  void errorInHandlerIsReportedOnce() {
    QString box_title, box_text;
    int boxes = 0;
    bool delivered_while_reporting = false;
    bool no_is_default = false;
    run_in_task([&](Window task) {
      behaviour() = [](Window, const Event& ev) -> std::optional<long> {
        if (const auto* u = std::get_if<e_user>(&ev); u && u->id == 1) RUN_Error(1234);
        return 0;
      };
      on_next_modal([&](QWidget* m) {
        ++boxes;
        auto* box = qobject_cast<QMessageBox*>(m);
        if (!box) {
          m->close();
          return;
        }
        box_title = box->windowTitle();
        box_text = box->text();
        const std::size_t before = log().size();
        win_SendEvent(task, e_user{2, 0});  // no event reaches a handler while the box is up
        delivered_while_reporting = log().size() != before;
        no_is_default = static_cast<QAbstractButton*>(box->defaultButton()) == box->button(QMessageBox::No);
        QTest::mouseClick(static_cast<QWidget*>(box->button(QMessageBox::Yes)), Qt::LeftButton);
      });
      win_PostEvent(task, e_user{1, 0});
      QVERIFY(wait_until([&] { return boxes == 1 && !QApplication::activeModalWidget(); }));
      // The program runs on.
      log().clear();
      QCOMPARE(win_SendEvent(task, e_user{3, 0}), 0L);
      QCOMPARE(events_of<e_user>(task).size(), std::size_t(1));
    });
    QCOMPARE(boxes, 1);
    QVERIFY(!delivered_while_reporting);
    QVERIFY(no_is_default);
    QCOMPARE(box_title, QString("Program Error"));
    QVERIFY2(box_text.contains("Module:window_tests.cpp"), qPrintable(box_text));
    QVERIFY(box_text.endsWith("\nRegister On Clipboard?"));
    // Yes put the report, without the question, on the clipboard.
    const QString clip = QGuiApplication::clipboard()->text();
    QVERIFY(clip.startsWith("Module:window_tests.cpp"));
    QVERIFY(!clip.contains("Register"));
  }

  void errorBoxShowsItsTextAsItIs() {
    // A report quotes what failed, and that may look like markup: it is shown as it is.
    const QString text = "Cannot open <b>a</b> & b";
    QString shown;
    on_next_modal([&](QWidget* m) {
      QLabel* label = m->findChild<QLabel*>("qt_msgbox_label");
      QAccessibleInterface* a = label ? QAccessible::queryAccessibleInterface(label) : nullptr;
      shown = a ? a->text(QAccessible::Name) : "<no label>";
      static_cast<QMessageBox*>(m)->button(QMessageBox::Ok)->click();
    });
    uix_ErrorMsg(1000, 0, 0, text.toStdString());
    QCOMPARE(shown, text);
  }

  void mdiMenuSwap() {
    run_in_task([](Window task) {
      const QStringList task_bar = bar_texts(task);
      const Window a = make_mdi_child(task, res_menu{fixture::menu_records}, "a");
      QCOMPARE(bar_texts(task), (QStringList{QString::fromUtf8("Удалить"), QString::fromUtf8("Редактировать базу"),
                                             QString::fromUtf8("Вывести карточку"), "&Window"}));
      const Window b = make_mdi_child(task, dyn_menu{{menu_item::txt(500, "Own")}}, "b");
      QCOMPARE(bar_texts(task), (QStringList{"Own", "&Window"}));
      const Window c = make_mdi_child(task, no_menu{}, "c");
      QCOMPARE(bar_texts(task), task_bar);

      // Items of a child's own menu can be changed while another child is active.
      menu_Enable(a, fixture::cmd_record_edit, true);
      win_SetFocus(a);
      QCOMPARE(bar_texts(task).size(), 4);
      QMenuBar* bar = static_cast<QMainWindow*>(frame_of(task))->menuBar();
      QVERIFY(!bar->actions()[0]->isEnabled());
      QVERIFY(bar->actions()[1]->isEnabled());
      // A command of the active child's menu reaches the child; e_menu for the task.
      log().clear();
      bar->actions()[1]->trigger();
      QCOMPARE(events_of<e_menu>(a).size(), std::size_t(1));
      QCOMPARE(events_of<e_menu>(a)[0].tag, fixture::cmd_record_edit);
      QVERIFY(events_of<e_menu>(task).empty());

      win_Destroy(a);
      QVERIFY(bar_texts(task) == task_bar || bar_texts(task) == (QStringList{"Own", "&Window"}));
      win_Destroy(b);
      win_Destroy(c);
      QCOMPARE(bar_texts(task), task_bar);
      // Window-list commands go to the MDI client, not to the handler.
      log().clear();
      for (QAction* act : gui_detail::task()->window_list->actions())
        if (act->text() == "&Cascade") act->trigger();
      QVERIFY(events_of<e_menu>(task).empty());
    });
  }

  void exitFromHandlerEndsInit() {
    Window task_seen = 0, child = 0;
    static std::size_t at_exit = 0;
    int code = -1;
    try {
      run_in_task([&](Window task) {
        task_seen = task;
        child = make_mdi_child(task, no_menu{});
        behaviour() = [](Window, const Event& ev) -> std::optional<long> {
          if (std::holds_alternative<e_user>(ev)) {
            at_exit = log().size();
            RUN_Exit(3);
          }
          return std::nullopt;
        };
        win_PostEvent(task, e_user{1, 0});
        QTest::qWait(200);
      });
    } catch (const RunExit& e) {
      code = e.code();
    }
    QCOMPARE(code, 3);
    QCOMPARE(win_GetType(task_seen), int(wk_NotAWindow));
    // After the exit only e_destroy is delivered, once to each window still open.
    QCOMPARE(log().size(), at_exit + 2);
    QCOMPARE(events_of<e_destroy>(task_seen).size(), std::size_t(1));
    QCOMPARE(events_of<e_destroy>(child).size(), std::size_t(1));
  }

  // The program's error handler destroys a window while the error is reported: the window still
  // hears of it, and a window made on a dying one during its destruction goes with it.
  void destroyWhileDeliveryIsBlocked() {
    static Window doomed = 0;
    uix_SetErrorHandler([](int) { win_Destroy(doomed); });
    run_in_task([](Window task) {
      doomed = make_child(task);
      static Window latecomer = 0;
      behaviour() = [](Window win, const Event& ev) -> std::optional<long> {
        if (std::holds_alternative<e_user>(ev)) RUN_Error(1234);
        if (win == doomed && std::holds_alternative<e_destroy>(ev)) latecomer = make_child(doomed);
        return std::nullopt;
      };
      win_SendEvent(task, e_user{1, 0});
      QCOMPARE(win_GetType(doomed), int(wk_NotAWindow));
      QCOMPARE(events_of<e_destroy>(doomed).size(), std::size_t(1));
      QCOMPARE(win_GetType(latecomer), int(wk_NotAWindow));
      QCOMPARE(events_of<e_destroy>(latecomer).size(), std::size_t(1));
    });
  }

  void postedEventsKeepTheirOrder() {
    run_in_task([](Window task) {
      const Window w = make_child(task);
      for (int i = 1; i <= 3; ++i) win_PostEvent(w, e_user{i, i * 10});
      win_PostEvent(w, e_menu{77, 0});
      QVERIFY(events_of<e_user>(w).empty());  // queued, not sent
      QVERIFY(wait_until([&] { return !events_of<e_menu>(w).empty(); }));
      const auto users = events_of<e_user>(w);
      QCOMPARE(users.size(), std::size_t(3));
      for (int i = 0; i < 3; ++i) QCOMPARE(users[i].data, (i + 1) * 10);
      win_PostEvent(w, e_closerequest{});
      QVERIFY(wait_until([&] { return win_GetType(w) == wk_NotAWindow; }));
    });
  }
};

QTEST_MAIN(WindowTests)
#include "window_tests.moc"

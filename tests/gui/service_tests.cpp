// Timers, menus, fonts, cursors and the help viewer of the layer, on the offscreen platform.
#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "internal/font_block.h"
#include "internal/window_record.h"
#include "layer_test_support.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

using namespace layer_test;
using gui_detail::find_record;

namespace {

int caught_code(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e.code();
  }
  return 0;
}

// The action with this command id anywhere in the task window's menu bar.
QAction* bar_action(Window task, int tag) {
  QMenuBar* bar = static_cast<QMainWindow*>(find_record(task)->frame.data())->menuBar();
  std::function<QAction*(const QList<QAction*>&)> search = [&](const QList<QAction*>& acts) -> QAction* {
    for (QAction* a : acts) {
      if (a->data().toInt() == tag && !a->menu()) return a;
      if (a->menu())
        if (QAction* found = search(a->menu()->actions())) return found;
    }
    return nullptr;
  };
  return search(bar->actions());
}

Window make_child(Window parent) {
  return win_Create(wk_Child, {0, 0, 100, 100}, "", res_menu{0}, parent, {}, recording_handler, 0);
}

QWidget* help_viewer() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "help_viewer" && w->isVisible()) return w;
  return nullptr;
}

}  // namespace

class ServiceTests : public QtSuite {
  Q_OBJECT

 public:
  ServiceTests() : QtSuite(uix_RegisterPart) {}

 private:
  void set_up() override { reset(); }

 private slots:
  void timerIdsAndTicks() {
    run_in_task([](Window task) {
      const std::int32_t t1 = timer_Set(task, 20);
      const std::int32_t t2 = timer_Set(task, 1000);
      QCOMPARE(t1, 900);
      QCOMPARE(t2, 901);
      timer_Kill(901);
      QCOMPARE(timer_Set(task, 1000), 901);  // the largest id is 900 again
      QCOMPARE(caught_code([] { timer_Kill(12345); }), errcode::kUnknownTimer);
      QVERIFY(wait_until([&] { return events_of<e_timer>(task).size() >= 2; }));
      for (const e_timer& t : events_of<e_timer>(task)) QCOMPARE(t.id, 900);
      timer_Kill(900);
      QCOMPARE(caught_code([] { timer_Kill(900); }), errcode::kUnknownTimer);
      QCOMPARE(timer_Set(task, 1000), 902);  // 901 still runs
      // A timer of a window that is gone stops; its entry stays until it is killed.
      const Window w = make_child(task);
      const std::int32_t tw = timer_Set(w, 10);
      win_Destroy(w);
      QTest::qWait(50);
      QVERIFY(events_of<e_timer>(w).empty());
      timer_Kill(tw);
      QCOMPARE(caught_code([] { timer_Set(0x7777, 10); }), errcode::kNotWindow);
    });
    // Without a task window there is no timer table.
    const Window pop = win_Create(wk_TopLevel, {0, 0, 50, 50}, "", no_menu{}, uix_GetAttrVal(attr_ScreenWindow),
                                  {wsf_Invisible}, recording_handler, 0);
    QCOMPARE(caught_code([&] { timer_Set(pop, 10); }), errcode::kNoTimerTable);
    timer_Kill(900);  // no error without a table
    win_Destroy(pop);
  }

  // Whether a box runs its loop, as a timer's handler asks it: while a note is open, and not
  // once it has closed.
  void modalLoopsAreKnown() {
    run_in_task([](Window) {
      std::vector<bool> seen{uix_InModalLoop()};
      on_next_modal([&](QWidget* box) {
        seen.push_back(uix_InModalLoop());
        static_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
      });
      dlg_Note("saved");
      seen.push_back(uix_InModalLoop());
      QCOMPARE(seen, (std::vector<bool>{false, true, false}));
    });
  }

  void menuGreyingAndChecks() {
    run_in_task([](Window task) {
      QAction* entry = bar_action(task, fixture::cmd_entry);
      QVERIFY(entry);
      QVERIFY(entry->isEnabled());
      menu_Enable(task, fixture::cmd_entry, false);
      menu_Update(task);
      QVERIFY(!entry->isEnabled());
      menu_Enable(task, fixture::cmd_entry, true);
      QVERIFY(entry->isEnabled());

      menu_Enable(task, cp("Ввести"), false);
      QVERIFY(!bar_action(task, fixture::cmd_add)->isEnabled());
      menu_Enable(task, "Contents", false);  // the text without its "&" and shortcut part
      QVERIFY(!bar_action(task, fixture::cmd_contents)->isEnabled());
      QCOMPARE(caught_code([&] { menu_Enable(task, "Nowhere", false); }), errcode::kMenuItemNotFound);

      menu_Check(task, fixture::cmd_view, true);
      QVERIFY(bar_action(task, fixture::cmd_view)->isChecked());
      menu_Check(task, fixture::cmd_view, false);
      QVERIFY(!bar_action(task, fixture::cmd_view)->isChecked());

      const Window child = make_child(task);
      QCOMPARE(caught_code([&] { menu_Enable(child, 1, false); }), errcode::kWrongKind);
      const Window bare = win_Create(wk_TopLevel, {0, 0, 100, 100}, "", no_menu{}, task, {}, recording_handler, 0);
      QCOMPARE(caught_code([&] { menu_Enable(bare, 1, false); }), errcode::kNoMenu);

      // A menu item and an e_initmenu reach the task handler.
      log().clear();
      bar_action(task, fixture::cmd_view)->trigger();
      QCOMPARE(events_of<e_menu>(task).size(), std::size_t(1));
      QCOMPARE(events_of<e_menu>(task)[0].tag, fixture::cmd_view);
      QMenu* categories = bar_action(task, fixture::cmd_view)->associatedObjects().isEmpty()
                              ? nullptr
                              : qobject_cast<QMenu*>(bar_action(task, fixture::cmd_view)->associatedObjects().first());
      QVERIFY(categories);
      categories->popup(QPoint(0, 0));
      QCOMPARE(events_of<e_initmenu>(task).size(), std::size_t(1));
      categories->close();
    });
  }

  // Items added while the program runs stand in order after their anchor, carry their command,
  // and go again; one may take itself out while its own command runs.
  void menuItemsAddedAndTakenOut() {
    run_in_task([](Window task) {
      QMenu* base = qobject_cast<QMenu*>(bar_action(task, fixture::cmd_entry)->associatedObjects().first());
      auto texts = [base] {
        QStringList out;
        for (QAction* a : base->actions()) out << (a->isSeparator() ? "-" : a->text());
        return out;
      };
      menu_InsertItem(task, fixture::cmd_entry, 3001, cp("&1 Первый"));
      menu_InsertItem(task, 3001, 3002, "&2 B & C");
      QCOMPARE(texts(), (QStringList{QString::fromUtf8("Ввод Данных"), QString::fromUtf8("&1 Первый"), "&2 B & C",
                                     QString::fromUtf8("Удал/Редакт/Вывод")}));
      QCOMPARE(caught_code([&] { menu_InsertItem(task, 9999, 3003, "x"); }), errcode::kMenuItemNotFound);
      menu_Enable(task, 3002, false);
      QVERIFY(!bar_action(task, 3002)->isEnabled());
      log().clear();
      behaviour() = [task](Window w, const Event& ev) -> std::optional<long> {
        if (const auto* m = std::get_if<e_menu>(&ev); w == task && m && m->tag == 3001) menu_DeleteItem(task, 3001);
        return std::nullopt;
      };
      bar_action(task, 3001)->trigger();
      QCOMPARE(events_of<e_menu>(task).size(), std::size_t(1));
      QCOMPARE(events_of<e_menu>(task)[0].tag, 3001);
      menu_DeleteItem(task, 3002);
      menu_DeleteItem(task, 3002);  // gone already: nothing
      QCOMPARE(texts(), (QStringList{QString::fromUtf8("Ввод Данных"), QString::fromUtf8("Удал/Редакт/Вывод")}));
      QVERIFY(!bar_action(task, 3001));
      QCOMPARE(caught_code([&] { menu_Enable(task, cp("&1 Первый"), false); }), errcode::kMenuItemNotFound);
      QCOMPARE(caught_code([&] { menu_DeleteItem(make_child(task), 1); }), errcode::kWrongKind);
    });
  }

  void fontCreateAndBlock() {
    const Font f = font_Create(ff_Helvetica, {fs_Bold, fs_Italic}, 12);
    QCOMPARE(font_FaceName(f), std::string("Arial"));
    std::vector<int> styles;
    int size = 0;
    font_GetAttrs(f, styles, size);
    QCOMPARE(styles, (std::vector<int>{1, 2}));
    QCOMPARE(size, 12);
    const gui_detail::LogFont lf = gui_detail::decode_font(f);
    QCOMPARE(lf.height, -gui_detail::mul_div(12, gui_detail::screen_ppi_y(), 72));
    QCOMPARE(lf.weight, 700);
    QCOMPARE(int(lf.pitch_and_family), 0x22);
    QCOMPARE(int(lf.out_precision), 3);
    QCOMPARE(int(lf.clip_precision), 2);
    QCOMPARE(int(lf.quality), 1);
    QCOMPARE(int(f.bytes[0]), 64);

    const QFont q = gui_detail::to_qfont(f);
    QCOMPARE(q.family(), QString("Arial"));
    QVERIFY(q.bold());
    QVERIFY(q.italic());
    QCOMPARE(q.pixelSize(), -lf.height);
    for (const Font& block : {f, font_Create(ff_Fixed, {fs_UnderLine}, 10), font_Create(ff_Times, {}, 9)})
      QVERIFY(gui_detail::from_qfont(gui_detail::to_qfont(block)) == block);

    const Font plain = font_SetAttrs(f, {}, 0);
    font_GetAttrs(plain, styles, size);
    QVERIFY(styles.empty());
    QCOMPARE(size, 12);
    QCOMPARE(font_FaceName(font_Create(99, {3, 8}, -10)), std::string("System"));

    QVERIFY(font_FromBytes(font_ToBytes(f)) == f);
    QVERIFY(!font_FromBytes("short"));
    QVERIFY(!font_FromBytes(std::string(64, '\0')));
  }

  void windowFonts() {
    run_in_task([](Window task) {
      const Font def = win_GetFont(task);
      QCOMPARE(font_FaceName(def), std::string("System"));
      std::vector<int> styles;
      int size = 0;
      font_GetAttrs(def, styles, size);
      QCOMPARE(size, 10);
      QVERIFY(styles.empty());

      const Window w = make_child(task);
      const Font courier = font_Create(ff_Fixed, {}, 10);
      win_SetFont(w, courier);
      QVERIFY(win_GetFont(w) == courier);
      const auto states = events_of<e_state>(w);
      QCOMPARE(states.size(), std::size_t(1));
      QVERIFY(std::get<font>(states[0].item).value == courier);
      QCOMPARE(caught_code([&] { win_SetFont(w, Font{}); }), errcode::kFontNotCreated);
      QCOMPARE(caught_code([&] { win_SetFont(uix_GetAttrVal(attr_ScreenWindow), courier); }), errcode::kWrongKind);
    });
  }

  void cursors() {
    run_in_task([](Window task) {
      const Window w = make_child(task);
      QCOMPARE(cursor_Get(w), 1);
      cursor_Set(w, cursor_Ibeam);
      QCOMPARE(find_record(w)->client->cursor().shape(), Qt::IBeamCursor);
      cursor_Set(w, cursor_SizeNS);
      QCOMPARE(find_record(w)->client->cursor().shape(), Qt::SizeVerCursor);
      cursor_Set(w, 4);  // the icon cursor is the arrow here
      QCOMPARE(find_record(w)->client->cursor().shape(), Qt::ArrowCursor);
      QCOMPARE(caught_code([&] { cursor_Set(w, 12); }), errcode::kNoCursorResource);
      cursor_SetWait();
      QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
      QTest::mouseMove(find_record(w)->client, QPoint(5, 5));
      QVERIFY(!QGuiApplication::overrideCursor());
    });
  }

  void helpViewer() {
    QTemporaryDir dir;
    const QString path = dir.filePath("guide.hlp");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<html><body><h1>Contents</h1><p>first</p><a name=\"context-5\"></a><p>Topic five</p></body></html>");
    f.close();
    run_in_task([&](Window task) {
      uix_ShowHelp("missing-file.hlp");  // reported by the viewer, not raised
      QWidget* v = help_viewer();
      QVERIFY(v);
      QVERIFY(v->findChild<QTextBrowser*>()->toPlainText().contains("cannot be opened"));
      uix_ShowHelpContext(path.toStdString(), 5);
      QVERIFY(v->findChild<QTextBrowser*>()->toPlainText().contains("Topic five"));
      uix_ShowHelpKeyWord(path.toStdString(), "first");
      QCOMPARE(v->findChild<QTextBrowser*>()->textCursor().selectedText(), QString("first"));
      QCOMPARE(caught_code([&] { uix_ShowHelp(path.toStdString(), 1); }), errcode::kNoHelpEngine);
      QCOMPARE(caught_code([&] { uix_ShowHelp(path.toStdString(), 2); }), errcode::kBadValue);
      // Closed and opened again by one handler: the viewer shown is one that stays.
      behaviour() = [&](Window, const Event& ev) -> std::optional<long> {
        if (!std::holds_alternative<e_user>(ev)) return std::nullopt;
        uix_HelpClose();
        uix_ShowHelp(path.toStdString());
        return 0;
      };
      win_PostEvent(task, e_user{1, 0});
      QVERIFY(wait_until([] { return !events_of<e_user>(uix_GetTaskWin()).empty(); }));
      QTest::qWait(100);
      QVERIFY(help_viewer());
      uix_HelpClose();
      QVERIFY(wait_until([] { return help_viewer() == nullptr; }));
    });
  }

  // F1 in a standard dialog asks the program; the help it shows opens on top of that dialog
  // (owned by it, so the dialog's modality leaves it usable) and goes with it. Without a
  // program's answer F1 does nothing there.
  void helpRequestedInAStandardDialog() {
    static QString path;
    QTemporaryDir dir;
    path = dir.filePath("guide.hlp");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("<html><body><p>first</p><a name=\"context-7\"></a><p>Topic seven</p></body></html>");
    f.close();
    run_in_task([&](Window) {
      QWidget* owner = nullptr;
      bool shown_on_top = false;
      on_next_modal([&](QWidget* prompt) {
        QTest::keyClick(prompt->focusWidget(), Qt::Key_F1);
        QVERIFY(!help_viewer());
        uix_SetHelpRequestHandler([] { uix_ShowHelpContext(path.toStdString(), 7); });
        prompt->close();
      });
      QVERIFY(!dlg_GetStr("Prompt", "Text", ""));
      on_next_modal([&](QWidget* prompt) {
        QTest::keyClick(prompt->focusWidget(), Qt::Key_F1);
        QWidget* v = help_viewer();
        shown_on_top = v && v->findChild<QTextBrowser*>()->toPlainText().contains("Topic seven");
        owner = v ? v->parentWidget() : nullptr;
        shown_on_top = shown_on_top && owner == prompt;
        prompt->close();
      });
      QVERIFY(!dlg_GetStr("Prompt", "Text", ""));
      QVERIFY(shown_on_top);
      QVERIFY(wait_until([] { return help_viewer() == nullptr; }));
      // Outside a dialog the viewer is the task window's again.
      uix_ShowHelp(path.toStdString());
      QVERIFY(help_viewer() && help_viewer()->parentWidget() == find_record(uix_GetTaskWin())->frame);
      uix_HelpClose();
    });
  }
};

QTEST_MAIN(ServiceTests)
#include "service_tests.moc"

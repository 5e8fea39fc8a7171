// uix_Init (the task window and the message loop), the attributes and the error handler.
#include "layer/uix.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QShortcut>
#include <QStyle>
#include <memory>

#include "internal/application.h"
#include "internal/dispatch.h"
#include "internal/geometry.h"
#include "internal/key_codes.h"
#include "internal/lifecycle.h"
#include "internal/menu_model.h"
#include "internal/modal_box.h"
#include "internal/paint_surface.h"
#include "internal/qt_translations.h"
#include "internal/qt_window.h"
#include "internal/resource_lookup.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "internal/text_focus.h"
#include "internal/window_build.h"
#include "internal/window_record.h"
#include "layer/error_box.h"
#include "runtime/err_report.h"
#include "runtime/err_texts.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

// The window-list pop-up: the first pop-up of the registered window-list menu when the program
// has that menu, else "&Window" with Tile, Cascade and Arrange Icons; the MDI children are listed
// below them while it opens.
QMenu* make_window_list(Window task_window) {
  QString title = system_text("&Window");
  std::vector<std::pair<int, QString>> items = {
      {9201, system_text("&Tile")}, {9202, system_text("&Cascade")}, {9203, system_text("&Arrange Icons")}};
  if (const ResMenu* def = find_menu_resource(window_list_menu_id())) {
    for (const ResMenuItem& d : def->items)
      if (d.kind == ResMenuItemKind::popup) {
        title = system_text(d.text);
        items.clear();
        for (const ResMenuItem& it : d.items)
          if (it.kind == ResMenuItemKind::command) items.emplace_back(it.id, system_text(it.text));
        break;
      }
  }
  auto* menu = new QMenu(title);
  auto fill = [menu, items, task_window] {
    menu->clear();
    for (const auto& [id, text] : items) {
      QAction* a = menu->addAction(text);
      QObject::connect(a, &QAction::triggered, menu, [task_window, id = id] {
        run_trapped([&] { route_command(task_window, id); });
      });
    }
    TaskData* t = task();
    if (!t || !t->mdi_client) return;
    const auto subs = t->mdi_client->subWindowList();
    if (!subs.isEmpty()) menu->addSeparator();
    int n = 1;
    for (QMdiSubWindow* s : subs) {
      QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(s->windowTitle()));
      a->setCheckable(true);
      a->setChecked(s == t->mdi_client->activeSubWindow());
      QObject::connect(a, &QAction::triggered, menu, [s = QPointer<QMdiSubWindow>(s)] {
        if (s && task() && task()->mdi_client) task()->mdi_client->setActiveSubWindow(s);
      });
    }
  };
  fill();
  QObject::connect(menu, &QMenu::aboutToShow, menu, fill);
  return menu;
}

void install_accelerators(QWidget* frame, Window task_window) {
  const ResAccelTable* table = find_accel_table(task_accelerators_id());
  if (!table) return;
  for (const ResAccel& a : table->entries) {
    const auto combo = key_combination_of(a.virtual_key, a.modifiers);
    if (!combo) continue;
    auto* sc = new QShortcut(QKeySequence(*combo), frame);
    sc->setContext(Qt::WindowShortcut);
    const int command = a.command;
    QObject::connect(sc, &QShortcut::activated, frame, [task_window, command] {
      run_trapped([&] { route_command(task_window, command); });
    });
  }
}

// Leaves the task data and the window table clean whatever way uix_Init ends.
struct RunGuard {
  TaskData* t;
  std::unique_ptr<QApplication> own_app;
  std::vector<QMetaObject::Connection> connections;
  bool done = false;

  void tidy() {
    if (done) return;
    done = true;
    for (auto& c : connections) QObject::disconnect(c);
    delete t->text_watch.data();
    if (find_record(t->task_window)) {
      if (!t->pending_exit) t->pending_exit = 0;  // only e_destroy reaches a handler while tidying
      destroy_window(t->task_window);
    }
    for (WindowRecord* r : all_records())
      if (QWidget* w = outer_widget(*r)) w->deleteLater();
    clear_window_table();
    delete t->window_list.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    set_task(nullptr);
    own_app.reset();
  }
  ~RunGuard() { tidy(); }
};

}  // namespace

bool uix_CanShowWindows() { return can_show_windows(); }

void uix_Init(const WinFlags& flags, EventHandler handler, const Menu& menu, const std::string&,
              const std::string& title) {
  ERR_InstallUserRepFns(uix_ErrorMsg);
  ERR_InstallTranslation(uix_Translate);
  ERR_SetMessageBoxes(true);
  if (task()) RUN_Error(errcode::kClassNotRegistered);  // the task window's class is already registered
  Attributes& a = attributes();
  if (a.mdi && std::holds_alternative<no_menu>(menu)) RUN_Error(errcode::kMdiNeedsMenu);

  // While the layer runs, the keyboard and the standard input cannot be read (1215).
  struct LayerRunning {
    LayerRunning() { IO_SetLayerRunning(true); }
    ~LayerRunning() { IO_SetLayerRunning(false); }
  } running;
  TaskData t;
  RunGuard guard{&t, nullptr, {}, false};
  guard.own_app = make_application_if_needed();
  install_qt_translations();
  set_task(&t);
  a.three_d = false;  // no 3D-controls library exists on this platform
  if (const int icon = task_icon_id()) QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/%1.ico").arg(icon)));

  WindowBuild b = start_window(wk_Task, kScreenWindow, flags, handler);
  build_menu(b, menu);
  LayerClient* client = own_client(b);
  LayerFrame* frame = own_frame(b, nullptr, client, title);
  if (a.mdi) {
    auto* mdi = new QMdiArea(client);
    mdi->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    t.mdi_client = mdi;
  }
  const WindowStyle style = b.rec->style;

  WindowRecord& r = join_table(b);
  const Window task_window = r.handle;
  t.task_window = task_window;
  if (r.menu && a.mdi) {
    t.window_list = make_window_list(task_window);
    r.menu->add_window_list(t.window_list);
  }
  show_menu_bar(r.menu.get(), frame);
  if (t.mdi_client)
    guard.connections.push_back(QObject::connect(t.mdi_client.data(), &QMdiArea::subWindowActivated,
                                                 t.mdi_client.data(), [] { refresh_task_menu_bar(); }));
  install_accelerators(frame, task_window);
  watch_text_focus(t);

  if (style.title_bar) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Seven eighths of the work area, centred: room for a list window's menu bar in one row.
    set_outer_geometry(r, QRect(avail.x() + avail.width() / 16, avail.y() + avail.height() / 16,
                                avail.width() * 7 / 8, avail.height() * 7 / 8));
  } else {
    set_outer_geometry(r, QRect(100, 100, 500, 400));
  }
  fit_mdi_client();
  if (style.disabled) frame->setEnabled(false);

  guard.connections.push_back(QObject::connect(
      qApp, &QGuiApplication::applicationStateChanged, qApp, [](Qt::ApplicationState s) {
        const bool active = s == Qt::ApplicationActive;
        // The frames are listed before any hears: a handler may destroy the others.
        std::vector<Window> frames;
        for (const WindowRecord* w : all_records())
          if (w->kind == wk_Task || (w->kind == wk_TopLevel && w->frame && w->frame->isWindow()))
            frames.push_back(w->handle);
        for (Window h : frames)
          run_trapped([&] { deliver(h, active ? Event{e_activate{}} : Event{e_deactivate{}}); });
      }));
  guard.connections.push_back(QObject::connect(
      qApp, &QGuiApplication::commitDataRequest, qApp, [](QSessionManager& sm) {
        std::vector<Window> frames;
        for (const WindowRecord* w : all_records())
          if (w->kind == wk_Task || w->kind == wk_TopLevel) frames.push_back(w->handle);
        for (Window h : frames) {
          bool refuse = false;
          run_trapped([&] { refuse = deliver(h, e_endsession{1}).handled; });
          if (refuse) sm.cancel();
        }
      }));

  deliver(task_window, e_create{0});

  if (find_record(task_window) && !t.pending_exit) {
    show_first(task_window, b.showing);
    client->update();
    QEventLoop loop;
    t.loop = &loop;
    if (!t.task_destroyed && !t.pending_exit) loop.exec();
    t.loop = nullptr;
  }
  const std::optional<int> exit_code = t.pending_exit;
  guard.tidy();
  if (exit_code) RUN_Exit(*exit_code);
}

Window uix_GetTaskWin() {
  const TaskData* t = task();
  return (t && find_record(t->task_window)) ? t->task_window : 0;
}

void uix_SetErrorHandler(ErrorHandler handler) { attributes().error_handler = handler; }

bool uix_RunTrapped(const std::function<void()>& body) { return gui_detail::run_trapped(body); }

bool uix_InModalLoop() { return gui_detail::running_loops() > 0; }

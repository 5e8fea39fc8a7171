// Frames around a client widget made outside the layer, registered as windows of the layer.
#include "internal/external_client.h"

#include <QApplication>
#include <QMdiArea>
#include <QMenuBar>

#include "internal/dispatch.h"
#include "internal/geometry.h"
#include "internal/lifecycle.h"
#include "internal/menu_model.h"
#include "internal/qt_window.h"
#include "internal/task_data.h"
#include "internal/text.h"
#include "internal/window_record.h"
#include "internal/window_setup.h"
#include "runtime/run_error.h"

namespace gui_detail {

Window create_window_with_client(QWidget* client, int kind, Rect rect, const std::string& title,
                                 const Menu& menu, Window parent, const WinFlags& flags,
                                 EventHandler handler, EventHandler second_handler,
                                 std::int32_t creation_data) {
  std::unique_ptr<QWidget> owned(client);  // until a frame or parent takes it
  if (kind != wk_TopLevel && kind != wk_Child) RUN_Error(errcode::kWrongKind);
  const bool on_screen = parent == kScreenWindow;
  WindowRecord* pr = on_screen ? nullptr : &checked_record(parent);
  if (!QApplication::instance() || !client) RUN_Error(errcode::kWindowNotCreated);
  TaskData* t = task();

  WindowStyle style = style_from_flags(flags);
  const bool want_max = style.maximized, want_min = style.minimized;
  style.maximized = style.minimized = false;

  auto rec = std::make_unique<WindowRecord>();
  rec->kind = kind;
  rec->parent = parent;
  rec->handler = handler;
  rec->second_handler = second_handler;
  rec->creation_data = creation_data;
  rec->style = style;
  rec->client = client;
  bool mdi_child = false;

  if (kind == wk_TopLevel) {
    if (!on_screen && pr->kind != wk_Task) RUN_Error(errcode::kWrongKind);
    std::unique_ptr<MenuModel> model = MenuModel::build(menu);
    if (!on_screen && t && t->mdi_client) {
      mdi_child = true;
      auto* sub = new LayerMdiChild;
      sub->setWidget(owned.release());
      sub->setWindowFlags(frame_window_flags(style, true));
      sub->setWindowTitle(to_qt(title));
      if (model && t->window_list) model->add_window_list(t->window_list);
      rec->frame = sub;
      t->mdi_client->addSubWindow(sub);
      sub->hide();
    } else {
      QWidget* owner = on_screen ? nullptr : outer_widget(*pr);
      auto* frame = new LayerFrame(owner, frame_window_flags(style));
      prepare_menu_bar(frame->menuBar());
      frame->setCentralWidget(owned.release());
      frame->setWindowTitle(to_qt(title));
      if (model)
        model->show_in(frame->menuBar());
      else
        frame->menuBar()->hide();
      rec->frame = frame;
    }
    rec->menu.reset(model.release());
  } else {
    if (on_screen || !pr->client) RUN_Error(errcode::kWrongKind);
    client->setParent(pr->client);
    owned.release();
    client->setWindowTitle(to_qt(title));
    if (const auto* m = std::get_if<res_menu>(&menu)) rec->control_id = m->id & 0xFFFF;
  }

  WindowRecord& r = register_window(std::move(rec));
  const Window h = r.handle;
  if (r.menu) {
    const Window route_to = mdi_child ? t->task_window : h;
    r.menu->on_command = [route_to](int tag) { run_trapped([&] { route_command(route_to, tag); }); };
    r.menu->on_init = [route_to] { run_trapped([&] { route_initmenu(route_to); }); };
  }
  set_client_geometry(r, to_qrect(rect));
  if (const WindowRecord* again = live_record(h); again && kind == wk_Child) again->client->raise();

  deliver(h, e_create{creation_data});
  show_created_window(h, want_max, want_min, mdi_child);
  return h;
}

}  // namespace gui_detail

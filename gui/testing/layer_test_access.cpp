// The layer's widgets behind its handles, for tests (see layer_test_access.h).
#include "layer_test_access.h"

#include "internal/control_widgets.h"
#include "internal/menu_model.h"
#include "internal/window_record.h"

namespace layer_test {

QWidget* client_of(Window win) {
  const gui_detail::WindowRecord* r = gui_detail::find_record(win);
  return r ? r->client.data() : nullptr;
}

QWidget* frame_of(Window win) {
  const gui_detail::WindowRecord* r = gui_detail::find_record(win);
  return r ? r->frame.data() : nullptr;
}

Window window_of(const QObject* widget) {
  const gui_detail::WindowRecord* r = widget ? gui_detail::find_record(widget) : nullptr;
  return r ? r->handle : 0;
}

std::size_t window_count() { return gui_detail::all_records().size(); }

QAction* menu_action(Window win, int id) {
  const gui_detail::WindowRecord* r = gui_detail::find_record(win);
  if (!r || !r->menu) return nullptr;
  const std::vector<QAction*> found = r->menu->find(id);
  return found.empty() ? nullptr : found.front();
}

std::optional<QFont> caption_font(const QWidget* widget) {
  if (const auto* button = dynamic_cast<const gui_detail::CtlPushButton*>(widget)) return button->caption_font();
  return std::nullopt;
}

}  // namespace layer_test

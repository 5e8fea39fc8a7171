// The range and thumb position of scroll-bar controls, kept by their QScrollBar.
#include <QScrollBar>

#include "internal/control_widgets.h"
#include "internal/window_record.h"
#include "layer/controls.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

QScrollBar& scroll_bar_of(Window win, SrcLoc loc = SrcLoc::current()) {
  const WindowRecord& r = checked_record(win, loc);
  auto* bar = qobject_cast<QScrollBar*>(r.client.data());
  if ((r.kind != wk_HScroll && r.kind != wk_VScroll) || !bar) RUN_Error(errcode::kWrongKind, loc);
  return *bar;
}

}  // namespace

void win_SetScrollRange(Window scroll_bar, int min, int max) {
  QScrollBar& bar = scroll_bar_of(scroll_bar);
  if (min > max) RUN_Error(errcode::kBadValue);
  const QuietScope quiet(&bar);
  bar.setRange(min, max);
}

void win_GetScrollRange(Window scroll_bar, int& min, int& max) {
  const QScrollBar& bar = scroll_bar_of(scroll_bar);
  min = bar.minimum();
  max = bar.maximum();
}

void win_SetScrollPos(Window scroll_bar, int pos) {
  QScrollBar& bar = scroll_bar_of(scroll_bar);
  const QuietScope quiet(&bar);
  bar.setValue(pos);
}

int win_GetScrollPos(Window scroll_bar) { return scroll_bar_of(scroll_bar).value(); }

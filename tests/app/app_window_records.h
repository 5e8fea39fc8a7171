// White-box helpers of the program's scenario tests: a window's Qt widget and back, through the
// layer's window records.
#pragma once

#include <QWidget>

#include "internal/window_record.h"
#include "layer/layer.h"

namespace app_test {

inline QWidget* client_of(Window w) { return gui_detail::find_record(w)->client; }
inline Window window_of(QWidget* w) {
  const gui_detail::WindowRecord* r = gui_detail::find_record(w);
  return r ? r->handle : 0;
}

}  // namespace app_test

// The layer's one reset entry and its registration as a part of the process.
#include "layer/layer_part.h"

#include <QCoreApplication>
#include <QEvent>

#include "internal/cursor_state.h"
#include "internal/custom_class.h"
#include "internal/geometry.h"
#include "internal/lifecycle.h"
#include "internal/picture_store.h"
#include "internal/program_translation.h"
#include "internal/task_data.h"
#include "internal/window_record.h"
#include "runtime/run.h"

namespace {

// The layer as a new process finds it. Windows left over (by a run that never started its loop,
// say) lose their records and their widgets; picture handles and window handles go on counting,
// so none is reused within the process.
void reset_layer() {
  using namespace gui_detail;
  for (WindowRecord* r : all_records())
    if (QWidget* w = outer_widget(*r)) w->deleteLater();
  clear_window_table();
  if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  clear_pictures();
  stop_all_timers();
  clear_custom_classes();
  cursor_mouse_moved();
  attributes() = Attributes{};
  drop_program_translation();
}

}  // namespace

void uix_RegisterPart() { RUN_RegisterPart(nullptr, nullptr, reset_layer); }

// Storage of the attributes and of the current run's task data.
#include "internal/task_data.h"

namespace gui_detail {
namespace {
TaskData* g_task = nullptr;
}

Attributes& attributes() {
  static Attributes a;
  return a;
}

TaskData* task() { return g_task; }
void set_task(TaskData* t) { g_task = t; }

}  // namespace gui_detail

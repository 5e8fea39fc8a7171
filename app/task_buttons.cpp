// A button of the task window's project toolbar enabled or greyed.
#include "app/task_buttons.h"

#include "layer/layer.h"
#include "packages/toolbar.h"

void включить_кнопку_задачи(int id, bool enabled) {
  const Window задача = uix_GetTaskWin();
  if (!задача) return;
  const ctrl_value значение{enabled, true};
  const auto было = toolbar_GetValue(задача, id);
  if (было && *было != toolbar_value(значение)) toolbar_SetValue(задача, id, значение);
}

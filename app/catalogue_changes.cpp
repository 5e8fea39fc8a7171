// Applying a command's operation and telling the user why it was not done.
#include "app/catalogue_changes.h"

#include <string>

#include "layer/layer.h"

bool изменить(const Операция& operation, std::string_view title, ИсточникИзменения source) {
  const ИтогИзменения итог = применить(operation, source);
  сообщить_итог(итог, title);
  return итог.сделано();
}

void сообщить_итог(const ИтогИзменения& outcome, std::string_view title) {
  if (outcome.сообщение.empty()) return;
  dlg_MessageBox(std::string(title), outcome.сообщение, mb_Error, mb_Ok, 0, mb_TaskModal);
}

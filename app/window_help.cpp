// The topic of the active window or dialog and the help opened at it.
#include "app/window_help.h"

#include <string>

#include "app/list_selection.h"
#include "app/session.h"
#include "layer/layer.h"
#include "resources/ids.h"

void справка_по_окну() {
  const std::vector<int>& темы = сеанс().темы_справки;
  int тема = тема_окно_задачи;
  if (!темы.empty())
    тема = темы.back();
  else if (окно_просмотра_с_фокусом())
    тема = тема_окно_списка;
  uix_ShowHelpContext(std::string(файл_справки), тема);
}

void справка_содержание() { uix_ShowHelp(std::string(файл_справки)); }

// The topic of the active window or dialog and the help opened at it.
#include "app/window_help.h"

#include <string>

#include "app/list_selection.h"
#include "app/session.h"
#include "layer/layer.h"
#include "resources/ids.h"

ТемаСправки::ТемаСправки(int тема) : есть_(тема != 0) {
  if (есть_) сеанс().темы_справки.push_back(тема);
}

ТемаСправки::~ТемаСправки() {
  if (есть_ && !сеанс().темы_справки.empty()) сеанс().темы_справки.pop_back();
}

int тема_команды(int команда) {
  switch (команда) {
    case cmd_КатегВвести:
    case cmd_КатегРедактировать:
    case cmd_КатегУдалить:
    case cmd_КатегПросмотр: return тема_категории;
    case cmd_Настройки: return тема_настройки;
    default: return 0;
  }
}

void справка_по_окну() {
  const std::vector<int>& темы = сеанс().темы_справки;
  int тема = тема_окно_задачи;
  if (!темы.empty())
    тема = темы.back();
  else if (окно_просмотра_с_фокусом())
    тема = тема_окно_списка;
  uix_ShowHelpContext(std::string(файл_справки), тема);
}

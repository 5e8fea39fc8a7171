// Applying a command's operation and telling the user why it was not done.
#include "app/catalogue_changes.h"

#include <string>
#include <variant>

#include "app/session.h"
#include "core/catalogue_files.h"
#include "layer/layer.h"
#include "runtime/codepage.h"

namespace {

// The title of the message about an operation of this kind.
std::string_view заголовок(const Операция& operation) {
  if (std::holds_alternative<ОтменитьИзменение>(operation)) return "Отмена изменения"_cp;
  if (std::holds_alternative<ПовторитьИзменение>(operation)) return "Повтор изменения"_cp;
  if (std::holds_alternative<ЗадатьШрифтКарточки>(operation)) return "Настройки"_cp;
  return "Сохранение"_cp;
}

}  // namespace

bool изменить(const Операция& operation, ИсточникИзменения source) {
  const ИтогИзменения итог = применить(operation, source);
  сообщить_итог(итог, заголовок(operation));
  return итог.сделано() || std::holds_alternative<ЗадатьШрифтКарточки>(operation);
}

void сообщить_итог(const ИтогИзменения& outcome, std::string_view title) {
  if (outcome.сообщение.empty()) return;
  dlg_MessageBox(std::string(title), outcome.сообщение, mb_Error, mb_Ok, 0, mb_TaskModal);
}

void следить_за_каталогом() {
  ИтогСлежения итог = освежить_каталог();
  std::vector<std::string>& ждут = сеанс().сообщения_слежения;
  for (std::string& с : итог.сообщения) ждут.push_back(std::move(с));
  if (ждут.empty() || uix_InModalLoop()) return;
  const std::vector<std::string> сказать = std::move(ждут);
  ждут.clear();
  for (const std::string& с : сказать) сообщить_о_каталоге(с);
}

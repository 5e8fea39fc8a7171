// The import summary dialog (see import_summary.h).
#include "app/import_summary.h"

#include <algorithm>
#include <climits>

#include "packages/dialog_package.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

bool dlg_итог_импорта_Create(Window parent, const ПланИмпорта& plan, const std::string& file_name) {
  using namespace dialog;
  std::size_t ошибок = 0;
  std::vector<std::string> список = замечания_импорта(plan, ошибок);
  const bool замечания = список.size() > ошибок;
  std::string надпись;
  if (plan.отказов > 0)
    надпись = "Строки с ошибками не будут добавлены ("_cps + std::to_string(plan.отказов) +
              (замечания ? "); ниже и прочие замечания:"_cps : "):"_cps);
  else
    надпись = замечания ? "Строк с ошибками нет; замечания:"_cps : "Строк с ошибками нет."_cps;
  const FieldList поля{
      {ид_ИтогИмпорта, statictext{итог_импорта(plan, file_name)}, nopr{}},
      {ид_НадписьОтказы, statictext{надпись}, nopr{}},
      {ид_ОтказыИмпорта, listbox{std::move(список), {}}, nopr{}},
  };
  const auto добавить = static_cast<std::int32_t>(std::min<std::size_t>(plan.новые.size(), INT32_MAX));
  return dialog_CreateModal(parent, диалог_итог_импорта, std::string(), поля, dlg_итог_импорта_eh, добавить).answer ==
         answer_ok;
}

std::optional<long> dlg_итог_импорта_eh(Window dlg, const Event& ev) {
  if (const auto* c = std::get_if<e_create>(&ev); c && c->creation_data == 0) {
    win_SetState(win_GetCtlHandle(dlg, кнопка_OK), {st_Disabled});
    win_SetFocus(win_GetCtlHandle(dlg, кнопка_Cancel));
  }
  return std::nullopt;
}

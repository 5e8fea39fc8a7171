// The import summary dialog (see import_summary.h).
#include "app/import_summary.h"

#include <algorithm>
#include <climits>

#include "packages/dialog_package.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

std::string число(std::size_t n) { return std::to_string(n); }

std::string итог(const ПланИмпорта& п, const std::string& файл) {
  return "Файл «"_cps + файл + "».\nБудет добавлено записей: "_cps + число(п.новые.size()) +
         ".\nУже есть в каталоге и не будут добавлены: "_cps + число(п.повторы_каталога) +
         ".\nПовторяют более ранние строки файла: "_cps + число(п.повторы_файла) + ".\nНовых категорий: "_cps +
         число(п.новые_категории.size()) + "."_cps;
}

std::vector<std::string> строки_отказов(const ПланИмпорта& п) {
  std::vector<std::string> out;
  const std::size_t показать = std::min(п.отказы.size(), kОтказовВСписке);
  out.reserve(показать + 1);
  for (std::size_t i = 0; i < показать; ++i)
    out.push_back("Строка "_cps + число(п.отказы[i].строка) + ": "_cps + п.отказы[i].причина);
  if (п.отказы.size() > показать) out.push_back("… и ещё строк: "_cps + число(п.отказы.size() - показать));
  return out;
}

}  // namespace

bool dlg_итог_импорта_Create(Window parent, const ПланИмпорта& plan, const std::string& file_name) {
  using namespace dialog;
  const std::string надпись = plan.отказы.empty()
                                  ? "Строк с ошибками нет."_cps
                                  : "Строки с ошибками не будут добавлены ("_cps + число(plan.отказы.size()) + "):"_cps;
  const FieldList поля{
      {ид_ИтогИмпорта, statictext{итог(plan, file_name)}, nopr{}},
      {ид_НадписьОтказы, statictext{надпись}, nopr{}},
      {ид_ОтказыИмпорта, listbox{строки_отказов(plan), {}}, nopr{}},
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

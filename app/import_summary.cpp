// The import summary dialog (see import_summary.h).
#include "app/import_summary.h"

#include <algorithm>
#include <climits>

#include "packages/dialog_package.h"
#include "resources/ids.h"
#include "runtime/codepage.h"

namespace {

std::string число(std::size_t n) { return std::to_string(n); }
std::string в_кавычках(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

std::string итог(const ПланИмпорта& п, const std::string& файл) {
  std::string out = "Файл «"_cps + файл + "».\nБудет добавлено записей: "_cps + число(п.новые.size()) +
                    ".\nУже есть в каталоге и не будут добавлены: "_cps + число(п.повторы_каталога) +
                    ".\nПовторяют более ранние строки файла: "_cps + число(п.повторы_файла) +
                    ".\nНовых категорий: "_cps + число(п.новых_категорий) + ".\nНовых видов: "_cps +
                    число(п.новых_видов) + "."_cps;
  if (п.повторы_заголовка > 0)
    out += "\nПовторяют первую строку файла и пропущены: "_cps + число(п.повторы_заголовка) + "."_cps;
  return out;
}

// The lines of the list: rows refused, rows passed over, new categories and kinds by name, the
// categories and kinds written as stored ones. How many lines are error lines goes to `ошибок`.
std::vector<std::string> строки_списка(const ПланИмпорта& п, std::size_t& ошибок) {
  std::vector<std::string> out;
  const auto строки = [&out](const std::vector<ОтказСтроки>& список, std::size_t всего, std::string_view ещё) {
    for (const ОтказСтроки& о : список) out.push_back("Строка "_cps + число(о.строка) + ": "_cps + о.причина);
    if (всего > список.size()) out.push_back(std::string(ещё) + число(всего - список.size()));
  };
  строки(п.отказы, п.отказов, "… и ещё строк с ошибками: "_cp);
  ошибок = out.size();
  строки(п.пропуски, п.пропусков, "… и ещё пропущенных строк: "_cp);
  std::vector<std::string> категории, виды;
  if (п.новых_категорий + п.новых_видов > 0)
    п.новые.для_каждой([&](const ЗаписьБазы& з, bool новая_категория, bool новый_вид) {
      if (новая_категория && категории.size() < kЗамечанийВПлане)
        категории.push_back("Новая категория "_cps + в_кавычках(з.категория));
      if (новый_вид && виды.size() < kЗамечанийВПлане) виды.push_back("Новый вид "_cps + в_кавычках(з.вид));
    });
  const auto имена = [&out](std::vector<std::string>& список, std::size_t всего, std::string_view ещё) {
    for (std::string& s : список) out.push_back(std::move(s));
    if (всего > список.size()) out.push_back(std::string(ещё) + число(всего - список.size()));
  };
  имена(категории, п.новых_категорий, "… и ещё новых категорий: "_cp);
  имена(виды, п.новых_видов, "… и ещё новых видов: "_cp);
  out.insert(out.end(), п.замены.begin(), п.замены.end());
  if (п.замен_больше) out.push_back("… и другие такие же замены"_cps);
  return out;
}

}  // namespace

bool dlg_итог_импорта_Create(Window parent, const ПланИмпорта& plan, const std::string& file_name) {
  using namespace dialog;
  std::size_t ошибок = 0;
  std::vector<std::string> список = строки_списка(plan, ошибок);
  const bool замечания = список.size() > ошибок;
  std::string надпись;
  if (plan.отказов > 0)
    надпись = "Строки с ошибками не будут добавлены ("_cps + число(plan.отказов) +
              (замечания ? "); ниже и прочие замечания:"_cps : "):"_cps);
  else
    надпись = замечания ? "Строк с ошибками нет; замечания:"_cps : "Строк с ошибками нет."_cps;
  const FieldList поля{
      {ид_ИтогИмпорта, statictext{итог(plan, file_name)}, nopr{}},
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

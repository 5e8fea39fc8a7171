// The CSV table and the HTML page of records, and the export command (see catalogue_export.h).
#include "app/catalogue_export.h"

#include <algorithm>

#include "app/catalogue_exchange.h"
#include "app/list_filter.h"
#include "app/shown_records.h"
#include "core/catalogue_folder.h"
#include "layer/layer.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"
#include "runtime/safe_write.h"

namespace {

void добавить_html(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.push_back(c);
    }
  }
}

// The page's own texts are UTF-8, as the page is.
constexpr std::string_view kНачалоСтраницы =
    "<!DOCTYPE html>\r\n"
    "<html lang=\"ru\">\r\n"
    "<head>\r\n"
    "<meta charset=\"utf-8\">\r\n"
    "<title>Каталог литературы</title>\r\n"
    "<style>\r\n"
    "body { font-family: sans-serif; margin: 1em; }\r\n"
    "table { border-collapse: collapse; width: 100%; }\r\n"
    "th, td { border: 1px solid #555; padding: 0.2em 0.4em; text-align: left; vertical-align: top; }\r\n"
    "th { background: #e4e4e4; }\r\n"
    "td.n { text-align: right; }\r\n"
    "thead { display: table-header-group; }\r\n"
    "tr { page-break-inside: avoid; }\r\n"
    "@media print { body { margin: 0; font-size: 10pt; } th { background: none; } }\r\n"
    "</style>\r\n"
    "</head>\r\n"
    "<body>\r\n"
    "<h1>Каталог литературы</h1>\r\n";

bool оканчивается_на(std::string_view имя, std::string_view окончание) {
  return имя.size() >= окончание.size() && CONV_SearchForm(имя.substr(имя.size() - окончание.size())) == окончание;
}

}  // namespace

std::string записи_в_html(const std::vector<ЗаписьБазы>& records) {
  // The head is UTF-8 as written here; the table is made in cp1251 (its markup is ASCII) and
  // turned into UTF-8 at once.
  std::string out;
  out.reserve(records.size() * 160 + 1000);
  out += "<p>Записей: "_cps + std::to_string(records.size()) + "</p>\r\n<table>\r\n<thead><tr>";
  for (const Колонка к : kПорядокКолонок) {
    out += "<th>";
    добавить_html(out, имя_колонки(к));
    out += "</th>";
  }
  out += "</tr></thead>\r\n<tbody>\r\n";
  for (const ЗаписьБазы& з : records) {
    out += "<tr>";
    for (const Колонка к : kПорядокКолонок) {
      out += к == Колонка::код ? "<td class=\"n\">" : "<td>";
      добавить_html(out, значение_колонки(з, к));
      out += "</td>";
    }
    out += "</tr>\r\n";
  }
  out += "</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n";
  return std::string(kНачалоСтраницы) + cp1251::to_utf8(out);
}

std::vector<ЗаписьБазы> каталог_для_экспорта() {
  std::vector<ЗаписьБазы> out = база_лит.all();
  std::stable_sort(out.begin(), out.end(), [](const ЗаписьБазы& a, const ЗаписьБазы& b) { return a.код < b.код; });
  return out;
}

bool экспортировать_каталог() {
  std::optional<std::vector<ЗаписьБазы>> записи;
  if (const auto окно = окно_с_фильтром()) {
    const int ответ = dlg_Ask("Экспорт"_cps,
                              "В окне списка найдено записей: "_cps + std::to_string(показано_строк(*окно)) + " из "_cps +
                                  std::to_string(всего_строк(*окно)) + ".\nВыгрузить найденные записи или весь каталог?"_cps,
                              {"Найденные"_cps, "Весь каталог"_cps, "Отмена"_cps});
    if (ответ == 2) return false;
    if (ответ == 0) записи = показанные_записи(*окно);
  }
  std::vector<std::string> выбранные;
  const auto путь = dlg_GetFileName("каталог.csv"_cps, {"Таблица CSV"_cps, "*.csv", "Страница HTML"_cps, "*.html;*.htm"},
                                    "Экспорт каталога"_cps, {1}, std::string(), выбранные);
  if (!путь) return false;
  if (!записи) записи = каталог_для_экспорта();
  const bool страница = оканчивается_на(*путь, ".html") || оканчивается_на(*путь, ".htm");
  try {
    RUN_ReplaceFile(*путь, страница ? записи_в_html(*записи) : записи_в_csv(*записи));
  } catch (const RunError& e) {
    dlg_MessageBox("Экспорт"_cps, текст_отказа("Не удалось записать файл «"_cps + *путь + "»"_cps, e),
                   mb_Error, mb_Ok, 0, mb_TaskModal);
    return false;
  }
  return true;
}

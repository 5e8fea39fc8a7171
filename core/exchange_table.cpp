// The columns of an exchanged table, its CSV text and its HTML page (see exchange_table.h).
#include "core/exchange_table.h"

#include <algorithm>

#include "core/csv_table.h"
#include "runtime/conversions.h"

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

std::string значение_колонки(const ЗаписьБазы& з, const ПолеКниги& п) {
  if (auto текст = текст_поля(п, з)) return std::move(*текст);
  return std::to_string(п.число(з));  // an integer without its word
}

std::string записи_в_csv(const std::vector<ЗаписьБазы>& records, const ТаблицаПолей& table) {
  // The quoting looks at ASCII bytes only, which both encodings share: the table is made in
  // cp1251 and turned into UTF-8 at once.
  std::string out;
  out.reserve(records.size() * 100 + 100);
  bool первое = true;
  for (const ПолеКниги& п : table) {
    if (!первое) out.push_back(',');
    первое = false;
    добавить_поле_csv(out, п.название);
  }
  out += "\r\n";
  for (const ЗаписьБазы& з : records) {
    первое = true;
    for (const ПолеКниги& п : table) {
      if (!первое) out.push_back(',');
      первое = false;
      добавить_значение_csv(out, значение_колонки(з, п));
    }
    out += "\r\n";
  }
  return std::string(kМеткаПорядкаБайтов) + cp1251::to_utf8(out);
}

std::string записи_в_html(const std::vector<ЗаписьБазы>& records, const ТаблицаПолей& table) {
  // The head is UTF-8 as written here; the table is made in cp1251 (its markup is ASCII) and
  // turned into UTF-8 at once.
  std::string out;
  out.reserve(records.size() * 160 + 1000);
  out += "<p>Записей: "_cps + std::to_string(records.size()) + "</p>\r\n<table>\r\n<thead><tr>";
  for (const ПолеКниги& п : table) {
    out += "<th>";
    добавить_html(out, п.название);
    out += "</th>";
  }
  out += "</tr></thead>\r\n<tbody>\r\n";
  for (const ЗаписьБазы& з : records) {
    out += "<tr>";
    for (const ПолеКниги& п : table) {
      out += п.код ? "<td class=\"n\">" : "<td>";
      добавить_html(out, значение_колонки(з, п));
      out += "</td>";
    }
    out += "</tr>\r\n";
  }
  out += "</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n";
  return std::string(kНачалоСтраницы) + cp1251::to_utf8(out);
}

bool имя_страницы(std::string_view file_name) {
  return оканчивается_на(file_name, ".html") || оканчивается_на(file_name, ".htm");
}

std::string текст_экспорта(const std::vector<ЗаписьБазы>& records, std::string_view file_name) {
  return имя_страницы(file_name) ? записи_в_html(records) : записи_в_csv(records);
}

std::vector<ЗаписьБазы> каталог_для_экспорта() {
  std::vector<ЗаписьБазы> out = база_лит.all();
  std::stable_sort(out.begin(), out.end(), [](const ЗаписьБазы& a, const ЗаписьБазы& b) { return a.код < b.код; });
  return out;
}

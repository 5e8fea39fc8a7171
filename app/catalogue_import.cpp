// Reading a table of records, the plan of an import, carrying it out, and the import command (see
// catalogue_import.h).
#include "app/catalogue_import.h"

#include <array>
#include <cstdio>
#include <unordered_set>

#include "app/catalogue_exchange.h"
#include "app/csv_table.h"
#include "app/import_summary.h"
#include "app/session.h"
#include "core/catalogue_files.h"
#include "core/catalogue_folder.h"
#include "layer/layer.h"
#include "runtime/codepage.h"
#include "runtime/conversions.h"
#include "runtime/err_words.h"
#include "runtime/file_slots.h"
#include "runtime/run_error.h"

namespace {

constexpr std::string_view kМеткаПорядкаБайтов = "\xEF\xBB\xBF";
constexpr std::size_t kСтрокМеждуОтчётами = 1024;

std::string_view без_пробелов(std::string_view s) {
  const std::size_t начало = s.find_first_not_of(" \t");
  if (начало == std::string_view::npos) return {};
  return s.substr(начало, s.find_last_not_of(" \t") - начало + 1);
}

// The seven values after the code, as one key: equal keys for records that the duplicate check
// of data entry takes as equal (text byte for byte, numbers by value).
std::string ключ(const ЗаписьБазы& з) {
  std::string k;
  const auto число = [&k](std::uint32_t n) { k.append(reinterpret_cast<const char*>(&n), sizeof n); };
  for (const std::string* поле : {&з.автор, &з.наименование, &з.категория, &з.вид, &з.обложка}) {
    число(static_cast<std::uint32_t>(поле->size()));
    k += *поле;
  }
  число(static_cast<std::uint32_t>(з.диск));
  число(static_cast<std::uint32_t>(з.переплет));
  return k;
}

std::string в_кавычках(std::string_view s) { return "«"_cps + std::string(s) + "»"_cps; }

// A value shown in a reason: at most 40 characters of it.
std::string показать(std::string_view значение) {
  if (значение.size() <= 40) return в_кавычках(значение);
  return в_кавычках(std::string(значение.substr(0, 40)) + "…"_cps);
}

// A table's text as the import reads it: its encoding and where each column stands.
struct Таблица {
  bool utf8 = false;
  std::array<std::optional<std::size_t>, kКолонки.size()> место;
  std::size_t столбцов = 0;
};

// A field in cp1251 into `текст`; false, with why in `причина`, when it cannot be one.
bool перекодировать(std::string_view поле, bool utf8, Колонка к, std::string& текст, std::string& причина) {
  const std::string столбец = "в столбце "_cps + в_кавычках(имя_колонки(к));
  if (utf8) {
    char32_t знак = 0;
    auto r = cp1251::from_utf8_exact(поле, &знак);
    if (!r && знак == 0xFFFD) {
      причина = столбец + " неверная запись UTF-8"_cps;
      return false;
    }
    if (!r) {
      char код[16];
      std::snprintf(код, sizeof код, "U+%04X", static_cast<unsigned>(знак));
      причина = столбец + " знак "_cps + код + ", которого нет в кодовой странице 1251"_cps;
      return false;
    }
    текст = std::move(*r);
  } else {
    текст = поле;
  }
  for (const char c : текст)
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
      причина = столбец + " управляющий знак"_cps;
      return false;
    }
  return true;
}

// The value 0 or 1 of a disk or binding word; nothing for any other word.
std::optional<std::int32_t> флаг(std::string_view значение, std::string_view слово_0, std::string_view слово_1) {
  const std::string форма = CONV_SearchForm(без_пробелов(значение));
  if (форма.empty() || форма == "0" || форма == CONV_SearchForm(слово_0)) return 0;
  if (форма == "1" || форма == CONV_SearchForm(слово_1)) return 1;
  return std::nullopt;
}

// The columns of the first row; a file refusal when the row is not the head of a table of records.
std::optional<std::string> прочитать_заголовок(const СтрокаCsv& строка, Таблица& т) {
  if (!строка.ошибка.empty()) return "Первую строку файла прочитать нельзя: "_cps + строка.ошибка + "."_cps;
  т.столбцов = строка.поля.size();
  for (std::size_t i = 0; i < строка.поля.size(); ++i) {
    const auto имя = т.utf8 ? cp1251::from_utf8_exact(строка.поля[i]) : std::optional<std::string>(строка.поля[i]);
    if (!имя) continue;  // no column of ours has such a name
    const std::string форма = CONV_SearchForm(без_пробелов(*имя));
    for (std::size_t к = 0; к < kКолонки.size(); ++к) {
      if (форма != CONV_SearchForm(kКолонки[к])) continue;
      if (т.место[к]) return "Столбец "_cps + в_кавычках(kКолонки[к]) + " назван в первой строке дважды."_cps;
      т.место[к] = i;
    }
  }
  if (!т.место[static_cast<std::size_t>(Колонка::автор)] && !т.место[static_cast<std::size_t>(Колонка::наименование)])
    return "В первой строке нет столбцов «Автор» и «Наименование»: это не таблица записей каталога."_cps;
  return std::nullopt;
}

// The record of a row, or why the row is refused.
std::variant<ЗаписьБазы, std::string> запись_строки(const СтрокаCsv& строка, const Таблица& т) {
  if (!строка.ошибка.empty()) return строка.ошибка;
  if (строка.поля.size() != т.столбцов)
    return "значений "_cps + std::to_string(строка.поля.size()) + ", а столбцов в первой строке "_cps +
           std::to_string(т.столбцов);
  std::array<std::string, kКолонки.size()> значения;
  for (std::size_t к = 1; к < kКолонки.size(); ++к) {  // the code is not read
    if (!т.место[к]) continue;
    std::string причина;
    if (!перекодировать(строка.поля[*т.место[к]], т.utf8, static_cast<Колонка>(к), значения[к], причина)) return причина;
  }
  const auto значение = [&значения](Колонка к) -> std::string& { return значения[static_cast<std::size_t>(к)]; };
  ЗаписьБазы з;
  з.автор = std::move(значение(Колонка::автор));
  з.наименование = std::move(значение(Колонка::наименование));
  if (без_пробелов(з.автор).empty() && без_пробелов(з.наименование).empty()) return "нет ни автора, ни наименования"_cps;
  const auto диск = флаг(значение(Колонка::диск), "Нет"_cp, "Есть"_cp);
  if (!диск)
    return "в столбце «Диск» "_cps + показать(значение(Колонка::диск)) + " вместо «Есть» или «Нет»"_cps;
  const auto переплёт = флаг(значение(Колонка::переплёт), "Мягкий"_cp, "Твёрдый"_cp);
  if (!переплёт)
    return "в столбце «Переплёт» "_cps + показать(значение(Колонка::переплёт)) + " вместо «Твёрдый» или «Мягкий»"_cps;
  з.категория = std::move(значение(Колонка::категория));
  з.вид = std::move(значение(Колонка::вид));
  з.диск = *диск;
  з.переплет = *переплёт;
  з.обложка = std::move(значение(Колонка::обложка));
  return з;
}

}  // namespace

std::optional<std::variant<ПланИмпорта, ОтказФайла>> разобрать_импорт(std::string_view bytes,
                                                                       const std::function<bool(std::size_t)>& report) {
  using Итог = std::variant<ПланИмпорта, ОтказФайла>;
  if (bytes.find('\0') != std::string_view::npos)
    return Итог(ОтказФайла{"Это не таблица: в файле есть двоичные данные."_cps});
  Таблица т;
  const std::size_t начало = bytes.starts_with(kМеткаПорядкаБайтов) ? kМеткаПорядкаБайтов.size() : 0;
  т.utf8 = начало > 0 || cp1251::is_utf8(bytes);
  const std::string_view текст = bytes.substr(начало);
  ЧтениеCsv чтение(текст, разделитель_csv(текст), kДлиннейшееЗначение);
  const auto заголовок = чтение.следующая();
  if (!заголовок) return Итог(ОтказФайла{"Файл пуст."_cps});
  if (auto отказ = прочитать_заголовок(*заголовок, т)) return Итог(ОтказФайла{std::move(*отказ)});

  std::unordered_set<std::string> известные;
  известные.reserve(база_лит.count() * 2 + 1024);
  for (const ЗаписьБазы& з : база_лит.facts()) известные.insert(ключ(з));
  std::unordered_set<std::string> категории;
  for (const std::string& к : категории_лит.facts()) категории.insert(к);
  std::unordered_set<std::string> из_файла;

  ПланИмпорта план;
  std::size_t строк = 0;
  while (auto строка = чтение.следующая()) {
    if (++строк % kСтрокМеждуОтчётами == 0 && report && !report(чтение.прочитано())) return std::nullopt;
    auto r = запись_строки(*строка, т);
    if (auto* причина = std::get_if<std::string>(&r)) {
      план.отказы.push_back({строка->строка, std::move(*причина)});
      continue;
    }
    ЗаписьБазы& з = std::get<ЗаписьБазы>(r);
    std::string к = ключ(з);
    if (известные.contains(к)) {
      ++план.повторы_каталога;
      continue;
    }
    if (!из_файла.insert(std::move(к)).second) {
      ++план.повторы_файла;
      continue;
    }
    if (!з.категория.empty() && категории.insert(з.категория).second) план.новые_категории.push_back(з.категория);
    план.новые.push_back(std::move(з));
  }
  if (report && !report(текст.size())) return std::nullopt;
  return Итог(std::move(план));
}

void выполнить_импорт(const ПланИмпорта& план, const std::function<void(std::size_t)>& report) {
  std::optional<std::int32_t> наибольший;
  for (auto v : база_лит.views()) наибольший = std::max(наибольший.value_or(INT32_MIN), v[&ЗаписьБазы::код]);
  const std::int64_t первый = наибольший ? std::int64_t{*наибольший} + 1 : 1;
  if (первый + static_cast<std::int64_t>(план.новые.size()) - 1 > INT32_MAX) RUN_Error(errcode::kIntOverflow);

  for (std::size_t i = 0; i < план.новые.size(); ++i) {
    ЗаписьБазы з = план.новые[i];
    з.код = static_cast<std::int32_t>(первый + static_cast<std::int64_t>(i));
    база_лит.asserta(з);
    if (report && (i + 1) % kСтрокМеждуОтчётами == 0) report(i + 1);
  }
  for (const std::string& к : план.новые_категории) категории_лит.assertz(к);
  try {
    сохранить_основную_базу();
  } catch (...) {
    // Nothing of the import stays: the new records are those with the new codes.
    база_лит.retract_all([&](const ЗаписьБазы& з) { return з.код >= первый; });
    for (const std::string& к : план.новые_категории) категории_лит.retract(к);
    throw;
  }
  if (report) report(план.новые.size());
  std::vector<std::int32_t> коды;  // as a new code leaves the codes list: every code in table order
  for (auto v : база_лит.views()) коды.push_back(v[&ЗаписьБазы::код]);
  списоккодов.set(коды);
  if (!план.новые_категории.empty()) сохранить_категории();
}

bool импортировать_каталог() {
  std::vector<std::string> выбранные;
  const auto путь = dlg_GetFileName("*.csv", {"Таблица CSV"_cps, "*.csv", "Все файлы"_cps, "*"}, "Импорт каталога"_cps, {},
                                    std::string(), выбранные);
  if (!путь) return false;
  const std::string имя = путь->substr(путь->find_last_of('/') == std::string::npos ? 0 : путь->find_last_of('/') + 1);
  const auto сообщить = [](const std::string& текст) {
    dlg_MessageBox("Импорт"_cps, текст, mb_Error, mb_Ok, 0, mb_TaskModal);
  };
  std::optional<std::string> байты;
  try {
    байты = IO_RdFileBytes(*путь, kНаибольшийФайлИмпорта);
  } catch (const RunError& e) {
    сообщить(текст_отказа("Не удалось прочитать файл "_cps + в_кавычках(имя), e));
    return false;
  }
  if (!байты) {
    сообщить("Файл "_cps + в_кавычках(имя) + " слишком велик для импорта: больше 256 МБ."_cps);
    return false;
  }
  std::optional<std::variant<ПланИмпорта, ОтказФайла>> итог;
  dlg_Progress("Импорт"_cps, "Чтение файла "_cps + в_кавычках(имя) + "…"_cps, static_cast<long long>(байты->size()),
               "Прервать"_cps, 500, [&](const ProgressReport& report) {
                 итог = разобрать_импорт(*байты, [&report](std::size_t n) { return report(static_cast<long long>(n)); });
                 return итог.has_value();
               });
  if (!итог) return false;
  if (const auto* отказ = std::get_if<ОтказФайла>(&*итог)) {
    сообщить("Импорт из файла "_cps + в_кавычках(имя) + " не выполнен.\n"_cps + отказ->причина);
    return false;
  }
  const ПланИмпорта& план = std::get<ПланИмпорта>(*итог);
  if (!dlg_итог_импорта_Create(uix_GetTaskWin(), план, имя) || план.новые.empty()) return false;
  const std::size_t было = база_лит.count();
  try {
    dlg_Progress("Импорт"_cps, "Добавление записей…"_cps, static_cast<long long>(план.новые.size()), std::string(), 500,
                 [&](const ProgressReport& report) {
                   выполнить_импорт(план, [&report](std::size_t n) { report(static_cast<long long>(n)); });
                   return true;
                 });
  } catch (const RunError& e) {
    const bool записи_добавлены = база_лит.count() != было;
    if (e.code() == errcode::kIntOverflow)
      сообщить("Записи не добавлены: их коды вышли бы за наибольшее допустимое число."_cps);
    else if (errcode::host_number(e.code()) > 0 && !записи_добавлены)
      сообщить("Записи не добавлены: каталог сохранить не удалось ("_cps + причина_ошибки_файла(e) + ").\n"_cps +
               ERR_ErrorAdvice(e.code()));
    else if (errcode::host_number(e.code()) > 0)
      сообщить("Записи добавлены, но новые категории сохранить не удалось ("_cps + причина_ошибки_файла(e) + ").\n"_cps +
               ERR_ErrorAdvice(e.code()));
    else
      throw;
    return записи_добавлены;
  }
  return true;
}

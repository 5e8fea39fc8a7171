// The exchanged table through the field table: a field more reaches the export and the import
// (its caption, another name the import knows it by, its words or its number, the duplicate key
// that the import's plan and data entry share), the packed values come back as they were, and the
// check of a folder's files finds every line the reader does not understand.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "core/book_fields.h"
#include "core/catalogue_check.h"
#include "core/catalogue_facts.h"
#include "core/exchange_table.h"
#include "core/import_plan.h"
#include "runtime/codepage.h"
#include "test_support.h"

namespace {

// The program's table with a text "серия" (kept by the record's author in `где`, as an
// imported record has no code yet) in the key, and an integer "тираж" without words outside it.
ТаблицаПолей с_издательством(std::map<std::string, std::string>& где, std::map<std::string, std::int32_t>& годы) {
  std::vector<ПолеКниги> поля = поля_книги().поля();
  ПолеКниги п;
  п.имя = "серия"_cp;
  п.тип = ТипПоля::текст;
  п.текст = [&где](const ЗаписьБазы& з) -> std::string_view {
    const auto it = где.find(з.автор);
    return it == где.end() ? std::string_view() : std::string_view(it->second);
  };
  п.задать_текст = [&где](ЗаписьБазы& з, std::string v) { где[з.автор] = std::move(v); };
  п.название = "Серия"_cp;
  п.другие_названия = {"Цикл"_cp};
  п.в_ключе_повтора = true;
  поля.insert(поля.begin() + 3, std::move(п));
  ПолеКниги год;
  год.имя = "тираж"_cp;
  год.тип = ТипПоля::число;
  год.число = [&годы](const ЗаписьБазы& з) { return годы.contains(з.автор) ? годы.at(з.автор) : 0; };
  год.задать_число = [&годы](ЗаписьБазы& з, std::int32_t v) { годы[з.автор] = v; };
  год.название = "Тираж"_cp;
  поля.push_back(std::move(год));
  return ТаблицаПолей(std::move(поля));
}

const ПланИмпорта& план(const std::optional<std::variant<ПланИмпорта, ОтказФайла>>& итог) {
  EXPECT_TRUE(итог && std::holds_alternative<ПланИмпорта>(*итог));
  return std::get<ПланИмпорта>(*итог);
}

TEST(Exchange, OneMoreFieldReachesTheExportAndTheImport) {
  std::map<std::string, std::string> издательства;
  std::map<std::string, std::int32_t> годы;
  const ТаблицаПолей т = с_издательством(издательства, годы);
  издательства["Гоголь"_cps] = "Азбука"_cps;
  годы["Гоголь"_cps] = 1836;
  const ЗаписьБазы гоголь{7, "Гоголь"_cps, "Нос"_cps, "Повесть"_cps, "Книга"_cps, 0, 1, ""};
  EXPECT_EQ(записи_в_csv({гоголь}, т),
            "\xEF\xBB\xBF" + cp1251::to_utf8("Код,Автор,Наименование,Серия,Категория,Вид,Год издания,Издательство,"
                                            "Место издания,ISBN,Шифр,Диск,Переплёт,Обложка,Экземпляров,Страниц,"
                                            "Примечание,Тираж\r\n"
                                            "7,Гоголь,Нос,Азбука,Повесть,Книга,,,,,,Нет,Твёрдый,,1,,,1836\r\n"_cps));
  EXPECT_NE(записи_в_html({гоголь}, т).find("<td>Азбука</td><td>Повесть</td>"), std::string::npos);
  EXPECT_EQ(записи_в_csv({гоголь}).find("Азбука"), std::string::npos);

  // The catalogue holds Гоголь of the series "Азбука": the same book of another series is no
  // duplicate under this table, and is one under the program's.
  очистить_каталог();
  база_лит.assertz(гоголь);
  const std::string таблица = cp1251::to_utf8(
      "Цикл,Автор,Наименование,Категория,Вид,Переплёт,Тираж\r\n"
      "Наука,Гоголь,Нос,Повесть,Книга,Твёрдый,1835\r\n"
      "Наука,Пушкин,Повести Белкина,Повесть,Книга,Мягкий,около 1830\r\n"_cps);
  const auto итог = разобрать_импорт(таблица, {}, т);
  const ПланИмпорта& п = план(итог);
  EXPECT_EQ(п.повторы_каталога, 0u);
  ASSERT_EQ(п.новые.size(), 1u);
  издательства.clear();
  годы.clear();
  const std::vector<ЗаписьБазы> новые = п.новые.все();
  EXPECT_EQ(новые[0], (ЗаписьБазы{0, "Гоголь"_cps, "Нос"_cps, "Повесть"_cps, "Книга"_cps, 0, 1, ""}));
  EXPECT_EQ(издательства.at("Гоголь"_cps), "Наука"_cps);
  EXPECT_EQ(годы.at("Гоголь"_cps), 1835);
  ASSERT_EQ(п.отказы.size(), 1u);
  EXPECT_EQ(п.отказы[0], (ОтказСтроки{3, "в столбце «Тираж» «около 1830» вместо числа"_cps}));
  EXPECT_EQ(план(разобрать_импорт(таблица)).повторы_каталога, 1u);

  // A column named twice, by its caption and by its other name, refuses the file.
  const auto дважды = разобрать_импорт(cp1251::to_utf8("Автор,Цикл,Серия\r\nА,Б,В\r\n"_cps), {}, т);
  ASSERT_TRUE(дважды && std::holds_alternative<ОтказФайла>(*дважды));
  EXPECT_EQ(std::get<ОтказФайла>(*дважды).причина, "Столбец «Серия» назван в первой строке дважды."_cps);
  очистить_каталог();
}

// Packed values come back as they were, whatever the values; equal keys only for equal values.
TEST(Exchange, PackedValuesComeBack) {
  const std::vector<ЗаписьБазы> записи = {
      {0, "", "", "", "", 0, 0, ""},
      {0, "Гоголь"_cps, "", "Повесть"_cps, "", 1, 0, "n.bmp"},
      {0, std::string(300, 'x'), "a\nb", "", "Книга"_cps, -1, 2147483647, ""},
      {0, "", "x", "", "", -2147483647 - 1, 1, std::string(1, '\0')},
  };
  std::set<std::string> ключи;
  for (const ЗаписьБазы& з : записи) {
    const std::string ключ = ключ_повтора(з);
    ЗаписьБазы назад;
    EXPECT_EQ(распаковать_поля(ключ.data(), назад, поле_ключа), ключ.data() + ключ.size());
    EXPECT_EQ(назад, з);
    EXPECT_EQ(пропустить_поля(ключ.data(), поле_ключа), ключ.data() + ключ.size());
    EXPECT_EQ(текст_упаковки(ключ.data(), *поля_книги().поле("категория"_cp), поле_ключа), std::string_view(з.категория));
    ключи.insert(ключ);
  }
  EXPECT_EQ(ключи.size(), записи.size());
  // An empty record takes one byte (its head); a short one little more than its texts.
  EXPECT_EQ(ключ_повтора(записи[0]).size(), 1u);
  EXPECT_EQ(ключ_повтора(записи[1]).size(), 2u + (1 + 6) + (1 + 7) + (1 + 5));  // a head of nine bits
}

// The check reads each file line by line: every line not understood, a start file missing; the
// card font's file only when it is there.
TEST(CatalogueCheck, EveryLineNotUnderstood) {
  test_support::TempDir dir;
  test_support::InDirectory in(dir.path());
  очистить_каталог();
  EXPECT_EQ(проверить_файлы_каталога().size(), 3u);  // kinds, categories, catalogue: none there
  test_support::write_bytes(dir.file("ВидЛитер.pbs"), "виды_лит(\"Книга\")\r\n"_cps);
  test_support::write_bytes(dir.file("КатегЛитер.pbs"), std::string());
  test_support::write_bytes(dir.file("Литература1.pbs"),
                            "база_лит(1,\"А\",\"Б\",\"\",\"\",0,0,\"\")\r\nбаза_лит(2,\"А\r\n"
                            "\r\nбаза_лит(3,\"В\",\"Г\",\"\",\"\",0,0,\"\")\r\nвиды_лит(\"Книга\")"_cps);
  const std::vector<ОшибкаФайла> ошибки = проверить_файлы_каталога();
  ASSERT_EQ(ошибки.size(), 3u);
  EXPECT_EQ(ошибки[0].строка, 2u);
  EXPECT_EQ(ошибки[0].файл, "Литература1.pbs"_cp);
  EXPECT_TRUE(ошибки[0].причина.starts_with("строку «база_лит(2,\"А» программа не понимает: "_cps)) << ошибки[0].причина;
  EXPECT_EQ(ошибки[1].строка, 3u);  // an empty line is not a fact either
  EXPECT_EQ(ошибки[2].строка, 5u);  // a fact of another section
  EXPECT_EQ(база_лит.count(), 2u);
  test_support::write_bytes(dir.file("Литература1.pbs"), std::string());
  EXPECT_TRUE(проверить_файлы_каталога().empty());
  test_support::write_bytes(dir.file("Настройки.pbs"), "нет\r\n");
  ASSERT_EQ(проверить_файлы_каталога().size(), 1u);
  EXPECT_EQ(проверить_файлы_каталога()[0].файл, "Настройки.pbs"_cp);
  очистить_каталог();
}

}  // namespace

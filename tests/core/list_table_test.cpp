// The list window's table as data: its columns follow the field table (one more field marked for
// the table is one more column, its cells and its sort with it), and the rows' order by a column
// is stable, in the list's letter order for texts and words and by value for numbers, and turns
// round on the second click with equal rows still in their previous order.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/list_table.h"
#include "runtime/codepage.h"

namespace {

std::vector<std::string> названия(const std::vector<const ПолеКниги*>& поля) {
  std::vector<std::string> out;
  for (const ПолеКниги* п : поля) out.emplace_back(п->в_таблице);
  return out;
}

// The codes of `records` in the order of `rows` sorted by `field`.
std::vector<std::int32_t> коды_по(const std::vector<ЗаписьБазы>& records, const ПолеКниги& field, bool ascending,
                                  std::vector<std::uint32_t> rows = {}) {
  std::vector<const ЗаписьБазы*> указатели;
  for (const ЗаписьБазы& з : records) указатели.push_back(&з);
  if (rows.empty())
    for (std::uint32_t i = 0; i < records.size(); ++i) rows.push_back(i);
  упорядочить_строки(rows, указатели, field, ascending);
  std::vector<std::int32_t> out;
  for (std::uint32_t r : rows) out.push_back(records[r].код);
  return out;
}

const ПолеКниги& поле(std::string_view имя) { return *поля_книги().поле(имя); }

}  // namespace

TEST(ListTable, TheProgramsColumns) {
  EXPECT_EQ(названия(поля_таблицы()),
            (std::vector<std::string>{"Код"_cps, "Автор"_cps, "Наименование"_cps, "Категория"_cps, "Вид"_cps,
                                      "Год"_cps, "Издательство"_cps, "ISBN"_cps, "Шифр"_cps, "Диск"_cps,
                                      "Переплёт"_cps, "Обложка"_cps}));
  // Cells hold whole texts (the list line cuts an author at 18 letters) and display words.
  const ЗаписьБазы з{12, "Абвгдежзийклмнопрстуфхцчш"_cps, "Вечера на хуторе близ Диканьки"_cps, "Проза"_cps,
                     "Книга"_cps, 1, 0, "v.bmp"};
  EXPECT_EQ(текст_ячейки(поле("автор"_cp), з), з.автор);
  EXPECT_EQ(текст_ячейки(поле("наименование"_cp), з), "Вечера на хуторе близ Диканьки"_cps);
  EXPECT_EQ(текст_ячейки(поле("код"_cp), з), "12");
  EXPECT_EQ(текст_ячейки(поле("диск"_cp), з), "Есть"_cps);
  EXPECT_EQ(текст_ячейки(поле("переплет"_cp), з), "Мягкий"_cps);
  ЗаписьБазы без_слова = з;
  без_слова.переплет = 5;
  EXPECT_EQ(текст_ячейки(поле("переплет"_cp), без_слова), "");
}

// A field marked for the table, kept outside the record (as the details are), is a column in its
// table's place with its cells and its sort; a field not marked is none.
TEST(ListTable, OneMoreFieldMarkedForTheTableIsOneMoreColumn) {
  std::map<std::int32_t, std::int32_t> тома;
  std::vector<ПолеКниги> поля = поля_книги().поля();
  ПолеКниги том;
  том.имя = "том"_cp;
  том.тип = ТипПоля::число;
  том.число = [&тома](const ЗаписьБазы& з) { return тома.count(з.код) ? тома.at(з.код) : 0; };
  том.задать_число = [&тома](ЗаписьБазы& з, std::int32_t v) { тома[з.код] = v; };
  том.название = "Том"_cp;
  том.в_таблице = "Том"_cp;
  ПолеКниги скрытое = том;
  скрытое.имя = "тираж"_cp;
  скрытое.название = "Тираж"_cp;
  скрытое.в_таблице = {};
  поля.insert(поля.begin() + 5, std::move(том));
  поля.push_back(std::move(скрытое));
  const ТаблицаПолей т(std::move(поля));

  const auto колонки = поля_таблицы(т);
  ASSERT_EQ(колонки.size(), поля_таблицы().size() + 1);
  EXPECT_EQ(колонки[5]->в_таблице, "Том"_cps);
  EXPECT_EQ(названия(колонки).back(), "Обложка"_cps);

  std::vector<ЗаписьБазы> книги{{1, "А"_cps, "", "", "", 0, 0, ""},
                                {2, "Б"_cps, "", "", "", 0, 0, ""},
                                {3, "В"_cps, "", "", "", 0, 0, ""}};
  тома = {{1, 1999}, {2, 867}, {3, 2024}};
  EXPECT_EQ(текст_ячейки(*колонки[5], книги[1]), "867");
  // By value, not by text: 867 comes before 1999.
  EXPECT_EQ(коды_по(книги, *колонки[5], true), (std::vector<std::int32_t>{2, 1, 3}));
  EXPECT_EQ(коды_по(книги, *колонки[5], false), (std::vector<std::int32_t>{3, 1, 2}));
}

TEST(ListTable, TheOrderOfAColumn) {
  // The list's order: codes 3, 12, 100, 7 as the list shows them (by line).
  const std::vector<ЗаписьБазы> книги{
      {3, "ёжиков"_cps, "Б"_cps, "", "", 1, 0, ""},  {12, "Ежов"_cps, "а"_cps, "", "", 0, 1, ""},
      {100, "Жуков"_cps, "В"_cps, "", "", 1, 1, ""}, {7, "ежов"_cps, "Г"_cps, "", "", 0, 0, ""},
      {8, "Zola"_cps, "д"_cps, "", "", 0, 0, ""},
  };
  // Texts without regard to letter case, ё right after е, Latin before Cyrillic; "Ежов" and
  // "ежов" are one name by letters and come in the order of their bytes, as the list has them.
  EXPECT_EQ(коды_по(книги, поле("автор"_cp), true), (std::vector<std::int32_t>{8, 12, 7, 3, 100}));
  EXPECT_EQ(коды_по(книги, поле("наименование"_cp), true), (std::vector<std::int32_t>{12, 3, 100, 7, 8}));
  // Numbers by value.
  EXPECT_EQ(коды_по(книги, поле("код"_cp), true), (std::vector<std::int32_t>{3, 7, 8, 12, 100}));
  EXPECT_EQ(коды_по(книги, поле("код"_cp), false), (std::vector<std::int32_t>{100, 12, 8, 7, 3}));
  // Words by their text ("Есть" before "Нет"), equal words keep the rows' order both ways.
  EXPECT_EQ(коды_по(книги, поле("диск"_cp), true), (std::vector<std::int32_t>{3, 100, 12, 7, 8}));
  EXPECT_EQ(коды_по(книги, поле("диск"_cp), false), (std::vector<std::int32_t>{12, 7, 8, 3, 100}));
  // Stable from any previous order: sorted by binding after being sorted by title descending.
  std::vector<std::uint32_t> ряды{4, 3, 2, 0, 1};
  EXPECT_EQ(коды_по(книги, поле("переплет"_cp), true, ряды), (std::vector<std::int32_t>{8, 7, 3, 100, 12}));
  EXPECT_EQ(сравнить_по_полю(поле("код"_cp), книги[1], книги[2]), -1);
  EXPECT_EQ(сравнить_по_полю(поле("автор"_cp), книги[1], книги[1]), 0);
}

// The list window's table as data: its columns follow the field table (one more field marked for
// the table is one more column, its cells and its sort with it), and the rows' order by a column
// is stable, in the list's letter order for texts and words and by value for numbers, and turns
// round on the second click with equal rows still in their previous order.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/catalogue_facts.h"
#include "core/list_line.h"
#include "core/list_search.h"
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

namespace {

// A record of random texts (some of them empty or longer than the list line shows) and numbers,
// under one of `codes` codes, so that several records share a code now and then.
ЗаписьБазы случайная(std::mt19937& rnd, int codes) {
  const auto текст = [&rnd](const char* основа) {
    std::string t = cp1251::from_utf8(основа);
    for (unsigned n = rnd() % 40; n > 0; --n) t.push_back(static_cast<char>('a' + rnd() % 26));
    return rnd() % 7 == 0 ? std::string() : t;
  };
  return ЗаписьБазы{static_cast<std::int32_t>(1 + rnd() % static_cast<unsigned>(codes)), текст("Автор "),
                    текст("Книга "), текст("Проза"), текст("Вид"), static_cast<std::int32_t>(rnd() % 2),
                    static_cast<std::int32_t>(rnd() % 3), текст("c.bmp")};
}

}  // namespace

// The records a table keeps, in their compact form, against the records themselves: filled from
// the catalogue, then through removals (enough for the text buffer to be packed again several
// times) and additions, each read back whole, in the order of codes (records of one code in the
// order they came), and a list line finds its own record among several of its code.
TEST(ListTable, TheRecordsATableKeepsFollowEveryChange) {
  std::mt19937 rnd(11);
  std::vector<ЗаписьБазы> образец;
  for (int i = 0; i < 600; ++i) {
    образец.push_back(случайная(rnd, 150));
    база_лит.assertz(образец.back());
  }
  ЗаписиТаблицы записи;
  записи.заполнить();
  const auto сверить = [&] {
    std::vector<ЗаписьБазы> по_кодам = образец;
    std::stable_sort(по_кодам.begin(), по_кодам.end(), [](const auto& a, const auto& b) { return a.код < b.код; });
    ASSERT_EQ(записи.size(), по_кодам.size());
    ЗаписьБазы з;
    for (std::uint32_t i = 0; i < по_кодам.size(); ++i) {
      записи.прочитать(i, з);
      ASSERT_EQ(з, по_кодам[i]) << i;
      const auto строка = строка_списка(з);
      if (!строка) continue;  // a binding without a word: the record has no line in the list
      const auto найдена = записи.запись_строки(*строка);
      ASSERT_TRUE(найдена);
      ЗаписьБазы своя;
      записи.прочитать(*найдена, своя);
      EXPECT_EQ(строка_списка(своя), строка);
    }
  };
  сверить();
  for (int шаг = 0; шаг < 2000; ++шаг) {
    if (!образец.empty() && rnd() % 5 < 3) {
      const std::size_t i = rnd() % образец.size();
      записи.убрать(образец[i]);
      // The first equal record of its code goes (equal ones are interchangeable).
      const auto первая = std::find(образец.begin(), образец.end(), образец[i]);
      образец.erase(первая);
    } else {
      ЗаписьБазы з = случайная(rnd, 150);
      з.сведения = СведенияКниги{1999, "Наука"_cps};  // details carried in are not kept here
      записи.добавить(з);
      з.сведения.reset();
      образец.push_back(з);
    }
  }
  сверить();
  // A record nobody has is taken out of nothing; a line of a code nobody has finds nothing.
  const std::size_t было = записи.size();
  записи.убрать(ЗаписьБазы{999, "Никто"_cps});
  EXPECT_EQ(записи.size(), было);
  EXPECT_FALSE(записи.запись_строки(*строка_списка(ЗаписьБазы{999, "Никто"_cps})));
}

// Sorting rows through a reader of their records (as the table reads its compact records) gives
// the order sorting the records themselves gives, in every column, both ways, from any order.
TEST(ListTable, SortingThroughAReaderIsSortingTheRecords) {
  std::mt19937 rnd(5);
  std::vector<ЗаписьБазы> книги;
  for (int i = 0; i < 300; ++i) книги.push_back(случайная(rnd, 40));
  std::vector<std::uint32_t> начальный;
  for (std::uint32_t i = 0; i < книги.size(); ++i) начальный.push_back(i);
  std::shuffle(начальный.begin(), начальный.end(), rnd);
  for (const ПолеКниги* поле : поля_таблицы())
    for (const bool возрастание : {true, false}) {
      std::vector<std::uint32_t> через_чтение = начальный;
      упорядочить_строки(через_чтение, книги.size(), [&](std::uint32_t i, ЗаписьБазы& з) { з = книги[i]; }, *поле,
                         возрастание);
      std::vector<std::int32_t> коды;
      for (std::uint32_t r : через_чтение) коды.push_back(книги[r].код);
      EXPECT_EQ(коды, коды_по(книги, *поле, возрастание, начальный)) << std::string(поле->имя) << возрастание;
    }
}

// The catalogue made a list at once (its lines with their forms, in the list's order) is the list
// the lines of строки_каталога make, equal lines in table order included.
TEST(ListTable, TheCatalogueMadeAListAtOnceIsTheListOfItsLines) {
  std::mt19937 rnd(3);
  for (int i = 0; i < 400; ++i) база_лит.assertz(случайная(rnd, 60));
  база_лит.assertz(ЗаписьБазы{7, "Ежов"_cps, "Сказки"_cps, "Проза"_cps, "", 0, 0, ""});
  база_лит.assertz(ЗаписьБазы{7, "Ежов"_cps, "Сказки"_cps, "Проза"_cps, "", 0, 0, ""});
  ПоискСписка сразу, по_строкам;
  сразу.задать_каталог();
  по_строкам.задать_строки(строки_каталога());
  EXPECT_EQ(сразу.строки, по_строкам.строки);
  EXPECT_EQ(сразу.формы, по_строкам.формы);
  EXPECT_EQ(сразу.начала, по_строкам.начала);
  сразу.слова = слова_поиска("ежов"_cps);
  по_строкам.слова = сразу.слова;
  EXPECT_EQ(сразу.отобрать(), по_строкам.отобрать());
  EXPECT_EQ(сразу.показанные.size(), 2u);
}

// The field table and the views that read it: the program's table gives today's list line, card,
// printed columns, search form and duplicate key; a table with one more field (its value kept
// in the test's own map, reached only through its entry's accessors) shows that field in each
// of them.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/book_fields.h"
#include "core/card_text.h"
#include "core/list_line.h"
#include "core/list_search.h"
#include "core/printed_table.h"
#include "runtime/codepage.h"
#include "test_support.h"

namespace {

ЗаписьБазы книга() {
  return {7, "Шекспир"_cps, "Гамлет"_cps, "Драма"_cps, "Пьеса"_cps, 1, 0, "h.bmp"};
}

// The program's table with a field "издательство" after the title: a text kept in `кто` by the
// record's code, on the card, in the list line, printed, exported, searched and in the key.
ТаблицаПолей с_издательством(std::map<std::int32_t, std::string>& кто) {
  std::vector<ПолеКниги> поля = поля_книги().поля();
  ПолеКниги п;
  п.имя = "издательство"_cp;
  п.тип = ТипПоля::текст;
  п.текст = [&кто](const ЗаписьБазы& з) -> std::string_view {
    const auto it = кто.find(з.код);
    return it == кто.end() ? std::string_view() : std::string_view(it->second);
  };
  п.задать_текст = [&кто](ЗаписьБазы& з, std::string v) { кто[з.код] = std::move(v); };
  п.название = "Издательство"_cp;
  п.другие_названия = {"Издатель"_cp};
  п.метка_карточки = "Издательство:\t\t"_cp;
  п.в_строке = КолонкаСтроки{12, 12, Выравнивание::влево};
  п.в_печати = КолонкаПечати{10, Выравнивание::влево};
  п.в_ключе_повтора = true;
  п.ищется = true;
  поля.insert(поля.begin() + 3, std::move(п));
  return ТаблицаПолей(std::move(поля));
}

TEST(BookFields, TheProgramsTableGivesTheListFormatAndWords) {
  EXPECT_EQ(поля_книги().формат_строки(), "%5.5|%20.18|%-30.25|%10.10|%4.4|%8.8|%20.20");
  EXPECT_EQ(поля_книги().поля().size(), 16u);  // the record's eight, the eight publication details
  EXPECT_EQ(поля_книги().код().имя, "код"_cp);
  struct Случай {
    std::string_view поле;
    std::int32_t значение;
    std::optional<std::string> текст;
  };
  const Случай случаи[] = {
      {"диск"_cp, 0, "Нет"_cps},         {"диск"_cp, 1, "Есть"_cps},      {"диск"_cp, 2, std::nullopt},
      {"переплет"_cp, 0, "Мягкий"_cps},  {"переплет"_cp, 1, "Твёрдый"_cps}, {"переплет"_cp, -1, std::nullopt},
      {"код"_cp, -12, "-12"_cps},
  };
  for (const Случай& с : случаи) {
    const ПолеКниги& п = *поля_книги().поле(с.поле);
    ЗаписьБазы з;
    п.задать_число(з, с.значение);
    EXPECT_EQ(текст_поля(п, з), с.текст) << с.поле << " " << с.значение;
  }
  EXPECT_EQ(поля_книги().поле("нет такого"), nullptr);
}

TEST(BookFields, ATableNeedsOneCodeField) {
  std::vector<ПолеКниги> без_кода = поля_книги().поля();
  без_кода.erase(без_кода.begin());
  EXPECT_NE(test_support::error_code_of([&] { ТаблицаПолей т(без_кода); }), 0);
  std::vector<ПолеКниги> два_кода = поля_книги().поля();
  два_кода.push_back(два_кода.front());
  EXPECT_NE(test_support::error_code_of([&] { ТаблицаПолей т(два_кода); }), 0);
}

// The duplicate key: every field after the code counts, text byte for byte; the code does not.
TEST(BookFields, TheDuplicateKeyTakesEveryFieldButTheCode) {
  const ЗаписьБазы a = книга();
  ЗаписьБазы b = a;
  b.код = 99;
  EXPECT_EQ(ключ_повтора(a), ключ_повтора(b));
  const std::vector<void (*)(ЗаписьБазы&)> changes = {
      [](ЗаписьБазы& з) { з.автор = "шекспир"_cps; }, [](ЗаписьБазы& з) { з.наименование += ' '; },
      [](ЗаписьБазы& з) { з.категория.clear(); },     [](ЗаписьБазы& з) { з.вид = "Книга"_cps; },
      [](ЗаписьБазы& з) { з.диск = 0; },               [](ЗаписьБазы& з) { з.переплет = 1; },
      [](ЗаписьБазы& з) { з.обложка = "x.bmp"; },
      // Lengths are part of the key: moving text from one field to the next makes another key.
      [](ЗаписьБазы& з) { з.автор += з.наименование.front(); з.наименование.erase(0, 1); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    ЗаписьБазы c = a;
    changes[i](c);
    EXPECT_NE(ключ_повтора(a), ключ_повтора(c)) << i;
  }
}

TEST(BookFields, ViewsOfTheProgramsTable) {
  const ЗаписьБазы з = книга();
  EXPECT_EQ(строки_карточки(з), (std::vector<std::string>{"Автор:\t\t\tШекспир "_cps, "Наименование:\t\tГамлет "_cps,
                                                          "Категория:\t\tДрама "_cps, "Диск:\t\t\tЕсть "_cps,
                                                          "Переплет:\t\tМягкий "_cps, "Обложка:\t\th.bmp "_cps}));
  std::vector<std::string> ячейки;
  ячейки_печати(з, ячейки);
  EXPECT_EQ(ячейки, (std::vector<std::string>{"7", "Шекспир"_cps, "Гамлет"_cps, "Драма"_cps, "Есть"_cps, "Мягкий"_cps,
                                              "h.bmp"}));
  std::vector<std::string> названия;
  for (const auto& к : колонки_печати()) названия.push_back(к.название);
  EXPECT_EQ(названия, (std::vector<std::string>{"Код"_cps, "Автор"_cps, "Наименование"_cps, "Категория"_cps, "Диск"_cps,
                                                "Переплёт"_cps, "Обложка"_cps}));
  // The kind is searched though not shown; the display words are not searched.
  const std::string форма = форма_поиска(з);
  EXPECT_TRUE(подходит(форма, слова_поиска("пьеса ГАМЛЕТ"_cp)));
  EXPECT_FALSE(подходит(форма, слова_поиска("есть"_cp)));
  // No word matches across two fields.
  EXPECT_FALSE(подходит(форма, слова_поиска("шекспиргамлет"_cp)));
}

TEST(BookFields, OneMoreFieldReachesEveryView) {
  std::map<std::int32_t, std::string> издательства;
  const ТаблицаПолей т = с_издательством(издательства);
  ЗаписьБазы з = книга();
  т.поле("издательство"_cp)->задать_текст(з, "Азбука"_cps);
  EXPECT_EQ(издательства.at(7), "Азбука"_cps);

  EXPECT_EQ(т.формат_строки(), "%5.5|%20.18|%-30.25|%-12.12|%10.10|%4.4|%8.8|%20.20");
  EXPECT_EQ(*строка_списка(з, т),
            "    7|             Шекспир|Гамлет                        |Азбука      |     Драма|Есть|  Мягкий|"
            "               h.bmp"_cps);
  const std::vector<std::string> карточка = строки_карточки(з, т);
  ASSERT_EQ(карточка.size(), 7u);
  EXPECT_EQ(карточка[2], "Издательство:\t\tАзбука "_cps);
  EXPECT_NE(текст_карточки(з, т).find("\nИздательство:\t\tАзбука \n"_cp), std::string::npos);
  EXPECT_EQ(текст_карточки(з).find("Издательство"_cp), std::string::npos);
  std::vector<std::string> ячейки;
  ячейки_печати(з, ячейки, т);
  EXPECT_EQ(ячейки.at(3), "Азбука"_cps);
  EXPECT_EQ(колонки_печати(т).at(3).название, "Издательство"_cps);

  // The find filter searches it; the program's table does not know it.
  EXPECT_TRUE(подходит(форма_поиска(з, т), слова_поиска("азбука"_cp)));
  EXPECT_FALSE(подходит(форма_поиска(з), слова_поиска("азбука"_cp)));

  // It is part of the duplicate key of its table.
  ЗаписьБазы другая = з;
  другая.код = 8;
  издательства[8] = "Наука"_cps;
  EXPECT_NE(ключ_повтора(з, т), ключ_повтора(другая, т));
  EXPECT_EQ(ключ_повтора(з), ключ_повтора(другая));
}

// The filter of one list: lines put in after their equals, taken out, shown as the words select.
TEST(ListSearch, TheFilterOfOneList) {
  ПоискСписка п;
  п.задать_строки({{"    3|b", "b"}, {"   12|a", "a"}, {"  100|c", "c"}});
  EXPECT_EQ(п.отобрать().size(), 3u);
  п.слова = слова_поиска("a");
  EXPECT_EQ(п.отобрать(), std::vector<std::string>{"   12|a"});
  EXPECT_TRUE(п.вставить({"    5|a", "a"}));
  EXPECT_FALSE(п.вставить({"   12|a", "x"}));  // an equal line goes after its equal
  EXPECT_EQ(п.строки, (std::vector<std::string>{"    3|b", "    5|a", "   12|a", "   12|a", "  100|c"}));
  EXPECT_EQ(п.форма(3), "x");
  EXPECT_EQ(п.показанные, (std::vector<std::size_t>{1, 2}));
  EXPECT_EQ(п.место_показа(2), std::optional<std::size_t>(1));
  EXPECT_EQ(п.место_показа(3), std::nullopt);
  п.убрать(*п.найти("    5|a"));
  EXPECT_EQ(п.показанные, (std::vector<std::size_t>{1}));
  EXPECT_EQ(п.форма(2), "x");
  EXPECT_EQ(п.найти("nothing"), std::nullopt);
}

}  // namespace

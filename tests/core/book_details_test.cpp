// Publication details: what each typed detail is stored as (data-driven: the ISBN's check digits
// and its 13-digit form, the year's range, copies and pages), the section "Сведения.pbs" in the
// working folder's files (a line only for a book with details, the other files keep their form, a
// catalogue without the file), the change path carrying a record's details through entry, edit,
// deletion, an import and undo, the views that read them through the field table, and the similar
// book found through its index.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "core/book_details.h"
#include "core/card_text.h"
#include "core/catalogue_files.h"
#include "core/change_path.h"
#include "core/exchange_table.h"
#include "core/import_plan.h"
#include "core/list_search.h"
#include "core/similar_books.h"
#include "runtime/codepage.h"
#include "runtime/safe_write.h"
#include "test_support.h"

namespace {

std::string cp(const char* utf8) { return cp1251::from_utf8(utf8); }

TEST(BookDetails, IsbnStoredAsThirteenDigits) {
  struct Случай {
    const char* typed;
    std::optional<std::string> stored;
  };
  const Случай случаи[] = {
      {"", ""},
      {"   ", ""},
      {"978-5-17-118366-0", "9785171183660"},     // 13 digits with hyphens
      {"978 5 17 118366 0", "9785171183660"},     // and with blanks
      {"9785171183660", "9785171183660"},
      {"5-17-118366-0", std::nullopt},            // a 10-digit one with a wrong check digit
      {"0-306-40615-2", "9780306406157"},         // a 10-digit one converted
      {"0306406152", "9780306406157"},
      {"ISBN 0-306-40615-2", "9780306406157"},    // the word typed before it
      {"isbn: 978-0-306-40615-7", "9780306406157"},
      {"0-8044-2957-X", "9780804429573"},         // X as the check digit of an ISBN-10
      {"0-8044-2957-x", "9780804429573"},
      {"080442957X", "9780804429573"},
      {"0-8044-2957-5", std::nullopt},
      {"X-8044-2957-0", std::nullopt},            // X elsewhere than the last digit
      {"978-0-306-40615-8", std::nullopt},        // a 13-digit one with a wrong check digit
      {"978030640615", std::nullopt},             // 12 digits
      {"97803064061577", std::nullopt},           // 14 digits
      {"030640615", std::nullopt},                // 9 digits
      {"-0306406152", std::nullopt},              // a hyphen before the first digit
      {"0306406152-", std::nullopt},
      {"0306.40615.2", std::nullopt},             // other signs between
      {"ISBN", std::nullopt},
  };
  for (const Случай& с : случаи) EXPECT_EQ(isbn_для_хранения(с.typed), с.stored) << с.typed;
}

TEST(BookDetails, YearCopiesAndPagesTyped) {
  struct Случай {
    const char* typed;
    std::optional<std::int32_t> год, экземпляров, страниц;
  };
  // The current year is 2026 here: the next year, 2027, is the last a year may be.
  const Случай случаи[] = {
      {"", 0, 1, 0},
      {"  ", 0, 1, 0},
      {"1450", 1450, std::nullopt, 1450},
      {"1449", std::nullopt, std::nullopt, 1449},
      {"2027", 2027, std::nullopt, 2027},
      {"2028", std::nullopt, std::nullopt, 2028},
      {" 1999 ", 1999, std::nullopt, 1999},
      {"0999", std::nullopt, std::nullopt, 999},
      {"999", std::nullopt, 999, 999},
      {"1000", std::nullopt, std::nullopt, 1000},
      {"1", std::nullopt, 1, 1},
      {"0", std::nullopt, std::nullopt, 0},
      {"-1", std::nullopt, std::nullopt, std::nullopt},
      {"+5", std::nullopt, std::nullopt, std::nullopt},
      {"19 99", std::nullopt, std::nullopt, std::nullopt},
      {"12a", std::nullopt, std::nullopt, std::nullopt},
      {"9999999999", std::nullopt, std::nullopt, std::nullopt},  // beyond the integer range
  };
  for (const Случай& с : случаи) {
    EXPECT_EQ(год_издания(с.typed, 2026), с.год) << с.typed;
    EXPECT_EQ(число_экземпляров(с.typed), с.экземпляров) << с.typed;
    EXPECT_EQ(число_страниц(с.typed), с.страниц) << с.typed;
  }
}

TEST(BookDetails, TypedDetailsRefusedByTheFirstFieldNamed) {
  ВведённыеСведения в{"1998", cp("Наука"), cp("Москва"), "5-02-013850-9", "84.3", "3", "412", cp("Две строки\nзаметки")};
  const auto принято = разобрать_сведения(в, 2026);
  ASSERT_TRUE(std::holds_alternative<СведенияКниги>(принято));
  const СведенияКниги& с = std::get<СведенияКниги>(принято);
  EXPECT_EQ(с, (СведенияКниги{1998, cp("Наука"), cp("Москва"), "9785020138506", "84.3", 3, 412, cp("Две строки\nзаметки")}));
  EXPECT_EQ(показ_сведений(с).isbn, "9785020138506");
  EXPECT_EQ(показ_сведений(СведенияКниги{}).год, "");
  EXPECT_EQ(показ_сведений(СведенияКниги{}).экземпляров, "1");

  struct Случай {
    void (*испортить)(ВведённыеСведения&);
    ПолеСведений поле;
    const char* название;
  };
  const Случай случаи[] = {
      {[](ВведённыеСведения& x) { x.год = "98"; }, ПолеСведений::год, "«Год издания»"},
      {[](ВведённыеСведения& x) { x.isbn = "5-02-013850-1"; }, ПолеСведений::isbn, "«ISBN»"},
      {[](ВведённыеСведения& x) { x.экземпляров = "0"; }, ПолеСведений::экземпляров, "«Экземпляров»"},
      {[](ВведённыеСведения& x) { x.страниц = "-4"; }, ПолеСведений::страниц, "«Страниц»"},
      // Two refused: the first in the line's order is told.
      {[](ВведённыеСведения& x) { x.страниц = "x", x.год = "x"; }, ПолеСведений::год, "«Год издания»"},
  };
  for (const Случай& с : случаи) {
    ВведённыеСведения плохие = в;
    с.испортить(плохие);
    const auto итог = разобрать_сведения(плохие, 2026);
    ASSERT_TRUE(std::holds_alternative<ОтказСведений>(итог)) << с.название;
    EXPECT_EQ(std::get<ОтказСведений>(итог).поле, с.поле);
    EXPECT_NE(std::get<ОтказСведений>(итог).сообщение.find(cp(с.название)), std::string::npos)
        << cp1251::to_utf8(std::get<ОтказСведений>(итог).сообщение);
  }
}

// The working folder's real files.
class DetailsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::write_bytes(dir.file("ВидЛитер.pbs"), cp("виды_лит(\"Книга\")\r\n"));
    test_support::write_bytes(dir.file("КатегЛитер.pbs"), cp("категории_лит(\"Проза\")\r\n"));
    test_support::write_bytes(dir.file("Литература1.pbs"),
                              cp("база_лит(3,\"Пушкин\",\"Капитанская дочка\",\"Проза\",\"Книга\",0,1,\"\")\r\n"));
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
  }
  std::string прочитать(const char* name) const { return test_support::read_bytes(dir.file(name)); }

  test_support::TempDir dir;
  test_support::InDirectory in{dir.path()};
};

ЗаписьБазы книга(const char* автор, const char* наименование, std::optional<СведенияКниги> с = std::nullopt) {
  ЗаписьБазы з{0, cp(автор), cp(наименование), cp("Проза"), cp("Книга"), 0, 1, ""};
  з.сведения = std::move(с);
  return з;
}

TEST_F(DetailsFiles, ALineOnlyForABookWithDetailsThroughEntryEditDeleteAndUndo) {
  // A catalogue made before the details opened without a word; a book without details has the defaults.
  EXPECT_EQ(сведения_лит.count(), 0u);
  EXPECT_EQ(сведения_книги(3), СведенияКниги{});
  EXPECT_EQ(экземпляров_книги(3), 1);
  const std::string литература = прочитать("Литература1.pbs");

  // A book entered without details writes no details file.
  ASSERT_TRUE(применить(ВвестиЗапись{книга("Гоголь", "Нос")}).сделано());
  EXPECT_FALSE(RUN_FileExists(файл_сведений));

  const СведенияКниги с{1836, cp("Современник"), cp("С.-Петербург"), "9785171183662", "", 2, 0, cp("Первая\nпубликация")};
  ASSERT_TRUE(применить(ВвестиЗапись{книга("Гоголь", "Нос", с)}).сделано());
  EXPECT_EQ(прочитать("Сведения.pbs"),
            cp("сведения_лит(5,1836,\"Современник\",\"С.-Петербург\",\"9785171183662\",\"\",2,0,\"Первая\\nпубликация\")\r\n"));
  // The catalogue's own file keeps its form: eight fields a line.
  EXPECT_TRUE(прочитать("Литература1.pbs").starts_with(cp("база_лит(5,\"Гоголь\",\"Нос\",\"Проза\",\"Книга\",0,1,\"\")\r\n")));
  EXPECT_NE(прочитать("Литература1.pbs").find(литература), std::string::npos);
  EXPECT_EQ(сведения_книги(5), с);
  EXPECT_EQ(экземпляров_книги(5), 2);

  // An edit without details keeps the stored ones; one with details replaces them; undo puts them back.
  const ЗаписьБазы было = *база_лит.по_коду(5).begin();
  ASSERT_TRUE(применить(ИзменитьЗапись{было, книга("Гоголь Н. В.", "Нос")}).сделано());
  EXPECT_EQ(сведения_книги(5), с);
  СведенияКниги другие = с;
  другие.экземпляров = 7;
  ASSERT_TRUE(применить(ИзменитьЗапись{с_сведениями(*база_лит.по_коду(5).begin()), книга("Гоголь Н. В.", "Нос", другие)}).сделано());
  EXPECT_EQ(экземпляров_книги(5), 7);
  EXPECT_EQ(сведения_лит.count(), 1u);
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  EXPECT_EQ(сведения_книги(5), с);

  // An edit that makes the details the defaults leaves no line.
  ASSERT_TRUE(применить(ИзменитьЗапись{с_сведениями(*база_лит.по_коду(5).begin()), книга("Гоголь", "Нос", СведенияКниги{})}).сделано());
  EXPECT_EQ(прочитать("Сведения.pbs"), "");

  // An edit whose record's details another desk changed meanwhile is refused.
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  ЗаписьБазы увиденная = с_сведениями(*база_лит.по_коду(5).begin());
  увиденная.сведения->шифр = "x";
  EXPECT_FALSE(применить(ИзменитьЗапись{увиденная, книга("Гоголь", "Нос")}).сделано());

  // A deletion takes the details line; undo puts it back, redo takes it again.
  ASSERT_TRUE(применить(УдалитьЗапись{*база_лит.по_коду(5).begin()}).сделано());
  EXPECT_EQ(прочитать("Сведения.pbs"), "");
  EXPECT_EQ(экземпляров_книги(5), 1);
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  EXPECT_EQ(сведения_книги(5), с);
  ASSERT_TRUE(применить(ПовторитьИзменение{}).сделано());
  EXPECT_FALSE(есть_сведения(5));

  // The file as the catalogue opens it again.
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  очистить_каталог();
  for (const РазделКаталога& р : разделы_каталога())
    if (р.при_открытии) загрузить_раздел(р);
  EXPECT_EQ(сведения_книги(5), с);
}

TEST_F(DetailsFiles, TheViewsCarryTheDetailsThroughTheFieldTable) {
  const СведенияКниги с{1836, cp("Современник"), "", "9785171183662", cp("84(2)"), 1, 0, ""};
  ASSERT_TRUE(применить(ВвестиЗапись{книга("Пушкин", "Капитанская дочка", с)}).сделано());
  const ЗаписьБазы з = *база_лит.по_коду(4).begin();

  // The card: a detail's line while it holds something, after the record's own lines it stands among.
  const std::string карточка = текст_карточки(з);
  EXPECT_NE(карточка.find(cp("Год издания:\t\t1836 \n")), std::string::npos) << cp1251::to_utf8(карточка);
  EXPECT_NE(карточка.find(cp("Шифр:\t\t\t84(2) \n")), std::string::npos);
  EXPECT_EQ(карточка.find(cp("Место издания:")), std::string::npos);
  EXPECT_EQ(карточка.find(cp("Экземпляров:")), std::string::npos);  // one copy: the default
  EXPECT_EQ(текст_карточки(*база_лит.по_коду(3).begin()).find(cp("Год")), std::string::npos);

  // The exported table: every detail a column, an unknown year or page count empty.
  const std::string csv = записи_в_csv(каталог_для_экспорта());
  EXPECT_NE(csv.find("Код,Автор,Наименование,Категория,Вид,Год издания,Издательство,Место издания,ISBN,Шифр,Диск,"
                     "Переплёт,Обложка,Экземпляров,Страниц,Примечание\r\n"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("3,Пушкин,Капитанская дочка,Проза,Книга,,,,,,Нет,Твёрдый,,1,,\r\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("4,Пушкин,Капитанская дочка,Проза,Книга,1836,Современник,,9785171183662,84(2),Нет,Твёрдый,,1,,\r\n"),
            std::string::npos);

  // The find filter searches the texts of the details.
  EXPECT_TRUE(подходит(форма_поиска(з), слова_поиска(cp("современник"))));
  EXPECT_FALSE(подходит(форма_поиска(*база_лит.по_коду(3).begin()), слова_поиска(cp("современник"))));

  // The import knows the columns by their names: an ISBN-10 stored in its 13-digit form, copies
  // default to one, a wrong check digit or year refuses its row.
  const std::string таблица = cp1251::to_utf8(
      cp("Автор,Наименование,Год,ISBN,Издатель,Экземпляры,Страницы\r\n"
         "Толстой,Война и мир,1869,0-306-40615-2,Русский вестник,,1300\r\n"
         "Толстой,Анна Каренина,1877,0-306-40615-3,,,\r\n"
         "Чехов,Каштанка,1300,,,,\r\n"));
  const auto итог = разобрать_импорт(таблица);
  ASSERT_TRUE(итог && std::holds_alternative<ПланИмпорта>(*итог));
  const ПланИмпорта& план = std::get<ПланИмпорта>(*итог);
  ASSERT_EQ(план.новые.size(), 1u);
  ASSERT_EQ(план.отказы.size(), 2u);
  EXPECT_NE(план.отказы[0].причина.find("ISBN"), std::string::npos);
  EXPECT_NE(план.отказы[1].причина.find(cp("«Год издания»")), std::string::npos);
  ASSERT_TRUE(применить(операция_импорта(план, "x.csv")).сделано());
  const ЗаписьБазы война = *база_лит.first();
  EXPECT_EQ(сведения_записи(война), (СведенияКниги{1869, cp("Русский вестник"), "", "9780306406157", "", 1, 1300, ""}));
  EXPECT_EQ(сведения_лит.count(), 2u);
  // Undo of the import takes its details too.
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  EXPECT_EQ(сведения_лит.count(), 1u);
  EXPECT_FALSE(есть_сведения(война.код));
}

TEST_F(DetailsFiles, ASimilarBookByNameOrIsbn) {
  ASSERT_TRUE(применить(ВвестиЗапись{книга("Гоголь Н. В.", "Нос", СведенияКниги{1836, "", "", "9780306406157", "", 1, 0, ""})}).сделано());
  struct Случай {
    const char* автор;
    const char* наименование;
    const char* isbn;
    std::optional<std::int32_t> код;
  };
  const Случай случаи[] = {
      {"Пушкин", "Капитанская дочка", "", 3},
      {"  ПУШКИН ", "капитанская   дочка", "", 3},   // case and blanks not told apart
      {"Пушкин", "Капитанская дочкА", "", 3},
      {"Пушкин", "Капитанская дочка 2", "", std::nullopt},
      {"Пушкин", "", "", std::nullopt},
      {"Гоголь Н. В.", "Нос", "", 4},
      {"Другой", "Другое", "9780306406157", 4},        // the ISBN alone
      {"Другой", "Другое", "9785171183662", std::nullopt},
      {"", "", "", std::nullopt},
  };
  for (const Случай& с : случаи) {
    СведенияКниги сведения;
    сведения.isbn = с.isbn;
    const auto похожая = похожая_книга(книга(с.автор, с.наименование, сведения));
    EXPECT_EQ(похожая ? std::optional(похожая->код) : std::nullopt, с.код) << с.автор << "/" << с.наименование;
  }
  // ё and е are one letter; the edited book itself is not similar to itself.
  ASSERT_TRUE(применить(ВвестиЗапись{книга("Алёшин", "Ёлка")}).сделано());
  EXPECT_EQ(похожая_книга(книга("Алешин", "елка"))->код, 5);
  EXPECT_EQ(похожая_книга(книга("Алешин", "елка"), 5), std::nullopt);
  EXPECT_EQ(похожая_книга(книга("Пушкин", "Капитанская дочка"))->наименование, cp("Капитанская дочка"));
  // The index follows a deletion.
  ASSERT_TRUE(применить(УдалитьЗапись{*база_лит.по_коду(5).begin()}).сделано());
  EXPECT_EQ(похожая_книга(книга("Алешин", "елка")), std::nullopt);
}

}  // namespace

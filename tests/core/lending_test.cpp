// Lending in the core: readers and loans through the change path (each change one undo step, the
// files written by the working folder's storage byte for byte), the refusals that protect the
// data (a book out, a reader with books), reader codes that stay given, the overdue list, the
// dates, and the problems of the loans' file found at the opening and by the check with lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/catalogue_check.h"
#include "core/catalogue_statistics.h"
#include "core/catalogue_files.h"
#include "core/change_path.h"
#include "core/lending.h"
#include "core/record_codes.h"
#include "core/undo_history.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/host_path.h"
#include "test_support.h"

namespace {

using namespace std::chrono;

std::string cp(const char* utf8) { return cp1251::from_utf8(utf8); }

День день(const char* text) { return *дата_из_текста(text); }

Читатель читатель(const char* фио, const char* группа = "", const char* телефон = "") {
  return {0, cp(фио), cp(группа), cp(телефон), ""};
}

// A catalogue folder of its own, entered for the test; three books.
class Lending : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const ЗаписьБазы& з : {ЗаписьБазы{3, cp("Чехов А. П."), cp("Каштанка"), cp("Проза"), "", 0, 0, ""},
                                ЗаписьБазы{2, cp("Гоголь Н. В."), cp("Нос"), cp("Проза"), "", 0, 0, ""},
                                ЗаписьБазы{1, cp("Пушкин А. С."), cp("Руслан и Людмила"), cp("Поэзия"), "", 0, 0, ""}})
      база_лит.assertz(з);
  }
  std::string файл(std::string_view имя) const { return папка.file(RUN_HostPath(имя)); }
  // Enters a reader; the code it got.
  std::int32_t ввести(const Читатель& ч) {
    const auto итог = применить(ВвестиЧитателя{ч});
    EXPECT_TRUE(итог.сделано()) << итог.сообщение;
    return *наибольший_код_читателя.get();
  }
  // The catalogue opened again from its files, as a start opens it.
  void открыть_снова() {
    for (std::string_view имя : {файл_видов, файл_категорий})
      if (!std::filesystem::exists(файл(имя))) test_support::write_bytes(файл(имя), "");
    очистить_каталог();
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
  }
  ИтогИзменения выдать(std::int32_t книга, std::int32_t кто, const char* когда, const char* до) {
    return применить(ВыдатьКнигу{{книга, кто, когда, до, ""}});
  }

  test_support::TempDir папка;
  test_support::InDirectory в_папке{папка.path()};
};

// The scenario of a day at the desk: a reader added, two books issued, one returned late; the
// overdue list, the reader's history and the files exactly.
TEST_F(Lending, AReaderTwoLoansOneReturnedLateAndTheFilesByteForByte) {
  const std::int32_t иванова = ввести(читатель("Иванова Анна", "10А", "+7 900 000-00-01"));
  const std::int32_t петров = ввести(читатель("Петров Пётр Ильич", "11Б"));
  EXPECT_EQ(иванова, 1);
  EXPECT_EQ(петров, 2);
  ASSERT_TRUE(выдать(3, иванова, "2026-12-01", "2026-12-15").сделано());
  ASSERT_TRUE(выдать(1, иванова, "2026-12-01", "2026-12-21").сделано());
  ASSERT_TRUE(выдать(2, петров, "2026-11-20", "2026-12-04").сделано());
  // Каштанка comes back four days late.
  ASSERT_TRUE(применить(ПринятьКнигу{{3, иванова, "2026-12-01", "2026-12-15", ""}, "2026-12-19"}).сделано());

  EXPECT_EQ(test_support::read_bytes(файл(файл_читателей)),
            cp("читатель_лит(1,\"Иванова Анна\",\"10А\",\"+7 900 000-00-01\",\"\")\r\n"
               "читатель_лит(2,\"Петров Пётр Ильич\",\"11Б\",\"\",\"\")\r\n"));
  EXPECT_EQ(test_support::read_bytes(файл(файл_выдач)),
            cp("выдача_лит(3,1,\"2026-12-01\",\"2026-12-15\",\"2026-12-19\")\r\n"
               "выдача_лит(1,1,\"2026-12-01\",\"2026-12-21\",\"\")\r\n"
               "выдача_лит(2,2,\"2026-11-20\",\"2026-12-04\",\"\")\r\n"));
  EXPECT_EQ(test_support::read_bytes(файл(файл_кодов_читателей)), cp("наибольший_код_читателя(2)\r\n"));

  // On 23.12: Петров is 19 days late, Иванова 2 days; the returned loan is no longer in the list.
  const std::vector<Долг> долги = должники(день("2026-12-23"));
  ASSERT_EQ(долги.size(), 2u);
  EXPECT_EQ(долги[0].фио, cp("Петров Пётр Ильич"));
  EXPECT_EQ(долги[0].группа, cp("11Б"));
  EXPECT_EQ(долги[0].наименование, cp("Нос"));
  EXPECT_EQ(долги[0].дней, 19);
  EXPECT_EQ(долги[1].телефон, cp("+7 900 000-00-01"));
  EXPECT_EQ(долги[1].автор, cp("Пушкин А. С."));
  EXPECT_EQ(долги[1].дней, 2);
  EXPECT_EQ(число_просроченных(день("2026-12-23")), 2u);
  EXPECT_EQ(число_просроченных(день("2026-12-04")), 0u);  // due today is not late

  // Her history: both loans in the order of issue, the returned one 4 days late.
  const std::vector<Выдача> история = выдачи_читателя(иванова);
  ASSERT_EQ(история.size(), 2u);
  EXPECT_EQ(история[0].возвращена, "2026-12-19");
  EXPECT_EQ(дней_просрочки(история[0], день("2027-06-01")), 4);
  EXPECT_TRUE(история[1].на_руках());
  EXPECT_EQ(строка_на_руках(1), cp("На руках: Иванова А., до 21.12.2026"));
  EXPECT_EQ(строка_на_руках(3), std::string());

  // The files load back as they were written.
  const std::string было = RNT_SaveText(секция_выдач);
  RNT_RetractallVar(секция_выдач);
  загрузить_раздел(*раздел_секции(секция_выдач));
  EXPECT_EQ(RNT_SaveText(секция_выдач), было);
}

// Each change is one step: undo takes back exactly it (the files with it), redo makes it again.
TEST_F(Lending, IssueReturnAndReaderChangesAreEachOneUndoStep) {
  const std::int32_t к = ввести(читатель("Иванова Анна"));
  ASSERT_TRUE(выдать(2, к, "2026-12-01", "2026-12-15").сделано());
  ASSERT_TRUE(применить(ПринятьКнигу{{2, к, "2026-12-01", "2026-12-15", ""}, "2026-12-10"}).сделано());
  Читатель новая = *читатель_по_коду(к);
  новая.телефон = "123";
  ASSERT_TRUE(применить(ИзменитьЧитателя{*читатель_по_коду(к), новая}).сделано());
  EXPECT_EQ(что_отменить(), cp("изменение читателя «Иванова Анна»"));

  struct Шаг {
    const char* слова;  // what the step undone was
    std::size_t читателей, выдач;
    bool на_руках;
  };
  for (const Шаг& ш : {Шаг{"изменение читателя «Иванова Анна»", 1, 1, false}, Шаг{"возврат книги 2", 1, 1, true},
                       Шаг{"выдача книги 2", 1, 0, false}, Шаг{"ввод читателя «Иванова Анна»", 0, 0, false}}) {
    SCOPED_TRACE(ш.слова);
    EXPECT_EQ(что_отменить(), cp(ш.слова));
    ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
    EXPECT_EQ(читатель_лит.count(), ш.читателей);
    EXPECT_EQ(выдача_лит.count(), ш.выдач);
    EXPECT_EQ(выдачи_на_руках(2).size(), ш.на_руках ? 1u : 0u);
    EXPECT_EQ(test_support::read_bytes(файл(файл_выдач)), RNT_SaveText(секция_выдач));
    EXPECT_EQ(test_support::read_bytes(файл(файл_читателей)), RNT_SaveText(секция_читателей));
  }
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(применить(ПовторитьИзменение{}).сделано());
  EXPECT_EQ(читатель_по_коду(к)->телефон, "123");
  EXPECT_EQ(выдача_лит.all(), (std::vector<Выдача>{{2, к, "2026-12-01", "2026-12-15", "2026-12-10"}}));
}

// What would spoil the data is refused with a message that says why, and nothing is written.
TEST_F(Lending, RefusalsNameWhatStandsInTheWay) {
  const std::int32_t иванова = ввести(читатель("Иванова Анна"));
  const std::int32_t петров = ввести(читатель("Петров Пётр"));
  ASSERT_TRUE(выдать(3, иванова, "2026-12-07", "2026-12-21").сделано());
  const std::string выдачи = test_support::read_bytes(файл(файл_выдач));

  struct Случай {
    const char* что;
    Операция операция;
    const char* в_сообщении;
  };
  const std::vector<Случай> случаи = {
      {"every copy out", ВыдатьКнигу{{3, петров, "2026-12-08", "2026-12-22", ""}},
       "«Каштанка» на руках: Иванова Анна — до 21.12.2026"},
      {"no such book", ВыдатьКнигу{{99, петров, "2026-12-08", "2026-12-22", ""}}, "книги с кодом 99 в каталоге нет"},
      {"no such reader", ВыдатьКнигу{{2, 77, "2026-12-08", "2026-12-22", ""}}, "читателя с кодом 77 нет"},
      {"not a date", ВыдатьКнигу{{2, петров, "2026-02-30", "2026-12-22", ""}}, "дата выдачи «2026-02-30» — не дата"},
      {"due before the issue", ВыдатьКнигу{{2, петров, "2026-12-08", "2026-12-01", ""}},
       "срок 01.12.2026 раньше даты выдачи 08.12.2026"},
      {"a reader with books", УдалитьЧитателя{*читатель_по_коду(иванова)},
       "у него на руках книги. Сначала примите их:\nкнига 3 «Каштанка», до 21.12.2026"},
      {"returned before issued", ПринятьКнигу{{3, иванова, "2026-12-07", "2026-12-21", ""}, "2026-12-01"},
       "раньше даты выдачи"},
      {"not out with that reader", ПринятьКнигу{{3, петров, "2026-12-07", "2026-12-21", ""}, "2026-12-09"},
       "уже не на руках"},
  };
  for (const Случай& с : случаи) {
    SCOPED_TRACE(с.что);
    const ИтогИзменения итог = применить(с.операция);
    EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_применимо);
    EXPECT_NE(итог.сообщение.find(cp(с.в_сообщении)), std::string::npos) << cp1251::to_utf8(итог.сообщение);
  }
  EXPECT_EQ(test_support::read_bytes(файл(файл_выдач)), выдачи);
  EXPECT_EQ(читатель_лит.count(), 2u);
  EXPECT_EQ(что_отменить(), cp("выдача книги 3"));

  // Once returned, the book goes to the next reader, and the first reader can be deleted.
  ASSERT_TRUE(применить(ПринятьКнигу{{3, иванова, "2026-12-07", "2026-12-21", ""}, "2026-12-09"}).сделано());
  EXPECT_TRUE(выдать(3, петров, "2026-12-09", "2026-12-23").сделано());
  EXPECT_TRUE(применить(УдалитьЧитателя{*читатель_по_коду(иванова)}).сделано());
}

// A deleted reader's code is never given again, also after the files are read anew, and the
// deleted reader's loans stay history without being a problem.
TEST_F(Lending, ReaderCodesStayGivenAndTheHistoryOfTheDeletedStaysReadable) {
  const std::int32_t первый = ввести(читатель("Первый"));
  const std::int32_t второй = ввести(читатель("Второй"));
  ASSERT_TRUE(выдать(1, второй, "2026-12-01", "2026-12-15").сделано());
  ASSERT_TRUE(применить(ПринятьКнигу{{1, второй, "2026-12-01", "2026-12-15", ""}, "2026-12-02"}).сделано());
  ASSERT_TRUE(применить(УдалитьЧитателя{*читатель_по_коду(второй)}).сделано());
  ASSERT_TRUE(применить(УдалитьЗапись{база_лит.по_коду(1).at(0)}).сделано());
  открыть_снова();
  EXPECT_EQ(ввести(читатель("Третий")), второй + 1);
  EXPECT_EQ(первый, 1);
  EXPECT_EQ(выдачи_читателя(второй).size(), 1u);
  EXPECT_TRUE(замечания_выдач().empty());
  EXPECT_FALSE(сообщение_о_выдачах());
}

// The problems of the loans' lines, each kept as it is and named with its line: at the opening
// (the line is the loan's place) and by the check (the file's own line, past lines it cannot read).
TEST_F(Lending, BadLoansAreKeptAndNamedWithTheirLines) {
  test_support::write_bytes(файл(файл_базы), RNT_SaveText(секция_базы));
  test_support::write_bytes(файл(файл_читателей), cp("читатель_лит(1,\"Иванова Анна\",\"\",\"\",\"\")\r\n"));
  test_support::write_bytes(файл(файл_кодов_читателей), cp("наибольший_код_читателя(3)\r\n"));
  const std::vector<std::pair<std::string, std::string>> строки = {
      {"выдача_лит(3,1,\"2026-12-01\",\"2026-12-15\",\"\")", ""},
      {"выдача_лит(9,1,\"2026-12-01\",\"2026-12-15\",\"\")", "книги с кодом 9 в каталоге нет"},
      {"выдача_лит(2,4,\"2026-12-01\",\"2026-12-15\",\"\")", "читателя с кодом 4 нет"},
      {"выдача_лит(2,2,\"2026-12-01\",\"2026-12-15\",\"\")", ""},  // reader 2 was given, then deleted
      {"выдача_лит(2,1,\"1.12.2026\",\"2026-12-15\",\"\")", "дата выдачи «1.12.2026» — не дата"},
      {"выдача_лит(2,1,\"2026-12-01\",\"2026-13-01\",\"\")", "срок «2026-13-01» — не дата"},
      {"выдача_лит(2,1,\"2026-12-10\",\"2026-12-01\",\"\")", "срок 01.12.2026 раньше даты выдачи 10.12.2026"},
      {"выдача_лит(2,1,\"2026-12-10\",\"2026-12-20\",\"вчера\")", "дата возврата «вчера» — не дата"},
      {"выдача_лит(2,1,\"2027-02-29\",\"2027-03-01\",\"\")", "дата выдачи «2027-02-29» — не дата"},
      {"выдача_лит(2,1,\"2028-02-29\",\"2028-03-01\",\"\")", ""},  // a leap day
  };
  std::string текст;
  for (const auto& [строка, причина] : строки) текст += cp(строка.c_str()) + "\r\n";
  test_support::write_bytes(файл(файл_выдач), текст);
  открыть_снова();

  std::vector<ЗамечаниеВыдачи> ожидаемые;
  for (std::size_t i = 0; i < строки.size(); ++i)
    if (!строки[i].second.empty()) ожидаемые.push_back({i + 1, cp(строки[i].second.c_str())});
  EXPECT_EQ(замечания_выдач(), ожидаемые);
  const auto сообщение = сообщение_о_выдачах();
  ASSERT_TRUE(сообщение);
  EXPECT_NE(сообщение->find(cp("строка 2: книги с кодом 9 в каталоге нет")), std::string::npos);
  EXPECT_EQ(выдача_лит.count(), строки.size());  // every line kept

  // The check: a line it cannot read (the third) moves the lines after it down by one.
  текст.insert(текст.find("\r\n") + 2, "выдача_лит(oops\r\n");
  test_support::write_bytes(файл(файл_выдач), текст);
  std::vector<std::size_t> выдачи_строк;
  for (const ОшибкаФайла& о : проверить_файлы_каталога())
    if (о.файл == файл_выдач) выдачи_строк.push_back(о.строка);
  EXPECT_EQ(выдачи_строк, (std::vector<std::size_t>{2, 3, 4, 6, 7, 8, 9, 10}));
}

// The issue dialog's fields: a book by its code (as a scanner types it), by its ISBN in either
// form, or by words; readers by name or group; how many books each reader has out.
TEST_F(Lending, BooksAndReadersFoundAsTheLendingFieldsTypeThem) {
  сведения_лит.assertz(СведенияЛит{2, [] {
                                     СведенияКниги с;
                                     с.isbn = "9785170906307";
                                     return с;
                                   }()});
  const auto коды = [](std::string_view текст) {
    std::vector<std::int32_t> out;
    for (const ЗаписьБазы& з : книги_по_запросу(cp1251::from_utf8(текст))) out.push_back(з.код);
    return out;
  };
  struct Случай {
    const char* текст;
    std::vector<std::int32_t> коды;
  };
  for (const Случай& с : {Случай{"3", {3}}, Случай{" 2 ", {2}}, Случай{"978-5-17-090630-7", {2}},
                          Случай{"5-17-090630-7", {2}}, Случай{"проза", {2, 3}}, Случай{"ЧЕХОВ каштан", {3}},
                          Случай{"99", {}}, Случай{"", {}}, Случай{"9785170906314", {}}}) {
    SCOPED_TRACE(с.текст);
    EXPECT_EQ(коды(с.текст), с.коды);
  }
  EXPECT_EQ(книги_по_запросу(cp("проза"), 1).size(), 1u);  // as many as the dialog lists
  const std::int32_t иванова = ввести(читатель("Иванова Анна", "10А"));
  const std::int32_t петров = ввести(читатель("Петров Пётр", "10Б"));
  ввести(читатель("Аксёнова Ирина", "10А"));
  const auto имена = [](const char* текст) {
    std::vector<std::string> out;
    for (const Читатель& ч : читатели_по_запросу(cp(текст))) out.push_back(cp1251::to_utf8(ч.фио));
    return out;
  };
  EXPECT_EQ(имена("10а"), (std::vector<std::string>{"Аксёнова Ирина", "Иванова Анна"}));
  EXPECT_EQ(имена("аксенова"), (std::vector<std::string>{"Аксёнова Ирина"}));
  EXPECT_EQ(имена(" "), (std::vector<std::string>{"Аксёнова Ирина", "Иванова Анна", "Петров Пётр"}));
  EXPECT_EQ(имена("11"), std::vector<std::string>{});
  ASSERT_TRUE(выдать(3, иванова, "2026-12-01", "2026-12-15").сделано());
  ASSERT_TRUE(выдать(2, иванова, "2026-12-01", "2026-12-15").сделано());
  ASSERT_TRUE(выдать(1, петров, "2026-12-01", "2026-12-15").сделано());
  ASSERT_TRUE(применить(ПринятьКнигу{{1, петров, "2026-12-01", "2026-12-15", ""}, "2026-12-02"}).сделано());
  const auto на_руках = книг_на_руках_у_читателей();
  EXPECT_EQ(на_руках.size(), 1u);
  EXPECT_EQ(на_руках.at(иванова), 2);
}

// Redo and undo check again what another desk may have changed meanwhile (here put in the tables
// as a re-read would): a loan put out again while every copy is out, or a reader taken out while
// the reader has books, is refused and changes nothing; the step stays for later. A loan whose
// reader is gone for good is refused and its step goes.
TEST_F(Lending, RedoAndUndoRefuseWhatTheLoansNoLongerAllow) {
  const std::int32_t иванова = ввести(читатель("Иванова Анна"));
  const std::int32_t петров = ввести(читатель("Петров Пётр"));
  const Выдача петрову{3, петров, "2026-12-08", "2026-12-22", ""};
  // What the tables and files hold before a refused step, and that they hold it after.
  struct Снимок {
    std::string выдачи, читатели, файл_в, файл_ч, отменить, повторить;
    bool operator==(const Снимок&) const = default;
  };
  const auto снимок = [this] {
    return Снимок{RNT_SaveText(секция_выдач), RNT_SaveText(секция_читателей),
                  test_support::read_bytes(файл(файл_выдач)), test_support::read_bytes(файл(файл_читателей)),
                  что_отменить(), что_повторить()};
  };
  const auto отказ = [&](Операция шаг, const char* в_сообщении, bool шаг_остался) {
    const Снимок было = снимок();
    const ИтогИзменения итог = применить(шаг);
    EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_применимо);
    EXPECT_NE(итог.сообщение.find(cp(в_сообщении)), std::string::npos) << cp1251::to_utf8(итог.сообщение);
    Снимок стало = снимок();
    if (!шаг_остался) {
      EXPECT_NE(стало.повторить, было.повторить);
      стало.повторить = было.повторить;
    }
    EXPECT_EQ(стало, было);
  };

  // An issue undone; meanwhile the only copy went to Иванова at another desk: redo is refused
  // with who has it, and done once she has brought it back.
  ASSERT_TRUE(применить(ВыдатьКнигу{петрову}).сделано());
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  выдача_лит.assertz({3, иванова, "2026-12-09", "2026-12-23", ""});
  отказ(ПовторитьИзменение{}, "«Каштанка» на руках: Иванова Анна — до 23.12.2026", true);
  EXPECT_EQ(что_повторить(), cp("выдача книги 3"));
  выдача_лит.retract_all();
  выдача_лит.assertz({3, иванова, "2026-12-09", "2026-12-23", "2026-12-10"});
  ASSERT_TRUE(применить(ПовторитьИзменение{}).сделано());
  EXPECT_EQ(выдачи_на_руках(3), std::vector<Выдача>{петрову});

  // A return undone while the copy is out again (with Иванова): refused; the return stays to undo.
  ASSERT_TRUE(применить(ПринятьКнигу{петрову, "2026-12-11"}).сделано());
  выдача_лит.assertz({3, иванова, "2026-12-12", "2026-12-26", ""});
  отказ(ОтменитьИзменение{}, "«Каштанка» на руках: Иванова Анна — до 26.12.2026", true);
  EXPECT_EQ(что_отменить(), cp("возврат книги 3"));
  EXPECT_EQ(выдачи_на_руках(3).size(), 1u);

  // A reader's deletion undone; meanwhile she took a book at another desk: redo is refused and
  // names it. Undo of a reader's entry likewise.
  const std::int32_t сидоров = ввести(читатель("Сидоров Илья"));
  ASSERT_TRUE(применить(УдалитьЧитателя{*читатель_по_коду(сидоров)}).сделано());
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  выдача_лит.assertz({2, сидоров, "2026-12-12", "2026-12-26", ""});
  отказ(ПовторитьИзменение{}, "у него на руках книги. Сначала примите их:\nкнига 2 «Нос», до 26.12.2026", true);
  EXPECT_EQ(что_повторить(), cp("удаление читателя «Сидоров Илья»"));
  const std::int32_t новиков = ввести(читатель("Новиков Олег"));
  выдача_лит.assertz({1, новиков, "2026-12-12", "2026-12-26", ""});
  отказ(ОтменитьИзменение{}, "«Новиков Олег» удалить нельзя", true);
  EXPECT_EQ(что_отменить(), cp("ввод читателя «Новиков Олег»"));

  // An issue undone whose reader another desk deleted: the redo can never be done; it goes.
  выдача_лит.retract_all([новиков](const Выдача& в) { return в.код_читателя == новиков; });
  ASSERT_TRUE(применить(ВыдатьКнигу{{1, новиков, "2026-12-12", "2026-12-26", ""}}).сделано());
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  читатель_лит.retract_all([новиков](const Читатель& ч) { return ч.код == новиков; });
  отказ(ПовторитьИзменение{}, "читателя с кодом 4 больше нет", false);
  EXPECT_EQ(что_повторить(), std::string());
}

TEST(LendingWords, DatesNamesAndThePeriod) {
  struct Дата {
    const char* текст;
    bool дата;
  };
  for (const Дата& д : {Дата{"2026-12-21", true}, Дата{"2024-02-29", true}, Дата{"2100-02-29", false},
                        Дата{"2026-00-10", false}, Дата{"2026-12-32", false}, Дата{"2026-1-05", false},
                        Дата{"2026/12/21", false}, Дата{"20261221", false}, Дата{"", false}, Дата{"2026-12-2x", false}}) {
    SCOPED_TRACE(д.текст);
    EXPECT_EQ(дата_из_текста(д.текст).has_value(), д.дата);
    if (д.дата) EXPECT_EQ(текст_даты(*дата_из_текста(д.текст)), д.текст);
  }
  EXPECT_EQ(текст_даты(день("2026-12-21") + days(14)), "2027-01-04");
  EXPECT_EQ(показ_даты("2026-12-21"), "21.12.2026");
  EXPECT_EQ(показ_даты("вчера"), "вчера");
  EXPECT_EQ(краткое_имя(cp("Иванова Анна")), cp("Иванова А."));
  EXPECT_EQ(краткое_имя(cp("  Петров  Пётр Ильич ")), cp("Петров П. И."));
  EXPECT_EQ(краткое_имя(cp("Сократ")), cp("Сократ"));
}

// The due date as typed in the issue dialog: both forms of a date, blanks around it; a text that
// is no date and a day already past are refused with what to type.
TEST(LendingWords, TheDueDateTyped) {
  const День сегодня_ = день("2026-12-09");
  struct Случай {
    const char* текст;
    const char* срок;       // the day taken, or nothing
    const char* в_отказе;   // else a part of the reason
  };
  for (const Случай& с : {Случай{"23.12.2026", "2026-12-23", nullptr}, Случай{" 2026-12-23 ", "2026-12-23", nullptr},
                          Случай{"09.12.2026", "2026-12-09", nullptr}, Случай{"31.02.2027", nullptr, "не дата"},
                          Случай{"завтра", nullptr, "«завтра» — не дата. Введите срок как ДД.ММ.ГГГГ, например 23.12.2026"},
                          Случай{"", nullptr, "не дата"}, Случай{"1.1.2027", nullptr, "не дата"},
                          Случай{"12-23-2026", nullptr, "не дата"},
                          Случай{"08.12.2026", nullptr, "Срок 08.12.2026 уже прошёл"}}) {
    SCOPED_TRACE(с.текст);
    const auto итог = срок_из_ввода(cp(с.текст), сегодня_);
    if (с.срок) {
      ASSERT_TRUE(std::holds_alternative<День>(итог));
      EXPECT_EQ(текст_даты(std::get<День>(итог)), с.срок);
    } else {
      ASSERT_TRUE(std::holds_alternative<std::string>(итог));
      EXPECT_NE(std::get<std::string>(итог).find(cp(с.в_отказе)), std::string::npos)
          << cp1251::to_utf8(std::get<std::string>(итог));
    }
  }
}

// The loan period: 14 days until set, kept in the catalogue's folder, never below a day.
TEST_F(Lending, TheLoanPeriodIsKeptInTheCatalogue) {
  EXPECT_EQ(срок_выдачи(), 14);
  EXPECT_FALSE(применить(ЗадатьСрокВыдачи{0}).сделано());
  ASSERT_TRUE(применить(ЗадатьСрокВыдачи{21}).сделано());
  EXPECT_EQ(срок_выдачи(), 21);
  EXPECT_EQ(test_support::read_bytes(файл(файл_срока_выдачи)), cp("срок_выдачи_дней(21)\r\n"));
  EXPECT_EQ(что_отменить(), std::string());  // a setting, not a step
  test_support::write_bytes(файл(файл_срока_выдачи), cp("срок_выдачи_дней(-3)\r\n"));
  срок_выдачи_дней.retract_all();
  загрузить_раздел(*раздел_секции(секция_срока_выдачи));
  EXPECT_EQ(срок_выдачи(), 14);
}

}  // namespace

namespace {

// The statistics: categories and kinds counted, the books out and on the shelf (a deleted book's
// loan counts in the loans, not on the shelves), the last 12 months of loans, the books and
// readers lent most.
TEST_F(Lending, TheStatisticsCountWhatTheTablesHold) {
  читатель_лит.assertz({1, cp("Иванова Анна"), "", "", ""});
  for (const Выдача& в : {Выдача{3, 1, "2026-12-01", "2026-12-15", ""}, Выдача{3, 2, "2026-11-05", "2026-11-19", "2026-11-20"},
                          Выдача{1, 2, "2026-01-10", "2026-01-24", "2026-01-20"},
                          Выдача{2, 2, "2025-12-10", "2025-12-24", "2025-12-20"}, Выдача{9, 2, "2026-12-02", "2026-12-16", ""}})
    выдача_лит.assertz(в);
  // Two books with a year; the third without details.
  for (const auto& [код, год] : {std::pair{1, 1965}, std::pair{2, 1969}}) {
    СведенияЛит л;
    л.код = код;
    л.сведения.год = год;
    сведения_лит.assertz(л);
  }
  const СтатистикаКаталога с = статистика_каталога(день("2026-12-09"));
  using С = std::vector<СтолбецСтатистики>;
  EXPECT_EQ(с.по_десятилетиям, (С{{cp("1960-е"), 2}, {cp("год не указан"), 1}}));
  EXPECT_EQ(с.по_категориям, (С{{cp("Проза"), 2}, {cp("Поэзия"), 1}}));
  EXPECT_EQ(с.по_видам, (С{{cp("без вида"), 3}}));
  EXPECT_EQ(с.наличие, (С{{cp("на руках"), 1}, {cp("на полке"), 2}}));
  ASSERT_EQ(с.по_месяцам.size(), 12u);
  EXPECT_EQ(с.по_месяцам.front(), (СтолбецСтатистики{"2026-01", 1}));
  EXPECT_EQ(с.по_месяцам[10], (СтолбецСтатистики{"2026-11", 1}));
  EXPECT_EQ(с.по_месяцам.back(), (СтолбецСтатистики{"2026-12", 2}));
  EXPECT_EQ(с.книги_чаще, (С{{cp("3 Чехов А. П. «Каштанка»"), 2}, {cp("1 Пушкин А. С. «Руслан и Людмила»"), 1},
                             {cp("2 Гоголь Н. В. «Нос»"), 1}, {"9", 1}}));
  EXPECT_EQ(с.читатели_чаще, (С{{cp("читатель 2"), 4}, {cp("Иванова Анна"), 1}}));
  // A year turns: January's twelve months reach back to the February before.
  EXPECT_EQ(статистика_каталога(день("2027-01-31")).по_месяцам.front().подпись, "2026-02");
}

}  // namespace

// Who has each book, made for all books at once, says for each exactly what the book's own line
// says: two copies out in the order of issue, a reader no longer kept named by the code, a
// returned loan left out, a book on the shelf absent.
TEST_F(Lending, WhoHasEveryBookAtOnceIsWhatEachBookSays) {
  читатель_лит.assertz({4, cp("Иванова Анна Сергеевна"), "", "", ""});
  читатель_лит.assertz({5, cp("Петров"), "", "", ""});
  читатель_лит.assertz({4, cp("Сидоров Иван"), "", "", ""});  // a second reader of code 4 in a hand-edited file
  выдача_лит.assertz({1, 5, "2026-12-02", "2026-12-16", ""});
  выдача_лит.assertz({1, 4, "2026-12-01", "2026-12-21", ""});
  выдача_лит.assertz({2, 9, "2026-11-01", "2026-11-15", ""});
  выдача_лит.assertz({3, 4, "2026-10-01", "2026-10-15", "2026-10-10"});
  const auto все = кто_на_руках_по_книгам();
  EXPECT_EQ(все.size(), 2u);
  EXPECT_EQ(все.at(1), cp("Петров, до 16.12.2026; Иванова А. С., до 21.12.2026"));
  EXPECT_EQ(все.at(2), cp("читатель 9, до 15.11.2026"));
  for (const std::int32_t книга : {1, 2, 3}) {
    EXPECT_EQ(все.contains(книга) ? все.at(книга) : std::string(), кто_на_руках(книга)) << книга;
    EXPECT_EQ(строка_на_руках(книга), кто_на_руках(книга).empty() ? "" : cp("На руках: ") + кто_на_руках(книга));
  }
}

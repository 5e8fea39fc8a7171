// The change path: each operation applied once, saved once per section through the storage seam,
// recorded as one undo step and told to the subscribers; a failed save puts everything back; an
// import is one step that undo takes back exactly. A storage of the test's own stands behind the
// seam (it keeps each section's text and refuses the files it is told to); one test goes through
// the working folder's real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/catalogue_files.h"
#include "core/change_path.h"
#include "core/record_codes.h"
#include "core/undo_history.h"
#include "runtime/codepage.h"
#include "runtime/error_codes.h"
#include "runtime/fact_file.h"
#include "runtime/run_error.h"
#include "test_support.h"

namespace {

// Keeps each saved section's text by file name; refuses to save the files in `отказ` as the host
// refuses a file, and fails every save as the program's own error when `сбой`.
class ХранилищеПроверки : public ХранилищеКаталога {
 public:
  void загрузить(const РазделКаталога& р) override { RNT_ConsultText(*р.секция, тексты[std::string(р.файл)]); }
  void сохранить(const РазделКаталога& р) override {
    if (сбой) RUN_Error(errcode::kNoCase);
    if (отказ.contains(std::string(р.файл))) RUN_OsError(errcode::host(EACCES));
    тексты[std::string(р.файл)] = RNT_SaveText(*р.секция);
    сохранения.push_back(std::string(р.файл));
  }
  std::map<std::string, std::string> тексты;
  std::vector<std::string> сохранения;
  std::set<std::string> отказ;
  bool сбой = false;  // every save fails as the program's own error would
};

ЗаписьБазы запись(std::int32_t код, const char* автор, const char* категория = "Проза") {
  return {код, cp1251::from_utf8(автор), "T", cp1251::from_utf8(категория), "", 0, 1, ""};
}

std::vector<std::int32_t> коды() {
  std::vector<std::int32_t> out;
  for (auto v : база_лит.views()) out.push_back(v[&ЗаписьБазы::код]);
  return out;
}

class ChangePath : public ::testing::Test {
 protected:
  void SetUp() override {
    auto х = std::make_unique<ХранилищеПроверки>();
    хранилище = х.get();
    задать_хранилище_каталога(std::move(х));
    for (const ЗаписьБазы& з : {запись(3, "Пушкин"), запись(7, "Гоголь"), запись(5, "Чехов")}) база_лит.assertz(з);
    for (const char* к : {"Поэзия", "Проза"}) категории_лит.assertz(cp1251::from_utf8(к));
    подписаться_на_изменения([this](const Изменения& и) { услышано.push_back(и); });
  }

  ХранилищеПроверки* хранилище = nullptr;
  std::vector<Изменения> услышано;
};

TEST_F(ChangePath, ARecordEnteredEditedAndDeletedIsSavedOnceAndUndone) {
  auto итог = применить(ВвестиЗапись{запись(0, "Блок")});
  ASSERT_TRUE(итог.сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{8, 3, 7, 5}));
  EXPECT_EQ(хранилище->сохранения, (std::vector<std::string>{"Литература1.pbs"_cps, "КодыЛитер.pbs"_cps}));
  EXPECT_EQ(наибольший_код.first(), 8);
  ASSERT_EQ(услышано.size(), 1u);
  EXPECT_EQ(услышано[0].добавленные.at(0).код, 8);
  EXPECT_TRUE(услышано[0].история);
  EXPECT_EQ(что_отменить(), "ввод записи 8"_cps);

  // An edit: the record keeps its code and its place, saved once.
  итог = применить(ИзменитьЗапись{запись(7, "Гоголь"), запись(0, "Гоголь Н. В.")}, 42);
  ASSERT_TRUE(итог.сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{8, 3, 7, 5}));
  EXPECT_EQ(база_лит.all().at(2).автор, "Гоголь Н. В."_cps);
  EXPECT_EQ(хранилище->сохранения.size(), 4u);
  EXPECT_EQ(услышано.back().источник, 42u);
  EXPECT_EQ(услышано.back().убранные.at(0).код, 7);
  EXPECT_EQ(услышано.back().добавленные.at(0).код, 7);
  EXPECT_EQ(что_отменить(), "изменение записи 7"_cps);

  ASSERT_TRUE(применить(УдалитьЗапись{запись(3, "Пушкин")}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{8, 7, 5}));

  // Undone in turn, each record back at its place; redone, the same again.
  for (const auto& ожидаемые : std::vector<std::vector<std::int32_t>>{{8, 3, 7, 5}, {8, 3, 7, 5}, {3, 7, 5}}) {
    ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
    EXPECT_EQ(коды(), ожидаемые);
  }
  EXPECT_EQ(что_отменить(), std::string());
  EXPECT_FALSE(применить(ОтменитьИзменение{}).сделано());
  ASSERT_TRUE(применить(ПовторитьИзменение{}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{8, 3, 7, 5}));
  // A new change drops what was left to redo.
  ASSERT_TRUE(применить(ВвестиКатегорию{"Эпос"_cps}).сделано());
  EXPECT_EQ(что_повторить(), std::string());
}

// What no longer applies changes nothing, saves nothing and tells nobody; an edit of a record
// that is no longer there as the user saw it is refused with a message naming it, and an edit
// given no record seen enters the new record.
TEST_F(ChangePath, WhatNoLongerAppliesChangesNothing) {
  const auto не_применимо = ИтогИзменения::Исход::не_применимо;
  EXPECT_EQ(применить(УдалитьЗапись{запись(3, "Другой")}).исход, не_применимо);
  EXPECT_EQ(применить(ВвестиКатегорию{"Проза"_cps}).исход, не_применимо);
  EXPECT_EQ(применить(ИзменитьКатегорию{"Драма"_cps, "Эпос"_cps}).исход, не_применимо);
  EXPECT_EQ(применить(УдалитьКатегорию{"Драма"_cps}).исход, не_применимо);
  EXPECT_EQ(применить(ИмпортироватьЗаписи{}).исход, не_применимо);
  EXPECT_TRUE(хранилище->сохранения.empty());
  EXPECT_TRUE(услышано.empty());
  EXPECT_EQ(что_отменить(), std::string());

  const ИтогИзменения правка = применить(ИзменитьЗапись{запись(4, "Нет такой"), запись(0, "Новая")});
  EXPECT_EQ(правка.исход, не_применимо);
  EXPECT_EQ(правка.сообщение,
            "Запись 4 «T» не изменена: пока она была открыта, её удалили (или изменили, и она получила новый код) "
            "на другом рабочем месте. Откройте запись снова и повторите правку."_cps);
  EXPECT_TRUE(хранилище->сохранения.empty());
  ASSERT_TRUE(применить(ИзменитьЗапись{std::nullopt, запись(0, "Новая")}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{8, 3, 7, 5}));
  EXPECT_EQ(что_отменить(), "ввод записи 8"_cps);
}

// A category renamed with its books: the category and every record of it change in one step,
// saved once per file, each record in its place with its code; undo takes both back, redo makes
// both again; a record another desk changed meanwhile keeps what it has. Renamed without its
// books, the records keep the old name; a save that fails changes neither.
TEST_F(ChangePath, ACategoryRenamedWithItsBooksIsOneStep) {
  const auto категории = [] {
    std::vector<std::string> out;
    for (const std::string& к : категории_лит.facts()) out.push_back(к);
    return out;
  };
  const auto записи_категории = [](const char* к) {
    std::vector<std::int32_t> out;
    for (const ЗаписьБазы& з : база_лит.facts())
      if (з.категория == cp1251::from_utf8(к)) out.push_back(з.код);
    return out;
  };
  база_лит.assertz(запись(9, "Блок", "Поэзия"));
  хранилище->отказ = {"Литература1.pbs"_cps};
  EXPECT_EQ(применить(ИзменитьКатегорию{"Проза"_cps, "Повести"_cps, true}).исход, ИтогИзменения::Исход::не_сохранено);
  EXPECT_EQ(категории(), (std::vector<std::string>{"Поэзия"_cps, "Проза"_cps}));
  EXPECT_EQ(записи_категории("Проза"), (std::vector<std::int32_t>{3, 7, 5}));
  EXPECT_TRUE(услышано.empty());
  хранилище->отказ.clear();
  хранилище->сохранения.clear();

  ASSERT_TRUE(применить(ИзменитьКатегорию{"Проза"_cps, "Повести"_cps, true}).сделано());
  EXPECT_EQ(категории(), (std::vector<std::string>{"Поэзия"_cps, "Повести"_cps}));
  EXPECT_EQ(записи_категории("Повести"), (std::vector<std::int32_t>{3, 7, 5}));
  EXPECT_EQ(записи_категории("Поэзия"), (std::vector<std::int32_t>{9}));
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 7, 5, 9}));
  for (const std::string& файл : {"КатегЛитер.pbs"_cps, "Литература1.pbs"_cps})
    EXPECT_EQ(std::count(хранилище->сохранения.begin(), хранилище->сохранения.end(), файл), 1) << файл;
  ASSERT_EQ(услышано.size(), 1u);
  EXPECT_TRUE(услышано[0].категории);
  EXPECT_EQ(услышано[0].убранные.size(), 3u);
  EXPECT_EQ(услышано[0].добавленные.at(1).категория, "Повести"_cps);

  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  EXPECT_EQ(категории(), (std::vector<std::string>{"Поэзия"_cps, "Проза"_cps}));
  EXPECT_EQ(записи_категории("Проза"), (std::vector<std::int32_t>{3, 7, 5}));
  EXPECT_EQ(услышано.back().добавленные.size(), 3u);
  // Meanwhile another desk edited record 7: the redo renames the others and leaves it be.
  база_лит.retract_first([](const ЗаписьБазы& з) { return з.код == 7; });
  база_лит.insert_at(1, запись(7, "Гоголь Н. В."));
  ASSERT_TRUE(применить(ПовторитьИзменение{}).сделано());
  EXPECT_EQ(записи_категории("Повести"), (std::vector<std::int32_t>{3, 5}));
  EXPECT_EQ(записи_категории("Проза"), (std::vector<std::int32_t>{7}));
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 7, 5, 9}));

  // Without its books: only the list of categories changes.
  ASSERT_TRUE(применить(ИзменитьКатегорию{"Поэзия"_cps, "Стихи"_cps}).сделано());
  EXPECT_EQ(записи_категории("Поэзия"), (std::vector<std::int32_t>{9}));
  EXPECT_TRUE(услышано.back().добавленные.empty());
}

// A code once given is never given again: not after the highest record is deleted, nor after an
// entry is undone; the highest given is saved with the records.
TEST_F(ChangePath, ACodeOnceGivenIsNotGivenAgain) {
  ASSERT_TRUE(применить(УдалитьЗапись{запись(7, "Гоголь")}).сделано());
  EXPECT_EQ(хранилище->тексты["КодыЛитер.pbs"_cps], "наибольший_код(7)\r\n"_cps);
  ASSERT_TRUE(применить(ВвестиЗапись{запись(0, "Блок")}).сделано());
  EXPECT_EQ(база_лит.first()->код, 8);
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  ASSERT_TRUE(применить(ВвестиЗапись{запись(0, "Фет")}).сделано());
  EXPECT_EQ(база_лит.first()->код, 9);
  // The entry undone first comes back with its own code.
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  ASSERT_TRUE(применить(ПовторитьИзменение{}).сделано());
  EXPECT_EQ(база_лит.first()->код, 9);
  // An import counts from the highest given too.
  ASSERT_TRUE(применить(ИмпортироватьЗаписи{{запись(0, "Бунин")}, {}, {}, {}}).сделано());
  EXPECT_EQ(база_лит.first()->код, 10);
  EXPECT_EQ(хранилище->тексты["КодыЛитер.pbs"_cps], "наибольший_код(10)\r\n"_cps);
}

// An edit of a record whose code a twin shares keeps it, through undo and redo.
TEST_F(ChangePath, AnEditedTwinKeepsItsSharedCode) {
  база_лит.assertz(запись(7, "Двойник"));
  ASSERT_TRUE(применить(ИзменитьЗапись{запись(7, "Двойник"), запись(0, "Двойник 2")}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 7, 5, 7}));
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  ASSERT_TRUE(применить(ПовторитьИзменение{}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 7, 5, 7}));
  EXPECT_EQ(база_лит.all().back().автор, "Двойник 2"_cps);
}

// A save the host refuses leaves memory as it was, records no step, tells nobody and says which
// file, why and what to do; the card font stays chosen for the run.
TEST_F(ChangePath, AFailedSaveChangesNothing) {
  хранилище->отказ = {"Литература1.pbs"_cps};
  const auto было = база_лит.all();
  const std::vector<Операция> операции = {ВвестиЗапись{запись(0, "Блок")}, ИзменитьЗапись{запись(7, "Гоголь"), запись(0, "Г")},
                                          УдалитьЗапись{запись(5, "Чехов")}};
  for (const Операция& оп : операции) {
    const ИтогИзменения итог = применить(оп);
    EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_сохранено);
    EXPECT_EQ(итог.файл, "Литература1.pbs"_cp);
    EXPECT_EQ(итог.код_ошибки, errcode::host(EACCES));
    EXPECT_EQ(итог.сообщение.rfind("Изменение не сохранено: файл «Литература1.pbs» не записан — нет прав доступа. "
                                  "Данные остались как были.\n"_cp, 0),
              0u)
        << итог.сообщение;
    EXPECT_EQ(база_лит.all(), было);
  }
  EXPECT_TRUE(услышано.empty());
  EXPECT_EQ(что_отменить(), std::string());

  // An undo whose save fails stays to be done.
  хранилище->отказ.clear();
  ASSERT_TRUE(применить(УдалитьЗапись{запись(7, "Гоголь")}).сделано());
  хранилище->отказ = {"Литература1.pbs"_cps};
  const ИтогИзменения отмена = применить(ОтменитьИзменение{});
  EXPECT_EQ(отмена.исход, ИтогИзменения::Исход::не_сохранено);
  EXPECT_EQ(отмена.сообщение.rfind("Не удалось отменить удаление записи 7: файл «Литература1.pbs» не записан "
                                  "(нет прав доступа).\nДанные и файл остались как были. "_cp, 0),
            0u)
      << отмена.сообщение;
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 5}));
  EXPECT_EQ(что_отменить(), "удаление записи 7"_cps);

  // The card font: not saved, but chosen for the run.
  хранилище->отказ = {"Настройки.pbs"_cps};
  шрифткарточки.assertz(Binary{{1}});
  const ИтогИзменения шрифт = применить(ЗадатьШрифтКарточки{Binary{{2}}});
  EXPECT_EQ(шрифт.исход, ИтогИзменения::Исход::не_сохранено);
  EXPECT_NE(шрифт.сообщение.find("Выбранный шрифт действует до конца работы программы"_cp), std::string::npos);
  EXPECT_EQ(шрифткарточки.get(), (Binary{{2}}));

  // An error of the program itself (not of the host's files) is raised, memory put back.
  хранилище->отказ.clear();
  хранилище->сбой = true;
  EXPECT_EQ(test_support::error_code_of([] { применить(УдалитьЗапись{запись(3, "Пушкин")}); }), errcode::kNoCase);
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 5}));
}

// An undo step whose record is gone is dropped, the user is to be told, the history is heard.
TEST_F(ChangePath, AStepWhoseRecordIsGoneIsDropped) {
  ASSERT_TRUE(применить(УдалитьЗапись{запись(7, "Гоголь")}).сделано());
  база_лит.assertz(запись(7, "Гоголь"));  // the record back by another way: undo would have it twice
  ASSERT_TRUE(применить(ВвестиЗапись{запись(0, "Блок")}).сделано());
  база_лит.retract_first();  // the entered record gone by another way
  услышано.clear();
  const ИтогИзменения итог = применить(ОтменитьИзменение{});
  EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_применимо);
  EXPECT_EQ(итог.сообщение,
            "Не удалось отменить ввод записи 8: этой записи больше нет в каталоге.\nЭтот шаг убран из истории."_cps);
  ASSERT_EQ(услышано.size(), 1u);
  EXPECT_TRUE(услышано[0].история && услышано[0].добавленные.empty() && услышано[0].убранные.empty());
  EXPECT_EQ(что_отменить(), "удаление записи 7"_cps);
  // Put back while its code is taken, a record gets a new one: past 8, given to the entry.
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 9, 5, 7}));
}

// An import is one step: undo takes back exactly its records and categories, and not the change
// made before it; redo puts them back with their codes.
TEST_F(ChangePath, AnImportIsOneStep) {
  ASSERT_TRUE(применить(УдалитьЗапись{запись(5, "Чехов")}).сделано());
  хранилище->сохранения.clear();
  std::size_t отчёт = 0;
  const ИтогИзменения итог =
      применить(ИмпортироватьЗаписи{{запись(0, "Блок", "Поэзия"), запись(0, "Бунин", "Рассказ"), запись(0, "Фет", "Поэзия")},
                                   {"Рассказ"_cps}, {"Сборник"_cps}, "книги.csv"_cps},
                0, [&отчёт](std::size_t n) { отчёт = n; });
  ASSERT_TRUE(итог.сделано());
  EXPECT_EQ(отчёт, 3u);
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{10, 9, 8, 3, 7}));
  EXPECT_EQ(категории_лит.all(), (std::vector<std::string>{"Поэзия"_cps, "Проза"_cps, "Рассказ"_cps}));
  EXPECT_EQ(виды_лит.all(), std::vector<std::string>{"Сборник"_cps});
  EXPECT_EQ(хранилище->сохранения,
            (std::vector<std::string>{"Литература1.pbs"_cps, "КодыЛитер.pbs"_cps, "КатегЛитер.pbs"_cps, "ВидЛитер.pbs"_cps}));
  EXPECT_EQ(списоккодов.get(), (std::vector<std::int32_t>{10, 9, 8, 3, 7}));
  EXPECT_EQ(итог.изменения.добавленные.size(), 3u);
  EXPECT_EQ(что_отменить(), "импорт из «книги.csv»"_cps);

  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 7}));  // the deletion before it stays
  EXPECT_EQ(категории_лит.all(), (std::vector<std::string>{"Поэзия"_cps, "Проза"_cps}));
  EXPECT_TRUE(виды_лит.empty());
  EXPECT_EQ(услышано.back().убранные.size(), 3u);
  EXPECT_EQ(что_отменить(), "удаление записи 5"_cps);
  ASSERT_TRUE(применить(ПовторитьИзменение{}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{10, 9, 8, 3, 7}));
  EXPECT_EQ(база_лит.first()->автор, "Фет"_cps);
  EXPECT_EQ(категории_лит.count(), 3u);
  EXPECT_EQ(виды_лит.count(), 1u);
  // Undone twice: the import, then the deletion before it.
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  ASSERT_TRUE(применить(ОтменитьИзменение{}).сделано());
  EXPECT_EQ(коды(), (std::vector<std::int32_t>{3, 7, 5}));
}

// When the categories cannot be saved, the records of the import go too, and the catalogue's
// file is saved again as it was.
TEST_F(ChangePath, AnImportWhoseCategoriesCannotBeSavedIsTakenBackWhole) {
  хранилище->отказ = {"КатегЛитер.pbs"_cps};
  const auto было = база_лит.all();
  const ИтогИзменения итог = применить(ИмпортироватьЗаписи{{запись(0, "Бунин", "Рассказ")}, {"Рассказ"_cps}, {}, {}});
  EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_сохранено);
  EXPECT_EQ(итог.файл, "КатегЛитер.pbs"_cp);
  EXPECT_EQ(база_лит.all(), было);
  EXPECT_EQ(категории_лит.count(), 2u);
  EXPECT_EQ(хранилище->сохранения, (std::vector<std::string>{"Литература1.pbs"_cps, "КодыЛитер.pbs"_cps,
                                                            "Литература1.pbs"_cps, "КодыЛитер.pbs"_cps}));
  EXPECT_EQ(хранилище->тексты["Литература1.pbs"_cps], RNT_SaveText(секция_базы));
  EXPECT_EQ(что_отменить(), std::string());
  // Codes beyond the integer range: nothing changes.
  хранилище->отказ.clear();
  база_лит.assertz(запись(INT32_MAX, "Последний"));
  EXPECT_EQ(test_support::error_code_of([] { применить(ИмпортироватьЗаписи{{запись(0, "Бунин")}, {}, {}, {}}); }),
            errcode::kIntOverflow);
  EXPECT_EQ(база_лит.count(), 4u);
}

// The steps kept to undo: the last 1000.
TEST_F(ChangePath, TheHistoryKeepsTheLastThousandSteps) {
  for (int i = 0; i < 1001; ++i) ASSERT_TRUE(применить(ВвестиКатегорию{std::to_string(i)}).сделано());
  EXPECT_EQ(история_изменений().отмена.size(), глубина_истории);
  EXPECT_EQ(описание_шага(история_изменений().отмена.front()), "ввод категории «1»"_cps);
}

// Through the working folder's files: a catalogue file whose name a folder has taken cannot be
// replaced, and memory stays as it was.
TEST(ChangePathFiles, TheFolderFilesRefuseAndMemoryStays) {
  test_support::TempDir dir;
  test_support::InDirectory in(dir.path());
  test_support::write_bytes(dir.file("Литература1.pbs"), "");
  загрузить_основную_базу();
  ASSERT_TRUE(применить(ВвестиЗапись{запись(0, "Блок")}).сделано());
  const std::string сохранено = test_support::read_bytes(dir.file("Литература1.pbs"));
  EXPECT_NE(сохранено.find("база_лит(1,"_cp), std::string::npos);
  std::filesystem::remove(dir.file("Литература1.pbs"));
  std::filesystem::create_directory(dir.file("Литература1.pbs"));
  const ИтогИзменения итог = применить(УдалитьЗапись{*база_лит.first()});
  EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_сохранено);
  EXPECT_EQ(база_лит.count(), 1u);
}

}  // namespace

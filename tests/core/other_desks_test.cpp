// What another desk stored, within one process: the records two states differ by; the change path
// applying this desk's operation to what another desk stored (nothing of theirs lost, codes from
// the fresh data, a change they made impossible refused with the record named, the subscribers
// told after the store is released); a store that cannot be had; and through the working
// folder's real files, a file changed by hand read again by the watch, one that does not load
// whole kept aside, the folder's lock held by another, the folder gone and back.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/catalogue_files.h"
#include "core/change_path.h"
#include "core/other_desks.h"
#include "core/undo_history.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/folder_lock.h"
#include "runtime/host_path.h"
#include "test_support.h"

namespace {

using namespace std::chrono_literals;

ЗаписьБазы запись(std::int32_t код, const char* наименование) {
  return {код, "A", cp1251::from_utf8(наименование), "C", "", 0, 0, ""};
}
std::vector<ЗаписьБазы> записи(std::initializer_list<std::pair<int, const char*>> list) {
  std::vector<ЗаписьБазы> out;
  for (const auto& [код, наименование] : list) out.push_back(запись(код, наименование));
  return out;
}
std::vector<std::int32_t> коды(const std::vector<ЗаписьБазы>& list) {
  std::vector<std::int32_t> out;
  for (const ЗаписьБазы& з : list) out.push_back(з.код);
  return out;
}

struct Различия {
  const char* что;
  std::vector<ЗаписьБазы> было, стало;
  std::vector<std::int32_t> убранные, добавленные;
};

// Each desk's change shape, and the multiset cases a hand-edited file can make.
TEST(OtherDesks, TheRecordsTwoStatesDifferBy) {
  const std::vector<Различия> cases = {
      {"nothing", записи({{1, "a"}, {2, "b"}}), записи({{1, "a"}, {2, "b"}}), {}, {}},
      {"entered first", записи({{1, "a"}, {2, "b"}}), записи({{3, "c"}, {1, "a"}, {2, "b"}}), {}, {3}},
      {"deleted inside", записи({{1, "a"}, {2, "b"}, {3, "c"}}), записи({{1, "a"}, {3, "c"}}), {2}, {}},
      {"edited: new first, old gone", записи({{1, "a"}, {2, "b"}, {3, "c"}}), записи({{4, "b2"}, {1, "a"}, {3, "c"}}),
       {2}, {4}},
      {"changed under its code", записи({{1, "a"}, {2, "b"}}), записи({{1, "a"}, {2, "B"}}), {2}, {2}},
      {"moved, not changed", записи({{1, "a"}, {2, "b"}, {3, "c"}}), записи({{3, "c"}, {1, "a"}, {2, "b"}}), {}, {}},
      {"one of two equal gone", записи({{5, "x"}, {5, "x"}, {6, "y"}}), записи({{6, "y"}, {5, "x"}}), {5}, {}},
      {"a second equal one", записи({{5, "x"}}), записи({{5, "x"}, {5, "x"}}), {}, {5}},
      {"emptied", записи({{1, "a"}, {2, "b"}}), {}, {1, 2}, {}},
      {"from empty", {}, записи({{1, "a"}}), {}, {1}},
  };
  for (const Различия& c : cases) {
    std::vector<ЗаписьБазы> убранные, добавленные;
    различия_записей(c.было, c.стало, убранные, добавленные);
    EXPECT_EQ(коды(убранные), c.убранные) << c.что;
    EXPECT_EQ(коды(добавленные), c.добавленные) << c.что;
  }
}

// The stored catalogue of this desk and of "another desk" that stores into it: each file's text,
// which the other desk replaces (изменён then says so until this desk reads or stores it); whether
// it is held now; a store that can be made not to be had (the time up) or to be gone.
class ХранилищеСДругим : public ХранилищеКаталога {
 public:
  void загрузить(const РазделКаталога& р) override {
    RNT_ConsultText(*р.секция, тексты[std::string(р.файл)]);
    изменены.erase(std::string(р.файл));
  }
  void сохранить(const РазделКаталога& р) override {
    EXPECT_TRUE(занято) << "stored without the hold";
    тексты[std::string(р.файл)] = RNT_SaveText(*р.секция);
    изменены.erase(std::string(р.файл));
  }
  std::optional<std::string> недоступно() override { return нет_на_месте; }
  bool изменён(const РазделКаталога& р) override { return изменены.contains(std::string(р.файл)); }
  std::unique_ptr<ЗанятиеХранилища> занять(bool для_записи, std::chrono::milliseconds,
                                           const std::function<void()>& пока_ждём) override {
    if (для_записи) ++занятий_для_записи;
    if (!даётся) {
      if (пока_ждём) пока_ждём();
      return nullptr;
    }
    struct Занятие : ЗанятиеХранилища {
      explicit Занятие(bool& занято) : занято_(занято) { занято_ = true; }
      ~Занятие() override { занято_ = false; }
      bool& занято_;
    };
    return std::make_unique<Занятие>(занято);
  }

  // The other desk stores the section's file with these lines.
  void другой_сохранил(std::string_view файл, const std::string& строки) {
    тексты[std::string(файл)] = строки;
    изменены.insert(std::string(файл));
  }

  std::map<std::string, std::string> тексты;
  std::set<std::string> изменены;
  bool занято = false;
  bool даётся = true;
  int занятий_для_записи = 0;
  std::optional<std::string> нет_на_месте;
};

std::string строки_базы(const std::vector<ЗаписьБазы>& list) {
  std::string out;
  for (const ЗаписьБазы& з : list)
    out += "база_лит("_cps + std::to_string(з.код) + ",\"A\",\""_cps + з.наименование + "\",\"C\",\"\",0,0,\"\")\r\n"_cps;
  return out;
}

class OtherDesk : public ::testing::Test {
 protected:
  void SetUp() override {
    auto х = std::make_unique<ХранилищеСДругим>();
    хранилище = х.get();
    задать_хранилище_каталога(std::move(х));
    хранилище->тексты[std::string(файл_базы)] = строки_базы(записи({{3, "Пряслины"}, {7, "Сотников"}, {5, "Дом"}}));
    хранилище->тексты[std::string(файл_категорий)] = "категории_лит(\"Проза\")\r\nкатегории_лит(\"Поэзия\")\r\n"_cps;
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
    подписаться_на_изменения([this](const Изменения& и) {
      EXPECT_FALSE(хранилище->занято) << "a subscriber heard while the store was held";
      услышано.push_back(и);
    });
  }
  std::vector<std::int32_t> коды_базы() const { return коды(база_лит.all()); }

  ХранилищеСДругим* хранилище = nullptr;
  std::vector<Изменения> услышано;
};

// Another desk entered a record with the next code: this desk's entry keeps it and takes the code
// after it; the subscribers hear the other desk's record (source 0) before this desk's own.
TEST_F(OtherDesk, ItsRecordsStayAndCodesComeFromTheFreshData) {
  хранилище->другой_сохранил(файл_базы, строки_базы(записи({{8, "Пряслины"}, {3, "Пряслины"}, {7, "Сотников"}, {5, "Дом"}})));
  const ИтогИзменения итог = применить(ВвестиЗапись{запись(0, "Сотников")}, 42);
  ASSERT_TRUE(итог.сделано()) << итог.сообщение;
  EXPECT_EQ(коды_базы(), (std::vector<std::int32_t>{9, 8, 3, 7, 5}));
  EXPECT_EQ(хранилище->тексты[std::string(файл_базы)], RNT_SaveText(секция_базы));
  ASSERT_EQ(услышано.size(), 2u);
  EXPECT_EQ(услышано[0].источник, 0u);
  EXPECT_EQ(коды(услышано[0].добавленные), std::vector<std::int32_t>{8});
  EXPECT_EQ(услышано[0].перечитанные, std::vector<const FactSection*>{&секция_базы});
  EXPECT_FALSE(услышано[0].история);
  EXPECT_EQ(услышано[1].источник, 42u);
  EXPECT_EQ(коды(услышано[1].добавленные), std::vector<std::int32_t>{9});

  // The categories another desk stored are read again beside them; nothing else is.
  хранилище->другой_сохранил(файл_категорий, "категории_лит(\"Проза\")\r\nкатегории_лит(\"Драма\")\r\n"_cps);
  услышано.clear();
  ASSERT_TRUE(применить(ВвестиКатегорию{"Эпос"_cps}).сделано());
  EXPECT_EQ(категории_лит.all(), (std::vector<std::string>{"Проза"_cps, "Драма"_cps, "Эпос"_cps}));
  ASSERT_EQ(услышано.size(), 2u);
  EXPECT_TRUE(услышано[0].категории && услышано[0].добавленные.empty() && услышано[0].убранные.empty());
  EXPECT_EQ(хранилище->занятий_для_записи, 2);
}

struct Конфликт {
  const char* что;
  std::string другой;  // what the other desk stored: the catalogue's lines
  Операция операция;
  std::string сообщение;
};

// A change the other desk made impossible is refused with the record named and what became of it:
// nothing changes, nothing is stored, and an undo's step leaves the history.
TEST_F(OtherDesk, WhatItChangedMeanwhileIsRefusedWithTheRecordNamed) {
  const std::vector<Конфликт> cases = {
      {"edit of a deleted record", строки_базы(записи({{3, "Пряслины"}, {5, "Дом"}})),
       ИзменитьЗапись{запись(7, "Сотников"), запись(0, "Сотников, повесть")},
       "Запись 7 «Сотников» не изменена: пока она была открыта, её удалили (или изменили, и она получила новый "
       "код) на другом рабочем месте. Откройте запись снова и повторите правку."_cps},
      {"delete of a record changed under its code", строки_базы(записи({{3, "Пряслины"}, {7, "Сотников"}, {5, "Дом, 1978"}})),
       УдалитьЗапись{запись(5, "Дом")}, "Запись 5 «Дом» не удалена: тем временем её изменили на другом рабочем месте."_cps},
      {"delete of a deleted record", строки_базы(записи({{7, "Сотников"}, {5, "Дом"}})), УдалитьЗапись{запись(3, "Пряслины")},
       "Запись 3 «Пряслины» не удалена: тем временем её удалили (или изменили, и она получила новый код) на другом "
       "рабочем месте."_cps},
  };
  for (const Конфликт& c : cases) {
    SCOPED_TRACE(c.что);
    хранилище->другой_сохранил(файл_базы, c.другой);
    const std::string stored = c.другой;
    const ИтогИзменения итог = применить(c.операция);
    EXPECT_EQ(итог.исход, ИтогИзменения::Исход::не_применимо);
    EXPECT_EQ(итог.сообщение, c.сообщение);
    EXPECT_EQ(хранилище->тексты[std::string(файл_базы)], stored);
    EXPECT_EQ(RNT_SaveText(секция_базы), stored);  // memory holds what the other desk stored
    EXPECT_EQ(что_отменить(), std::string());
  }

  // A category the other desk renamed.
  хранилище->другой_сохранил(файл_категорий, "категории_лит(\"Проза\")\r\nкатегории_лит(\"Стихи\")\r\n"_cps);
  EXPECT_EQ(применить(ИзменитьКатегорию{"Поэзия"_cps, "Лирика"_cps}).сообщение,
            "Категория «Поэзия» не изменена: тем временем её удалили или переименовали на другом рабочем месте."_cps);

  // An undo of this desk's entry, which the other desk then changed under its code.
  ASSERT_TRUE(применить(ВвестиЗапись{запись(0, "Новая")}).сделано());
  const std::int32_t код = база_лит.first()->код;
  хранилище->другой_сохранил(файл_базы, строки_базы({запись(код, "Новая, исправленная")}));
  const ИтогИзменения отмена = применить(ОтменитьИзменение{});
  EXPECT_EQ(отмена.исход, ИтогИзменения::Исход::не_применимо);
  EXPECT_EQ(отмена.сообщение, "Не удалось отменить ввод записи "_cps + std::to_string(код) +
                                  ": эту запись тем временем изменили на другом рабочем месте: в каталоге она уже "
                                  "другая.\nЭтот шаг убран из истории."_cps);
  EXPECT_EQ(база_лит.count(), 1u);
  EXPECT_EQ(что_отменить(), std::string());
}

// A store not had within the time, or gone: the change is refused with the reason, nothing
// changes and the step to undo stays; the watch tells of the store gone once, and once when it is
// back.
TEST_F(OtherDesk, AStoreThatCannotBeHadRefusesTheChange) {
  ASSERT_TRUE(применить(УдалитьЗапись{запись(5, "Дом")}).сделано());
  const std::string stored = хранилище->тексты[std::string(файл_базы)];
  int ждали = 0;
  задать_ожидание_хранилища(300ms, [&ждали] { ++ждали; });
  хранилище->даётся = false;
  for (const Операция& оп : std::vector<Операция>{ВвестиЗапись{запись(0, "Новая")}, ОтменитьИзменение{}}) {
    const ИтогИзменения итог = применить(оп);
    EXPECT_EQ(итог.исход, ИтогИзменения::Исход::недоступно);
    EXPECT_EQ(итог.сообщение, "Изменение не сохранено: каталог сейчас сохраняет другое рабочее место, и за 1 с "
                              "очередь не подошла. Данные остались как были; попробуйте ещё раз."_cps);
  }
  EXPECT_EQ(ждали, 2);
  EXPECT_EQ(коды_базы(), (std::vector<std::int32_t>{3, 7}));
  EXPECT_EQ(что_отменить(), "удаление записи 5"_cps);

  хранилище->даётся = true;
  хранилище->нет_на_месте = "папки «/каталог» нет на месте"_cps;
  EXPECT_EQ(применить(ОтменитьИзменение{}).сообщение,
            "Изменение не сохранено: папки «/каталог» нет на месте. Пока папка каталога недоступна, изменения не "
            "сохраняются; данные остались как были. Когда папка вернётся, повторите."_cps);
  начать_слежение_заново();  // nothing told yet
  EXPECT_EQ(освежить_каталог().сообщения,
            std::vector<std::string>{"Папка каталога недоступна: папки «/каталог» нет на месте. Пока она не вернётся, "
                                     "изменения не сохраняются; программа показывает данные, прочитанные раньше."_cps});
  EXPECT_TRUE(освежить_каталог().сообщения.empty());
  хранилище->нет_на_месте.reset();
  EXPECT_EQ(освежить_каталог().сообщения,
            std::vector<std::string>{"Папка каталога снова доступна: изменения снова сохраняются."_cps});
  EXPECT_TRUE(применить(ОтменитьИзменение{}).сделано());
  EXPECT_NE(хранилище->тексты[std::string(файл_базы)], stored);
}

// The watch reads again only what another desk stored, and the subscribers hear it.
TEST_F(OtherDesk, TheWatchReadsWhatChanged) {
  EXPECT_FALSE(освежить_каталог().прочитано);
  EXPECT_TRUE(услышано.empty());
  хранилище->другой_сохранил(файл_базы, строки_базы(записи({{3, "Пряслины"}, {5, "Дом"}})));
  const ИтогСлежения итог = освежить_каталог();
  EXPECT_TRUE(итог.прочитано);
  EXPECT_TRUE(итог.сообщения.empty());
  ASSERT_EQ(услышано.size(), 1u);
  EXPECT_EQ(коды(услышано[0].убранные), std::vector<std::int32_t>{7});
  EXPECT_EQ(коды_базы(), (std::vector<std::int32_t>{3, 5}));
  EXPECT_FALSE(освежить_каталог().прочитано);
  EXPECT_EQ(хранилище->занятий_для_записи, 0);
}

// ---- The working folder's real files ----

class FolderDesk : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::write_bytes(dir.file(RUN_HostPath(файл_базы)), строки_базы(записи({{3, "Пряслины"}, {7, "Сотников"}})));
    test_support::write_bytes(dir.file(RUN_HostPath(файл_категорий)), "категории_лит(\"Проза\")\r\n"_cps);
    test_support::write_bytes(dir.file(RUN_HostPath(файл_видов)), "");
    for (const РазделКаталога& р : разделы_каталога())
      if (р.при_открытии) загрузить_раздел(р);
  }
  std::string файл(std::string_view name) const { return dir.file(RUN_HostPath(name)); }

  test_support::TempDir dir;
  test_support::InDirectory in{dir.path()};
};

// A file changed by hand is read again by the watch; one that does not load whole is told as at
// the opening, the part before the bad line loaded, and kept aside before the next save.
TEST_F(FolderDesk, AFileChangedByHandIsReadAgainAndKeptAsideWhenItIsBad) {
  EXPECT_FALSE(освежить_каталог().прочитано);
  test_support::write_bytes(файл(файл_базы), строки_базы(записи({{9, "Дом"}, {3, "Пряслины"}, {7, "Сотников"}})));
  EXPECT_TRUE(освежить_каталог().прочитано);
  EXPECT_EQ(коды(база_лит.all()), (std::vector<std::int32_t>{9, 3, 7}));

  const std::string bad = строки_базы(записи({{9, "Дом"}})) + "база_лит(oops)\r\n"_cps + строки_базы(записи({{3, "Пряслины"}}));
  test_support::write_bytes(файл(файл_базы), bad);
  const ИтогСлежения итог = освежить_каталог();
  ASSERT_EQ(итог.сообщения.size(), 1u);
  EXPECT_EQ(итог.сообщения[0].rfind("Файл «Литература1.pbs» изменён другим рабочим местом или вручную, но прочитан не "
                                    "полностью: строку 2 («база_лит(oops)») программа не понимает."_cps,
                                    0),
            0u)
      << итог.сообщения[0];
  EXPECT_EQ(коды(база_лит.all()), std::vector<std::int32_t>{9});

  static std::vector<std::string> сказано;
  сказано.clear();
  задать_сообщение_о_файлах([](const std::string& text) { сказано.push_back(text); });
  ASSERT_TRUE(применить(ВвестиЗапись{запись(0, "Новая")}).сделано());
  EXPECT_EQ(test_support::read_bytes(файл(std::string(файл_базы) + ".сохранено-1"_cps)), bad);
  ASSERT_EQ(сказано.size(), 1u);
  EXPECT_NE(сказано[0].find("«Литература1.pbs.сохранено-1»"_cps), std::string::npos);
  EXPECT_EQ(коды(база_лит.all()), (std::vector<std::int32_t>{10, 9}));
}

// The folder's lock held by another: the change waits the time given and is refused; freed, it
// is done.
TEST_F(FolderDesk, AChangeWaitsForTheFolderLock) {
  задать_ожидание_хранилища(200ms);
  auto lock = RUN_LockFolder({}, FolderLockMode::shared, 1s);
  ASSERT_TRUE(lock);
  const auto начало = std::chrono::steady_clock::now();
  EXPECT_EQ(применить(ВвестиКатегорию{"Драма"_cps}).исход, ИтогИзменения::Исход::недоступно);
  EXPECT_GE(std::chrono::steady_clock::now() - начало, 200ms);
  EXPECT_EQ(категории_лит.count(), 1u);
  lock.reset();
  EXPECT_TRUE(применить(ВвестиКатегорию{"Драма"_cps}).сделано());
  EXPECT_NE(test_support::read_bytes(файл(файл_категорий)).find("Драма"_cps), std::string::npos);
}

// The folder moved away: told once, changes refused; back under its name: told, changes done.
TEST_F(FolderDesk, TheFolderGoneAndBack) {
  const std::string away = dir.path() + "-away";
  std::filesystem::rename(dir.path(), away);
  const ИтогСлежения нет = освежить_каталог();
  ASSERT_EQ(нет.сообщения.size(), 1u);
  EXPECT_EQ(нет.сообщения[0].rfind("Папка каталога недоступна: папки «"_cps, 0), 0u);
  EXPECT_EQ(применить(ВвестиКатегорию{"Драма"_cps}).исход, ИтогИзменения::Исход::недоступно);
  EXPECT_TRUE(освежить_каталог().сообщения.empty());
  std::filesystem::rename(away, dir.path());
  EXPECT_EQ(освежить_каталог().сообщения,
            std::vector<std::string>{"Папка каталога снова доступна: изменения снова сохраняются."_cps});
  EXPECT_TRUE(применить(ВвестиКатегорию{"Драма"_cps}).сделано());
  EXPECT_NE(test_support::read_bytes(файл(файл_категорий)).find("Драма"_cps), std::string::npos);
}

}  // namespace

// The file work of the catalogue's folders: a new catalogue's files (the sections loaded at
// opening, the kinds and categories carried over, the catalogue file empty), a folder that holds
// a catalogue refused, entering a folder with a catalogue, and the names of the backup copies.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "core/catalogue_work.h"
#include "core/record_codes.h"
#include "core/undo_history.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/host_path.h"
#include "test_support.h"

namespace {

std::string в_папке(const test_support::TempDir& dir, std::string_view cp) {
  return dir.file(RUN_HostPath(cp));
}

TEST(CatalogueWork, ANewCatalogueTakesTheKindsAndCategoriesAndNoRecords) {
  виды_лит.assertz("Книга"_cps);
  категории_лит.assertz("Поэзия"_cps);
  база_лит.assertz({1, "A", "T", "C", "K", 0, 0, ""});
  test_support::TempDir папка;
  const ИтогРаботы итог = записать_новый_каталог(папка.path());
  ASSERT_TRUE(итог.сделано()) << итог.отказ;
  EXPECT_EQ(итог.путь, папка.path());
  EXPECT_EQ(test_support::read_bytes(в_папке(папка, файл_видов)), RNT_SaveText(секция_видов));
  EXPECT_EQ(test_support::read_bytes(в_папке(папка, файл_категорий)), "категории_лит(\"Поэзия\")\r\n"_cps);
  EXPECT_EQ(test_support::read_bytes(в_папке(папка, файл_базы)), "");
  EXPECT_FALSE(std::filesystem::exists(в_папке(папка, файл_настроек)));  // never loaded: not made

  // Made once, the folder holds a catalogue: a second one is refused and nothing is written.
  test_support::write_bytes(в_папке(папка, файл_базы), "x");
  const ИтогРаботы снова = записать_новый_каталог(папка.path());
  EXPECT_FALSE(снова.сделано());
  EXPECT_NE(снова.отказ.find("уже есть файлы каталога"_cp), std::string::npos);
  EXPECT_EQ(test_support::read_bytes(в_папке(папка, файл_базы)), "x");
}

TEST(CatalogueWork, EnteringAFolderStartsTheCatalogueAfresh) {
  test_support::TempDir пустая, каталог;
  test_support::write_bytes(в_папке(каталог, файл_базы), "база_лит(5,\"A\",\"T\",\"C\",\"K\",0,0,\"\")\r\n"_cps);
  const auto было = std::filesystem::current_path();
  const test_support::InDirectory вернуться(было.string());  // back where it was at the end
  const auto отказ = войти_в_папку_каталога(пустая.path());
  ASSERT_TRUE(отказ);
  EXPECT_NE(отказ->find("нет каталога"_cp), std::string::npos);
  EXPECT_EQ(std::filesystem::current_path(), было);

  база_лит.assertz({1, "A", "T", "C", "K", 0, 0, ""});
  списоккодов.set({1});
  запомнить_изменение(ВводКатегории{"Поэзия"_cps});
  ASSERT_FALSE(войти_в_папку_каталога(каталог.path()));
  начать_каталог_заново();
  загрузить_основную_базу();
  EXPECT_EQ(база_лит.first()->код, 5);
  EXPECT_EQ(списоккодов.get(), std::vector<std::int32_t>{0});
  EXPECT_EQ(что_отменить(), std::string());
}

// A picture from another folder is copied into the catalogue's folder: under its own name, under a
// numbered one when a different file has that name, never twice; one already there is taken as it
// is; one that cannot be read is refused with nothing copied.
TEST(CatalogueWork, APictureIsTakenIntoTheCatalogueFolder) {
  test_support::TempDir каталог, снимки;
  const test_support::InDirectory в_каталоге(каталог.path());
  const std::string снимок = снимки.file("обложка.jpg"), другой = снимки.file("другой.png");
  test_support::write_bytes(снимок, "jpeg bytes");
  test_support::write_bytes(другой, "png bytes");
  const auto взять = [](const std::string& host) { return взять_картинку_в_папку(RUN_FromHostPath(host)); };

  ИтогРаботы итог = взять(снимок);
  ASSERT_TRUE(итог.сделано()) << итог.отказ;
  EXPECT_EQ(итог.путь, "обложка.jpg"_cps);
  EXPECT_EQ(test_support::read_bytes(каталог.file("обложка.jpg")), "jpeg bytes");
  // The same picture again: the copy there is used.
  EXPECT_EQ(взять(снимок).путь, "обложка.jpg"_cps);
  // A different picture of that name: numbered, the first free number, each picture once.
  test_support::write_bytes(снимок, "other jpeg");
  EXPECT_EQ(взять(снимок).путь, "обложка-2.jpg"_cps);
  EXPECT_EQ(test_support::read_bytes(каталог.file("обложка-2.jpg")), "other jpeg");
  EXPECT_EQ(взять(снимок).путь, "обложка-2.jpg"_cps);
  test_support::write_bytes(снимок, "third");
  EXPECT_EQ(взять(снимок).путь, "обложка-3.jpg"_cps);
  EXPECT_EQ(test_support::read_bytes(каталог.file("обложка.jpg")), "jpeg bytes");
  // A name without an extension is numbered at its end.
  test_support::write_bytes(снимки.file("cover"), "a");
  test_support::write_bytes(каталог.file("cover"), "b");
  EXPECT_EQ(взять(снимки.file("cover")).путь, "cover-2");
  // A picture in the catalogue's folder is taken as it is, by path or by bare name.
  EXPECT_EQ(взять(каталог.file("cover")).путь, "cover");
  EXPECT_EQ(взять_картинку_в_папку("cover").путь, "cover");
  // A file that cannot be read: refused, nothing copied.
  const ИтогРаботы нет = взять(снимки.file("нет.png"));
  EXPECT_FALSE(нет.сделано());
  EXPECT_NE(нет.отказ.find("нет.png"_cp), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(каталог.file("нет.png")));
}

TEST(CatalogueWork, TheNamesOfTheBackupCopies) {
  EXPECT_EQ(имя_папки_копии("2024-01-02", 1), "Фолиарх-копия-2024-01-02"_cps);
  EXPECT_EQ(имя_папки_копии("2024-01-02", 3), "Фолиарх-копия-2024-01-02-3"_cps);
}

}  // namespace

// Several desks on one catalogue folder, as real processes (desk_worker) changing it through the
// program's own change path at the same time: afterwards the files load and agree with the union
// of what each desk logged as done — every record and category put in is there unless a logged
// change took it out again, nothing is there that no change put in, no code twice. A desk killed
// while it holds the folder's lock blocks nobody.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/host_path.h"
#include "test_support.h"
#include "worker_process.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test_support::TempDir;

class Desk : public test_support::WorkerProcess {
 public:
  explicit Desk(const std::vector<std::string>& args) : WorkerProcess(FOLIARKH_DESK_WORKER, args) {}
};

// A catalogue folder with five records, two categories and two kinds (ASCII texts, which the
// logs write as they stand).
void make_catalogue(const TempDir& dir) {
  std::string records;
  for (int code = 1; code <= 5; ++code)
    records += "база_лит("_cps + std::to_string(code) + ",\"start\",\"s-"_cps + std::to_string(code) +
               "\",\"Prose\",\"Book\",0,1,\"\")\r\n"_cps;
  test_support::write_bytes(dir.file(RUN_HostPath(файл_базы)), records);
  test_support::write_bytes(dir.file(RUN_HostPath(файл_категорий)), "категории_лит(\"Prose\")\r\nкатегории_лит(\"Poetry\")\r\n"_cps);
  test_support::write_bytes(dir.file(RUN_HostPath(файл_видов)), "виды_лит(\"Book\")\r\nвиды_лит(\"Journal\")\r\n"_cps);
}

// What the logs say must be there: for each record's title, how often it was put in less how often
// taken out, and the codes it was put in with; for each category the same count.
struct Expected {
  std::map<std::string, int> records;
  std::map<std::string, std::set<int>> codes;
  std::map<std::string, int> categories;
};

Expected expected_from(const std::vector<std::string>& logs) {
  Expected e;
  for (int code = 1; code <= 5; ++code) {
    e.records["s-" + std::to_string(code)] = 1;
    e.codes["s-" + std::to_string(code)].insert(code);
  }
  e.categories["Prose"] = e.categories["Poetry"] = 1;
  for (const std::string& log : logs) {
    std::istringstream in(test_support::read_bytes(log));
    std::string sign;
    while (in >> sign) {
      const int step = sign[0] == '+' ? 1 : -1;
      if (sign[1] == 'r') {
        int code = 0;
        std::string title;
        in >> code >> title;
        e.records[title] += step;
        if (step > 0) e.codes[title].insert(code);
      } else {
        std::string name;
        in >> name;
        e.categories[name] += step;
      }
    }
  }
  return e;
}

// Loads the folder's files and checks them against the logs.
void expect_files_agree_with(const TempDir& dir, const std::vector<std::string>& logs) {
  const Expected e = expected_from(logs);
  test_support::InDirectory in(dir.path());
  for (const РазделКаталога& р : разделы_каталога())
    if (р.при_открытии) {
      ASSERT_NO_THROW(загрузить_раздел(р)) << р.файл;
    }

  std::map<std::string, int> records;
  std::set<int> codes;
  for (const ЗаписьБазы& з : база_лит.facts()) {
    EXPECT_TRUE(codes.insert(з.код).second) << "code " << з.код << " twice";
    ++records[з.наименование];
    const auto it = e.codes.find(з.наименование);
    EXPECT_TRUE(it != e.codes.end() && it->second.contains(з.код))
        << з.наименование << " with code " << з.код << ", which no change gave it";
  }
  int lost = 0, doubled = 0;
  for (const auto& [title, count] : e.records) {
    EXPECT_TRUE(count == 0 || count == 1) << title << " put in " << count << " times more than taken out";
    const int there = records.contains(title) ? records.at(title) : 0;
    if (there < count) ++lost;
    if (there > count) ++doubled;
    EXPECT_EQ(there, count) << title;
  }
  for (const auto& [title, count] : records) EXPECT_TRUE(e.records.contains(title)) << title << " put in by no change";
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(doubled, 0);

  std::map<std::string, int> categories;
  for (const std::string& к : категории_лит.facts()) ++categories[к];
  for (const auto& [name, count] : e.categories) {
    const int there = categories.contains(name) ? categories.at(name) : 0;
    EXPECT_EQ(there, count) << "category " << name;
  }
  for (const auto& [name, count] : categories) EXPECT_TRUE(e.categories.contains(name)) << "category " << name;
}

// "done <n> refused <n> unavailable <n>": how many changes were done and how many found the store
// not to be had.
std::pair<int, int> done_and_unavailable(const std::string& line) {
  std::istringstream in(line);
  std::string word;
  int done = -1, refused = -1, unavailable = -1;
  in >> word >> done >> word >> refused >> word >> unavailable;
  return {done, unavailable};
}

class DesksOnOneFolder : public ::testing::TestWithParam<int> {};

TEST_P(DesksOnOneFolder, FiveHundredChangesEachLoseNothing) {
  TempDir dir;
  make_catalogue(dir);
  const int desks = GetParam();
  std::vector<std::string> logs;
  std::vector<std::unique_ptr<Desk>> all;
  for (int id = 0; id < desks; ++id) {
    logs.push_back(dir.path() + "-log" + std::to_string(id));
    all.push_back(std::make_unique<Desk>(std::vector<std::string>{"changes", dir.path(), "d" + std::to_string(id), "500",
                                                                   std::to_string(1000 + id), logs.back()}));
  }
  for (auto& desk : all) {
    EXPECT_EQ(desk->wait(), 0);
    const auto [done, unavailable] = done_and_unavailable(desk->read_line());
    EXPECT_GT(done, 250);
    EXPECT_EQ(unavailable, 0);
  }
  expect_files_agree_with(dir, logs);
  for (const std::string& log : logs) std::remove(log.c_str());
}

INSTANTIATE_TEST_SUITE_P(Desks, DesksOnOneFolder, ::testing::Values(2, 4));

// A desk killed (SIGKILL) in the middle of an import, holding the folder's lock: the desk that
// waits for it goes on at once, and the import left nothing in the files.
TEST(DesksOnOneFolder, ADeskKilledHoldingTheLockBlocksNobody) {
  TempDir dir;
  make_catalogue(dir);
  Desk holder({"hold", dir.path()});
  ASSERT_EQ(holder.read_line(), "held");
  const std::string log = dir.path() + "-log";
  Desk desk({"changes", dir.path(), "k", "100", "77", log});
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(desk.running());
  EXPECT_EQ(test_support::read_bytes(log), std::string()) << "a change was saved while another desk held the lock";

  const auto killed = Clock::now();
  holder.kill_now();
  EXPECT_EQ(holder.wait(), 128 + SIGKILL);
  while (test_support::read_bytes(log).empty() && Clock::now() - killed < 5s) std::this_thread::sleep_for(5ms);
  EXPECT_LT(Clock::now() - killed, 1s) << "the waiting desk went on only after the lock's holder was long gone";
  EXPECT_EQ(desk.wait(), 0);
  const auto [done, unavailable] = done_and_unavailable(desk.read_line());
  EXPECT_GT(done, 50);
  EXPECT_EQ(unavailable, 0);
  expect_files_agree_with(dir, {log});  // none of the import's records
  std::remove(log.c_str());
}

}  // namespace

// The list of the catalogues opened last: where it lives, reading it, and remembering one more.
#include "app/recent_catalogues.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/user_settings.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"
#include "server/server_catalogue.h"

namespace fs = std::filesystem;

namespace {

// A folder's path as the list keeps it: absolute, lexically normal, no trailing "/".
std::string normal_folder(const std::string& folder) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(folder), ec);
  if (ec) p = fs::path(folder);
  std::string s = p.lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

}  // namespace

std::string файл_последних_каталогов() {
  const std::string dir = папка_настроек();
  return dir.empty() ? std::string() : dir + "/каталоги.txt";
}

std::vector<std::string> последние_каталоги() {
  std::vector<std::string> list;
  const std::string file = файл_последних_каталогов();
  if (file.empty()) return list;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (list.size() < кол_последних_каталогов && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || (line.front() != '/' && !адрес_сервера(line))) continue;
    bool seen = false;
    for (const std::string& f : list) seen |= (f == line);
    if (!seen) list.push_back(line);
  }
  return list;
}

void запомнить_каталог(const std::string& folder) {
  const std::string file = файл_последних_каталогов();
  if (file.empty() || folder.empty()) return;
  const std::string first = адрес_сервера(folder) ? folder : normal_folder(folder);
  std::vector<std::string> list{first};
  for (std::string& f : последние_каталоги())
    if (f != first && list.size() < кол_последних_каталогов) list.push_back(std::move(f));
  std::ostringstream text;
  for (const std::string& f : list) text << f << '\n';
  std::error_code ec;
  fs::create_directories(fs::path(file).parent_path(), ec);
  try {
    // The runtime takes cp1251 names; the list's own name is converted back from the host's form.
    RUN_ReplaceFile(RUN_FromHostPath(file), text.str());
  } catch (const RunError&) {
    // Not remembered: the catalogue itself is open and saved as ever.
  }
}

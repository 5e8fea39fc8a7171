// The program's settings folder and its settings files (see user_settings.h).
#include "app/user_settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/safe_write.h"

namespace fs = std::filesystem;

std::string папка_настроек() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/foliarkh";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/foliarkh";
  return {};
}

std::vector<std::string> прочитать_настройки(std::string_view name) {
  std::vector<std::string> lines;
  const std::string dir = папка_настроек();
  if (dir.empty()) return lines;
  std::ifstream in(dir + "/" + std::string(name), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

bool записать_настройки(std::string_view name, const std::vector<std::string>& lines) {
  const std::string dir = папка_настроек();
  if (dir.empty()) return false;
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  std::error_code ec;
  fs::create_directories(fs::path(dir), ec);
  try {
    // The runtime takes cp1251 names; the file's own name is converted back from the host's form.
    RUN_ReplaceFile(RUN_FromHostPath(dir + "/" + std::string(name)), text);
    return true;
  } catch (const RunError&) {
    return false;
  }
}

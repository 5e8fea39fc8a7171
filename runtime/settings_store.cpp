// Reading the settings store: an INI-like text of sections and name = value lines.
#include "settings_store.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "number_syntax.h"

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string lower_ascii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return r;
}

}  // namespace

SettingsStore SettingsStore::load(const std::string& host_path) {
  std::ifstream in(host_path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str());
}

SettingsStore SettingsStore::parse(std::string_view text) {
  SettingsStore store;
  std::map<std::string, std::string>* current = nullptr;
  while (!text.empty()) {
    const auto lf = text.find('\n');
    std::string_view line = trim(text.substr(0, lf));
    text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      current = close == std::string_view::npos
                    ? nullptr
                    : &store.sections_[std::string(trim(line.substr(1, close - 1)))];
      continue;
    }
    const auto eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    const std::string name = lower_ascii(trim(line.substr(0, eq)));
    if (!name.empty()) current->emplace(name, std::string(trim(line.substr(eq + 1))));
  }
  return store;
}

bool SettingsStore::has_section(std::string_view section) const {
  return sections_.find(section) != sections_.end();
}

std::optional<std::string> SettingsStore::value(std::string_view section, std::string_view name) const {
  const auto s = sections_.find(section);
  if (s == sections_.end()) return std::nullopt;
  const auto v = s->second.find(lower_ascii(name));
  if (v == s->second.end()) return std::nullopt;
  return v->second;
}

std::optional<std::uint32_t> SettingsStore::value_u32(std::string_view section,
                                                      std::string_view name) const {
  const auto text = value(section, name);
  if (!text) return std::nullopt;
  const IntegerText r = CONV_ReadInteger(*text);
  if (!r || r.negative || CONV_SkipBlanks(*text, r.pos) != text->size()) return std::nullopt;
  return r.magnitude;
}

std::string RUN_SettingsFilePath() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home ? home : "") + "/.config";
  }
  return base + "/kernog/applications.ini";
}

std::string RUN_SettingsSection(const SettingsStore& store, std::string_view program_name) {
  if (!program_name.empty() && store.has_section(program_name)) return std::string(program_name);
  return ".Default";
}

// The per-application settings store: one text file for the machine's user,
//   $XDG_CONFIG_HOME/kernog/applications.ini   (XDG_CONFIG_HOME defaults to ~/.config)
// holding a section per program, named by the program's file name, and the section ".Default"
// for every program without one:
//   [.Default]
//   Heap.SysBlockSize = 4194304
//   [foliarkh]
//   Heap.DecommitSize = 0x20000
// Lines starting with ";" or "#" are comments. Section names match exactly; value names match
// without regard to ASCII case. A missing file is an empty store.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

class SettingsStore {
 public:
  // Reads the store from a file; an empty store when the file cannot be read.
  static SettingsStore load(const std::string& host_path);
  // Reads the store from the text of a file.
  static SettingsStore parse(std::string_view text);

  bool has_section(std::string_view section) const;
  std::optional<std::string> value(std::string_view section, std::string_view name) const;
  // A value that is present and a valid 32-bit unsigned number (decimal, "0x" hexadecimal or
  // "0o" octal); nothing otherwise.
  std::optional<std::uint32_t> value_u32(std::string_view section, std::string_view name) const;

 private:
  std::map<std::string, std::map<std::string, std::string>, std::less<>> sections_;
};

// The host path of the store: $XDG_CONFIG_HOME/kernog/applications.ini, or
// $HOME/.config/kernog/applications.ini when XDG_CONFIG_HOME is unset or empty.
std::string RUN_SettingsFilePath();

// The section that applies to a program: its own when the store has it and the name is not
// empty, else ".Default".
std::string RUN_SettingsSection(const SettingsStore& store, std::string_view program_name);

// Locating "KERNOG.ERR", its lazy code index, and the message texts with their fallbacks.
#include "runtime/err_messages.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "fault_signals.h"
#include "runtime/err_texts.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/ui_language.h"
#include "stack_room.h"

#ifndef FOLIARKH_DATA_DIR
#define FOLIARKH_DATA_DIR "/usr/local/share/foliarkh"
#endif

namespace {

constexpr std::size_t kIndexBlock = 128;

struct IndexEntry {
  int code;
  long offset;
};

// The lazy index of one message file: every code seen so far with the offset of its line, and
// how far the file has been scanned.
struct MessageIndex {
  std::string path;
  bool located = false;
  std::vector<std::unique_ptr<std::array<IndexEntry, kIndexBlock>>> blocks;
  std::size_t count = 0;
  long scanned_to = 0;
  bool complete = false;

  void reset(std::string new_path) {
    path = std::move(new_path);
    located = true;
    blocks.clear();
    count = 0;
    scanned_to = 0;
    complete = false;
  }

  std::optional<long> find(int code) const {
    for (std::size_t i = 0; i < count; ++i) {
      const IndexEntry& e = (*blocks[i / kIndexBlock])[i % kIndexBlock];
      if (e.code == code) return e.offset;
    }
    return std::nullopt;
  }

  void add(int code, long offset) {
    if (find(code)) return;  // the first line of a code is its message
    if (count % kIndexBlock == 0) blocks.push_back(std::make_unique<std::array<IndexEntry, kIndexBlock>>());
    (*blocks[count / kIndexBlock])[count % kIndexBlock] = {code, offset};
    ++count;
  }
};

MessageIndex g_index;

bool is_regular_file(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string join(const std::string& dir, std::string_view name) {
  std::string p = dir;
  if (!p.empty() && p.back() != '/') p.push_back('/');
  p.append(name);
  return p;
}

std::string directory_of_executable() {
  std::array<char, PATH_MAX> buf{};
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  std::string exe(buf.data(), static_cast<std::size_t>(n));
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

// The directories the message file is looked for in, in their order: the error directory, the
// program's own, the data folder of an installation moved elsewhere (a package unpacked into
// another root: <program dir>/../share/foliarkh), then those of "PATH". Empty ones are left out.
std::vector<std::string> search_order(const ErrSearchDirs& dirs) {
  std::vector<std::string> order;
  for (const std::string* dir : {&dirs.error_dir, &dirs.program_dir})
    if (!dir->empty()) order.push_back(*dir);
  if (!dirs.program_dir.empty()) order.push_back(dirs.program_dir + "/../share/foliarkh");
  std::string_view list = dirs.path_list;
  while (!list.empty()) {
    const auto colon = list.find(':');
    if (colon != 0) order.emplace_back(list.substr(0, colon));
    list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
  }
  return order;
}

// The host path of the file `name` in `dir`, when it is a regular file there.
std::optional<std::string> file_in(const std::string& dir, std::string_view name) {
  std::string p = join(dir, name);
  if (p.size() < PATH_MAX && is_regular_file(p)) return p;
  return std::nullopt;
}

// The code at the start of a line: digits then a non-digit (or the end of the line).
std::optional<int> leading_code(const char* line, std::size_t n) {
  std::size_t i = 0;
  long v = 0;
  while (i < n && i < 9 && line[i] >= '0' && line[i] <= '9') v = v * 10 + (line[i++] - '0');
  if (i == 0 || (i < n && line[i] >= '0' && line[i] <= '9')) return std::nullopt;
  return static_cast<int>(v);
}

std::string strip_line_end(const char* line, std::size_t n) {
  while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) --n;
  return std::string(line, n);
}

// One open message file, closed on every way out.
struct MessageFile {
  std::FILE* f = nullptr;
  char* line = nullptr;
  std::size_t cap = 0;
  ~MessageFile() {
    std::free(line);
    if (f) std::fclose(f);
  }
};

ErrLookup lookup(int code, std::string& text) {
  MessageIndex& ix = g_index;
  const std::optional<long> known = ix.find(code);
  if (!known && ix.complete) return ErrLookup::not_in_file;

  MessageFile mf;
  mf.f = std::fopen(ix.path.c_str(), "re");
  if (!mf.f) return ErrLookup::cannot_open;

  if (known) {
    if (std::fseek(mf.f, *known, SEEK_SET) != 0) return ErrLookup::cannot_read;
    const ssize_t n = ::getline(&mf.line, &mf.cap, mf.f);
    if (n < 0) return ErrLookup::cannot_read;
    text = strip_line_end(mf.line, static_cast<std::size_t>(n));
    return ErrLookup::found;
  }

  if (std::fseek(mf.f, ix.scanned_to, SEEK_SET) != 0) return ErrLookup::cannot_read;
  long offset = ix.scanned_to;
  for (;;) {
    const ssize_t n = ::getline(&mf.line, &mf.cap, mf.f);
    if (n < 0) {
      if (std::ferror(mf.f)) return ErrLookup::cannot_read;
      ix.complete = true;
      ix.scanned_to = offset;
      return ErrLookup::not_in_file;
    }
    const long line_start = offset;
    offset += static_cast<long>(n);
    if (const auto c = leading_code(mf.line, static_cast<std::size_t>(n))) {
      ix.add(*c, line_start);
      if (*c == code) {
        ix.scanned_to = offset;
        text = strip_line_end(mf.line, static_cast<std::size_t>(n));
        return ErrLookup::found;
      }
    }
  }
}

bool memory_is_short() {
  if (RUN_StackBytesLeft() < ERR_MinStackBytes) return true;
  void* probe = std::malloc(ERR_MinMemoryBytes);
  if (!probe) return true;
  std::free(probe);
  return false;
}

// Built in a small frame: it is what is left when the stack runs short.
std::string memory_overflow_text(int code) {
  char digits[12];
  char* p = digits + sizeof digits;
  auto v = static_cast<unsigned>(code < 0 ? -static_cast<long long>(code) : code);
  do {
    *--p = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  if (code < 0) *--p = '-';
  std::string text(p, static_cast<std::size_t>(digits + sizeof digits - p));
  text += " (";
  text += ERR_MemoryOverflowWords();
  text += ")";
  return text;
}

std::string hex(unsigned v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

}  // namespace

std::string ERR_HostErrorText(int n) {
  static const locale_t c_loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const char* t = c_loc ? strerror_l(n, c_loc) : std::strerror(n);
  const std::string text = RUN_FromHostPath(t ? t : "");
  // A number the C library has no text for reads "Unknown error <n>": its words are translated.
  constexpr std::string_view kUnknown = "Unknown error";
  if (text.starts_with(kUnknown) && text.size() > kUnknown.size() && text[kUnknown.size()] == ' ')
    return ERR_Translate(kUnknown) + text.substr(kUnknown.size());
  return ERR_Translate(text);
}

ErrSearchDirs ERR_DefaultSearchDirs() {
  ErrSearchDirs d;
  const char* env = std::getenv("FOLIARKH_ERRDIR");
  d.error_dir = (env && *env) ? env : FOLIARKH_DATA_DIR;
  d.program_dir = directory_of_executable();
  if (const char* path = std::getenv("PATH")) d.path_list = path;
  d.russian = RUN_RussianLocale();
  return d;
}

std::optional<std::string> ERR_FindBesideMessageFile(const ErrSearchDirs& dirs, std::string_view name) {
  for (const std::string& dir : search_order(dirs))
    if (auto p = file_in(dir, name)) return p;
  return std::nullopt;
}

std::string ERR_FindMessageFile(const ErrSearchDirs& dirs) {
  // The first directory that holds a message file gives it: the Russian one there when the user
  // reads Russian, else the system's own.
  for (const std::string& dir : search_order(dirs)) {
    if (dirs.russian)
      if (auto p = file_in(dir, ERR_RussianMessageFileName)) return *p;
    if (auto p = file_in(dir, ERR_MessageFileName)) return *p;
  }
  if (dirs.russian && is_regular_file(std::string(ERR_RussianMessageFileName)))
    return std::string(ERR_RussianMessageFileName);
  return std::string(ERR_MessageFileName);
}

void ERR_UseMessageFile(std::string host_path) {
  g_index.reset(std::move(host_path));
  RUN_PrepareFaultReports();  // their texts come from the file now in use
}

void ERR_InitMessages() { ERR_UseMessageFile(ERR_FindMessageFile(ERR_DefaultSearchDirs())); }

const std::string& ERR_MessageFilePath() {
  if (!g_index.located) ERR_InitMessages();
  return g_index.path;
}

ErrLookup ERR_ReadErrorMsg(int code, std::string& text) {
  ERR_MessageFilePath();
  try {
    return lookup(code, text);
  } catch (...) {  // no memory for a line or an index block: the text cannot be had
    return ErrLookup::cannot_read;
  }
}

std::string ERR_GetSysErrorMsg(int code) { return ERR_GetSysErrorMsg(code, RUN_GetHostExceptionCode()); }

std::string ERR_GetSysErrorMsg(int code, unsigned host_code) {
  try {
    if (memory_is_short()) return memory_overflow_text(code);
    std::string text;
    const ErrLookup r = ERR_ReadErrorMsg(code, text);
    if (r == ErrLookup::found) return text;

    std::string m = std::to_string(code);
    if (code == errcode::kUnexpectedException) m += " " + ERR_Translate("Exception with code") + " " + hex(host_code);
    if (code >= errcode::kHostBase) {
      // A code above 7000 names its host error itself; 7000 stands for a host number of 1000 or
      // more, which only the last raise recorded.
      const int n = code > errcode::kHostBase ? errcode::host_number(code) : RUN_GetOsErrorNo();
      if (n != 0) m += " " + ERR_Translate("Native OS error") + " " + std::to_string(n) + " " + ERR_HostErrorText(n);
    }
    m += " (";
    m += RUN_FromHostPath(ERR_MessageFilePath());
    m += " ";
    m += ERR_Translate(r == ErrLookup::not_in_file   ? "No error messages"
                       : r == ErrLookup::cannot_open ? "can not be opened"
                                                     : "can not be read");
    m += ")";
    return m;
  } catch (...) {
    try {
      return memory_overflow_text(code);
    } catch (...) {
      return {};
    }
  }
}

// The message texts of run-time errors, from the error-message file "KERNOG.ERR": where the file
// is found, its lazy code index, and the fallback texts when it has no text for a code.
//
// The file is looked for, in this order, in the error directory (the directory named by the
// environment variable FOLIARKH_ERRDIR, else the installed data directory of the program), in
// the program's own directory (the directory of /proc/self/exe), along the directories of "PATH",
// and last under its bare name in the current directory. Under a Russian locale (ui_language.h)
// the Russian message file "KERNOG_RU.ERR", with the same codes, is taken where it lies beside
// "KERNOG.ERR" in the first directory that holds either. A line of the file that starts with a
// decimal code followed by a non-digit holds the message of that code; the message is the whole
// line (code included) without its line end. Other lines are ignored.
//
// The index is built as the file is scanned: every code met on the way to the one looked for is
// entered with its offset (128 entries per index block), so a later lookup of a code already
// seen seeks straight to its line, and the file is never scanned twice over the same part.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view ERR_MessageFileName = "KERNOG.ERR";
inline constexpr std::string_view ERR_RussianMessageFileName = "KERNOG_RU.ERR";

// The least stack and memory a lookup needs; with less, the text is "<code> (+ memory overflow)".
// Under AddressSanitizer every frame carries red zones, so the stack reserve grows accordingly.
#if defined(__SANITIZE_ADDRESS__)
#define FOLIARKH_FAT_FRAMES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FOLIARKH_FAT_FRAMES 1
#endif
#endif
#ifdef FOLIARKH_FAT_FRAMES
inline constexpr std::size_t ERR_MinStackBytes = 3000 * 8;
#else
inline constexpr std::size_t ERR_MinStackBytes = 3000;
#endif
inline constexpr std::size_t ERR_MinMemoryBytes = 5000;

// Where to look for the message file (host paths; empty entries are skipped).
struct ErrSearchDirs {
  std::string error_dir;
  std::string program_dir;
  std::string path_list;  // ":"-separated
  bool russian = false;   // the Russian message file first, in each directory
};

// The directories of the running process: FOLIARKH_ERRDIR or the installed data directory, the
// directory of the executable, and "PATH"; Russian first under a Russian locale.
ErrSearchDirs ERR_DefaultSearchDirs();
// The host path of the message file found first along the directories (the error directory, the
// program's, the data folder ../share/foliarkh beside the program's, then "PATH"): in each
// directory "KERNOG_RU.ERR" when `dirs.russian`, then "KERNOG.ERR". Without one, the bare name
// (the Russian one when `dirs.russian` and the current directory holds it).
std::string ERR_FindMessageFile(const ErrSearchDirs& dirs);
// The host path of the first file `name` along the same directories (another file of the
// program's that is installed beside the message file); nothing when none holds it.
std::optional<std::string> ERR_FindBesideMessageFile(const ErrSearchDirs& dirs, std::string_view name);

// Uses `host_path` as the message file from now on (the index starts afresh).
void ERR_UseMessageFile(std::string host_path);
// Searches for the message file with the process's directories and uses what it finds (start of
// the run).
void ERR_InitMessages();
// The message file in use (located with the process's directories on first use).
const std::string& ERR_MessageFilePath();

// The outcome of looking a code up in the message file.
enum class ErrLookup { found, not_in_file, cannot_open, cannot_read };

// Looks `code` up; on `found`, `text` holds its message.
ErrLookup ERR_ReadErrorMsg(int code, std::string& text);

// The host's own text (code page 1251) for its error number `n`: the C library's English text,
// through the runtime's translation (err_texts.h).
std::string ERR_HostErrorText(int n);

// The message text of `code`: the file's text, or the fallback
//   <code>[ Exception with code <hex>][ Native OS error <n> <host text>] (<file> <why>)
// where <why> is " No error messages", " can not be opened" or " can not be read". When less than
// 3000 bytes of stack or 5000 bytes of memory are left, no lookup is made and the text is
// "<code> (+ memory overflow)". The words of the fallbacks and the host's text pass through the
// runtime's translation (err_texts.h). Never raises.
std::string ERR_GetSysErrorMsg(int code);
// The same with the host exception code that the text of 1050 names given, not the last one
// recorded (the fault handlers' texts are composed before any fault).
std::string ERR_GetSysErrorMsg(int code, unsigned host_code);

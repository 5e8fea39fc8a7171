// The translation of the runtime's own words (see err_texts.h).
#include "runtime/err_texts.h"

#include "fault_signals.h"

namespace {
constexpr std::string_view kMemoryOverflow = "+ memory overflow";
ErrTranslateFn g_translate = nullptr;
std::string g_memory_overflow{kMemoryOverflow};
}  // namespace

void ERR_InstallTranslation(ErrTranslateFn fn) {
  if (fn == g_translate) return;
  g_translate = fn;
  g_memory_overflow = ERR_Translate(kMemoryOverflow);
  RUN_PrepareFaultReports();
}

ErrTranslateFn ERR_GetTranslation() { return g_translate; }

std::string ERR_Translate(std::string_view text) {
  if (g_translate) {
    try {
      return g_translate(text);
    } catch (...) {  // no memory for the translated form: the text as written
    }
  }
  return std::string(text);
}

const std::string& ERR_MemoryOverflowWords() { return g_memory_overflow; }

// The replaceable console routines and their default: the process's standard output.
#include "runtime/console_output.h"

#include <cstdio>

namespace {

void default_str(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }
void default_ch(char ch) { std::fputc(static_cast<unsigned char>(ch), stdout); }

ConsoleStrFn g_str = default_str;
ConsoleChFn g_ch = default_ch;

}  // namespace

void IO_SetConsoleFns(ConsoleStrFn str_fn, ConsoleChFn ch_fn) {
  g_str = str_fn ? str_fn : default_str;
  g_ch = ch_fn ? ch_fn : default_ch;
}

void IO_WrStrCon(std::string_view text) { g_str(text); }
void IO_WrChCon(char ch) { g_ch(ch); }

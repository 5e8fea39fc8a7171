// The console output routines of the screen device: every string or character written while the
// screen (or the standard output slot) is the current output device goes to IO_WrStrCon or
// IO_WrChCon. The message window package supplies its own routines; until it does (and after it
// resets them) they write the bytes unchanged to the process's standard output.
#pragma once

#include <string_view>

using ConsoleStrFn = void (*)(std::string_view text);
using ConsoleChFn = void (*)(char ch);

// Installs console routines; a null routine restores the default one.
void IO_SetConsoleFns(ConsoleStrFn str_fn, ConsoleChFn ch_fn);

void IO_WrStrCon(std::string_view text);
void IO_WrChCon(char ch);

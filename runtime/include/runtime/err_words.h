// The program's words for a failure the user meets in a message: one table, in Russian (code page
// 1251), of what a host error means and what the user can do about it. Every message of the
// program that names a failed file or folder takes its words from here; the error box keeps the
// system's own texts (err_messages.h).
#pragma once

#include <string>

// What host error number `n` means, in lower case to follow a colon ("на диске нет места"); a
// number the table does not know is "ошибка системы № n".
std::string ERR_HostErrorWords(int n);
// What the user can do about host error `n`, one sentence ("Освободите место на диске и
// повторите."); a general advice for a number the table does not know.
std::string ERR_HostErrorAdvice(int n);

// The same for a run-time error code: a host error (7000 + n) through the table above; the
// run-time's own file-name limit as its host counterpart; any other code, which is a fault of the
// program rather than of the disk, as "внутренняя ошибка программы (код N)".
std::string ERR_ErrorWords(int code);
std::string ERR_ErrorAdvice(int code);

// Whether run-time error `code` is a condition of the host's files, folders or disk (a host
// error, the run-time's file-name limit), which a message tells the user of, rather than a fault
// of the program, which the error box reports.
bool ERR_IsHostCondition(int code);

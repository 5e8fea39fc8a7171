// The command line of foliarkh: `foliarkh [ПАПКА]`, `--check [ПАПКА]`, `--export ФАЙЛ [ПАПКА]`,
// `--import ФАЙЛ [ПАПКА] [--dry-run]`, `--server АДРЕС` (a server catalogue in place of the
// folder, with the program's windows or the check, export and import), `--copy-to АДРЕС [ПАПКА]`,
// `--help`, `--version`. It is answered in the process
// entry, before the runtime or anything of the toolkit exists: help, version, the check, the
// export and the import need no display, and a wrong command line ends the process before a
// window shows.
#pragma once

#include <optional>

// Answers the command line of the process. `--help` (or `-h`) and `--version` print their text
// on standard output and give exit code 0; an unknown option, a second folder, or a folder that
// does not exist or is no folder give a message on standard error and exit code 2. Otherwise
// the start is noted in the session (the folder named, if any, made absolute; see
// first_start.h) and nothing is returned: the program runs. `--check`, `--export` and `--import`
// do their work on the folder (catalogue_batch.h) and return its exit code. "--" ends the options.
std::optional<int> принять_командную_строку(int argc, char** argv);

#!/usr/bin/env bash
# No Qt outside the windowing layer, as the build compiles it (CTest runs it as qt_paths): it reads
# the compilation database of a build (compile_commands.json) and fails, naming the file, when a
# source compiled for the runtime, the core, the packages, the program's resources or the
# program itself (the targets of runtime/, core/, packages/, resources/ and app/, the resource
# compiler's generated file included) gets a Qt include path or a Qt definition (-DQT_…). Only the
# layer (gui/, editor/) and what drives or measures it from outside (tests/, bench/) may have
# them: the tests and benchmarks run the real windows, which need Qt's own objects.
#
#   scripts/check_qt_paths.sh <build-dir>
set -euo pipefail
database=${1:?the build folder}/compile_commands.json
[ -f "$database" ] || { echo "no compilation database: $database" >&2; exit 1; }

awk '
# One entry of the database: its "command" and "file" lines, checked at its "}" when the object
# it makes (the command'"'"'s "-o", in the build folder of its target) belongs to a checked folder.
/^[[:space:]]*"command":/ {
  command = $0
  output = ""
  if (match(command, / -o [^ ]+/)) output = substr(command, RSTART + 4, RLENGTH - 4)
}
/^[[:space:]]*"file":/ { file = $0; sub(/^[^:]*: *"/, "", file); sub(/",?$/, "", file) }
/^[[:space:]]*}/ {
  if (output ~ /^(runtime|core|packages|resources|app)\//) check()
  command = file = output = ""
}
function check(   n, token, i, path) {
  n = split(command, token, /[[:space:]]+/)
  for (i = 1; i <= n; ++i) {
    path = ""
    if (token[i] == "-I" || token[i] == "-isystem" || token[i] == "-iquote") path = token[i + 1]
    else if (token[i] ~ /^-I/) path = substr(token[i], 3)
    if (path ~ /[Qq]t[0-9A-Z]/) { print file ": Qt include path " path; bad = 1 }
    if (token[i] ~ /^-DQT_/) { print file ": Qt definition " token[i]; bad = 1 }
  }
}
END {
  if (bad) exit 1
  print "no Qt outside the layer"
}
' "$database"

#!/usr/bin/env bash
# The include boundaries of the libraries, checked on the sources (CTest runs it as
# include_boundaries). It fails, naming file and line, when
#   - an include reaches a private header of another library: the private headers of a library
#     are those outside its include/ folder (runtime/, gui/ and editor/ for the layer, packages/);
#     only the library itself and its white-box tests (and bench/) may include them; the program's
#     tests see the layer only through its test interface (gui/testing/layer_test_access.h);
#   - an include names a public header ("runtime/x.h", "layer/x.h", ...) that is not one;
#   - an include goes against the libraries' order: the runtime, the layer (and its tests) and the
#     packages see nothing of the program above them (core/, resources/, app/), the core nothing of
#     the layer, the packages or the program's resources and windows, and the runtime nothing of
#     the layer;
#   - an include goes up with "../";
#   - a Qt header is included in runtime/, core/, packages/, resources/, app/ or a Qt-free part of
#     the layer (its public headers, portable/) or of the server storage (its public header);
#   - a public header includes anything but public headers.
#
#   scripts/check_includes.sh [source-dir]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

folders=(runtime gui editor core server packages resources app tests bench fuzz)
mapfile -t headers < <(find "${folders[@]}" -name '*.h' | sort)

# Every include line as "file<TAB>line<TAB>text"; the headers known follow a line "--".
{
  printf '%s\n' "${headers[@]}"
  echo --
  find "${folders[@]}" \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z |
    xargs -0 grep -n -H '^[[:space:]]*#[[:space:]]*include' |
    sed -E 's/^([^:]+):([0-9]+):/\1\t\2\t/' || true
} | awk -F'\t' '
# The library (or test folder) a path belongs to.
function owner(p) {
  if (p ~ /^gui\/portable\//) return "layer_portable"
  if (p ~ /^gui\/testing\//) return "layer_test_access"
  if (p ~ /^(gui|editor)\//) return "layer"
  if (p ~ /^(runtime|core|packages|resources|app)\//) { split(p, a, "/"); return a[1] }
  if (p ~ /^tests\//) { split(p, a, "/"); return "tests/" a[2] }
  split(p, a, "/"); return a[1]
}
function is_public(p) { return p ~ /^[^\/]+(\/portable)?\/include\// }
# Whether code in `user` may include a private header of `lib`.
function may_see(user, lib) {
  if (user == lib || user == "bench") return 1
  if (lib == "layer") return user ~ /^tests\/(gui|editor|packages)$/ || user == "layer_test_access"
  if (lib == "layer_test_access") return user ~ /^tests\//
  if (lib == "runtime") return user == "tests/runtime"
  if (lib == "packages") return user ~ /^tests\/(packages|app)$/
  if (lib ~ /^tests\// || lib == "fuzz") return user ~ /^tests\// || user == "fuzz"
  return 0
}
# Whether code in `user` may include the public headers of `lib` (users not listed: any).
function may_use(user, lib) { return !(user in uses) || index(" " uses[user] " ", " " lib " ") > 0 }
function fail(msg) { print $1 ":" $2 ": " msg; bad = 1 }
BEGIN { roots = "runtime gui gui/testing editor core server packages resources app tests/gui tests/runtime tests/core tests/app tests/editor tests/packages tests/server fuzz bench"
        nroots = split(roots, root, " ")
        public_prefix["runtime"] = "runtime/include"; public_prefix["layer"] = "gui/include"
        public_prefix["layer_portable"] = "gui/portable/include"; public_prefix["packages"] = "packages/include"
        public_prefix["resources"] = "resources/include"; public_prefix["app"] = "app/include"
        public_prefix["core"] = "core/include"; public_prefix["server"] = "server/include"
        uses["runtime"] = "runtime"; uses["tests/runtime"] = "runtime"; uses["tests/core"] = "core runtime"; uses["layer_portable"] = "layer_portable"
        uses["layer"] = "layer layer_portable runtime"
        uses["tests/gui"] = uses["layer"]; uses["tests/editor"] = uses["layer"]
        uses["packages"] = "packages layer runtime"; uses["resources"] = "resources layer runtime"
        uses["core"] = "core runtime"; uses["server"] = "server core runtime" }
!listed { if ($0 == "--") listed = 1; else known[$0] = 1; next }
{
  file = $1; text = $3; user = owner(file)
  if (text ~ /#[[:space:]]*include[[:space:]]*<Qt?[A-Za-z]/) {
    if (file ~ /^(runtime|core|packages|resources|app)\// || file ~ /^(gui|server)\/(include|portable)\//)
      fail("Qt header in a library without Qt: " text)
    next
  }
  if (!match(text, /"[^"]+"/)) next
  inc = substr(text, RSTART + 1, RLENGTH - 2)
  if (inc ~ /\.moc$/) next
  if (inc ~ /(^|\/)\.\.\//) { fail("relative include \"" inc "\""); next }
  split(inc, part, "/")
  if (part[2] != "" && part[1] in public_prefix) {
    if (!((public_prefix[part[1]] "/" inc) in known))
      fail("\"" inc "\" is not a public header of " part[1])
    else if (!may_use(user, part[1]))
      fail("\"" inc "\": " user " does not depend on " part[1])
    next
  }
  if (is_public(file)) { fail("public header includes the private header \"" inc "\""); next }
  dir = file; sub(/\/[^\/]+$/, "", dir)
  found = ""
  if ((dir "/" inc) in known) found = dir "/" inc
  for (i = 1; found == "" && i <= nroots; ++i)
    if ((root[i] "/" inc) in known) found = root[i] "/" inc
  if (found == "") { fail("\"" inc "\" is no header of the tree"); next }
  lib = owner(found)
  if (!may_see(user, lib)) fail("\"" inc "\" is a private header of " lib)
}
END { exit bad }
' && echo "include boundaries hold"

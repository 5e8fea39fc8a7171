#!/usr/bin/env bash
# The modules of the catalogue program (app/) and of its core (core/) depend one way: windows on
# commands, commands on the core, never back round a circle (CTest runs it as module_cycles). A
# module is a header and its source of one name (app/include/app/x.h with app/x.cpp, and
# core/include/core/x.h with core/x.cpp); a module depends on another when its header or its
# source includes the other's header. It fails, naming the modules of each circle in order, when
# some depend on each other round one.
#
#   scripts/check_module_cycles.sh [source-dir]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

find app core \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z |
  xargs -0 grep -H '^[[:space:]]*#[[:space:]]*include[[:space:]]*"\(app\|core\)/' |
  awk '
# The module a file belongs to: its library and its name without the extension.
function module_of(path,   part, n, name) {
  n = split(path, part, "/")
  name = part[n]; sub(/\.(h|cpp)$/, "", name)
  return part[1] "/" name
}
{
  colon = index($0, ":")
  from = module_of(substr($0, 1, colon - 1))
  match($0, /"[^"]+"/)
  to = module_of(substr($0, RSTART + 1, RLENGTH - 2))
  if (from == to || (from SUBSEP to) in edge) next
  edge[from, to] = 1
  next_of[from] = next_of[from] " " to
  module[from] = 1; module[to] = 1
}
# Depth first from v; a module met again while it is on the path closes a circle.
function visit(v,   list, n, i, w, k, circle) {
  state[v] = "open"; path[++depth] = v
  n = split(next_of[v], list, " ")
  for (i = 1; i <= n; ++i) {
    w = list[i]
    if (state[w] == "open") {
      circle = ""
      for (k = depth; k >= 1 && path[k] != w; --k) circle = " -> " path[k] circle
      print "module cycle: " w circle " -> " w
      bad = 1
    } else if (state[w] == "") {
      visit(w)
    }
  }
  --depth; state[v] = "done"
}
END {
  for (m in module) if (state[m] == "") visit(m)
  if (bad) exit 1
  print "modules depend one way"
}
'

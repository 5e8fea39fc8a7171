#!/usr/bin/env bash
# The shell scripts of the tree keep pipefail honest (CTest runs it as shell_pipes). Under
# `set -o pipefail` a pipe fails when any of its commands does; a reader that stops before its
# input ends (grep -q, -l, -L or -m, head) can kill the writer with SIGPIPE while it still writes,
# so the pipe fails now and then under load although the check it makes passed. It fails, naming
# file and line, on such a pipe in a script that sets pipefail; take the writer's output whole
# first (out=$(writer); grep -q … <<<"$out", or [[ $out == *…* ]]).
#
#   scripts/check_shell_pipes.sh [source-dir]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# A pipe into a reader that may stop early: "|" (not "||"), then environment settings, then
# grep with -q/-l/-L/-m (alone or among other letters) or their long forms, or head.
early_reader='(^|[^|])\|[[:space:]]*(env[[:space:]][^|]*[[:space:]])?([A-Za-z_]+=[^[:space:]]*[[:space:]]+)*(grep([[:space:]]+[^|[:space:]]+)*[[:space:]]+(-[a-zA-Z]*[qlLm][a-zA-Z]*|--quiet|--silent|--max-count[^[:space:]]*|--files-with(out)?-match(es)?)([[:space:]]|$)|head([[:space:]]|$))'

bad=0
while IFS= read -r -d '' script; do
  grep -q 'pipefail' "$script" || continue
  # Comments are not code; a line's text after an unquoted "#" at a word start is dropped.
  if found=$(sed -E 's/(^|[[:space:]])#.*$//' "$script" | grep -nE "$early_reader"); then
    while IFS= read -r line; do
      echo "$script:${line%%:*}: a pipe into a reader that stops early under pipefail: ${line#*:}"
    done <<<"$found"
    bad=1
  fi
done < <(find scripts tests .ci -type f \( -name '*.sh' -o -name run \) -print0 | sort -z)
(( bad == 0 )) && echo "no pipe into an early reader under pipefail"

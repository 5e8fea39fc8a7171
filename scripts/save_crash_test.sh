#!/usr/bin/env bash
# The save crash test: kills a process that saves a 20,000-record catalogue in a loop, at random
# moments, and after each kill checks that the file loads, that no original record is missing,
# and how many temporaries of the file are left. Fails when a record is lost, the file does not
# load, or more than one temporary (that of the process just killed) is ever left.
#
#   scripts/save_crash_test.sh [kills] [worker]     (1000 kills; worker from build/ by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
kills=${1:-1000}
worker=${2:-$root/build/tests/runtime/save_crash_worker}
records=20000
[[ -x $worker ]] || { echo "no worker at $worker: build the target save_crash_worker first" >&2; exit 2; }

dir=$(mktemp -d "${TMPDIR:-/tmp}/save-crash-XXXXXX")
trap 'rm -rf "$dir"' EXIT
"$worker" prepare "$dir" "$records"

lost=0 unreadable=0 most=0 seen=0
for ((i = 1; i <= kills; i++)); do
  "$worker" save "$dir" "$records" & pid=$!
  sleep "$(printf '0.%03d' $((RANDOM % 400)))"  # the worker's start and a number of saves
  kill -9 "$pid"; wait "$pid" 2>/dev/null || true
  read -r l u t < <("$worker" check "$dir" "$records")
  lost=$((lost + l)) unreadable=$((unreadable + u))
  if (( t > 0 )); then seen=$((seen + 1)); fi
  if (( t > most )); then most=$t; fi
done
echo "$kills kills of saves of $records records; $seen kills left a temporary"
echo "$lost records lost, $unreadable unreadable files, $most leftover"
(( lost == 0 && unreadable == 0 && most <= 1 ))

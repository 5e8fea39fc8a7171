#!/usr/bin/env bash
# The structure checks catch what they are there to catch: each is run on a copy of the real
# tree, or of the build's compilation database, first as it is (it must pass) and then with a
# fault planted (it must fail and name the place). CTest runs each kind as a test of its own.
#
#   tests/structure/planted_faults.sh cycle <source-dir>
#   tests/structure/planted_faults.sh qt-paths <source-dir> <build-dir>
set -euo pipefail
kind=$1
source_dir=$2
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT

# The report must name every one of the given texts.
expect_in() {
  local report=$1; shift
  for text in "$@"; do
    grep -qF -- "$text" <<<"$report" || { echo "the report does not name $text:"; echo "$report"; exit 1; }
  done
}

case $kind in
  cycle)
    cp -r "$source_dir/app" "$source_dir/core" "$copy/"
    "$source_dir/scripts/check_module_cycles.sh" "$copy" >/dev/null
    # The list windows' selection reaching back up to the task window, which reaches down to it.
    echo '#include "app/task_window.h"' >>"$copy/app/list_selection.cpp"
    if report=$("$source_dir/scripts/check_module_cycles.sh" "$copy" 2>&1); then
      echo "a planted cycle passed: $report"; exit 1
    fi
    expect_in "$report" "app/list_selection" "app/task_window"
    # One in the core: the list line reaching the find filter, which reaches the list line.
    rm -rf "$copy/app" && cp -r "$source_dir/app" "$copy/"
    echo '#include "core/list_search.h"' >>"$copy/core/list_line.cpp"
    if report=$("$source_dir/scripts/check_module_cycles.sh" "$copy" 2>&1); then
      echo "a planted cycle passed: $report"; exit 1
    fi
    expect_in "$report" "core/list_line" "core/list_search"
    ;;
  qt-paths)
    build_dir=$3
    cp "$build_dir/compile_commands.json" "$copy/"
    "$source_dir/scripts/check_qt_paths.sh" "$copy" >/dev/null
    # A Qt include path for a source of the program, a Qt definition for one of the core.
    sed -i -E '/ -o app\/CMakeFiles\/foliarkh_app\.dir\/session\.cpp\.o / s| -c | -isystem /usr/include/x86_64-linux-gnu/qt6/QtCore -c |' \
      "$copy/compile_commands.json"
    sed -i -E '/ -o core\/CMakeFiles\/foliarkh_core\.dir\/change_path\.cpp\.o / s| -c | -DQT_CORE_LIB -c |' \
      "$copy/compile_commands.json"
    if report=$("$source_dir/scripts/check_qt_paths.sh" "$copy" 2>&1); then
      echo "a planted Qt path passed: $report"; exit 1
    fi
    expect_in "$report" "app/session.cpp: Qt include path" "core/change_path.cpp: Qt definition -DQT_CORE_LIB"
    ;;
  *)
    echo "unknown kind: $kind" >&2; exit 2 ;;
esac
echo "the planted fault was caught"

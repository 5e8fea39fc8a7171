#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$root/build-asan
"$root/scripts/build.sh" "$dir" -DFOLIARKH_SANITIZE=ON -DFOLIARKH_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$dir"
ctest --output-on-failure --parallel "$(nproc)" --timeout 900

#!/usr/bin/env bash
# The run-time error codes of the program raised by name (CTest runs it as error_code_names). It
# fails, naming file and line, when a raising operation of the program's own code is handed a
# bare number: RUN_Error(1031) instead of RUN_Error(errcode::kIntOverflow), RUN_OsError(7000 + n)
# instead of RUN_OsError(errcode::host(n)). The names are in runtime/include/runtime/error_codes.h,
# and a runtime test keeps them in step with the texts of resources/KERNOG.ERR.
#
#   scripts/check_error_codes.sh [source-dir]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

if grep -rnE --include='*.cpp' --include='*.h' 'RUN_(Os)?Error[[:space:]]*\([[:space:]]*[0-9]' \
  runtime gui editor packages app; then
  echo "error codes raised by number above: name them in runtime/include/runtime/error_codes.h" >&2
  exit 1
fi

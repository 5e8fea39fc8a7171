#!/usr/bin/env bash
# Installs what is missing, builds, and starts Фолиарх on the user's own catalogue, as the
# applications menu does: the last catalogue opened, else $XDG_DATA_HOME/foliarkh
# (~/.local/share/foliarkh), made on the first start from the choice the program offers. With
# FOLIARKH_WORKDIR set, the program works on the catalogue of that folder instead. Without a
# display the program runs under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" "$root/build"
args=("$@")
if [ -n "${FOLIARKH_WORKDIR:-}" ]; then
  mkdir -p "$FOLIARKH_WORKDIR"
  args=("$FOLIARKH_WORKDIR" "$@")
fi
# Started from the source tree, which holds no catalogue: the program chooses the user's own.
cd "$root"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting under Xvfb."
  exec xvfb-run -a "$root/build/app/foliarkh" "${args[@]}"
fi
exec "$root/build/app/foliarkh" "${args[@]}"

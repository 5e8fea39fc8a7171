#!/usr/bin/env bash
# Installs what is missing, builds, and starts Фолиарх in its working directory. The working
# directory is made once from the sample data in data/ and then kept, so the catalogue survives
# between runs. Without a display the program runs under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" "$root/build"
work=${FOLIARKH_WORKDIR:-${XDG_DATA_HOME:-$HOME/.local/share}/foliarkh}
if [ ! -d "$work" ]; then
  mkdir -p "$work"
  cp -r "$root/data/." "$work/"
  echo "Working directory made from the sample data: $work"
fi
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting under Xvfb."
  exec xvfb-run -a "$root/build/app/foliarkh" "$@"
fi
exec "$root/build/app/foliarkh" "$@"

#!/usr/bin/env bash
# Builds the Debian package of Фолиарх with CPack: builds the program (build/ by default), then
# writes foliarkh_<version>_<arch>.deb into the build directory and names it.
# Usage: scripts/package.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
"$root/scripts/build.sh" "$dir"
cd "$dir"
cpack -G DEB --config CPackConfig.cmake
ls -1 "$dir"/foliarkh_*.deb

#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Фолиарх need, when missing.
# Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgtest-dev libbenchmark-dev
          fonts-dejavu-core xvfb xauth poppler-utils
          qt6-translations-l10n qt6-l10n-tools qt6-image-formats-plugins desktop-file-utils appstream dpkg-dev file lintian
          postgresql libqt6sql6-psql locales)

missing=()
for p in "${packages[@]}"; do
  [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null) == "install ok installed" ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q
"${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"

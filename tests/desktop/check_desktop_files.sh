#!/usr/bin/env bash
# The desktop files of the program pass the freedesktop validators, name the program as the menu
# shows it, and the icon's PNGs have the sizes of their folders.
# Usage: check_desktop_files.sh <source dir>
set -euo pipefail
desk=$1/resources/desktop
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$desk/foliarkh.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$desk/org.foliarkh.foliarkh.metainfo.xml" || fail "appstreamcli validate"

entry() { sed -n "s/^$1=//p" "$desk/foliarkh.desktop"; }
[ "$(entry Name)" = "Фолиарх" ] || fail "Name is '$(entry Name)'"
[ "$(entry GenericName)" = "Каталог литературы" ] || fail "GenericName is '$(entry GenericName)'"
[ "$(entry Icon)" = "foliarkh" ] || fail "Icon is '$(entry Icon)'"
for category in Office Database; do
  case ";$(entry Categories)" in *";$category;"*) ;; *) fail "Categories are '$(entry Categories)'" ;; esac
done
for key in Comment Keywords; do
  LC_ALL=C grep -q $'[\xd0\xd1]' <<<"$(entry "$key")" || fail "$key is not Russian"  # Cyrillic in UTF-8
done
grep -q '<screenshot type="default">' "$desk/org.foliarkh.foliarkh.metainfo.xml" || fail "no screenshot entry"

for size in 16 22 24 32 48 64 128 256; do
  png=$desk/icons/${size}x${size}/foliarkh.png
  [[ $(file "$png") == *"PNG image data, $size x $size, 8-bit/color RGBA"* ]] || fail "$png: $(file -b "$png")"
done
grep -q '<svg ' "$desk/icons/scalable/foliarkh.svg" || fail "no SVG icon"
echo "desktop files valid"

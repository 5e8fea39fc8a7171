#!/usr/bin/env bash
# Builds the Debian package from a build directory with CPack (into a temporary folder), checks
# its file list and its dependencies, runs lintian on it where lintian is installed (any error or
# warning fails), unpacks it into a temporary root and runs the unpacked program with --version
# and --help, with no display.
# Usage: check_package.sh <build dir> <version>
set -euo pipefail
# The sample catalogue's file names are Cyrillic: the packaging tools run under C.UTF-8, which
# every Debian system has, whatever locale the caller has (one never generated, say).
export LC_ALL=C.UTF-8
build=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
if ! command -v dpkg-deb >/dev/null; then
  echo "SKIP: dpkg-deb is not installed (not a Debian system)"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/foliarkh_"$version"_*.deb)

dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./||' | sort >"$work/files"
cat >"$work/expected" <<LIST
usr/bin/foliarkh
usr/share/applications/foliarkh.desktop
usr/share/doc/foliarkh/changelog.gz
usr/share/doc/foliarkh/copyright
usr/share/foliarkh/KERNOG.ERR
usr/share/foliarkh/KERNOG_RU.ERR
usr/share/foliarkh/foliarkh_ru.qm
usr/share/foliarkh/data/geroy.bmp
usr/share/foliarkh/data/mertvye_dushi.bmp
usr/share/foliarkh/data/onegin.bmp
usr/share/foliarkh/data/vishnevyi_sad.bmp
usr/share/foliarkh/data/voyna_i_mir.bmp
usr/share/foliarkh/data/ВидЛитер.pbs
usr/share/foliarkh/data/КатегЛитер.pbs
usr/share/foliarkh/data/Литература1.pbs
usr/share/icons/hicolor/128x128/apps/foliarkh.png
usr/share/icons/hicolor/16x16/apps/foliarkh.png
usr/share/icons/hicolor/22x22/apps/foliarkh.png
usr/share/icons/hicolor/24x24/apps/foliarkh.png
usr/share/icons/hicolor/256x256/apps/foliarkh.png
usr/share/icons/hicolor/32x32/apps/foliarkh.png
usr/share/icons/hicolor/48x48/apps/foliarkh.png
usr/share/icons/hicolor/64x64/apps/foliarkh.png
usr/share/icons/hicolor/scalable/apps/foliarkh.svg
usr/share/lintian/overrides/foliarkh
usr/share/man/man1/foliarkh.1.gz
usr/share/metainfo/org.foliarkh.foliarkh.metainfo.xml
LIST
sort -o "$work/expected" "$work/expected"
diff -u "$work/expected" "$work/files" || fail "file list"

depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ ", $depends," == *", $lib "* || ", $depends," == *", $lib,"* ]] || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version"
# Outputs are taken whole before they are searched: a reader that stops at its first match
# (grep -q) would kill a writer still writing, and pipefail would call that a failure.
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
[[ $(dpkg-deb -f "$deb" Description) == *'каталог литературы'* ]] || fail "Description"

# Debian's rules: no error and no warning of lintian (the overrides the package carries name
# their reasons).
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian"; }
  lintian_said="; lintian: $(grep -c '^[EW]:' "$work/lintian.log" || true) errors or warnings"
else
  echo "lintian is not installed: the package is not checked against Debian's rules"
  lintian_said="; lintian not run"
fi

dpkg-deb -x "$deb" "$work/root"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/foliarkh" --version)
[ "$out" = "Фолиарх $version" ] || fail "--version said '$out'"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/foliarkh" --help)
grep -q '^Использование: foliarkh \[ПАПКА\]' <<<"$help" || fail "--help"
echo "package $(basename "$deb"): $(wc -l <"$work/files") files; Depends: $depends${lintian_said}"

#!/usr/bin/env bash
# Builds the Debian package, checks it holds what a desktop needs where it looks for it, that
# this release can install it, and that the program in it starts.
# Usage: package-test.sh BUILD-DIR
set -euo pipefail
build=$(realpath "$1")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
require="$(dirname "$0")/require-tool.sh"
"$require" dpkg-dev dpkg-shlibdeps && "$require" file file &&
    "$require" desktop-file-utils desktop-file-validate && "$require" appstream appstreamcli ||
    exit 1

(cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null) ||
    fail "cpack failed"
deb=$(ls "$out"/zev_*.deb) || fail "no .deb was made"
echo "package: $(basename "$deb")"
dpkg-deb -x "$deb" "$out/root"

for file in usr/bin/zev usr/share/applications/zev.desktop \
            usr/share/metainfo/io.github.zev.zev.metainfo.xml \
            usr/share/icons/hicolor/16x16/apps/zev.png usr/share/icons/hicolor/32x32/apps/zev.png \
            usr/share/icons/hicolor/48x48/apps/zev.png usr/share/doc/zev/copyright; do
    [ -f "$out/root/$file" ] || fail "the package lacks /$file"
done
[ -x "$out/root/usr/bin/zev" ] || fail "/usr/bin/zev is not executable"
for size in 16 32 48; do
    file "$out/root/usr/share/icons/hicolor/${size}x${size}/apps/zev.png" |
        grep -q "PNG image data, $size x $size" || fail "the ${size}px icon is not ${size}x${size}"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6gui6 libqt6core6 libc6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library"
done
grep -q "^License: Apache-2.0" "$out/root/usr/share/doc/zev/copyright" ||
    fail "the copyright file lacks the carried face's licence"

# What apt would do with it here, without doing it: every dependency must resolve.
apt-get install --simulate -q "$deb" >"$out/apt.log" 2>&1 || { cat "$out/apt.log"; fail "apt cannot install it"; }
grep -q "^Inst zev " "$out/apt.log" || fail "apt would not install zev: $(cat "$out/apt.log")"
# The packaged program itself, alive two seconds after it started.
QT_QPA_PLATFORM=offscreen "$out/root/usr/bin/zev" &
zev=$!
sleep 2
kill -0 "$zev" 2>/dev/null || fail "the packaged zev did not keep running"
kill "$zev"

desktop-file-validate "$out/root/usr/share/applications/zev.desktop" ||
    fail "desktop-file-validate"
grep -qx 'Exec=zev' "$out/root/usr/share/applications/zev.desktop" || fail "Exec is not zev"
appstreamcli validate --no-net "$out/root/usr/share/metainfo/io.github.zev.zev.metainfo.xml" ||
    fail "appstreamcli validate"
echo "PASS: package"

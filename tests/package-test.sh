#!/usr/bin/env bash
# Builds the Debian package and checks it holds what a desktop needs, where it looks for it.
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
            usr/share/icons/hicolor/48x48/apps/zev.png; do
    [ -f "$out/root/$file" ] || fail "the package lacks /$file"
done
[ -x "$out/root/usr/bin/zev" ] || fail "/usr/bin/zev is not executable"
for size in 16 32 48; do
    file "$out/root/usr/share/icons/hicolor/${size}x${size}/apps/zev.png" |
        grep -q "PNG image data, $size x $size" || fail "the ${size}px icon is not ${size}x${size}"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6gui6 libqt6core6 libc6 fonts-liberation; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library"
done

desktop-file-validate "$out/root/usr/share/applications/zev.desktop" ||
    fail "desktop-file-validate"
grep -qx 'Exec=zev' "$out/root/usr/share/applications/zev.desktop" || fail "Exec is not zev"
appstreamcli validate --no-net "$out/root/usr/share/metainfo/io.github.zev.zev.metainfo.xml" ||
    fail "appstreamcli validate"
echo "PASS: package"

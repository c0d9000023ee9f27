#!/usr/bin/env bash
# Installs the build into a scratch folder, as the package does, and checks what a desktop and
# a Debian user look for there: the menu entry, the icons, the metainfo, the manual page, the
# program starting with the sheet's face, and the changelog naming the project's version.
# Building, lintian, installing and purging the real package are tools/package-check.sh's, in
# a fresh Debian root.
# Usage: package-test.sh BUILD-DIR PROJECT-VERSION
set -euo pipefail
build=$(realpath "$1") version=$2
source=$(cd "$(dirname "$0")/.." && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
require="$(dirname "$0")/require-tool.sh"
"$require" dpkg-dev dpkg-parsechangelog && "$require" file file &&
    "$require" desktop-file-utils desktop-file-validate && "$require" appstream appstreamcli &&
    "$require" man-db man || exit 1

DESTDIR=$out/root cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install"
root=$out/root/usr
for file in bin/zev share/applications/zev.desktop share/metainfo/io.github.zev.zev.metainfo.xml \
            share/man/man1/zev.1; do
    [ -f "$root/$file" ] || fail "the install lacks /usr/$file"
done
for size in 16 32 48; do
    file "$root/share/icons/hicolor/${size}x${size}/apps/zev.png" |
        grep -q "PNG image data, $size x $size" || fail "the ${size}px icon is not ${size}x${size}"
done

desktop-file-validate "$root/share/applications/zev.desktop" || fail "desktop-file-validate"
grep -qx 'Exec=zev %f' "$root/share/applications/zev.desktop" || fail "Exec is not zev %f"
! grep -q '^MimeType=' "$root/share/applications/zev.desktop" || fail "a MIME type is claimed"
# The project has no homepage, so a validator that asks for one is answered by that finding
# alone; every other error or warning fails.
appstreamcli validate --no-net "$root/share/metainfo/io.github.zev.zev.metainfo.xml" \
    >"$out/appstream.log" 2>&1 || true
grep -E '^[EW]: ' "$out/appstream.log" | grep -v 'url-homepage-missing' &&
    { cat "$out/appstream.log"; fail "appstreamcli validate"; }
# Rendered the way lintian checks a manual page: any groff or man warning fails.
LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$root/share/man/man1/zev.1" 2>"$out/man.log" >/dev/null || fail "man cannot render zev.1"
[ ! -s "$out/man.log" ] || { cat "$out/man.log"; fail "zev.1 renders with warnings"; }

changelog=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
[ "$changelog" = "$version" ] || fail "debian/changelog is at $changelog, the project at $version"

# The command line as a Debian user tries it: help and version on standard output with no
# display, a wrong one on standard error with the usage and status 2.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
help=$("${nodisplay[@]}" "$root/bin/zev" --help 2>/dev/null) && [[ $help == Usage:* ]] ||
    fail "zev --help: $help"
[ "$("${nodisplay[@]}" "$root/bin/zev" --version 2>/dev/null)" = "zev $version" ] ||
    fail "zev --version"
for wrong in --nope "a.txt b.txt" "--pdf x.txt a.txt" "--paper a4"; do
    # shellcheck disable=SC2086
    status=$("${nodisplay[@]}" timeout 10 "$root/bin/zev" $wrong 2>&1 >/dev/null | grep -c '^Usage: ';
             echo "${PIPESTATUS[0]}")
    [ "$status" = $'1\n2' ] || fail "zev $wrong: usage on standard error and status 2, not $status"
done

# The installed program, alive two seconds after it started, without a word about its face; with
# no display but a platform named as Qt's option, which it must take.
# Qt takes its options after one dash or two.
"${nodisplay[@]}" "$root/bin/zev" -platform offscreen 2>"$out/zev.err" & one=$!
"${nodisplay[@]}" "$root/bin/zev" --platform offscreen 2>>"$out/zev.err" & two=$!
sleep 2
{ kill "$one" && kill "$two"; } || fail "the installed zev did not keep running with -platform and --platform"
! grep "Roboto Condensed" "$out/zev.err" || fail "the installed zev did not find its face"
echo "PASS: package"

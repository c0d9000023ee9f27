#!/usr/bin/env bash
# Makes docs/screenshot.png: the real zev under Xvfb with an edited sheet.
# Usage: tools/screenshot.sh [BUILD-DIR]   (after ./test.sh or a build of the tests)
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$top/build}")
ZEV=$build/app/zev
source "$top/tests/e2e/xsession.sh"

start_xvfb
start_zev
for click in "1 50 5" "1 50 5" "1 150 15" "1 250 5" "1 250 5" "1 250 5" "1 20 55" "1 20 55" \
             "1 20 85" "1 150 95" "1 150 95" "1 150 95" "1 250 115" "1 250 65" "1 250 65"; do
    # shellcheck disable=SC2086
    click $click
done
type_name "Kovacs Odon"
"$build/tests/grabwindow" "$window" "$top/docs/screenshot.png"
echo "wrote $top/docs/screenshot.png"

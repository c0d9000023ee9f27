#!/usr/bin/env bash
# zev --pdf as a user runs it, with no display: one page a sheet, the fresh sheet when none is
# named; a sheet refused or not there, or a PDF that cannot be written, told on standard error
# with status 1 and no PDF made or changed; an old PDF replaced keeps its mode.
# Usage: pdf-cli.sh ZEV
set -euo pipefail
zev=$(realpath "$1")
"$(dirname "$0")/require-tool.sh" poppler-utils pdfinfo || exit 1
cd "$(mktemp -d)" && trap 'rm -rf "$PWD"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
pdf() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$zev" --pdf "$@" 2>err; }
sheet() { for r in "$@"; do printf ' %s \r\n' "$r"; done; }
state() { stat -c '%s %Y %a %i' "$1" && md5sum <"$1"; }

sheet 3 1 1 1 1 1 1 1 1 $(printf '0 %.0s' $(seq 30)) >Hős.txt
sheet 1 1 1 1 1 1 1 1 1 0 0 7 $(printf '0 %.0s' $(seq 27)) >Hetes.txt
pdf party.pdf Hős.txt Hős.txt || fail "two sheets: $(cat err)"
pdfinfo party.pdf | grep -q '^Pages: *2$' || fail "two sheets are not two pages"
pdfinfo party.pdf | grep -q '^Title: *Hős$' || fail "the title is not the first sheet's name"
pdf blank.pdf && pdftotext blank.pdf - | grep -q '^Karakter neve$' || fail "no fresh sheet"
# The paper follows the locale's measures unless --paper says otherwise.
for paper in "en_US.UTF-8||letter" "en_US.UTF-8|--paper a4|A4" "hu_HU.UTF-8||A4"; do
    IFS='|' read -r measures option name <<<"$paper"
    # shellcheck disable=SC2086
    LC_ALL='' LC_MEASUREMENT=$measures pdf paper.pdf $option &&
        pdfinfo paper.pdf | grep -q "^Page size:.*($name)" || fail "$paper: $(pdfinfo paper.pdf)"
done

chmod 640 party.pdf && touch -d @1000000000 party.pdf && before=$(state party.pdf)
for refused in "Hetes.txt|a 12. sor (Ökölharc): 7" "Nincs.txt|Nincs.txt" "Hős.txt Hetes.txt|Hetes.txt"; do
    # shellcheck disable=SC2086
    if pdf party.pdf ${refused%|*} || pdf new.pdf ${refused%|*}; then fail "${refused%|*} was put on paper"; fi
    grep -qF "${refused#*|}" err || fail "${refused%|*}: the message does not name it: $(cat err)"
    [ "$(state party.pdf)" = "$before" ] && [ ! -e new.pdf ] || fail "${refused%|*}: a PDF was written"
done
! pdf nincs/party.pdf Hős.txt && grep -q 'Nem sikerült menteni: nincs/party.pdf' err && [ ! -e nincs ] ||
    fail "a PDF in a missing folder: $(cat err)"
pdf party.pdf Hős.txt && [ "$(stat -c %a party.pdf)" = 640 ] && [ "$(state party.pdf)" != "$before" ] ||
    fail "the old PDF was not replaced, or lost its mode"
[ -z "$(ls | grep -v -e '\.txt$' -e '\.pdf$' -e '^err$')" ] || fail "left behind: $(ls)"
echo "PASS: pdf-cli"

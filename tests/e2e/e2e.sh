#!/usr/bin/env bash
# End-to-end tests of the real zev binary in a private Xvfb with real X input events.
# Usage: e2e.sh ZEV-BINARY GRABWINDOW-BINARY CASE
ZEV=$(realpath "$1") GRAB=$(realpath "$2") CASE=$3 EXPECTED_SHEET=${4:-}
needs_bus() { [[ $CASE =~ ^(accessibility|orca)$ ]]; } # the cases that listen through AT-SPI
if needs_bus && [ -z "${ZEV_PRIVATE_BUS:-}" ]; then
    # A private session bus, so the test's accessibility bus is its own, and a private settings
    # folder, so that switching assistive technology on leaves the user's settings alone.
    "$(dirname "$0")/../require-tool.sh" dbus-daemon dbus-run-session || exit 1
    ZEV_PRIVATE_CONFIG=$(mktemp -d)
    export ZEV_PRIVATE_CONFIG XDG_CONFIG_HOME=$ZEV_PRIVATE_CONFIG
    ZEV_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
source "$(dirname "$0")/xsession.sh"
source "$(dirname "$0")/cups.sh"

edit_and_save() {
    click 1 50 5       # erő 1 -> 2
    click 1 50 5       # erő 2 -> 3
    click 1 250 145    # Term.tudományok 0 -> 1
    click 1 150 55     # Állatszelidítés 0 -> 1
    click 1 150 55     # 1 -> 2
    click 3 150 55     # right: 2 -> 1
    click 3 60 25      # right on állóképesség at 1: stays 1
    click 1 95 5       # between columns: nothing
    click 2 120 65     # middle: nothing
    # The file name must reach the disk as UTF-8. xdotool types a letter it has no key for by
    # remapping a spare key for a moment, and on a busy machine the program may read the key
    # after the mapping is gone; then the name is typed again, more slowly each time.
    local attempt
    for attempt in 1 2 3 4 5; do
        type_name "Kovács Hős" $((attempt * attempt * 20))
        save
        wait_for compgen -G "$workdir/*.txt" >/dev/null || fail "nothing was saved"
        [ ! -f "$workdir/Kovács Hős.txt" ] || break
        echo "typed again: xdotool delivered $(cd "$workdir" && ls -- *.txt)"
        rm -f "$workdir"/*.txt
    done
    expect_sheet 0=3 19=1 38=1
    check_file "$workdir/Kovács Hős.txt"
    [ "$(stat -c %s "$workdir/Kovács Hős.txt")" = 195 ] || fail "the file is not 195 bytes"
}

capped_at_five() {
    for _ in 1 2 3 4 5 6 7; do click 1 220 15; done   # intelligencia, 1 + 7 capped to 5
    for _ in 1 2 3 4 5 6; do click 1 20 145; done     # Rászedés, 0 + 6 capped to 5
    save
    expect_sheet 7=5 18=5
    check_file "$workdir/Karakter neve.txt"
}

failed_save_keeps_running() {
    click 1 150 15   # manipuláció 1 -> 2
    type_name "nincs/Hos"
    save
    wait_for windows_exactly 2 || fail "no error window appeared"
    zev_running || fail "zev ended after a failed save"
    [ ! -e "$workdir/nincs" ] || fail "a folder appeared"
    local box
    box=$(zev_windows | grep -vx "$window")
    xdotool windowfocus --sync "$box" key Return
    wait_for windows_exactly 1 || fail "the error window stayed"
    click 1 150 15   # 2 -> 3, the window still edits
    type_name "Hos"
    save
    expect_sheet 4=3
    check_file "$workdir/Hos.txt"
}

# A sheet saved before as another tool passes it on (LF, no blanks), under a second name too,
# named by a relative path: drawn as it was saved, edited with the mouse, saved back to the same
# file, which keeps its inode (a file of two names is rewritten in place, by root too).
open_edit_save() {
    compare_sheet "${saved[@]}"
    click 1 50 5     # erő 3 -> 4
    click 3 20 75    # Ökölharc 4 -> 3
    save
    expect_sheet 0=4 7=5 11=3 38=2
    wait_for same_as_expected "$workdir/sub/Hős.txt" || fail "not saved back: $(od -c <"$workdir/sub/Hős.txt")"
    [ "$(stat -c %i "$workdir/sub/Hős.txt")" = "$inode" ] || fail "the file's inode changed"
    check_file "$workdir/other name.txt"
}
before_open_edit_save() {
    saved=(3 1 1 1 1 1 1 5 1 0 0 4 $(printf '0 %.0s' $(seq 26)) 2)
    mkdir "$workdir/sub" && printf '%s\n' "${saved[@]}" >"$workdir/sub/Hős.txt"
    ln "$workdir/sub/Hős.txt" "$workdir/other name.txt"
    inode=$(stat -c %i "$workdir/sub/Hős.txt")
    zev_arguments=(sub/Hős.txt)
}

# The keyboard alone, no click: a name, Tab past "Mentés" to the sheet, ratings in every column
# with the arrows, Home, End, "+" and "-" on the main keys and the keypad, then round to
# "Mentés", which Space presses.
keyboard_only() {
    xdotool windowfocus --sync "$window" # as a window manager gives a new window the focus
    press ctrl+a BackSpace H o s
    press Tab Tab plus KP_Add                      # erő 3
    press Right Right Right KP_Add                 # past the last column: észlelés 2
    press Down Down Down plus                      # on into the skills: Academics 1
    press Left plus plus KP_Subtract               # Állatszelidítés 1
    press End plus plus plus plus plus plus        # Term.tudományok 5, capped
    press Home Up Left minus                       # at the first trait still: erő 2
    press $(printf 'Down %.0s' $(seq 13)) plus     # past the last skill: Rászedés 1
    press Tab Tab space
    expect_sheet 0=2 6=2 18=1 19=1 29=1 38=5
    check_file "$workdir/Hos.txt"
}
press() { xdotool key --delay 30 "$@"; }

# Started without a file, Ctrl+O opens the file dialog in the current folder; a name typed there
# and Return open that sheet, which a raise changes and Ctrl+S saves back into its own folder.
open_with_keys() {
    mkdir "$workdir/sub" && printf '%s\n' 3 1 1 1 1 1 1 1 1 $(printf '0 %.0s' $(seq 29)) 2 >"$workdir/sub/Masik.txt"
    xdotool windowfocus --sync "$window" key ctrl+o
    wait_for dialog_shown || fail "no file dialog"
    xdotool windowfocus --sync "$(dialog_shown)" type --delay 30 sub/Masik.txt
    xdotool key Return
    wait_for dialog_gone || fail "the file dialog stayed"
    sleep 0.2 # for the sheet to open
    click 1 50 5 # erő 3 -> 4
    xdotool windowfocus --sync "$window" key ctrl+s
    expect_sheet 0=4 38=2
    check_file "$workdir/sub/Masik.txt"
    xdotool key ctrl+o # saved: no question
    wait_for dialog_shown || fail "no file dialog after a save"
}
dialog_shown() { xdotool search --onlyvisible --name '^Karakterlap megnyitása$'; }
dialog_gone() { ! dialog_shown >/dev/null; }

# A sheet whose name the locale cannot show (a Latin-2 byte) is refused in a box: the window
# keeps its fresh sheet and its name box "Karakter neve", and the file stays as it was.
refused_file_untouched() {
    wait_for windows_exactly 2 || fail "no message box appeared"
    xdotool windowfocus --sync "$(zev_windows | grep -vx "$window")" key Return
    wait_for windows_exactly 1 || fail "the message box stayed"
    click 1 50 5 # erő 1 -> 2
    save
    expect_sheet 0=2
    check_file "$workdir/Karakter neve.txt"
    [ "$(refused_state)" = "$refused" ] || fail "the file changed"
}
refused_state() { od -c "$workdir"/H*s.txt; stat -c %Y "$workdir"/H*s.txt; }
before_refused_file_untouched() {
    printf '%s\n' 5 1 1 1 1 1 1 1 1 $(printf '0 %.0s' $(seq 30)) >"$workdir/H"$'\xf5'"s.txt"
    touch -d @1000000000 "$workdir"/H*s.txt
    refused=$(refused_state)
    zev_arguments=("H"$'\xf5'"s.txt")
}

# compare_sheet R0 ... R38: the window, grabbed from the X server, against the expected sheet.
compare_sheet() {
    local size
    size=$("$GRAB" "$window" "$workdir/window.png") || fail "no screenshot"
    # The client area is 6570 x 5445 twips: 438 x 363 px at 96 dpi.
    [ "$size" = "438x363" ] || fail "expected 438x363 at Qt's default 96 dpi, got $size"
    "$EXPECTED_SHEET" "$workdir/window.png" "$@" || fail "the window does not show the sheet"
}

drawn_sheet() {
    compare_sheet 1 1 1 1 1 1 1 1 1 $(printf '0 %.0s' $(seq 30))
    click 1 50 5; click 1 50 5          # erő 3
    click 1 250 25                      # érzék 2
    for _ in 1 2 3 4 5 6; do click 1 150 135; done   # Lopózás 5, capped
    click 1 20 95; click 3 20 95; click 3 20 95      # Empátia 1, 0, stays 0
    click 1 250 145                     # Term.tudományok 1
    compare_sheet 3 1 1 1 1 1 1 1 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 5 0 0 0 0 0 0 0 0 0 0 1
}

# Ctrl+P from the name box: Escape in the print dialog prints nothing; Ctrl+P again and Return
# (Print, to the private default queue) prints the page as text, and the window goes on.
print_page() {
    click 1 50 5 && click 1 50 5 && click 1 250 145 # erő 3, Term.tudományok 1
    type_name "Kovacs Hos"
    print_dialog Escape
    wait_for windows_of_zev 1 || fail "the print dialog stayed"
    sleep 1
    [ ! -e "$workdir/printed.pdf" ] || fail "Cancel printed"
    print_dialog Return
    E2E_TIMEOUT=60 wait_for test -s "$workdir/printed.pdf" || fail "no job reached the queue"
    local text
    wait_for eval 'text=$(pdftotext -layout "$workdir/printed.pdf" - 2>/dev/null)' ||
        fail "the job is no PDF"
    grep -q '^ *Kovacs Hos *$' <<<"$text" || fail "no heading in the job: $text"
    grep -Eq 'erő +\^\^\^ ' <<<"$text" && grep -Eq 'Term.tudományok +\^ *$' <<<"$text" &&
        grep -Eq '\( 2\).*\( 0\).*\( 0\)' <<<"$text" || fail "the job is not the sheet: $text"
    xdotool windowfocus --sync "$window" key End BackSpace # the name box still has the focus
    save
    expect_sheet 0=3 38=1
    check_file "$workdir/Kovacs Ho.txt"
}
# Ctrl+P, then KEY in the dialog that it opens. With no window manager here to give the focus
# back once a dialog is gone, the test gives it; a key that a busy X server gave the window
# before its focus is pressed again.
print_dialog() {
    local attempt
    for attempt in 1 2 3; do
        xdotool windowfocus --sync "$window" key ctrl+p
        E2E_TIMEOUT=$((attempt * 10)) wait_for windows_of_zev 2 && break
    done
    windows_of_zev 2 || fail "no print dialog appeared: $(cat "$workdir/.zev.log")"
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --pid "$zev_pid" | grep -vx "$window")" \
        key "$1"
}
windows_of_zev() { [ "$(xdotool search --onlyvisible --pid "$zev_pid" 2>/dev/null | wc -l)" -eq "$1" ]; }
before_print_page() { require poppler-utils pdftotext; start_cups; }

# A screen reader's view: the tree, a real release heard as a value change, the actions.
accessibility() {
    /usr/bin/python3 "$(dirname "$0")/atspi_client.py" "$workdir/Karakter neve.txt" \
        xdotool mousemove --window "$window" "$(px 50)" "$(px 5)" click 1 ||
        fail "the sheet as a screen reader meets it"
}

# Orca as a blind user meets the sheet, with what it says written down by speech-dispatcher:
# flat review reads names and ratings and clicks from there, the keyboard focus reaches the
# current trait and moves, and every change is heard.
orca() {
    wait_for grep -q 'Karakter neve' "$workdir/spoken" || fail "Orca did not read the window"
    hear '^erő 1 karizma 1 észlelés 1$' xdotool key Insert+KP_Home # the first line
    # Orca 43 takes its click for failed when, on a busy machine, the pointer has not moved yet
    # by the time it asks, and clicks a second time; with the pointer there already, it cannot.
    route_pointer_to_review_item
    hear 'erő 2, összesen: 1' xdotool key KP_Divide                # a left click on erő from it
    hear '^erő slider 2' xdotool key Insert+KP_Begin               # erő read again
    hear 'Túlélés 1, összesen: 1' click 1 150 145                  # a real release over Túlélés
    # From the keyboard: Tab reaches the sheet at erő, each move and each change is heard.
    hear '^Mentés \(push \)*button' xdotool key Tab  # Orca 48 leaves out "push"
    hear '^erő slider 2' xdotool key Tab
    hear '^ügyesség slider 1' xdotool key Down
    hear 'ügyesség 2, összesen: 2' xdotool key plus
    hear 'ügyesség 1, összesen: 1' xdotool key minus
    hear '^manipuláció slider 1' xdotool key Right
    # A successful save: Orca 43 presents the notice shown afresh, 48 the announcement itself.
    hear '^\(notification \)*Mentve' save
    # A failed save's message box. A folder in the file's place makes it fail without typing,
    # which xdotool may garble on a busy machine.
    # Now and then Orca 43 presents only the OK button that the box focuses as it opens; then the
    # user reads the box's first line, as the test does, after a short wait, so that the rare
    # case does not take the whole of a wait.
    rm "$workdir/Karakter neve.txt" && mkdir "$workdir/Karakter neve.txt"
    E2E_TIMEOUT=5 heard 'Nem sikerült menteni' save ||
        hear 'Nem sikerült menteni' xdotool key Insert+KP_Home
}

# Puts the pointer where Orca's flat-review click on erő lands: one pixel left of the middle of
# its item (0 to 90 pt wide, 0 to 10 pt high).
route_pointer_to_review_item() {
    xdotool mousemove --sync --window "$window" $(($(px 45) - 1)) "$(px 5)"
}

# heard REGEX COMMAND...: after the command, whether Orca says a line that matches; hear fails
# the test when it does not.
heard() {
    local from=$(($(wc -l <"$workdir/spoken") + 1))
    "${@:2}"
    wait_for said "$from" "$1" >/dev/null || { echo "after ${*:2}, Orca said: $(said "$from" .)"; return 1; }
    echo "${*:2}: $(said "$from" .)"
}
hear() { heard "$@" || fail "Orca did not say $1"; }
said() { tail -n "+$1" "$workdir/spoken" | grep -e "$2" | tr '\n' ' '; }

# Openbox, speech-dispatcher and Orca with fresh settings. Orca's launcher kills, or gives way
# to, every other Orca of this user that pgrep finds; a pgrep that finds none keeps them apart.
start_orca() {
    for tool in openbox speech-dispatcher orca; do require "$tool" "$tool"; done
    mkdir "$workdir/.bin" && printf '#!/bin/sh\nexit 1\n' >"$workdir/.bin/pgrep"
    chmod +x "$workdir/.bin/pgrep" && : >"$workdir/spoken"
    export ZEV_SPOKEN=$workdir/spoken SPEECHD_ADDRESS=unix_socket:$workdir/.speech
    openbox --sm-disable >/dev/null 2>&1 & helper_pids+=($!)
    speech-dispatcher -s -t 0 -C "$(dirname "$0")/speech" -S "$workdir/.speech" >/dev/null 2>&1 &
    helper_pids+=($!)
    PATH=$workdir/.bin:$PATH command orca -u "$workdir/.orca" >/dev/null 2>&1 & helper_pids+=($!)
    wait_for grep -q . "$workdir/spoken" || fail "Orca said nothing"
}

start_xvfb
! needs_bus || start_accessibility_bus
[ "$CASE" != orca ] || start_orca
zev_arguments=()
! declare -F "before_$CASE" >/dev/null || "before_$CASE"
start_zev "${zev_arguments[@]}"
"$CASE"
zev_running || fail "zev is no longer running"
echo "PASS: $CASE"

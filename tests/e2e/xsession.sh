# Sourced by the end-to-end tests: a private Xvfb, the real zev in a fresh folder, and helpers
# that click and type with real X input events at positions given in points.
set -euo pipefail
export LC_ALL=C.UTF-8 # xdotool types non-ASCII names only in a UTF-8 locale

E2E_TIMEOUT=${E2E_TIMEOUT:-20}
xvfb_pid="" zev_pid="" workdir="" helper_pids=()

cleanup() {
    local status=$?
    set +e
    if [ -n "$zev_pid" ]; then kill "$zev_pid" 2>/dev/null; wait "$zev_pid" 2>/dev/null; fi
    for pid in "${helper_pids[@]}"; do kill -KILL "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    if [ -n "$workdir" ]; then rm -rf "$workdir"; fi
    if [ -n "${ZEV_PRIVATE_CONFIG:-}" ]; then rm -rf "$ZEV_PRIVATE_CONFIG"; fi
    exit "$status"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

require() { "$(dirname "${BASH_SOURCE[0]}")/../require-tool.sh" "$@" || exit 1; }
require xvfb Xvfb
require xdotool xdotool

start_xvfb() {
    workdir=$(mktemp -d)
    local fd_file="$workdir/.display"
    Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$fd_file" 2>/dev/null &
    xvfb_pid=$!
    local waited=0
    until [ -s "$fd_file" ]; do
        sleep 0.1; waited=$((waited + 1))
        [ "$waited" -lt $((E2E_TIMEOUT * 10)) ] || fail "Xvfb did not start"
    done
    export DISPLAY=":$(head -n1 "$fd_file")"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    export XDG_RUNTIME_DIR="$workdir/.runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}

# Starts the accessibility bus on the session bus and says that assistive technology is on,
# as a desktop does when a screen reader starts; programs started later join it. The bus is
# started by D-Bus activation alone: a second launcher started by hand could win the race for
# the bus's name and leave two accessibility buses.
start_accessibility_bus() {
    require at-spi2-core /usr/libexec/at-spi-bus-launcher
    require dbus-bin dbus-send
    require dbus-bin dbus-update-activation-environment
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
        fail "pyatspi is missing; install the Debian package python3-pyatspi"
    # Services the bus starts must see this X server, not the environment the bus began with.
    dbus-update-activation-environment DISPLAY XDG_RUNTIME_DIR ||
        fail "cannot pass the display to the session bus"
    local status=(dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus)
    "${status[@]}" org.a11y.Bus.GetAddress >/dev/null || fail "the accessibility bus did not start"
    # Waits for the reply: a call that is only sent may be dropped when the sender leaves.
    "${status[@]}" org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
        variant:boolean:true >/dev/null
    "${status[@]}" org.freedesktop.DBus.Properties.Get string:org.a11y.Status string:IsEnabled |
        grep -q 'boolean true' || fail "assistive technology cannot be switched on"
}

# Starts zev in a fresh folder, with the arguments given, and waits for its window; sets $window
# and the point scale.
start_zev() {
    (cd "$workdir" && exec "$ZEV" "$@" >"$workdir/.zev.log" 2>&1) &
    zev_pid=$!
    window=$(timeout "$E2E_TIMEOUT" xdotool search --sync --onlyvisible --name '^ZEV$' | head -n1) ||
        fail "the ZEV window never appeared"
    # Pixels per point, read off the window itself: its client area is 328.5 pt wide.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    window_width=$WIDTH window_height=$HEIGHT
    sleep 0.3 # the first timer tick draws the sheet
}

px() { awk -v pt="$1" -v w="$window_width" 'BEGIN { printf "%d", pt * w / 328.5 + 0.5 }'; }

# click BUTTON X Y: a real press and release at (X, Y) points from the client area's corner.
click() {
    xdotool mousemove --window "$window" "$(px "$2")" "$(px "$3")" click "$1"
    sleep 0.05
}

# Replaces the name box's text with the given one, as a user types it.
type_name() {
    click 1 40 230
    xdotool key --clearmodifiers ctrl+a BackSpace
    xdotool type --delay "${2:-20}" "$1" # ms between keys
}

save() { click 1 138 232; }

# wait_for COMMAND...: polls until the command succeeds, for at most E2E_TIMEOUT seconds.
wait_for() {
    local tries=$((E2E_TIMEOUT * 20))
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

zev_windows() { xdotool search --onlyvisible --name '^ZEV$' 2>/dev/null || true; }
windows_exactly() { [ "$(zev_windows | wc -l)" -eq "$1" ]; }

zev_running() { kill -0 "$zev_pid" 2>/dev/null; }

# Sets expected to the saved bytes of a fresh sheet with some lines changed: index=rating ...
expect_sheet() {
    local -a lines
    for i in $(seq 0 38); do lines[i]=$([ "$i" -lt 9 ] && echo 1 || echo 0); done
    for change in "$@"; do lines[${change%%=*}]=${change#*=}; done
    expected=$(for i in $(seq 0 38); do printf ' %s \r\n' "${lines[i]}"; done | od -c)
}

same_as_expected() { [ "$(od -c <"$1")" = "$expected" ]; }

# The file appears whole or not at all: it is renamed into place once written.
check_file() {
    wait_for test -f "$1" || fail "no file $1"
    same_as_expected "$1" || fail "$1 differs: $(od -c <"$1")"
}

# Sourced by the printing case: a CUPS server of the test's own, as CUPS's own tests start one:
# cupsd in the foreground, as the current user (as root, the server's own user runs filters),
# its folders and its socket in the work folder, and one raw queue, the default, whose backend
# keeps each job whole in $workdir/printed.pdf.
start_cups() {
    export PATH=$PATH:/usr/sbin # cupsd's folder, which only root's PATH names
    require cups-daemon cupsd
    require cups-client lpstat
    local root=$workdir/.cups part
    mkdir -p "$root"/{spool/tmp,cache,state,log,bin/backend}
    for part in /usr/lib/cups/*; do [ "${part##*/}" = backend ] || ln -s "$part" "$root/bin/"; done
    # Mode 0700: the server runs it as the owner, who may write to the work folder.
    printf '%s\n' '#!/bin/sh' \
        '[ $# -gt 0 ] || { echo "direct keep \"Unknown\" \"Keeps each job\""; exit 0; }' \
        'if [ $# -ge 6 ]; then cat "$6"; else cat; fi >"${DEVICE_URI#keep:}.part" &&' \
        'mv "${DEVICE_URI#keep:}.part" "${DEVICE_URI#keep:}"' >"$root/bin/backend/keep"
    chmod 700 "$root/bin/backend/keep"
    printf '%s\n' "ServerRoot $root" "ServerBin $root/bin" "Printcap $root/printcap" \
        "RequestRoot $root/spool" "TempDir $root/spool/tmp" "CacheDir $root/cache" \
        "StateDir $root/state" "ErrorLog $root/log/error" "AccessLog $root/log/access" \
        "PageLog $root/log/page" >"$root/cups-files.conf"
    [ "$(id -u)" -eq 0 ] || printf 'User %s\nGroup %s\n' "$(id -un)" "$(id -gn)" >>"$root/cups-files.conf"
    printf '%s\n' "Listen $root/cups.sock" "Browsing No" "WebInterface No" \
        "<Location />" "Order allow,deny" "Allow all" "</Location>" >"$root/cupsd.conf"
    printf '%s\n' "<DefaultPrinter keep>" "DeviceURI keep:$workdir/printed.pdf" "State Idle" \
        "Accepting Yes" "</DefaultPrinter>" >"$root/printers.conf"
    cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" 2>"$root/log/stderr" &
    helper_pids+=($!)
    export CUPS_SERVER=$root/cups.sock
    wait_for lpstat -p keep >/dev/null 2>&1 || fail "the private cupsd did not start: $(cat "$root"/log/*)"
}

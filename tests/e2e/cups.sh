# Sourced by the printing case: a CUPS server of the test's own, as CUPS's own tests start one:
# cupsd in the foreground, as the current user (as root, the server's own user runs filters),
# its folders and its socket in the work folder, and one raw queue, the default, whose backend
# keeps each job whole in $workdir/printed.pdf.
start_cups() {
    require cups-daemon cupsd
    require cups-client lpstat
    local root=$workdir/.cups
    mkdir -p "$root"/{spool/tmp,cache,state,log,bin/backend}
    for part in /usr/lib/cups/*; do
        [ "${part##*/}" = backend ] || ln -s "$part" "$root/bin/"
    done
    # Mode 0700: the server runs it as the owner, who may write to the work folder.
    cat >"$root/bin/backend/keep" <<'BACKEND'
#!/bin/sh
[ $# -gt 0 ] || { echo 'direct keep "Unknown" "Keeps each job"'; exit 0; }
out=${DEVICE_URI#keep:}
if [ $# -ge 6 ]; then cat "$6"; else cat; fi >"$out.part" && mv "$out.part" "$out"
BACKEND
    chmod 700 "$root/bin/backend/keep"
    cat >"$root/cups-files.conf" <<CONF
ServerRoot $root
ServerBin $root/bin
Printcap $root/printcap
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
CONF
    [ "$(id -u)" -eq 0 ] || printf 'User %s\nGroup %s\n' "$(id -un)" "$(id -gn)" >>"$root/cups-files.conf"
    cat >"$root/cupsd.conf" <<CONF
Listen $root/cups.sock
LogLevel info
Browsing No
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
    cat >"$root/printers.conf" <<CONF
<DefaultPrinter keep>
DeviceURI keep:$workdir/printed.pdf
State Idle
Accepting Yes
Shared No
</DefaultPrinter>
CONF
    cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" 2>"$root/log/stderr" &
    helper_pids+=($!)
    export CUPS_SERVER=$root/cups.sock
    wait_for lpstat -p keep >/dev/null 2>&1 || fail "the private cupsd did not start: $(cat "$root"/log/*)"
}

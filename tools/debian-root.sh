#!/usr/bin/env bash
# Runs one command in a clean clone of this checkout inside a fresh, minimal Debian root: no
# compiler, no CMake, no Qt, no fonts, no X server, as a newcomer's machine starts.
#
#   tools/debian-root.sh [--user] SUITE 'COMMAND'      e.g. tools/debian-root.sh trixie ./test.sh
#
# With --user the command runs as "newcomer", an ordinary user made in the root, in no group but
# its own and allowed sudo without a password, from a clone in its home folder.
#
# Needs root and the Debian mirror. The root is made once per suite with debootstrap (minbase)
# and kept read-only below an overlay, so every run starts from the same pristine state and
# leaves it so. What is committed is what runs. ZEV_DEBIAN_MIRROR names another mirror;
# ZEV_ROOT_CACHE another folder for the pristine roots.
set -euo pipefail
as_user=false
if [ "${1:-}" = --user ]; then as_user=true; shift; fi
suite=${1:?usage: debian-root.sh SUITE COMMAND} command=${2:?usage: debian-root.sh SUITE COMMAND}
checkout=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
cache=${ZEV_ROOT_CACHE:-/var/tmp/zev-debian}
pristine=$cache/$suite

say() { echo "debian-root: $*" >&2; }
[ "$(id -u)" -eq 0 ] || { say "making a root needs root"; exit 2; }

# The host's own Debian mirror, where it names one, else Debian's redirector.
host_mirror() {
    grep -hoE '(^deb|^URIs:) +https?://[^ ]+/debian/?( |$)' /etc/apt/sources.list \
        /etc/apt/sources.list.d/* 2>/dev/null | grep -oE 'https?://[^ ]+' | head -n1 || true
}
mirror=${ZEV_DEBIAN_MIRROR:-$(host_mirror)}
mirror=${mirror:-http://deb.debian.org/debian}

# retry WHAT COMMAND...: a slow or briefly unreachable mirror gets five tries, a minute apart
# at most, before the run gives up with one line that says what could not be done.
retry() {
    local what=$1 attempt
    shift
    for attempt in 1 2 3 4 5; do
        "$@" && return 0
        say "$what failed (attempt $attempt of 5)"
        [ "$attempt" -lt 5 ] && sleep $((attempt * 15))
    done
    say "giving up: $what; is the Debian mirror $mirror reachable? (ZEV_DEBIAN_MIRROR names another)"
    return 1
}

make_pristine() {
    command -v debootstrap >/dev/null ||
        retry "installing debootstrap" sh -c 'apt-get update -q && apt-get install -y -q debootstrap' >/dev/null
    mkdir -p "$cache"
    local partial=$pristine.partial
    bootstrap() { rm -rf "$partial" && debootstrap --variant=minbase "$suite" "$partial" "$mirror" >/dev/null; }
    retry "debootstrap of $suite from $mirror" bootstrap
    # apt inside the root is as patient with the mirror as this script is.
    printf 'Acquire::Retries "5";\nAcquire::http::Timeout "60";\n' >"$partial/etc/apt/apt.conf.d/80zev-retries"
    mv "$partial" "$pristine"
}
[ -x "$pristine/bin/bash" ] || make_pristine

run=$(mktemp -d /var/tmp/zev-root-run.XXXXXX)
root=$run/root
cleanup() {
    for mount in sys dev proc ""; do umount -l "$root/$mount" 2>/dev/null || true; done
    # Never into a mount that a failed unmount left behind (the host's /dev among them).
    rm -rf --one-file-system "$run"
}
trap cleanup EXIT
mkdir -p "$run/upper" "$run/work" "$root"
mount -t overlay overlay -o "lowerdir=$pristine,upperdir=$run/upper,workdir=$run/work" "$root"
mount -t proc proc "$root/proc"
# A slave copy: unmounting it must not unmount the host's own /dev/pts and /dev/shm.
mount --rbind /dev "$root/dev"
mount --make-rslave "$root/dev"
mount -t sysfs sys "$root/sys"
cp /etc/resolv.conf "$root/etc/resolv.conf"
say "running '$command' in a fresh Debian $suite root ($(cat "$root/etc/debian_version"))"
in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 CI="${CI:-true}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
if ! $as_user; then
    git clone -q "$checkout" "$root/root/project"
    in_root /bin/bash -c "cd /root/project && $command"
    exit
fi
retry "installing sudo" in_root sh -c 'apt-get update -q && apt-get install -y -q sudo' >/dev/null
in_root sh -c 'useradd -m -s /bin/bash newcomer &&
    echo "newcomer ALL=(ALL) NOPASSWD: ALL" >/etc/sudoers.d/newcomer'
git clone -q "$checkout" "$root/home/newcomer/project"
in_root chown -R newcomer:newcomer /home/newcomer/project
say "as the ordinary user newcomer ($(in_root id newcomer))"
in_root runuser -u newcomer -- /usr/bin/env -i HOME=/home/newcomer LANG=C.UTF-8 CI="${CI:-true}" \
    USER=newcomer PATH=/usr/local/bin:/usr/bin:/bin /bin/bash -c "cd ~/project && $command"

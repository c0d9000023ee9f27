#!/usr/bin/env bash
# Runs the save tests that need a file system of their own: a tiny tmpfs that holds older files
# and is otherwise full, an overlay whose lower layer holds a file with two hard links, as in a
# container, and FUSE mounts as users meet them: bindfs over a folder and over the full tmpfs,
# and exFAT and NTFS images mounted from loop devices as a desktop mounts a stick (one exFAT
# stick full). The mounts live in a private mount namespace, so nothing leaks out. Exits 77
# (skipped), saying why in a "left out:" line, when the namespace or a mount cannot be made here.
set -u
test_binary=$1
"$(dirname "$0")/require-tool.sh" util-linux unshare && "$(dirname "$0")/require-tool.sh" mount mount ||
    exit 1

if [ "${ZEV_IN_NAMESPACE:-}" != 1 ]; then
    if ! unshare -m --propagation private true 2>/dev/null; then
        echo "left out: tst_save_mounted: needs root, for a private mount namespace"
        exit 77
    fi
    ZEV_IN_NAMESPACE=1 exec unshare -m --propagation private "$0" "$@"
fi

dir=$(mktemp -d)
fuse_mounts=(bound bound-full exfat exfat-full ntfs)
# The FUSE daemons end once unmounted, and only then let go of the images on the tmpfs.
trap 'umount "${fuse_mounts[@]/#/$dir/}" 2>/dev/null; wait
    umount "$dir/full" "$dir/merged" "$dir" 2>/dev/null; rm -rf "$dir"' EXIT
# The layers on a tmpfs of their own: an overlay cannot have its upper layer on another overlay.
mount -t tmpfs tmpfs "$dir" && mkdir "$dir/full" "$dir/lower" "$dir/upper" "$dir/work" "$dir/merged"
printf ' 2 \r\n' > "$dir/lower/t.txt" && ln "$dir/lower/t.txt" "$dir/lower/other.txt"
if ! mount -t tmpfs -o size=16k tmpfs "$dir/full" ||
    ! mount -t overlay overlay -o "lowerdir=$dir/lower,upperdir=$dir/upper,workdir=$dir/work" "$dir/merged"; then
    echo "left out: tst_save_mounted: could not mount a tiny tmpfs and an overlay here"; exit 77
fi
printf ' 2 \r\n 3 \r\n' > "$dir/full/Hős.txt"
printf ' 2 \r\n 3 \r\n' > "$dir/full/Két név.txt"
ln "$dir/full/Két név.txt" "$dir/full/other name.txt"
dd if=/dev/zero of="$dir/full/filler" bs=1k 2>/dev/null
echo "free bytes left: $(df -B1 --output=avail "$dir/full" | tail -1)"

for tool in "bindfs bindfs" "exfat-fuse mount.exfat-fuse" "exfatprogs mkfs.exfat" "ntfs-3g mkntfs"; do
    "$(dirname "$0")/require-tool.sh" $tool || exit 1
done
# fuse NAME COMMAND...: a FUSE daemon mounting $dir/NAME, with every call it serves in NAME.log.
fuse() {
    mkdir "$dir/$1" && { "${@:2}" "$dir/$1" >"$dir/$1.log" 2>&1 & }
    for _ in $(seq 100); do mountpoint -q "$dir/$1" && return; sleep 0.05; done
    echo "left out: tst_save_mounted on $1: could not mount it here" && return 1
}
stick() { # stick NAME MAKE DAEMON...: an 8 MiB image made by MAKE, mounted from a loop device
    local loop mounted
    truncate -s 8M "$dir/$1.img" && $2 "$dir/$1.img" >/dev/null 2>&1 && loop=$(losetup -f --show "$dir/$1.img") ||
        { echo "left out: tst_save_mounted on $1: could not make a loop device here"; return 1; }
    fuse "$1" "${@:3}" "$loop" && mounted=0
    losetup -d "$loop" # let go of once the daemon closes it
    return ${mounted:-1}
}
# Refusing to give a file its owner, as many FUSE mounts do, it makes even root rewrite the old
# file in place, with a copy.
mkdir "$dir/plain" && printf ' 2 \r\n' >"$dir/plain/Régi.txt"
fuse bound bindfs -d --chown-deny "$dir/plain" && export ZEV_BINDFS_DIR=$dir/bound
fuse bound-full bindfs -d "$dir/full" && export ZEV_BINDFS_FULL_DIR=$dir/bound-full
stick exfat mkfs.exfat mount.exfat-fuse -d && export ZEV_EXFAT_DIR=$dir/exfat
stick ntfs "mkntfs -q -F -f" ntfs-3g -o windows_names,no_detach && export ZEV_NTFS_DIR=$dir/ntfs
stick exfat-full mkfs.exfat mount.exfat-fuse -d && export ZEV_EXFAT_FULL_DIR=$dir/exfat-full &&
    dd if=/dev/zero of="$dir/exfat-full/filler" bs=4k count=2048 2>/dev/null
printf ' 2 \r\n' | tee "${ZEV_EXFAT_DIR:-/dev/null}/Régi.txt" "${ZEV_NTFS_DIR:-/dev/null}/Régi.txt" >/dev/null

ZEV_FULL_DISK_DIR=$dir/full ZEV_OVERLAY_DIR=$dir/merged QT_QPA_PLATFORM=offscreen \
    "$test_binary" savesOnFileSystemsOfTheirOwn || exit 1
# A file removed while still open is renamed to a hidden name until it is closed, which a
# daemon logs as served for an UNLINK; none of the save's own files may go so.
hidden=$(for log in "${fuse_mounts[@]}"; do cat "$dir/$log.log"; done 2>/dev/null | awk '/opcode:/ { call = $4 }
    /^rename .*\.fuse_hidden/ && call == "UNLINK"')
[ -z "$hidden" ] || { echo "FAIL: removed while still open: $hidden"; exit 1; }

#!/usr/bin/env bash
# Runs the save tests that need a file system of their own: a tiny tmpfs that holds older files
# and is otherwise full, and an overlay whose lower layer holds a file with two hard links, as
# in a container. The mounts live in a private mount namespace, so nothing leaks out. Exits 77
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
trap 'umount "$dir/full" "$dir/merged" "$dir" 2>/dev/null; rm -rf "$dir"' EXIT
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

ZEV_FULL_DISK_DIR=$dir/full ZEV_OVERLAY_DIR=$dir/merged QT_QPA_PLATFORM=offscreen \
    "$test_binary" savesOnFileSystemsOfTheirOwn

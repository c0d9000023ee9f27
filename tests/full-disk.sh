#!/usr/bin/env bash
# Runs the full-disk save test on a tiny tmpfs that holds an older file and is otherwise full.
# The mount lives in a private mount namespace, so nothing leaks out. Exits 77 (skipped),
# saying why in a "left out:" line, when the namespace or the mount cannot be made here.
set -u
test_binary=$1
"$(dirname "$0")/require-tool.sh" util-linux unshare && "$(dirname "$0")/require-tool.sh" mount mount ||
    exit 1

if [ "${ZEV_IN_NAMESPACE:-}" != 1 ]; then
    if ! unshare -m --propagation private true 2>/dev/null; then
        echo "left out: tst_save_full_disk: needs root, for a private mount namespace and a tiny tmpfs"
        exit 77
    fi
    ZEV_IN_NAMESPACE=1 exec unshare -m --propagation private "$0" "$@"
fi

dir=$(mktemp -d)
if ! mount -t tmpfs -o size=16k tmpfs "$dir"; then
    echo "left out: tst_save_full_disk: could not mount a tiny tmpfs here"; exit 77
fi
trap 'umount "$dir"; rmdir "$dir"' EXIT
printf ' 2 \r\n 3 \r\n' > "$dir/Hős.txt"
dd if=/dev/zero of="$dir/filler" bs=1k 2>/dev/null
echo "free bytes left: $(df -B1 --output=avail "$dir" | tail -1)"

ZEV_FULL_DISK_DIR=$dir QT_QPA_PLATFORM=offscreen "$test_binary" fullDiskKeepsTheOlderFile

#!/usr/bin/env bash
# One save, then the same save again once for every file-system call it makes with that call
# failing (ENOSPC, EIO, EDQUOT), once for every call with the process killed there, and once
# for every write storing only part of its bytes before the next one fails. Run over a plain
# file (replaced by a rename), over one of two hard links (rewritten in place) and where no file
# was, with old files longer, shorter and as long as the new one. After every run the file must
# hold exactly its old bytes or exactly the new ones, or, killed in place, the copy beside it
# must hold the whole old bytes; the save must have reported an error exactly when the file is
# not new, and a reported failure must leave no other file behind. Then, as root, the cases of
# files a save must refuse or keep as they are, each run once as the user the case names.
# Usage: fault-runs.sh SAVE-ONCE PARTIAL-WRITE-SHIM
set -u
save_once=$(realpath "$1") shim=$(realpath "$2")
for tool in "strace strace" "attr setfattr" "acl setfacl" "time /usr/bin/time"; do
    "$(dirname "$0")/../require-tool.sh" $tool || exit 1
done
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
# The cases run as nobody, who may not enter a build folder under /root: a copy they can run.
cp "$save_once" "$work/save_once" && save_once=$work/save_once

lines() { for i in $(seq "$2"); do printf ' %s \r\n' "$1"; done; }
lines 2 14000 >"$work/longer"
lines 2 20 >"$work/shorter"
lines 2 39 >"$work/equal"
{ lines 4 1; lines 1 8; lines 0 29; lines 5 1; } >"$work/new"

declare -A tally
bad=0

prepare() {
    rm -rf "$work/d" && mkdir "$work/d"
    [ "$1" = new ] && return
    cp "$work/$2" "$work/d/t.txt"
    # An attribute to carry over, so that the calls that carry it are among those failed.
    setfattr -n user.note -v kept "$work/d/t.txt"
    if [ "$1" = in-place ]; then ln "$work/d/t.txt" "$work/d/other.txt"; fi
}

# judge PATH-KIND OLD EXIT-STATUS WHAT: files the outcome of one run.
judge() {
    local kind=$1 old=$2 status=$3 what=$4 state outcome names
    if [ ! -e "$work/d/t.txt" ] && [ "$kind" = new ]; then state=old
    elif cmp -s "$work/d/t.txt" "$work/new"; then state=new
    elif cmp -s "$work/d/t.txt" "$work/$old"; then state=old
    else state=mixed; fi
    names=$(ls -A "$work/d" | tr '\n' ' ')
    case "$status:$state" in
        0:new) outcome="saved" ;;
        3:old) outcome="failure reported, old kept" ;;
        3:*) outcome="BAD: failure reported, file $state" ;;
        0:*) outcome="BAD: success reported, file $state" ;;
        137:old | 137:new) outcome="killed, file $state" ;;
        137:mixed) outcome="BAD: killed, file mixed, no whole copy of the old beside it"
            for copy in "$work"/d/t.txt~*; do
                cmp -s "$copy" "$work/$old" && outcome="killed, file mixed, the copy beside it whole old"
            done ;;
        *) outcome="BAD: exit $status, file $state" ;;
    esac
    if [ "$status" = 3 ] && [ -n "$names" ] && [ "$names" != "t.txt " ] && [ "$names" != "other.txt t.txt " ]; then
        outcome="BAD: failure reported, left $names"
    fi
    if [ "$kind" = in-place ] && [ "$(stat -c %i "$work/d/t.txt")" != "$(stat -c %i "$work/d/other.txt")" ]; then
        outcome="BAD: the two names no longer share the file"
    fi
    tally[$kind, $old: $outcome]=$((${tally[$kind, $old: $outcome]:-0} + 1))
    if [[ $outcome == BAD* ]]; then
        bad=$((bad + 1))
        echo "$kind, $old, $what: $outcome"
    fi
}

for old in longer shorter equal; do for kind in atomic in-place new; do
    [ "$kind" = new ] && [ "$old" != equal ] && continue
    prepare "$kind" "$old"
    (cd "$work/d" && strace -f -qq -o "$work/log" -e trace=%file,%desc,getppid "$save_once" t.txt)
    judge "$kind" "$old" $? "no fault"
    # The save's calls: those between the two getppid markers, each with its ordinal among the
    # calls of that name, which is what strace's when= counts.
    awk '{ sub(/^[0-9]+ +/, ""); name = $0; sub(/\(.*/, "", name); seen[name]++ }
         name == "getppid" { marks++; next }
         marks == 1 && name ~ /^[a-z_0-9]+$/ { print name, seen[name] }' "$work/log" >"$work/calls"
    echo "$kind, $old: $(wc -l <"$work/calls") file-system calls in one save: $(awk '{ print $1 }' "$work/calls" | sort | uniq -c | awk '{ printf "%s %s, ", $2, $1 }')"
    while read -r call nth; do
        for fault in error=ENOSPC error=EIO error=EDQUOT signal=KILL; do
            prepare "$kind" "$old"
            { (cd "$work/d" && timeout 10 strace -f -qq -o /dev/null -e trace="$call" \
                -e inject="$call:$fault:when=$nth" "$save_once" t.txt); } 2>/dev/null
            judge "$kind" "$old" $? "$call #$nth $fault" 2>/dev/null
        done
    done <"$work/calls"
    writes=$(grep -cE '^(write|pwrite64) ' "$work/calls")
    for nth in $(seq "$writes"); do
        prepare "$kind" "$old"
        (cd "$work/d" && LD_PRELOAD=$shim ZEV_PARTIAL_AT=$nth timeout 10 "$save_once" t.txt) 2>/dev/null
        judge "$kind" "$old" $? "write #$nth stores half"
    done
done; done

# case WHO EXPECT SETUP: t.txt holds the old bytes and belongs to the user, in a folder the user
# may write; after SETUP it is saved once as WHO (user: nobody; member: nobody in group users;
# bind: root, with t.txt bound onto itself), and the save must end within 3 seconds. EXPECT is
# "saved" (then the file holds the new bytes and nothing else about it changed) or a word of the
# message (then nothing in the folder changed).
cases() {
    cat <<'EOF'
user jogosultság chmod 444 t.txt
user jogosultság chmod 444 t.txt && mv t.txt real && ln -s real t.txt
user közönséges rm t.txt && mkfifo -m 622 t.txt && chown root t.txt
root közönséges ln -sf /dev/zero t.txt
root közönséges ln -sf /dev/full t.txt
root közönséges ln -sf /dev/null t.txt
root közönséges mknod blk b 7 0 && ln -sf blk t.txt
root szimbolikus for i in $(seq 45); do ln -s l$i l$((i - 1)); done && mv t.txt l45 && ln -s l0 t.txt
root saved chmod 600 t.txt
user saved chmod 600 t.txt
root saved chmod 640 t.txt && setfacl -d -m u:4242:rw .
user saved chmod 640 t.txt && setfacl -d -m u:4242:rw .
user saved setfattr -n trusted.note -v kept t.txt
root saved setfattr -n trusted.note -v kept t.txt
bind saved true
member saved chgrp users . t.txt && chmod 2777 . && chmod 2664 t.txt
root saved chgrp users . t.txt && chmod 2777 . && chmod 2775 t.txt
EOF
}

# Everything in the folder that a save must keep; with "untouched", also sizes and times.
look() {
    local extra=${1:+%i %s %T@}
    (cd "$work/d" && find . -printf "%y %u:%g %m %n %p %l $extra\n" | sort &&
        getfattr -R -h -m - -d . && getfacl -R -p -P . && stat -L -c "%A %U:%G" t.txt) 2>&1
}

run_as() {
    case $1 in
        user) setpriv --reuid=nobody --regid=nogroup --clear-groups "${@:2}" ;;
        member) setpriv --reuid=nobody --regid=nogroup --groups=users "${@:2}" ;;
        bind) unshare -m --propagation private sh -c 'mount --bind t.txt t.txt && exec "$@"' - "${@:2}" ;;
        *) "${@:2}" ;;
    esac
}

if [ "$(id -u)" != 0 ]; then
    while read -r who expect setup; do
        echo "left out: save_faults case '$setup' as $who: needs root"
    done < <(cases)
else
    mkdir -m 777 "$work/trace"
    while read -r who expect setup; do
        prepare atomic equal
        chown nobody:nogroup "$work/d" "$work/d/t.txt"
        if ! (cd "$work/d" && eval "$setup") 2>/dev/null; then
            echo "left out: save_faults case '$setup' as $who: could not be set up here"
            continue
        fi
        before=$(look ${expect%saved})
        message=$(cd "$work/d" && run_as "$who" timeout 3 strace -f -qq -o "$work/trace/opens" \
            -e trace=openat "$save_once" t.txt 2>&1)
        status=$?
        after=$(look ${expect%saved})
        outcome=
        if [ "$expect" = saved ]; then
            [ "$status" = 0 ] && cmp -s "$work/d/t.txt" "$work/new" || outcome+="BAD: not saved: $message; "
        elif [ "$status" != 3 ] || [[ $message != *"$expect"* ]]; then
            outcome+="BAD: exit $status, not refused with '$expect': $message; "
        fi
        [ "$before" = "$after" ] || outcome+="BAD: changed $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | tr '\n' ' '); "
        grep O_CREAT "$work/trace/opens" | grep -vq ', 0600)' && outcome+="BAD: made a file others may open; "
        echo "case $who '$setup': ${outcome:-ok}"
        [[ $outcome == BAD* ]] && bad=$((bad + 1))
    done < <(cases)
fi

# Memory: an old file of 128 MiB with two names is rewritten in place without being read whole.
prepare in-place equal
truncate -s 128M "$work/d/t.txt"
peak=$( (cd "$work/d" && /usr/bin/time -f %M "$save_once" t.txt) 2>&1 | tail -1)
echo "peak memory over an old file of 128 MiB: $peak KiB"
[ "$peak" -lt 65536 ] || { echo "BAD: the old file was held in memory"; bad=$((bad + 1)); }
cmp -s "$work/d/t.txt" "$work/new" || { echo "BAD: the 128 MiB file was not saved"; bad=$((bad + 1)); }

for outcome in "${!tally[@]}"; do
    echo "${tally[$outcome]} × $outcome"
done | sort -t: -k1,1 -k2
echo "runs: $(( $(printf '%s\n' "${tally[@]}" | paste -sd+) )), bad: $bad"
[ "$bad" = 0 ]

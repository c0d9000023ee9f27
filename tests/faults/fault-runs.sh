#!/usr/bin/env bash
# One save, then the same save again once for every file-system call it makes with that call
# failing (ENOSPC, EIO, EDQUOT), once for every call with the process killed there, and once
# for every write storing only part of its bytes before the next one fails. Run over a plain
# file (replaced by a rename) and over one of two hard links (rewritten in place). After every
# run the file must hold exactly its old bytes or exactly the new ones, the save must have
# reported an error exactly when they are not the new ones, and a reported failure must leave
# no temporary file behind.
# Usage: fault-runs.sh SAVE-ONCE PARTIAL-WRITE-SHIM
set -u
save_once=$(realpath "$1") shim=$(realpath "$2")
"$(dirname "$0")/../require-tool.sh" strace strace && "$(dirname "$0")/../require-tool.sh" attr setfattr ||
    exit 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for i in $(seq 39); do printf ' 2 \r\n'; done >"$work/old"
{ printf ' 4 \r\n'; for i in $(seq 8); do printf ' 1 \r\n'; done
  for i in $(seq 29); do printf ' 0 \r\n'; done; printf ' 5 \r\n'; } >"$work/new"

declare -A tally
bad=0

prepare() {
    rm -rf "$work/d" && mkdir "$work/d" && cp "$work/old" "$work/d/t.txt"
    # An attribute to carry over, so that the calls that carry it are among those failed.
    setfattr -n user.note -v kept "$work/d/t.txt"
    if [ "$1" = in-place ]; then ln "$work/d/t.txt" "$work/d/other.txt"; fi
}

# judge PATH-KIND EXIT-STATUS WHAT: files the outcome of one run.
judge() {
    local kind=$1 status=$2 what=$3 state outcome names
    if cmp -s "$work/d/t.txt" "$work/new"; then state=new
    elif cmp -s "$work/d/t.txt" "$work/old"; then state=old
    else state=mixed; fi
    names=$(ls -A "$work/d" | tr '\n' ' ')
    case "$status:$state" in
        0:new) outcome="saved" ;;
        3:old) outcome="failure reported, old kept" ;;
        3:*) outcome="BAD: failure reported, file $state" ;;
        0:*) outcome="BAD: success reported, file $state" ;;
        137:old | 137:new) outcome="killed, file $state" ;;
        *) outcome="BAD: exit $status, file $state" ;;
    esac
    if [ "$status" = 3 ] && [ "$names" != "t.txt " ] && [ "$names" != "other.txt t.txt " ]; then
        outcome="BAD: failure reported, left $names"
    fi
    if [ "$kind" = in-place ] && [ "$(stat -c %i "$work/d/t.txt")" != "$(stat -c %i "$work/d/other.txt")" ]; then
        outcome="BAD: the two names no longer share the file"
    fi
    tally[$kind: $outcome]=$((${tally[$kind: $outcome]:-0} + 1))
    if [[ $outcome == BAD* ]]; then
        bad=$((bad + 1))
        echo "$kind, $what: $outcome"
    fi
}

for kind in atomic in-place; do
    prepare "$kind"
    (cd "$work/d" && strace -f -qq -o "$work/log" -e trace=%file,%desc,getppid "$save_once" t.txt)
    judge "$kind" $? "no fault"
    # The save's calls: those between the two getppid markers, each with its ordinal among the
    # calls of that name, which is what strace's when= counts.
    awk '{ sub(/^[0-9]+ +/, ""); name = $0; sub(/\(.*/, "", name); seen[name]++ }
         name == "getppid" { marks++; next }
         marks == 1 && name ~ /^[a-z_0-9]+$/ { print name, seen[name] }' "$work/log" >"$work/calls"
    echo "$kind: $(wc -l <"$work/calls") file-system calls in one save: $(awk '{ print $1 }' "$work/calls" | sort | uniq -c | awk '{ printf "%s %s, ", $2, $1 }')"
    while read -r call nth; do
        for fault in error=ENOSPC error=EIO error=EDQUOT signal=KILL; do
            prepare "$kind"
            { (cd "$work/d" && strace -f -qq -o /dev/null -e trace="$call" \
                -e inject="$call:$fault:when=$nth" "$save_once" t.txt); } 2>/dev/null
            judge "$kind" $? "$call #$nth $fault" 2>/dev/null
        done
    done <"$work/calls"
    writes=$(grep -cE '^(write|pwrite64) ' "$work/calls")
    for nth in $(seq "$writes"); do
        prepare "$kind"
        (cd "$work/d" && LD_PRELOAD=$shim ZEV_PARTIAL_AT=$nth "$save_once" t.txt) 2>/dev/null
        judge "$kind" $? "write #$nth stores half"
    done
done

total=0
for outcome in "${!tally[@]}"; do
    echo "${tally[$outcome]} × $outcome"
    total=$((total + tally[$outcome]))
done | sort -k3
echo "runs: $(( $(printf '%s\n' "${tally[@]}" | paste -sd+) )), bad: $bad"
[ "$bad" = 0 ]

#!/usr/bin/env bash
# One save, then the same save again once for every file-system call it makes with that call
# failing (ENOSPC, EIO, EDQUOT; a write also storing nothing), once for every call with the
# process killed there, once for every write storing only part of its bytes (then the next write
# failing, or going on), and once for every write failing with every write after it, the one
# that would put the old bytes back too. Run over a plain file (replaced by a rename when root
# saves), over one of two hard links, over a file in a folder the saving user may not write and
# over one the user may write but not read (all rewritten in place), where no file was and
# through a link to a file that is not there yet, with old files longer, shorter and as long as
# the new one.
#
# After every run the file holds exactly its old bytes or exactly the new ones, with its inode
# (kept in place; a new one when root renames), owner, mode and attributes as before; or, killed
# while rewritten in place, a copy beside it or in the private folder holds the whole old bytes.
# An error is reported exactly when the file is not new; a reported failure leaves no other file
# behind and never says the file may be damaged, but where the writes that would put the old
# bytes back fail too: then it says so and names a copy that holds them whole. Only a file the
# user may not read, of which no copy can be made, may be left mixed, and a failure says so.
# Then, as root, the cases of files a save must refuse or keep as they are, each run once as
# the user the case names.
# Usage: fault-runs.sh SAVE-ONCE PARTIAL-WRITE-SHIM
set -u
save_once=$(realpath "$1") shim=$(realpath "$2")
for tool in "strace strace" "attr setfattr" "acl setfacl" "time /usr/bin/time"; do
    "$(dirname "$0")/../require-tool.sh" $tool || exit 1
done
work=$(mktemp -d)
chmod 755 "$work"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
# The cases run as nobody, who may not enter a build folder under /root: a copy they can run.
cp "$save_once" "$work/save_once" && save_once=$work/save_once
root=false
[ "$(id -u)" = 0 ] && root=true
# The saving user's private folder, where copies go that may not lie beside their file.
export XDG_STATE_HOME=$work/state
mkdir -m 700 "$XDG_STATE_HOME"
$root && chown nobody "$XDG_STATE_HOME"

lines() { for i in $(seq "$2"); do printf ' %s \r\n' "$1"; done; }
lines 2 14000 >"$work/longer"
lines 2 20 >"$work/shorter"
lines 2 39 >"$work/equal"
{ lines 4 1; lines 1 8; lines 0 29; lines 5 1; } >"$work/new"

declare -A tally
bad=0

prepare() {
    chmod -R u+w "$work/d" 2>/dev/null
    rm -rf "$work/d" "$XDG_STATE_HOME/zev" && mkdir "$work/d"
    [ "$1" = new ] || [ "$1" = dangling ] || cp "$work/$2" "$work/d/t.txt"
    setfacl -d -m u:4242:rw "$work/d"
    [ "$1" = dangling ] && ln -s target.txt "$work/d/t.txt"
    [ "$1" = new ] || [ "$1" = dangling ] && return
    # What a save must carry over, so that the calls that carry it are among those failed: an
    # attribute, a mode not the temporary file's, another owner, and not the access control list
    # that a new file inherits from the folder (set before the file was put there).
    setfattr -n user.note -v kept "$work/d/t.txt"
    chmod 640 "$work/d/t.txt"
    $root && chown nobody "$work/d/t.txt"
    if [ "$1" = in-place ]; then ln "$work/d/t.txt" "$work/d/other.txt"; fi
    [ "$1" = write-only ] && chmod 200 "$work/d/t.txt"
    if [ "$1" = locked ]; then
        if $root; then chown root "$work/d"; else chmod 555 "$work/d"; fi
    fi
}

# save KIND [ENV...]: the save, as the user the kind needs (nobody for a locked folder, as root).
save() {
    local kind=$1
    shift
    local as=()
    [ "$kind" = locked ] || [ "$kind" = write-only ] && $root &&
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    (cd "$work/d" && env "$@" "${as[@]}" "$save_once" t.txt 2>"$work/message")
}

identity() { [ -e "$work/d/t.txt" ] && (cd "$work/d" && stat -c '%U:%G %a' t.txt && getfattr -d -m - t.txt); }
copies() { find "$work/d" "$XDG_STATE_HOME" -name 't.txt~*' 2>/dev/null; }

made_as_any_new_file() {
    (cd "$work/d" && touch ref && [ "$(stat -L -c %a t.txt; getfacl -c t.txt)" = "$(stat -c %a ref; getfacl -c ref)" ] &&
        rm ref)
}

# judge KIND OLD EXIT-STATUS WHAT [WAY]: files the outcome of one run. WAY is the inode the file
# must have after a save: "kept" or "new"; unset when either will do.
judge() {
    local kind=$1 old=$2 status=$3 what=$4 way=${5:-} state outcome names inode copy
    if [ ! -e "$work/d/t.txt" ] && [ -z "$old_inode" ]; then state=old
    elif cmp -s "$work/d/t.txt" "$work/new"; then state=new
    elif cmp -s "$work/d/t.txt" "$work/$old"; then state=old
    else state=mixed; fi
    names=$(ls -A "$work/d" "$XDG_STATE_HOME"/zev 2>/dev/null | grep -v -e '^$' -e : | tr '\n' ' ')
    case "$status:$state" in
        0:new) outcome="saved" ;;
        3:old) outcome="failure reported, old kept" ;;
        3:*) outcome="BAD: failure reported, file $state" ;;
        0:*) outcome="BAD: success reported, file $state" ;;
        137:old | 137:new) outcome="killed, file $state" ;;
        137:mixed) outcome="BAD: killed, file mixed, no whole copy of the old"
            [ "$kind" = write-only ] && outcome="killed, file mixed, as no copy can be made of it"
            for copy in $(copies); do
                cmp -s "$copy" "$work/$old" && outcome="killed, file mixed, a copy whole old"
            done ;;
        *) outcome="BAD: exit $status, file $state" ;;
    esac
    if grep -q megsérülhetett "$work/message" 2>/dev/null; then
        copy=$(sed -n 's/^A régi tartalma egészben megvan itt: //p' "$work/message")
        if [ "$status" = 3 ] && (cd "$work/d" && cmp -s "$copy" "$work/$old"); then
            outcome="damage reported, a whole copy named"
        elif [ "$status" = 3 ] && [ "$kind" = write-only ] && [ -z "$copy" ]; then
            outcome="damage reported of a file no copy can be made of"
        else
            outcome="BAD: damage reported, no whole copy named: $(cat "$work/message")"
        fi
    elif grep -q 'félig' "$work/message" 2>/dev/null && [ ! -e "$work/d/t.txt" ]; then
        outcome="BAD: a half-written new file said to be left, where there is none"
    elif [ "$status" = 3 ] && [ -n "$names" ] && [ "$names" != "t.txt " ] && [ "$names" != "other.txt t.txt " ]; then
        outcome="BAD: failure reported, left $names"
    fi
    if [ "$status" = 0 ] && [ -z "$old_inode" ] && ! made_as_any_new_file; then
        outcome="BAD: saved, but not with the mode and access control list of any new file"
    fi
    # A copy that could not be removed is only an old version left behind.
    if [ "$status" = 0 ] && [ -n "$(copies)" ] && [[ $what != unlinkat* ]]; then
        outcome="BAD: saved, but left a copy: $(copies)"
    fi
    if [ -n "$old_inode" ] && [ "$state" != mixed ] && [ "$(identity)" != "$ident" ]; then
        outcome="BAD: file $state, but its owner, mode or attributes changed: $(identity)"
    fi
    inode=$(stat -L -c %i "$work/d/t.txt" 2>/dev/null)
    if [ "$kind" = in-place ] && [ "$inode" != "$(stat -c %i "$work/d/other.txt")" ]; then
        outcome="BAD: the two names no longer share the file"
    elif [ "$way:$status" = "kept:0" ] && [ "$inode" != "$old_inode" ]; then
        outcome="BAD: saved by a rename where the file must be rewritten in place"
    elif [ "$way:$status" = "new:0" ] && [ "$inode" = "$old_inode" ]; then
        outcome="BAD: rewritten in place where root renames"
    fi
    tally[$kind, $old: $outcome]=$((${tally[$kind, $old: $outcome]:-0} + 1))
    if [[ $outcome == BAD* ]]; then
        bad=$((bad + 1))
        echo "$kind, $old, $what: $outcome"
    fi
}

# fresh KIND OLD: a new folder with the old file, and what it must keep.
fresh() {
    prepare "$1" "$2"
    ident=$(identity)
    old_inode=$(stat -L -c %i "$work/d/t.txt" 2>/dev/null)
}

# A file its saver may write but not read is judged by root, who may read it.
$root || echo "left out: save_faults kind write-only: needs root, to read what its saver may not"
for old in longer shorter equal; do for kind in atomic in-place locked write-only new dangling; do
    [ "$kind" = write-only ] && ! $root && continue
    way=kept
    [ "$kind" = atomic ] && $root && way=new
    if [ "$kind" = new ] || [ "$kind" = dangling ]; then
        [ "$old" = equal ] || continue
        way=
    fi
    fresh "$kind" "$old"
    save "$kind" strace -f -qq -o "$work/log" -e trace=%file,%desc,getppid
    status=$?
    [ "$status" = 0 ] || status="$status, where nothing failed,"
    judge "$kind" "$old" "$status" "no fault" $way
    # What no outcome shows: the private folder and a new file's own folder are the user's
    # alone, and an ordinary user's save makes no temporary file only to rewrite in place.
    { [ "$kind" != locked ] || [ "$(stat -c %a "$XDG_STATE_HOME/zev")" = 700 ]; } &&
        { [ "$kind" != new ] || { grep -q 'mkdirat(.*, 0700)' "$work/log" &&
            grep -q '"new", O_WRONLY|O_CREAT|O_EXCL|O_CLOEXEC, 0600' "$work/log"; }; } &&
        { $root || [ "$kind" = new ] || [ "$kind" = dangling ] || ! grep -q '\.zev-' "$work/log"; } ||
        { echo "BAD: $kind, $old: a folder others may enter, or a needless temporary file"; bad=$((bad + 1)); }
    [ "$kind" = atomic ] && way= # a failed step on the way to a rename may turn to the other way
    # The save's calls: those between the two getppid markers, each with its ordinal among the
    # calls of that name, which is what strace's when= counts.
    awk '{ sub(/^[0-9]+ +/, ""); name = $0; sub(/\(.*/, "", name); seen[name]++ }
         name == "getppid" { marks++; next }
         marks == 1 && name ~ /^[a-z_0-9]+$/ { print name, seen[name] }' "$work/log" >"$work/calls"
    echo "$kind, $old: $(wc -l <"$work/calls") file-system calls in one save: $(awk '{ print $1 }' "$work/calls" | sort | uniq -c | awk '{ printf "%s %s, ", $2, $1 }')"
    while read -r call nth; do
        for fault in error=ENOSPC error=EIO error=EDQUOT signal=KILL $([ "$call" = pwrite64 ] && echo retval=0); do
            fresh "$kind" "$old"
            save "$kind" timeout 10 strace -f -qq -o /dev/null -e trace="$call" \
                -e inject="$call:$fault:when=$nth" 2>/dev/null
            status=$?
            # A write that stored nothing, or a read of the old content (only ever for its copy)
            # that failed, must fail the save: its bytes are not where they were to go.
            [[ $call:$fault == pread64:error* || $fault == retval=0 ]] && [ "$status" = 0 ] &&
                status="0, though the copy or the content was not written whole,"
            judge "$kind" "$old" "$status" "$call #$nth $fault" $way 2>/dev/null
        done
        # This write failing, and every one after it: putting the old bytes back fails too.
        [ "$call" = pwrite64 ] || continue
        fresh "$kind" "$old"
        save "$kind" timeout 10 strace -f -qq -o /dev/null -e trace=pwrite64 \
            -e inject="pwrite64:error=EIO:when=$nth+" 2>/dev/null
        judge "$kind" "$old" $? "pwrite64 #$nth and after EIO" $way 2>/dev/null
    done <"$work/calls"
    # A copy refused beside the file goes to the private folder, and the save goes on.
    copy_open=$(awk '/^[0-9]+ +openat\(/ { n++ } /"t\.txt~", O_RDWR\|O_CREAT/ { print n; exit }' "$work/log")
    for refusal in ${copy_open:+EACCES EPERM}; do
        fresh "$kind" "$old"
        save "$kind" strace -f -qq -o /dev/null -e trace=openat -e inject=openat:error=$refusal:when=$copy_open
        status=$?
        [ "$status" = 0 ] || status="$status, where the copy could go to the private folder,"
        judge "$kind" "$old" "$status" "the copy beside refused: $refusal"
    done
    # Where no private folder can be made, the file itself is written; failing too, it goes.
    if [ "$kind" = new ] || [ "$kind" = dangling ]; then
        fresh "$kind" "$old"
        save "$kind" timeout 10 strace -f -qq -o /dev/null -e trace=mkdirat,pwrite64 \
            -e inject=mkdirat:error=EDQUOT -e inject=pwrite64:error=ENOSPC 2>/dev/null
        judge "$kind" "$old" $? "mkdirat and pwrite64 EDQUOT, ENOSPC" 2>/dev/null
    fi
    writes=$(grep -cE '^(write|pwrite64) ' "$work/calls")
    for nth in $(seq "$writes"); do
        for then in fails goes-on; do
            fresh "$kind" "$old"
            save "$kind" LD_PRELOAD="$shim" ZEV_PARTIAL_AT="$nth" ZEV_PARTIAL_THEN=$then timeout 10
            status=$?
            # A write that goes on after storing part of its bytes has failed nothing.
            [ "$then:$status" = goes-on:3 ] && status="3, though nothing failed,"
            judge "$kind" "$old" "$status" "write #$nth stores half, the next $then" $way
        done
    done
    [ "$kind" != in-place ] && [ "$kind" != locked ] || [ "${tally[$kind, $old: damage reported, a whole copy named]:-0}" -gt 0 ] ||
        { echo "BAD: $kind, $old: no double fault reached a reported damage"; bad=$((bad + 1)); }
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
user saved chmod 220 t.txt
user saved chmod 666 t.txt && chown root . && chmod 755 .
user saved echo keep >t.txt~ && chown nobody t.txt~
root saved echo keep >t.txt~ && ln t.txt t2.txt
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
        getfattr -R -h -m - -d . && getfacl -R -p -P . && stat -L -c "%A %U:%G" t.txt &&
        cksum t.txt~ && ls -A "$XDG_STATE_HOME/zev") 2>&1
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

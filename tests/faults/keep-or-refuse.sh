#!/usr/bin/env bash
# Files a save must refuse or keep as they are, each saved once as the user the case names.
# t.txt holds the old bytes and belongs to the user, in a folder the user may write; after the
# case's set-up it is saved once as WHO (user: nobody; member: nobody in group users; bind:
# root, with t.txt bound onto itself; root), and the save must end within 3 seconds. EXPECT is
# "saved" (then the file holds the new bytes and nothing else about it changed) or a word of the
# message (then nothing in the folder changed). Needs root, to be other users.
# Usage: keep-or-refuse.sh SAVE-ONCE
set -u
save_once=$(realpath "$1")
for tool in "strace strace" "attr setfattr" "acl setfacl"; do
    "$(dirname "$0")/../require-tool.sh" $tool || exit 1
done

cases() {
    cat <<'EOF_CASES'
user jogosultság chmod 444 t.txt
user jogosultság chmod 444 t.txt && mv t.txt real && ln -s real t.txt
user cső rm t.txt && mkfifo -m 622 t.txt && chown root t.txt
root eszköz ln -sf /dev/zero t.txt
root eszköz ln -sf /dev/full t.txt
root eszköz ln -sf /dev/null t.txt
root eszköz mknod blk b 7 0 && ln -sf blk t.txt
root szimbolikus for i in $(seq 45); do ln -s l$i l$((i - 1)); done && mv t.txt l45 && ln -s l0 t.txt
root szimbolikus for i in $(seq 40); do ln -s l$i l$((i - 1)); done && mv t.txt l40 && ln -s l0 t.txt
user saved for i in $(seq 39); do ln -s l$i l$((i - 1)); done && mv t.txt l39 && ln -s l0 t.txt
user saved mv t.txt $(printf %0248d 0).txt && ln -s $(printf %0248d 0).txt t.txt
user saved mv t.txt $(printf %0251d 0).txt && ln -s $(printf %0251d 0).txt t.txt
root saved chmod 600 t.txt
user saved chmod 600 t.txt
root saved chmod 640 t.txt && setfacl -d -m u:4242:rw .
user saved chmod 640 t.txt && setfacl -d -m u:4242:rw .
user saved setfattr -n trusted.note -v kept t.txt
user saved chmod 220 t.txt
user saved chmod 666 t.txt && chown root . && chmod 755 .
user mappában chmod 555 . && rm t.txt
user saját chmod 666 t.txt && chown root . && chmod 755 . && chmod 500 "$XDG_STATE_HOME"
user saved echo keep >t.txt~ && chown nobody t.txt~
root saved echo keep >t.txt~ && ln t.txt t2.txt
root saved setfattr -n trusted.note -v kept t.txt
bind saved true
member saved chgrp users . t.txt && chmod 2777 . && chmod 2664 t.txt
root saved chgrp users . t.txt && chmod 2777 . && chmod 2775 t.txt
EOF_CASES
}

if [ "$(id -u)" != 0 ]; then
    while read -r who expect setup; do
        echo "left out: save_refusals case '$setup' as $who: needs root"
    done < <(cases)
    exit 0
fi

work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
# The cases run as nobody, who may not enter a build folder under /root: a copy they can run.
cp "$save_once" "$work/save_once" && save_once=$work/save_once
export XDG_STATE_HOME=$work/state
mkdir -m 700 "$XDG_STATE_HOME" "$work/trace" && chown nobody "$XDG_STATE_HOME" && chmod 777 "$work/trace"
for i in $(seq 39); do printf ' 2 \r\n'; done >"$work/old"
{ printf ' 4 \r\n'; for i in $(seq 8); do printf ' 1 \r\n'; done
  for i in $(seq 29); do printf ' 0 \r\n'; done; printf ' 5 \r\n'; } >"$work/new"

prepare() {
    chmod 700 "$XDG_STATE_HOME" && rm -rf "$work/d" "$XDG_STATE_HOME/zev" && mkdir "$work/d" &&
        cp "$work/old" "$work/d/t.txt"
    setfacl -d -m u:4242:rw "$work/d"
    setfattr -n user.note -v kept "$work/d/t.txt"
    chown nobody:nogroup "$work/d" "$work/d/t.txt"
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

bad=0
while read -r who expect setup; do
    prepare
    if ! (cd "$work/d" && eval "$setup") 2>/dev/null; then
        echo "left out: save_refusals case '$setup' as $who: could not be set up here"
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
    grep O_CREAT "$work/trace/opens" | grep -v '= -1 ' | grep -vq ', 0600)' &&
        outcome+="BAD: made a file others may open; "
    echo "case $who '$setup': ${outcome:-ok}"
    [[ $outcome == BAD* ]] && bad=$((bad + 1))
done < <(cases)
echo "cases: $(cases | wc -l), bad: $bad"
[ "$bad" = 0 ]

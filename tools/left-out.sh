#!/usr/bin/env bash
# left-out.sh BUILD-DIR...: after the tests ran, lists every case that said it was left out here
# (a "left out: WHY" line in the tests' log) and ends with one line that says how many and why.
# Under CI as root nothing may be left out: then any such case fails the run.
set -euo pipefail
for build in "$@"; do
    [ -f "$build/Testing/Temporary/LastTest.log" ] || { echo "FAIL: no test log in $build" >&2; exit 1; }
done
mapfile -t cases < <(cat "${@/%//Testing/Temporary/LastTest.log}" |
    grep -h 'left out: ' | sed -E 's/^SKIP +: +//; s/^left out: //; s/ left out: /: /' | sort -u)
if [ "${#cases[@]}" -eq 0 ]; then
    echo "left out: nothing, every case ran"
    exit 0
fi
printf '  %s\n' "${cases[@]}"
root=$(printf '%s\n' "${cases[@]}" | grep -c 'needs root' || true)
other=$((${#cases[@]} - root))
line="${#cases[@]} of the cases were left out (listed above)"
[ "$root" -gt 0 ] && line+=": $root need root: run \`sudo ./test.sh\` to include them"
[ "$other" -gt 0 ] && line+="; $other could not be set up on this machine"
if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then
    echo "FAIL: $line; under CI as root every case must run" >&2
    exit 1
fi
echo "$line"

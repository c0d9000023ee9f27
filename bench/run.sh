#!/usr/bin/env bash
# Measures ZEV against a bare Qt window and writes a Markdown table of the results.
#   bench/run.sh                 full run: builds in build-bench, writes bench/results.md
#   bench/run.sh --smoke BUILD OUT   one quick pass with the programs of BUILD, table to OUT
# Start-up is timed from just before the process starts to its first painted sheet (the bare
# window: its first paint), median of RUNS runs, under Xvfb and on the offscreen platform.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --smoke ]; then
    smoke=1 build=$(realpath "$2") out=$3 runs=2 idle_seconds=1 idle_repeats=1
else
    smoke=0 build=$top/build-bench out=$top/bench/results.md runs=${RUNS:-25} idle_seconds=10
    idle_repeats=${IDLE_REPEATS:-3}
    source "$top/tools/ensure-packages.sh"
    zev_ensure_packages "${ZEV_BUILD_PACKAGES[@]}" xvfb
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target zev bench_bare_window bench_zev_window bench_inprocess
fi
zev=$build/app/zev bare=$build/bench/bench_bare_window firstpaint=$build/bench/bench_zev_window

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
xvfb_display=":$(head -n1 "$work/display")"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# on PLATFORM PROGRAM ARGS...: runs a program on xvfb or offscreen.
on() {
    local platform=$1; shift
    if [ "$platform" = xvfb ]; then
        env -u QT_QPA_PLATFORM DISPLAY="$xvfb_display" "$@"
    else
        env -u DISPLAY QT_QPA_PLATFORM=offscreen "$@"
    fi
}

# Milliseconds from start to first paint, median of $runs.
startup_ms() {
    local platform=$1 start painted
    shift
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        painted=$(on "$platform" timeout 20 "$@" --exit-after-first-paint)
        echo $(((painted - start) / 1000))
    done | median | awk '{ printf "%.1f", $1 / 1000 }'
}

# CPU nanoseconds and context switches of all threads of a process.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { printf "%d", s }'; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { s += $2 } END { print s }'; }

# Sets idle_cpu (% of one core), idle_wakeups (per second) and peak_rss (MB) of a program
# waiting under Xvfb.
idle() {
    local launcher pid t0 s0 t1 s1
    (cd "$work" && exec env -u QT_QPA_PLATFORM DISPLAY="$xvfb_display" "$@" >/dev/null 2>&1) &
    launcher=$!
    sleep 1.5 # past start-up
    pid=$(pgrep -P "$launcher" || echo "$launcher") # env may sit between the shell and it
    t0=$(cpu_ns "$pid") s0=$(switches "$pid")
    sleep "$idle_seconds"
    t1=$(cpu_ns "$pid") s1=$(switches "$pid")
    peak_rss=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$pid/status")
    kill "$pid"
    wait "$launcher" 2>/dev/null || true
    idle_cpu=$(awk -v d=$((t1 - t0)) -v s="$idle_seconds" 'BEGIN { printf "%.3f", 100 * d / 1e9 / s }')
    idle_wakeups=$(awk -v d=$((s1 - s0)) -v s="$idle_seconds" 'BEGIN { printf "%.0f", d / s }')
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }
difference() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%+.1f MB", a - b }'; }

declare -A start
for platform in xvfb offscreen; do
    start[zev,$platform]=$(startup_ms "$platform" "$firstpaint")
    start[bare,$platform]=$(startup_ms "$platform" "$bare")
    start[text,$platform]=$(startup_ms "$platform" "$bare" --with-text)
done
# A wake-up costs tens of microseconds give or take, so single 10 s samples of the two
# programs differ by more than the programs do; alternate them and take the medians.
for _ in $(seq "$idle_repeats"); do
    idle "$zev" && echo "$idle_cpu $idle_wakeups $peak_rss" >>"$work/idle-zev"
    idle "$bare" && echo "$idle_cpu $idle_wakeups $peak_rss" >>"$work/idle-bare"
    idle "$bare" --with-text && echo "$idle_cpu $idle_wakeups $peak_rss" >>"$work/idle-text"
done
declare -A cpu wake rss
for program in zev bare text; do
    cpu[$program]=$(awk '{ print $1 }' "$work/idle-$program" | median)
    wake[$program]=$(awk '{ print $2 }' "$work/idle-$program" | median)
    rss[$program]=$(awk '{ print $3 }' "$work/idle-$program" | median)
done
inprocess=$(on offscreen "$build/bench/bench_inprocess" $([ "$smoke" = 1 ] && echo --smoke) 2>/dev/null)
redraw_us=$(awk '/release_to_redraw_us/ { print $2 }' <<<"$inprocess")
save_us=$(awk '/save_us/ { print $2 }' <<<"$inprocess")
tick_ns=$(awk '/idle_tick_ns/ { print $2 }' <<<"$inprocess")

cpu_model=$(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo)
commit=$(git -C "$top" rev-parse --short HEAD 2>/dev/null || echo unknown)
cat >"$out" <<TABLE
# ZEV benchmark results

- date: $(date -u +%Y-%m-%d)
- commit: $commit
- machine: $cpu_model, $(nproc) cores
- start-up: median of $runs runs; idle: median of $idle_repeats runs of ${idle_seconds} s each after start-up, under Xvfb, zev and the bare window alternating

The floor is a bare Qt window of the same size with the same 10 ms timer; "with text" is
that window showing one label, the floor of any window that draws text.

| measure | zev | bare window | zev / bare | bare with text | zev / with text | target |
|---|---|---|---|---|---|---|
| time to first drawn sheet, Xvfb (ms) | ${start[zev,xvfb]} | ${start[bare,xvfb]} | $(ratio "${start[zev,xvfb]}" "${start[bare,xvfb]}") | ${start[text,xvfb]} | $(ratio "${start[zev,xvfb]}" "${start[text,xvfb]}") | ≤ 1.10 × bare |
| time to first drawn sheet, offscreen (ms) | ${start[zev,offscreen]} | ${start[bare,offscreen]} | $(ratio "${start[zev,offscreen]}" "${start[bare,offscreen]}") | ${start[text,offscreen]} | $(ratio "${start[zev,offscreen]}" "${start[text,offscreen]}") | ≤ 1.10 × bare |
| release to redrawn sheet, median (µs) | $redraw_us | | | | | ≤ 1000 |
| one save, median (µs) | $save_us | | | | | |
| one idle tick of the 10 ms timer, handler only (ns) | $tick_ns | | | | | |
| idle CPU (% of one core) | ${cpu[zev]} | ${cpu[bare]} | $(ratio "${cpu[zev]}" "${cpu[bare]}") | ${cpu[text]} | $(ratio "${cpu[zev]}" "${cpu[text]}") | ≤ 1.10 × bare |
| idle wake-ups (per second) | ${wake[zev]} | ${wake[bare]} | $(ratio "${wake[zev]}" "${wake[bare]}") | ${wake[text]} | $(ratio "${wake[zev]}" "${wake[text]}") | |
| peak resident set (MB) | ${rss[zev]} | ${rss[bare]} | $(difference "${rss[zev]}" "${rss[bare]}") | ${rss[text]} | $(difference "${rss[zev]}" "${rss[text]}") | ≤ bare + 3 MB |

Rerun with \`bench/run.sh\` (RUNS=N sets the number of start-up runs).
TABLE
cat "$out"

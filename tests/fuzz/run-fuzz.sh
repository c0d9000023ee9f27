#!/usr/bin/env bash
# Builds the release fuzzer with clang and runs it for a short, fixed time.
# Usage: run-fuzz.sh SOURCE-DIR WORK-DIR [SECONDS]
set -euo pipefail
src=$1 work=$2 seconds=${3:-20}
"$src/tests/require-tool.sh" clang clang++ || exit 1
mkdir -p "$work/corpus"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$src/src" "$src/tests/fuzz/fuzz_release.cpp" "$src/src/model/sheet.cpp" \
    "$src/src/model/traittable.cpp" "$src/src/ui/sheetlayout.cpp" "$src/src/ui/clickediting.cpp" \
    -o "$work/fuzz_release"
status=0
"$work/fuzz_release" -max_total_time="$seconds" -seed=1 -print_final_stats=1 "$work/corpus" \
    >"$work/fuzz.log" 2>&1 || status=$?
grep -E "stat::number_of_executed_units|Done|ERROR|SUMMARY|crash-" "$work/fuzz.log" || true
exit "$status"

#!/usr/bin/env bash
# Builds the fuzzers (releases on the sheet, the reading of a sheet's file) with clang and runs
# each for a short, fixed time.
# Usage: run-fuzz.sh SOURCE-DIR WORK-DIR [SECONDS]
set -euo pipefail
src=$1 work=$2 seconds=${3:-20}
"$src/tests/require-tool.sh" clang clang++ || exit 1
mkdir -p "$work/corpus" "$work/corpus-sheetfile"
build() {
    clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I"$src/src" "$src/tests/fuzz/$1.cpp" "$src/src/model/sheet.cpp" \
        "$src/src/model/traittable.cpp" "${@:2}" -o "$work/$1"
}
build fuzz_release "$src/src/ui/sheetlayout.cpp" "$src/src/ui/clickediting.cpp" \
    "$src/src/ui/traitedit.cpp"
build fuzz_sheetfile "$src/src/export/sheetfile.cpp"
# The sheet file's fuzzer starts from a file as a save writes it.
printf ' 1 \r\n%.0s' {1..9} >"$work/corpus-sheetfile/saved"
printf ' 0 \r\n%.0s' {1..30} >>"$work/corpus-sheetfile/saved"
status=0
for target in fuzz_release:corpus fuzz_sheetfile:corpus-sheetfile; do
    "$work/${target%%:*}" -max_total_time="$seconds" -seed=1 -print_final_stats=1 \
        "$work/${target#*:}" >"$work/${target%%:*}.log" 2>&1 || status=$?
    echo "${target%%:*}:"
    grep -E "stat::number_of_executed_units|Done|ERROR|SUMMARY|crash-" "$work/${target%%:*}.log" || true
done
exit "$status"

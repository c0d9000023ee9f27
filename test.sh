#!/usr/bin/env bash
# Installs what is missing, builds ZEV and runs every test twice: in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, then in a plain build with warnings as errors
# (unit, widget, end-to-end in a virtual X server, packaging, static analysis, fuzzing). Its last
# lines list the slowest tests against their limits and name the cases that could not run here
# (for an ordinary user, those that need root).
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
zev_ensure_packages "${ZEV_BUILD_PACKAGES[@]}" "${ZEV_TEST_PACKAGES[@]}"
jobs=$(nproc)

echo "== sanitized build: AddressSanitizer, UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZEV_WARNINGS_AS_ERRORS=ON \
      -DZEV_SANITIZE=ON -DBUILD_TESTING=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
    ctest --test-dir build-sanitize --no-tests=error --output-on-failure --timeout 300 -j"$jobs"

echo "== plain build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEV_WARNINGS_AS_ERRORS=ON -DBUILD_TESTING=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --no-tests=error --output-on-failure --timeout 300 -j"$jobs"

tools/slowest-tests.py build-sanitize build
tools/left-out.sh build-sanitize build

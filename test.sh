#!/usr/bin/env bash
# Installs what is missing, builds ZEV with warnings as errors and runs every test:
# unit and widget tests, end-to-end tests in a virtual X server, packaging checks.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
zev_ensure_packages "${ZEV_BUILD_PACKAGES[@]}" "${ZEV_TEST_PACKAGES[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEV_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure --timeout 300

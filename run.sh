#!/usr/bin/env bash
# Installs what is missing, builds ZEV and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
zev_ensure_packages "${ZEV_BUILD_PACKAGES[@]}"

# Tests off: their set-up looks for analysers and an X server that only test.sh installs.
# Said every time, so a test run's cached setting never carries over.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)" --target zev

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # Built and ready; only the window has nowhere to go. Not an error, so that a command
    # line such as "./run.sh && ./test.sh" goes on to the tests on a machine without one.
    echo "zev: built, but there is no display to open the window on; under a virtual X server run: xvfb-run -a $PWD/build/app/zev" >&2
    exit 0
fi
exec build/app/zev

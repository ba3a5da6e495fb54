#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and runs every test of both builds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

(cd build/native && ctest --output-on-failure -j2)

# The Windows tests open real windows: one virtual display serves the whole run.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" bash -c 'cd build/win && ctest --output-on-failure -j2'
fi
cd build/win && ctest --output-on-failure -j2

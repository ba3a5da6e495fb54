#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine and runs every test of both builds.
#   THERMOLYX_WINDOWS_TESTS=auto|32|64|both   which Windows suites run (default auto)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
. scripts/windows-suites.sh

failed=()
(cd build/native && ctest --output-on-failure -j2) || failed+=(native)

echo "Windows tests: ${windows_suites// / and }-bit: $windows_suites_why"
if [[ " $windows_suites " == *" 32 "* ]]; then
    scripts/windows-ctest.sh build/win || failed+=(win32)
else
    # The product is still checked where its tests cannot run.
    (cd build/win && ctest --output-on-failure -L '^shipped_imports$') || failed+=(win32-imports)
fi
if [[ " $windows_suites " == *" 64 "* ]]; then
    scripts/windows-ctest.sh build/win64 || failed+=(win64)
fi

if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed suites: ${failed[*]}" >&2
    exit 1
fi
echo "All suites passed: native, Windows ${windows_suites// / and }-bit"

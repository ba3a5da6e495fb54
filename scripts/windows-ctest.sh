#!/usr/bin/env bash
# Runs a Windows build tree's tests under Wine; extra arguments go to ctest.
#   scripts/windows-ctest.sh BUILD_TREE [CTEST_ARGS...]
# The tests open real windows: one virtual display serves the whole run.
set -euo pipefail
tree=$1
shift
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$tree" "$@"
fi
cd "$tree"
exec ctest --output-on-failure -j2 "$@"

#!/usr/bin/env bash
# The quick loop: rebuilds and re-runs one area's tests, without the set-up and
# without building anything else. Needs trees that scripts/build.sh made once.
#   scripts/retest.sh REGEX [TREE...]
# REGEX matches test labels: the executable's name for GoogleTest executables
# (shell_tests, 'update_(zip|http)', orvik_), a name of its own for a script test;
# TREE is native, win or win64 (default: every tree that is there and has tests).
set -euo pipefail
cd "$(dirname "$0")/.."
regex=${1:?usage: scripts/retest.sh REGEX [native|win|win64]...}
shift
trees=("$@")
if [ ${#trees[@]} -eq 0 ]; then
    for tree in native win win64; do
        [ -f "build/$tree/CTestTestfile.cmake" ] && trees+=("$tree")
    done
fi

status=0
for tree in "${trees[@]}"; do
    dir=build/$tree
    # Each test carries its executable's name as its label.
    mapfile -t targets < <(cd "$dir" && ctest --print-labels | sed -n 's/^  //p' | grep -E -- "$regex" || true)
    if [ ${#targets[@]} -eq 0 ]; then
        echo "$tree: no test executable matches '$regex'"
        continue
    fi
    labels="^($(IFS='|'; echo "${targets[*]}"))\$"
    # A label that names no target (a script test) needs nothing built.
    buildable=()
    for target in "${targets[@]}"; do
        ninja -C "$dir" -t query "$target" >/dev/null 2>&1 && buildable+=("$target")
    done
    echo "$tree: ${targets[*]}"
    if [ ${#buildable[@]} -gt 0 ]; then
        cmake --build "$dir" --target "${buildable[@]}" || { status=1; continue; }
    fi
    if [ "$tree" = native ]; then
        (cd "$dir" && ctest --output-on-failure -j2 -L "$labels") || status=1
    else
        scripts/windows-ctest.sh "$dir" -L "$labels" || status=1
    fi
done
exit $status

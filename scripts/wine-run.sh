#!/usr/bin/env bash
# Runs a Windows executable under Wine in a private prefix, for CTest and the
# end-to-end scripts. The prefix is made once (under a lock) and then reused.
#   WINE_TEST_PREFIX  the prefix folder (the build tree passes its own)
#   WINE_TEST_ARCH    win32 or win64: which loader runs the build tree's programs
# Every step that can keep Wine from starting says so on stderr, by name.
set -euo pipefail

prefix=${WINE_TEST_PREFIX:?WINE_TEST_PREFIX names the private Wine prefix}
arch=${WINE_TEST_ARCH:?WINE_TEST_ARCH is win32 or win64}
case $arch in
    # Debian's `wine` command prefers the 32-bit loader whenever it is installed,
    # so each build names its loader itself.
    win32) loader=/usr/lib/wine/wine ;;
    win64) loader=/usr/lib/wine/wine64 ;;
    *) echo "wine-run: WINE_TEST_ARCH is '$arch', not win32 or win64" >&2; exit 2 ;;
esac
export WINEPREFIX=$prefix WINEARCH=$arch WINELOADER=$loader
# Quiet, except that a program whose DLLs cannot be loaded says which.
export WINEDEBUG=-all,err+module
# Wine must never offer to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi

# Runs one step of the prefix set-up; on failure names it and shows what it printed.
step() {
    local name=$1 output
    shift
    if ! output=$("$@" 2>&1); then
        echo "wine-run: $name failed for the $arch prefix $prefix:" >&2
        printf '%s\n' "$output" | tail -n 20 >&2
        return 1
    fi
}

if [ ! -x "$loader" ]; then
    echo "wine-run: the $arch loader $loader is not installed (scripts/setup.sh installs it)" >&2
    exit 1
fi

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.thermolyx-ready" ]; then
        rm -rf "$prefix"
        step "starting the loader ($loader --version)" "$loader" --version
        step "making the prefix (wineboot -i)" "$loader" wineboot -i
        # Windows draws Arial; here the metric-compatible Liberation Sans stands in.
        step "mapping Arial to Liberation Sans (reg add)" "$loader" reg add \
            'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d 'Liberation Sans' /f
        step "waiting for the prefix to settle (wineserver -w)" wineserver -w
        touch "$prefix/.thermolyx-ready"
    fi
) 9>"$prefix.lock"

# Every test program prints before it can fail, so a failure with no output at all
# means Wine never started it (seen once under heavy load). Say so, and try once more.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
for attempt in 1 2; do
    # One stream, so the copy is complete when the pipeline ends.
    "$loader" "$@" 2>&1 | tee "$output" && status=0 || status=${PIPESTATUS[0]}
    if [ "$status" -eq 0 ] || [ -s "$output" ]; then
        exit "$status"
    fi
    echo "wine-run: $1 ended with status $status and printed nothing: Wine did not start it (attempt $attempt of 2)" >&2
    sleep 1
done
exit "$status"

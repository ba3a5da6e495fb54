#!/usr/bin/env bash
# Runs a Windows executable under Wine in a private prefix, for CTest and the
# end-to-end scripts. The prefix is made once (under a lock) and then reused.
#   WINE_TEST_PREFIX  the prefix folder (the build tree passes its own)
set -euo pipefail

prefix=${WINE_TEST_PREFIX:?WINE_TEST_PREFIX names the private Wine prefix}
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# Wine must never offer to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$@"
fi

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.thermolyx-ready" ]; then
        rm -rf "$prefix"
        wineboot -i >/dev/null 2>&1
        # Windows draws Arial; here the metric-compatible Liberation Sans stands in.
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ \
            /d 'Liberation Sans' /f >/dev/null 2>&1
        wineserver -w
        touch "$prefix/.thermolyx-ready"
    fi
) 9>"$prefix.lock"

exec wine "$@"

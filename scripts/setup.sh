#!/usr/bin/env bash
# Installs everything the builds and the tests need, from Debian's registries only.
# Both Wine loaders and both MinGW-w64 targets: which Windows suite runs depends on
# whether the machine runs 32-bit x86 code (scripts/windows-suites.sh).
# Safe to run again: every step checks before it changes anything.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then
    exec sudo -E "$0" "$@"
fi

export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi

# hidapi's source package is cross-built for Windows, so apt needs a deb-src entry.
src_list=/etc/apt/sources.list.d/debian-src.sources
if [ ! -f "$src_list" ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$src_list"
fi

packages=(
    cmake ninja-build make python3 dpkg-dev
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    libz-mingw-w64-dev zlib1g-dev libhidapi-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev
    wine wine32:i386 wine64 xvfb xauth
    fonts-open-sans fonts-liberation imagemagick xdotool unzip zip p7zip-full libarchive-tools
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ] || ! apt-cache showsrc hidapi >/dev/null 2>&1 || [ -z "$(apt-cache showsrc hidapi 2>/dev/null)" ]; then
    apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

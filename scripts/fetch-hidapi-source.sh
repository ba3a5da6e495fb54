#!/usr/bin/env bash
# Unpacks Debian's hidapi source package into the folder given, for the Windows
# build of the library. Needs the deb-src entry that scripts/setup.sh adds.
set -euo pipefail
dest=$1
[ -f "$dest/CMakeLists.txt" ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source --download-only hidapi >/dev/null 2>&1)
tarball=$(ls "$work"/hidapi_*.orig.tar.gz)
mkdir -p "$dest"
tar -xzf "$tarball" -C "$dest" --strip-components=1

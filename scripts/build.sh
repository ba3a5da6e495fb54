#!/usr/bin/env bash
# Configures and builds both trees: build/win (Windows, cross-compiled) and
# build/native (portable code under AddressSanitizer and UBSan).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686-posix.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build/win

cmake -S . -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
cmake --build build/native

#!/usr/bin/env bash
# Configures and builds the trees: build/win (the shipped 32-bit product, with its
# tests where the 32-bit suite runs), build/win64 (an x86_64 test build, only where
# the 64-bit suite runs) and build/native (portable code under AddressSanitizer and
# UBSan). scripts/windows-suites.sh decides which Windows suites run.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/windows-suites.sh

on_if() { if [[ " $windows_suites " == *" $1 "* ]]; then echo ON; else echo OFF; fi; }

cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686-posix.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTHERMOLYX_TESTS="$(on_if 32)"
cmake --build build/win

if [ "$(on_if 64)" = ON ]; then
    cmake -S . -B build/win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64-posix.cmake \
        -DCMAKE_BUILD_TYPE=Release
    cmake --build build/win64
fi

cmake -S . -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
cmake --build build/native

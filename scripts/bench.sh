#!/usr/bin/env bash
# Builds the benchmarks natively without sanitizers and prints their figures.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/bench -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Release -DTHERMOLYX_SANITIZE=OFF
cmake --build build/bench --target tick_bench zip_extract_bench
build/bench/bench/tick_bench
build/bench/bench/zip_extract_bench

#!/usr/bin/env bash
# Fuzzes the archive reader with libFuzzer under ASan and UBSan (native clang build).
#   scripts/fuzz.sh [SECONDS]   (default 300)
# The committed seeds are rewritten from their generator first; new inputs the
# fuzzer finds go to build/native/zip-fuzz-corpus, crashes to build/native/zip-fuzz-crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}

cmake -S . -B build/native -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/native --target zip_reader_fuzz make_zip_seeds
build/native/tests/update/fuzz/make_zip_seeds tests/update/fuzz/corpus

mkdir -p build/native/zip-fuzz-corpus build/native/zip-fuzz-crashes
build/native/tests/update/fuzz/zip_reader_fuzz -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix=build/native/zip-fuzz-crashes/ \
    build/native/zip-fuzz-corpus tests/update/fuzz/corpus

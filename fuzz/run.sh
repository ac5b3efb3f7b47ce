#!/usr/bin/env bash
# Builds the PRC loader's fuzz target with clang and runs it for a bounded time (60 s unless
# FUZZ_SECONDS says otherwise), from a seed corpus of the codec's own files. Exits non-zero when
# the fuzzer finds a fault; the input that shows it is left in the build folder.
#
# Usage: fuzz/run.sh [BUILD_FOLDER]   (default: build-fuzz beside fuzz/)
# VANTRELL_WERROR=ON makes warnings errors; VANTRELL_JOBS=N sets how many jobs build.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:-$here/../build-fuzz}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"
seconds="${FUZZ_SECONDS:-60}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTRELL_WERROR="${VANTRELL_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j "${VANTRELL_JOBS:-$(nproc)}" --target prc_loader_fuzzer prc_fuzz_seeds

seeds="$build/seeds"
corpus="$build/corpus"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus"
"$build/prc_fuzz_seeds" "$seeds"

cd "$build"
./prc_loader_fuzzer -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$corpus" "$seeds"

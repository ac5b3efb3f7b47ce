#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and runs every test: a plain build, then a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the 32-bit Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

scripts/setup.sh

echo "== 32-bit layouts of the records"
scripts/check-layouts.sh

echo "== plain build"
cmake -S . -B build/plain -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/plain -j "$jobs"
scripts/check-exports.sh build/plain
ctest --test-dir build/plain --output-on-failure -j "$jobs" --timeout 300

echo "== sanitizer build"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTRELL_SANITIZE=ON -DVANTRELL_BENCH=OFF
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs" --timeout 600

echo "== fuzzing the PRC loader"
FUZZ_SECONDS=60 fuzz/run.sh build/fuzz

scripts/test-windows.sh build/windows

echo "== all tests passed"

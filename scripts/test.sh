#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and runs every test: the plain build (the main job's Release
# build), a build under AddressSanitizer and UndefinedBehaviorSanitizer, a build with clang,
# fuzzing, then the Windows stage (the 32- and 64-bit Windows builds under Wine, see
# scripts/test-windows.sh). Every build treats warnings as errors. Each stage says how long it
# took.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/stages.sh
jobs=${VANTRELL_JOBS:-$(nproc)}

stage "set-up"
scripts/setup.sh

stage "32-bit layouts of the records"
scripts/check-layouts.sh

stage "plain build"
# What the main job ships: its build type, here with the tests and benchmarks.
cmake -S . -B build/plain -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTRELL_WERROR=ON
cmake --build build/plain -j "$jobs"
scripts/check-exports.sh build/plain
ctest --test-dir build/plain --output-on-failure -j "$jobs" --timeout 300

stage "sanitizer build"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTRELL_SANITIZE=ON -DVANTRELL_BENCH=OFF \
  -DVANTRELL_WERROR=ON
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs" --timeout 600

stage "clang build"
# Another compiler's warnings and faults; the benchmarks are built by the plain build.
cmake -S . -B build/clang -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Release -DVANTRELL_BENCH=OFF -DVANTRELL_WERROR=ON
cmake --build build/clang -j "$jobs"
ctest --test-dir build/clang --output-on-failure -j "$jobs" --timeout 300

stage "fuzzing the PRC loader"
FUZZ_SECONDS=60 VANTRELL_WERROR=ON fuzz/run.sh build/fuzz

stage "windows stage"
scripts/test-windows.sh build/windows
stage ""

# Said again here, where it is read: what could not run on this machine.
if [ -s build/windows/32-bit-tests-not-run.txt ]; then
  cat build/windows/32-bit-tests-not-run.txt
  echo "== all tests that could run on this machine passed; the 32-bit Windows tests did not run (see above)"
else
  echo "== all tests passed"
fi
echo "== $SECONDS s in all"

#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Vantrell with its stand-ins, installs them, and runs
# the main job: an Export of the sample 3D PDF through the host program.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTRELL_TESTS=OFF -DVANTRELL_BENCH=OFF
cmake --build build/release -j "$(nproc)"
rm -rf out/vantrell
cmake --install build/release --prefix out/vantrell

output="$root/out/Sample.skp"
rm -f "$output"
out/vantrell/acrohost export samples/Sample.pdf "$output"
echo "Exported samples/Sample.pdf to $output"

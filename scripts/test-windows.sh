#!/usr/bin/env bash
# The Windows stage. Cross-builds everything with MinGW-w64 twice, for 32-bit Windows (the
# plug-in's platform) into FOLDER (default build/windows) and for 64-bit Windows into FOLDER64
# (build/windows64), and checks the modules of both. Then it runs every test of the 64-bit build
# under wine64, and every test of the 32-bit build under Wine where this machine runs 32-bit x86
# programs, which it finds out by running one. Where they cannot run it says so, loudly, here and
# in FOLDER/32-bit-tests-not-run.txt, which scripts/test.sh prints again at its end.
# VANTRELL_NO_32BIT=1 makes the stage behave as on a machine that runs no 32-bit programs.
# Expects scripts/setup.sh to have run. Each build's Wine prefix is its folder's wine/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/stages.sh
build=${1:-build/windows}
build64=${build}64
jobs=${VANTRELL_JOBS:-$(nproc)}
notice="$build/32-bit-tests-not-run.txt"
mkdir -p "$build"
rm -f "$notice"

# build_for FOLDER TOOLCHAIN
build_for() {
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTRELL_BENCH=OFF \
    -DVANTRELL_WERROR=ON
  cmake --build "$1" -j "$jobs"
  scripts/check-windows-modules.sh "$1"
}

stage "windows build, 32-bit (i686)"
# Compiling the records for this target checks their 32-bit layout, whether or not its tests run.
build_for "$build" cmake/mingw-w64-i686.cmake
stage "windows build, 64-bit (x86_64)"
build_for "$build64" cmake/mingw-w64-x86_64.cmake

stage "does this machine run 32-bit x86 programs?"
# A program of a few instructions that ends with status 32 through the 32-bit system call gate:
# it needs neither a C library nor Wine, only a kernel that runs 32-bit x86 programs.
probe="$build/probe-32-bit"
printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $32, %%ebx\n  int $0x80\n' |
  gcc -m32 -nostdlib -static -o "$probe" -x assembler - ||
  { echo "the 32-bit probe program could not be built (gcc -m32, of g++-multilib)"; exit 1; }
why_not=""
if [ -n "${VANTRELL_NO_32BIT:-}" ] && [ "$VANTRELL_NO_32BIT" != 0 ]; then
  why_not="VANTRELL_NO_32BIT=$VANTRELL_NO_32BIT asks this stage to behave as on a machine that runs no 32-bit programs"
  echo "32-bit x86 programs: not tried, as told ($why_not)"
else
  status=0
  output=$("$probe" 2>&1 </dev/null) || status=$?
  if [ "$status" -eq 32 ]; then
    echo "32-bit x86 programs: this machine runs them (a 32-bit probe program ran and ended as it should)"
  else
    why_not="this machine does not run 32-bit x86 programs: a 32-bit probe program did not run (status $status${output:+: ${output##*"$probe": }})"
    echo "32-bit x86 programs: $why_not"
  fi
fi
if [ -n "$why_not" ]; then
  {
    echo "**************************************************************************************"
    echo "*  THE 32-BIT WINDOWS TESTS DO NOT RUN ON THIS MACHINE."
    echo "*  Why: $why_not."
    echo "*  The 32-bit build is made and its modules checked; the tests run in the 64-bit"
    echo "*  Windows build under wine64 only."
    echo "**************************************************************************************"
  } >"$notice"
  cat "$notice"
fi

# Wine servers started here, by prefix; each is stopped on the way out, whatever happens.
servers=()
stop_servers() {
  for prefix in "${servers[@]}"; do
    WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wineserver -w </dev/null >/dev/null 2>&1 || true
  done
  servers=()
}
trap stop_servers EXIT

# run_tests FOLDER WINEARCH: every test of the build under the Wine loader it was configured with,
# in a prefix of that build's own (a prefix is of one architecture, and each has its own server).
run_tests() {
  local loader
  loader=$(sed -n 's/^VANTRELL_WINE:FILEPATH=//p' "$1/CMakeCache.txt")
  # No Mono or Gecko installers; no window (the help viewer that the shell starts for Help ends at
  # once without a display).
  export WINEPREFIX="$(cd "$1" && pwd)/wine" WINEARCH=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  mkdir -p "$WINEPREFIX"
  # A persistent wineserver, with Wine's own services started here: the services started by the
  # first test would otherwise hold ctest's output pipes open, and every run would start a server.
  servers+=("$WINEPREFIX")
  if ! wineserver -p </dev/null >/dev/null 2>&1; then
    echo "wineserver did not start for $WINEPREFIX"
    return 1
  fi
  if ! "$loader" wineboot --init </dev/null >/dev/null 2>&1; then
    echo "$loader wineboot --init failed in $WINEPREFIX"
    return 1
  fi
  local status=0
  ctest --test-dir "$1" --output-on-failure -j "$jobs" --timeout 300 || status=$?
  stop_servers
  return "$status"
}

failed=()
if [ -z "$why_not" ]; then
  stage "windows tests, 32-bit, under wine"
  run_tests "$build" win32 || failed+=("the 32-bit Windows tests")
fi
stage "windows tests, 64-bit, under wine64"
run_tests "$build64" win64 || failed+=("the 64-bit Windows tests")
stage ""

if [ -n "$why_not" ]; then cat "$notice"; fi
if [ "${#failed[@]}" -gt 0 ]; then
  printf 'failed: %s\n' "${failed[@]}"
  exit 1
fi

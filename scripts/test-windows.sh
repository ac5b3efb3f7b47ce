#!/usr/bin/env bash
# The 32-bit Windows stage: cross-builds everything with MinGW-w64, checks what the modules export
# and import, and runs every test that this build has under Wine. Expects scripts/setup.sh to have
# run. The build and its Wine prefix go to the folder given (default build/windows).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
jobs=$(nproc)

echo "== windows build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTRELL_BENCH=OFF
cmake --build "$build" -j "$jobs"
scripts/check-exports.sh "$build"

# Every module imports only the system's DLLs and the project's own: the compiler's run-time,
# its thread library and zlib are linked in.
allowed=" KERNEL32.dll USER32.dll GDI32.dll SHELL32.dll msvcrt.dll desktop.dll Meshwright80.dll QNFGUI80.dll "
while IFS= read -r module; do
  for dll in $(i686-w64-mingw32-objdump -p "$module" | awk '/DLL Name:/ {print $3}'); do
    if [[ "$allowed" != *" $dll "* ]]; then
      echo "$module imports $dll, which is neither a system DLL nor one of the project's"
      exit 1
    fi
  done
done < <(find "$build/bin" "$build/a3dlib-variants" -name '*.dll' -o -name '*.api' -o -name '*.exe')
echo "imports checked: system DLLs and the project's own only"

echo "== windows tests under wine"
# One prefix for the run, inside the build folder; no Mono or Gecko installers; no window (the help
# viewer that the shell starts for Help ends at once without a display).
export WINEPREFIX="$PWD/$build/wine" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WINEPREFIX"
# A persistent wineserver, with Wine's own services started here: the services started by the first
# test would otherwise hold ctest's output pipes open, and every run would start a server anew.
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k </dev/null >/dev/null 2>&1 || true' EXIT
wineboot --init </dev/null >/dev/null 2>&1
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300

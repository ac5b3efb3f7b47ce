#!/usr/bin/env bash
# The plug-in module exports PlugInMain and nothing else: an ELF shared object on Linux, a PE DLL
# from a Windows cross-build, 32- or 64-bit (read with MinGW's objdump).
set -euo pipefail
build=${1:?build folder}
module="$build/bin/plug_ins/Vantrell.api"
if [ ! -f "$module" ]; then
  echo "no plug-in module yet: $module"
  exit 0
fi
if [ "$(head -c 2 "$module")" = "MZ" ]; then
  # The x86_64 binutils read PE32 and PE32+ alike.
  table=$(x86_64-w64-mingw32-objdump -p "$module")
  # Named exports, and every entry of the address table (an export by ordinal alone has no name).
  exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$table" | awk '/^\t\[/ {print $3}' | sort)
  entries=$(sed -n '/^Export Address Table -- Ordinal Base/,/^$/p' <<<"$table" | awk '/^\t\[/ {n++} END {print n + 0}')
else
  exports=$(nm -D --defined-only "$module" | awk '$2 ~ /^[TDBRVW]$/ {print $3}' | sort)
  entries=$(wc -l <<<"$exports")
fi
if [ "$exports" != "PlugInMain" ] || [ "$entries" != 1 ]; then
  echo "Vantrell.api must export PlugInMain only; it exports ($entries entries):"
  echo "$exports"
  exit 1
fi
echo "exports checked: $module exports PlugInMain only"

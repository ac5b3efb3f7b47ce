#!/usr/bin/env bash
# The plug-in module exports PlugInMain and nothing else.
set -euo pipefail
build=${1:?build folder}
module="$build/bin/plug_ins/Vantrell.api"
if [ ! -f "$module" ]; then
  echo "no plug-in module yet: $module"
  exit 0
fi
exports=$(nm -D --defined-only "$module" | awk '$2 ~ /^[TDBRVW]$/ {print $3}' | sort)
if [ "$exports" != "PlugInMain" ]; then
  echo "Vantrell.api must export PlugInMain only; it exports:"
  echo "$exports"
  exit 1
fi
echo "exports checked: $module exports PlugInMain only"

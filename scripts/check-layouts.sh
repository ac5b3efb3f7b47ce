#!/usr/bin/env bash
# Compiles the headers that hold records of fixed layout for a 32-bit target, where their
# static_asserts check every offset and size.
set -euo pipefail
cd "$(dirname "$0")/.."
for header in extraction/A3DRecords.h host/HostTypes.h; do
  echo "#include \"$header\"" | g++ -m32 -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I. -x c++ -
  echo "32-bit layout checked: $header"
done

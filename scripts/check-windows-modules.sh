#!/usr/bin/env bash
# Checks the modules of a Windows cross-build (32- or 64-bit) without running any of them: the
# plug-in exports PlugInMain only, every module imports only system DLLs and the project's own,
# and the plug-in holds the toolbar bitmap as resource 102.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?build folder}
# The x86_64 binutils read PE32 and PE32+ alike.
objdump=x86_64-w64-mingw32-objdump
windres=x86_64-w64-mingw32-windres

scripts/check-exports.sh "$build"

# The compiler's run-time, its thread library and zlib are linked in.
allowed=" KERNEL32.dll USER32.dll GDI32.dll SHELL32.dll msvcrt.dll desktop.dll Meshwright80.dll QNFGUI80.dll "
while IFS= read -r module; do
  for dll in $("$objdump" -p "$module" | awk '/DLL Name:/ {print $3}'); do
    if [[ "$allowed" != *" $dll "* ]]; then
      echo "$module imports $dll, which is neither a system DLL nor one of the project's"
      exit 1
    fi
  done
done < <(find "$build/bin" "$build/a3dlib-variants" -name '*.dll' -o -name '*.api' -o -name '*.exe')
echo "imports checked: system DLLs and the project's own only"

# Bitmap 102 as windres writes it out: its language, then its bytes. A module's resources carry no
# memory flags, so the heading is cut to the name and type.
bitmap_102() {
  "$windres" --input-format="$1" --output-format=rc -i "$2" |
    awk '/^LANGUAGE / {language = $0}
         /^102 2 / {print language; print "102 2"; found = 1; next}
         found {print}
         found && /^END/ {exit}'
}
module="$build/bin/plug_ins/Vantrell.api"
reference="$build/toolbar-reference.rc"
# US English; the bitmap's bytes are the file's after its file header.
printf 'LANGUAGE 9, 1\n102 BITMAP "%s"\n' "$PWD/resources/Toolbar.bmp" >"$reference"
expected=$(bitmap_102 rc "$reference")
actual=$(bitmap_102 coff "$module")
if [ -z "$expected" ] || [ "$expected" != "$actual" ]; then
  echo "$module does not hold resources/Toolbar.bmp as bitmap 102 in US English; it holds:"
  echo "${actual:-no bitmap 102}"
  exit 1
fi
echo "resources checked: $module holds the toolbar bitmap as resource 102"

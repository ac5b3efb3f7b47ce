#!/usr/bin/env bash
# Installs what building and testing Vantrell needs on a fresh Debian 12 machine, from Debian's
# packages only. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  g++-multilib            # 32-bit syntax checks of the records; the 32-bit probe program
  libgtest-dev libgmock-dev
  libqpdf-dev             # the stand-in host opens real PDF files
  zlib1g-dev              # the stand-in 3D library's PRC sections
  libassimp-dev           # the tests re-import the writer's files
  clang libclang-rt-14-dev  # the PRC loader's fuzz target
  fp-utils                # chmcmd, for the help file
  # The Windows builds, 32- and 64-bit, and their tests: MinGW-w64 with the posix thread model
  # (GoogleTest needs std::mutex), its binutils (windres, objdump), zlib for both targets, and Wine
  # with its 32-bit loader and its 64-bit one (the only one on a kernel without 32-bit programs).
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine32:i386 wine64
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# wine32 is a package of the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

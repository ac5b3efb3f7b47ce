# Cross-build for 32-bit Windows with Debian's MinGW-w64, the test programs run under Wine.
#   cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_mingw i686-w64-mingw32)
set(_wine wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

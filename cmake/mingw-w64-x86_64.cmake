# Cross-build for 64-bit Windows with Debian's MinGW-w64, the test programs run under wine64. It
# runs the tests on machines whose kernel runs no 32-bit programs, where Wine's 32-bit half cannot.
#   cmake -S . -B build/windows64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw x86_64-w64-mingw32)
set(_wine wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# Cross-build for 32-bit Windows with Debian's MinGW-w64, the test programs run under Wine.
#   cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(_mingw i686-w64-mingw32)
# The posix thread model (g++-mingw-w64-i686-posix): GoogleTest needs std::mutex, which the win32
# model of this compiler lacks. Everything of one program must share one model, so the project
# builds with it too; its thread library is linked in statically like the rest of the run-time.
find_program(CMAKE_C_COMPILER NAMES ${_mingw}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${_mingw}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${_mingw}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every module imports only system DLLs and the project's own: the compiler's run-time, the
# thread library and zlib are linked in.
set(_static "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_static}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_static}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_static}")
set(ZLIB_USE_STATIC_LIBS ON)

# Test programs run under Wine.
find_program(VANTRELL_WINE NAMES wine)
if(VANTRELL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTRELL_WINE})
endif()

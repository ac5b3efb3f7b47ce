# What the MinGW-w64 cross-builds share; included by a toolchain file that names the target
# (_mingw, the compilers' prefix) and the Wine loader that runs its programs (_wine).
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model (g++-mingw-w64-*-posix): GoogleTest needs std::mutex, which the win32
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

# Test programs run under Wine. Debian keeps its loaders in /usr/lib/wine; `wine` on PATH is a
# script that prefers the 32-bit one, which a 64-bit program does not need.
find_program(VANTRELL_WINE NAMES ${_wine} PATHS /usr/lib/wine)
if(VANTRELL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTRELL_WINE})
endif()

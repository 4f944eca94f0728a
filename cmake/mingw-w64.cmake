# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The posix flavour is the one with std::thread; everything is linked statically, so the
# executables need no DLL beyond Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOVARIN_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOVARIN_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOVARIN_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TOVARIN_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOVARIN_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and tools built here run under Wine.
find_program(TOVARIN_WINE NAMES wine wine64)
if(TOVARIN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TOVARIN_WINE})
endif()

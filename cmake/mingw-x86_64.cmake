# Cross-compiling the 64-bit Windows executable with MinGW-w64 (posix threads):
# the flavour for machines that cannot run 32-bit programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run under 64-bit Wine through the project's wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/env;PINYIN_FLAVOUR=win64;${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)

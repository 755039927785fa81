# SPDX-License-Identifier: MIT
# Windows on x86_64, a system that is not POSIX: Debian's MinGW-w64
# (g++-mingw-w64-x86-64-posix) builds, wine (wine64) runs. Linked
# statically, a program needs no MinGW DLL beside it; with no time stamp,
# two links give the same bytes.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
foreach(kind LIBRARY INCLUDE PACKAGE)
  set(CMAKE_FIND_ROOT_PATH_MODE_${kind} ONLY)
endforeach()
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
find_program(SECS_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(SECS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SECS_WINE})
endif()

# SPDX-License-Identifier: MIT
# Linux on another CPU, named by SECS_TRIPLE (-DSECS_TRIPLE=aarch64-linux-gnu,
# say): Debian's cross compiler (g++-TRIPLE; the target's C library under
# /usr/TRIPLE) builds, and qemu-user (qemu-user-static) runs what it builds
# for CMake, CTest and the tests.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SECS_TRIPLE)
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${SECS_TRIPLE}")
set(CMAKE_C_COMPILER ${SECS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${SECS_TRIPLE}-g++)
# Appended, so that -DCMAKE_FIND_ROOT_PATH can add a staging prefix of one's own.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${SECS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
foreach(kind LIBRARY INCLUDE PACKAGE)
  set(CMAKE_FIND_ROOT_PATH_MODE_${kind} ONLY)
endforeach()
# qemu names two CPUs its own way; -L: where the target's loader and libraries are.
string(REGEX REPLACE "^i.86$" i386 _secs_qemu "${CMAKE_SYSTEM_PROCESSOR}")
string(REPLACE powerpc64le ppc64le _secs_qemu "${_secs_qemu}")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${_secs_qemu}-static -L /usr/${SECS_TRIPLE})

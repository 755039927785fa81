# SPDX-License-Identifier: MIT
# Linux on another CPU: Debian's cross compiler for SECS_TRIPLE (package
# g++-TRIPLE; the target's C library under /usr/TRIPLE) builds, and
# qemu-user (qemu-user-static) runs what it builds for CMake, CTest and the tests.
# Usage: -DCMAKE_TOOLCHAIN_FILE=.../linux-gnu.cmake -DSECS_TRIPLE=aarch64-linux-gnu
if(NOT SECS_TRIPLE)
  message(FATAL_ERROR "linux-gnu.cmake: name the target: -DSECS_TRIPLE=aarch64-linux-gnu, say")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SECS_TRIPLE)
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR "${SECS_TRIPLE}")
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

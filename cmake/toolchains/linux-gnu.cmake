# SPDX-License-Identifier: MIT
# What the toolchain files beside this one share: Debian's cross compiler
# for SECS_TRIPLE (crossbuild-essential-*, g++-*-linux-gnu), whose C library
# and headers live under /usr/SECS_TRIPLE, and qemu-user (qemu-user-static)
# to run what it builds, for CMake, CTest and the tests alike. In:
# CMAKE_SYSTEM_PROCESSOR, SECS_TRIPLE, and SECS_QEMU, the qemu-user program.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${SECS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${SECS_TRIPLE}-g++)
# Appended, so that -DCMAKE_FIND_ROOT_PATH can add a staging prefix of one's own.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${SECS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# -L: where the target's dynamic loader and shared libraries are.
set(CMAKE_CROSSCOMPILING_EMULATOR ${SECS_QEMU} -L /usr/${SECS_TRIPLE})

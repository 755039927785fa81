# SPDX-License-Identifier: MIT
# Linux on IBM Z, big-endian (Debian's s390x):
# Debian's cross compiler builds, qemu-user runs.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(SECS_TRIPLE s390x-linux-gnu)
set(SECS_QEMU qemu-s390x-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)

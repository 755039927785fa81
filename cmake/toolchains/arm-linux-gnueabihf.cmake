# SPDX-License-Identifier: MIT
# Linux on 32-bit ARM with hardware floating point (Debian's armhf):
# Debian's cross compiler builds, qemu-user runs.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(SECS_TRIPLE arm-linux-gnueabihf)
set(SECS_QEMU qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)

# SPDX-License-Identifier: MIT
# Linux on 64-bit ARM (Debian's arm64):
# Debian's cross compiler builds, qemu-user runs.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(SECS_TRIPLE aarch64-linux-gnu)
set(SECS_QEMU qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)

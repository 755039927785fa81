# SPDX-License-Identifier: MIT
# Linux on 64-bit little-endian POWER (Debian's ppc64el):
# Debian's cross compiler builds, qemu-user runs.
set(CMAKE_SYSTEM_PROCESSOR ppc64le)
set(SECS_TRIPLE powerpc64le-linux-gnu)
set(SECS_QEMU qemu-ppc64le-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)

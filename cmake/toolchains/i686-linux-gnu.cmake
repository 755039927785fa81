# SPDX-License-Identifier: MIT
# Linux on 32-bit x86 (Debian's i386):
# Debian's cross compiler builds, qemu-user runs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SECS_TRIPLE i686-linux-gnu)
set(SECS_QEMU qemu-i386-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)

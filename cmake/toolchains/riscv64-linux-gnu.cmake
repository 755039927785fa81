# SPDX-License-Identifier: MIT
# Linux on 64-bit RISC-V (Debian's riscv64):
# Debian's cross compiler builds, qemu-user runs.
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(SECS_TRIPLE riscv64-linux-gnu)
set(SECS_QEMU qemu-riscv64-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-gnu.cmake)

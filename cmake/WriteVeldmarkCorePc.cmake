# SPDX-License-Identifier: MIT
# Runs at install time, so the prefix is the one installed to (cmake --install
# --prefix, CPack), not the one configured. Writes veldmark-core.pc with
# normalised paths, so that pkg-config drops -I/usr/include as a system
# directory. An absolute include directory replaces the prefix, as a path join does.
# In: CMAKE_INSTALL_PREFIX, VELDMARK_CORE_INCLUDEDIR, VELDMARK_CORE_VERSION,
#     VELDMARK_CORE_PC_IN, VELDMARK_CORE_PC.
cmake_path(SET prefix NORMALIZE "${CMAKE_INSTALL_PREFIX}")
cmake_path(APPEND prefix "${VELDMARK_CORE_INCLUDEDIR}" OUTPUT_VARIABLE includedir)
cmake_path(NORMAL_PATH includedir)
configure_file("${VELDMARK_CORE_PC_IN}" "${VELDMARK_CORE_PC}" @ONLY)

# SPDX-License-Identifier: MIT
# Runs at install time, so the prefix is the one installed to (cmake --install
# --prefix, CPack), not the one configured. Writes veldmark-core.pc with
# normalised paths, so that pkg-config drops -I/usr/include as a system
# directory. An include directory under the prefix is written from ${prefix},
# so that pkg-config --define-prefix can move it; an absolute one stands as given.
# In: CMAKE_INSTALL_PREFIX, VELDMARK_CORE_INCLUDEDIR, VELDMARK_CORE_VERSION,
#     VELDMARK_CORE_PC_IN, VELDMARK_CORE_PC.
cmake_path(SET prefix NORMALIZE "${CMAKE_INSTALL_PREFIX}")
cmake_path(SET includedir NORMALIZE "${VELDMARK_CORE_INCLUDEDIR}")
if(NOT IS_ABSOLUTE "${includedir}")
  set(includedir "\${prefix}/${includedir}")
endif()
configure_file("${VELDMARK_CORE_PC_IN}" "${VELDMARK_CORE_PC}" @ONLY)

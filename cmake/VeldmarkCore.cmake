# SPDX-License-Identifier: MIT
# The stopwatch: the target Veldmark::core and, with SECS_INSTALL, its
# development files (component dev): the header, its licence, a CMake package
# and a pkg-config file (under share/: nothing to link), of the header's version.
file(STRINGS libssrc/core/1/seconds_timer.h _secs_version
     REGEX "^#define VELDMARK_CORE_VERSION_[A-Z]+ [0-9]+$")
string(REGEX REPLACE "[^;]*_MAJOR ([0-9]+);[^;]*_MINOR ([0-9]+);[^;]*_PATCH ([0-9]+)" "\\1.\\2.\\3"
                     VELDMARK_CORE_VERSION "${_secs_version}")
# Every way in includes <veldmark/core/1/seconds_timer.h>: from the source
# tree, include/ forwards to the one real header; an install copies it.
add_library(veldmark_core INTERFACE)
add_library(Veldmark::core ALIAS veldmark_core)
set_target_properties(veldmark_core PROPERTIES EXPORT_NAME core)
target_include_directories(veldmark_core INTERFACE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
                                                   $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
if(NOT SECS_INSTALL)
  return()
endif()

include(CMakePackageConfigHelpers)
set(_secs_cmakedir ${CMAKE_INSTALL_DATADIR}/cmake/VeldmarkCore)
install(FILES libssrc/core/1/seconds_timer.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/veldmark/core/1
        COMPONENT dev)
install(TARGETS veldmark_core EXPORT VeldmarkCoreTargets COMPONENT dev)
install(EXPORT VeldmarkCoreTargets NAMESPACE Veldmark:: DESTINATION ${_secs_cmakedir} COMPONENT dev)
write_basic_package_version_file(VeldmarkCoreConfigVersion.cmake VERSION ${VELDMARK_CORE_VERSION}
                                 COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES cmake/VeldmarkCoreConfig.cmake ${PROJECT_BINARY_DIR}/VeldmarkCoreConfigVersion.cmake
        DESTINATION ${_secs_cmakedir} COMPONENT dev)
# The .pc file is written at install, for the prefix installed to, its paths
# normalised so that pkg-config drops -I/usr/include; an absolute include
# directory stands as given.
string(
  CONFIGURE
    [[
  cmake_path(SET prefix NORMALIZE "${CMAKE_INSTALL_PREFIX}")
  cmake_path(SET includedir NORMALIZE "@CMAKE_INSTALL_INCLUDEDIR@")
  if(NOT IS_ABSOLUTE "${includedir}")
    set(includedir "\${prefix}/${includedir}")
  endif()
  file(WRITE "@PROJECT_BINARY_DIR@/veldmark-core.pc" "prefix=${prefix}
includedir=${includedir}

Name: veldmark-core
Description: Header-only C++ stopwatch with whole-second resolution
Version: @VELDMARK_CORE_VERSION@
Cflags: -I\${includedir}
")]]
    _secs_write_pc
  @ONLY)
install(CODE "${_secs_write_pc}" COMPONENT dev)
install(FILES ${PROJECT_BINARY_DIR}/veldmark-core.pc DESTINATION ${CMAKE_INSTALL_DATADIR}/pkgconfig
        COMPONENT dev)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veldmark-core COMPONENT dev)

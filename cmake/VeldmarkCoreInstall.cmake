# SPDX-License-Identifier: MIT
# Installs the stopwatch's development files (component dev): the header, a
# CMake package, a pkg-config file and the licence. Both packages describe a
# header only, so they go under share/, not lib/.
# In: VELDMARK_CORE_VERSION, VELDMARK_CORE_HEADER, the target veldmark_core.
if(NOT SECS_INSTALL)
  return()
endif()
include(CMakePackageConfigHelpers)
set(VELDMARK_CORE_CMAKEDIR ${CMAKE_INSTALL_DATADIR}/cmake/VeldmarkCore)
install(FILES ${PROJECT_BINARY_DIR}/${VELDMARK_CORE_HEADER}
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/veldmark/core/1 COMPONENT dev)
install(TARGETS veldmark_core EXPORT VeldmarkCoreTargets COMPONENT dev)
install(EXPORT VeldmarkCoreTargets NAMESPACE Veldmark:: DESTINATION ${VELDMARK_CORE_CMAKEDIR} COMPONENT dev)
write_basic_package_version_file(VeldmarkCoreConfigVersion.cmake VERSION ${VELDMARK_CORE_VERSION}
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES cmake/VeldmarkCoreConfig.cmake ${PROJECT_BINARY_DIR}/VeldmarkCoreConfigVersion.cmake
        DESTINATION ${VELDMARK_CORE_CMAKEDIR} COMPONENT dev)
# The pkg-config file is written at install time (cmake/WriteVeldmarkCorePc.cmake).
install(CODE "
  set(VELDMARK_CORE_INCLUDEDIR [[${CMAKE_INSTALL_INCLUDEDIR}]])
  set(VELDMARK_CORE_VERSION ${VELDMARK_CORE_VERSION})
  set(VELDMARK_CORE_PC_IN [[${PROJECT_SOURCE_DIR}/cmake/veldmark-core.pc.in]])
  set(VELDMARK_CORE_PC [[${PROJECT_BINARY_DIR}/veldmark-core.pc]])
  include([[${PROJECT_SOURCE_DIR}/cmake/WriteVeldmarkCorePc.cmake]])" COMPONENT dev)
install(FILES ${PROJECT_BINARY_DIR}/veldmark-core.pc DESTINATION ${CMAKE_INSTALL_DATADIR}/pkgconfig COMPONENT dev)
# A copy of the header carries its licence; an install of the stopwatch
# alone carries it too.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veldmark-core COMPONENT dev)

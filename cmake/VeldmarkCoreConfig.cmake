# SPDX-License-Identifier: MIT
include("${CMAKE_CURRENT_LIST_DIR}/VeldmarkCoreTargets.cmake")
# Its one component: asked for another as required, it is not found.
set(VeldmarkCore_core_FOUND TRUE)
foreach(_veldmark_core_part IN LISTS VeldmarkCore_FIND_COMPONENTS)
  if(NOT _veldmark_core_part STREQUAL "core" AND VeldmarkCore_FIND_REQUIRED_${_veldmark_core_part})
    set(VeldmarkCore_FOUND FALSE)
    set(VeldmarkCore_NOT_FOUND_MESSAGE
        "VeldmarkCore has no component ${_veldmark_core_part}; its one component is core")
  endif()
endforeach()

# SPDX-License-Identifier: MIT
include("${CMAKE_CURRENT_LIST_DIR}/VeldmarkCoreTargets.cmake")
# The package's one component is core (Veldmark::core); asked for any other,
# as a required one, it is not found.
foreach(_veldmark_core_part IN LISTS VeldmarkCore_FIND_COMPONENTS)
  if(_veldmark_core_part STREQUAL "core")
    set(VeldmarkCore_core_FOUND TRUE)
  elseif(VeldmarkCore_FIND_REQUIRED_${_veldmark_core_part})
    set(VeldmarkCore_FOUND FALSE)
    set(VeldmarkCore_NOT_FOUND_MESSAGE "VeldmarkCore has no component ${_veldmark_core_part}; its one component is core")
  endif()
endforeach()
unset(_veldmark_core_part)

# SPDX-License-Identifier: MIT
# How secs is compiled and linked: a time_t that outlives 2038 and, at the
# top level, our warnings, SECS_STATIC and the hardening the toolchain takes,
# said in one line. The test builds take the first two too.
include(CheckCXXSourceCompiles)
include(CheckCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)
set(CMAKE_REQUIRED_QUIET ON)

# A 32-bit time_t runs out at 2038-01-19 03:14:07 UTC, and glibc's time()
# then fails. 32-bit glibc has offered a 64-bit one since 2.34 with these
# two; other C libraries ignore them.
set(SECS_TIME_DEFINITIONS _TIME_BITS=64 _FILE_OFFSET_BITS=64)
check_cxx_source_compiles(
  "#define _TIME_BITS 64
#define _FILE_OFFSET_BITS 64
#include <time.h>
typedef char time_t_has_64_bits[sizeof(time_t) >= 8 ? 1 : -1];
int main() { return 0; }"
  SECS_TIME_T_64)
if(NOT SECS_TIME_T_64)
  message(WARNING "secs: only a 32-bit time_t here: "
                  "from 2038-01-19 03:14:08 UTC on, secs prints wrong seconds")
endif()
target_compile_definitions(secs PRIVATE ${SECS_TIME_DEFINITIONS})
set(SECS_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion $<$<BOOL:${SECS_WERROR}>:-Werror>)
if(MSVC) # whose C library calls strerror unsafe
  set(SECS_WARNINGS /W4 $<$<BOOL:${SECS_WERROR}>:/WX> /D_CRT_SECURE_NO_WARNINGS)
endif()
if(NOT SECS_TOP_LEVEL)
  return()
endif()
target_compile_options(secs PRIVATE ${SECS_WARNINGS})

# secs_take(NAME LINK|BOTH FLAG...): where the toolchain takes FLAGs beside
# those taken so far, put them on the link (clang warns of -Wl, flags on a
# compile), or on compile and link (MinGW's stack protector needs both), and
# say NAME. Asked at every configure: a flag since (a sanitizer) may rule it out.
set(_secs_compile "")
set(_secs_link "")
set(_secs_said "")
macro(secs_take name where)
  string(MAKE_C_IDENTIFIER "SECS_TAKES_${name}" _secs_var)
  unset(${_secs_var} CACHE)
  list(JOIN _secs_compile " " CMAKE_REQUIRED_FLAGS)
  set(CMAKE_REQUIRED_LINK_OPTIONS ${_secs_link} ${ARGN})
  if(${where} STREQUAL "LINK")
    check_linker_flag(CXX "${CMAKE_REQUIRED_LINK_OPTIONS}" ${_secs_var})
  else()
    check_compiler_flag(CXX "${ARGN}" ${_secs_var})
    list(APPEND _secs_compile ${ARGN})
  endif()
  if(${_secs_var})
    list(APPEND _secs_link ${ARGN})
    list(APPEND _secs_said "${name}")
  elseif(${where} STREQUAL "BOTH")
    list(REMOVE_ITEM _secs_compile ${ARGN})
  endif()
endmacro()

# A static secs starts fastest and runs on any Linux of its CPU: static-pie
# where the toolchain makes one (it loads at a random address), else static.
# -fPIE on the link too: zig's driver makes a static-pie only so.
set(_secs_how "as the toolchain links")
set(_secs_flags "${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
if(SECS_STATIC AND _secs_flags MATCHES "-fsanitize=[a-z,]*(address|thread|memory|leak)")
  message(FATAL_ERROR "secs: SECS_STATIC cannot go with -fsanitize=${CMAKE_MATCH_1}, "
                      "which needs a shared C library")
elseif(SECS_STATIC AND CMAKE_EXECUTABLE_FORMAT STREQUAL "MACHO")
  # Its linker may take -static and ignore it.
  message(FATAL_ERROR "secs: SECS_STATIC: macOS has no static C library; configure without it")
elseif(SECS_STATIC)
  if(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF") # a PE linker takes -static-pie for -static
    set(_secs_compile -fPIE)
    secs_take(static-pie LINK -static-pie -fPIE)
  endif()
  if(NOT _secs_said)
    set(_secs_compile "")
    secs_take(static LINK -static)
  endif()
  if(NOT _secs_said)
    message(FATAL_ERROR "secs: SECS_STATIC: this toolchain cannot link a C++ program statically "
                        "(no static C library, or no static C++ library)")
  endif()
  set(_secs_how ${_secs_said})
  set(_secs_said "")
endif()
if(SECS_HARDENING)
  secs_take("stack protector" BOTH -fstack-protector-strong)
  # _FORTIFY_SOURCE needs optimisation and a C library with checked functions
  # (glibc's, Apple's, the BSDs'), not musl's or MinGW-w64's, and is left to
  # the builder's flags where they set it otherwise.
  unset(SECS_FORTIFIES CACHE)
  set(CMAKE_REQUIRED_FLAGS "-O2 -D_FORTIFY_SOURCE=2 -Werror")
  check_cxx_source_compiles(
    "#include <string.h>
#if !(__USE_FORTIFY_LEVEL > 0 || _USE_FORTIFY_LEVEL > 0 || __SSP_FORTIFY_LEVEL > 0)
#error no checked functions
#endif
int main() { return 0; }"
    SECS_FORTIFIES)
  if(SECS_FORTIFIES)
    target_compile_options(
      secs PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
    list(APPEND _secs_said "_FORTIFY_SOURCE=2 (optimised builds)")
  endif()
  # Loaded at a random address (a static-pie is, and -pie after it would undo it).
  if(_secs_how STREQUAL "static-pie")
    list(APPEND _secs_said PIE)
  elseif(NOT SECS_STATIC)
    check_pie_supported(LANGUAGES CXX)
    if(CMAKE_CXX_LINK_PIE_SUPPORTED)
      set_target_properties(secs PROPERTIES POSITION_INDEPENDENT_CODE ON)
      list(APPEND _secs_said PIE)
    endif()
  endif()
  # ELF's (other linkers may take -z without a word); plain static has nothing to bind.
  if(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
    secs_take(RELRO LINK -Wl,-z,relro)
    if(NOT _secs_how STREQUAL "static")
      secs_take(BIND_NOW LINK -Wl,-z,now)
    endif()
  endif()
endif()
target_compile_options(secs PRIVATE ${_secs_compile})
target_link_options(secs PRIVATE ${_secs_link})
unset(CMAKE_REQUIRED_FLAGS)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
list(JOIN _secs_said ", " _secs_said)
message(STATUS "secs: linked ${_secs_how}; hardening of ours: ${_secs_said}")

# SPDX-License-Identifier: MIT
# How secs is compiled and linked. It gets a time_t that outlives 2038 and our
# warnings, and the test builds get them too. At the top level, secs also gets
# SECS_STATIC's link and the hardening the toolchain takes, said in one line.
include(CheckCXXSourceCompiles)
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

# secs_builds(VAR COMPILE LINK TEST): does a program build with these flags,
# beside those taken so far, without a warning from the compiler or the
# linker? TEST is a preprocessor condition that must hold too. A flag that
# asks a C or C++ library for its checks is worth naming only where the
# library has them. The answer is asked again at every configure, as a flag
# added since (a sanitizer, say) may rule a flag out.
function(secs_builds var compile link test)
  unset(${var} CACHE)
  # -O2, as glibc's _FORTIFY_SOURCE works only in optimised code.
  set(flags -O2 ${_secs_compile} ${compile})
  list(JOIN flags " " CMAKE_REQUIRED_FLAGS)
  set(CMAKE_REQUIRED_LINK_OPTIONS ${_secs_link} ${link})
  check_cxx_source_compiles(
    "#include <cstring>
#if !(${test})
#error
#endif
int main() { return 0; }"
    ${var}
    FAIL_REGEX
    "[Ww]arning[: ]")
endfunction()

# A static secs starts fastest and runs on any Linux of its CPU: static-pie
# where the toolchain makes one (it loads at a random address), else static.
# -fPIE on the link too: zig's driver makes a static-pie only so.
set(_secs_how "as the toolchain links")
set(_secs_compile "")
set(_secs_link "")
set(_secs_said "")
set(_secs_flags "${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
if(SECS_STATIC AND _secs_flags MATCHES "-fsanitize=[a-z,]*(address|thread|memory|leak)")
  message(FATAL_ERROR "secs: SECS_STATIC cannot go with -fsanitize=${CMAKE_MATCH_1}, "
                      "which needs a shared C library")
elseif(SECS_STATIC AND CMAKE_EXECUTABLE_FORMAT STREQUAL "MACHO")
  # Its linker may take -static and ignore it.
  message(FATAL_ERROR "secs: SECS_STATIC: macOS has no static C library; configure without it")
elseif(SECS_STATIC)
  if(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF") # a PE linker takes -static-pie for -static
    secs_builds(SECS_LINKS_STATIC_PIE -fPIE "-static-pie;-fPIE" 1)
  endif()
  if(SECS_LINKS_STATIC_PIE)
    set(_secs_how static-pie)
    set(_secs_compile -fPIE)
    set(_secs_link -static-pie -fPIE)
  else()
    secs_builds(SECS_LINKS_STATIC "" -static 1)
    if(NOT SECS_LINKS_STATIC)
      message(FATAL_ERROR "secs: SECS_STATIC: this toolchain cannot link a C++ program statically "
                          "(no static C library, or no static C++ library)")
    endif()
    set(_secs_how static)
    set(_secs_link -static)
  endif()
endif()

# The hardening, each flag once, as NAME|WHERE|FLAGS[|TEST]: the name that
# configure says, where the flags go, and secs_builds's TEST where a library
# must offer what the flags ask for. WHERE is COMPILE, LINK, BOTH (MinGW's
# stack protector needs its library linked), or OPTIMISED, the compile of
# optimised builds alone. A row is taken where the toolchain takes it beside
# the rows taken before it, and each row taken is named. A flag from the
# builder that a row would contradict (-fstack-check, another
# _FORTIFY_SOURCE) makes the compiler warn, so that row is left out.
set(_secs_fortifies "__USE_FORTIFY_LEVEL + _USE_FORTIFY_LEVEL + __SSP_FORTIFY_LEVEL > 0")
set(_secs_hardening
    "stack protector|BOTH|-fstack-protector-strong"
    "stack clash protection|COMPILE|-fstack-clash-protection"
    "_FORTIFY_SOURCE=3 (optimised builds)|OPTIMISED|-D_FORTIFY_SOURCE=3|${_secs_fortifies}"
    "_GLIBCXX_ASSERTIONS|COMPILE|-D_GLIBCXX_ASSERTIONS|defined(__GLIBCXX__)"
    "control-flow protection|COMPILE|-fcf-protection=full"
    "branch protection|COMPILE|-mbranch-protection=standard"
    "strict flexible arrays|COMPILE|-fstrict-flex-arrays=3"
    "format warnings|COMPILE|-Wformat=2 -Werror=format-security"
    "fallthrough warnings|COMPILE|-Wimplicit-fallthrough")
# Linkers for other formats may take -z without a word. A plain static
# program has nothing to bind.
if(CMAKE_EXECUTABLE_FORMAT STREQUAL "ELF")
  list(APPEND _secs_hardening "RELRO|LINK|-Wl,-z,relro"
       "non-executable stack|LINK|-Wl,-z,noexecstack" "no dlopen|LINK|-Wl,-z,nodlopen")
  if(NOT _secs_how STREQUAL "static")
    list(APPEND _secs_hardening "BIND_NOW|LINK|-Wl,-z,now")
  endif()
endif()
if(NOT SECS_HARDENING)
  set(_secs_hardening "")
endif()
foreach(row IN LISTS _secs_hardening)
  string(REPLACE "|" ";" row "${row}")
  # A row that gives no TEST has one that always holds.
  list(APPEND row 1)
  list(POP_FRONT row name where flags test)
  separate_arguments(flags)
  set(compile ${flags})
  set(link ${flags})
  if(where STREQUAL "LINK")
    set(compile "")
  elseif(NOT where STREQUAL "BOTH")
    set(link "")
  endif()
  string(MAKE_C_IDENTIFIER "SECS_TAKES_${name}" var)
  secs_builds(${var} "${compile}" "${link}" "${test}")
  if(NOT ${var})
    continue()
  endif()
  list(APPEND _secs_said "${name}")
  list(APPEND _secs_link ${link})
  if(where STREQUAL "OPTIMISED")
    target_compile_options(secs PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:${compile}>)
  else()
    list(APPEND _secs_compile ${compile})
  endif()
endforeach()
# Loaded at a random address (a static-pie is, and -pie after it would undo it).
if(SECS_HARDENING AND _secs_how STREQUAL "static-pie")
  list(APPEND _secs_said PIE)
elseif(SECS_HARDENING AND NOT SECS_STATIC)
  check_pie_supported(LANGUAGES CXX)
  if(CMAKE_CXX_LINK_PIE_SUPPORTED)
    set_target_properties(secs PROPERTIES POSITION_INDEPENDENT_CODE ON)
    list(APPEND _secs_said PIE)
  endif()
endif()
target_compile_options(secs PRIVATE ${_secs_compile})
target_link_options(secs PRIVATE ${_secs_link})
list(JOIN _secs_said ", " _secs_said)
if(NOT _secs_said)
  set(_secs_said none)
endif()
message(STATUS "secs: linked ${_secs_how}; hardening of ours: ${_secs_said}")

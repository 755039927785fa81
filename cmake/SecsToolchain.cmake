# SPDX-License-Identifier: MIT
# What this toolchain can do for secs: a time_t that outlives 2038, and, at
# the top level, how the tool can be linked and which hardening it takes.
# Every answer comes from a real compile and link of a small program, never
# from the platform's name, and is said once.
#
# In:  SECS_LINK (empty: choose), SECS_HARDENING, CMAKE_BUILD_TYPE.
# Out: SECS_TIME_DEFINITIONS, SECS_LINK_MODE, and secs_toolchain_apply(target)
#      to put it all on a target.
include(CheckCXXSourceCompiles)
include(CheckPIESupported)

# A 32-bit time_t runs out at 2038-01-19 03:14:07 UTC, and glibc's time()
# then fails. 32-bit glibc has offered a 64-bit one since 2.34 with
# _TIME_BITS=64, which wants _FILE_OFFSET_BITS=64 beside it; musl has had
# only 64 bits since 1.2.
set(_secs_time64 [[
#include <time.h>
typedef char time_t_has_64_bits[sizeof(time_t) >= 8 ? 1 : -1];
int main() { return 0; }
]])
set(CMAKE_REQUIRED_QUIET ON)
check_cxx_source_compiles("${_secs_time64}" SECS_TIME_T_64)
set(SECS_TIME_DEFINITIONS "")
if(SECS_TIME_T_64)
  message(STATUS "secs: time_t: 64-bit")
else()
  set(CMAKE_REQUIRED_DEFINITIONS -D_TIME_BITS=64 -D_FILE_OFFSET_BITS=64)
  check_cxx_source_compiles("${_secs_time64}" SECS_TIME_T_64_BY_TIME_BITS)
  unset(CMAKE_REQUIRED_DEFINITIONS)
  if(SECS_TIME_T_64_BY_TIME_BITS)
    set(SECS_TIME_DEFINITIONS _TIME_BITS=64 _FILE_OFFSET_BITS=64)
    message(STATUS "secs: time_t: 64-bit (with -D_TIME_BITS=64 -D_FILE_OFFSET_BITS=64)")
  else()
    message(WARNING "secs: time_t: 32-bit, and this C library offers no 64-bit one: "
      "from 2038-01-19 03:14:08 UTC on, secs will print wrong seconds")
  endif()
endif()
unset(CMAKE_REQUIRED_QUIET)

function(secs_toolchain_apply target)
  target_compile_definitions(${target} PRIVATE ${SECS_TIME_DEFINITIONS})
  if(NOT SECS_TOP_LEVEL)
    return()
  endif()
  target_compile_options(${target} PRIVATE ${_secs_compile_options})
  target_link_options(${target} PRIVATE ${_secs_link_options})
  if(SECS_LINK_MAP)
    target_link_options(${target} PRIVATE -Wl,-Map,${SECS_LINK_MAP})
  endif()
  # static-pie makes its own position-independent code; CMake's -pie, added
  # after it, would undo it. Plain static is the one mode without.
  if(SECS_LINK_MODE STREQUAL "static-pie")
    target_compile_options(${target} PRIVATE -fPIE)
  elseif(SECS_LINK_MODE STREQUAL "static")
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
  else()
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  endif()
endfunction()

# The rest is ours to choose only where secs is the top-level project.
if(NOT SECS_TOP_LEVEL)
  return()
endif()

# A program that needs from the runtime what secs needs: iostream, string,
# system and time, built as secs is.
set(_secs_probe [[
#include <stdlib.h>
#include <time.h>
#include <iostream>
#include <string>
int main(int argc, char** argv)
{
    std::string text(argv[0]);
    std::cout << text.size() << time(NULL);
    return argc > 9 ? system(text.c_str()) : 0;
}
]])
# Some drivers warn about an option they ignore and link anyway; that is a no.
set(_secs_refused "unused|unrecognized|unknown|ignored|not supported|invalid")

# _secs_links(VAR "compile flags" "link options"): does the probe build and link so?
function(_secs_links var flags link_options)
  set(CMAKE_REQUIRED_FLAGS "${flags}")
  list(TRANSFORM SECS_TIME_DEFINITIONS PREPEND -D OUTPUT_VARIABLE CMAKE_REQUIRED_DEFINITIONS)
  set(CMAKE_REQUIRED_LINK_OPTIONS ${link_options})
  set(CMAKE_REQUIRED_QUIET ON)
  check_cxx_source_compiles("${_secs_probe}" ${var} FAIL_REGEX "${_secs_refused}")
  set(${var} ${${var}} PARENT_SCOPE)
endfunction()

# Position-independent wherever the toolchain can, so the tool loads at a
# random address like the rest of the system.
check_pie_supported(OUTPUT_VARIABLE _secs_pie_output LANGUAGES CXX)

# _secs_made(FILE VAR): what the linker made of FILE, read off its headers:
# "static-pie" (ELF, position-independent, no loader named), "static" (ELF,
# no loader), "dynamic"; then ";PIE" where it loads at a random address.
# Empty for a file format not read here (Mach-O's is: its PIE flag).
function(_secs_uint file offset size big var) # an unsigned number stored in FILE
  file(READ "${file}" hex OFFSET ${offset} LIMIT ${size} HEX)
  if(NOT big)
    string(REGEX MATCHALL ".." bytes "${hex}")
    list(REVERSE bytes)
    list(JOIN bytes "" hex)
  endif()
  math(EXPR value "0x0${hex}")
  set(${var} ${value} PARENT_SCOPE)
endfunction()
function(_secs_made file var)
  set(made "")
  file(READ "${file}" magic LIMIT 6 HEX)
  if(magic MATCHES "^7f454c46(0[12])(0[12])$") # ELF: 32 or 64 bits, little or big end
    set(wide 0)
    set(big 0)
    if(CMAKE_MATCH_1 STREQUAL "02")
      set(wide 1)
    endif()
    if(CMAKE_MATCH_2 STREQUAL "02")
      set(big 1)
    endif()
    _secs_uint("${file}" 16 2 ${big} type) # 2: EXEC, 3: DYN
    if(wide)
      _secs_uint("${file}" 32 8 ${big} at)
      _secs_uint("${file}" 54 2 ${big} size)
      _secs_uint("${file}" 56 2 ${big} count)
    else()
      _secs_uint("${file}" 28 4 ${big} at)
      _secs_uint("${file}" 42 2 ${big} size)
      _secs_uint("${file}" 44 2 ${big} count)
    endif()
    set(segments "")
    foreach(i RANGE 1 ${count})
      _secs_uint("${file}" ${at} 4 ${big} segment)
      list(APPEND segments ${segment})
      math(EXPR at "${at} + ${size}")
    endforeach()
    if(3 IN_LIST segments) # PT_INTERP: the dynamic loader
      set(made dynamic)
    elseif(type EQUAL 3 AND 2 IN_LIST segments) # DYN with PT_DYNAMIC: it relocates itself
      set(made static-pie)
    else()
      set(made static)
    endif()
    if(type EQUAL 3)
      list(APPEND made PIE)
    endif()
  elseif(magic MATCHES "^(cffaedfe|cefaedfe)") # Mach-O, little-endian
    set(made dynamic)
    _secs_uint("${file}" 24 4 0 flags)
    math(EXPR pie "${flags} & 0x200000") # MH_PIE
    if(pie)
      list(APPEND made PIE)
    endif()
  endif()
  set(${var} "${made}" PARENT_SCOPE)
endfunction()

# The link modes, fastest first. Loading and relocating a shared libstdc++
# costs secs more than the shell it starts, so static wins where it links.
# Plain static gives up position independence; it is built only when asked
# for, or where the toolchain makes nothing else. -fPIE on the link line
# too: zig's driver makes a static-pie only so.
set(_secs_link_static "-static")
set(_secs_link_static-pie "-static-pie;-fPIE")
set(_secs_link_static-runtime "-static-libstdc++;-static-libgcc")
set(_secs_link_shared "")
set(_secs_compile_static-pie "-fPIE")
# Static links, --gc-sections and -z are ELF linkers' options. Another linker
# (Apple's, zig's for Mach-O) may take them without a word and make
# something else, so they are tried only where the toolchain makes ELF files,
# as CMake read off the compiler's own output.
string(COMPARE EQUAL "${CMAKE_EXECUTABLE_FORMAT}" "ELF" _secs_elf)
set(_secs_elf_only static-pie static)
# _secs_mode_links(MODE VAR): the probe, linked the MODE way as secs would
# be, then read: VAR is what came out ("static;PIE", say; see _secs_made),
# the mode's own name where the format is not read here, or empty where it
# did not link. A program that links may still not start (a static-pie that
# the kernel or C library cannot load), so the probe is also run, natively
# or through CMAKE_CROSSCOMPILING_EMULATOR, where it can be: SECS_RUNS_MODE
# says "ran" when it answered as it should, else what happened, and is empty
# where nothing built here can be run.
function(_secs_mode_links mode var)
  string(MAKE_C_IDENTIFIER "SECS_LINKS_${mode}" cached)
  string(MAKE_C_IDENTIFIER "SECS_RUNS_${mode}" runs)
  if(NOT DEFINED ${cached})
    set(probe ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/secs-probe-${mode})
    file(WRITE ${probe}.cpp "${_secs_probe}")
    list(TRANSFORM SECS_TIME_DEFINITIONS PREPEND -D OUTPUT_VARIABLE definitions)
    if(NOT mode MATCHES "^static")
      set(CMAKE_POSITION_INDEPENDENT_CODE ON) # as secs_toolchain_apply sets it
    endif()
    try_compile(linked ${probe}.dir SOURCES ${probe}.cpp
      COMPILE_DEFINITIONS ${_secs_compile_${mode}} ${definitions}
      LINK_OPTIONS ${_secs_link_${mode}}
      OUTPUT_VARIABLE output COPY_FILE ${probe})
    set(made "")
    set(ran "")
    if(linked AND NOT output MATCHES "${_secs_refused}")
      if(NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR)
        execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${probe} RESULT_VARIABLE ran
          OUTPUT_VARIABLE answer ERROR_QUIET TIMEOUT 60)
        if(ran STREQUAL "0" AND answer MATCHES "^[0-9]+$")
          set(ran ran)
        elseif(ran STREQUAL "0")
          set(ran "it printed '${answer}'")
        endif()
      endif()
      _secs_made(${probe} made)
      if(NOT made)
        set(made ${mode})
        if(CMAKE_CXX_LINK_PIE_SUPPORTED AND NOT mode STREQUAL "static")
          list(APPEND made PIE)
        endif()
      endif()
    endif()
    set(${cached} "${made}" CACHE INTERNAL "What the probe linked ${mode} came out as")
    set(${runs} "${ran}" CACHE INTERNAL "How the probe linked ${mode} ran")
  endif()
  set(${var} "${${cached}}" PARENT_SCOPE)
endfunction()

# _secs_cannot_start(MODE VAR): why the probe linked the MODE way did not
# start, where one linked shared did (so programs built here can run); else
# empty, and the headers alone judge it.
function(_secs_cannot_start mode var)
  _secs_mode_links(shared shared)
  string(MAKE_C_IDENTIFIER "SECS_RUNS_${mode}" runs)
  set(why "")
  if(SECS_RUNS_shared STREQUAL "ran" AND NOT ${runs} STREQUAL "ran")
    set(why "${${runs}}")
  endif()
  set(${var} "${why}" PARENT_SCOPE)
endfunction()

# The mode a link that came out as MADE names: the static kinds by what
# they are, a dynamic one by the way it was asked for.
macro(_secs_name_mode asked made)
  list(GET ${made} 0 _secs_got)
  if(_secs_got STREQUAL "dynamic")
    set(_secs_got ${asked})
  endif()
endmacro()

if(SECS_LINK)
  if(NOT DEFINED _secs_link_${SECS_LINK})
    message(FATAL_ERROR "SECS_LINK is static-pie, static, static-runtime or shared (or empty, to choose), not '${SECS_LINK}'")
  endif()
  if(SECS_LINK IN_LIST _secs_elf_only AND NOT _secs_elf)
    message(FATAL_ERROR "SECS_LINK=${SECS_LINK} links ELF files; this toolchain makes ${CMAKE_EXECUTABLE_FORMAT} files. "
      "Leave SECS_LINK empty to take the best way it can.")
  endif()
  _secs_mode_links(${SECS_LINK} _secs_linked)
  _secs_cannot_start(${SECS_LINK} _secs_why_not)
  if(_secs_linked AND _secs_why_not)
    message(FATAL_ERROR "SECS_LINK=${SECS_LINK}: it links, but the program does not run here "
      "(${_secs_why_not}). Leave SECS_LINK empty to take the best way it can.")
  endif()
  if(NOT _secs_linked)
    message(FATAL_ERROR "SECS_LINK=${SECS_LINK}: this toolchain cannot link a C++ program that way "
      "(CMakeFiles/CMakeConfigureLog.yaml or CMakeError.log says why). "
      "Leave SECS_LINK empty to take the best way it can.")
  endif()
  _secs_name_mode(${SECS_LINK} _secs_linked)
  if(NOT _secs_got STREQUAL SECS_LINK)
    message(FATAL_ERROR "SECS_LINK=${SECS_LINK}: linked so, this toolchain makes a ${_secs_got} program. "
      "Leave SECS_LINK empty to take the best way it can.")
  endif()
  set(SECS_LINK_MODE ${SECS_LINK})
  set(_secs_why "SECS_LINK")
elseif(CMAKE_BUILD_TYPE STREQUAL "Debug")
  # Sanitizers and debuggers want the shared runtime.
  set(SECS_LINK_MODE shared)
  _secs_mode_links(shared _secs_linked)
  set(_secs_why "a Debug build")
else()
  set(SECS_LINK_MODE shared)
  _secs_mode_links(shared _secs_linked)
  set(_secs_why "no static way links here")
  foreach(mode static-pie static-runtime)
    if(mode IN_LIST _secs_elf_only AND NOT _secs_elf)
      continue()
    endif()
    _secs_mode_links(${mode} _secs_tried)
    if(NOT _secs_tried)
      continue()
    endif()
    _secs_cannot_start(${mode} _secs_why_not)
    if(_secs_why_not)
      message(STATUS "secs: ${mode} links, but its program does not run here (${_secs_why_not}): trying the next way")
      continue()
    endif()
    _secs_name_mode(${mode} _secs_tried)
    # A static-pie that comes out plain static is no static-pie; a runtime
    # that comes out all static (zig's musl links so) is said to be.
    if(_secs_got STREQUAL mode OR (mode STREQUAL "static-runtime" AND _secs_got STREQUAL "static"))
      set(SECS_LINK_MODE ${_secs_got})
      set(_secs_linked ${_secs_tried})
      set(_secs_why "the fastest way this toolchain links")
      break()
    endif()
  endforeach()
endif()
set(_secs_link_options ${_secs_link_${SECS_LINK_MODE}})
# What follows is tried with the mode's own compile flags too.
set(_secs_mode_flags "${_secs_compile_${SECS_LINK_MODE}}")

# Dropping unused sections makes a binary that carries a static library
# smaller, where the linker takes it; a shared link is left to the builder's
# flags. Said with the hardening below.
set(_secs_gc_sections OFF)
if(_secs_elf AND NOT SECS_LINK_MODE STREQUAL "shared")
  _secs_links(SECS_LINKER_GC_SECTIONS "${_secs_mode_flags}" "${_secs_link_options};-Wl,--gc-sections")
  set(_secs_gc_sections ${SECS_LINKER_GC_SECTIONS})
endif()
if(_secs_gc_sections)
  list(APPEND _secs_link_options -Wl,--gc-sections)
endif()

# A static secs carries code from the C and C++ libraries; the linker's map
# (secs.map) says which archives, for a package's Built-Using.
set(SECS_LINK_MAP "")
if(SECS_LINK_MODE MATCHES "^static(-pie)?$")
  _secs_links(SECS_LINKER_MAP "${_secs_mode_flags}" "${_secs_link_options};-Wl,-Map,${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/probe.map")
  if(SECS_LINKER_MAP)
    set(SECS_LINK_MAP ${CMAKE_CURRENT_BINARY_DIR}/secs.map)
  endif()
endif()

# Hardening, each piece where the toolchain takes it. _FORTIFY_SOURCE needs
# optimisation, and is left alone where the compiler or CXXFLAGS already set it
# (redefining it warns).
set(_secs_hardening "")
set(_secs_compile_options "")
if(SECS_HARDENING)
  _secs_links(SECS_CAN_STACK_PROTECTOR "${_secs_mode_flags} -fstack-protector-strong" "${_secs_link_options}")
  if(SECS_CAN_STACK_PROTECTOR)
    list(APPEND _secs_compile_options -fstack-protector-strong)
    list(APPEND _secs_hardening stack-protector-strong)
  endif()
  _secs_links(SECS_CAN_FORTIFY "${_secs_mode_flags} -O2 -D_FORTIFY_SOURCE=2 -Werror" "${_secs_link_options}")
  if(SECS_CAN_FORTIFY)
    list(APPEND _secs_compile_options $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
    list(APPEND _secs_hardening "_FORTIFY_SOURCE=2 (optimised builds)")
  endif()
  # A plain static binary has no dynamic section, so nothing to bind now.
  set(_secs_z "")
  if(_secs_elf AND SECS_LINK_MODE STREQUAL "static")
    set(_secs_z relro)
  elseif(_secs_elf)
    set(_secs_z relro now)
  endif()
  foreach(flag IN LISTS _secs_z)
    string(TOUPPER "SECS_LINKER_Z_${flag}" _secs_var)
    _secs_links(${_secs_var} "${_secs_mode_flags}" "${_secs_link_options};-Wl,-z,${flag}")
    if(${_secs_var})
      list(APPEND _secs_link_options -Wl,-z,${flag})
      list(APPEND _secs_hardening "-z ${flag}")
    endif()
  endforeach()
endif()
if(_secs_gc_sections)
  list(APPEND _secs_hardening "--gc-sections")
endif()
if("PIE" IN_LIST _secs_linked)
  list(APPEND _secs_hardening "PIE")
endif()
list(JOIN _secs_hardening ", " _secs_said)
message(STATUS "secs: linked ${SECS_LINK_MODE} (${_secs_why}); with ${_secs_said}")

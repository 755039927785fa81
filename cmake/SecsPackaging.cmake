# SPDX-License-Identifier: MIT
# The docs every install carries, LICENSE and README.md, and those only our
# packages carry: a copyright file in the machine-readable Debian format,
# made from LICENSE, and changelogs, made from CHANGELOG.md. Then, at the top
# level, the packages, made by `cpack -G DEB` or `cpack -G RPM` in the build
# directory, two of each: secs (the tool, its man page, completions and docs)
# and the stopwatch's development files (header, CMake package, pkg-config
# file).
# SecsPackageFiles.cmake then gives the staged files what distributions ask
# for, whatever the builder's umask.
# Who publishes the packages, and where; named only where the builder says.
set(SECS_MAINTAINER "" CACHE STRING "Maintainer named in the packages: Name <address>")
set(SECS_HOMEPAGE "" CACHE STRING "Home page named in the packages")
set(_secs_who "The secs developers")
set(_secs_contact "")
if(SECS_MAINTAINER)
  set(_secs_who "${SECS_MAINTAINER}")
  set(_secs_contact "Upstream-Contact: ${SECS_MAINTAINER}\n")
endif()
set(_secs_dev_deb libveldmark-core-dev)
set(_secs_dev_rpm veldmark-core-devel)

# --- The docs each package carries -------------------------------------------
# copyright: a Files stanza around LICENSE's terms, blank lines as " .".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _secs_terms)
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" _secs_terms "${_secs_terms}")
string(STRIP "${_secs_terms}" _secs_terms)
string(REPLACE "\n\n" "\n.\n" _secs_terms "${_secs_terms}")
string(REPLACE "\n" "\n " _secs_terms "${_secs_terms}")
file(WRITE ${PROJECT_BINARY_DIR}/package/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: secs
${_secs_contact}
Files: *
Copyright: 2026 The secs developers
License: Expat
 ${_secs_terms}
")

# changelog: each "## VERSION (YYYY-MM-DD)" section of CHANGELOG.md becomes a
# Debian changelog entry (gzipped when staged) and an RPM %changelog entry.
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md _secs_changes)
set(_secs_days Sat Sun Mon Tue Wed Thu Fri)
set(_secs_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(_secs_deb "")
set(_secs_rpm "")
set(_secs_deb_entry "")
foreach(line IN LISTS _secs_changes)
  if(line MATCHES "^## ([^ ]+) \\(([0-9]+)-0?([0-9]+)-0?([0-9]+)\\)$")
    string(APPEND _secs_deb "${_secs_deb_entry}")
    set(version ${CMAKE_MATCH_1})
    set(y ${CMAKE_MATCH_2})
    set(m ${CMAKE_MATCH_3})
    set(d ${CMAKE_MATCH_4})
    # The day of the week, by Zeller's congruence (0 is Saturday).
    set(zm ${m})
    set(zy ${y})
    if(m LESS 3)
      math(EXPR zm "${m} + 12")
      math(EXPR zy "${y} - 1")
    endif()
    math(EXPR wd "(${d} + 13 * (${zm} + 1) / 5 + ${zy} + ${zy} / 4 - ${zy} / 100 + ${zy} / 400) % 7")
    list(GET _secs_days ${wd} day)
    math(EXPR mi "${m} - 1")
    list(GET _secs_months ${mi} month)
    if(d LESS 10)
      set(dd 0${d})
    else()
      set(dd ${d})
    endif()
    string(APPEND _secs_deb "secs (${version}) unstable; urgency=medium\n\n")
    set(_secs_deb_entry "\n -- ${_secs_who}  ${day}, ${dd} ${month} ${y} 00:00:00 +0000\n\n")
    string(APPEND _secs_rpm "* ${day} ${month} ${dd} ${y} ${_secs_who} - ${version}-1\n")
  elseif(line MATCHES "^- (.*)$")
    string(APPEND _secs_deb "  * ${CMAKE_MATCH_1}\n")
    string(APPEND _secs_rpm "- ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^  +(.*)$" AND _secs_deb_entry)
    string(APPEND _secs_deb "    ${CMAKE_MATCH_1}\n")
    string(APPEND _secs_rpm "  ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
string(STRIP "${_secs_deb}${_secs_deb_entry}" _secs_deb)
file(WRITE ${PROJECT_BINARY_DIR}/package/changelog "${_secs_deb}\n")
file(WRITE ${PROJECT_BINARY_DIR}/package/rpm-changelog "${_secs_rpm}")

# Under add_subdirectory the parent's project name may be in the default docdir.
set(_secs_docdir ${CMAKE_INSTALL_DATADIR}/doc/secs)
if(SECS_TOP_LEVEL)
  set(_secs_docdir ${CMAKE_INSTALL_DOCDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${_secs_docdir} COMPONENT secs)

# --- The packages, made only where secs is the top-level project -------------
if(NOT SECS_TOP_LEVEL)
  return()
endif()
set(CPACK_PACKAGE_NAME secs)
# Each .deb's description starts with its own synopsis: CPack puts the
# project's in front unless the summary is left at its default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_VENDOR "The secs developers")
set(CPACK_PACKAGE_CONTACT "${SECS_MAINTAINER}") # a .deb must name one: CPack says so
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB) # -G RPM for the other
set(CPACK_COMPONENTS_ALL secs dev)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/SecsPackageFiles.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/SecsPackageFiles.cmake)
# What SecsPackageFiles.cmake and secs.rpmspec.in need to know.
set(CPACK_SECS_LINK_MODE ${SECS_LINK_MODE})
set(CPACK_SECS_LINK_MAP ${SECS_LINK_MAP})
set(CPACK_SECS_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_SECS_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_SECS_DEBIAN_DOCS ${PROJECT_BINARY_DIR}/package/copyright ${PROJECT_BINARY_DIR}/package/changelog)
set(CPACK_SECS_DEV_DEB ${_secs_dev_deb})
if(IS_ABSOLUTE "${SECS_ZSH_COMPLETION_DIR}")
  set(CPACK_SECS_ZSH_COMPLETION "${SECS_ZSH_COMPLETION_DIR}/_secs")
else()
  set(CPACK_SECS_ZSH_COMPLETION "%{_prefix}/${SECS_ZSH_COMPLETION_DIR}/_secs")
endif()
set(_secs_summary "run a shell command and print the whole seconds it took")
set(CPACK_SECS_DESCRIPTION "secs runs a shell command and prints how long it took, in whole seconds,
as a bare number on standard output. The command's own output, input and
exit status are left as they are, so it fits CI jobs, cron lines and
Makefile recipes.")
set(_secs_dev_summary "header-only C++ whole-second stopwatch")
set(CPACK_SECS_DEV_DESCRIPTION "Insecondstimer is the stopwatch secs is built on: it sums whole seconds of
the calendar clock over run and pause intervals. It is a single C++98
header, with a CMake package (VeldmarkCore) and a pkg-config file
(veldmark-core).")
# CPack names the build machine's architecture; a cross build's is the target's.
if(CMAKE_CROSSCOMPILING)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpmachine OUTPUT_VARIABLE _secs_triple OUTPUT_STRIP_TRAILING_WHITESPACE)
  find_program(SECS_DPKG_ARCHITECTURE dpkg-architecture)
  if(SECS_DPKG_ARCHITECTURE)
    execute_process(COMMAND ${SECS_DPKG_ARCHITECTURE} -t${_secs_triple} -qDEB_HOST_ARCH
      OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  # RPM names an architecture as the kernel does, but for 32-bit ARM with
  # hardware floating point.
  string(REGEX REPLACE "^armv7.*" "armv7hl" CPACK_RPM_PACKAGE_ARCHITECTURE "${CMAKE_SYSTEM_PROCESSOR}")
endif()

# Debian: two packages, the tool and the stopwatch's development files.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE secs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SECS_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_SECS_PACKAGE_NAME secs)
set(CPACK_DEBIAN_SECS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_SECS_DESCRIPTION "${_secs_summary}\n${CPACK_SECS_DESCRIPTION}")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${_secs_dev_deb})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DEV_DESCRIPTION "${_secs_dev_summary}\n${CPACK_SECS_DEV_DESCRIPTION}")

# RPM: one source package, secs, that makes the two binary packages, laid out
# as Fedora does; see secs.rpmspec.in. It is not relocatable.
set(CPACK_RPM_COMPONENT_INSTALL OFF)
set(CPACK_RPM_USER_BINARY_SPECFILE ${PROJECT_SOURCE_DIR}/cmake/secs.rpmspec.in)
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_LICENSE MIT)
set(CPACK_RPM_PACKAGE_URL "${SECS_HOMEPAGE}")
set(CPACK_RPM_CHANGELOG_FILE ${PROJECT_BINARY_DIR}/package/rpm-changelog)
set(CPACK_SECS_SUMMARY "Run a shell command and print the whole seconds it took")
set(CPACK_SECS_DEV_NAME ${_secs_dev_rpm})
set(CPACK_SECS_DEV_SUMMARY "Header-only C++ whole-second stopwatch")
# With SOURCE_DATE_EPOCH set, rpmbuild takes it for the build time and the
# files' times, and names no build host, so two builds give the same package.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define use_source_date_epoch_as_buildtime 1
%define clamp_mtime_to_source_date_epoch 1
%define _buildhost reproducible")
if(SECS_MAINTAINER)
  string(APPEND CPACK_RPM_SPEC_MORE_DEFINE "\n%define packager ${SECS_MAINTAINER}")
endif()
include(CPack)

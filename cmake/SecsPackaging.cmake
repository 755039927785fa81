# SPDX-License-Identifier: MIT
# The docs every install carries: a copyright file in the machine-readable
# Debian format, made from LICENSE, and a changelog, made from CHANGELOG.md.
# Then, at the top level, the packages, made by `cpack -G DEB` or
# `cpack -G RPM` in the build directory, two of each: secs (the tool, its
# man page, completions and docs) and the stopwatch's development files
# (header, CMake package, pkg-config file).
# SecsPackageFiles.cmake then gives the staged files what distributions ask
# for, whatever the builder's umask.
set(SECS_MAINTAINER "secs developers <secs@example.org>" CACHE STRING "Maintainer named in the packages")
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
Upstream-Contact: ${SECS_MAINTAINER}

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
    set(_secs_deb_entry "\n -- ${SECS_MAINTAINER}  ${day}, ${dd} ${month} ${y} 00:00:00 +0000\n\n")
    string(APPEND _secs_rpm "* ${day} ${month} ${dd} ${y} ${SECS_MAINTAINER} - ${version}-1\n")
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

foreach(part secs dev)
  set(docdir ${CMAKE_INSTALL_DATADIR}/doc/secs)
  if(part STREQUAL "dev")
    set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${_secs_dev_deb})
  endif()
  install(FILES ${PROJECT_BINARY_DIR}/package/copyright ${PROJECT_BINARY_DIR}/package/changelog
          DESTINATION ${docdir} COMPONENT ${part})
endforeach()

# --- The packages, made only where secs is the top-level project -------------
if(NOT SECS_TOP_LEVEL)
  return()
endif()
set(CPACK_PACKAGE_NAME secs)
# Each package's first description line is its synopsis: CPack adds a summary
# of its own in front unless the summary is left at its default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_SECS_LINK_MODE ${SECS_LINK_MODE}) # for the lintian override
set(CPACK_PACKAGE_VENDOR "secs developers")
set(CPACK_PACKAGE_CONTACT "${SECS_MAINTAINER}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB) # -G RPM for the other
set(CPACK_COMPONENTS_ALL secs dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_RPM_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/SecsPackageFiles.cmake)
set(CPACK_COMPONENT_SECS_DESCRIPTION "run a shell command and print the whole seconds it took
secs runs a shell command and prints how long it took, in whole seconds,
as a bare number on standard output. The command's own output, input and
exit status are left as they are, so it fits CI jobs, cron lines and
Makefile recipes.")
set(CPACK_COMPONENT_DEV_DESCRIPTION "header-only C++ whole-second stopwatch
Insecondstimer is the stopwatch secs is built on: it sums whole seconds of
the calendar clock over run and pause intervals. It is a single C++98
header, with a CMake package (VeldmarkCore) and a pkg-config file
(veldmark-core).")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SECS_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SOURCE secs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_SECS_PACKAGE_NAME secs)
set(CPACK_DEBIAN_SECS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${_secs_dev_deb})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_ARCHITECTURE all)

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_LICENSE MIT)
set(CPACK_RPM_PACKAGE_URL "https://example.org/secs")
set(CPACK_RPM_CHANGELOG_FILE ${PROJECT_BINARY_DIR}/package/rpm-changelog)
# With SOURCE_DATE_EPOCH set, rpmbuild takes it for the build time and the
# files' times, and names no build host, so two builds give the same package.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define packager ${SECS_MAINTAINER}
%define use_source_date_epoch_as_buildtime 1
%define clamp_mtime_to_source_date_epoch 1
%define _buildhost reproducible")
set(CPACK_RPM_SECS_PACKAGE_NAME secs)
set(CPACK_RPM_SECS_PACKAGE_SUMMARY "Run a shell command and print the whole seconds it took")
set(CPACK_RPM_SECS_PACKAGE_GROUP "Applications/System")
set(CPACK_RPM_DEV_PACKAGE_NAME ${_secs_dev_rpm})
set(CPACK_RPM_DEV_PACKAGE_SUMMARY "Header-only C++ whole-second stopwatch")
set(CPACK_RPM_DEV_PACKAGE_GROUP "Development/Libraries")
set(CPACK_RPM_DEV_PACKAGE_ARCHITECTURE noarch)
set(CPACK_RPM_DEFAULT_DIR_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The directories every system already has, and those of the shells whose
# completions we add, belong to other packages.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
  /usr/share/bash-completion /usr/share/bash-completion/completions /usr/share/zsh /usr/share/zsh/site-functions
  /usr/share/fish /usr/share/fish/vendor_completions.d /usr/share/lintian /usr/share/lintian/overrides
  /usr/share/cmake /usr/share/pkgconfig /usr/include /usr/share/doc /usr/share/man /usr/share/man/man1)
include(CPack)

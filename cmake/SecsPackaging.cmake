# SPDX-License-Identifier: MIT
# What `cpack -G DEB` and `-G RPM` make: secs, and the stopwatch's development
# files. A cross build names its CPU: -DCPACK_{DEBIAN,RPM}_PACKAGE_ARCHITECTURE.
set(SECS_MAINTAINER "" CACHE STRING "Maintainer named in the packages: Name <address>")
set(SECS_HOMEPAGE "" CACHE STRING "Home page named in the packages")
set(CPACK_PACKAGE_NAME secs)
set(CPACK_PACKAGE_VENDOR "The secs developers")
set(CPACK_PACKAGE_CONTACT "${SECS_MAINTAINER}") # a .deb must name one: CPack says so
# Each .deb's description starts with its own synopsis: CPack puts the
# project's in front unless the summary is left at CPack's default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL secs dev)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/SecsPackageDocs.cmake)
set(CPACK_SECS_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# With SOURCE_DATE_EPOCH set, the changelogs' date is its, and rpmbuild takes
# it for the build time and the files' times.
string(TIMESTAMP CPACK_SECS_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP _secs_rpm_date "%a %b %d %Y" UTC)
set(CPACK_COMPONENT_SECS_DESCRIPTION
    "run a shell command and print the whole seconds it took
secs prints how long a shell command took, in whole seconds, leaving the
command's output, input and exit status as they are.")
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "header-only C++ whole-second stopwatch
Insecondstimer, the stopwatch secs is built on: one C++98 header, with a
CMake package (VeldmarkCore) and a pkg-config file (veldmark-core).")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON) # control files 0644, whatever the umask
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SECS_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_SECS_PACKAGE_NAME secs)
set(CPACK_DEBIAN_SECS_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libveldmark-core-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_ARCHITECTURE all)
set(CPACK_RPM_COMPONENT_INSTALL ON)
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_LICENSE MIT)
set(CPACK_RPM_PACKAGE_URL "${SECS_HOMEPAGE}")
set(CPACK_RPM_SECS_PACKAGE_NAME secs)
set(CPACK_RPM_SECS_PACKAGE_SUMMARY "Run a shell command and print the whole seconds it took")
set(CPACK_RPM_DEV_PACKAGE_NAME veldmark-core-devel)
set(CPACK_RPM_DEV_PACKAGE_SUMMARY "Header-only C++ whole-second stopwatch")
set(CPACK_RPM_DEV_PACKAGE_ARCHITECTURE noarch)
# Not relocatable, as Fedora asks (CPackRPM relocates if either variable says
# so); the licence marked, so that --nodocs keeps it.
set(CPACK_PACKAGE_RELOCATABLE OFF)
set(CPACK_RPM_SECS_USER_FILELIST "%license /usr/share/doc/secs/LICENSE")
set(CPACK_RPM_DEV_USER_FILELIST "%license /usr/share/doc/veldmark-core/LICENSE")
# Directories that belong to the system, not to the packages.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
    /usr/share/man
    /usr/share/man/man1
    /usr/share/cmake
    /usr/share/pkgconfig
    /usr/share/bash-completion
    /usr/share/bash-completion/completions
    /usr/share/fish
    /usr/share/fish/vendor_completions.d
    /usr/share/zsh
    /usr/share/zsh/site-functions)
file(WRITE ${PROJECT_BINARY_DIR}/rpm-changelog
     "* ${_secs_rpm_date} ${CPACK_PACKAGE_VENDOR} - ${PROJECT_VERSION}-1\n"
     "- secs ${PROJECT_VERSION}: what changed is in its CHANGELOG.md.\n")
set(CPACK_RPM_CHANGELOG_FILE ${PROJECT_BINARY_DIR}/rpm-changelog)
set(CPACK_RPM_SPEC_MORE_DEFINE
    "%define use_source_date_epoch_as_buildtime 1
%define clamp_mtime_to_source_date_epoch 1
%define _buildhost reproducible
%define packager ${SECS_MAINTAINER}")
include(CPack)

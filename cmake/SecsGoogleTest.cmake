# SPDX-License-Identifier: MIT
# GoogleTest for the tests, 1.10 or later: the one installed or, with
# SECS_FETCH_GTEST, a pinned release. Without, SECS_NO_GTEST says why.
option(SECS_FETCH_GTEST "Fetch the pinned GoogleTest release when none is installed" OFF)
set(SECS_NO_GTEST "")
find_package(GTest 1.10 QUIET)
if(NOT GTest_FOUND AND SECS_FETCH_GTEST)
  include(FetchContent)
  message(STATUS "secs: fetching GoogleTest unless FETCHCONTENT_SOURCE_DIR_GOOGLETEST names its "
                 "sources (offline: Debian's googletest puts them in /usr/src/googletest)")
  set(BUILD_GMOCK OFF CACHE BOOL "")
  set(INSTALL_GTEST OFF CACHE BOOL "")
  set(gtest_force_shared_crt ON CACHE BOOL "") # MSVC: the C runtime secs's tests link
  FetchContent_Declare(
    googletest URL https://github.com/google/googletest/archive/refs/tags/release-1.12.1.tar.gz
    URL_HASH SHA256=81964fe578e9bd7c94dfdb09c8e4d6e6759e19967e397dbea48d1c10e45d0df2)
  FetchContent_MakeAvailable(googletest)
elseif(NOT GTest_FOUND)
  string(CONCAT SECS_NO_GTEST
                "GoogleTest 1.10 or later is not installed: install it (libgtest-dev, "
                "gtest-devel, googletest) or configure with -DSECS_FETCH_GTEST=ON")
  message(STATUS "secs: only the install test: ${SECS_NO_GTEST}")
endif()

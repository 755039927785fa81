# SPDX-License-Identifier: MIT
# GoogleTest for the tests, 1.10 or later (GTEST_SKIP, INSTANTIATE_TEST_SUITE_P):
# the one installed; a source tree given as FetchContent takes one,
# FETCHCONTENT_SOURCE_DIR_GOOGLETEST; or, with SECS_FETCH_GTEST, a pinned
# release fetched at configure time, unless FETCHCONTENT_FULLY_DISCONNECTED
# forbids it. Sets SECS_GTEST to what the tests use, or SECS_NO_TESTS_BECAUSE
# to why they cannot be built.
option(SECS_FETCH_GTEST "Fetch the pinned GoogleTest release when none is installed" OFF)
set(SECS_GTEST_URL "https://github.com/google/googletest/archive/refs/tags/release-1.12.1.tar.gz"
  CACHE STRING "Where SECS_FETCH_GTEST fetches GoogleTest from")
set(SECS_GTEST_SHA256 "81964fe578e9bd7c94dfdb09c8e4d6e6759e19967e397dbea48d1c10e45d0df2"
  CACHE STRING "The SHA256 the fetched GoogleTest archive must have")

set(SECS_GTEST "")
set(SECS_NO_TESTS_BECAUSE "")
find_package(GTest 1.10 QUIET)
if(GTest_FOUND)
  set(SECS_GTEST "GoogleTest ${GTest_VERSION}")
  return()
elseif(GTest_VERSION)
  set(_secs_installed "GoogleTest ${GTest_VERSION} is older than the 1.10 the tests need")
else()
  set(_secs_installed "GoogleTest is not installed")
endif()
if(FETCHCONTENT_SOURCE_DIR_GOOGLETEST)
  set(_secs_from "${FETCHCONTENT_SOURCE_DIR_GOOGLETEST}")
elseif(NOT SECS_FETCH_GTEST)
  set(SECS_NO_TESTS_BECAUSE "${_secs_installed}; install 1.10 or later (libgtest-dev, gtest-devel, googletest) or configure with -DSECS_FETCH_GTEST=ON")
  return()
elseif(FETCHCONTENT_FULLY_DISCONNECTED)
  string(CONCAT SECS_NO_TESTS_BECAUSE "${_secs_installed}, and SECS_FETCH_GTEST fetches nothing while "
    "FETCHCONTENT_FULLY_DISCONNECTED is on. Install GoogleTest (libgtest-dev, gtest-devel, googletest), "
    "or give its source tree: -DFETCHCONTENT_SOURCE_DIR_GOOGLETEST=/path/to/googletest")
  return()
else()
  set(_secs_from "${SECS_GTEST_URL}")
endif()

# Our own download first, so that a machine offline gets a reason, not a
# failed configure; then FetchContent unpacks the checked archive.
set(_secs_archive ${PROJECT_BINARY_DIR}/_deps/googletest-${SECS_GTEST_SHA256}.tar.gz)
if(NOT FETCHCONTENT_SOURCE_DIR_GOOGLETEST AND NOT EXISTS ${_secs_archive})
  file(DOWNLOAD "${SECS_GTEST_URL}" ${_secs_archive}.part STATUS _secs_status TIMEOUT 120 INACTIVITY_TIMEOUT 30)
  list(GET _secs_status 0 _secs_code)
  if(NOT _secs_code EQUAL 0)
    list(GET _secs_status 1 _secs_error)
    file(REMOVE ${_secs_archive}.part)
    string(CONCAT SECS_NO_TESTS_BECAUSE "${_secs_installed}, and ${SECS_GTEST_URL} could not be fetched "
      "(${_secs_error}). Install GoogleTest (libgtest-dev, gtest-devel, googletest), or, offline, "
      "give a copy of the archive: -DSECS_GTEST_URL=file:///path/to/googletest.tar.gz -DSECS_GTEST_SHA256=its-sha256")
    return()
  endif()
  file(SHA256 ${_secs_archive}.part _secs_sha256)
  if(NOT _secs_sha256 STREQUAL SECS_GTEST_SHA256)
    file(REMOVE ${_secs_archive}.part)
    message(FATAL_ERROR "${SECS_GTEST_URL} has SHA256 ${_secs_sha256}, not the pinned ${SECS_GTEST_SHA256}")
  endif()
  file(RENAME ${_secs_archive}.part ${_secs_archive})
endif()

if(POLICY CMP0135)
  cmake_policy(SET CMP0135 NEW) # unpacked files carry the time of unpacking
endif()
include(FetchContent)
set(BUILD_GMOCK OFF CACHE BOOL "")
set(INSTALL_GTEST OFF CACHE BOOL "")
FetchContent_Declare(googletest URL ${_secs_archive} URL_HASH SHA256=${SECS_GTEST_SHA256})
FetchContent_MakeAvailable(googletest)
file(STRINGS ${googletest_SOURCE_DIR}/CMakeLists.txt _secs_version REGEX "GOOGLETEST_VERSION [0-9.]+")
string(REGEX MATCH "[0-9.]+" _secs_version "${_secs_version}")
set(SECS_GTEST "GoogleTest ${_secs_version}, from ${_secs_from}")

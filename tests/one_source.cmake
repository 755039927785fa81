# SPDX-License-Identifier: MIT
# The facts that files restate, checked against their one source. Each
# spelling of secs's version must be project(VERSION)'s, and the README's
# list of Linux downloads must name the CPUs of .ci/targets. Each file that
# lags is named. Usage: cmake -DVERSION=X.Y.Z -P one_source.cmake
set(source "${CMAKE_CURRENT_LIST_DIR}/..")
set(lags "")
# The install lines, the man page's footer, the pinned tag, the newest entry.
foreach(row "README.md|secs[-_][0-9.]*[0-9]" "doc/secs.1|secs [0-9.]*[0-9]"
            "doc/stopwatch.md|GIT_TAG v[0-9.]*[0-9]" "CHANGELOG.md|^## [0-9.]*[0-9]")
  string(REPLACE "|" ";" row "${row}")
  list(POP_FRONT row file pattern)
  file(STRINGS "${source}/${file}" lines REGEX "${pattern}")
  string(REGEX MATCHALL "${pattern}" spellings "${lines};")
  if(file STREQUAL "CHANGELOG.md" AND spellings)
    list(GET spellings 0 spellings)
  endif()
  string(REGEX REPLACE "[^;]*[ v_-]" "" spellings "${spellings}")
  list(REMOVE_ITEM spellings ${VERSION})
  list(REMOVE_DUPLICATES spellings)
  if(spellings OR NOT lines)
    list(JOIN spellings " " spellings)
    list(APPEND lags "${file} spells the version as '${spellings}', not ${VERSION}")
  endif()
endforeach()

file(STRINGS "${source}/.ci/targets" targets REGEX "^[^#]+-linux ")
string(REGEX REPLACE "-linux [^;]*" "" targets "${targets}")
file(READ "${source}/README.md" readme)
string(REGEX MATCH "-CPU-linux.tar.gz` for([^(]*)\\(" listed "${readme}")
string(REGEX REPLACE "[ \n]+or[ \n]+|,[ \n]*" ";" listed "${CMAKE_MATCH_1}")
string(STRIP "${listed}" listed)
list(JOIN listed " " listed)
list(JOIN targets " " targets)
if(NOT listed STREQUAL targets)
  list(APPEND lags "README.md lists the Linux CPUs '${listed}', .ci/targets '${targets}'")
endif()
if(lags)
  list(JOIN lags "\n" lags)
  message(FATAL_ERROR "${lags}")
endif()

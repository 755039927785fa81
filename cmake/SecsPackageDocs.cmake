# SPDX-License-Identifier: MIT
# Run by CPack on each package's staged files: each .deb gets the copyright
# file and changelog Debian asks for, secs's its lintian overrides; man pages
# and changelogs are gzipped; whatever the umask, directories are 0755 and
# files 0644, bin/ aside; with SOURCE_DATE_EPOCH set, every file is of that time.
set(stage "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
foreach(package secs:secs dev:libveldmark-core-dev)
  string(REGEX REPLACE "^(.*):(.*)$" "${stage}/\\1/usr/share/doc/\\2" doc ${package})
  if(CPACK_GENERATOR STREQUAL "DEB")
    configure_file("${CPACK_SECS_LICENSE}" "${doc}/copyright" COPYONLY)
    file(
      WRITE "${doc}/changelog"
      "secs (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium\n\n"
      "  * secs ${CPACK_PACKAGE_VERSION}: what changed is in its CHANGELOG.md.\n\n"
      " -- ${CPACK_PACKAGE_CONTACT}  ${CPACK_SECS_DEB_DATE}\n")
  endif()
endforeach()
if(CPACK_GENERATOR STREQUAL "DEB")
  file(
    WRITE "${stage}/secs/usr/share/lintian/overrides/secs"
    "# Static by design: one binary for any Debian or Ubuntu of its CPU, and start-up\n"
    "# at the floor. lintian takes a static-pie binary for a shared library.\n"
    "secs: statically-linked-binary\n" "secs: shared-library-lacks-prerequisites\n")
endif()
set(file_mode OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(directory_mode ${file_mode} OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${stage}/*")
foreach(path IN LISTS staged)
  if(IS_DIRECTORY "${path}")
    file(CHMOD "${path}" PERMISSIONS ${directory_mode})
  elseif(NOT path MATCHES "/bin/")
    file(CHMOD "${path}" PERMISSIONS ${file_mode})
  endif()
  if(path MATCHES "/man/man[1-9]/[^/]+\\.[1-9]$|/doc/[^/]+/changelog$")
    execute_process(COMMAND gzip -9nf "${path}" COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND path .gz)
  endif()
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    execute_process(COMMAND touch -h -d @$ENV{SOURCE_DATE_EPOCH} ${path} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

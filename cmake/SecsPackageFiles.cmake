# SPDX-License-Identifier: MIT
# Run by CPack on the staged files before each package is made, to give them
# what distributions ask for whatever the builder's tools and umask: man pages
# and changelogs gzipped without names or times (gzip -9n), no .comment
# section in the binaries, directories 0755 and files 0644 (0755 in bin/);
# and, in the .deb, the one lintian override a static secs needs.
find_program(SECS_GZIP gzip REQUIRED)
find_program(SECS_OBJCOPY objcopy)
file(GLOB_RECURSE staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS staged)
  if(path MATCHES "/share/man/man[1-9]/[^/]+\\.[1-9]$" OR path MATCHES "/share/doc/[^/]+/changelog$")
    execute_process(COMMAND ${SECS_GZIP} -9nf ${path} COMMAND_ERROR_IS_FATAL ANY)
  elseif(path MATCHES "/bin/[^/]+$" AND SECS_OBJCOPY)
    file(READ ${path} magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46") # ELF
      execute_process(COMMAND ${SECS_OBJCOPY} --remove-section=.comment ${path} COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endif()
endforeach()

# A static secs is what its start-up time asks for (measured in the README);
# lintian asks for that reason to be said. It takes a static-pie binary, with
# no library to name, for a shared library that lacks them.
set(override_static-pie shared-library-lacks-prerequisites)
set(override_static statically-linked-binary)
if(CPACK_GENERATOR STREQUAL "DEB" AND override_${CPACK_SECS_LINK_MODE})
  file(GLOB tools "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/usr/bin/secs")
  foreach(tool IN LISTS tools)
    string(REGEX REPLACE "/bin/secs$" "" usr ${tool})
    file(WRITE ${usr}/share/lintian/overrides/secs
      "# Linked ${CPACK_SECS_LINK_MODE} for its start-up time: see the README's Performance section.\n"
      "secs: ${override_${CPACK_SECS_LINK_MODE}} [usr/bin/secs]\n")
  endforeach()
endif()

file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(path IN LISTS staged)
  if(IS_DIRECTORY ${path} OR path MATCHES "/bin/[^/]+$")
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  else()
    file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()

# SPDX-License-Identifier: MIT
# Run by CPack twice for each generator: on the staged files before the
# packages are made, and on the packages after. It gives them what
# distributions ask for, whatever the builder's tools and umask.
#
# Before: for each .deb, the docs Debian asks for in place of those installed
# (copyright, changelog, and README.md for secs); for an .rpm, none
# (secs.rpmspec.in names its own). Man pages and changelogs gzipped without
# names or times (gzip -9n); no .comment section in the binaries; directories
# 0755, files 0644, bin/ 0755. For a .deb, too, the one lintian override a
# static secs needs.
#
# After, for each .deb: made again by dpkg-deb, whose archive does not
# follow the umask as CPack's does, and, for a static secs, with the
# Built-Using field Debian asks of a package that carries code from others,
# found from the linker's map.
find_program(SECS_GZIP gzip REQUIRED)
find_program(SECS_OBJCOPY NAMES ${CPACK_SECS_OBJCOPY} objcopy) # the target's, in a cross build
find_program(SECS_DPKG_DEB dpkg-deb)

# Directories and bin/ 0755, all else 0644.
function(secs_normalise_modes root)
  file(GLOB_RECURSE paths LIST_DIRECTORIES true "${root}/*")
  foreach(path IN LISTS paths)
    if(IS_DIRECTORY ${path} OR path MATCHES "/bin/[^/]+$")
      file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    else()
      file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endif()
  endforeach()
endfunction()

# The source packages whose code the linker's map shows in secs, as
# Built-Using names them: "glibc (= 2.36-9), gcc-12 (= 12.2.0-14)".
function(secs_built_using var)
  set(${var} "" PARENT_SCOPE)
  find_program(SECS_DPKG_QUERY dpkg-query)
  if(NOT EXISTS "${CPACK_SECS_LINK_MAP}" OR NOT SECS_DPKG_QUERY)
    return()
  endif()
  file(STRINGS "${CPACK_SECS_LINK_MAP}" members REGEX "^/[^ (]+\\.a\\(")
  set(archives "")
  foreach(member IN LISTS members)
    string(REGEX REPLACE "\\(.*" "" archive "${member}")
    file(REAL_PATH "${archive}" archive)
    list(APPEND archives "${archive}")
  endforeach()
  list(REMOVE_DUPLICATES archives)
  set(packages "")
  foreach(archive IN LISTS archives)
    execute_process(COMMAND ${SECS_DPKG_QUERY} -S "${archive}" OUTPUT_VARIABLE owners ERROR_QUIET)
    string(REGEX REPLACE ": /.*" "" owners "${owners}")
    string(REGEX REPLACE ":[a-z0-9]+" "" owners "${owners}")
    string(REPLACE ", " ";" owners "${owners}")
    list(APPEND packages ${owners})
  endforeach()
  if(NOT packages)
    return()
  endif()
  list(REMOVE_DUPLICATES packages)
  execute_process(COMMAND ${SECS_DPKG_QUERY} -W "-f=\${source:Package} (= \${source:Version})\\n" ${packages}
    OUTPUT_VARIABLE sources OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" sources "${sources}")
  list(REMOVE_DUPLICATES sources)
  list(SORT sources)
  list(JOIN sources ", " sources)
  set(${var} "${sources}" PARENT_SCOPE)
endfunction()

if(NOT DEFINED CPACK_PACKAGE_FILES) # before
  set(stage "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
  if(CPACK_GENERATOR STREQUAL "RPM")
    file(REMOVE_RECURSE "${stage}/usr/share/doc")
  else()
    foreach(package secs ${CPACK_SECS_DEV_DEB})
      set(part ${package})
      if(NOT package STREQUAL "secs")
        set(part dev)
      endif()
      file(REMOVE_RECURSE "${stage}/${part}/usr/share/doc")
      set(docs ${CPACK_SECS_DEBIAN_DOCS})
      if(part STREQUAL "secs")
        list(APPEND docs ${CPACK_SECS_SOURCE_DIR}/README.md)
      endif()
      file(COPY ${docs} DESTINATION "${stage}/${part}/usr/share/doc/${package}")
    endforeach()
  endif()
  file(GLOB_RECURSE staged "${stage}/*")
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

  if(CPACK_GENERATOR STREQUAL "DEB")
    # A static secs is what its start-up time asks for (bench/README.md);
    # lintian asks for that reason to be said. It takes a static-pie binary,
    # with no library to name, for a shared library that lacks them.
    set(override_static-pie shared-library-lacks-prerequisites)
    set(override_static statically-linked-binary)
    if(override_${CPACK_SECS_LINK_MODE})
      file(GLOB tools "${stage}/*/usr/bin/secs")
      foreach(tool IN LISTS tools)
        string(REGEX REPLACE "/bin/secs$" "" usr ${tool})
        file(WRITE ${usr}/share/lintian/overrides/secs
          "# Linked ${CPACK_SECS_LINK_MODE} for its start-up time: see bench/README.md.\n"
          "secs: ${override_${CPACK_SECS_LINK_MODE}} [usr/bin/secs]\n")
      endforeach()
    endif()
  endif()
  secs_normalise_modes("${stage}")

elseif(CPACK_GENERATOR STREQUAL "DEB" AND SECS_DPKG_DEB) # after
  secs_built_using(built_using)
  foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    set(tree "${CPACK_TOPLEVEL_DIRECTORY}/deb-again")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND ${SECS_DPKG_DEB} --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
    if(built_using AND EXISTS "${tree}/usr/bin/secs")
      file(READ "${tree}/DEBIAN/control" control)
      string(REPLACE "\nDescription:" "\nBuilt-Using: ${built_using}\nDescription:" control "${control}")
      file(WRITE "${tree}/DEBIAN/control" "${control}")
    endif()
    secs_normalise_modes("${tree}")
    execute_process(COMMAND ${SECS_DPKG_DEB} --root-owner-group -Zgzip --build "${tree}" "${deb}"
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
  endforeach()
endif()

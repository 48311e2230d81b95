# Run by cpack between staging the install and packing it (CPACK_PRE_BUILD_SCRIPTS): turns the
# install layout into the one Debian expects of a game. Its settings come from
# cmake/Packaging.cmake.

if(CPACK_SWAYFIRE_PACKAGE_ERROR)
  message(FATAL_ERROR "swayfire package: ${CPACK_SWAYFIRE_PACKAGE_ERROR}")
endif()
set(usr ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${usr}/${CPACK_SWAYFIRE_BINDIR}/swayfire)
  message(FATAL_ERROR
    "swayfire package: no ${CPACK_SWAYFIRE_BINDIR}/swayfire in the staged install ${usr}")
endif()

# Games live in /usr/games (lintian: package-section-games-but-contains-no-game).
if(NOT CPACK_SWAYFIRE_BINDIR STREQUAL "games")
  file(MAKE_DIRECTORY ${usr}/games)
  file(CHMOD ${usr}/games DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  file(RENAME ${usr}/${CPACK_SWAYFIRE_BINDIR}/swayfire ${usr}/games/swayfire)
  file(GLOB left ${usr}/${CPACK_SWAYFIRE_BINDIR}/*)
  if(NOT left)
    file(REMOVE_RECURSE ${usr}/${CPACK_SWAYFIRE_BINDIR})
  endif()
endif()

# Stripped as Debian's own packages are (dh_strip): no symbols, no debugging information and no
# compiler notes (lintian: unstripped-binary-or-object, binary-has-unneeded-section).
execute_process(COMMAND ${CPACK_SWAYFIRE_STRIP} --remove-section=.comment --remove-section=.note
  ${usr}/games/swayfire RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "swayfire package: ${CPACK_SWAYFIRE_STRIP} ${usr}/games/swayfire failed")
endif()

# Compressed as Debian's tools do it (gzip -9n): best compression, and no file name or time stamp
# in the header (lintian: package-contains-timestamped-gzip).
function(gzip_file source target)
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${target} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "swayfire package: gzip ${source} failed")
  endif()
  file(CHMOD ${target} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

file(GLOB_RECURSE pages ${usr}/${CPACK_SWAYFIRE_MANDIR}/*)
foreach(page IN LISTS pages)
  if(NOT page MATCHES "\\.gz$")
    gzip_file(${page} ${page}.gz)
    file(REMOVE ${page})
  endif()
endforeach()

# The copyright file and the changelog beside the README.
list(GET CPACK_SWAYFIRE_DEBIAN_FILES 0 copyright)
list(GET CPACK_SWAYFIRE_DEBIAN_FILES 1 changelog)
set(doc ${usr}/${CPACK_SWAYFIRE_DOCDIR})
file(COPY ${copyright} DESTINATION ${doc}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
gzip_file(${changelog} ${doc}/changelog.gz)

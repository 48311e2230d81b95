# Release packages.
#
# The `package` target (cpack) turns the install rules into swayfire_<version>_amd64.deb, a native
# Debian package: the game's authors make it themselves from the game's own version, so the
# version has no Debian revision and the changelog is /usr/share/doc/swayfire/changelog.gz.
# The build to ship is one configured for the package's place, as `make package` does:
#   -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games
# so the game's fallback data folder and its manual page name /usr/share/swayfire. Any other build
# folder packs as well (the package test packs the tested build): the executable moves to
# /usr/games, from where its data is the same ../share/swayfire away.
#
# `web_bundle` zips a finished browser build (SWAYFIRE_WEB_DIR) into swayfire-web-<version>.zip.
# Both land in SWAYFIRE_PACKAGE_DIR.
#
# lintian (2.116) finds no errors and no warnings in the package, even with --pedantic; nothing is
# overridden. Two kinds of information notes are left:
#   I: arch-dep-package-has-big-usr-share: the generated pictures, sounds and music are 97% of
#      the package. Debian would split them into an architecture-independent swayfire-data; one
#      package of 7 MB is simpler to hand to players, and there is only one architecture to build.
#   I: hardening-no-bindnow, hardening-no-fortify-functions: only on packages of builds without
#      Debian's hardening flags, like the one the package test packs; `make package` builds with
#      them (dpkg-buildflags) and has neither note.

set(SWAYFIRE_PACKAGE_DIR ${CMAKE_BINARY_DIR} CACHE PATH
  "Where `package` writes the Debian package and `web_bundle` the web bundle")
set(SWAYFIRE_WEB_DIR ${CMAKE_SOURCE_DIR}/build-web CACHE PATH
  "The finished browser build that web_bundle zips (index.html, swayfire.js, swayfire.wasm ...)")
set(SWAYFIRE_MAINTAINER "The Swayfire authors <swayfire@users.noreply.github.com>")
set(SWAYFIRE_DEBIAN_DIR ${CMAKE_BINARY_DIR}/debian)

# What stops the package from being made (and only that: the game still builds and runs).
set(CPACK_SWAYFIRE_PACKAGE_ERROR "")
# The changelog's newest entry names the version being packed: a new version needs its entry.
file(STRINGS ${CMAKE_SOURCE_DIR}/data/debian/changelog changelog_top LIMIT_COUNT 1)
string(REGEX MATCH "^swayfire \\(([^)]*)\\) " changelog_entry "${changelog_top}")
set(changelog_version "${CMAKE_MATCH_1}")
if(NOT changelog_version STREQUAL PROJECT_VERSION)
  string(APPEND CPACK_SWAYFIRE_PACKAGE_ERROR "data/debian/changelog: its newest entry is for "
    "version \"${changelog_version}\", but the game is version ${PROJECT_VERSION} (project() in "
    "CMakeLists.txt): add an entry for it. ")
endif()

# Debian's machine-readable copyright file, with the license text of LICENSE (below its title and
# copyright line) as an indented paragraph, an empty line written " .".
file(READ ${CMAKE_SOURCE_DIR}/LICENSE license)
string(FIND "${license}" "Permission is hereby granted" license_start)
if(license_start LESS 0)
  message(FATAL_ERROR "LICENSE: no MIT permission notice to put in the package's copyright file")
endif()
string(SUBSTRING "${license}" ${license_start} -1 license)
string(STRIP "${license}" license)
string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " SWAYFIRE_LICENSE_TEXT " ${license}")
configure_file(${CMAKE_SOURCE_DIR}/data/debian/copyright.in ${SWAYFIRE_DEBIAN_DIR}/copyright @ONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME swayfire)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Swayfire authors")
set(CPACK_PACKAGE_CONTACT ${SWAYFIRE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small neon arcade shooter that fires in four directions")
set(CPACK_PACKAGE_DESCRIPTION [[
Your ship moves over a swaying night sky and fires left, right, up and down.
Enemy drones wander the field, fire at random, fade in when they arrive and
fade out when they die; an edge runner circles the border, and twelve kinds
of bonus items turn up from time to time.

Survival pits you against enemies without end, one more at a time as the clock
runs; a level game has a fixed number of enemies, and clearing a level opens
the next one as a start level. The best scores are kept between runs. Play
with the keyboard or a gamepad, in a window or full screen.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # swayfire_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the executable (dpkg-shlibdeps). The game draws its text with a TrueType
# face found through fontconfig, DejaVu Sans when the face asked for is missing: a file no linker
# sees, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_OUTPUT_FILE_PREFIX ${SWAYFIRE_PACKAGE_DIR})
# No source package: the git repository is the source.
set(CPACK_SOURCE_GENERATOR "")

# Debian's layout, made in the staged install before it is packed (cmake/DebianLayout.cmake).
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianLayout.cmake)
set(CPACK_SWAYFIRE_BINDIR ${CMAKE_INSTALL_BINDIR})
set(CPACK_SWAYFIRE_STRIP ${CMAKE_STRIP})
set(CPACK_SWAYFIRE_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(CPACK_SWAYFIRE_MANDIR ${CMAKE_INSTALL_MANDIR})
set(CPACK_SWAYFIRE_DEBIAN_FILES
  ${SWAYFIRE_DEBIAN_DIR}/copyright ${CMAKE_SOURCE_DIR}/data/debian/changelog)
# The executable finds its data relative to its own folder: /usr/games must be as far from
# /usr/share/swayfire as the folder the build was made for.
file(RELATIVE_PATH data_from_games /usr/games /usr/${CMAKE_INSTALL_DATADIR}/swayfire)
if(NOT data_from_games STREQUAL SWAYFIRE_DATA_FROM_BIN)
  string(APPEND CPACK_SWAYFIRE_PACKAGE_ERROR "the game looks for its data at "
    "${SWAYFIRE_DATA_FROM_BIN} from its folder, but in the package it is ${data_from_games} from "
    "/usr/games: configure with -DCMAKE_INSTALL_BINDIR=games (or bin) and the default "
    "CMAKE_INSTALL_DATADIR. ")
endif()
if(CPACK_SWAYFIRE_PACKAGE_ERROR)
  message(WARNING "No Debian package can be made: ${CPACK_SWAYFIRE_PACKAGE_ERROR}")
endif()
include(CPack)

add_custom_target(web_bundle
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/web-bundle ${SWAYFIRE_WEB_DIR}
    ${SWAYFIRE_PACKAGE_DIR}/swayfire-web-${PROJECT_VERSION}.zip ${PROJECT_VERSION}
  COMMENT "Zipping the browser build ${SWAYFIRE_WEB_DIR}"
  VERBATIM)

# Settings of the Windows build (cmake/mingw-w64.cmake) that every layer needs: the SDL2 family
# from the prefix scripts/build-windows-deps made, SimpleIni without the host's other headers, and
# libstdc++, libgcc and winpthread linked in, so the only DLLs shipped are the SDL2 family's.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2 SDL2_image SDL2_mixer SDL2_ttf)

add_link_options(-static -static-libgcc -static-libstdc++)
# Windows 10 names (SHGetKnownFolderPath, SetFileInformationByHandle) and wide calls throughout.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE)

# SimpleIni writes CRLF line ends when it sees _WIN32; the game's files keep LF on every system,
# so the score and options files have the same bytes as on Linux. A wrapper header hides _WIN32
# from SimpleIni alone (the standard headers it uses are included first, as usual).
set(SWAYFIRE_WINDOWS_INCLUDE ${CMAKE_BINARY_DIR}/host-headers)
file(COPY /usr/include/SimpleIni.h DESTINATION ${SWAYFIRE_WINDOWS_INCLUDE}/simpleini)
file(WRITE ${SWAYFIRE_WINDOWS_INCLUDE}/SimpleIni.h [=[
// SimpleIni as on Linux: LF line ends, no Windows headers.
#pragma once
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <list>
#include <map>
#include <stdio.h>
#include <string>
#include <wchar.h>
#pragma push_macro("_WIN32")
#undef _WIN32
#include "simpleini/SimpleIni.h"
#pragma pop_macro("_WIN32")
]=])

# Debian's SimpleIni.h holds its template code behind SI_IMPLEMENTATION: the one user of it
# instantiates its own, as in the browser build.
function(swayfire_windows_simpleini target)
  target_include_directories(${target} SYSTEM PRIVATE ${SWAYFIRE_WINDOWS_INCLUDE})
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/io/ini_text.cpp PROPERTIES
    COMPILE_DEFINITIONS SI_IMPLEMENTATION)
endfunction()

# localtime_r and friends from mingw-w64's time.h (Windows' localtime_s underneath).
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS)

# sdl2.pc brings SDL's own WinMain (SDL2main, libmingw32) and -mwindows: the game has its own
# main(), and only swayfire.exe is a windowed program (WIN32 in cmake/windows.cmake).
get_target_property(SDL2_LINKS PkgConfig::SDL2 INTERFACE_LINK_LIBRARIES)
list(FILTER SDL2_LINKS EXCLUDE REGEX "SDL2main|libmingw32|^mingw32$")
get_target_property(SDL2_LINK_OPTIONS PkgConfig::SDL2 INTERFACE_LINK_OPTIONS)
if(SDL2_LINK_OPTIONS)
  list(FILTER SDL2_LINK_OPTIONS EXCLUDE REGEX "^-mwindows$|^-lmingw32$|^-lSDL2main$")
else()
  set(SDL2_LINK_OPTIONS "")
endif()
set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_LINK_LIBRARIES "${SDL2_LINKS}"
  INTERFACE_LINK_OPTIONS "${SDL2_LINK_OPTIONS}")
get_target_property(SDL2_COMPILE_OPTIONS PkgConfig::SDL2 INTERFACE_COMPILE_OPTIONS)
list(FILTER SDL2_COMPILE_OPTIONS EXCLUDE REGEX "^-Dmain=SDL_main$")
set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_COMPILE_OPTIONS "${SDL2_COMPILE_OPTIONS}")

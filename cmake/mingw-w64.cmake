# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix thread model, so that
# std::thread and std::mutex exist). SWAYFIRE_WINDOWS_DEPS names the prefix of the SDL2 family
# built by scripts/build-windows-deps; the toolchain looks for libraries, headers and packages in
# the mingw sysroot and there only, and runs test programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SWAYFIRE_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${SWAYFIRE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SWAYFIRE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${SWAYFIRE_MINGW}-windres)

# try_compile re-reads this file in a project of its own: the environment carries the prefix there.
if(SWAYFIRE_WINDOWS_DEPS)
  set(ENV{SWAYFIRE_WINDOWS_DEPS} "${SWAYFIRE_WINDOWS_DEPS}")
else()
  set(SWAYFIRE_WINDOWS_DEPS "$ENV{SWAYFIRE_WINDOWS_DEPS}")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${SWAYFIRE_MINGW} ${SWAYFIRE_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(SWAYFIRE_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} "${SWAYFIRE_WINDOWS_DEPS}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

find_program(SWAYFIRE_WINE NAMES wine wine64)
if(SWAYFIRE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SWAYFIRE_WINE})
endif()

# The Windows build (make windows), included by the top CMakeLists.txt once the game's layers are
# defined: the SDL and recording backends, swayfire.exe (a windowed program) and
# swayfire-headless.exe (a console one) with the game's icon, version and manifest, the portable
# zip, and the tests that run under Wine. The game's files come from a native build
# (SWAYFIRE_NATIVE_BUILD, where the asset generator ran), as for the browser.
set(SWAYFIRE_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH
  "Native build folder whose files/, icons and asset list the Windows build ships")
set(SWAYFIRE_WINDOWS_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf CACHE FILEPATH
  "TrueType font shipped beside the game, the one it draws its text with (fonts-dejavu-core)")
set(SWAYFIRE_DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "Folder that receives the zip")

set(ASSET_LIST ${SWAYFIRE_NATIVE_BUILD}/asset-files.txt)
if(NOT EXISTS ${ASSET_LIST})
  message(FATAL_ERROR "no ${ASSET_LIST}: build the game natively first (make build)")
endif()
file(STRINGS ${ASSET_LIST} SWAYFIRE_ASSET_FILES)

swayfire_layer(swayfire_recording engine/recording swayfire_engine swayfire_io
  swayfire_engine_common)
swayfire_layer(swayfire_sdl engine/sdl swayfire_engine swayfire_io swayfire_engine_common
  PkgConfig::SDL2)
target_link_libraries(swayfire_sdl PRIVATE swayfire_version)
# The game starts at its own main(); SDL's WinMain wrapper is not needed.
target_compile_definitions(swayfire_sdl PUBLIC SDL_MAIN_HANDLED)
# Windows' own libraries the Windows files of io use: the per-user folder (shell32, ole32).
target_link_libraries(swayfire_io PRIVATE shell32 ole32)

# The icon (every size the native build drew), the version and the manifest.
set(ICON_SIZES 16 24 32 48 64 128 256)
set(ICON_PNGS)
foreach(size ${ICON_SIZES})
  list(APPEND ICON_PNGS
    ${SWAYFIRE_NATIVE_BUILD}/icons/hicolor/${size}x${size}/apps/${SWAYFIRE_APP_ID}.png)
endforeach()
set(SWAYFIRE_ICO ${CMAKE_BINARY_DIR}/swayfire.ico)
find_program(SWAYFIRE_CONVERT convert REQUIRED)
add_custom_command(OUTPUT ${SWAYFIRE_ICO} COMMAND ${SWAYFIRE_CONVERT} ${ICON_PNGS} ${SWAYFIRE_ICO}
  DEPENDS ${ICON_PNGS} COMMENT "Icon for the Windows game")
set(SWAYFIRE_RC_MANIFEST ${CMAKE_SOURCE_DIR}/data/windows/swayfire.manifest)
configure_file(data/windows/swayfire.rc.in ${CMAKE_BINARY_DIR}/swayfire.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/swayfire.rc PROPERTIES
  OBJECT_DEPENDS "${SWAYFIRE_ICO};${SWAYFIRE_RC_MANIFEST}")

add_executable(swayfire WIN32 src/app/main.cpp ${CMAKE_BINARY_DIR}/swayfire.rc)
target_link_libraries(swayfire PRIVATE swayfire_replay swayfire_sdl swayfire_command_line)
add_executable(swayfire-headless src/app/headless.cpp src/app/headless_windows.cpp
  ${CMAKE_BINARY_DIR}/swayfire.rc)
target_link_libraries(swayfire-headless PRIVATE swayfire_replay swayfire_recording
  swayfire_command_line)
foreach(exe swayfire swayfire-headless)
  target_link_options(${exe} PRIVATE -s)  # the zip ships stripped programs
endforeach()

# Beside the programs in the build folder, what the zip holds: the DLLs, files/, the font, opt.ini.
file(GLOB SWAYFIRE_DLLS ${SWAYFIRE_WINDOWS_DEPS}/bin/*.dll)
file(COPY ${SWAYFIRE_DLLS} ${SWAYFIRE_WINDOWS_FONT} DESTINATION ${SWAYFIRE_OUTPUT_DIR})
file(COPY ${SWAYFIRE_ASSET_FILES} DESTINATION ${SWAYFIRE_OUTPUT_DIR}/files)
set(SWAYFIRE_DEFAULT_OPTIONS ${CMAKE_BINARY_DIR}/default/opt.ini)
file(WRITE ${SWAYFIRE_DEFAULT_OPTIONS} "[OPTIONS]\r\nFS=False\r\nSND=True\r\n")
# Never overwrites the options of a game played from the build folder.
if(NOT EXISTS ${SWAYFIRE_OUTPUT_DIR}/opt.ini)
  file(COPY_FILE ${SWAYFIRE_DEFAULT_OPTIONS} ${SWAYFIRE_OUTPUT_DIR}/opt.ini)
endif()

# The portable zip: dist/swayfire-<version>-win64.zip holding one folder swayfire-<version>/.
set(SWAYFIRE_ZIP ${SWAYFIRE_DIST_DIR}/swayfire-${PROJECT_VERSION}-win64.zip)
add_custom_target(windows_zip ALL
  COMMAND ${CMAKE_COMMAND} -E env
    STAGE=${CMAKE_BINARY_DIR}/zip-stage NAME=swayfire-${PROJECT_VERSION} ZIP=${SWAYFIRE_ZIP}
    DEPS=${SWAYFIRE_WINDOWS_DEPS} SOURCE=${CMAKE_SOURCE_DIR} FONT=${SWAYFIRE_WINDOWS_FONT}
    OPTIONS=${SWAYFIRE_DEFAULT_OPTIONS} ASSETS=${ASSET_LIST}
    bash ${CMAKE_SOURCE_DIR}/scripts/windows-zip
    $<TARGET_FILE:swayfire> $<TARGET_FILE:swayfire-headless>
  DEPENDS swayfire swayfire-headless ${SWAYFIRE_ASSET_FILES}
  COMMENT "Windows zip: ${SWAYFIRE_ZIP}" VERBATIM)

if(SWAYFIRE_TESTS)
  include(${CMAKE_SOURCE_DIR}/tests/windows/cross_tests.cmake)
endif()


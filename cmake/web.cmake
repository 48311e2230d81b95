# The browser build (configured with emcmake), included by the top CMakeLists.txt once the game's
# layers are defined: the browser backend, the executable and the page. No SDL, no pkg-config, no
# tests, benchmarks or tools: the game's
# files come from a native build (SWAYFIRE_NATIVE_BUILD, where the asset generator ran), packed
# into swayfire.data beside swayfire.js and swayfire.wasm.
set(SWAYFIRE_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH
  "Native build folder whose files/ and asset list the browser build packs")
set(SWAYFIRE_WEB_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf CACHE FILEPATH
  "TrueType font the browser build draws its text with (fonts-dejavu-core)")
set(SWAYFIRE_WEB_OUTPUT_DIR ${CMAKE_SOURCE_DIR}/build-web CACHE PATH
  "Folder that receives the static site: index.html, swayfire.js/.wasm/.data")

swayfire_layer(swayfire_web engine/web swayfire_engine swayfire_io swayfire_engine_common)
target_link_libraries(swayfire_web PRIVATE swayfire_version)
# stb (libstb-dev): pictures, TrueType, Ogg Vorbis and PNG writing.
target_include_directories(swayfire_web SYSTEM PRIVATE /usr/include/stb)
# stb's own code is not ours to keep free of warnings.
set_source_files_properties(src/engine/web/stb_code.cpp PROPERTIES COMPILE_OPTIONS "-w")

# The game's generated files, exactly the list the native build made (never its score file or
# options), at the names the game asks for: /data/files/... The player's files live in /save.
set(ASSET_LIST ${SWAYFIRE_NATIVE_BUILD}/asset-files.txt)
if(NOT EXISTS ${ASSET_LIST})
  message(FATAL_ERROR "no ${ASSET_LIST}: build the game natively first (make build)")
endif()
file(STRINGS ${ASSET_LIST} ASSET_FILES)
set(PRELOAD_OPTIONS)
set(PRELOAD_DEPENDS)
foreach(asset IN LISTS ASSET_FILES)
  get_filename_component(name ${asset} NAME)
  list(APPEND PRELOAD_OPTIONS "SHELL:--preload-file ${asset}@/data/files/${name}")
  list(APPEND PRELOAD_DEPENDS ${asset})
endforeach()
list(APPEND PRELOAD_OPTIONS "SHELL:--preload-file ${SWAYFIRE_WEB_FONT}@/fonts/text.ttf")

add_executable(swayfire src/app/web_main.cpp src/app/web_replays.cpp)
target_link_libraries(swayfire PRIVATE swayfire_replay swayfire_shell swayfire_web)
set_target_properties(swayfire PROPERTIES
  SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${SWAYFIRE_WEB_OUTPUT_DIR}
  LINK_DEPENDS "${CMAKE_SOURCE_DIR}/web/saves.js;${CMAKE_SOURCE_DIR}/web/pre.js;${PRELOAD_DEPENDS}")
# ASYNCIFY lets the game's own loop (and its splash wait) give the browser its turn at every
# frame, so the game code stays as it is on the desktop; see EndFrame in web_engine.cpp.
target_link_options(swayfire PRIVATE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sENVIRONMENT=web -sEXIT_RUNTIME=0
  -lopenal -lidbfs.js
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/saves.js"
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/pre.js"
  ${PRELOAD_OPTIONS})

# The page: ours, with the version of this build.
configure_file(web/index.html.in ${SWAYFIRE_WEB_OUTPUT_DIR}/index.html @ONLY)
configure_file(web/page.js ${SWAYFIRE_WEB_OUTPUT_DIR}/page.js COPYONLY)
configure_file(web/page.css ${SWAYFIRE_WEB_OUTPUT_DIR}/page.css COPYONLY)
foreach(part help.js help.css ending.js options.js replays.js)
  configure_file(web/${part} ${SWAYFIRE_WEB_OUTPUT_DIR}/${part} COPYONLY)
endforeach()
# The Help panel's text: the "How to play" part of README.md, the one copy there is. README.md
# itself goes beside the page too, where the game's menu sends a player.
configure_file(README.md ${SWAYFIRE_WEB_OUTPUT_DIR}/README.md COPYONLY)
file(READ README.md SWAYFIRE_README)
string(REGEX MATCH "<!-- how-to-play[^\n]*\n(.*)<!-- /how-to-play -->" SWAYFIRE_HOW_TO_PLAY
  "${SWAYFIRE_README}")
if(NOT CMAKE_MATCH_1)
  message(FATAL_ERROR "README.md has no how-to-play part between its markers")
endif()
file(WRITE ${SWAYFIRE_WEB_OUTPUT_DIR}/how-to-play.md "${CMAKE_MATCH_1}")

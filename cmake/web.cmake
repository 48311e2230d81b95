# The browser build (configured with emcmake): the platform-free engine services, the game, the
# browser backend and the page. No SDL, no pkg-config, no tests, benchmarks or tools: the game's
# files come from a native build (SWAYFIRE_NATIVE_BUILD, where the asset generator ran), packed
# into swayfire.data beside swayfire.js and swayfire.wasm.
set(SWAYFIRE_NATIVE_BUILD ${CMAKE_SOURCE_DIR}/build CACHE PATH
  "Native build folder whose files/ and asset list the browser build packs")
set(SWAYFIRE_WEB_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf CACHE FILEPATH
  "TrueType font the browser build draws its text with (fonts-dejavu-core)")
set(SWAYFIRE_WEB_OUTPUT_DIR ${CMAKE_SOURCE_DIR}/build-web CACHE PATH
  "Folder that receives the static site: index.html, swayfire.js/.wasm/.data")

# SimpleIni is one header; an include folder holding only it keeps the rest of /usr/include (the
# host's C library) away from em++.
set(SWAYFIRE_WEB_INCLUDE ${CMAKE_BINARY_DIR}/host-headers)
file(COPY /usr/include/SimpleIni.h DESTINATION ${SWAYFIRE_WEB_INCLUDE})

add_compile_options(-fexceptions "SHELL:-include ${CMAKE_SOURCE_DIR}/src/engine/web/std_compat.h")
add_link_options(-fexceptions)

file(GLOB ENGINE_COMMON_SOURCES CONFIGURE_DEPENDS src/engine/*.cpp)
add_library(swayfire_engine STATIC ${ENGINE_COMMON_SOURCES})
target_include_directories(swayfire_engine PUBLIC src)
target_include_directories(swayfire_engine SYSTEM PRIVATE ${SWAYFIRE_WEB_INCLUDE})
# Debian's SimpleIni.h holds its template code behind SI_IMPLEMENTATION (the desktop links the
# instances from libsimpleini.a, built for the host): the one user of it instantiates its own.
set_source_files_properties(src/engine/ini_utility.cpp PROPERTIES COMPILE_DEFINITIONS
  SI_IMPLEMENTATION)
# The browser has no installed layout: the game's files are always at /data (see web_main.cpp).
set_source_files_properties(src/engine/folders.cpp PROPERTIES COMPILE_DEFINITIONS
  "SWAYFIRE_DATA_FROM_BIN=\"../share/swayfire\";SWAYFIRE_INSTALL_DATA_DIR=\"/data\"")

file(GLOB CORE_SOURCES CONFIGURE_DEPENDS
  src/shell/*.cpp src/gameplay/*.cpp src/render/*.cpp src/menu/*.cpp)
add_library(swayfire_core STATIC ${CORE_SOURCES})
target_link_libraries(swayfire_core PUBLIC swayfire_engine)

file(GLOB WEB_SOURCES CONFIGURE_DEPENDS src/engine/web/*.cpp)
add_library(swayfire_web STATIC ${WEB_SOURCES})
target_link_libraries(swayfire_web PUBLIC swayfire_engine)
# stb (libstb-dev): pictures, TrueType, Ogg Vorbis and PNG writing.
target_include_directories(swayfire_web SYSTEM PRIVATE /usr/include/stb)
target_compile_definitions(swayfire_web PRIVATE
  SWAYFIRE_VERSION_MAJOR=${PROJECT_VERSION_MAJOR} SWAYFIRE_VERSION_MINOR=${PROJECT_VERSION_MINOR})
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

add_executable(swayfire src/app/web_main.cpp)
target_link_libraries(swayfire PRIVATE swayfire_core swayfire_web)
set_target_properties(swayfire PROPERTIES
  SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${SWAYFIRE_WEB_OUTPUT_DIR}
  LINK_DEPENDS "${CMAKE_SOURCE_DIR}/web/pre.js;${PRELOAD_DEPENDS}")
# ASYNCIFY lets the game's own loop (and its splash wait) give the browser its turn at every
# frame, so the game code stays as it is on the desktop; see EndFrame in web_engine.cpp.
target_link_options(swayfire PRIVATE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sENVIRONMENT=web -sEXIT_RUNTIME=0
  -lopenal -lidbfs.js
  "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/pre.js"
  ${PRELOAD_OPTIONS})

# The page: ours, with the version of this build.
configure_file(web/index.html.in ${SWAYFIRE_WEB_OUTPUT_DIR}/index.html @ONLY)
configure_file(web/page.js ${SWAYFIRE_WEB_OUTPUT_DIR}/page.js COPYONLY)
configure_file(web/page.css ${SWAYFIRE_WEB_OUTPUT_DIR}/page.css COPYONLY)

# Settings of the browser build (configured with emcmake) that every layer needs: C++ exceptions,
# and SimpleIni without the host's headers.

# SimpleIni is one header; an include folder holding only it keeps the rest of /usr/include (the
# host's C library) away from em++.
set(SWAYFIRE_WEB_INCLUDE ${CMAKE_BINARY_DIR}/host-headers)
file(COPY /usr/include/SimpleIni.h DESTINATION ${SWAYFIRE_WEB_INCLUDE})

add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# Debian's SimpleIni.h holds its template code behind SI_IMPLEMENTATION (the desktop links the
# instances from libsimpleini.a, built for the host): the one user of it instantiates its own.
function(swayfire_web_simpleini target)
  target_include_directories(${target} SYSTEM PRIVATE ${SWAYFIRE_WEB_INCLUDE})
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/io/ini_text.cpp PROPERTIES
    COMPILE_DEFINITIONS SI_IMPLEMENTATION)
endfunction()

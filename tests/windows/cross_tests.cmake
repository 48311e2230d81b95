# The unit tests that need neither fork nor symbolic links, cross-built for Windows and run under
# Wine by tests/windows/unit.sh: the io layer's Windows files above all. GoogleTest is built from
# Debian's sources (libgtest-dev ships them in /usr/src/googletest).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_executable(swayfire_windows_tests ${CMAKE_SOURCE_DIR}/tests/windows/io_windows_test.cpp)
target_link_libraries(swayfire_windows_tests PRIVATE swayfire_io gtest gtest_main)
set_target_properties(swayfire_windows_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

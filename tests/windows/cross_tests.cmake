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

# The game's rules on the recording backend, the same tests as on Linux: they prove the layers above
# io and the recording backend behave alike when built for Windows.
set(SWAYFIRE_CROSS_RULE_TESTS player shots enemies levels bonus numbers game_keys menu_input hud
  game_screen menu_screen startup long_run)
list(TRANSFORM SWAYFIRE_CROSS_RULE_TESTS PREPEND ${CMAKE_SOURCE_DIR}/tests/)
list(TRANSFORM SWAYFIRE_CROSS_RULE_TESTS APPEND _test.cpp)
add_executable(swayfire_windows_rule_tests ${SWAYFIRE_CROSS_RULE_TESTS}
  ${CMAKE_SOURCE_DIR}/tests/test_support.cpp ${CMAKE_SOURCE_DIR}/tests/asset_files.cpp)
target_include_directories(swayfire_windows_rule_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(swayfire_windows_rule_tests PRIVATE swayfire_shell swayfire_recording
  swayfire_asset_list gtest gtest_main)
set_target_properties(swayfire_windows_rule_tests PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

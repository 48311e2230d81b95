# The Windows build's tests under Wine (label windows), run from the native build's CTest so that
# `make test` runs them; each is skipped (77) when there is no Windows build (make windows) or no
# Wine. They share one Wine prefix, whose server each stops at its end: one at a time.
set(SWAYFIRE_WINDOWS_BUILD ${CMAKE_SOURCE_DIR}/build-windows CACHE PATH
  "The Windows build's folder (make windows)")
file(GLOB WINDOWS_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.sh)
foreach(script ${WINDOWS_TESTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME windows.${name} COMMAND bash ${script} ${SWAYFIRE_WINDOWS_BUILD} ${CMAKE_BINARY_DIR})
  set_tests_properties(windows.${name} PROPERTIES LABELS windows TIMEOUT 600 RESOURCE_LOCK wine
    SKIP_RETURN_CODE 77)
endforeach()
# The game under Wine types keys in real time, as the real-window tests do: alone, and with time
# for a level played to its end.
if(TEST windows.game)
  set_tests_properties(windows.game PROPERTIES RUN_SERIAL ON TIMEOUT 900)
endif()

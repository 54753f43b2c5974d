# The Windows tests run under Wine in the build folder's own prefix (see the toolchain file):
# made once per test run before any test, its wineserver stopped after the last one.
add_test(NAME windows.wine-prefix COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --create)
add_test(NAME windows.wine-stop COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --stop)
set_tests_properties(windows.wine-prefix PROPERTIES FIXTURES_SETUP wine LABELS windows
                     TIMEOUT 300)
set_tests_properties(windows.wine-stop PROPERTIES FIXTURES_CLEANUP wine LABELS windows)

# One CTest test per test program: each Wine start costs about a second, so the cases of a
# program share one process; GoogleTest still names every failing case in the output.
function(kesmaro_add_wine_test name)
    add_test(NAME windows.${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(windows.${name} PROPERTIES FIXTURES_REQUIRED wine LABELS windows)
endfunction()

# Test programs that open windows: one private Xvfb + openbox and its own prefix for all of them
# (Wine binds a prefix to one display), taken in turn so that focus and pointer stay theirs.
set(KESMARO_WINE_GUI ${PROJECT_SOURCE_DIR}/scripts/wine-gui.sh ${CMAKE_BINARY_DIR}/wine-gui)
add_test(NAME windows.wine-gui-start COMMAND ${KESMARO_WINE_GUI} --start)
add_test(NAME windows.wine-gui-stop COMMAND ${KESMARO_WINE_GUI} --stop)
set_tests_properties(windows.wine-gui-start PROPERTIES FIXTURES_SETUP wine-gui LABELS windows
                     TIMEOUT 300)
set_tests_properties(windows.wine-gui-stop PROPERTIES FIXTURES_CLEANUP wine-gui LABELS windows)

function(kesmaro_add_wine_gui_test name)
    add_test(NAME windows.${name} COMMAND ${KESMARO_WINE_GUI} $<TARGET_FILE:${name}>
                                          --gtest_brief=1)
    set_tests_properties(windows.${name} PROPERTIES FIXTURES_REQUIRED wine-gui
                         RESOURCE_LOCK wine-display LABELS windows)
endfunction()

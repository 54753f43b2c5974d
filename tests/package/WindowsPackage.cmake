# The Windows zip and installer (cmake/WindowsPackage.cmake) under Wine, on the X server of the
# window tests: built by the first test, tried by the others.
if(NOT TARGET kesmaro_windows_zip OR NOT CMAKE_CROSSCOMPILING)
    return()
endif()
find_program(KESMARO_PYTHON3 python3)
if(NOT KESMARO_MAKENSIS OR NOT KESMARO_PYTHON3)
    message(STATUS "makensis or python3 not found: the Windows package tests are left out")
    return()
endif()

add_test(NAME windows.package.build
         COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target kesmaro_windows_packages
                 --parallel 2)
set_tests_properties(windows.package.build PROPERTIES LABELS "windows;package" TIMEOUT 600
                     FIXTURES_SETUP windows_packages)

set(_script ${CMAKE_CURRENT_LIST_DIR}/windows_package_test.py)
set(_common --version ${KESMARO_WINDOWS_VERSION} --source ${PROJECT_SOURCE_DIR})
add_test(NAME windows.package.zip
         COMMAND ${KESMARO_WINE_GUI} --shell ${KESMARO_PYTHON3} ${_script} zip
                 --zip ${KESMARO_WINDOWS_ZIP} ${_common}
                 --work ${CMAKE_CURRENT_BINARY_DIR}/package/zip)
add_test(NAME windows.package.installer
         COMMAND ${KESMARO_WINE_GUI} --shell ${KESMARO_PYTHON3} ${_script} installer
                 --setup ${KESMARO_WINDOWS_SETUP} ${_common}
                 --work ${CMAKE_CURRENT_BINARY_DIR}/package/installer)
# They take the display in turn with the window tests: the first start's boxes need the focus.
set_tests_properties(windows.package.zip windows.package.installer PROPERTIES
                     LABELS "windows;package" TIMEOUT 900 RESOURCE_LOCK wine-display
                     FIXTURES_REQUIRED "wine-gui;windows_packages")

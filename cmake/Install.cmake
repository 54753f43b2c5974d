# Installation as a desktop program (`cmake --install`, `make install-user`) and the Debian
# package (`make package`). The programs find their documents at ../share/doc/kesmaro from their
# own folder, so the layout below bin/ and share/ is fixed, whatever the prefix.

set(KESMARO_RELEASE_DATE "2026-12-07" CACHE STRING "Date of this version's release (YYYY-MM-DD)")
set(KESMARO_SCREENSHOT_URL "" CACHE STRING
    "Where docs/main-window.png is published, for the AppStream screenshot (empty: none)")
# Trees configured earlier cached a placeholder address that never resolved.
if(KESMARO_SCREENSHOT_URL STREQUAL "https://kesmaro.example/main-window.png")
    set_property(CACHE KESMARO_SCREENSHOT_URL PROPERTY VALUE "")
endif()
set(KESMARO_MAINTAINER_EMAIL "maintainers@users.noreply.c-seed-f771ed30.example" CACHE STRING
    "Contact address in the package")
set(KESMARO_WM_CLASS "kesmaro")
set(KESMARO_DOC_DIR "share/doc/kesmaro")

# The package's version is the one the program shows ("Ver.2.30b2"); a pre-release suffix goes
# behind "~" so that the release itself (2.30) sorts after it.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/src/config/Settings.h)
file(STRINGS ${PROJECT_SOURCE_DIR}/src/config/Settings.h _version_line
     REGEX "kProgramVersion = \"Ver\\.")
if(_version_line MATCHES "\"Ver\\.([0-9.]+)([a-z][a-z0-9]*)?\"")
    set(KESMARO_PACKAGE_VERSION ${CMAKE_MATCH_1})
    if(CMAKE_MATCH_2)
        string(APPEND KESMARO_PACKAGE_VERSION "~${CMAKE_MATCH_2}")
    endif()
else()
    message(FATAL_ERROR "no kProgramVersion in src/config/Settings.h")
endif()

set(_dist ${PROJECT_SOURCE_DIR}/dist)
set(_out ${PROJECT_BINARY_DIR}/dist)

# Text fields the Debian changelog wants in its own date format.
execute_process(COMMAND date -R -u -d "${KESMARO_RELEASE_DATE} 12:00:00"
                OUTPUT_VARIABLE KESMARO_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

# The AppStream description names only addresses that exist: without a site it has no home
# page, without a published picture no screenshot.
set(KESMARO_METAINFO_LINKS "")
foreach(_address IN ITEMS KESMARO_SUPPORT_URL KESMARO_SCREENSHOT_URL)
    string(REPLACE "&" "&amp;" _${_address} "${${_address}}")
endforeach()
if(_KESMARO_SUPPORT_URL)
    string(APPEND KESMARO_METAINFO_LINKS
           "  <url type=\"homepage\">${_KESMARO_SUPPORT_URL}</url>\n")
endif()
if(_KESMARO_SCREENSHOT_URL)
    string(APPEND KESMARO_METAINFO_LINKS
           "  <screenshots>\n"
           "    <screenshot type=\"default\">\n"
           "      <caption>The main window measuring a game</caption>\n"
           "      <image type=\"source\" width=\"877\" height=\"430\">"
           "${_KESMARO_SCREENSHOT_URL}</image>\n"
           "    </screenshot>\n"
           "  </screenshots>\n")
endif()

configure_file(${_dist}/kesmaro.desktop.in ${_out}/${KESMARO_APP_ID}.desktop @ONLY)
configure_file(${_dist}/kesmaro.metainfo.xml.in ${_out}/${KESMARO_APP_ID}.metainfo.xml @ONLY)
configure_file(${_dist}/debian/copyright ${_out}/copyright @ONLY)
configure_file(${_dist}/debian/changelog.in ${_out}/changelog @ONLY)
set(_pages kesmaro kesmaro-replay kesmaro-simgame)
foreach(_page IN LISTS _pages)
    configure_file(${_dist}/man/${_page}.1 ${_out}/man/${_page}.1 @ONLY)
endforeach()

# Debian keeps manual pages and changelogs compressed; -n leaves the time stamp out so that two
# builds give the same bytes.
find_program(KESMARO_GZIP gzip REQUIRED)
set(_compressed)
foreach(_file IN ITEMS changelog man/kesmaro.1 man/kesmaro-replay.1 man/kesmaro-simgame.1)
    add_custom_command(OUTPUT ${_out}/${_file}.gz
                       COMMAND ${KESMARO_GZIP} -9 -n -c ${_out}/${_file} > ${_out}/${_file}.gz
                       DEPENDS ${_out}/${_file} VERBATIM)
    list(APPEND _compressed ${_out}/${_file}.gz)
endforeach()
add_custom_target(kesmaro_dist_files ALL DEPENDS ${_compressed})

set(_programs kesmaro-replay kesmaro-simgame)
if(TARGET kesmaro)
    list(PREPEND _programs kesmaro)
endif()
# Relocations read-only before the program starts (costs nothing at this size).
foreach(_program IN LISTS _programs)
    target_link_options(${_program} PRIVATE -Wl,-z,relro,-z,now)
endforeach()
install(TARGETS ${_programs} RUNTIME DESTINATION bin)

# The help documents come from their own folder; a tree without them installs the rest.
# The folder's own time stamp reruns the configuration when it appears.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs)
if(IS_DIRECTORY ${PROJECT_SOURCE_DIR}/docs/help)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/help/ DESTINATION ${KESMARO_DOC_DIR})
endif()
install(FILES ${_out}/copyright ${_out}/changelog.gz DESTINATION ${KESMARO_DOC_DIR})

install(FILES ${_out}/${KESMARO_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${_out}/${KESMARO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${_dist}/icons/kesmaro.svg DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${KESMARO_APP_ID}.svg)
foreach(_size 48 128 256)
    install(FILES ${_dist}/icons/kesmaro-${_size}.png
            DESTINATION share/icons/hicolor/${_size}x${_size}/apps RENAME ${KESMARO_APP_ID}.png)
endforeach()
foreach(_page IN LISTS _pages)
    install(FILES ${_out}/man/${_page}.1.gz DESTINATION share/man/man1)
endforeach()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kesmaro)
set(CPACK_PACKAGE_VERSION ${KESMARO_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kesmaro developers")
set(CPACK_PACKAGE_CONTACT "The Kesmaro developers <${KESMARO_MAINTAINER_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "measures Exp and coins per hour in Dragonica")
set(CPACK_PACKAGE_DESCRIPTION
    "Kesmaro reads the character's level, the Exp percentage and the coins off\n"
    "the window of the online game Dragonica at a set interval and shows Exp and\n"
    "coins per hour in its main window (Japanese user interface). It keeps a\n"
    "running log and a record file, draws the rates as a graph and takes\n"
    "screenshots at a level-up or a death. It needs an X11 server (XWayland on a\n"
    "Wayland desktop).\n"
    "\n"
    "Two helper programs come with it: kesmaro-replay runs the same measuring\n"
    "over recorded game frames, and kesmaro-simgame shows a stand-in game window.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# A tool beside a game, not a game: its programs live in bin/, not games/.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt, xcb, PulseAudio, the C++ runtime) are looked up package
# by package; Qt's xcb platform and image plugins come with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The interface font and the opener of the help documents; without them the program still runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-ipafont-gothic, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

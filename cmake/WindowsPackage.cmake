# The Windows distribution (`make package-windows`): a zip to unpack anywhere and a per-user
# installer, both made from one staged folder:
#   kesmaro-<version>-win64.zip    Kesmaro\ with kesmaro.exe and its documents
#   kesmaro-<version>-setup.exe    the same files, installed into %LOCALAPPDATA%\Programs\Kesmaro
# <version> is the program's own version text without "Ver." (Ver.2.30b2 -> 2.30b2).

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/src/config/Settings.h)
file(STRINGS ${PROJECT_SOURCE_DIR}/src/config/Settings.h _version_line
     REGEX "kProgramVersion = \"Ver\\.[0-9]+\\.[0-9]+b[0-9]+\"")
if(NOT _version_line MATCHES "Ver\\.(([0-9]+)\\.([0-9]+)b([0-9]+))")
    message(FATAL_ERROR "no kProgramVersion \"Ver.N.NNbN\" in src/config/Settings.h")
endif()
set(KESMARO_WINDOWS_VERSION ${CMAKE_MATCH_1})
# The installer's own version resource wants four numbers, as the program's has them.
set(KESMARO_WINDOWS_VERSION_NUMBERS "${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.0.${CMAKE_MATCH_4}")
# The files in the zip show the day of the release, not the day of the build.
set(KESMARO_WINDOWS_RELEASE_DATE "2026-12-07" CACHE STRING
    "Date of this version's release (YYYY-MM-DD), the time of the zip's files")

set(KESMARO_WINDOWS_ZIP ${PROJECT_BINARY_DIR}/kesmaro-${KESMARO_WINDOWS_VERSION}-win64.zip)
set(KESMARO_WINDOWS_SETUP ${PROJECT_BINARY_DIR}/kesmaro-${KESMARO_WINDOWS_VERSION}-setup.exe)

set(_stage_root ${PROJECT_BINARY_DIR}/windows-package)
set(_stage ${_stage_root}/Kesmaro)
set(_windist ${PROJECT_SOURCE_DIR}/dist/windows)

# The texts for Windows: CR LF line ends, which every Windows editor shows as lines.
set(_texts ${_stage_root}/texts)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_texts}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${_windist}/ChangeLog.txt ${_texts}/ChangeLog.txt @ONLY NEWLINE_STYLE CRLF)

# The help documents are the program's own (it opens them from its folder): every file of
# docs/help, as the Debian package has them.
file(GLOB _help_documents CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/help/*)
set(_documents ${_help_documents} ${_texts}/LICENSE.txt ${_texts}/ChangeLog.txt)

# No settings file: the first start asks its questions and writes one beside the program.
set(_staged ${_stage}/kesmaro.exe)
set(_copy_documents)
foreach(_document IN LISTS _documents)
    get_filename_component(_name ${_document} NAME)
    list(APPEND _staged ${_stage}/${_name})
    list(APPEND _copy_documents COMMAND ${CMAKE_COMMAND} -E copy ${_document} ${_stage}/${_name})
endforeach()
# Debug information stays in the build: the players' copy is stripped, as the Debian one is.
add_custom_command(
    OUTPUT ${_staged}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_stage}
    COMMAND ${CMAKE_STRIP} --strip-all -o ${_stage}/kesmaro.exe $<TARGET_FILE:kesmaro>
    ${_copy_documents}
    DEPENDS kesmaro ${_documents}
    COMMENT "Staging the Windows distribution in ${_stage}"
    VERBATIM)

# libarchive marks the Japanese file names as UTF-8 (general purpose flag 11), which the zip
# folders of Windows read; Info-ZIP's zip leaves the flag off, and Windows would read them in
# the local code page.
add_custom_command(
    OUTPUT ${KESMARO_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${KESMARO_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${KESMARO_WINDOWS_ZIP} --format=zip
            "--mtime=${KESMARO_WINDOWS_RELEASE_DATE} 12:00:00 UTC" Kesmaro
    WORKING_DIRECTORY ${_stage_root}
    DEPENDS ${_staged}
    COMMENT "Packing ${KESMARO_WINDOWS_ZIP}"
    VERBATIM)
add_custom_target(kesmaro_windows_zip DEPENDS ${KESMARO_WINDOWS_ZIP})
set(_package_targets kesmaro_windows_zip)

find_program(KESMARO_MAKENSIS makensis)
if(KESMARO_MAKENSIS)
    # The installer installs the staged folder as it is; its script lists the files by name so
    # that the uninstaller removes those and nothing the player made.
    set(_installed_names)
    foreach(_file IN LISTS _staged)
        get_filename_component(_name ${_file} NAME)
        list(APPEND _installed_names ${_name})
    endforeach()
    set(_file_list ${_stage_root}/files.nsh)
    set(_install_lines "")
    set(_remove_lines "")
    foreach(_name IN LISTS _installed_names)
        string(APPEND _install_lines "File \"\${STAGE}/${_name}\"\n")
        string(APPEND _remove_lines "Delete \"$INSTDIR\\${_name}\"\n")
    endforeach()
    # Written only when it changes, so that it reruns makensis only then.
    file(CONFIGURE OUTPUT ${_file_list}
         CONTENT "!macro KESMARO_INSTALL_FILES\n${_install_lines}!macroend\n\
!macro KESMARO_REMOVE_FILES\n${_remove_lines}!macroend\n"
         @ONLY)
    add_custom_command(
        OUTPUT ${KESMARO_WINDOWS_SETUP}
        COMMAND ${KESMARO_MAKENSIS} -V2 -INPUTCHARSET UTF8 -NOCD
                "-DVERSION=${KESMARO_WINDOWS_VERSION}"
                "-DVERSION_NUMBERS=${KESMARO_WINDOWS_VERSION_NUMBERS}"
                "-DSTAGE=${_stage}" "-DFILE_LIST=${_file_list}"
                "-DICON=${PROJECT_SOURCE_DIR}/dist/icons/kesmaro.ico"
                "-DOUTFILE=${KESMARO_WINDOWS_SETUP}"
                ${_windist}/kesmaro.nsi
        WORKING_DIRECTORY ${_stage_root}
        DEPENDS ${_staged} ${_file_list} ${_windist}/kesmaro.nsi
                ${PROJECT_SOURCE_DIR}/dist/icons/kesmaro.ico
        COMMENT "Making ${KESMARO_WINDOWS_SETUP}"
        VERBATIM)
    add_custom_target(kesmaro_windows_installer DEPENDS ${KESMARO_WINDOWS_SETUP})
    list(APPEND _package_targets kesmaro_windows_installer)
else()
    message(STATUS "makensis not found: `make package-windows` makes the zip only")
endif()
add_custom_target(kesmaro_windows_packages DEPENDS ${_package_targets})

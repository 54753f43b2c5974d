# The golden runs under Wine: the Windows replay over the same scenarios, the frames drawn by the
# Linux simulated game of the host build (KESMARO_HOST_BUILD, make passes its own).
set(KESMARO_HOST_BUILD "${PROJECT_SOURCE_DIR}/build/default" CACHE PATH
    "The Linux build whose kesmaro-simgame draws the frames of the Windows e2e runs")
list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 wine_run)
list(GET CMAKE_CROSSCOMPILING_EMULATOR 1 wine_prefix)
file(GLOB scenarios LIST_DIRECTORIES true ${CMAKE_CURRENT_LIST_DIR}/scenarios/*)
foreach(dir ${scenarios})
    if(IS_DIRECTORY ${dir})
        get_filename_component(name ${dir} NAME)
        add_test(NAME windows.e2e.${name}
                 COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_e2e_windows.sh ${wine_run}
                         ${wine_prefix} $<TARGET_FILE:kesmaro-replay>
                         ${KESMARO_HOST_BUILD}/src/tools/kesmaro-simgame ${dir}
                         ${CMAKE_CURRENT_LIST_DIR}/golden/${name}
                         ${CMAKE_CURRENT_BINARY_DIR}/e2e/${name})
        set_tests_properties(windows.e2e.${name} PROPERTIES LABELS "windows;e2e" TIMEOUT 300
                             FIXTURES_REQUIRED wine)
    endif()
endforeach()

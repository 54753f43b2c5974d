# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix thread model, so that
# std::thread and std::mutex exist). Tests run under Wine through scripts/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KESMARO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KESMARO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESMARO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KESMARO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KESMARO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime goes inside each executable: nothing but system DLLs beside the program.
# winpthread is linked whole and statically, or the posix compiler pulls in its DLL.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# One Wine prefix per build folder, so that tests never touch the user's ~/.wine.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${CMAKE_BINARY_DIR}/wineprefix)

# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (package mingw-w64).
#
# The "posix" thread model of the compiler is used: its libstdc++ has std::thread, std::mutex and
# std::condition_variable (the "win32" one of GCC 12 has not), and -static below links its
# winpthread into the program, so the .exe still needs no DLL of ours.
#
# Libraries for the target are looked up only in the MinGW-w64 sysroot and in the folders named in
# CMAKE_PREFIX_PATH (the third-party prefix of tools/thirdparty/build-libs.sh), never in the
# build machine's /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_AR ${MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No DLL besides Windows' own: the C and C++ runtimes and winpthread go into the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Wine runs the cross-compiled tests (ctest, try_run).
find_program(VEXARO_WINE wine)
if(VEXARO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VEXARO_WINE})
endif()

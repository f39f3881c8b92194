# The Windows build (MinGW-w64): the executable with its icon, version information and manifest,
# a program of the windows subsystem (no console), linked statically so that it needs no DLL but
# Windows' own. `cmake --build build-win --target windows-package` then lays out the folder the
# game expects and makes the zip and the installer (cmake/WindowsPackage.cmake).
#
# VEXARO_NATIVE_BUILD is the Linux build folder whose vexaro-rounds compiled rnd_dat/.

include(${CMAKE_CURRENT_LIST_DIR}/Version.cmake)
set(VEXARO_NATIVE_BUILD "${CMAKE_SOURCE_DIR}/build" CACHE PATH
    "The Linux build folder that holds the compiled rounds (rnd_dat/)")
set(VEXARO_TUNES "" CACHE PATH "The folder of the pre-rendered tunes (X.ogg for wav/X.mid)")
set(VEXARO_FONT_DIR "" CACHE PATH "The fonts to ship (empty: the system's whole fonts)")

# 2000.02 -> 2000,2,0,0 for the version resource.
string(REPLACE "." ";" version_parts ${VEXARO_VERSION})
list(GET version_parts 0 version_major)
list(GET version_parts 1 version_minor)
math(EXPR version_minor "${version_minor}")
set(VEXARO_VERSION_COMMAS "${version_major},${version_minor},0,0")
set(VEXARO_VERSION_QUAD "${version_major}.${version_minor}.0.0")

# The icon, from the picture generator's PNGs in every size Windows asks for.
find_program(VEXARO_CONVERT convert REQUIRED)
set(VEXARO_ICO ${CMAKE_BINARY_DIR}/vexaro.ico)
set(icon_sizes 16 32 48 64 128 256)
list(TRANSFORM icon_sizes PREPEND ${CMAKE_SOURCE_DIR}/assets/icons/vexaro- OUTPUT_VARIABLE icon_pngs)
list(TRANSFORM icon_pngs APPEND .png)
add_custom_command(OUTPUT ${VEXARO_ICO}
    COMMAND ${VEXARO_CONVERT} ${icon_pngs} ${VEXARO_ICO}
    DEPENDS ${icon_pngs}
    COMMENT "Making the icon vexaro.ico")

set(VEXARO_MANIFEST ${CMAKE_BINARY_DIR}/vexaro.manifest)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/vexaro.manifest ${VEXARO_MANIFEST} @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/vexaro.rc.in ${CMAKE_BINARY_DIR}/vexaro.rc
               @ONLY)
enable_language(RC)
target_sources(vexaro PRIVATE ${CMAKE_BINARY_DIR}/vexaro.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/vexaro.rc PROPERTIES
    OBJECT_DEPENDS "${VEXARO_ICO};${VEXARO_MANIFEST}")

# SDL's WinMain hands main the command line in UTF-8; a window program: no console opens. (The
# toolchain file links everything statically: no DLL beside Windows' own.)
target_link_libraries(vexaro PRIVATE SDL2::SDL2main)
set_target_properties(vexaro PROPERTIES WIN32_EXECUTABLE ON)

# The folder, the zip and the installer.
find_program(VEXARO_MAKENSIS makensis)
find_program(VEXARO_STRIP x86_64-w64-mingw32-strip)
add_custom_target(windows-package
    COMMAND ${CMAKE_COMMAND}
            -DSOURCE=${CMAKE_SOURCE_DIR} -DBINARY=${CMAKE_BINARY_DIR}
            -DEXE=$<TARGET_FILE:vexaro> -DVERSION=${VEXARO_VERSION}
            -DVERSION_QUAD=${VEXARO_VERSION_QUAD} -DNATIVE=${VEXARO_NATIVE_BUILD}
            -DTUNES=${VEXARO_TUNES} -DFONTS=${VEXARO_FONT_DIR} -DICON=${VEXARO_ICO}
            -DMAKENSIS=${VEXARO_MAKENSIS} -DSTRIP=${VEXARO_STRIP}
            -P ${CMAKE_SOURCE_DIR}/cmake/WindowsPackage.cmake
    DEPENDS vexaro ${VEXARO_ICO}
    VERBATIM)

# The Windows file calls checked under Wine by tests/windows/files_test.sh (not shipped).
add_executable(vexaro-files-check ${CMAKE_SOURCE_DIR}/tests/windows/files_check.cpp)
target_link_libraries(vexaro-files-check PRIVATE vexaro_platform_sdl)

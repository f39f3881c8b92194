# Installing the game as a Debian game is laid out: the executable with its data folders beside
# it under lib/games/vexaro (the game looks for rnd_dat/, wav/ and Help.hlp beside itself), a
# launcher in games/ that links to it, and under share/ the menu entry, the icons, the AppStream
# data, the manual page and the copyright. `cmake --install BUILD` puts it under the prefix
# (/usr/local by default); `cmake --build BUILD --target package` makes the .deb for /usr.

include(${CMAKE_CURRENT_LIST_DIR}/Version.cmake)
set(VEXARO_RELEASE_DATE 2026-12-10)
set(VEXARO_ID com.example.vexaro) # the home page's address, reversed
set(VEXARO_HOMEPAGE https://vexaro.example.com/)
set(VEXARO_SCREENSHOTS_URL ${VEXARO_HOMEPAGE}screenshots/ CACHE STRING
    "Where the pictures of docs/screenshots/ are published, for software centres")
set(VEXARO_GAME_DIR lib/games/vexaro)
set(PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

# The game and its data.
install(TARGETS vexaro RUNTIME DESTINATION ${VEXARO_GAME_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/rnd_dat ${CMAKE_BINARY_DIR}/wav
        DESTINATION ${VEXARO_GAME_DIR})
install(FILES ${CMAKE_BINARY_DIR}/Help.hlp DESTINATION ${VEXARO_GAME_DIR})

# The launcher: a relative link, so that the installed tree can be moved (and unpacked anywhere).
file(MAKE_DIRECTORY ${PACKAGING_OUT})
file(CREATE_LINK ../${VEXARO_GAME_DIR}/vexaro ${PACKAGING_OUT}/vexaro SYMBOLIC)
install(FILES ${PACKAGING_OUT}/vexaro DESTINATION games)

# The desktop: menu entry, icons in every size the picture generator draws (vexaro-SIZE.png),
# AppStream data.
install(FILES ${PACKAGING}/${VEXARO_ID}.desktop DESTINATION share/applications)
file(GLOB VEXARO_ICONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/icons/vexaro-[0-9]*.png)
foreach(icon ${VEXARO_ICONS})
    string(REGEX REPLACE ".*/vexaro-([0-9]+)\\.png$" "\\1" size ${icon})
    install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME vexaro.png)
endforeach()
configure_file(${PACKAGING}/${VEXARO_ID}.metainfo.xml.in
               ${PACKAGING_OUT}/${VEXARO_ID}.metainfo.xml @ONLY)
install(FILES ${PACKAGING_OUT}/${VEXARO_ID}.metainfo.xml DESTINATION share/metainfo)

# The manual page and the changelog, compressed the way Debian keeps them (no time stamp).
find_program(GZIP gzip REQUIRED)
foreach(doc vexaro.6 changelog)
    add_custom_command(
        OUTPUT ${PACKAGING_OUT}/${doc}.gz
        COMMAND ${GZIP} -9nc ${PACKAGING}/${doc} > ${PACKAGING_OUT}/${doc}.gz
        DEPENDS ${PACKAGING}/${doc}
        COMMENT "Compressing ${doc}")
endforeach()
add_custom_target(vexaro-docs ALL
    DEPENDS ${PACKAGING_OUT}/vexaro.6.gz ${PACKAGING_OUT}/changelog.gz)
install(FILES ${PACKAGING_OUT}/vexaro.6.gz DESTINATION share/man/man6)
install(FILES ${PACKAGING}/copyright ${PACKAGING_OUT}/changelog.gz DESTINATION share/doc/vexaro)

# The .deb: its dependencies are the shared libraries the game is linked with (found by
# dpkg-shlibdeps), and the data it needs at run time: a General MIDI sound font for the music
# and the fonts of its lettering.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexaro)
set(CPACK_PACKAGE_VERSION ${VEXARO_VERSION})
set(CPACK_PACKAGE_VENDOR "The Vexaro!! Team")
set(CPACK_PACKAGE_CONTACT "The Vexaro!! Team <team@vexaro.example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cave flying arcade game with a small rocket ship")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "A single-player arcade game. You fly a small rocket ship through rock caves"
    "under gravity with three keys, the main engine and two side engines, collect"
    "energy capsules for spare ships, rescue the people waiting in the caves, dodge"
    "the enemies and touch down gently on the goal pad before the round's time runs"
    "out."
    "."
    "Nine rounds, sound effects, music and an ending; keyboard or gamepad, window or"
    "full screen.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VEXARO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf3-soundfont-gm | fluid-soundfont-gm, \
fonts-ipafont-mincho, fonts-ipafont-gothic, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils") # the about window's links
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)

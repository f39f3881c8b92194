# Lays out the Windows game's folder and makes the zip and the installer from it (script mode,
# run by the windows-package target of cmake/Windows.cmake):
#
#   Vexaro-VERSION/            vexaro.exe, Help.hlp, Readme.txt
#     rnd_dat/ wav/            the rounds (compiled by the Linux build), sounds and tunes
#     fonts/                   the fonts the game letters with
#     licences/                the licences of the game and of everything shipped with it
#   Vexaro-VERSION-win64.zip   that folder
#   Vexaro-VERSION-setup.exe   the installer (NSIS), which installs the same files
cmake_minimum_required(VERSION 3.25)

set(folder_name Vexaro-${VERSION})
set(dir ${BINARY}/${folder_name})
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir}/rnd_dat ${dir}/wav ${dir}/fonts ${dir}/licences)

function(require path what)
    if(NOT EXISTS ${path})
        message(FATAL_ERROR "${what} is missing: ${path}")
    endif()
endfunction()

# The game, without its symbols (the build folder keeps them).
execute_process(COMMAND ${STRIP} -o ${dir}/vexaro.exe ${EXE} COMMAND_ERROR_IS_FATAL ANY)
require(${BINARY}/Help.hlp "The help file")
file(COPY ${BINARY}/Help.hlp DESTINATION ${dir})
file(COPY ${SOURCE}/packaging/windows/Readme.txt DESTINATION ${dir})

# The rounds, compiled by the Linux build's vexaro-rounds.
file(GLOB rounds ${NATIVE}/rnd_dat/R*.dat.rnd)
if(NOT rounds)
    message(FATAL_ERROR "No compiled rounds in ${NATIVE}/rnd_dat: build the Linux game first")
endif()
file(COPY ${rounds} DESTINATION ${dir}/rnd_dat)

# Sounds and tunes: each MIDI tune plays from its pre-rendered X.ogg beside it.
file(GLOB sounds ${BINARY}/wav/*)
file(COPY ${sounds} DESTINATION ${dir}/wav)
file(GLOB tunes ${SOURCE}/assets/wav/*.mid)
foreach(tune ${tunes})
    get_filename_component(name ${tune} NAME_WE)
    require(${TUNES}/${name}.ogg "The rendered tune ${name}.ogg")
    file(COPY ${TUNES}/${name}.ogg DESTINATION ${dir}/wav)
endforeach()

# The fonts (platform/fonts/shipped.cpp names them).
set(font_files /usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf
    /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf)
foreach(cut Regular Bold Italic BoldItalic)
    list(APPEND font_files /usr/share/fonts/truetype/liberation/LiberationSerif-${cut}.ttf)
endforeach()
foreach(font ${font_files})
    get_filename_component(name ${font} NAME)
    if(FONTS AND EXISTS ${FONTS}/${name})
        set(font ${FONTS}/${name})
    endif()
    require(${font} "The font ${name}")
    file(COPY ${font} DESTINATION ${dir}/fonts)
endforeach()

# The licences: the game's, and Debian's copyright files of the very sources built and shipped
# (they hold the whole licence texts, stb's and the MinGW-w64 runtime's included).
file(COPY_FILE ${SOURCE}/packaging/copyright ${dir}/licences/Vexaro.txt)
set(licences
    "SDL2=libsdl2-2.0-0" "SDL2_image=libsdl2-image-2.0-0" "SDL2_ttf=libsdl2-ttf-2.0-0"
    "SDL2_mixer=libsdl2-mixer-2.0-0" "FreeType=libfreetype6" "HarfBuzz=libharfbuzz0b"
    "IPA-fonts=fonts-ipafont-mincho" "Liberation-fonts=fonts-liberation"
    "TimGM6mb-soundfont=timgm6mb-soundfont" "MinGW-w64-runtime=mingw-w64-common"
    "GCC-runtime=gcc-mingw-w64-base")
foreach(entry ${licences})
    string(REPLACE "=" ";" entry ${entry})
    list(GET entry 0 name)
    list(GET entry 1 package)
    require(/usr/share/doc/${package}/copyright "The licence of ${name}")
    file(COPY_FILE /usr/share/doc/${package}/copyright ${dir}/licences/${name}.txt)
endforeach()

# The zip: the folder itself, so that it unpacks into a folder of its own.
set(zip ${BINARY}/Vexaro-${VERSION}-win64.zip)
file(REMOVE ${zip})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${folder_name}
                WORKING_DIRECTORY ${BINARY} COMMAND_ERROR_IS_FATAL ANY)

# The installer: what to put where and, in reverse, what to take away again.
set(lists ${BINARY}/installer)
file(MAKE_DIRECTORY ${lists})
file(GLOB_RECURSE files RELATIVE ${dir} ${dir}/*)
list(SORT files)
set(install_lines "")
set(remove_lines "")
set(folders "")
set(current "-")
foreach(file ${files})
    get_filename_component(sub ${file} DIRECTORY)
    if(NOT "${sub}" STREQUAL "${current}")
        set(current "${sub}")
        string(REPLACE "/" "\\" sub_win "${sub}")
        if(sub)
            string(APPEND install_lines "SetOutPath \"$INSTDIR\\${sub_win}\"\n")
            list(APPEND folders ${sub_win})
        else()
            string(APPEND install_lines "SetOutPath \"$INSTDIR\"\n")
        endif()
    endif()
    string(REPLACE "/" "\\" file_win "${file}")
    string(APPEND install_lines "File \"${folder_name}/${file}\"\n")
    string(APPEND remove_lines "Delete \"$INSTDIR\\${file_win}\"\n")
endforeach()
string(APPEND install_lines "SetOutPath \"$INSTDIR\"\n")
list(REVERSE folders) # the deepest first; RMDir leaves a folder that still holds a file of the player's
foreach(sub ${folders})
    string(APPEND remove_lines "RMDir \"$INSTDIR\\${sub}\"\n")
endforeach()
file(WRITE ${lists}/files.nsh "${install_lines}")
file(WRITE ${lists}/unfiles.nsh "${remove_lines}")

if(NOT MAKENSIS)
    message(FATAL_ERROR "makensis is missing (Debian package nsis)")
endif()
set(setup ${BINARY}/Vexaro-${VERSION}-setup.exe)
execute_process(
    COMMAND ${MAKENSIS} -V2 -NOCD -DVERSION=${VERSION} -DVERSION_QUAD=${VERSION_QUAD}
            -DLISTS=${lists} -DICON=${ICON} -DOUTFILE=${setup}
            ${SOURCE}/packaging/windows/installer.nsi
    WORKING_DIRECTORY ${BINARY} COMMAND_ERROR_IS_FATAL ANY)
file(SIZE ${zip} zip_size)
file(SIZE ${setup} setup_size)
message(STATUS "${zip}: ${zip_size} bytes")
message(STATUS "${setup}: ${setup_size} bytes")


# Added by tools/thirdparty/build-libs.sh for the browser build. SDL's Emscripten audio code calls
# autoResumeAudioContext() and dynCall() from JavaScript; Emscripten links those runtime functions
# only when asked (its own SDL2 port asks too), so every program that links SDL2::SDL2-static asks
# here. The list is in a file because the names begin with '$', which the build tools' quoting
# does not carry through to emcc intact.
if(TARGET SDL2::SDL2-static)
    set_property(TARGET SDL2::SDL2-static APPEND PROPERTY INTERFACE_LINK_OPTIONS
                 "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_CURRENT_LIST_DIR}/emscripten-library-functions.json")
endif()

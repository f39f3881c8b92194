# The game for the browser (make web): vexaro.js and vexaro.wasm, which the page under
# platform/web/page/ loads (tools/web/make-dist.sh puts them together in build-web/dist/).
# Asyncify lets every wait of the game give the browser its turn and come back where it was;
# the stack it saves at a wait holds the game's nested loops, menu and modal loops included.
set(VEXARO_WEB_DIR ${CMAKE_SOURCE_DIR}/platform/web)
target_link_options(vexaro PRIVATE
    -sASYNCIFY=1
    -sASYNCIFY_STACK_SIZE=131072
    "-sASYNCIFY_IMPORTS=['vexaro_web_sleep']"
    -sENVIRONMENT=web
    -sEXIT_RUNTIME=1
    -sALLOW_MEMORY_GROWTH=1
    -sINITIAL_MEMORY=67108864
    -sFORCE_FILESYSTEM=1
    -sEXPORTED_RUNTIME_METHODS=['FS']
    "-sEXPORTED_FUNCTIONS=['_main']"
    --js-library ${VEXARO_WEB_DIR}/web_library.js
    --pre-js ${VEXARO_WEB_DIR}/module_hooks.js)
set_property(TARGET vexaro APPEND PROPERTY LINK_DEPENDS
    ${VEXARO_WEB_DIR}/web_library.js ${VEXARO_WEB_DIR}/module_hooks.js)
set_target_properties(vexaro PROPERTIES SUFFIX ".js")

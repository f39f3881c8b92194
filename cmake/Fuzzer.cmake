# libFuzzer targets. The game is built with g++; a fuzzer is built with clang++ from the sources of
# the reader it fuzzes, which need nothing but the standard library, always under AddressSanitizer
# and UndefinedBehaviorSanitizer.
find_program(VEXARO_CLANGXX NAMES clang++ clang++-14)

# vexaro_add_fuzzer(TARGET OUTPUT SOURCES source... HEADERS header...): builds OUTPUT as part of
# the build (target TARGET). Callers check VEXARO_CLANGXX first.
function(vexaro_add_fuzzer target output)
    cmake_parse_arguments(FUZZER "" "" "SOURCES;HEADERS" ${ARGN})
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${VEXARO_CLANGXX} -std=c++20 -O1 -g -fno-omit-frame-pointer
                -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
                -I${CMAKE_SOURCE_DIR} ${FUZZER_SOURCES} -o ${output}
        DEPENDS ${FUZZER_SOURCES} ${FUZZER_HEADERS}
        COMMENT "Building ${target} with clang++")
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()

# libFuzzer targets. The game is built with g++; a fuzzer is built with clang++ from the sources of
# the reader it fuzzes, which need nothing but the standard library, always under AddressSanitizer
# and UndefinedBehaviorSanitizer.
find_program(VEXARO_CLANGXX NAMES clang++ clang++-14)

# vexaro_add_fuzz_test(NAME SOURCES source... HEADERS header... SEEDS folder... DICT file
#                      MAX_LEN bytes [OPTIONS libfuzzer-option...] [LONG])
# Builds NAME-fuzzer as part of the build (target vexaro-NAME-fuzzer), and a test fuzz-NAME
# (label fuzz) that runs it for a few seconds over the seed folders. New inputs go to a scratch
# corpus in the build tree, never to the seeds. LONG adds a target fuzz-NAME-long that runs it for
# ten minutes. The sanitizer build leaves the fuzzers out: they run under the same sanitizers in
# every build already.
function(vexaro_add_fuzz_test name)
    cmake_parse_arguments(FUZZ "LONG" "DICT;MAX_LEN" "SOURCES;HEADERS;SEEDS;OPTIONS" ${ARGN})
    if(VEXARO_SANITIZE)
        return()
    endif()
    string(REPLACE "-" " " what ${name})
    if(NOT VEXARO_CLANGXX)
        message(STATUS "clang++ not found: the ${what} fuzzer is not built")
        return()
    endif()

    set(fuzzer ${CMAKE_CURRENT_BINARY_DIR}/${name}-fuzzer)
    add_custom_command(
        OUTPUT ${fuzzer}
        COMMAND ${VEXARO_CLANGXX} -std=c++20 -O1 -g -fno-omit-frame-pointer
                -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
                -I${CMAKE_SOURCE_DIR} ${FUZZ_SOURCES} -o ${fuzzer}
        DEPENDS ${FUZZ_SOURCES} ${FUZZ_HEADERS}
        COMMENT "Building the ${what} fuzzer with clang++")
    add_custom_target(vexaro-${name}-fuzzer ALL DEPENDS ${fuzzer})

    set(scratch ${CMAKE_CURRENT_BINARY_DIR}/corpus)
    file(MAKE_DIRECTORY ${scratch})
    set(args ${scratch} ${FUZZ_SEEDS} -dict=${FUZZ_DICT} -max_len=${FUZZ_MAX_LEN} ${FUZZ_OPTIONS}
             -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/)
    add_test(NAME fuzz-${name} COMMAND ${fuzzer} ${args} -seed=1 -max_total_time=4)
    set_tests_properties(fuzz-${name} PROPERTIES LABELS fuzz TIMEOUT 120)
    if(FUZZ_LONG)
        add_custom_target(fuzz-${name}-long COMMAND ${fuzzer} ${args} -max_total_time=600
                          DEPENDS vexaro-${name}-fuzzer USES_TERMINAL)
    endif()
endfunction()

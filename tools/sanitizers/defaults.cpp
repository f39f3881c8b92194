// Linked into every program of the sanitizer build: the options the sanitizers run with and the
// leak suppressions, so that a test, an end-to-end script and a program started by hand all
// behave alike without any environment. Settings in ASAN_OPTIONS, LSAN_OPTIONS or UBSAN_OPTIONS
// still apply on top of these.

#define VEXARO_SANITIZER_HOOK extern "C" __attribute__((used, visibility("default"))) const char*

// Every fault is an error: the test fails and the program says where.
VEXARO_SANITIZER_HOOK __asan_default_options() {
    return "detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1:"
           "check_initialization_order=1";
}

VEXARO_SANITIZER_HOOK __lsan_default_options() {
    return "suppressions=" VEXARO_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

VEXARO_SANITIZER_HOOK __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

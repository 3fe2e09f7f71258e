// What a fuzz target does when the module breaks a rule: say which rule, where, and stop, so
// that libFuzzer keeps the input as a finding. Checks stay on in every build type.
#ifndef QX_FUZZ_FUZZ_CHECK_H
#define QX_FUZZ_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// An exception that no rule allows on this path.
#define FUZZ_UNEXPECTED(what)                                                                      \
    do {                                                                                           \
        std::fprintf(stderr, "%s:%d: unexpected: %s\n", __FILE__, __LINE__, what);                 \
        std::abort();                                                                              \
    } while (0)

#endif

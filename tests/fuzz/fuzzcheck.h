#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the fuzz target when a property of the program does not hold. It is
// not assert(): the replay builds are release builds with NDEBUG, and a
// property must stop them as it stops the libFuzzer build, which reports the
// abort as a crash and keeps the input that caused it.
#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n  ", __FILE__, __LINE__,             \
                         #condition);                                                              \
            std::fprintf(stderr, __VA_ARGS__);                                                     \
            std::fputc('\n', stderr);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

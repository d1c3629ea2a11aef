#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise of the settings file format: the fuzzer reports the input that broke it.
#define KELVANE_FUZZ_CHECK(condition)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition);                   \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// SPDX-License-Identifier: MIT
// The one way a fuzz target reports a broken property: a message, then abort(), which both
// libFuzzer and the replay driver treat as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define KZ_FUZZ_CHECK(cond)                                                                  \
    do {                                                                                     \
        if (!(cond)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)

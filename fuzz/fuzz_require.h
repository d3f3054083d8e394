// The fuzz targets' property check: a property that does not hold aborts,
// so that libFuzzer (or the plain driver under ctest) reports the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define Require(condition)                                            \
    do {                                                              \
        if (!(condition)) {                                           \
            std::fprintf(stderr, "property failed: %s\n", #condition); \
            std::abort();                                             \
        }                                                             \
    } while (0)

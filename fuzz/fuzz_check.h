#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property is reported like a crash, so libFuzzer keeps the input
// that shows it.
inline void Require(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

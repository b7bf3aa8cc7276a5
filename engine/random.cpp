#include "engine/random.h"

#include <windows.h>

uint32_t RandSeed = 0;

void Randomize() {
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter))
        RandSeed = static_cast<uint32_t>(counter.QuadPart);
    else
        RandSeed = GetTickCount();
}

uint32_t Random(uint32_t Range) {
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<uint32_t>((static_cast<uint64_t>(RandSeed) * Range) >> 32);
}

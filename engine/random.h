// The process-wide pseudo-random generator of the runtime: a 32-bit linear congruential
// generator. It fills the engine's random buffer and draws the random file names, one sequence.
#pragma once

#include <cstdint>

// Current state of the generator; setting it replays a sequence.
extern uint32_t RandSeed;

// Seeds from the clock: the low 32 bits of the performance counter, or the millisecond tick
// count where that counter is unavailable.
void Randomize();

// Next value in 0 .. Range-1: the seed becomes seed * 134,775,813 + 1 (mod 2^32) and the result
// is the upper 32 bits of the 64-bit product seed * Range.
uint32_t Random(uint32_t Range);

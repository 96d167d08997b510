#pragma once

#include <cstdint>

// The combined generator of the random track: a congruential step, two
// multiply-with-carry steps and a xorshift, mixed into one 32-bit result.
struct TRandomState {
    uint32_t s1, s2, s3, x1, x2, x3, x4;
};
extern TRandomState RandomState;

// Seeds from a low and a high 32-bit word.
void RandomSeed(uint32_t lo, uint32_t hi);
// The next 32-bit value.
uint32_t RandomNext();
// Seeds from the high-resolution counter and the millisecond tick count.
void RandomSeedFromClock();

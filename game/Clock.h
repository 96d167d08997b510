#pragma once

#include <cstdint>

// The frame clock: a monotonic counter scaled so its frequency stays below
// 2^29 ticks per second, which keeps later 64-bit products from overflowing.
extern int64_t ClockFrequency;
extern int32_t ClockShift;

// Reads the counter's frequency and derives ClockShift and ClockFrequency.
void ClockInit();
// The counter shifted right by ClockShift.
int64_t ClockNow();

#pragma once

#include <array>
#include <cstdint>

namespace velaxm {

// Vibrato and tremolo shapes 0..3 (sine, ramp, square, fixed noise), 64 steps each.
const std::array<std::array<int8_t, 64>, 4>& modulationWaveforms();
// Auto-vibrato sine: -round(64 sin(2 pi p / 256)) for p = 0..255.
const std::array<int8_t, 256>& autoVibratoSine();

} // namespace velaxm

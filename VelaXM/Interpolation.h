#pragma once

namespace velaxm {

// How a voice is resampled between sample frames.
enum Interpolation : int { kNone = 0, kLinear = 1, kCubic = 2, kFIR = 3 };

// The interpolation numbered 0..3 on command lines and in files; kNone for any other number.
constexpr Interpolation InterpolationFromNumber(int Number)
{
    return Number >= kLinear && Number <= kFIR ? static_cast<Interpolation>(Number) : kNone;
}

} // namespace velaxm

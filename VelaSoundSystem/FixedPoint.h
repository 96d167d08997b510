#pragma once

#include <cmath>
#include <cstdint>

// Fixed-point helpers shared by samples, music and the mixer. Floats only
// appear at the interface; everything the audio thread touches is integer.
namespace vss {

// One frame in 32.32 fixed point.
constexpr int64_t FrameOne = int64_t(1) << 32;

// Rounds Value x Scale to the nearest int32, saturating, with NaN as 0, so
// that a wild float from a caller can never reach undefined conversions.
inline int32_t RoundToFixed(double Value, double Scale)
{
    const double scaled = Value * Scale;
    if (!(scaled == scaled)) {
        return 0;
    }
    if (scaled >= 2147483647.0) {
        return INT32_MAX;
    }
    if (scaled <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(std::nearbyint(scaled));
}

// Clamps an int64 into [lo, hi].
inline int64_t Clamp64(int64_t Value, int64_t Low, int64_t High)
{
    return Value < Low ? Low : (Value > High ? High : Value);
}

// Left and right gains (0..4095, 4096 = unity) from a group volume (x 4096), a
// 16.16 volume and a 16.16 panning: half scale per side at centre.
struct TStereoGain {
    int32_t Left;
    int32_t Right;
};

inline TStereoGain PannedGains(int32_t GroupVolume, int32_t Volume, int32_t Panning)
{
    const int64_t d = Clamp64(int64_t(Panning) + 65536, 0, 131071);
    // Beyond 2^40 every product below saturates the clamp anyway; bounding e
    // keeps the products inside 64 bits for any volume a caller passes.
    const int64_t e = Clamp64((int64_t(GroupVolume) * Volume) >> 16, -(int64_t(1) << 40), int64_t(1) << 40);
    TStereoGain gains;
    gains.Left = static_cast<int32_t>(Clamp64((e * (131072 - d)) >> 17, 0, 4095));
    gains.Right = static_cast<int32_t>(Clamp64((d * e) >> 17, 0, 4095));
    return gains;
}

// One step of a declick tail: it loses 1/256 of itself, rounded away from
// zero, so it always reaches exactly 0. Branch-free for the inner loops.
inline int32_t DecayTail(int32_t Tail)
{
    const int64_t roundUp = 255 & ~(Tail >> 31);
    return Tail - static_cast<int32_t>((int64_t(Tail) + roundUp) >> 8);
}

} // namespace vss

#pragma once

// The family of inner mixing loops: one routine per combination of output
// channels, interpolation, sample channels, volume ramp, filter and equal
// sides, chosen once per run so that the per-frame body has no decisions left.
#include "VelaXM/Channel.h"
#include "VelaXM/Interpolation.h"
#include "VelaXM/MixTables.h"

#include <array>
#include <cstdint>
#include <utility>

namespace velaxm {

enum FilterKind : int { kNoFilter = 0, kLowpass = 1, kHighpass = 2 };

// One interpolated value of one sample channel; s points at frame t of that channel.
template <int Interp, int Stride>
inline int32_t interpolate(const int16_t* s, uint32_t fraction, const TVelaXMMixTables& tables)
{
    if constexpr (Interp == kNone) {
        return s[0];
    } else if constexpr (Interp == kLinear) {
        const int64_t delta = static_cast<int64_t>(s[Stride]) - s[0];
        return s[0] + static_cast<int32_t>(((fraction >> 16) * delta) >> 16);
    } else if constexpr (Interp == kCubic) {
        // Sample values are 16-bit and the weights of a row sum to at
        // most 1.25 x 16384 in magnitude, so the sum fits 32 bits.
        const auto& c = tables.Cubic.Table[fraction >> 22];
        const int32_t sum = c[0] * s[-Stride] + c[1] * s[0] + c[2] * s[Stride] + c[3] * s[2 * Stride];
        return sum >> TVelaXMCubicSpline::kShift;
    } else {
        const auto& k = tables.FIR.Table[fraction >> 20];
        const int64_t low = static_cast<int64_t>(k[0]) * s[-3 * Stride] + static_cast<int64_t>(k[1]) * s[-2 * Stride] +
                            static_cast<int64_t>(k[2]) * s[-Stride] + static_cast<int64_t>(k[3]) * s[0];
        const int64_t high = static_cast<int64_t>(k[4]) * s[Stride] + static_cast<int64_t>(k[5]) * s[2 * Stride] +
                             static_cast<int64_t>(k[6]) * s[3 * Stride] + static_cast<int64_t>(k[7]) * s[4 * Stride];
        return static_cast<int32_t>(((low >> 1) + (high >> 1)) >> TVelaXMWindowedFIR::kShift);
    }
}

// The resonant filter: a two-pole recursion on the interpolated value.
template <int Filter>
inline int32_t filter(int32_t x, int32_t& y1, int32_t& y2, int32_t a0, int32_t b0, int32_t b1)
{
    if constexpr (Filter == kNoFilter) {
        return x;
    } else {
        const auto y = static_cast<int32_t>(
            (static_cast<int64_t>(a0) * x + static_cast<int64_t>(b0) * y1 + static_cast<int64_t>(b1) * y2) >> 12);
        y2 = y1;
        y1 = Filter == kLowpass ? y : y - x;
        return y;
    }
}

// Adds without signed overflow: a mix that exceeds 32 bits wraps instead of misbehaving.
inline void accumulate(int32_t& target, int32_t value)
{
    target = static_cast<int32_t>(static_cast<uint32_t>(target) + static_cast<uint32_t>(value));
}

inline int32_t product(int32_t value, int32_t gain) { return static_cast<int32_t>(static_cast<int64_t>(value) * gain); }

using MixRoutine = void (*)(TVelaXMChannel&, int32_t*, int32_t, const TVelaXMMixTables&);

// Mixes frames of a voice into out (frames x OutChannels values) and keeps the
// voice's position, gains, filter history and last output up to date.
template <int OutChannels, int Interp, int SampleChannels, bool Ramp, int Filter, bool EqualSides>
void mixRoutine(TVelaXMChannel& ch, int32_t* out, int32_t frames, const TVelaXMMixTables& tables)
{
    const int16_t* data = ch.Sample->Frames();
    int64_t position = ch.Position;
    const int64_t step = ch.SignedStep;
    int32_t gainL = ch.CurrentGainL, gainR = ch.CurrentGainR;
    const int32_t deltaL = ch.RampDeltaL, deltaR = ch.RampDeltaR;
    const int32_t volumeL = ch.VolumeL, volumeR = ch.VolumeR;
    const int32_t a0 = ch.FilterA0, b0 = ch.FilterB0, b1 = ch.FilterB1;
    int32_t y1L = ch.FilterY1L, y2L = ch.FilterY2L, y1R = ch.FilterY1R, y2R = ch.FilterY2R;
    int32_t lastL = 0, lastR = 0;
#pragma GCC unroll 4
    for (int32_t i = 0; i < frames; ++i) {
        const int16_t* s = data + (position >> 32) * SampleChannels;
        const auto fraction = static_cast<uint32_t>(position);
        int32_t xL = filter<Filter>(interpolate<Interp, SampleChannels>(s, fraction, tables), y1L, y2L, a0, b0, b1);
        int32_t xR = xL;
        if constexpr (SampleChannels == 2)
            xR = filter<Filter>(interpolate<Interp, 2>(s + 1, fraction, tables), y1R, y2R, a0, b0, b1);
        int32_t gL = volumeL, gR = volumeR;
        if constexpr (Ramp) {
            gainL += deltaL;
            gainR += deltaR;
            gL = gainL >> 12;
            gR = gainR >> 12;
        }
        if constexpr (OutChannels == 1) {
            const int32_t x = SampleChannels == 2 ? (xL + xR) >> 1 : xL;
            lastL = product(x, gL);
            accumulate(out[i], lastL);
        } else if constexpr (EqualSides && SampleChannels == 1) {
            lastL = lastR = product(xL, gL);
            accumulate(out[2 * i], lastL);
            accumulate(out[2 * i + 1], lastL);
        } else {
            lastL = product(xL, gL);
            lastR = product(xR, EqualSides ? gL : gR);
            accumulate(out[2 * i], lastL);
            accumulate(out[2 * i + 1], lastR);
        }
        position += step;
    }
    ch.Position = position;
    ch.CurrentGainL = gainL;
    ch.CurrentGainR = gainR;
    ch.FilterY1L = y1L;
    ch.FilterY2L = y2L;
    ch.FilterY1R = y1R;
    ch.FilterY2R = y2R;
    ch.LastOutputL = lastL;
    ch.LastOutputR = lastR;
}

// Table index of a routine: each dimension multiplies in.
constexpr size_t routineIndex(int outChannels, int interp, int sampleChannels, bool ramp, int filterKind, bool equal)
{
    return ((((static_cast<size_t>(outChannels - 1) * 4 + interp) * 2 + (sampleChannels - 1)) * 2 + ramp) * 3 +
            filterKind) *
               2 +
           equal;
}

constexpr size_t kRoutineCount = 2 * 4 * 2 * 2 * 3 * 2;

template <size_t I>
constexpr MixRoutine routineAt()
{
    constexpr bool equal = I % 2;
    constexpr int filterKind = (I / 2) % 3;
    constexpr bool ramp = (I / 6) % 2;
    constexpr int sampleChannels = (I / 12) % 2 + 1;
    constexpr int interp = (I / 24) % 4;
    constexpr int outChannels = static_cast<int>(I / 96) + 1;
    // Mono output has no sides to compare: both entries share one routine.
    return &mixRoutine < outChannels, interp, sampleChannels, ramp, filterKind, equal && outChannels == 2 > ;
}

template <size_t... I>
constexpr std::array<MixRoutine, kRoutineCount> makeRoutineTable(std::index_sequence<I...>)
{
    return {routineAt<I>()...};
}

inline constexpr std::array<MixRoutine, kRoutineCount> kMixRoutines =
    makeRoutineTable(std::make_index_sequence<kRoutineCount>());

} // namespace velaxm

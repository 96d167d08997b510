#pragma once

// What the vector mix routines share with each other: walking the voice's
// position as the scalar loop does, the ramped gains of a frame, the voice
// state written back after the vector groups, and where they go in the table.
#include "VelaXM/MixKernelSets.h"

namespace velaxm::vec {

// The voice's position, moved on one output frame at a time.
struct Cursor {
    const int16_t* data; // frame 0 of a mono sample
    int64_t position;    // 32.32
    int64_t step;        // signed
    // The first value of the current frame and its fraction; then moves on.
    const int16_t* next(uint32_t& fraction)
    {
        const int16_t* frame = data + (position >> 32);
        fraction = static_cast<uint32_t>(position);
        position += step;
        return frame;
    }
};

// gain + k x delta with the wrap-around of k single 32-bit additions.
inline int32_t rampedGain(int32_t gain, int32_t delta, int32_t k)
{
    return static_cast<int32_t>(static_cast<uint32_t>(gain) + static_cast<uint32_t>(delta) * static_cast<uint32_t>(k));
}

// The voice after frames mixed by vector groups: what the scalar loop would have left.
template <bool Ramp>
void finishGroups(TVelaXMChannel& ch, int64_t position, int32_t frames, int32_t lastL, int32_t lastR)
{
    ch.Position = position;
    if constexpr (Ramp) {
        ch.CurrentGainL = rampedGain(ch.CurrentGainL, ch.RampDeltaL, frames);
        ch.CurrentGainR = rampedGain(ch.CurrentGainR, ch.RampDeltaR, frames);
    }
    ch.LastOutputL = lastL;
    ch.LastOutputR = lastR;
}

// Puts a family's routines for unfiltered mono samples played to stereo into
// a copy of the scalar table. Family::mix<Interp, Ramp, EqualSides> is a MixRoutine.
template <typename Family>
MixRoutineTable withVectorRoutines()
{
    MixRoutineTable table = kMixRoutines;
    auto put = [&table]<int Interp>() {
        table[routineIndex(2, Interp, 1, false, kNoFilter, false)] = &Family::template mix<Interp, false, false>;
        table[routineIndex(2, Interp, 1, false, kNoFilter, true)] = &Family::template mix<Interp, false, true>;
        table[routineIndex(2, Interp, 1, true, kNoFilter, false)] = &Family::template mix<Interp, true, false>;
        table[routineIndex(2, Interp, 1, true, kNoFilter, true)] = &Family::template mix<Interp, true, true>;
    };
    put.template operator()<kNone>();
    put.template operator()<kLinear>();
    put.template operator()<kCubic>();
    put.template operator()<kFIR>();
    return table;
}

// The scalar routine of the same combination, for runs too short for a group
// and for the frames after the last group.
template <int Interp, bool Ramp, bool EqualSides>
void mixScalar(TVelaXMChannel& ch, int32_t* out, int32_t frames, const TVelaXMMixTables& tables)
{
    mixRoutine<2, Interp, 1, Ramp, kNoFilter, EqualSides>(ch, out, frames, tables);
}

} // namespace velaxm::vec

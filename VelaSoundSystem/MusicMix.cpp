#include "VelaSoundSystem/FixedPoint.h"
#include "VelaSoundSystem/Music.h"

// Mixing a stream into the block: gains follow a linear ramp after a volume
// change, and the remainder of a cut sound decays through the tail.

namespace {

struct TMixState {
    int32_t RampLeft;
    int32_t RampRight;
    int32_t SlopeLeft;
    int32_t SlopeRight;
    int32_t GainLeft;
    int32_t GainRight;
    int32_t TailLeft;
    int32_t TailRight;
    int32_t LastLeft;
    int32_t LastRight;
};

const int32_t SilentFrames[TVSSOGG::BlockFrames * 2] = {};

// One run of frames with the ramp and the tail switched on or off for all of it.
template <bool Ramp, bool Tail>
void mixFrames(const int32_t* Source, int32_t* Mix, int32_t Frames, TMixState& S)
{
    for (int32_t i = 0; i < Frames; ++i) {
        if constexpr (Ramp) {
            S.GainLeft = S.RampLeft >> 12;
            S.GainRight = S.RampRight >> 12;
            S.RampLeft += S.SlopeLeft;
            S.RampRight += S.SlopeRight;
        }
        int32_t t = (Source[2 * i] * S.GainLeft) >> 12;
        int32_t u = (Source[2 * i + 1] * S.GainRight) >> 12;
        S.LastLeft = t;
        S.LastRight = u;
        if constexpr (Tail) {
            S.TailLeft = vss::DecayTail(S.TailLeft);
            S.TailRight = vss::DecayTail(S.TailRight);
            t += S.TailLeft >> 12;
            u += S.TailRight >> 12;
        }
        Mix[2 * i] += t;
        Mix[2 * i + 1] += u;
    }
}

using TMixFrames = void (*)(const int32_t*, int32_t*, int32_t, TMixState&);
constexpr TMixFrames MixKernels[2][2] = {{mixFrames<false, false>, mixFrames<false, true>},
                                         {mixFrames<true, false>, mixFrames<true, true>}};

} // namespace

void TVSSOGG::MixInto(int32_t* Mix, int32_t Frames, int32_t Group)
{
    if (!Playing.Load() && RampFrames <= 0 && TailLeft == 0 && TailRight == 0) {
        return;
    }
    const vss::TStereoGain target = vss::PannedGains(Group, Volume, Panning);
    const int32_t targetLeft = target.Left << 12;
    const int32_t targetRight = target.Right << 12;
    TMixState s{};
    if (RampFrames != 0) {
        s.RampLeft = CurrentGainLeft;
        s.RampRight = CurrentGainRight;
        s.SlopeLeft = (targetLeft - CurrentGainLeft) / RampFrames;
        s.SlopeRight = (targetRight - CurrentGainRight) / RampFrames;
    } else {
        s.RampLeft = targetLeft;
        s.RampRight = targetRight;
    }
    s.GainLeft = s.RampLeft >> 12;
    s.GainRight = s.RampRight >> 12;
    s.TailLeft = TailLeft;
    s.TailRight = TailRight;
    s.LastLeft = LastLeft >> 12;
    s.LastRight = LastRight >> 12;

    int32_t done = 0;
    while (done < Frames) {
        const int32_t* source = SilentFrames;
        int32_t run = Frames - done < BlockFrames ? Frames - done : BlockFrames;
        if (Playing.Load()) {
            if (OutRead >= OutCount && endOfData_) {
                // Every frame decoded before the end has been mixed.
                Playing.Store(false);
            } else {
                if (OutRead >= OutCount) {
                    fillOutBlock();
                }
                source = OutBlock + 2 * OutRead;
                run = run < OutCount - OutRead ? run : OutCount - OutRead;
                OutRead += run;
            }
        }
        const bool ramp = RampFrames > 0;
        if (ramp && run > RampFrames) {
            if (source != SilentFrames) {
                OutRead -= run - RampFrames;
            }
            run = RampFrames;
        }
        const bool tail = s.TailLeft != 0 || s.TailRight != 0;
        MixKernels[ramp][tail](source, Mix + 2 * done, run, s);
        if (ramp) {
            RampFrames -= run;
        }
        done += run;
    }
    CurrentGainLeft = s.RampLeft;
    CurrentGainRight = s.RampRight;
    TailLeft = s.TailLeft;
    TailRight = s.TailRight;
    LastLeft = s.LastLeft * 4096;
    LastRight = s.LastRight * 4096;
}

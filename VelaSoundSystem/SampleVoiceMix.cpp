#include "VelaSoundSystem/FixedPoint.h"
#include "VelaSoundSystem/Sample.h"

// Rendering of one sample voice into the mix: the run length is worked out
// once per run (loop ends, sample end, block end) so that the per-frame body
// is straight integer arithmetic without a single test.

namespace {

// Adds a decaying tail to Frames frames of one channel-pair of the mix.
void mixTail(int32_t* Mix, int32_t Frames, int32_t& Left, int32_t& Right)
{
    int32_t left = Left;
    int32_t right = Right;
    for (int32_t i = 0; i < Frames; ++i) {
        left = vss::DecayTail(left);
        right = vss::DecayTail(right);
        Mix[2 * i] += left >> 12;
        Mix[2 * i + 1] += right >> 12;
    }
    Left = left;
    Right = right;
}

struct TRunState {
    int64_t Position;
    int32_t LastLeft;
    int32_t LastRight;
};

// Linear interpolation between frame A and A + 1 with the top 12 bits of the
// fraction; both divisions truncate toward zero.
template <bool Backwards>
void mixRun(const int32_t* Data, int32_t* Mix, int32_t Frames, int64_t Step, int32_t GainLeft, int32_t GainRight,
            TRunState& State)
{
    int64_t position = State.Position;
    int32_t vl = 0;
    int32_t vr = 0;
    for (int32_t i = 0; i < Frames; ++i) {
        const int32_t* x = Data + 2 * (position >> 32);
        const int32_t f = static_cast<int32_t>((static_cast<uint64_t>(position) >> 20) & 4095);
        const int32_t sl = x[0] + f * (x[2] - x[0]) / 4096;
        const int32_t sr = x[1] + f * (x[3] - x[1]) / 4096;
        vl = GainLeft * sl / 4096;
        vr = GainRight * sr / 4096;
        Mix[2 * i] += vl;
        Mix[2 * i + 1] += vr;
        if constexpr (Backwards) {
            position -= Step;
        } else {
            position += Step;
        }
    }
    State.Position = position;
    State.LastLeft = vl;
    State.LastRight = vr;
}

// (A mod M) for A >= 0, M > 0, as 32.32 values.
inline int64_t modPositive(int64_t A, int64_t M) { return A % M; }

} // namespace

// Brings a position that left the active loop back into it. Overshoots of
// more than one loop length (steps longer than the loop) fold by the loop
// length, so the position always lands inside the loop; a reflection that
// lands on the loop end is held on the loop's last frame, or a loop that ends
// at the last frame of the sample would end the voice there.
void TVSSSampleVoice::wrapIntoLoop(int32_t Mode, int64_t LoopStart, int64_t LoopEnd)
{
    const int64_t length = LoopEnd - LoopStart;
    const int64_t lastInside = LoopEnd - vss::FrameOne;
    if (!Backwards) {
        if (Position < LoopStart) {
            if (Position < 0) {
                Position = 0;
            }
        } else if (Position >= LoopEnd) {
            const int64_t over = Position - LoopEnd;
            if (Mode == LoopForward) {
                Position = LoopStart + modPositive(over, length);
            } else if (Mode == LoopPingPong) {
                const int64_t folded = modPositive(over, 2 * length);
                if (folded < length) {
                    Position = LoopEnd - folded;
                    Backwards = true;
                } else {
                    Position = LoopStart + (folded - length);
                }
            } else {
                // Backward loop: turn round at the end and run the loop downwards.
                Position = LoopEnd - modPositive(over, length);
                Backwards = true;
            }
        }
    } else if (Position < LoopStart) {
        const int64_t under = LoopStart - Position;
        if (Mode == LoopForward) {
            Position = LoopEnd - modPositive(under, length);
            Backwards = false;
            if (Position >= LoopEnd) {
                Position -= length;
            }
        } else if (Mode == LoopPingPong) {
            const int64_t folded = modPositive(under, 2 * length);
            if (folded < length) {
                Position = LoopStart + folded;
                Backwards = false;
            } else {
                Position = LoopEnd - (folded - length);
            }
        } else {
            // Backward loop: below the start it jumps to the end, still downwards.
            const int64_t folded = modPositive(under, length);
            Position = folded == 0 ? LoopStart : LoopEnd - folded;
        }
    }
    if (Position > lastInside) {
        Position = lastInside;
    }
}

int32_t TVSSSampleVoice::runLength(int32_t FramesLeft)
{
    const TVSSSample& s = *Sample;
    const int64_t sampleEnd = static_cast<int64_t>(s.Length) << 32;
    int32_t mode = LoopNone;
    int64_t start = 0;
    int64_t end = sampleEnd;
    if (s.SustainMode != LoopNone && !Released) {
        mode = s.SustainMode;
        start = static_cast<int64_t>(s.SustainStart) << 32;
        end = static_cast<int64_t>(s.SustainEnd) << 32;
    } else if (s.LoopMode != LoopNone) {
        mode = s.LoopMode;
        start = static_cast<int64_t>(s.LoopStart) << 32;
        end = static_cast<int64_t>(s.LoopEnd) << 32;
    }
    // Loops were fitted into the data at load; hold them there regardless.
    if (end > sampleEnd) {
        end = sampleEnd;
    }
    if (start < 0) {
        start = 0;
    }
    if (mode != LoopNone && start < end) {
        wrapIntoLoop(mode, start, end);
    } else {
        start = 0;
        end = sampleEnd;
    }
    if (Position < 0 || Position >= sampleEnd || (Position < start && Backwards)) {
        return 0;
    }
    int64_t run = 16384 / (Step / vss::FrameOne + 1);
    run = run < 2 ? 2 : run;
    run = run > FramesLeft ? FramesLeft : run;
    if (!Backwards) {
        if (Position + Step * (run - 1) >= end) {
            run = (end - Position - 1) / Step + 1;
        }
    } else if (Position - Step * (run - 1) < start) {
        run = (Position - start - 1) / Step + 1;
    }
    return run < 2 ? 1 : static_cast<int32_t>(run);
}

void TVSSSampleVoice::MixInto(int32_t* Mix, int32_t Frames, int32_t Group)
{
    if (TailLeft != 0 || TailRight != 0) {
        mixTail(Mix, Frames, TailLeft, TailRight);
    }
    if (!Active.Load()) {
        return;
    }
    const vss::TStereoGain gains = vss::PannedGains(Group, Volume, Panning);
    TRunState state{Position, 0, 0};
    int32_t done = 0;
    bool ended = false;
    while (done < Frames) {
        state.Position = Position;
        const int32_t k = runLength(Frames - done);
        if (k == 0) {
            Active.Store(false);
            ended = true;
            break;
        }
        Age += static_cast<uint64_t>(k);
        state.Position = Position;
        if (Backwards) {
            mixRun<true>(Sample->Data, Mix + 2 * done, k, Step, gains.Left, gains.Right, state);
        } else {
            mixRun<false>(Sample->Data, Mix + 2 * done, k, Step, gains.Left, gains.Right, state);
        }
        Position = state.Position;
        done += k;
    }
    int32_t lastLeft = state.LastLeft * 4096;
    int32_t lastRight = state.LastRight * 4096;
    // A voice that ends inside the block fades its last value out over the
    // rest of the block instead of dropping to zero.
    if (ended && done < Frames && (lastLeft != 0 || lastRight != 0)) {
        mixTail(Mix + 2 * done, Frames - done, lastLeft, lastRight);
    }
    LastLeft = lastLeft;
    LastRight = lastRight;
}

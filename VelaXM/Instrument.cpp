#include "VelaXM/Instrument.h"

void TVelaXMSample::Allocate(int32_t FrameCount, int32_t ChannelCount)
{
    Length = FrameCount;
    Channels = ChannelCount;
    Data.assign(static_cast<size_t>(FrameCount) * ChannelCount + 2 * kSpareValues, 0);
}

void TVelaXMSample::WriteGuards()
{
    if (!HasData())
        return;
    int16_t* frames = Frames();
    const int32_t stride = Channels;
    for (int32_t c = 0; c < stride; ++c) {
        const int16_t first = frames[c];
        const int16_t last = frames[(Length - 1) * stride + c];
        for (int32_t k = 1; k <= kGuardFrames; ++k)
            frames[-k * stride + c] = first;
        for (int32_t k = 0; k < kGuardFrames; ++k)
            frames[(Length + k) * stride + c] = last;
    }
    const int64_t loopEnd = static_cast<int64_t>(LoopStart) + LoopLength;
    // A loop from frame 0 (the commonest) needs its guards as much as any other:
    // without them each wrap interpolates towards the last frame instead of the first.
    if (!Loop || LoopStart < 0 || loopEnd <= 0 || loopEnd > Length)
        return;
    const int32_t end = static_cast<int32_t>(loopEnd);
    if (!PingPongLoop) {
        // The interpolator reads across the loop end into the loop start.
        for (int32_t k = 0; k < kGuardFrames; ++k)
            for (int32_t c = 0; c < stride; ++c)
                frames[(end + k) * stride + c] = frames[(LoopStart + k) * stride + c];
    } else if (stride == 1) {
        // A ping-pong turn plays the frames before the end again in reverse.
        for (int32_t k = 0; k < kGuardFrames; ++k)
            frames[end + k] = frames[end - 1 - k];
    }
}

void TVelaXMInstrument::Reset()
{
    for (auto& sample : Samples)
        sample.reset();
    SampleMap.fill(0);
    VolumeEnvelope.Clear();
    PanningEnvelope.Clear();
    Fadeout = 0;
    VibratoType = 0;
    VibratoSweep = 0;
    VibratoDepth = 0;
    VibratoRate = 0;
}

#pragma once

#include "VelaXM/LoadHelpers.h"
#include "VelaXM/VelaXM.h"

#include <gtest/gtest.h>

#include <memory>

namespace xmtest {

// A stereo 44.1 kHz player with 1024-frame blocks holding the given module image.
inline std::unique_ptr<TVelaXM> makePlayer(const Bytes& image, int32_t blockFrames = 1024)
{
    auto player = std::make_unique<TVelaXM>(44100, true, blockFrames);
    EXPECT_TRUE(player->Module->Load(image.data(), static_cast<uint32_t>(image.size())));
    player->Module->MixAmplification = 256;
    return player;
}

// A looping 8-bit sample of n frames (a saw), loud enough to hear.
inline XmSample loopedSample(int32_t frames = 64)
{
    std::vector<int8_t> values(static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i)
        values[static_cast<size_t>(i)] = static_cast<int8_t>((i * 256 / frames) - 128);
    XmSample s;
    s.data = deltaEncode8(values);
    s.type = 1;
    s.loopStart = 0;
    s.loopLength = static_cast<uint32_t>(frames);
    return s;
}

// Runs the sequencer alone (no mixing) for n ticks.
inline void runTicks(TVelaXMModule& module, int32_t ticks)
{
    for (int32_t i = 0; i < ticks; ++i)
        module.ProcessTick();
}

} // namespace xmtest

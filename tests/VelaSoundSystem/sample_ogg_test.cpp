// Ogg Vorbis samples: decoding in memory, the fold of 1 to 7 channels to
// stereo, the rates, and streams that open but hold nothing.
#include <gtest/gtest.h>

#include "SoundTestData.h"
#include "VelaSoundSystem/Sample.h"
#include "VelaSoundSystem/SoundSystem.h"

using namespace soundtest;

namespace {

// The stereo frame the fold must give for one reference frame.
std::pair<int32_t, int32_t> expectedFold(const int16_t* f, int Channels)
{
    switch (Channels) {
    case 1:
        return {f[0], f[0]};
    case 3:
        return {(f[0] + f[1]) >> 1, (f[2] + f[1]) >> 1};
    case 4:
        return {(f[0] + f[2]) >> 1, (f[1] + f[3]) >> 1};
    case 5:
        return {(f[0] + f[1] + f[3]) / 3, (f[2] + f[1] + f[4]) / 3};
    case 6:
        return {(f[0] + f[1] + f[3] + f[5]) >> 2, (f[2] + f[1] + f[4] + f[5]) >> 2};
    default:
        return {f[0], f[1]};
    }
}

class OggSample : public ::testing::TestWithParam<std::tuple<int, int>> { };

TEST_P(OggSample, DecodesAndFoldsLikeTheReferenceDecoder)
{
    const auto [channels, rate] = GetParam();
    const auto ogg = EncodeOgg(Sine(6000, channels, rate, 440.0, 0.7), channels, rate);
    int refChannels = 0, refRate = 0;
    const auto reference = ReferenceDecode(ogg, refChannels, refRate);
    ASSERT_EQ(refChannels, channels);
    const int frames = static_cast<int>(reference.size()) / channels;
    ASSERT_GT(frames, 5000);

    TVelaSoundSystem sound(44100, 2, 16, 1024);
    ASSERT_TRUE(sound.LoadSample(3, ogg.data(), static_cast<int32_t>(ogg.size()), 1));
    const TVSSSample& s = *sound.SampleSlots[3];
    EXPECT_EQ(s.SampleRate, rate);
    ASSERT_EQ(s.Length, frames);
    EXPECT_EQ(s.LoopMode, LoopNone);
    for (int i = 0; i < frames; ++i) {
        const auto [l, r] = expectedFold(&reference[static_cast<size_t>(i) * channels], channels);
        ASSERT_EQ(s.Data[2 * i], l) << i;
        ASSERT_EQ(s.Data[2 * i + 1], r) << i;
    }
    // Guard frames hold the edge frames.
    EXPECT_EQ(s.Data[-2048], s.Data[0]);
    EXPECT_EQ(s.Data[2 * (frames + 1023) + 1], s.Data[2 * (frames - 1) + 1]);
}

INSTANTIATE_TEST_SUITE_P(ChannelsAndRates, OggSample,
    ::testing::Values(std::make_tuple(1, 44100), std::make_tuple(2, 44100), std::make_tuple(3, 48000),
        std::make_tuple(4, 22050), std::make_tuple(5, 44100), std::make_tuple(6, 48000), std::make_tuple(7, 22050)));

TEST(OggSampleFold, SixChannelsPutCentreAndLowFrequencyInBothSides)
{
    // Only the centre (ch1) and ch5 carry sound: both sides get half of it.
    std::vector<float> pcm(static_cast<size_t>(4000) * 6, 0.0f);
    const auto sine = Sine(4000, 1, 44100, 300.0, 0.8);
    for (int i = 0; i < 4000; ++i) {
        pcm[static_cast<size_t>(i) * 6 + 1] = sine[i];
        pcm[static_cast<size_t>(i) * 6 + 5] = sine[i];
    }
    const auto ogg = EncodeOgg(pcm, 6, 44100);
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    ASSERT_TRUE(sound.LoadSample(0, ogg.data(), static_cast<int32_t>(ogg.size()), 1));
    const TVSSSample& s = *sound.SampleSlots[0];
    int64_t energy = 0;
    int32_t peak = 0;
    for (int i = 0; i < s.Length; ++i) {
        energy += std::abs(s.Data[2 * i] - s.Data[2 * i + 1]);
        peak = std::max(peak, std::abs(s.Data[2 * i]));
    }
    EXPECT_GT(peak, 10000);
    EXPECT_LT(energy / s.Length, 400); // left and right carry the same signal
}

TEST(OggSampleFailures, EmptyStreamsAndBrokenDataFail)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    const auto good = EncodeOgg(Sine(3000, 2, 44100, 440.0, 0.5), 2, 44100);
    const auto empty = EncodeOgg({}, 2, 44100);
    ASSERT_FALSE(empty.empty());
    ASSERT_TRUE(sound.LoadSample(1, good.data(), static_cast<int32_t>(good.size()), 1));
    EXPECT_FALSE(sound.LoadSample(1, empty.data(), static_cast<int32_t>(empty.size()), 1));
    EXPECT_EQ(sound.SampleSlots[1], nullptr);

    std::vector<uint8_t> garbage = {'O', 'g', 'g', 'S'};
    garbage.resize(500, 0x5A);
    EXPECT_FALSE(sound.LoadSample(1, garbage.data(), static_cast<int32_t>(garbage.size()), 1));

    // Cut short: either nothing decodes or a consistent shorter sample loads.
    for (size_t n = 4; n < good.size(); n += 97) {
        if (sound.LoadSample(1, good.data(), static_cast<int32_t>(n), 1)) {
            EXPECT_LE(sound.SampleSlots[1]->Length, 3000);
            EXPECT_NE(sound.SampleSlots[1]->Data, nullptr);
        } else {
            EXPECT_EQ(sound.SampleSlots[1], nullptr);
        }
    }
}

} // namespace

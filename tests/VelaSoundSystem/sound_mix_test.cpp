// The block mix: the cubic table, empty slots, half scale at centre, the
// auto-gain limiter and the clamp, mono folding and 8-bit output.
#include <limits>

#include <gtest/gtest.h>

#include "SoundTestData.h"
#include "VelaSoundSystem/Sample.h"
#include "VelaSoundSystem/SoundSystem.h"

using namespace soundtest;

namespace {

void loadConstant(TVelaSoundSystem& Sound, uint8_t Slot, int16_t Left, int16_t Right, int Frames = 40000)
{
    std::vector<int16_t> values;
    for (int i = 0; i < Frames; ++i) {
        values.push_back(Left);
        values.push_back(Right);
    }
    const auto bytes = Wave16(values, 2, 44100);
    ASSERT_TRUE(Sound.LoadSample(Slot, bytes.data(), static_cast<int32_t>(bytes.size()), 1));
}

int16_t outputValue(const TVelaSoundSystem& Sound, int Index)
{
    return static_cast<int16_t>(Sound.OutputBuffer[2 * Index] | Sound.OutputBuffer[2 * Index + 1] << 8);
}

TEST(SoundSystem, CubicTableIsCatmullRomAtUnityGain)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    const auto& c = sound.CubicTable;
    EXPECT_EQ(c[0], (std::array<int32_t, 4>{0, 4096, 0, 0}));
    EXPECT_EQ(c[2048], (std::array<int32_t, 4>{-256, 2304, 2304, -256}));
    // t = 1/4096: c0 = -0.49976 rounds to -0 and c2 = 0.50024 rounds to 1.
    EXPECT_EQ(c[1][0], 0);
    EXPECT_EQ(c[1][2], 1);
    for (int i = 0; i < 4096; ++i) {
        const int sum = c[i][0] + c[i][1] + c[i][2] + c[i][3];
        ASSERT_NEAR(sum, 4096, 2) << i;
    }
}

TEST(SoundSystem, EmptyBlockIsSilence)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    std::fill(sound.OutputBuffer.get(), sound.OutputBuffer.get() + 4096, 0x55);
    sound.MixBlock();
    for (int i = 0; i < 4096; ++i) {
        ASSERT_EQ(sound.OutputBuffer[i], 0) << i;
    }
}

TEST(SoundSystem, EmptySlotsRefuseEveryOperation)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    EXPECT_EQ(sound.PlaySample(9, 1.0f, 0.0f, 1.0f), -1);
    EXPECT_FALSE(sound.IsSamplePlaying(9));
    sound.StopSampleVoice(9, 0);
    EXPECT_FALSE(sound.StartModule(3));
    EXPECT_FALSE(sound.StopModule(3));
    EXPECT_FALSE(sound.IsModulePlaying(3));
    EXPECT_FALSE(sound.PlayMusic(2, true, 1.0f, 0.0f, 1.0f));
    EXPECT_FALSE(sound.StopMusic(2));
    EXPECT_FALSE(sound.IsMusicPlaying(2));
    sound.SetMusicVolume(2, 0.5f);
}

TEST(SoundSystem, TooSmallOrNullSampleDataEmptiesTheSlot)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    loadConstant(sound, 4, 100, 100, 10);
    const uint8_t riff[] = {'R', 'I', 'F'};
    EXPECT_FALSE(sound.LoadSample(4, riff, 3, 1));
    EXPECT_EQ(sound.SampleSlots[4], nullptr);
    loadConstant(sound, 4, 100, 100, 10);
    EXPECT_FALSE(sound.LoadSample(4, nullptr, 100, 1));
    EXPECT_EQ(sound.SampleSlots[4], nullptr);
    const uint8_t junk[] = {'J', 'U', 'N', 'K', 0, 0, 0, 0};
    EXPECT_FALSE(sound.LoadSample(4, junk, 8, 1));
}

TEST(SoundSystem, FullScaleCentredSourceGivesHalfScale)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    loadConstant(sound, 0, 32767, -32768);
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    EXPECT_EQ(outputValue(sound, 0), 16383);
    EXPECT_EQ(outputValue(sound, 1), -16384);
    EXPECT_EQ(outputValue(sound, 2047), -16384);
    EXPECT_EQ(sound.AutoGainLevel, 256);
}

// Two voices at gain 4095 of full scale: 65518 per side, clipped.
void playTwoLoudSources(TVelaSoundSystem& Sound)
{
    loadConstant(Sound, 0, 32767, -32768);
    loadConstant(Sound, 1, 32767, -32768);
    Sound.PlaySample(0, 2.0f, 0.0f, 1.0f);
    Sound.PlaySample(1, 2.0f, 0.0f, 1.0f);
}

TEST(SoundSystem, LimiterDropsOnePerClippedFrameAndRecoversPerQuietStretch)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    playTwoLoudSources(sound);
    sound.MixBlock();
    const int32_t loud = 2 * (4095 * 32767 / 4096);
    // Frame k is scaled by 256 - k until the level is low enough not to clip.
    EXPECT_EQ(outputValue(sound, 0), 32767);
    EXPECT_EQ(outputValue(sound, 1), -32768);
    const int firstClean = 256 - (32767 * 256 + loud - 1) / loud + 1;
    EXPECT_EQ(sound.MixBuffer[2 * firstClean], (loud * (256 - firstClean)) >> 8);
    EXPECT_EQ(sound.AutoGainLevel, 256 - firstClean);
    EXPECT_EQ(sound.AutoGainCounter, 1024 - firstClean);

    // Quiet from now on: one step up per 1102 clean frames.
    sound.StopSampleVoice(0, 0);
    sound.StopSampleVoice(1, 0);
    const int32_t level = sound.AutoGainLevel;
    const int32_t counter = sound.AutoGainCounter;
    for (int block = 1; block <= 140; ++block) {
        sound.MixBlock();
        const int clean = counter + block * 1024;
        ASSERT_EQ(sound.AutoGainLevel, std::min(256, level + clean / 1102)) << block;
    }
    EXPECT_EQ(sound.AutoGainLevel, 256);
}

TEST(SoundSystem, WithoutAutoGainTheMixIsClamped)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    sound.SetAutoGain(false);
    playTwoLoudSources(sound);
    sound.MixBlock();
    for (int i = 0; i < 1024; ++i) {
        ASSERT_EQ(outputValue(sound, 2 * i), 32767);
        ASSERT_EQ(outputValue(sound, 2 * i + 1), -32768);
    }
    EXPECT_EQ(sound.AutoGainLevel, 256);
}

TEST(SoundSystem, MonoOutputAveragesBothSides)
{
    TVelaSoundSystem sound(44100, 1, 16, 1024);
    ASSERT_EQ(sound.OutputBytes, 2048);
    loadConstant(sound, 0, 1000, 3001);
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    for (int i = 0; i < 1024; ++i) {
        ASSERT_EQ(outputValue(sound, i), (500 + 1500) >> 1);
    }
}

TEST(SoundSystem, EightBitOutputIsUnsignedAroundMidScale)
{
    TVelaSoundSystem silent(44100, 2, 8, 1024);
    silent.MixBlock();
    for (int i = 0; i < 2048; ++i) {
        ASSERT_EQ(silent.OutputBuffer[i], 128);
    }
    TVelaSoundSystem sound(44100, 2, 8, 1024);
    loadConstant(sound, 0, 32767, -32768);
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    EXPECT_EQ(sound.OutputBuffer[0], (16383 + 32768) >> 8);
    EXPECT_EQ(sound.OutputBuffer[1], (-16384 + 32768) >> 8);
}

TEST(SoundSystem, WildFloatArgumentsStayDefined)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    loadConstant(sound, 0, 30000, 30000);
    sound.SetSampleVolume(1e30f);
    sound.PlaySample(0, std::numeric_limits<float>::quiet_NaN(), 1e30f, -1e30f);
    sound.MixBlock();
    sound.PlaySample(0, -1e30f, -1e30f, std::numeric_limits<float>::infinity());
    sound.MixBlock();
    EXPECT_EQ(sound.SampleVolume, INT32_MAX);
}

} // namespace

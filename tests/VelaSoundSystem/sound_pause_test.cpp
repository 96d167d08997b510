// Pausing the mixer: silent blocks in which no sample voice, stream or module
// player moves on, so that after the pause the sound carries on exactly where it
// stopped; the game's per-block hook waits too.
#include <vector>

#include <gtest/gtest.h>

#include "CorpusModules.h"
#include "SoundTestData.h"
#include "VelaSoundSystem/AudioOutput.h"
#include "VelaSoundSystem/SoundSystem.h"

using namespace soundtest;

namespace {

using TBlock = std::vector<uint8_t>;

// A sound system with a sample voice, a stream and a module player all running.
class PausedMix : public ::testing::Test {
protected:
    TVelaSoundSystem sound{44100, 2, 16, 1024};
    TVelaSoundSystem reference{44100, 2, 16, 1024};

    void SetUp() override
    {
        const auto module = corpus::Read(corpus::ModulesDir() / "bomberclone-data__zb-tnt.xm");
        ASSERT_FALSE(module.empty()) << corpus::MissingMessage();
        std::vector<int16_t> values;
        for (int i = 0; i < 60000; ++i)
            values.push_back(static_cast<int16_t>((i * 37) % 16000 - 8000));
        const auto wave = Wave16(values, 1, 44100);
        const auto ogg = EncodeOgg(Sine(60000, 2, 44100, 330.0, 0.3), 2, 44100);
        for (TVelaSoundSystem* s : {&sound, &reference}) {
            ASSERT_TRUE(s->LoadSample(3, wave.data(), static_cast<int32_t>(wave.size()), 1));
            ASSERT_TRUE(s->LoadMusic(0, ogg.data(), static_cast<int32_t>(ogg.size())));
            ASSERT_TRUE(s->LoadModule(0, module.data(), static_cast<int32_t>(module.size()), true, velaxm::kCubic));
            ASSERT_GE(s->PlaySample(3, 1.0f, 0.0f, 1.0f), 0);
            ASSERT_TRUE(s->PlayMusic(0, true, 0.5f, 0.0f, 1.0f));
            ASSERT_TRUE(s->StartModule(0));
        }
    }
    static TBlock mix(TVelaSoundSystem& s)
    {
        s.MixBlock();
        return TBlock(s.OutputBuffer.get(), s.OutputBuffer.get() + s.OutputBytes);
    }
    static bool silent(const TBlock& block)
    {
        for (uint8_t byte : block)
            if (byte != 0)
                return false;
        return true;
    }
};

TEST_F(PausedMix, BlocksAreSilentAndTheSoundResumesWhereItStopped)
{
    std::vector<TBlock> expected;
    for (int i = 0; i < 8; ++i)
        expected.push_back(mix(reference));
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(mix(sound), expected[size_t(i)]) << "block " << i;
    sound.SetPaused(true);
    EXPECT_TRUE(sound.IsPaused());
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(silent(mix(sound))) << "paused block " << i;
    EXPECT_TRUE(sound.IsSamplePlaying(3));
    EXPECT_TRUE(sound.IsModulePlaying(0));
    sound.SetPaused(false);
    for (int i = 3; i < 8; ++i) {
        const TBlock block = mix(sound);
        ASSERT_FALSE(silent(block));
        ASSERT_EQ(block, expected[size_t(i)]) << "block " << i << " after the pause";
    }
}

TEST_F(PausedMix, StreamGroupVolumeScalesOnlyTheStreams)
{
    for (TVelaSoundSystem* s : {&sound, &reference}) {
        s->SetAutoGain(false);
        s->StopModule(0);
        s->StopSampleVoice(3, 0);
    }
    mix(sound);
    mix(reference);
    sound.SetStreamVolume(0.5f);
    const TBlock half = mix(sound);
    const TBlock full = mix(reference);
    int64_t sumHalf = 0, sumFull = 0;
    for (size_t i = 0; i + 1 < half.size(); i += 2) {
        sumHalf += std::abs(int16_t(half[i] | half[i + 1] << 8));
        sumFull += std::abs(int16_t(full[i] | full[i + 1] << 8));
    }
    ASSERT_GT(sumFull, 100000);
    EXPECT_NEAR(double(sumHalf) / double(sumFull), 0.5, 0.01);
}

void countCall(void* Context) { ++*static_cast<int*>(Context); }

TEST(PausedOutput, HandsOutSilenceWithoutRunningTheGamesBlockStep)
{
    TVelaSoundSystem sound{44100, 2, 16, 1024};
    TSharedWord<int32_t> loaded{1};
    TAudioOutput output(sound, loaded);
    int calls = 0;
    output.SetApplyMusicRequestHook(countCall, &calls);
    std::vector<uint8_t> stream(4096 * 3, 0x55);
    sound.SetPaused(true);
    output.Fill(stream.data(), static_cast<int32_t>(stream.size()));
    EXPECT_EQ(calls, 0);
    for (uint8_t byte : stream)
        ASSERT_EQ(byte, 0);
    sound.SetPaused(false);
    output.Fill(stream.data(), 4096);
    EXPECT_EQ(calls, 1);
}

} // namespace

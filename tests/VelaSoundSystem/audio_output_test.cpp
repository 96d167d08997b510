// The audio output: silence until the assets are loaded, one mixed block per
// block boundary whatever lengths the device asks for, the music hook first.
#include <algorithm>
#include "VelaBase/SharedWord.h"
#include <cstring>

#include <gtest/gtest.h>

#include "SoundTestData.h"
#include "VelaSoundSystem/AudioOutput.h"
#include "VelaSoundSystem/SoundSystem.h"

using namespace soundtest;

namespace {

struct THookLog {
    int Calls = 0;
    TVelaSoundSystem* Sound = nullptr;
    bool StartMusic = false;
};

void applyMusicRequest(void* Context)
{
    THookLog& log = *static_cast<THookLog*>(Context);
    ++log.Calls;
    if (log.StartMusic && log.Calls == 1) {
        log.Sound->PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    }
}

// Two sound systems with the same sources: one behind the output, one mixed
// by hand as the reference for the bytes delivered.
class AudioOutput : public ::testing::Test {
protected:
    TVelaSoundSystem sound{44100, 2, 16, 1024};
    TVelaSoundSystem expected{44100, 2, 16, 1024};
    TSharedWord<int32_t> assetsLoaded{0};
    TAudioOutput output{sound, assetsLoaded};
    THookLog log;

    void SetUp() override
    {
        log.Sound = &sound;
        output.SetApplyMusicRequestHook(applyMusicRequest, &log);
        std::vector<int16_t> values;
        for (int i = 0; i < 30000; ++i) {
            values.push_back(static_cast<int16_t>((i * 37) % 20000 - 10000));
        }
        const auto wave = Wave16(values, 1, 44100);
        const auto ogg = EncodeOgg(Sine(30000, 2, 44100, 330.0, 0.5), 2, 44100);
        for (TVelaSoundSystem* s : {&sound, &expected}) {
            ASSERT_TRUE(s->LoadSample(3, wave.data(), static_cast<int32_t>(wave.size()), 1));
            ASSERT_TRUE(s->LoadMusic(0, ogg.data(), static_cast<int32_t>(ogg.size())));
            s->PlaySample(3, 1.0f, 0.0f, 1.0f);
        }
    }
    std::vector<uint8_t> nextExpectedBlock()
    {
        expected.MixBlock();
        return std::vector<uint8_t>(expected.OutputBuffer.get(), expected.OutputBuffer.get() + 4096);
    }
    std::vector<uint8_t> fill(int32_t Length)
    {
        std::vector<uint8_t> out(static_cast<size_t>(Length), 0xEE);
        output.Fill(out.data(), Length);
        return out;
    }
};

TEST_F(AudioOutput, DeliversSilenceWhileLoading)
{
    EXPECT_EQ(output.BlockPosition, 4096);
    for (int call = 0; call < 3; ++call) {
        const auto bytes = fill(4096);
        for (uint8_t b : bytes) {
            ASSERT_EQ(b, 0);
        }
    }
    EXPECT_EQ(log.Calls, 0);
    // Nothing was mixed: the sample has not advanced.
    EXPECT_TRUE(sound.IsSamplePlaying(3));
    assetsLoaded.Store(1);
    const auto bytes = fill(4096);
    EXPECT_EQ(log.Calls, 1);
    EXPECT_EQ(bytes, nextExpectedBlock());
}

TEST_F(AudioOutput, OddLengthsFollowTheBlockBoundaries)
{
    assetsLoaded.Store(1);
    const auto block1 = nextExpectedBlock();
    const auto block2 = nextExpectedBlock();
    const auto block3 = nextExpectedBlock();

    const auto first = fill(1000);
    EXPECT_EQ(log.Calls, 1);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), block1.begin()));

    const auto second = fill(7192);
    EXPECT_EQ(log.Calls, 2); // the third block waits for the next call
    EXPECT_TRUE(std::equal(second.begin(), second.begin() + 3096, block1.begin() + 1000));
    EXPECT_TRUE(std::equal(second.begin() + 3096, second.end(), block2.begin()));
    EXPECT_EQ(output.BlockPosition, 4096);

    const auto third = fill(4096);
    EXPECT_EQ(log.Calls, 3);
    EXPECT_EQ(third, block3);
}

TEST_F(AudioOutput, HookRunsBeforeTheMixOfItsBlock)
{
    // The hook starts the music in the first block: that block already has it.
    log.StartMusic = true;
    expected.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    assetsLoaded.Store(1);
    for (int call = 0; call < 4; ++call) {
        EXPECT_EQ(fill(4096), nextExpectedBlock()) << call;
    }
    EXPECT_TRUE(sound.IsMusicPlaying(0));
}

} // namespace

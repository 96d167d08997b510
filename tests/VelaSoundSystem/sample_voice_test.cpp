// Sample voices in the mix: exact reproduction, restarts and their tails,
// voice stealing, sample ends and the three loop kinds.
#include <gtest/gtest.h>

#include "SoundTestData.h"
#include "VelaSoundSystem/Sample.h"
#include "VelaSoundSystem/SoundSystem.h"

using namespace soundtest;

namespace {

class Voices : public ::testing::Test {
protected:
    TVelaSoundSystem sound{44100, 2, 16, 1024};

    void SetUp() override { sound.SetAutoGain(false); }

    // Loads mono 16-bit frames, optionally with one normal loop (type, start, end).
    void loadMono(uint8_t Slot, const std::vector<int16_t>& Values, int32_t Voices = 1, uint32_t Rate = 44100,
        std::vector<uint32_t> Loop = {})
    {
        std::vector<uint8_t> data;
        for (int16_t v : Values) {
            PutU16(data, static_cast<uint16_t>(v));
        }
        TWaveBuilder wave;
        wave.Format(1, 1, Rate, 16).Chunk("data", data);
        if (!Loop.empty()) {
            wave.Chunk("smpl", SamplerChunk({Loop}));
        }
        const auto bytes = wave.Bytes();
        ASSERT_TRUE(sound.LoadSample(Slot, bytes.data(), static_cast<int32_t>(bytes.size()), Voices));
    }
    int32_t left(int32_t Frame) const { return sound.MixBuffer[2 * Frame]; }
    int32_t right(int32_t Frame) const { return sound.MixBuffer[2 * Frame + 1]; }
};

std::vector<int16_t> ramp(int Frames, int Scale)
{
    std::vector<int16_t> out;
    for (int i = 0; i < Frames; ++i) {
        out.push_back(static_cast<int16_t>((i * Scale) % 30000 - 15000));
    }
    return out;
}

TEST_F(Voices, UnitSpeedReproducesTheFramesAtHalfScalePerSide)
{
    std::vector<int16_t> stereo;
    for (int i = 0; i < 3000; ++i) {
        stereo.push_back(static_cast<int16_t>(i * 7 - 9000));
        stereo.push_back(static_cast<int16_t>(12000 - i * 5));
    }
    const auto bytes = Wave16(stereo, 2, 44100);
    ASSERT_TRUE(sound.LoadSample(2, bytes.data(), static_cast<int32_t>(bytes.size()), 1));
    ASSERT_EQ(sound.PlaySample(2, 1.0f, 0.0f, 1.0f), 0);
    EXPECT_EQ(sound.SampleSlots[2]->Voices[0]->Step, int64_t(1) << 32);
    for (int block = 0; block < 2; ++block) {
        sound.MixBlock();
        for (int i = 0; i < 1024; ++i) {
            const int frame = block * 1024 + i;
            ASSERT_EQ(left(i), 2048 * stereo[2 * frame] / 4096) << frame;
            ASSERT_EQ(right(i), 2048 * stereo[2 * frame + 1] / 4096) << frame;
        }
    }
}

TEST_F(Voices, PanningAndGroupVolumeSetTheGains)
{
    loadMono(0, std::vector<int16_t>(4000, 20000));
    sound.PlaySample(0, 1.0f, -1.0f, 1.0f);
    sound.MixBlock();
    EXPECT_EQ(left(5), 4095 * 20000 / 4096);
    EXPECT_EQ(right(5), 0);
    sound.SetSampleVolume(0.5f);
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    EXPECT_EQ(right(1000), 1024 * 20000 / 4096);
}

TEST_F(Voices, HalfRateSampleInterpolatesLinearly)
{
    loadMono(0, {0, 1000, -3001, 4000, 0, 0, 0, 0}, 1, 22050);
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    // Frame 1 lies halfway between 0 and 1000, frame 3 between 1000 and -3001.
    EXPECT_EQ(left(1), 2048 * 500 / 4096);
    EXPECT_EQ(left(2), 2048 * 1000 / 4096);
    EXPECT_EQ(left(3), 2048 * (1000 + 2048 * (-4001) / 4096) / 4096);
}

TEST_F(Voices, RestartingABusyVoiceMovesTheCutIntoTheTail)
{
    loadMono(0, std::vector<int16_t>(30000, 20000));
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    ASSERT_EQ(left(1023), 10000);
    ASSERT_EQ(sound.PlaySample(0, 1.0f, 0.0f, 1.0f), 0);
    const TVSSSampleVoice& voice = *sound.SampleSlots[0]->Voices[0];
    EXPECT_EQ(voice.TailLeft, 10000 * 4096);
    EXPECT_EQ(voice.Position, 0);
    sound.MixBlock();
    // The restarted sound plus the old one fading by 1/256 per frame.
    EXPECT_EQ(left(0), 10000 + 9960);
    for (int i = 1; i < 1024; ++i) {
        ASSERT_LE(left(i), left(i - 1));
        ASSERT_GE(left(i), 10000);
    }
    EXPECT_LT(left(1023), 10000 + 200);
    sound.MixBlock();
    sound.MixBlock();
    EXPECT_EQ(left(1023), 10000); // the tail has reached exactly 0
}

TEST_F(Voices, StoppedVoiceFallsSilentAtOnce)
{
    loadMono(0, std::vector<int16_t>(30000, 20000));
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    EXPECT_TRUE(sound.IsSamplePlaying(0));
    sound.StopSampleVoice(0, 0);
    sound.StopSampleVoice(0, 5);
    EXPECT_FALSE(sound.IsSamplePlaying(0));
    sound.MixBlock();
    EXPECT_EQ(left(0), 0);
}

TEST_F(Voices, AllBusyStealsTheOldestThenTheQuietestThenTheLast)
{
    loadMono(0, std::vector<int16_t>(30000, 100), 3);
    EXPECT_EQ(sound.PlaySample(0, 1.0f, 0.0f, 1.0f), 0);
    sound.MixBlock();
    EXPECT_EQ(sound.PlaySample(0, 0.5f, 0.0f, 1.0f), 1);
    EXPECT_EQ(sound.PlaySample(0, 0.5f, 0.0f, 1.0f), 2);
    EXPECT_EQ(sound.PlaySample(0, 1.0f, 0.0f, 1.0f), 0); // played longest
    // Now all have age 0: the quieter ones first, the last of equals.
    EXPECT_EQ(sound.PlaySample(0, 1.0f, 0.0f, 1.0f), 2);
    EXPECT_EQ(sound.PlaySample(0, 0.7f, 0.0f, 1.0f), 1);

    loadMono(1, {1, 2, 3}, 0);
    EXPECT_EQ(sound.PlaySample(1, 1.0f, 0.0f, 1.0f), -1);
}

TEST_F(Voices, VoiceCountIsBounded)
{
    loadMono(0, {1, 2, 3}, 100000);
    EXPECT_EQ(sound.SampleSlots[0]->Voices.size(), size_t(TVelaSoundSystem::MaxVoicesPerSample));
    loadMono(0, {1, 2, 3}, -5);
    EXPECT_TRUE(sound.SampleSlots[0]->Voices.empty());
}

TEST_F(Voices, SampleEndsInsideTheBlockAndFadesOut)
{
    loadMono(0, std::vector<int16_t>(100, 20000));
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    EXPECT_EQ(left(99), 10000);
    EXPECT_EQ(left(100), 9960);
    EXPECT_LT(left(1023), 300);
    EXPECT_GT(left(1023), 0);
    EXPECT_FALSE(sound.IsSamplePlaying(0));
    sound.MixBlock();
    EXPECT_EQ(left(0), 0);
}

TEST_F(Voices, ForwardLoopRepeatsWithoutEnd)
{
    const auto values = ramp(40, 701);
    loadMono(0, values, 1, 44100, {0, 10, 20});
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    for (int block = 0; block < 3; ++block) {
        sound.MixBlock();
        for (int i = 0; i < 1024; ++i) {
            const int t = block * 1024 + i;
            const int frame = t < 20 ? t : 10 + (t - 20) % 10;
            ASSERT_EQ(left(i), 2048 * values[frame] / 4096) << t;
        }
    }
    EXPECT_TRUE(sound.IsSamplePlaying(0));
}

// Mixes a few blocks and checks that every output stays within the values
// of the loop's frames once the voice has entered the loop.
void expectInsideLoop(TVelaSoundSystem& Sound, const std::vector<int16_t>& Values, int Start, int End, int SkipFrames)
{
    int lo = 40000, hi = -40000;
    for (int f = Start; f <= End; ++f) {
        lo = std::min(lo, 2048 * Values[f] / 4096);
        hi = std::max(hi, 2048 * Values[f] / 4096);
    }
    for (int block = 0; block < 8; ++block) {
        Sound.MixBlock();
        for (int i = 0; i < 1024; ++i) {
            if (block * 1024 + i < SkipFrames) {
                continue;
            }
            ASSERT_GE(Sound.MixBuffer[2 * i], lo) << block << " " << i;
            ASSERT_LE(Sound.MixBuffer[2 * i], hi) << block << " " << i;
        }
        ASSERT_TRUE(Sound.SampleSlots[0]->Voices[0]->Active.Load());
    }
}

TEST_F(Voices, PingPongLoopTurnsAtBothEndsAndKeepsPlaying)
{
    const auto values = ramp(20, 1001);
    loadMono(0, values, 1, 44100, {1, 10, 20});
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    // Up to frame 19, back down to frame 10, up again from frame 11.
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(left(i), 2048 * values[i] / 4096);
        EXPECT_EQ(left(20 + i), 2048 * values[i < 10 ? 19 - i : std::min(i + 1, 19)] / 4096) << i;
    }
    expectInsideLoop(sound, values, 10, 19, 0);
}

TEST_F(Voices, LoopsHoldStepsLongerThanTheLoop)
{
    const auto values = ramp(64, 397);
    for (uint32_t type : {0u, 1u, 2u}) {
        loadMono(0, values, 1, 44100, {type, 30, 37});
        sound.PlaySample(0, 1.0f, 0.0f, 9.37f);
        expectInsideLoop(sound, values, 30, 37, 4);
    }
}

TEST_F(Voices, BackwardLoopRunsDownAndJumpsToTheEnd)
{
    const auto values = ramp(40, 503);
    loadMono(0, values, 1, 44100, {2, 10, 20});
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    // Turned round at the end, the loop is then played downwards each time,
    // jumping from its start back to its end.
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(left(i), 2048 * values[i] / 4096);
        EXPECT_EQ(left(20 + i), 2048 * values[19 - i % 10] / 4096) << i;
    }
    expectInsideLoop(sound, values, 10, 19, 0);
}

TEST_F(Voices, NegativeSpeedPlaysLikeItsMagnitude)
{
    const auto values = ramp(3000, 13);
    loadMono(0, values, 1);
    sound.PlaySample(0, 1.0f, 0.0f, -1.0f);
    sound.MixBlock();
    for (int i = 0; i < 1024; ++i) {
        ASSERT_EQ(left(i), 2048 * values[i] / 4096);
    }
}

TEST_F(Voices, HugeSpeedsEndTheVoiceWithoutReadingOutside)
{
    loadMono(0, ramp(50, 11), 1, 2000000000);
    sound.PlaySample(0, 1.0f, 0.0f, 30000.0f);
    sound.MixBlock();
    EXPECT_FALSE(sound.IsSamplePlaying(0));
    loadMono(0, ramp(50, 11), 1, 0);
    sound.PlaySample(0, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    EXPECT_TRUE(sound.IsSamplePlaying(0)); // a rate of 0 holds frame 0
}

} // namespace

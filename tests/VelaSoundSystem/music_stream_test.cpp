// Streamed Ogg music: the direct-copy, windowed-sinc and cubic paths, volume
// ramps, loops, the end of the data and restarts without clicks.
#include <cmath>

#include <gtest/gtest.h>

#include "SoundTestData.h"
#include "VelaSoundSystem/Music.h"
#include "VelaSoundSystem/SoundSystem.h"

using namespace soundtest;

namespace {

class Music : public ::testing::Test {
protected:
    TVelaSoundSystem sound{44100, 2, 16, 1024};
    std::vector<int16_t> reference;
    int referenceFrames = 0;

    void SetUp() override { sound.SetAutoGain(false); }

    void load(uint8_t Slot, const std::vector<uint8_t>& Ogg)
    {
        int channels = 0, rate = 0;
        reference = ReferenceDecode(Ogg, channels, rate);
        referenceFrames = channels > 0 ? static_cast<int>(reference.size()) / channels : 0;
        ASSERT_TRUE(sound.LoadMusic(Slot, Ogg.data(), static_cast<int32_t>(Ogg.size())));
    }
    int32_t left(int Frame) const { return sound.MixBuffer[2 * Frame]; }
    int32_t right(int Frame) const { return sound.MixBuffer[2 * Frame + 1]; }

    // Mixes Blocks blocks and returns the left channel.
    std::vector<int32_t> mixLeft(int Blocks)
    {
        std::vector<int32_t> out;
        for (int b = 0; b < Blocks; ++b) {
            sound.MixBlock();
            for (int i = 0; i < 1024; ++i) {
                out.push_back(left(i));
            }
        }
        return out;
    }
    // The left channel of the reference decode.
    std::vector<int32_t> referenceLeft() const
    {
        std::vector<int32_t> out;
        for (size_t i = 0; i < reference.size(); i += 2) {
            out.push_back(reference[i]);
        }
        return out;
    }
};

double rms(const std::vector<int32_t>& Values, size_t From)
{
    double sum = 0;
    for (size_t i = From; i < Values.size(); ++i) {
        sum += double(Values[i]) * Values[i];
    }
    return std::sqrt(sum / double(Values.size() - From));
}

int zeroCrossings(const std::vector<int32_t>& Values, size_t From)
{
    int count = 0;
    for (size_t i = From + 1; i < Values.size(); ++i) {
        count += (Values[i - 1] < 0) != (Values[i] < 0);
    }
    return count;
}

TEST_F(Music, MatchingRateAtUnitSpeedCopiesTheDecodedFrames)
{
    load(0, EncodeOgg(Sine(20000, 2, 44100, 440.0, 0.9), 2, 44100));
    ASSERT_TRUE(sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f));
    EXPECT_TRUE(sound.IsMusicPlaying(0));
    EXPECT_EQ(sound.MusicSlots[0]->Step, int64_t(1) << 32);
    for (int block = 0; block < 12; ++block) {
        sound.MixBlock();
        for (int i = 0; i < 1024; ++i) {
            const int frame = block * 1024 + i;
            ASSERT_EQ(left(i), (reference[2 * frame] * 2048) >> 12) << frame;
            ASSERT_EQ(right(i), (reference[2 * frame + 1] * 2048) >> 12) << frame;
        }
    }
}

TEST_F(Music, VolumeRampsOver120FramesAndContinuesFromTheGainReached)
{
    load(0, EncodeOgg(Sine(20000, 2, 44100, 440.0, 0.9), 2, 44100));
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    EXPECT_EQ(sound.MusicSlots[0]->CurrentGainLeft, 2048 << 12);

    sound.SetMusicVolume(0, 0.5f);
    sound.MixBlock();
    const int32_t slope = ((1024 << 12) - (2048 << 12)) / 120;
    for (int k = 0; k < 1024; ++k) {
        const int32_t gain = ((2048 << 12) + std::min(k, 119) * slope) >> 12;
        ASSERT_EQ(left(k), (reference[2 * (1024 + k)] * gain) >> 12) << k;
    }
    const int32_t reached = (2048 << 12) + 120 * slope;
    EXPECT_EQ(sound.MusicSlots[0]->CurrentGainLeft, reached);

    // The next call of a fade starts from the gain reached, not from 2048.
    sound.SetMusicVolume(0, 0.25f);
    sound.MixBlock();
    const int32_t slope2 = ((512 << 12) - reached) / 120;
    for (int k = 0; k < 120; ++k) {
        ASSERT_EQ(left(k), (reference[2 * (2048 + k)] * ((reached + k * slope2) >> 12)) >> 12) << k;
    }
}

TEST_F(Music, FasterStreamGoesThroughTheSincAtHalfLevel)
{
    load(0, EncodeOgg(Sine(48000, 2, 48000, 1000.0, 0.8), 2, 48000));
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    const auto out = mixLeft(16);
    const double ratio = rms(out, 64) / rms(referenceLeft(), 64);
    EXPECT_NEAR(ratio, 0.25, 0.015); // 0.5 for the centre, 0.5 for the sinc
    // The 1000 Hz tone keeps its pitch at the output rate.
    EXPECT_NEAR(zeroCrossings(out, 64), 2000.0 * (out.size() - 64) / 44100.0, 4);
}

TEST_F(Music, SlowerStreamGoesThroughTheCubicAtFullLevel)
{
    load(0, EncodeOgg(Sine(30000, 2, 22050, 1000.0, 0.8), 2, 22050));
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    const auto out = mixLeft(16);
    EXPECT_NEAR(rms(out, 64) / rms(referenceLeft(), 64), 0.5, 0.02);
    EXPECT_NEAR(zeroCrossings(out, 64), 2000.0 * (out.size() - 64) / 44100.0, 4);
}

TEST_F(Music, SpeedOtherThanOneGoesThroughTheCubicAtFullLevel)
{
    load(0, EncodeOgg(Sine(60000, 2, 44100, 500.0, 0.8), 2, 44100));
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.5f);
    const auto out = mixLeft(16);
    EXPECT_NEAR(rms(out, 64) / rms(referenceLeft(), 64), 0.5, 0.02);
    EXPECT_NEAR(zeroCrossings(out, 64), 1.5 * 1000.0 * (out.size() - 64) / 44100.0, 4);
}

TEST_F(Music, ShortLoopingStreamPlaysWithoutGaps)
{
    load(0, EncodeOgg(Sine(50, 2, 44100, 2000.0, 0.8), 2, 44100));
    ASSERT_GT(referenceFrames, 0);
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    for (int block = 0; block < 3; ++block) {
        sound.MixBlock();
        for (int i = 0; i < 1024; ++i) {
            const int frame = (block * 1024 + i) % referenceFrames;
            ASSERT_EQ(left(i), (reference[2 * frame] * 2048) >> 12) << block << " " << i;
        }
    }
    EXPECT_TRUE(sound.IsMusicPlaying(0));
}

TEST_F(Music, StreamWithoutAudioStopsAfterThreeRewinds)
{
    const auto empty = EncodeOgg({}, 2, 44100);
    ASSERT_TRUE(sound.LoadMusic(1, empty.data(), static_cast<int32_t>(empty.size())));
    sound.PlayMusic(1, true, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    EXPECT_FALSE(sound.IsMusicPlaying(1));
    for (int i = 0; i < 1024; ++i) {
        ASSERT_EQ(left(i), 0);
    }
}

TEST_F(Music, NonLoopingStreamPlaysToItsLastFrameThenStops)
{
    load(0, EncodeOgg(Sine(3000, 2, 44100, 440.0, 0.5), 2, 44100));
    sound.PlayMusic(0, false, 1.0f, 0.0f, 1.0f);
    const auto out = mixLeft(4);
    for (int i = 0; i < referenceFrames; ++i) {
        ASSERT_EQ(out[i], (reference[2 * i] * 2048) >> 12) << i;
    }
    EXPECT_FALSE(sound.IsMusicPlaying(0));
    // After the last frame only the tail of the final value remains.
    EXPECT_LE(std::abs(out[referenceFrames + 1]), std::abs(out[referenceFrames - 1]) + 1);
    EXPECT_EQ(out.back(), 0);
}

TEST_F(Music, StopThenPlayDoesNotClick)
{
    load(0, EncodeOgg(Sine(20000, 2, 44100, 441.0, 0.9), 2, 44100));
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    const int32_t last = left(1023);
    ASSERT_GT(std::abs(last), 8000);
    EXPECT_TRUE(sound.StopMusic(0));
    EXPECT_FALSE(sound.IsMusicPlaying(0));
    EXPECT_TRUE(sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f));
    sound.MixBlock();
    // The new start is near 0; the cut value carries on through the tail.
    EXPECT_LT(std::abs(left(0) - last), std::abs(last) / 50 + 200);
    EXPECT_LT(std::abs(left(1023) - ((reference[2 * 1023] * 2048) >> 12)), std::abs(last) / 20);
    sound.MixBlock();
    sound.MixBlock();
    EXPECT_EQ(left(1023), (reference[2 * 3071] * 2048) >> 12); // the tail is gone
}

TEST_F(Music, ReloadingAndBrokenDataLeaveTheSlotEmpty)
{
    load(2, EncodeOgg(Sine(2000, 1, 44100, 440.0, 0.5), 1, 44100));
    std::vector<uint8_t> broken = {'O', 'g', 'g', 'S', 1, 2, 3};
    EXPECT_FALSE(sound.LoadMusic(2, broken.data(), static_cast<int32_t>(broken.size())));
    EXPECT_EQ(sound.MusicSlots[2], nullptr);
    EXPECT_FALSE(sound.LoadMusic(2, nullptr, 100));
}

} // namespace

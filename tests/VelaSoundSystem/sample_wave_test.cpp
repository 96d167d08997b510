// RIFF WAVE decoding into sample slots: formats, chunk walking, loops and
// every way a file image can be broken.
#include <cstring>

#include <gtest/gtest.h>

#include "SoundTestData.h"
#include "VelaSoundSystem/Sample.h"
#include "VelaSoundSystem/SoundSystem.h"

using namespace soundtest;

namespace {

class WaveLoad : public ::testing::Test {
protected:
    TVelaSoundSystem sound{44100, 2, 16, 1024};

    TVSSSample* load(const std::vector<uint8_t>& Bytes)
    {
        if (!sound.LoadSample(0, Bytes.data(), static_cast<int32_t>(Bytes.size()), 1)) {
            return nullptr;
        }
        return sound.SampleSlots[0].get();
    }
    static std::vector<uint8_t> bytes(std::initializer_list<int> Values)
    {
        std::vector<uint8_t> out;
        for (int v : Values) {
            out.push_back(static_cast<uint8_t>(v));
        }
        return out;
    }
};

TEST_F(WaveLoad, EightBitIsMadeSignedAndScaled)
{
    auto wave = TWaveBuilder().Format(1, 1, 22050, 8).Chunk("data", bytes({255, 128, 0})).Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Length, 3);
    EXPECT_EQ(s->SampleRate, 22050);
    EXPECT_EQ(s->Data[0], 32512);
    EXPECT_EQ(s->Data[1], 32512);
    EXPECT_EQ(s->Data[2], 0);
    EXPECT_EQ(s->Data[4], -32768);
}

TEST_F(WaveLoad, SixteenTwentyFourAndThirtyTwoBitIntegersLandIn16BitRange)
{
    auto w16 = TWaveBuilder().Format(1, 2, 44100, 16).Chunk("data", bytes({0x34, 0x12, 0x00, 0x80})).Bytes();
    TVSSSample* s = load(w16);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Length, 1);
    EXPECT_EQ(s->Data[0], 0x1234);
    EXPECT_EQ(s->Data[1], -32768);

    auto w24 = TWaveBuilder().Format(1, 1, 44100, 24).Chunk("data", bytes({0xAA, 0x34, 0x92})).Bytes();
    s = load(w24);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Data[0], int16_t(0x9234));

    auto w32 = TWaveBuilder().Format(0xFFFE, 1, 44100, 32).Chunk("data", bytes({1, 2, 0xFF, 0x7F})).Bytes();
    s = load(w32);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Data[0], 0x7FFF);
}

TEST_F(WaveLoad, FloatIsScaledRoundedAndClipped)
{
    std::vector<uint8_t> data;
    for (float f : {0.5f, -1.0f, 3.0f, -7.0f}) {
        uint32_t raw;
        std::memcpy(&raw, &f, 4);
        PutU32(data, raw);
    }
    TVSSSample* s = load(TWaveBuilder().Format(3, 1, 48000, 32).Chunk("data", data).Bytes());
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Length, 4);
    EXPECT_EQ(s->Data[0], 16384); // 16383.5 rounds to even
    EXPECT_EQ(s->Data[2], -32767);
    EXPECT_EQ(s->Data[4], 32767);
    EXPECT_EQ(s->Data[6], -32768);
}

TEST_F(WaveLoad, OddChunkSizesAreFollowedWithoutPadBytes)
{
    // An odd "junk" chunk directly followed by the format: a reader that
    // skipped a pad byte would miss the "fmt " header.
    auto wave = TWaveBuilder()
                    .Chunk("junk", bytes({1, 2, 3}))
                    .Format(1, 1, 8000, 8)
                    .Chunk("data", bytes({200, 100, 50}))
                    .Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Length, 3);
    EXPECT_EQ(s->Data[2], (100 - 128) << 8);
}

TEST_F(WaveLoad, LowercaseFormAndNulTerminatedIdsAreAccepted)
{
    auto wave = TWaveBuilder("wave").Format(1, 1, 8000, 8, "fmt\0").Chunk("data", bytes({129})).Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Data[0], 256);
}

TEST_F(WaveLoad, PcmRecordReplacesAnUnusableFormatRecord)
{
    auto wave
        = TWaveBuilder().Format(2, 1, 8000, 4).Format(1, 1, 11025, 8, "pcm ").Chunk("data", bytes({128, 128})).Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->SampleRate, 11025);
    EXPECT_EQ(s->Length, 2);
}

TEST_F(WaveLoad, ImaAdpcmDecodesOneBlockOverTheWholeChunk)
{
    // Predictor 1000, index 0 (step 7); code 4 adds 7 + 0 = 7 (step >> 3 + step),
    // index +2 (step 9); code 12 subtracts 9 >> 3 + 9 = 10.
    auto wave = TWaveBuilder().Format(17, 1, 22050, 4).Chunk("data", bytes({0xE8, 0x03, 0, 0, 0xC4})).Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Length, 3);
    EXPECT_EQ(s->Data[0], 1000);
    EXPECT_EQ(s->Data[2], 1007);
    EXPECT_EQ(s->Data[4], 997);
    EXPECT_EQ(s->Data[5], 997);
}

TEST_F(WaveLoad, ImaAdpcmClampsAWildStepIndex)
{
    auto wave = TWaveBuilder().Format(17, 1, 22050, 4).Chunk("data", bytes({0, 0, 250, 0, 0x77, 0x77})).Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Length, 5);
    EXPECT_EQ(s->Data[8], 32767);
}

TEST_F(WaveLoad, SamplerLoopsMapTypesAndSustain)
{
    std::vector<uint8_t> data(200, 128);
    auto wave = TWaveBuilder()
                    .Format(1, 1, 8000, 8)
                    .Chunk("data", data)
                    .Chunk("smpl", SamplerChunk({{1, 10, 50}, {2, 60, 120}}))
                    .Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->SustainMode, LoopPingPong);
    EXPECT_EQ(s->SustainStart, 10);
    EXPECT_EQ(s->SustainEnd, 50);
    EXPECT_EQ(s->LoopMode, LoopBackward);
    EXPECT_EQ(s->LoopStart, 60);
    EXPECT_EQ(s->LoopEnd, 120);

    wave = TWaveBuilder().Format(1, 1, 8000, 8).Chunk("data", data).Chunk("smpl", SamplerChunk({{9, 5, 7}})).Bytes();
    s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->LoopMode, LoopForward);
    EXPECT_EQ(s->SustainMode, LoopNone);
}

TEST_F(WaveLoad, LoopsOutsideTheDataAreFittedOrDropped)
{
    std::vector<uint8_t> data(100, 128);
    auto wave = TWaveBuilder()
                    .Format(1, 1, 8000, 8)
                    .Chunk("data", data)
                    .Chunk("smpl", SamplerChunk({{0, 90, 5000}, {0, 0x80000000u, 0xFFFFFFF0u}}))
                    .Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->SustainMode, LoopForward);
    EXPECT_EQ(s->SustainEnd, 100);
    EXPECT_EQ(s->LoopMode, LoopNone);

    wave = TWaveBuilder().Format(1, 1, 8000, 8).Chunk("data", data).Chunk("smpl", SamplerChunk({{0, 40, 40}})).Bytes();
    s = load(wave);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->LoopMode, LoopNone);
}

TEST_F(WaveLoad, ForwardLoopGuardRepeatsTheLoopStart)
{
    std::vector<int16_t> values;
    for (int i = 0; i < 40; ++i) {
        values.push_back(static_cast<int16_t>(i * 100));
    }
    std::vector<uint8_t> data;
    for (int16_t v : values) {
        PutU16(data, static_cast<uint16_t>(v));
    }
    auto wave
        = TWaveBuilder().Format(1, 1, 44100, 16).Chunk("data", data).Chunk("smpl", SamplerChunk({{0, 10, 20}})).Bytes();
    TVSSSample* s = load(wave);
    ASSERT_NE(s, nullptr);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(s->Data[2 * (20 + i)], s->Data[2 * (10 + i % 10)]) << i;
    }
    EXPECT_EQ(s->Data[-2], 0);
    EXPECT_EQ(s->Data[2 * (40 + 1023)], 3900);
}

TEST_F(WaveLoad, BrokenImagesFailAndEmptyTheSlot)
{
    const auto good = TWaveBuilder().Format(1, 1, 8000, 8).Chunk("data", bytes({1, 2, 3, 4})).Bytes();
    ASSERT_NE(load(good), nullptr);
    const std::vector<std::vector<uint8_t>> broken = {
        TWaveBuilder("AVI ").Format(1, 1, 8000, 8).Chunk("data", bytes({1})).Bytes(),
        TWaveBuilder().Format(1, 1, 8000, 8).Bytes(), // no data
        TWaveBuilder().Chunk("data", bytes({1})).Bytes(), // no format
        TWaveBuilder().Format(1, 3, 8000, 8).Chunk("data", bytes({1, 2, 3})).Bytes(), // three channels
        TWaveBuilder().Format(1, 1, 8000, 12).Chunk("data", bytes({1, 2})).Bytes(),
        TWaveBuilder().Format(17, 2, 8000, 4).Chunk("data", bytes({1, 2, 3, 4, 5})).Bytes(),
        TWaveBuilder().Format(17, 1, 8000, 4).Chunk("data", bytes({1, 2, 3})).Bytes(), // no ADPCM header
        TWaveBuilder().Format(1, 1, 8000, 8).Chunk("data", bytes({1, 2}), 0x7FFFFFF0).Bytes(), // lying size
        TWaveBuilder().Format(1, 1, 8000, 8).Chunk("data", bytes({1})).Chunk("smpl", bytes({0, 0, 0})).Bytes(),
        TWaveBuilder().Format(1, 1, 8000, 8).Chunk("data", bytes({1})).Chunk("fact", bytes({0})).Bytes(),
        TWaveBuilder()
            .Format(1, 1, 8000, 8)
            .Chunk("data", bytes({1}))
            .Chunk("smpl", SamplerChunk({{0, 1, 2}}, 2))
            .Bytes(), // two loops announced, one present
        TWaveBuilder()
            .Format(1, 1, 8000, 8)
            .Chunk("data", bytes({1}))
            .Chunk("list", bytes({'I', 'N', 'F', 'O', 'I', 'N', 'A'}))
            .Bytes(),
        TWaveBuilder().Format(1, 1, 8000, 8).Chunk("data", bytes({1})).Chunk("xtra", bytes({1, 2, 3, 4})).Bytes(),
    };
    for (size_t i = 0; i < broken.size(); ++i) {
        ASSERT_NE(load(good), nullptr);
        EXPECT_EQ(load(broken[i]), nullptr) << "case " << i;
        EXPECT_EQ(sound.SampleSlots[0], nullptr) << "case " << i;
    }
}

} // namespace

// The MOD fallback: signatures, size relations, cells, samples and loops.
#include "VelaXM/LoadHelpers.h"

#include <gtest/gtest.h>

using namespace xmtest;

namespace {

void setCell(Bytes& image, size_t headerSize, int32_t channels, int32_t row, int32_t channel, const uint8_t (&b)[4])
{
    const size_t at = headerSize + (static_cast<size_t>(row) * channels + channel) * 4;
    for (int i = 0; i < 4; ++i)
        image[at + i] = b[i];
}

} // namespace

TEST(LoaderMod, FourChannelModule)
{
    std::vector<ModSample> samples(3);
    samples[0] = {8, 0, 64, 0, 1, "kick"};
    samples[1] = {4, 9, 32, 1, 2, "loop"}; // finetune 9 -> -112
    samples[2] = {0, 20, 10, 0, 1, ""}; // finetune above 15 taken as 15 -> -16
    Bytes image = buildMOD("M.K.", 4, 1, samples, 2, {0, 0});
    setCell(image, 1084, 4, 0, 0, {0x11, 0xAC, 0x2C, 0x40}); // period 0x1AC = 428, instrument 0x12, effect C40
    setCell(image, 1084, 4, 1, 3, {0x00, 0x32, 0x00, 0x00}); // period 50: no note
    setCell(image, 1084, 4, 2, 1, {0x07, 0xD0, 0x00, 0x00}); // period 2000: lowest note
    bool ok = false;
    auto m = load(image, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->NumChannels, 4);
    EXPECT_FALSE(m->LinearFrequencies);
    EXPECT_FALSE(m->SlideMemory);
    EXPECT_EQ(m->SongLength, 2);
    EXPECT_EQ(m->Name, "modname");
    EXPECT_EQ(m->Patterns[0].Rows, 64);
    EXPECT_EQ(m->Patterns[0].GetNote(0, 0), cell(49, 0x12, 0, 0xC, 0x40));
    EXPECT_EQ(m->Patterns[0].GetNote(1, 3).Note, 0);
    EXPECT_EQ(m->Patterns[0].GetNote(2, 1).Note, 25);
    const int32_t pans[] = {0, 255, 255, 0};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(m->Channels[c].DefaultPanning, pans[c]);

    const TVelaXMInstrument& kick = *m->Instruments[1];
    EXPECT_EQ(kick.Fadeout, 65536);
    EXPECT_FALSE(kick.VolumeEnvelope.Enabled);
    const TVelaXMSample& k = *kick.Samples[0];
    EXPECT_EQ(k.Length, 16);
    EXPECT_FALSE(k.UsePanning);
    EXPECT_FALSE(k.Loop);
    EXPECT_EQ(k.Frames()[0], 1 * 256); // sample 1's bytes are all 1
    const TVelaXMSample& l = *m->Instruments[2]->Samples[0];
    EXPECT_EQ(l.Finetune, -112);
    EXPECT_EQ(l.Volume, 32);
    EXPECT_TRUE(l.Loop);
    EXPECT_EQ(l.LoopStart, 2);
    EXPECT_EQ(l.LoopLength, 4);
    EXPECT_EQ(l.Frames()[7], 2 * 256); // right after the first sample
    EXPECT_EQ(m->Instruments[3]->Samples[0]->Finetune, -16);
    EXPECT_TRUE(m->Instruments[31]);
}

TEST(LoaderMod, SignaturesGiveChannelCounts)
{
    const std::pair<const char*, int32_t> cases[]
        = {{"M!K!", 4}, {"M&K!", 4}, {"N.T.", 4}, {"OCTA", 8}, {"OKTA", 8}, {"CD81", 8}, {"WOW!", 8}, {"TDZ3", 3},
            {"FLT6", 6}, {"EXO7", 7}, {"6CHN", 6}, {"12CH", 12}, {"16CN", 16}, {"EX10", 10}};
    for (const auto& [signature, channels] : cases) {
        bool ok = false;
        auto m = load(buildMOD(signature, channels, 2, {{4}}, 1, {1}), &ok);
        ASSERT_TRUE(ok) << signature;
        EXPECT_EQ(m->NumChannels, channels) << signature;
    }
}

TEST(LoaderMod, FourChannelSignatureWithEightChannelSize)
{
    bool ok = false;
    auto m = load(buildMOD("M.K.", 8, 1, {{10}}), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->NumChannels, 8);
}

TEST(LoaderMod, FifteenSampleModule)
{
    std::vector<ModSample> samples(15);
    samples[14] = {3};
    bool ok = false;
    auto m = load(buildMOD("", 4, 3, samples, 5, {0, 2, 1}), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->NumChannels, 4);
    EXPECT_EQ(m->SongLength, 5);
    EXPECT_EQ(m->Orders[1], 2);
    EXPECT_EQ(m->Instruments[15]->Samples[0]->Length, 6);
    EXPECT_FALSE(m->Instruments[16]);
}

TEST(LoaderMod, WrongSizeOrPackedSignatureFails)
{
    Bytes image = buildMOD("M.K.", 4, 1, {{4}});
    image.push_back(0);
    bool ok = true;
    auto m = load(image, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(m->Instruments[1]);
    EXPECT_EQ(m->NumChannels, 0);

    load(buildMOD("PP20", 4, 1, {{4}}), &ok);
    EXPECT_FALSE(ok);
    load(Bytes(1083, 0), &ok);
    EXPECT_FALSE(ok);
}

TEST(LoaderMod, MKWithHighOrderUsesPatternsThatFit)
{
    // Order entry 70 would ask for 71 patterns; the image holds only 2.
    bool ok = false;
    auto m = load(buildMOD("M!K!", 4, 2, {{4}}, 2, {1, 70}), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->Patterns[1].Rows, 64);
    EXPECT_EQ(m->Patterns[2].Rows, 0);
}

TEST(LoaderMod, LoopsAreFittedIntoTheSample)
{
    std::vector<ModSample> samples = {
        {10, 0, 64, 20, 4}, // starts beyond the end: no loop
        {10, 0, 64, 8, 10}, // runs past the end: cut to 4 bytes
        {10, 0, 64, 9, 10}, // cut below 2 bytes: 2 bytes, no loop
        {10, 0, 64, 2, 1}, // 2 bytes: no loop
    };
    bool ok = false;
    auto m = load(buildMOD("M.K.", 4, 1, samples), &ok);
    ASSERT_TRUE(ok);
    EXPECT_FALSE(m->Instruments[1]->Samples[0]->Loop);
    const TVelaXMSample& cut = *m->Instruments[2]->Samples[0];
    EXPECT_TRUE(cut.Loop);
    EXPECT_EQ(cut.LoopStart, 16);
    EXPECT_EQ(cut.LoopLength, 4);
    EXPECT_FALSE(m->Instruments[3]->Samples[0]->Loop);
    EXPECT_FALSE(m->Instruments[4]->Samples[0]->Loop);
}

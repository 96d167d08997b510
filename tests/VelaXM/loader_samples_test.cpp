// Sample data: delta coding, 16-bit and stereo layouts, ADPCM, guard values.
#include "VelaXM/LoadHelpers.h"

#include <gtest/gtest.h>

using namespace xmtest;

namespace {

std::unique_ptr<TVelaXMModule> loadSamples(const std::vector<XmSample>& samples, bool* ok = nullptr)
{
    XmModule m;
    m.patterns.push_back(makePattern(1, 4));
    XmInstrument ins;
    ins.samples = samples;
    XmInstrument after;
    after.name = "after";
    m.instruments = {ins, after};
    auto module = load(buildXM(m), ok);
    return module;
}

const TVelaXMSample& sampleOf(const TVelaXMModule& m, int32_t index = 0)
{
    return *m.Instruments[1]->Samples[index];
}

} // namespace

TEST(LoaderSamples, EightBitDeltasWrapAndScale)
{
    XmSample s;
    s.data = {100, 100, 0x80, 1}; // 100, -56 (wrapped), 72, 73
    auto m = loadSamples({s});
    const TVelaXMSample& x = sampleOf(*m);
    ASSERT_EQ(x.Length, 4);
    EXPECT_EQ(x.Frames()[0], 100 * 256);
    EXPECT_EQ(x.Frames()[1], -56 * 256);
    EXPECT_EQ(x.Frames()[2], 72 * 256);
    EXPECT_EQ(x.Frames()[3], 73 * 256);
    EXPECT_EQ(x.Data.size(), 4u + 16u);
}

TEST(LoaderSamples, SixteenBitMonoHalvesLengthsAndLoop)
{
    XmSample s;
    s.data = deltaEncode16({1000, -32768, 32767, 5, 6, 7});
    s.type = 0x10 | 1;
    s.loopStart = 4;
    s.loopLength = 6;
    auto m = loadSamples({s});
    const TVelaXMSample& x = sampleOf(*m);
    EXPECT_EQ(x.Bits, 16);
    EXPECT_EQ(x.Length, 6);
    EXPECT_EQ(x.LoopStart, 2);
    EXPECT_EQ(x.LoopLength, 3);
    EXPECT_EQ(x.Frames()[1], -32768);
    EXPECT_EQ(x.Frames()[2], 32767);
}

TEST(LoaderSamples, SixteenBitStereoOf4000BytesHas1000Frames)
{
    std::vector<int16_t> left(1000), right(1000);
    for (int i = 0; i < 1000; ++i) {
        left[i] = static_cast<int16_t>(i * 30);
        right[i] = static_cast<int16_t>(-i * 7);
    }
    XmSample s;
    s.data = deltaEncode16(left);
    const Bytes r = deltaEncode16(right);
    s.data.insert(s.data.end(), r.begin(), r.end());
    s.type = 0x10 | 0x20 | 1;
    s.loopStart = 400;
    s.loopLength = 2000;
    auto m = loadSamples({s});
    const TVelaXMSample& x = sampleOf(*m);
    EXPECT_EQ(x.Channels, 2);
    EXPECT_EQ(x.Length, 1000);
    EXPECT_EQ(x.LoopStart, 100);
    EXPECT_EQ(x.LoopLength, 500);
    EXPECT_EQ(x.Frames()[2 * 999], 999 * 30);
    EXPECT_EQ(x.Frames()[2 * 999 + 1], -999 * 7);
    EXPECT_EQ(m->Instruments[2]->Name, "after");
}

TEST(LoaderSamples, EightBitStereoKeepsChannelsApart)
{
    XmSample s;
    s.data = deltaEncode8({1, 2, 3});
    const Bytes r = deltaEncode8({-1, -2, -3});
    s.data.insert(s.data.end(), r.begin(), r.end());
    s.type = 0x20;
    auto m = loadSamples({s});
    const TVelaXMSample& x = sampleOf(*m);
    ASSERT_EQ(x.Length, 3);
    const int32_t expected[] = {256, -256, 512, -512, 768, -768};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(x.Frames()[i], expected[i]);
    // Guards per channel: first frame in front, last frame behind.
    EXPECT_EQ(x.Frames()[-2], 256);
    EXPECT_EQ(x.Frames()[-1], -256);
    EXPECT_EQ(x.Frames()[6], 768);
    EXPECT_EQ(x.Frames()[7], -768);
}

TEST(LoaderSamples, ADPCMDecodesNibblesLowFirst)
{
    XmSample s;
    s.reserved = 0xAD;
    s.length = 5;
    Bytes table(16);
    for (int k = 0; k < 16; ++k)
        table[k] = static_cast<uint8_t>(k - 8);
    s.data = table;
    s.data.insert(s.data.end(), {0x9A, 0x0F, 0x08}); // nibbles a, 9, f, 0, 8
    XmSample next;
    next.data = deltaEncode8({42});
    auto m = loadSamples({s, next});
    const TVelaXMSample& x = sampleOf(*m);
    EXPECT_TRUE(x.ADPCM);
    ASSERT_EQ(x.Length, 5);
    const int32_t expected[] = {2, 3, 10, 2, 2};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(x.Frames()[i], expected[i] * 256) << i;
    // The next sample starts after the table and three bytes.
    EXPECT_EQ(sampleOf(*m, 1).Frames()[0], 42 * 256);
}

TEST(LoaderSamples, ADPCMMarkIgnoredFor16BitData)
{
    XmSample s;
    s.reserved = 0xAD;
    s.type = 0x10;
    s.data = deltaEncode16({7, 8});
    auto m = loadSamples({s});
    EXPECT_FALSE(sampleOf(*m).ADPCM);
    EXPECT_EQ(sampleOf(*m).Length, 2);
}

TEST(LoaderSamples, GuardsMirrorEdgesAndLoops)
{
    std::vector<int8_t> values(20);
    for (int i = 0; i < 20; ++i)
        values[i] = static_cast<int8_t>(i + 1);
    XmSample forward;
    forward.data = deltaEncode8(values);
    forward.type = 1;
    forward.loopStart = 4;
    forward.loopLength = 8; // loop end 12
    XmSample pingpong = forward;
    pingpong.type = 2;
    XmSample fromZero = forward;
    fromZero.loopStart = 0;
    auto m = loadSamples({forward, pingpong, fromZero});

    const TVelaXMSample& f = sampleOf(*m, 0);
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(f.Frames()[-k], 1 * 256);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(f.Frames()[20 + k], 20 * 256);
        EXPECT_EQ(f.Frames()[12 + k], f.Frames()[4 + k]); // loop end continues at the loop start
    }
    const TVelaXMSample& p = sampleOf(*m, 1);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(p.Frames()[12 + k], (12 - k) * 256); // frame 11, 10, 9, 8
    const TVelaXMSample& z = sampleOf(*m, 2);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(z.Frames()[8 + k], (k + 1) * 256); // a loop from 0 (end 8) continues at frame 0 too
    EXPECT_EQ(z.Frames()[12], 13 * 256);             // past its guards the sample keeps its data
}

TEST(LoaderSamples, HugeLengthsAreBoundedByTheImage)
{
    XmSample s;
    s.data = deltaEncode8({1, 2, 3});
    s.length = 0xFFFFFFF0; // cut to 2^30, then to what the image holds
    s.type = 1;
    s.loopStart = 0x7FFFFFF0;
    s.loopLength = 16;
    XmModule spec;
    spec.patterns.push_back(makePattern(1, 4));
    XmInstrument ins;
    ins.samples = {s};
    spec.instruments = {ins};
    bool ok = false;
    auto m = load(buildXM(spec), &ok);
    ASSERT_TRUE(ok);
    const TVelaXMSample& x = sampleOf(*m);
    EXPECT_EQ(x.Length, 3);
    EXPECT_FALSE(x.Loop);
}

// The XM main header, the block order of old versions and failure handling.
#include "VelaXM/LoadHelpers.h"

#include <gtest/gtest.h>

using namespace xmtest;

namespace {

bool isCleared(const TVelaXMModule& m)
{
    for (const auto& ins : m.Instruments)
        if (ins)
            return false;
    for (const TVelaXMPattern& p : m.Patterns)
        if (!p.Notes.empty())
            return false;
    return !m.Loaded && m.Name.empty() && m.SongLength == 0 && m.DefaultSpeed == 6 && m.DefaultBPM == 125;
}

XmModule twoPatternModule()
{
    XmModule m;
    m.name = "  header test\x01 ";
    m.songLength = 3;
    m.restart = 1;
    m.orders[0] = 1;
    m.orders[1] = 0;
    m.orders[2] = 1;
    m.patterns.push_back(makePattern(16, 4, {{0, 0, cell(49, 1)}}));
    m.patterns.push_back(makePattern(32, 4, {{31, 3, cell(97)}}));
    XmInstrument ins;
    XmSample s;
    s.data = deltaEncode8({1, 2, 3, 4});
    ins.samples.push_back(s);
    m.instruments.push_back(ins);
    return m;
}

} // namespace

TEST(LoaderHeader, ReadsHeaderFieldsAndTrimsName)
{
    XmModule spec = twoPatternModule();
    spec.flags = 0x1000;
    spec.speed = 3;
    spec.bpm = 150;
    bool ok = false;
    auto m = load(buildXM(spec), &ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(m->Loaded);
    EXPECT_EQ(m->Name, "header test");
    EXPECT_EQ(m->SongLength, 3);
    EXPECT_EQ(m->RestartPosition, 1);
    EXPECT_EQ(m->NumChannels, 4);
    EXPECT_FALSE(m->LinearFrequencies);
    EXPECT_TRUE(m->ExtendedFilterRange);
    EXPECT_EQ(m->DefaultSpeed, 3);
    EXPECT_EQ(m->DefaultBPM, 150);
    EXPECT_EQ(m->Orders[0], 1);
    EXPECT_EQ(m->Patterns[1].Rows, 32);
    EXPECT_EQ(m->Patterns[1].GetNote(31, 3).Note, 97);
    EXPECT_EQ(m->Patterns[2].Rows, 0);
}

TEST(LoaderHeader, SpeedAndBpmZeroBecomeDefaults)
{
    XmModule spec = twoPatternModule();
    spec.speed = 0x100; // low byte 0
    spec.bpm = 0;
    auto m = load(buildXM(spec));
    EXPECT_EQ(m->DefaultSpeed, 6);
    EXPECT_EQ(m->DefaultBPM, 125);
}

TEST(LoaderHeader, HeaderSizeDecidesWherePatternsStart)
{
    XmModule spec = twoPatternModule();
    spec.headerSize = 300; // 24 bytes of padding the writer inserts
    auto m = load(buildXM(spec));
    ASSERT_TRUE(m->Loaded);
    EXPECT_EQ(m->Patterns[0].GetNote(0, 0).Note, 49);
}

TEST(LoaderHeader, OldVersionsPutInstrumentsFirst)
{
    for (uint16_t version : {0x0102, 0x0103}) {
        XmModule spec = twoPatternModule();
        spec.version = version;
        bool ok = false;
        auto m = load(buildXM(spec), &ok);
        ASSERT_TRUE(ok) << version;
        EXPECT_EQ(m->Patterns[0].Rows, 16);
        EXPECT_EQ(m->Patterns[0].GetNote(0, 0).Instrument, 1);
        ASSERT_TRUE(m->Instruments[1]);
        const TVelaXMSample& s = *m->Instruments[1]->Samples[0];
        EXPECT_EQ(s.Length, 4);
        EXPECT_EQ(s.Frames()[3], 4 * 256);
    }
}

TEST(LoaderHeader, TruncatedImagesFailCleared)
{
    const Bytes image = buildXM(twoPatternModule());
    // Cuts inside the main header, a pattern header, the instrument header and the sample header.
    for (size_t cut : {size_t(0), size_t(100), size_t(335), size_t(340), size_t(image.size() - 4 - 40 - 100),
             size_t(image.size() - 4 - 20)}) {
        Bytes truncated(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(cut));
        bool ok = true;
        auto m = load(truncated, &ok);
        EXPECT_FALSE(ok) << cut;
        EXPECT_TRUE(isCleared(*m)) << cut;
    }
}

TEST(LoaderHeader, TruncatedSampleDataStillLoads)
{
    const Bytes image = buildXM(twoPatternModule());
    Bytes truncated(image.begin(), image.end() - 2);
    bool ok = false;
    auto m = load(truncated, &ok);
    ASSERT_TRUE(ok);
    const TVelaXMSample& s = *m->Instruments[1]->Samples[0];
    EXPECT_EQ(s.Length, 2); // the missing tail would only repeat the last value
    EXPECT_EQ(s.Frames()[1], 2 * 256);
}

TEST(LoaderHeader, TooManyChannelsOrInstrumentsFallsToModLoader)
{
    XmModule spec = twoPatternModule();
    spec.channels = 256;
    bool ok = true;
    auto m = load(buildXM(spec), &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(isCleared(*m));

    spec = twoPatternModule();
    spec.instrumentCountField = 256;
    load(buildXM(spec), &ok);
    EXPECT_FALSE(ok);
}

TEST(LoaderHeader, ReloadStartsFromAClearModule)
{
    auto m = std::make_unique<TVelaXMModule>();
    XmModule big = twoPatternModule();
    big.patterns.push_back(makePattern(8, 4));
    const Bytes first = buildXM(big);
    ASSERT_TRUE(m->Load(first.data(), static_cast<uint32_t>(first.size())));
    EXPECT_EQ(m->Patterns[2].Rows, 8);
    XmModule small = twoPatternModule();
    small.patterns.pop_back();
    small.instruments.clear();
    const Bytes second = buildXM(small);
    ASSERT_TRUE(m->Load(second.data(), static_cast<uint32_t>(second.size())));
    EXPECT_EQ(m->Patterns[1].Rows, 0);
    EXPECT_EQ(m->Patterns[2].Rows, 0);
    EXPECT_FALSE(m->Instruments[1]);
}

// Instrument and sample headers: sizes, envelopes and their fix-ups, loops.
#include "VelaXM/LoadHelpers.h"

#include <gtest/gtest.h>

using namespace xmtest;

namespace {

XmModule withInstruments(std::vector<XmInstrument> instruments)
{
    XmModule m;
    m.patterns.push_back(makePattern(1, 4));
    m.instruments = std::move(instruments);
    return m;
}

XmInstrument oneSample(XmSample s = {})
{
    XmInstrument ins;
    if (s.data.empty())
        s.data = deltaEncode8(std::vector<int8_t>(64, 1));
    ins.samples.push_back(s);
    return ins;
}

} // namespace

TEST(LoaderInstruments, EmptyInstrumentsSkipTheirHeaderSize)
{
    for (uint32_t headerSize : {29u, 33u, 263u, 300u}) {
        XmInstrument empty;
        empty.name = "empty";
        empty.headerSize = headerSize;
        XmInstrument next = oneSample();
        next.name = "next";
        bool ok = false;
        auto m = load(buildXM(withInstruments({empty, next})), &ok);
        ASSERT_TRUE(ok) << headerSize;
        ASSERT_TRUE(m->Instruments[1]);
        EXPECT_EQ(m->Instruments[1]->Samples[0], nullptr);
        ASSERT_TRUE(m->Instruments[2]) << headerSize;
        EXPECT_EQ(m->Instruments[2]->Name, "next") << headerSize;
        EXPECT_EQ(m->Instruments[2]->Samples[0]->Length, 64);
    }
}

TEST(LoaderInstruments, ReadsMapVibratoAndFadeout)
{
    XmInstrument ins = oneSample();
    ins.samples.push_back(ins.samples[0]);
    ins.sampleMap[48] = 1;
    ins.vibratoType = 2;
    ins.vibratoSweep = 3;
    ins.vibratoDepth = 4;
    ins.vibratoRate = 5;
    ins.fadeout = 0x1234;
    auto m = load(buildXM(withInstruments({ins})));
    const TVelaXMInstrument& i = *m->Instruments[1];
    EXPECT_EQ(i.SampleMap[48], 1);
    EXPECT_EQ(i.VibratoType, 2);
    EXPECT_EQ(i.VibratoSweep, 3);
    EXPECT_EQ(i.VibratoDepth, 4);
    EXPECT_EQ(i.VibratoRate, 5);
    EXPECT_EQ(i.Fadeout, 0x1234);
    EXPECT_TRUE(i.Samples[1]);
}

TEST(LoaderInstruments, EnvelopeXFixUpAndSwitches)
{
    XmInstrument ins = oneSample();
    ins.volume.points = {{10, 64}, {20, 0x1F20}, {5, 0}};
    ins.volume.type = 1 | 2 | 4;
    ins.volume.sustain = 13; // beyond 12: sustain off
    ins.volume.loopStart = 1;
    ins.volume.loopEnd = 1; // single-point loop: off
    ins.panning.points = {{0, 32}, {4, 0}};
    ins.panning.count = 0; // type says on, but no points
    ins.panning.type = 1;
    auto m = load(buildXM(withInstruments({ins})));
    const TVelaXMEnvelope& v = m->Instruments[1]->VolumeEnvelope;
    EXPECT_EQ(v.Points[0].X, 10);
    EXPECT_EQ(v.Points[1].X, 20);
    EXPECT_EQ(v.Points[2].X, 261);
    EXPECT_EQ(v.Points[1].Y, 0x20); // only the low byte
    EXPECT_TRUE(v.Enabled);
    EXPECT_FALSE(v.SustainEnabled);
    EXPECT_FALSE(v.LoopEnabled);
    EXPECT_FALSE(m->Instruments[1]->PanningEnvelope.Enabled);
}

TEST(LoaderInstruments, EnvelopePointCountIsCappedAtTwelve)
{
    XmInstrument ins = oneSample();
    for (uint16_t k = 0; k < 12; ++k)
        ins.volume.points.push_back({static_cast<uint16_t>(k * 4), 32});
    ins.volume.count = 200;
    ins.volume.type = 1;
    auto m = load(buildXM(withInstruments({ins})));
    EXPECT_EQ(m->Instruments[1]->VolumeEnvelope.NumPoints, 12);
}

TEST(LoaderInstruments, SampleHeaderFieldsAndLoopChecks)
{
    XmSample s;
    s.data = deltaEncode8(std::vector<int8_t>(100, 5));
    s.volume = 40;
    s.finetune = -16;
    s.panning = 10;
    s.relativeNote = -12;
    s.name = " snare ";
    s.type = 3; // undefined loop type plays as ping-pong
    s.loopStart = 20;
    s.loopLength = 200; // cut to end at the length
    auto m = load(buildXM(withInstruments({oneSample(s)})));
    const TVelaXMSample& x = *m->Instruments[1]->Samples[0];
    EXPECT_EQ(x.Volume, 40);
    EXPECT_EQ(x.Finetune, -16);
    EXPECT_EQ(x.Panning, 10);
    EXPECT_EQ(x.RelativeNote, -12);
    EXPECT_EQ(x.Name, "snare");
    EXPECT_TRUE(x.Loop);
    EXPECT_TRUE(x.PingPongLoop);
    EXPECT_TRUE(x.UsePanning);
    EXPECT_EQ(x.LoopStart, 20);
    EXPECT_EQ(x.LoopLength, 80);

    s.type = 1;
    s.loopStart = 100; // at the length: no loop
    m = load(buildXM(withInstruments({oneSample(s)})));
    EXPECT_FALSE(m->Instruments[1]->Samples[0]->Loop);
    s.loopStart = 10;
    s.loopLength = 0;
    m = load(buildXM(withInstruments({oneSample(s)})));
    EXPECT_FALSE(m->Instruments[1]->Samples[0]->Loop);
}

TEST(LoaderInstruments, SamplesPastTheSlotsAreReadOver)
{
    XmInstrument many;
    for (int k = 0; k < 258; ++k) {
        XmSample s;
        s.data = deltaEncode8({static_cast<int8_t>(k & 0x7F)});
        many.samples.push_back(s);
    }
    XmInstrument next = oneSample();
    next.name = "next";
    bool ok = false;
    auto m = load(buildXM(withInstruments({many, next})), &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->Instruments[1]->Samples[255]->Frames()[0], 127 * 256);
    EXPECT_EQ(m->Instruments[2]->Name, "next");
    EXPECT_EQ(m->Instruments[2]->Samples[0]->Length, 64);
}

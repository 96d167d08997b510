// Row and tick effects, observed tick by tick on the channel state.
#include "VelaXM/PlayerHelpers.h"

#include <cmath>

using namespace xmtest;

namespace {

struct Fixture {
    std::unique_ptr<TVelaXM> player;
    TVelaXMModule& m() { return *player->Module; }
    TVelaXMChannel& ch(int i = 0) { return player->Module->Channels[i]; }
};

// One channel playing the given cells; the player is started and the first row is read.
Fixture start(const std::vector<std::tuple<int32_t, int32_t, TVelaXMPatternNote>>& cells, bool linear = true,
    int32_t channels = 1)
{
    XmModule spec = simpleModule(channels, cells, loopedSample());
    spec.flags = linear ? 1 : 0;
    spec.instruments[0].fadeout = 4096;
    Fixture f{makePlayer(buildXM(spec))};
    f.player->Play();
    f.m().ProcessTick();
    return f;
}

} // namespace

TEST(Effects, ArpeggioOffsetsInLinearMode)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 0, 0x37)}});
    const int32_t expected[] = {0, -192, -448, 0, -192, -448};
    EXPECT_EQ(f.ch().PeriodOffset, expected[0]);
    for (int tick = 1; tick < 6; ++tick) {
        f.m().ProcessTick();
        EXPECT_EQ(f.ch().PeriodOffset, expected[tick]) << tick;
    }
}

TEST(Effects, ArpeggioOffsetsInAmigaMode)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 0, 0x0C)}}, false);
    const int32_t base = f.m().GetPeriod(f.ch().Note, f.ch().Finetune);
    EXPECT_EQ(f.ch().ArpeggioOffsets[2], f.m().GetPeriod(f.ch().Note + 12, 0) - base);
    EXPECT_EQ(f.ch().ArpeggioOffsets[2], -base / 2);
}

TEST(Effects, PortamentosMoveThePeriod)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 1, 0x02)}, {1, 0, cell(0, 0, 0, 2, 0)}, {2, 0, cell(0, 0, 0, 14, 0x13)}});
    const int32_t period = f.ch().Period;
    runTicks(f.m(), 5);
    EXPECT_EQ(f.ch().Period, period - 5 * 8);
    runTicks(f.m(), 6); // row 1: 2xx without a parameter has no memory yet
    EXPECT_EQ(f.ch().Period, period - 5 * 8);
    f.m().ProcessTick(); // row 2: fine portamento up by 3 once
    EXPECT_EQ(f.ch().Period, period - 40 - 12);
    EXPECT_EQ(f.ch().TargetPeriod, f.ch().Period);
}

TEST(Effects, TonePortamentoSlidesToTheTargetAndStops)
{
    Fixture f = start({{0, 0, cell(49, 1)}, {1, 0, cell(50, 1, 0, 3, 0x10)}});
    const int32_t from = f.ch().Period;
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().Period, from); // a portamento note does not restart
    EXPECT_EQ(f.ch().TargetPeriod, from - 64);
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().Period, from - 64); // 4 x 16 per tick reaches it at once
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().Period, from - 64);
}

TEST(Effects, VolumeColumnPortamentoSharesTheMemoryInStepsOfSixteen)
{
    // M4 glides as fast as 340; M0 on the next row keeps that speed.
    Fixture a = start({{0, 0, cell(49, 1)}, {1, 0, cell(60, 0, 0xF4)}, {2, 0, cell(0, 0, 0xF0)}});
    Fixture b = start({{0, 0, cell(49, 1)}, {1, 0, cell(60, 0, 0, 3, 0x40)}, {2, 0, cell(0, 0, 0, 3, 0x00)}});
    runTicks(a.m(), 7);
    runTicks(b.m(), 7);
    EXPECT_EQ(a.ch().Period, b.ch().Period);
    runTicks(a.m(), 6);
    runTicks(b.m(), 6);
    EXPECT_EQ(a.ch().TonePortamentoMemory, 64);
    EXPECT_EQ(a.ch().TonePortamentoMemory, b.ch().TonePortamentoMemory);
    EXPECT_EQ(a.ch().Period, b.ch().Period);
}

TEST(Effects, GlissandoStopsOnSemitones)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 14, 0x31)}, {1, 0, cell(53, 0, 0, 3, 0xFF)}});
    runTicks(f.m(), 6);
    const int32_t from = f.ch().Period;
    for (int semitone = 1; semitone <= 4; ++semitone) {
        f.m().ProcessTick();
        EXPECT_EQ(f.ch().Period, from - 64 * semitone);
    }
}

TEST(Effects, VibratoAndTremoloSteps)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 4, 0x48)}, {1, 0, cell(0, 0, 0, 4, 0x02)}});
    // Tick 0 already stepped once at position 0 (sine 0); the next step reads position 4.
    f.m().ProcessTick();
    const int32_t w = static_cast<int32_t>(std::lround(127 * std::sin(2 * 3.14159265358979 * 4 / 64))) * 2;
    EXPECT_EQ(f.ch().PeriodOffset, 4 * ((w * 8) >> 7));
    runTicks(f.m(), 5); // row 1: 402 changes the depth and keeps the speed
    EXPECT_EQ(f.ch().VibratoSpeed, 4);
    EXPECT_EQ(f.ch().VibratoDepth, 2);

    Fixture t = start({{0, 0, cell(49, 1, 0, 7, 0x4F)}, {0, 0, cell(49, 1, 0, 7, 0x4F)}});
    t.m().ProcessTick();
    EXPECT_EQ(t.ch().VolumeOffset, 0); // position 0 of the sine
    t.m().ProcessTick();
    EXPECT_EQ(t.ch().VolumeOffset, (w * 15) >> 6);
}

TEST(Effects, VolumeSlidesAndNoteCut)
{
    Fixture f = start(
        {{0, 0, cell(49, 1, 0x30, 10, 0x12)}, {1, 0, cell(0, 0, 0, 10, 0x30)}, {2, 0, cell(0, 0, 0, 14, 0xC2)}});
    runTicks(f.m(), 5);
    EXPECT_EQ(f.ch().Volume, 0x20 - 5);
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().Volume, 0x20 - 5 + 15);
    runTicks(f.m(), 3);
    EXPECT_EQ(f.ch().Volume, 0);

    // MOD slides have no memory: A00 does not slide.
    Fixture mod = start({{0, 0, cell(49, 1, 0x30, 10, 0x12)}, {1, 0, cell(0, 0, 0, 10, 0x00)}});
    mod.m().SlideMemory = false;
    runTicks(mod.m(), 11);
    EXPECT_EQ(mod.ch().Volume, 0x20 - 5);
}

TEST(Effects, FineVolumeAndVolumeColumnSlides)
{
    Fixture f = start({{0, 0, cell(49, 1, 0x30, 14, 0xA4)}, {1, 0, cell(0, 0, 0x62)}});
    EXPECT_EQ(f.ch().Volume, 0x20 + 4);
    runTicks(f.m(), 6 + 5);
    EXPECT_EQ(f.ch().Volume, 0x24 - 10);
}

TEST(Effects, TremorSilencesTheOffPhaseAndZeroLengthsDoNothing)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 29, 0x12)}});
    // On for 1 tick, off for 2: tick 0 counted as on.
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().VolumeOffset, -64);
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().VolumeOffset, -64);
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().VolumeOffset, 0);
    EXPECT_EQ(f.ch().FinalVolume, 4096);

    Fixture none = start({{0, 0, cell(49, 1, 0, 29, 0x00)}});
    runTicks(none.m(), 3);
    EXPECT_EQ(none.ch().VolumeOffset, 0);
}

TEST(Effects, NoteDelayTriggersOnItsTickOrNever)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 14, 0xD3)}});
    EXPECT_FALSE(f.ch().VoiceOn);
    runTicks(f.m(), 2);
    EXPECT_FALSE(f.ch().VoiceOn);
    f.m().ProcessTick();
    EXPECT_TRUE(f.ch().VoiceOn);

    Fixture never = start({{0, 0, cell(49, 1, 0, 14, 0xD6)}});
    runTicks(never.m(), 6);
    EXPECT_FALSE(never.ch().VoiceOn);
}

TEST(Effects, RetriggerRestartsAndChangesVolume)
{
    // R12: every second tick the note restarts and loses 1; the instrument number of
    // the cell does not bring back the sample's volume. A row without a note goes on.
    Fixture f = start({{0, 0, cell(49, 1, 0x30, 27, 0x12)}, {1, 0, cell(0, 0, 0, 27, 0x12)}});
    EXPECT_EQ(f.ch().Volume, 0x20);
    for (int row = 0; row < 2; ++row) {
        runTicks(f.m(), row == 0 ? 1 : 7);
        f.ch().Position = int64_t(100) << 32;
        f.m().ProcessTick();
        EXPECT_EQ(f.ch().Position, 0) << row; // restarted on tick 2, then on tick 4 of row 1
        EXPECT_TRUE(f.ch().VoiceOn) << row;
    }
    EXPECT_EQ(f.ch().Volume, 0x20 - 4); // retriggered on ticks 2 and 4 of both rows
}

TEST(Effects, SampleOffsetPanningAndGlobalVolume)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 9, 0x02)}, {1, 0, cell(0, 0, 0, 8, 0x40)}, {2, 0, cell(0, 0, 0, 16, 0x20)},
        {3, 0, cell(0, 0, 0, 17, 0x02)}, {4, 0, cell(0, 0, 0xC3, 25, 0x20)}});
    EXPECT_EQ(f.ch().Position, int64_t(512) << 32);
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().Panning, 0x40);
    runTicks(f.m(), 6);
    EXPECT_EQ(f.m().GlobalVolume, 0x20);
    runTicks(f.m(), 6 + 5);
    EXPECT_EQ(f.m().GlobalVolume, 0x20 - 10);
    runTicks(f.m(), 1);
    EXPECT_EQ(f.ch().Panning, 0x30);
    runTicks(f.m(), 5);
    EXPECT_EQ(f.ch().Panning, 0x30 + 10);
}

TEST(Effects, PlayBackwardsOnTheNoteRowStartsAtTheLastFrame)
{
    // X9F on the note's own row plays the whole one-shot from its last frame down
    // (from frame 0 it would have one frame to play); X9E turns it where it is.
    XmSample oneShot = loopedSample(2000);
    oneShot.type = 0;
    oneShot.loopLength = 0;
    auto player = makePlayer(
        buildXM(simpleModule(1, {{0, 0, cell(49, 1, 0, 33, 0x9F)}, {1, 0, cell(0, 0, 0, 33, 0x9E)}}, oneShot)), 882);
    player->Play();
    const TVelaXMChannel& ch = player->Module->Channels[0];
    const int64_t last = int64_t(1999) << 32;
    for (int64_t tick = 1; tick <= 6; ++tick) { // one 882-frame block per tick
        player->Render();
        EXPECT_TRUE(ch.VoiceOn && ch.Backwards) << tick;
        EXPECT_EQ(ch.Position, last - tick * 882 * int64_t(ch.Step)) << tick;
    }
    player->Render();
    EXPECT_FALSE(ch.Backwards);
    EXPECT_EQ(ch.Position, last - 5 * 882 * int64_t(ch.Step));

    // A looping sample starts from the last frame of its loop.
    XmSample looped = loopedSample(64);
    looped.loopStart = 16;
    looped.loopLength = 32;
    auto loopPlayer = makePlayer(buildXM(simpleModule(1, {{0, 0, cell(49, 1, 0, 33, 0x9F)}}, looped)));
    loopPlayer->Play();
    loopPlayer->Module->ProcessTick();
    EXPECT_EQ(loopPlayer->Module->Channels[0].Position, int64_t(47) << 32);
}

TEST(Effects, MacrosSetTheFilter)
{
    // EF0 selects parametered macro 0 ("F0F000z": cutoff = z); Z40 sets cutoff 64.
    Fixture f
        = start({{0, 0, cell(49, 1, 0, 14, 0xF0)}, {1, 0, cell(0, 0, 0, 35, 0x40)}, {2, 0, cell(0, 0, 0, 35, 0x83)}});
    EXPECT_FALSE(f.ch().FilterActive);
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().Cutoff, 64);
    EXPECT_TRUE(f.ch().FilterActive);
    EXPECT_EQ(f.ch().FilterA0, f.player->Tables.Filter.At(0, 64)[0]);
    runTicks(f.m(), 6); // fixed macro 3: "F0F00118" sets resonance 0x18
    EXPECT_EQ(f.ch().Resonance, 0x18);
    EXPECT_EQ(f.ch().FilterB0, f.player->Tables.Filter.At(0x18, 64)[1]);
}

TEST(Effects, SmoothMacroReachesTheTargetOnTheLastTick)
{
    Fixture f = start({{0, 0, cell(49, 1, 0, 14, 0xF0)}, {1, 0, cell(0, 0, 0, 37, 0x40)}});
    runTicks(f.m(), 6);
    // From 127 towards 64 in 6 ticks: start + (tick + 1) x step.
    EXPECT_EQ(f.ch().Cutoff, static_cast<int32_t>(std::lround(127 + (64 - 127) / 6.0)));
    runTicks(f.m(), 5);
    EXPECT_EQ(f.ch().Cutoff, 64);
}

TEST(Effects, KeyOffEffectAndEnvelopePosition)
{
    Fixture f = start({{0, 0, cell(49, 1)}, {1, 0, cell(0, 0, 0, 21, 0x05)}, {2, 0, cell(0, 0, 0, 20, 0)}});
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().VolumeEnvelopeHandler.Position, 5);
    runTicks(f.m(), 6);
    EXPECT_TRUE(f.ch().Released);
    EXPECT_FALSE(f.ch().VolumeEnvelopeHandler.KeyOn);
}

TEST(Effects, FrequencyModel)
{
    TVelaXMModule m;
    EXPECT_EQ(m.GetPeriod(48, 0), 7680 - 64 * 48);
    EXPECT_EQ(m.GetFrequency(4608), 8363);
    EXPECT_EQ(m.GetFrequency(4608 - 768), 2 * 8363);
    EXPECT_EQ(m.GetNoteFromPeriod(m.GetPeriod(30, 0), 0), 30);
    EXPECT_GT(m.GetFrequency(-100), 0);
    EXPECT_EQ(m.GetFrequency(54784 + 10000), 0);
    m.LinearFrequencies = false;
    EXPECT_EQ(m.GetPeriod(48, 0), (856 * 16 * 2) >> 4);
    EXPECT_EQ(m.GetFrequency(428), 14317456 / 428);
    EXPECT_EQ(m.GetFrequency(0), 1);
    EXPECT_EQ(m.GetNoteFromPeriod(1, 0), 120);
}

// Volume effects: slides, tremolo, tremor, note cut, panning and global volume.
#include "VelaXM/EffectsFixture.h"

using namespace xmtest;

TEST(EffectsVolume, VolumeSlidesAndNoteCut)
{
    EffectsFixture f = startEffects(
        {{0, 0, cell(49, 1, 0x30, 10, 0x01)}, {1, 0, cell(0, 0, 0, 10, 0x30)}, {2, 0, cell(0, 0, 0, 14, 0xC2)}});
    runTicks(f.m(), 5);
    EXPECT_EQ(f.ch().Volume, 0x20 - 5);
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().Volume, 0x20 - 5 + 15);
    runTicks(f.m(), 3);
    EXPECT_EQ(f.ch().Volume, 0);

    // MOD slides have no memory: A00 does not slide.
    EffectsFixture mod = startEffects({{0, 0, cell(49, 1, 0x30, 10, 0x01)}, {1, 0, cell(0, 0, 0, 10, 0x00)}});
    mod.m().SlideMemory = false;
    runTicks(mod.m(), 11);
    EXPECT_EQ(mod.ch().Volume, 0x20 - 5);
}

TEST(EffectsVolume, SlidesWithBothDigitsSetGoUpByTheUpDigit)
{
    // A21, 521, 621 from volume 32 and H21 from global volume 32: up by 2 on each
    // tick after the first, the 1 ignored; the same in MOD, whose slides lack memory.
    const int32_t expected[6] = {32, 34, 36, 38, 40, 42};
    for (const bool mod : {false, true}) {
        for (const int32_t effect : {10, 5, 6}) {
            EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0x30)}, {1, 0, cell(0, 0, 0, effect, 0x21)}});
            f.m().SlideMemory = !mod;
            runTicks(f.m(), 5);
            for (int32_t tick = 0; tick < 6; ++tick) {
                f.m().ProcessTick();
                EXPECT_EQ(f.ch().Volume, expected[tick]) << "effect " << effect << " tick " << tick << " mod " << mod;
            }
        }
    }
    EffectsFixture g = startEffects({{0, 0, cell(49, 1, 0, 16, 0x20)}, {1, 0, cell(0, 0, 0, 17, 0x21)}});
    runTicks(g.m(), 5);
    for (int32_t tick = 0; tick < 6; ++tick) {
        g.m().ProcessTick();
        EXPECT_EQ(g.m().GlobalVolume, expected[tick]) << "H21 tick " << tick;
    }
}

TEST(EffectsVolume, TremoloStepsByTheSineAndTheRowsFirstTickHoldsIt)
{
    EffectsFixture t = startEffects({{0, 0, cell(49, 1, 0, 7, 0x4F)}, {1, 0, cell(0, 0, 0, 7, 0x00)}});
    t.m().ProcessTick();
    EXPECT_EQ(t.ch().VolumeOffset, 0); // position 0 of the sine
    // Position 4: sine entry 49, doubled 98; depth 15: 98 x 15 / 64 = 1470 / 64 = 22.
    t.m().ProcessTick();
    EXPECT_EQ(t.ch().VolumeOffset, 22);
    // Row 1 (700) starts at position 20, where ticks 1..5 left it: sine 117, 234 x 15 / 64 = 54.
    runTicks(t.m(), 4);
    EXPECT_EQ(t.ch().TremoloPosition, 20);
    EXPECT_EQ(t.ch().VolumeOffset, 54);

    // MOD's first tick plays the plain volume.
    EffectsFixture mod = startEffects({{0, 0, cell(49, 1, 0, 7, 0x4F)}, {1, 0, cell(0, 0, 0, 7, 0x00)}});
    mod.m().RowTickHoldsModulation = false;
    runTicks(mod.m(), 6);
    EXPECT_EQ(mod.ch().VolumeOffset, 0);
}

TEST(EffectsVolume, TremorSoundsXPlusOneTicksAndIsSilentYPlusOne)
{
    // T12: on for 2 ticks, off for 3, counted from the row's second tick (volume 64).
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 29, 0x12)}});
    EXPECT_GT(f.ch().FinalVolume, 0);
    const bool silent[5] = {false, false, true, true, true};
    for (int32_t tick = 1; tick <= 5; ++tick) {
        f.m().ProcessTick();
        EXPECT_EQ(f.ch().FinalVolume == 0, silent[tick - 1]) << tick;
        if (tick == 2) {
            EXPECT_EQ(f.ch().FinalVolume, 4096);
        }
    }

    // T00 with nothing in memory: lengths 0 and 0 sound one tick, then rest one.
    EffectsFixture none = startEffects({{0, 0, cell(49, 1, 0, 29, 0x00)}});
    for (int32_t tick = 1; tick <= 4; ++tick) {
        none.m().ProcessTick();
        EXPECT_EQ(none.ch().FinalVolume == 0, tick % 2 == 0) << tick;
    }
}

TEST(EffectsVolume, TremorSilenceLastsUntilAnInstrumentNumberOrTheTremorSounds)
{
    // T01 on row 0: ticks 1 on, 2-3 off, 4 on, 5 off. The silence then holds through rows
    // without the effect, a note without an instrument and a set volume; an instrument
    // number restores the sample's volume.
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 29, 0x01)},
                                     {1, 0, cell(0, 0, 0, 0, 0x00)},
                                     {2, 0, cell(50, 0, 0, 12, 0x30)},
                                     {3, 0, cell(0, 1, 0, 0, 0x00)}});
    runTicks(f.m(), 5);
    EXPECT_EQ(f.ch().FinalVolume, 0);
    for (int32_t tick = 0; tick < 12; ++tick) {
        f.m().ProcessTick();
        EXPECT_EQ(f.ch().FinalVolume, 0) << "row " << f.m().CurrentRow << " tick " << f.m().Tick;
    }
    f.m().ProcessTick(); // row 3
    EXPECT_EQ(f.ch().FinalVolume, 4096);
}

TEST(EffectsVolume, SampleOffsetPanningAndGlobalVolume)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 9, 0x02)},
                                     {1, 0, cell(0, 0, 0, 8, 0x40)},
                                     {2, 0, cell(0, 0, 0, 16, 0x20)},
                                     {3, 0, cell(0, 0, 0, 17, 0x02)},
                                     {4, 0, cell(0, 0, 0xC3, 25, 0x20)}});
    EXPECT_EQ(f.ch().Position, 0); // 512 frames is past the 64-frame loop: it starts over
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

TEST(EffectsVolume, NoteCutAtZeroCutsOnTheFirstTick)
{
    // EC0 silences at once; EC2 on tick 2 (volume 32 until then).
    EffectsFixture now = startEffects({{0, 0, cell(49, 1, 0x30, 14, 0xC0)}});
    EXPECT_EQ(now.ch().Volume, 0);
    EffectsFixture later = startEffects({{0, 0, cell(49, 1, 0x30, 14, 0xC2)}});
    const int32_t expected[3] = {32, 32, 0};
    for (int32_t tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(later.ch().Volume, expected[tick]) << tick;
        later.m().ProcessTick();
    }
}

TEST(EffectsVolume, ModFineVolumeSlidesHaveNoMemory)
{
    // EA2 then EA0, EB3 then EB0, from volume 32: XM repeats the last value, MOD does nothing.
    for (const bool mod : {false, true}) {
        EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0x30)},
                                         {1, 0, cell(0, 0, 0, 14, 0xA2)},
                                         {2, 0, cell(0, 0, 0, 14, 0xA0)},
                                         {3, 0, cell(0, 0, 0, 14, 0xB3)},
                                         {4, 0, cell(0, 0, 0, 14, 0xB0)}});
        f.m().SlideMemory = !mod;
        const int32_t xm[4] = {34, 36, 33, 30};
        const int32_t modVolumes[4] = {34, 34, 31, 31};
        for (int32_t row = 0; row < 4; ++row) {
            runTicks(f.m(), 6);
            EXPECT_EQ(f.ch().Volume, mod ? modVolumes[row] : xm[row]) << "row " << row + 1 << " mod " << mod;
        }
    }
}

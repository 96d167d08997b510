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

TEST(EffectsVolume, TremoloStepsByTheSine)
{
    EffectsFixture t = startEffects({{0, 0, cell(49, 1, 0, 7, 0x4F)}, {0, 0, cell(49, 1, 0, 7, 0x4F)}});
    t.m().ProcessTick();
    EXPECT_EQ(t.ch().VolumeOffset, 0); // position 0 of the sine
    // Position 4: sine entry 49, doubled 98; depth 15: (98 x 15) asr 6 = 1470 asr 6 = 22.
    t.m().ProcessTick();
    EXPECT_EQ(t.ch().VolumeOffset, 22);
}

TEST(EffectsVolume, TremorSilencesTheOffPhaseAndZeroLengthsDoNothing)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 29, 0x12)}});
    // On for 1 tick, off for 2: tick 0 counted as on.
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().VolumeOffset, -64);
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().VolumeOffset, -64);
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().VolumeOffset, 0);
    EXPECT_EQ(f.ch().FinalVolume, 4096);

    EffectsFixture none = startEffects({{0, 0, cell(49, 1, 0, 29, 0x00)}});
    runTicks(none.m(), 3);
    EXPECT_EQ(none.ch().VolumeOffset, 0);
}

TEST(EffectsVolume, SampleOffsetPanningAndGlobalVolume)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 9, 0x02)},
                                     {1, 0, cell(0, 0, 0, 8, 0x40)},
                                     {2, 0, cell(0, 0, 0, 16, 0x20)},
                                     {3, 0, cell(0, 0, 0, 17, 0x02)},
                                     {4, 0, cell(0, 0, 0xC3, 25, 0x20)}});
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

// Volume-column commands, alone and beside the effect column.
#include "VelaXM/EffectsFixture.h"

using namespace xmtest;

TEST(VolumeColumn, VolumeColumnPortamentoSharesTheMemoryInStepsOfSixteen)
{
    // M4 glides as fast as 340; M0 on the next row keeps that speed.
    EffectsFixture a = startEffects({{0, 0, cell(49, 1)}, {1, 0, cell(60, 0, 0xF4)}, {2, 0, cell(0, 0, 0xF0)}});
    EffectsFixture b =
        startEffects({{0, 0, cell(49, 1)}, {1, 0, cell(60, 0, 0, 3, 0x40)}, {2, 0, cell(0, 0, 0, 3, 0x00)}});
    runTicks(a.m(), 7);
    runTicks(b.m(), 7);
    EXPECT_EQ(a.ch().Period, b.ch().Period);
    runTicks(a.m(), 6);
    runTicks(b.m(), 6);
    EXPECT_EQ(a.ch().TonePortamentoMemory, 64);
    EXPECT_EQ(a.ch().TonePortamentoMemory, b.ch().TonePortamentoMemory);
    EXPECT_EQ(a.ch().Period, b.ch().Period);
}

TEST(VolumeColumn, FineVolumeAndVolumeColumnSlides)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0x30, 14, 0xA4)}, {1, 0, cell(0, 0, 0x62)}});
    EXPECT_EQ(f.ch().Volume, 0x20 + 4);
    runTicks(f.m(), 6 + 5);
    EXPECT_EQ(f.ch().Volume, 0x24 - 10);
}

// Pitch effects: arpeggio, portamentos, glissando, vibrato and the frequency model.
#include "VelaXM/EffectsFixture.h"

using namespace xmtest;

TEST(EffectsPitch, ArpeggioOffsetsInLinearMode)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 0, 0x37)}});
    const int32_t expected[] = {0, -192, -448, 0, -192, -448};
    EXPECT_EQ(f.ch().PeriodOffset, expected[0]);
    for (int tick = 1; tick < 6; ++tick) {
        f.m().ProcessTick();
        EXPECT_EQ(f.ch().PeriodOffset, expected[tick]) << tick;
    }
}

TEST(EffectsPitch, ArpeggioOffsetsInAmigaMode)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 0, 0x0C)}}, false);
    const int32_t base = f.m().GetPeriod(f.ch().Note, f.ch().Finetune);
    EXPECT_EQ(f.ch().ArpeggioOffsets[2], f.m().GetPeriod(f.ch().Note + 12, 0) - base);
    EXPECT_EQ(f.ch().ArpeggioOffsets[2], -base / 2);
}

TEST(EffectsPitch, PortamentosMoveThePeriod)
{
    EffectsFixture f =
        startEffects({{0, 0, cell(49, 1, 0, 1, 0x02)}, {1, 0, cell(0, 0, 0, 2, 0)}, {2, 0, cell(0, 0, 0, 14, 0x13)}});
    const int32_t period = f.ch().Period;
    runTicks(f.m(), 5);
    EXPECT_EQ(f.ch().Period, period - 5 * 8);
    runTicks(f.m(), 6); // row 1: 2xx without a parameter has no memory yet
    EXPECT_EQ(f.ch().Period, period - 5 * 8);
    f.m().ProcessTick(); // row 2: fine portamento up by 3 once
    EXPECT_EQ(f.ch().Period, period - 40 - 12);
    EXPECT_EQ(f.ch().TargetPeriod, f.ch().Period);
}

TEST(EffectsPitch, TonePortamentoSlidesToTheTargetAndStops)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1)}, {1, 0, cell(50, 1, 0, 3, 0x10)}});
    const int32_t from = f.ch().Period;
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().Period, from); // a portamento note does not restart
    EXPECT_EQ(f.ch().TargetPeriod, from - 64);
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().Period, from - 64); // 4 x 16 per tick reaches it at once
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().Period, from - 64);
}

TEST(EffectsPitch, GlissandoStopsOnSemitones)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 14, 0x31)}, {1, 0, cell(53, 0, 0, 3, 0xFF)}});
    runTicks(f.m(), 6);
    const int32_t from = f.ch().Period;
    for (int semitone = 1; semitone <= 4; ++semitone) {
        f.m().ProcessTick();
        EXPECT_EQ(f.ch().Period, from - 64 * semitone);
    }
}

TEST(EffectsPitch, VibratoMovesOnTheLaterTicksAndTheRowsFirstTickHoldsIt)
{
    // 448: speed 4, depth 8; offset 4 x (2 x sine x depth / 128). Sine entries: position
    // 4 -> 49, 8 -> 90, 12 -> 117, 16 -> 127, 20 -> 117, 40 -> -90.
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 4, 0x48)},
                                     {1, 0, cell(0, 0, 0, 4, 0x02)},
                                     {2, 0, cell(0, 1, 0, 4, 0x00)},
                                     {3, 0, cell(49, 0, 0, 4, 0x00)}});
    // Row 0: tick 0 holds position 0; ticks 1..5 apply positions 0, 4, 8, 12, 16 and move on.
    EXPECT_EQ(f.ch().PeriodOffset, 0);
    const int32_t firstRow[5] = {0, 4 * 6, 4 * 11, 4 * 14, 4 * 15};
    for (int32_t tick = 1; tick <= 5; ++tick) {
        f.m().ProcessTick();
        EXPECT_EQ(f.ch().PeriodOffset, firstRow[tick - 1]) << tick;
    }
    // Row 1: 402 changes the depth, keeps the speed, and its first tick holds position 20
    // without moving: 234 x 2 / 128 = 3, then tick 1 applies position 20 again.
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().PeriodOffset, 4 * 3);
    EXPECT_EQ(f.ch().VibratoPosition, 20);
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().PeriodOffset, 4 * 3);
    EXPECT_EQ(f.ch().VibratoSpeed, 4);
    EXPECT_EQ(f.ch().VibratoDepth, 2);
    runTicks(f.m(), 4);
    // Row 2: an instrument number alone keeps the phase: position 40, -180 x 2 / 128 = -2.
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().VibratoPosition, 40);
    EXPECT_EQ(f.ch().PeriodOffset, 4 * -2);
    runTicks(f.m(), 5);
    // Row 3: a new note starts the wave from the top.
    f.m().ProcessTick();
    EXPECT_EQ(f.ch().VibratoPosition, 0);
    EXPECT_EQ(f.ch().PeriodOffset, 0);

    // MOD plays the plain note on a row's first tick, however far the wave has run.
    EffectsFixture mod = startEffects({{0, 0, cell(49, 1, 0, 4, 0x48)}, {1, 0, cell(0, 0, 0, 4, 0x00)}});
    mod.m().RowTickHoldsModulation = false;
    runTicks(mod.m(), 6);
    EXPECT_EQ(mod.ch().VibratoPosition, 20);
    EXPECT_EQ(mod.ch().PeriodOffset, 0);
}

TEST(EffectsPitch, VibratoAndTremoloSwingAsFarBelowAsAbove)
{
    // Speed 8, depth 15: tick 3 reads position 16 (sine 127), row 1's tick 2 position 48 (-127).
    // 254 x 15 / 128 = 29.8 and 254 x 15 / 64 = 59.5 keep 29 and 59 on both sides; a shift
    // would give -30 and -60 below.
    for (const int32_t effect : {4, 7}) {
        EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, effect, 0x8F)}, {1, 0, cell(0, 0, 0, effect, 0x00)}});
        const auto offset = [&] { return effect == 4 ? f.ch().PeriodOffset : f.ch().VolumeOffset; };
        const int32_t peak = effect == 4 ? 4 * 29 : 59;
        runTicks(f.m(), 3);
        EXPECT_EQ(offset(), peak) << effect;
        runTicks(f.m(), 5);
        EXPECT_EQ(offset(), -peak) << effect;
    }
}

TEST(EffectsPitch, VibratoAtSpeedOneNeverModulates)
{
    // Every tick is a row's first: the wave holds at position 0 and never moves.
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 4, 0x8F)},
                                     {0, 1, cell(0, 0, 0, 15, 0x01)},
                                     {1, 0, cell(0, 0, 0, 4, 0x8F)},
                                     {2, 0, cell(0, 0, 0, 6, 0x00)},
                                     {3, 0, cell(0, 0, 0, 4, 0x00)}},
                                    true, 2);
    for (int32_t row = 1; row <= 3; ++row) {
        f.m().ProcessTick();
        EXPECT_EQ(f.m().CurrentRow, row + 1); // the row to read next
        EXPECT_EQ(f.ch().PeriodOffset, 0) << row;
        EXPECT_EQ(f.ch().VibratoPosition, 0) << row;
    }
}

TEST(EffectsPitch, FrequencyModel)
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

TEST(EffectsPitch, FinetuneDigitCountsEighthsOfASemitone)
{
    // Linear periods: C-4 (note 48 from 0) is 7680 - 64 x 48 = 4608; a finetune f takes f asr 1 off.
    // XM E5y is y - 8 eighths: E52 = -6 x 16 = -96, period 4608 + 48 = 4656; E5F = +7 x 16 = 112, 4552.
    // MOD reads the digit as -8..7: E52 = +32, period 4592; E5E = -2 x 16 = -32, period 4624.
    struct Case {
        bool mod;
        int32_t parameter, finetune, period;
    };
    for (const Case c : {Case{false, 0x52, -96, 4656}, Case{false, 0x5F, 112, 4552}, Case{true, 0x52, 32, 4592},
                         Case{true, 0x5E, -32, 4624}}) {
        EffectsFixture f = startEffects(
            {{0, 0, cell(49, 1)}, {1, 0, cell(49, 0, 0, 14, c.parameter)}, {2, 0, cell(0, 0, 0, 14, 0x5C)}});
        f.m().SignedFinetuneDigit = c.mod;
        runTicks(f.m(), 6);
        EXPECT_EQ(f.ch().Finetune, c.finetune) << c.parameter;
        EXPECT_EQ(f.ch().Period, c.period) << c.parameter;
        // Without a note of its own the digit changes nothing.
        runTicks(f.m(), 6);
        EXPECT_EQ(f.ch().Finetune, c.finetune) << c.parameter;
        EXPECT_EQ(f.ch().Period, c.period) << c.parameter;
    }
}

TEST(EffectsPitch, ModFinePortamentosHaveNoMemory)
{
    // E12 then E10, E23 then E20: XM repeats the last value (4 period units each), MOD does nothing.
    for (const bool mod : {false, true}) {
        EffectsFixture f = startEffects({{0, 0, cell(49, 1)},
                                         {1, 0, cell(0, 0, 0, 14, 0x12)},
                                         {2, 0, cell(0, 0, 0, 14, 0x10)},
                                         {3, 0, cell(0, 0, 0, 14, 0x23)},
                                         {4, 0, cell(0, 0, 0, 14, 0x20)}});
        f.m().SlideMemory = !mod;
        const int32_t from = f.ch().Period;
        const int32_t xm[4] = {-8, -16, -4, 8};
        const int32_t modOffsets[4] = {-8, -8, 4, 4};
        for (int32_t row = 0; row < 4; ++row) {
            runTicks(f.m(), 6);
            EXPECT_EQ(f.ch().Period - from, mod ? modOffsets[row] : xm[row]) << "row " << row + 1 << " mod " << mod;
        }
    }
}

TEST(EffectsPitch, ModSlidesStopAtTheFormatsHighestAndLowestNotes)
{
    // Quarter periods: C-4 (MOD's C-2) is 4 x 428 = 1712. 1FF climbs 4 x 255 = 1020 a tick, so
    // 1712 - 1020 = 692, then the period of MOD's B-3 (B-5 here), 453; 2FF falls to C-1's
    // 4 x 856 = 3424 in two ticks.
    EffectsFixture up = startEffects({{0, 0, cell(49, 1, 0, 1, 0xFF)}}, false);
    up.m().ModPeriodLimits = true;
    EXPECT_EQ(up.ch().Period, 1712);
    EXPECT_EQ(up.m().GetPeriod(71, 0), 453);
    EXPECT_EQ(up.m().GetPeriod(36, 0), 3424);
    const int32_t upwards[3] = {692, 453, 453};
    for (const int32_t period : upwards) {
        up.m().ProcessTick();
        EXPECT_EQ(up.ch().Period, period);
    }
    EffectsFixture down = startEffects({{0, 0, cell(49, 1, 0, 2, 0xFF)}}, false);
    down.m().ModPeriodLimits = true;
    const int32_t downwards[3] = {2732, 3424, 3424};
    for (const int32_t period : downwards) {
        down.m().ProcessTick();
        EXPECT_EQ(down.ch().Period, period);
    }
    // XM in Amiga mode slides on to the player's own limit, period 27.
    EffectsFixture xm = startEffects({{0, 0, cell(49, 1, 0, 1, 0xFF)}}, false);
    runTicks(xm.m(), 2);
    EXPECT_EQ(xm.ch().Period, 27);
}

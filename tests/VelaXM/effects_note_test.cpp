// Note effects: delay, retrigger, key off and envelope position.
#include "VelaXM/EffectsFixture.h"

using namespace xmtest;

TEST(EffectsNote, NoteDelayTriggersOnItsTickOrNever)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 14, 0xD3)}});
    EXPECT_FALSE(f.ch().VoiceOn);
    runTicks(f.m(), 2);
    EXPECT_FALSE(f.ch().VoiceOn);
    f.m().ProcessTick();
    EXPECT_TRUE(f.ch().VoiceOn);

    EffectsFixture never = startEffects({{0, 0, cell(49, 1, 0, 14, 0xD6)}});
    runTicks(never.m(), 6);
    EXPECT_FALSE(never.ch().VoiceOn);
}

TEST(EffectsNote, RetriggerRestartsAndChangesVolume)
{
    // R12: every second tick the note restarts and loses 1; the instrument number of
    // the cell does not bring back the sample's volume. A row without a note goes on.
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0x30, 27, 0x12)}, {1, 0, cell(0, 0, 0, 27, 0x12)}});
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

TEST(EffectsNote, KeyOffEffectAndEnvelopePosition)
{
    EffectsFixture f =
        startEffects({{0, 0, cell(49, 1)}, {1, 0, cell(0, 0, 0, 21, 0x05)}, {2, 0, cell(0, 0, 0, 20, 0)}});
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().VolumeEnvelopeHandler.Position, 5);
    runTicks(f.m(), 6);
    EXPECT_TRUE(f.ch().Released);
    EXPECT_FALSE(f.ch().VolumeEnvelopeHandler.KeyOn);
}

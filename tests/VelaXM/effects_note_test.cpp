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

TEST(EffectsNote, SampleOffsetInsideTheSampleOrPastALoopsEnd)
{
    // A 2000-frame sample looping over frames 1000..1999: 907 = frame 1792 plays
    // from there; 908 = frame 2048 lies past the end and goes on from the loop start.
    XmSample s = loopedSample(2000);
    s.loopStart = 1000;
    s.loopLength = 1000;
    auto player = makePlayer(buildXM(simpleModule(
        1, {{0, 0, cell(49, 1, 0, 9, 0x07)}, {1, 0, cell(49, 1, 0, 9, 0x08)}, {2, 0, cell(0, 0, 0, 9, 0x08)}}, s)));
    player->Play();
    const TVelaXMChannel& ch = player->Module->Channels[0];
    player->Module->ProcessTick();
    EXPECT_EQ(ch.Position, int64_t(1792) << 32);
    runTicks(*player->Module, 6);
    EXPECT_EQ(ch.Position, int64_t(1000) << 32);
    runTicks(*player->Module, 6); // without a note too
    EXPECT_EQ(ch.Position, int64_t(1000) << 32);
    EXPECT_TRUE(ch.VoiceOn);
}

TEST(EffectsNote, KeyOffEffectReleasesOnItsTick)
{
    // K02 releases on tick 2 of its row, K00 at once, K20 (past the row's 6 ticks) never.
    EffectsFixture k2 = startEffects({{0, 0, cell(49, 1, 0, 20, 0x02)}});
    const bool released[3] = {false, false, true};
    for (int32_t tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(k2.ch().Released, released[tick]) << tick;
        k2.m().ProcessTick();
    }
    EffectsFixture k0 = startEffects({{0, 0, cell(49, 1, 0, 20, 0x00)}});
    EXPECT_TRUE(k0.ch().Released);
    EffectsFixture never = startEffects({{0, 0, cell(49, 1, 0, 20, 0x20)}});
    runTicks(never.m(), 5);
    EXPECT_FALSE(never.ch().Released);
}

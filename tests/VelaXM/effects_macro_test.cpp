// Sound control: MIDI macros on the filter, and the play direction.
#include "VelaXM/EffectsFixture.h"

#include <cmath>

using namespace xmtest;

TEST(EffectsMacro, PlayBackwardsOnTheNoteRowStartsAtTheLastFrame)
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

TEST(EffectsMacro, MacrosSetTheFilter)
{
    // EF0 selects parametered macro 0 ("F0F000z": cutoff = z); Z40 sets cutoff 64.
    EffectsFixture f = startEffects(
        {{0, 0, cell(49, 1, 0, 14, 0xF0)}, {1, 0, cell(0, 0, 0, 35, 0x40)}, {2, 0, cell(0, 0, 0, 35, 0x83)}});
    EXPECT_FALSE(f.ch().FilterActive);
    runTicks(f.m(), 6);
    EXPECT_EQ(f.ch().Cutoff, 64);
    EXPECT_TRUE(f.ch().FilterActive);
    EXPECT_EQ(f.ch().FilterA0, f.player->Tables.Filter.At(0, 64)[0]);
    runTicks(f.m(), 6); // fixed macro 3: "F0F00118" sets resonance 0x18
    EXPECT_EQ(f.ch().Resonance, 0x18);
    EXPECT_EQ(f.ch().FilterB0, f.player->Tables.Filter.At(0x18, 64)[1]);
}

TEST(EffectsMacro, SmoothMacroReachesTheTargetOnTheLastTick)
{
    EffectsFixture f = startEffects({{0, 0, cell(49, 1, 0, 14, 0xF0)}, {1, 0, cell(0, 0, 0, 37, 0x40)}});
    runTicks(f.m(), 6);
    // From 127 towards 64 in 6 ticks: start + (tick + 1) x step.
    EXPECT_EQ(f.ch().Cutoff, static_cast<int32_t>(std::lround(127 + (64 - 127) / 6.0)));
    runTicks(f.m(), 5);
    EXPECT_EQ(f.ch().Cutoff, 64);
}

// Envelopes, fade-out, key off, panning and the hand-over to background voices.
#include "VelaXM/PlayerHelpers.h"

#include <algorithm>

using namespace xmtest;

namespace {

TVelaXMEnvelope envelope(std::vector<std::pair<int32_t, int32_t>> points)
{
    TVelaXMEnvelope env;
    for (size_t k = 0; k < points.size(); ++k)
        env.Points[k] = {points[k].first, points[k].second};
    env.NumPoints = static_cast<int32_t>(points.size());
    env.Enabled = true;
    return env;
}

std::unique_ptr<TVelaXM> playerWith(XmInstrument instrument,
    const std::vector<std::tuple<int32_t, int32_t, TVelaXMPatternNote>>& cells, int32_t channels = 1)
{
    XmModule spec = simpleModule(channels, cells, loopedSample());
    instrument.samples = spec.instruments[0].samples;
    spec.instruments[0] = instrument;
    auto player = makePlayer(buildXM(spec));
    player->Play();
    return player;
}

} // namespace

TEST(ChannelEnvelope, SustainHoldsThenReleaseFallsInSixteenSixteenSteps)
{
    TVelaXMEnvelope env = envelope({{0, 64}, {10, 0}});
    env.SustainEnabled = true;
    env.SustainPoint = 0;
    TVelaXMEnvelopeHandler h;
    h.Envelope = &env;
    h.SetPosition(0);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(h.Step(), 64);
    h.KeyOn = false;
    EXPECT_EQ(h.Step(), 64); // the key-off tick still reads the sustain value
    const int32_t delta = -64 * 65536 / 10;
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(h.Step(), (64 * 65536 + k * delta) >> 16) << k;
    EXPECT_EQ(h.Step(), 0);
}

TEST(ChannelEnvelope, LoopJumpsBackAndSetPositionInterpolates)
{
    TVelaXMEnvelope env = envelope({{0, 0}, {4, 40}, {8, 20}});
    env.LoopEnabled = true;
    env.LoopStart = 1;
    env.LoopEnd = 2;
    TVelaXMEnvelopeHandler h;
    h.Envelope = &env;
    h.SetPosition(0);
    std::vector<int32_t> values;
    for (int i = 0; i < 14; ++i)
        values.push_back(h.Step());
    EXPECT_EQ(values[4], 40);
    EXPECT_EQ(values[8], 40); // point 2 reached: back to X[1]
    EXPECT_EQ(values[12], 40);
    h.SetPosition(6);
    EXPECT_EQ(h.Point, 1);
    EXPECT_EQ(h.Value >> 16, 30);
    h.SetPosition(9); // past the loop end point: at the loop start
    EXPECT_EQ(h.Position, 4);
}

TEST(ChannelEnvelope, FadeoutSilencesAfterEightTicks)
{
    XmInstrument ins;
    ins.fadeout = 4096;
    ins.volume.points = {{0, 64}, {10, 64}};
    ins.volume.type = 1 | 2; // on, sustain at point 0
    auto player = playerWith(ins, {{0, 0, cell(49, 1)}, {1, 0, cell(97)}});
    TVelaXMModule& m = *player->Module;
    runTicks(m, 6);
    EXPECT_EQ(m.Channels[0].FinalVolume, 4096);
    m.ProcessTick(); // key off: the first fade step
    EXPECT_EQ(m.Channels[0].FadeoutVolume, 65536 - 8192);
    runTicks(m, 7);
    EXPECT_EQ(m.Channels[0].FadeoutVolume, 0);
    EXPECT_EQ(m.Channels[0].FinalVolume, 0);
}

TEST(ChannelEnvelope, KeyOffWithoutVolumeEnvelopeIsImmediate)
{
    auto player = playerWith(XmInstrument{}, {{0, 0, cell(49, 1)}, {1, 0, cell(97)}});
    TVelaXMModule& m = *player->Module;
    runTicks(m, 6);
    EXPECT_EQ(m.Channels[0].EnvVolume, 64);
    m.ProcessTick();
    EXPECT_EQ(m.Channels[0].EnvVolume, 0);
    EXPECT_EQ(m.Channels[0].FinalVolume, 0);
}

TEST(ChannelEnvelope, EnvelopeStartingAtZeroIsAnAttackAndEndsOnItsLastPointUntilLMovesIt)
{
    XmInstrument ins;
    ins.volume.points = {{0, 0}, {1, 62}, {2, 38}, {16, 0}};
    ins.volume.type = 1;
    auto player = playerWith(ins, {{0, 0, cell(49, 1)}, {5, 0, cell(0, 0, 0, 21, 0x01)}});
    TVelaXMChannel& ch = player->Module->Channels[0];
    player->Render(); // tick 0 at envelope 0 (the ramp ends at gain 0), tick 1 at 62
    player->Render(); // tick 2 at 38
    EXPECT_TRUE(ch.VoiceOn);
    EXPECT_EQ(ch.EnvVolume, 38);
    EXPECT_NE(*std::max_element(player->Mix.begin(), player->Mix.end()), 0);
    for (int i = 0; i < 16; ++i)
        player->Render();
    EXPECT_FALSE(ch.VoiceOn); // resting at 0 on the last point: silent for good...
    while (player->Module->PlayedRow < 5)
        player->Render();
    // ...unless L01 on row 5 moves the envelope back to its point at 62.
    EXPECT_TRUE(ch.VoiceOn);
    player->Render();
    EXPECT_GT(ch.EnvVolume, 0);
    EXPECT_NE(*std::max_element(player->Mix.begin(), player->Mix.end()), 0);
}

TEST(ChannelEnvelope, PanningEnvelopeAndFinalPanning)
{
    XmInstrument ins;
    ins.panning.points = {{0, 64}, {10, 0}};
    ins.panning.type = 1;
    auto player = playerWith(ins, {{0, 0, cell(49, 1, 0, 8, 0)}});
    TVelaXMChannel& ch = player->Module->Channels[0];
    runTicks(*player->Module, 1);
    EXPECT_EQ(ch.EnvPanning, 64);
    EXPECT_EQ(ch.FinalPanning, 0); // panning 0 leaves no room to move
    EXPECT_EQ(ch.VolumeR, 0);
    ch.Panning = 128;
    ch.PanningEnvelopeHandler.SetPosition(10);
    player->Module->Channels[0].Cell = {};
    runTicks(*player->Module, 1);
    EXPECT_EQ(ch.EnvPanning, 0);
    EXPECT_EQ(ch.FinalPanning, 0);
}

TEST(ChannelEnvelope, AutoVibratoSweepsIn)
{
    XmInstrument ins;
    ins.vibratoType = 1; // square: +64 for the first half
    ins.vibratoDepth = 8;
    ins.vibratoSweep = 4;
    ins.vibratoRate = 1;
    auto player = playerWith(ins, {{0, 0, cell(49, 1)}});
    TVelaXMChannel& ch = player->Module->Channels[0];
    std::vector<int32_t> offsets;
    for (int i = 0; i < 6; ++i) {
        player->Module->ProcessTick();
        offsets.push_back(ch.PeriodOffset);
    }
    EXPECT_EQ(offsets, (std::vector<int32_t>{0, 2, 4, 6, 8, 8}));
}

TEST(ChannelEnvelope, NewNoteHandsTheOldVoiceToTheBackground)
{
    auto player = playerWith(XmInstrument{}, {{0, 0, cell(49, 1)}, {1, 0, cell(61, 1)}});
    TVelaXMModule& m = *player->Module;
    player->Render(); // the first note sounds and ramps up (ticks 0 and 1)
    runTicks(m, 4);
    TVelaXMChannel& ch = m.Channels[0];
    const int64_t period = ch.Period;
    m.ProcessTick(); // row 1
    TVelaXMChannel& old = m.BackgroundChannels[0];
    EXPECT_TRUE(old.VoiceOn);
    EXPECT_EQ(old.Period, period);
    EXPECT_EQ(old.FadeoutVolume, 0);
    EXPECT_EQ(old.TargetGainL, 0);
    EXPECT_EQ(old.RampRemaining, 128);
    EXPECT_NE(old.RampDeltaL, 0);
    EXPECT_EQ(old.Bank, TVelaXMBank::Background);
    EXPECT_EQ(old.Index, 0);
    EXPECT_TRUE(ch.VoiceOn);
    EXPECT_EQ(ch.CurrentGainL, 0);
    EXPECT_GT(ch.TargetGainL, 0);
    EXPECT_EQ(ch.RampRemaining, 128);
    // After the ramp the background voice has ended.
    player->TickRemaining = m.SamplesPerTick;
    player->Render();
    EXPECT_FALSE(old.VoiceOn);
    EXPECT_TRUE(ch.VoiceOn);
}

TEST(ChannelEnvelope, FullBackgroundBankTakesTheQuietestVoice)
{
    auto player = playerWith(XmInstrument{}, {{0, 0, cell(49, 1)}, {1, 0, cell(61, 1)}});
    TVelaXMModule& m = *player->Module;
    runTicks(m, 6);
    for (TVelaXMChannel& bg : m.BackgroundChannels) {
        bg.VoiceOn = true;
        bg.FinalVolume = 1000;
        bg.LastOutputL = 0;
    }
    m.BackgroundChannels[77].FinalVolume = 3;
    m.BackgroundChannels[78].FinalVolume = 3;
    m.BackgroundChannels[77].LastOutputL = 500;
    m.ProcessTick();
    EXPECT_EQ(m.BackgroundChannels[77].Period, m.GetPeriod(48, 0));
    EXPECT_EQ(m.BackgroundChannels[77].Index, 77);
    EXPECT_EQ(m.ClickRemovalL, 500); // the voice it replaced goes to the click-removal tail
}

TEST(ChannelEnvelope, PortamentoOrInstrumentAloneResetsVolumeAndKeepsTheVoice)
{
    auto player = playerWith(XmInstrument{},
        {{0, 0, cell(49, 1, 0x20)}, {1, 0, cell(61, 1, 0, 3, 0x01)}, {2, 0, cell(0, 0, 0x20)}, {3, 0, cell(0, 1)}});
    TVelaXMModule& m = *player->Module;
    for (int row = 1; row <= 3; row += 2) {
        runTicks(m, row == 1 ? 6 : 11);
        m.Channels[0].Position = int64_t(10) << 32;
        m.ProcessTick();
        EXPECT_EQ(m.Channels[0].Volume, 64) << row;
        EXPECT_EQ(m.Channels[0].Position, int64_t(10) << 32) << row;
        EXPECT_TRUE(m.Channels[0].VoiceOn) << row;
        // No copy of the voice ramps out beside it: the same sample would sound twice.
        EXPECT_FALSE(m.BackgroundChannels[0].VoiceOn) << row;
    }
}

// Tick length, the first blocks after Play, row length, jumps, loops and song end.
#include "VelaXM/PlayerHelpers.h"

using namespace xmtest;

namespace {

// Ticks the module until the row counter leaves the given row (or a limit passes).
int32_t ticksUntilRowChanges(TVelaXMModule& m)
{
    const int32_t order = m.CurrentOrder, row = m.CurrentRow;
    int32_t ticks = 0;
    do {
        m.ProcessTick();
        ++ticks;
    } while (m.CurrentRow == row && m.CurrentOrder == order && ticks < 1000);
    return ticks;
}

// Records (order, row) of every row started until the song ends or a limit passes; with
// endAfterRepeats > 0 the song loops and ends when it comes back to a played row that often.
std::vector<std::pair<int32_t, int32_t>> rowsPlayed(TVelaXM& player, int32_t limit = 400, int32_t endAfterRepeats = 0)
{
    TVelaXMModule& m = *player.Module;
    player.LoopSong = endAfterRepeats > 0;
    player.EndAfterRepeats = endAfterRepeats;
    player.Play();
    std::vector<std::pair<int32_t, int32_t>> rows;
    for (int32_t i = 0; i < limit * 6 && !m.SongEnded; ++i) {
        m.ProcessTick();
        if (m.Tick == 0 && !m.SongEnded)
            rows.push_back({m.PlayedOrder, m.PlayedRow});
    }
    return rows;
}

} // namespace

TEST(SequencerTiming, TickLengthFollowsBpm)
{
    TVelaXMModule m(44100);
    m.BPM = 125;
    EXPECT_EQ(m.ComputeSamplesPerTick(), 882);
    m.BPM = 255;
    EXPECT_EQ(m.ComputeSamplesPerTick(), 432);
    m.BPM = 0;
    EXPECT_EQ(m.ComputeSamplesPerTick(), 882);
    EXPECT_EQ(m.BPM, 125);
}

TEST(SequencerTiming, FirstTwoBlocksAfterPlay)
{
    auto player = makePlayer(buildXM(simpleModule(1, {{0, 0, cell(49, 1)}}, loopedSample())));
    EXPECT_TRUE(player->Play());
    EXPECT_EQ(player->TickRemaining, 0);
    player->Render();
    // Tick 0 ran from frame 0, tick 1 from frame 882: 740 frames of it remain.
    EXPECT_EQ(player->Module->Tick, 1);
    EXPECT_EQ(player->TickRemaining, 740);
    // The first frame already sounds: row 0's note started at tick 0.
    EXPECT_NE(player->Mix[0] | player->Mix[2] | player->Mix[200], 0);
    player->Render();
    EXPECT_EQ(player->Module->Tick, 2);
    EXPECT_EQ(player->TickRemaining, 882 - (1024 - 740));
}

TEST(SequencerTiming, RenderWhileStoppedIsSilentAndKeepsPosition)
{
    auto player = makePlayer(buildXM(simpleModule(1, {{0, 0, cell(49, 1)}}, loopedSample())));
    player->Play();
    player->Render();
    player->Stop();
    const int32_t tick = player->Module->Tick;
    player->Render();
    for (int32_t v : player->Mix)
        ASSERT_EQ(v, 0);
    EXPECT_EQ(player->Module->Tick, tick);
}

TEST(SequencerTiming, PatternDelayStretchesTheRow)
{
    auto player = makePlayer(buildXM(simpleModule(1, {{1, 0, cell(0, 0, 0, 14, 0xE2)}}, loopedSample())));
    TVelaXMModule& m = *player->Module;
    player->Play();
    EXPECT_EQ(ticksUntilRowChanges(m), 1); // into row 0
    EXPECT_EQ(ticksUntilRowChanges(m), 6); // row 0 done, into row 1
    EXPECT_EQ(ticksUntilRowChanges(m), 18); // row 1 with EE2 lasts 18 ticks
}

TEST(SequencerTiming, SpeedZeroKeepsTheSpeed)
{
    auto player = makePlayer(buildXM(simpleModule(1, {{0, 0, cell(0, 0, 0, 15, 0)}}, loopedSample())));
    TVelaXMModule& m = *player->Module;
    player->Play();
    EXPECT_EQ(ticksUntilRowChanges(m), 1); // into row 0, which holds F00
    EXPECT_EQ(m.Speed, 6);
    EXPECT_EQ(ticksUntilRowChanges(m), 6);
}

TEST(SequencerTiming, SpeedAndBpmEffect)
{
    auto player = makePlayer(
        buildXM(simpleModule(2, {{0, 0, cell(0, 0, 0, 15, 0x1F)}, {0, 1, cell(0, 0, 0, 15, 0x20)}}, loopedSample())));
    player->Play();
    runTicks(*player->Module, 1);
    EXPECT_EQ(player->Module->Speed, 31);
    EXPECT_EQ(player->Module->BPM, 32);
}

TEST(SequencerTiming, JumpAndBreakOnOneRowCombine)
{
    for (bool jumpFirst : {true, false}) {
        XmModule spec;
        spec.channels = 2;
        const TVelaXMPatternNote jump = cell(0, 0, 0, 11, 5);
        const TVelaXMPatternNote brk = cell(0, 0, 0, 13, 0x10);
        spec.patterns.push_back(makePattern(4, 2, {{0, 0, jumpFirst ? jump : brk}, {0, 1, jumpFirst ? brk : jump}}));
        spec.patterns.push_back(makePattern(32, 2));
        spec.songLength = 7;
        for (int i = 1; i < 7; ++i)
            spec.orders[i] = 1;
        auto player = makePlayer(buildXM(spec));
        player->Play();
        runTicks(*player->Module, 7);
        EXPECT_EQ(player->Module->CurrentOrder, 5) << jumpFirst;
        EXPECT_EQ(player->Module->CurrentRow, 17) << jumpFirst; // row 16 played, 17 next
    }
}

TEST(SequencerTiming, BreakPastThePatternEndGoesToTheNextOrder)
{
    XmModule spec;
    spec.channels = 1;
    spec.patterns.push_back(makePattern(64, 1, {{0, 0, cell(0, 0, 0, 13, 0x40)}}));
    spec.patterns.push_back(makePattern(64, 1));
    spec.songLength = 3;
    spec.orders[1] = 1;
    spec.orders[2] = 1;
    auto player = makePlayer(buildXM(spec));
    const auto rows = rowsPlayed(*player, 10);
    ASSERT_GE(rows.size(), 2u);
    // The break targets row 64 of order 1, which does not exist: play goes on at the order after it.
    EXPECT_EQ(rows[1], std::make_pair(2, 0));
}

TEST(SequencerTiming, BreakOnTheLastOrderLeadsIntoTheRestartPatternsRowsNotYetPlayed)
{
    // One order; row 1 breaks to row 3 of the next order, which wraps to order 0 again.
    XmModule spec;
    spec.channels = 1;
    spec.patterns.push_back(makePattern(5, 1, {{1, 0, cell(0, 0, 0, 13, 0x03)}}));
    auto player = makePlayer(buildXM(spec));
    const std::vector<std::pair<int32_t, int32_t>> once = {{0, 0}, {0, 1}, {0, 3}, {0, 4}};
    // Played once (as the game's players are): rows 3 and 4 are new, so the song goes on there.
    EXPECT_EQ(rowsPlayed(*player), once);
    EXPECT_TRUE(player->Module->SongEnded);
    // Looping: only coming back to row 0 at the song's end ends a pass; each pass breaks the same way.
    EXPECT_EQ(rowsPlayed(*player, 400, 1), once);
    auto twice = once;
    twice.insert(twice.end(), {{0, 0}, {0, 1}, {0, 3}, {0, 4}});
    EXPECT_EQ(rowsPlayed(*player, 400, 2), twice);
}

TEST(SequencerTiming, PatternLoopPlaysSectionCountPlusOneTimes)
{
    XmModule spec;
    spec.channels = 1;
    spec.patterns.push_back(makePattern(4, 1, {{1, 0, cell(0, 0, 0, 14, 0x60)}, {2, 0, cell(0, 0, 0, 14, 0x62)}}));
    auto player = makePlayer(buildXM(spec));
    const auto rows = rowsPlayed(*player);
    // Row 0, then rows 1-2 three times, then row 3.
    std::vector<std::pair<int32_t, int32_t>> expected = {{0, 0}};
    for (int i = 0; i < 3; ++i) {
        expected.push_back({0, 1});
        expected.push_back({0, 2});
    }
    expected.push_back({0, 3});
    EXPECT_EQ(rows, expected);
}

TEST(SequencerTiming, JumpBackEndsThePassButALoopDoesNot)
{
    // Order 0 loops its rows 0-1 once; order 1 jumps back to order 0 (B00) on its row 1.
    XmModule spec;
    spec.channels = 1;
    spec.patterns.push_back(makePattern(2, 1, {{0, 0, cell(0, 0, 0, 14, 0x60)}, {1, 0, cell(0, 0, 0, 14, 0x61)}}));
    spec.patterns.push_back(makePattern(3, 1, {{1, 0, cell(0, 0, 0, 11, 0x00)}}));
    spec.songLength = 2;
    spec.orders[1] = 1;
    auto player = makePlayer(buildXM(spec));
    const std::vector<std::pair<int32_t, int32_t>> pass = {{0, 0}, {0, 1}, {0, 0}, {0, 1}, {1, 0}, {1, 1}};
    EXPECT_EQ(rowsPlayed(*player, 400, 1), pass);
    EXPECT_EQ(player->Module->Repeats, 1);
    auto twice = pass;
    twice.insert(twice.end(), pass.begin(), pass.end());
    EXPECT_EQ(rowsPlayed(*player, 400, 2), twice);
    // The game's players never end on a repeat: the song plays on.
    EXPECT_EQ(rowsPlayed(*player, 30, 0).size(), 30u);
}

TEST(SequencerTiming, SongEndAndLoopWrap)
{
    XmModule spec = simpleModule(1, {{0, 0, cell(49, 1)}}, loopedSample(), 2);
    spec.songLength = 2;
    spec.orders[1] = 7; // missing pattern: skipped
    auto player = makePlayer(buildXM(spec));
    TVelaXMModule& m = *player->Module;
    const auto rows = rowsPlayed(*player);
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_TRUE(m.SongEnded);
    runTicks(m, 50); // stays ended, delivering empty rows
    EXPECT_TRUE(m.SongEnded);

    player->LoopSong = true;
    player->Play();
    m.GlobalVolume = 10;
    runTicks(m, 13); // rows 0, 1, then the wrap to order 0
    EXPECT_FALSE(m.SongEnded);
    EXPECT_EQ(m.CurrentOrder, 0);
    EXPECT_EQ(m.GlobalVolume, 64);
    EXPECT_FALSE(player->NoteLogRecording());
}

TEST(SequencerTiming, ModuleWithoutPlayableRowsEndsInsteadOfHanging)
{
    XmModule spec;
    spec.channels = 1;
    spec.songLength = 3;
    spec.restart = 9;
    spec.orders = {5, 6, 7};
    auto player = makePlayer(buildXM(spec));
    player->LoopSong = true;
    player->Play();
    for (int i = 0; i < 10; ++i)
        player->Render();
    EXPECT_TRUE(player->Module->SongEnded);
}

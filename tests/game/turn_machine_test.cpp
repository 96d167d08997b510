// The melody game against the real module player: the tracks' modules from the
// data package, mixed block by block after every update as the audio thread
// would, with the player's clicks set by hand.
#include "GameDriver.h"

#include "VelaXM/VelaXM.h"
#include "game/Random.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The centre of each tab of the pad.
const float TabX[4] = {300, 500, 300, 500};
const float TabY[4] = {150, 150, 350, 350};

class MelodyGameTest : public ::testing::Test {
protected:
    void startTrack(int32_t track, const std::string& full, const std::string& empty)
    {
        ASSERT_TRUE(game.loadModule(uint8_t(track), full));
        ASSERT_TRUE(game.loadModule(uint8_t(track + 10), empty));
        game.mixing = true;
        TrackChoice = track;
        game.enter(StateGameIntro);
        game.run(2.05);
        ASSERT_EQ(ScreenState, StateGame);
    }

    bool waitForTurn(double seconds = 30)
    {
        return game.runUntil([] { return Melody.TurnPhase == PhaseAwaitTab; }, seconds);
    }

    int32_t expectedTab() const
    {
        const TVelaXM* full = FullPlayer();
        return TabOfNoteValue(full->LoggedNote(Melody.NoteIndex));
    }

    // Repeats the current phrase correctly, by clicks or by the tab keys; false
    // if the machine never asked.
    bool answerPhrase(bool byKeys = false)
    {
        const int32_t length = Melody.PhraseLength;
        for (int32_t i = 0; i < length; ++i) {
            if (!waitForTurn())
                return false;
            if (byKeys)
                game.key(GameKeyTab0 << expectedTab());
            else
                game.click(TabX[expectedTab()], TabY[expectedTab()]);
            if (!game.runUntil(
                    [] {
                        return Melody.TurnPhase != PhaseSoundChoice && Melody.TurnPhase != PhaseChoiceRows &&
                               Melody.TurnPhase != PhaseChoiceFade;
                    },
                    10))
                return false;
        }
        return true;
    }

    TGameDriver game;
};

TEST_F(MelodyGameTest, RandomTrackDrawsSixteenNotesAndSkipsListening)
{
    RandomSeed(0x1234567, 0x89ABCDE);
    startTrack(5, "random.xm", "random_empty.xm");
    const TVelaXM* full = FullPlayer();
    ASSERT_EQ(full->NoteLogCount(), 16);
    std::set<int32_t> drawn;
    for (int32_t i = 0; i < 16; ++i)
        drawn.insert(full->LoggedNote(i));
    for (int32_t note : drawn)
        EXPECT_TRUE(note == 48 || note == 51 || note == 54 || note == 57) << note;
    EXPECT_GT(drawn.size(), 1u);
    bool listened = false;
    game.runUntil(
        [&] {
            listened = listened || Melody.TurnPhase == PhaseListenWait;
            return Melody.TurnPhase == PhaseAwaitTab;
        },
        10);
    EXPECT_FALSE(listened);
    EXPECT_EQ(Melody.TurnPhase, PhaseAwaitTab);
    // A second game draws again.
    const std::vector<int32_t> first = loggedMelody(*full);
    game.escape();
    game.run(1.2);
    TrackChoice = 5;
    game.enter(StateGameIntro);
    game.run(2.05);
    const std::vector<int32_t> second = loggedMelody(*full);
    EXPECT_NE(first, second);
}

TEST_F(MelodyGameTest, EachCorrectPhraseGrowsByOneNoteAndRaisesTheScore)
{
    RandomSeed(99, 7);
    startTrack(5, "random.xm", "random_empty.xm");
    const int32_t expectedScores[5] = {10, 21, 33, 46, 60};
    for (int32_t phrase = 0; phrase < 5; ++phrase) {
        EXPECT_EQ(Melody.PhraseLength, phrase + 1);
        ASSERT_TRUE(answerPhrase()) << "phrase " << phrase;
        EXPECT_EQ(Score, expectedScores[phrase]);
        // Answered at once, yet the your-turn bubble is gone while the computer plays.
        ASSERT_TRUE(game.runUntil([] { return Melody.TurnPhase == PhaseNoteRows; }, 5));
        EXPECT_FLOAT_EQ(Melody.Bubbles[2], 0.0f);
    }
    EXPECT_EQ(Melody.Lives, 3);
}

TEST_F(MelodyGameTest, ComputerSoundsThePhraseThroughTheMelodyLessModule)
{
    RandomSeed(5, 5);
    startTrack(5, "random.xm", "random_empty.xm");
    const TVelaXM* phrase = PhrasePlayer();
    int32_t heard = -1;
    game.runUntil(
        [&] {
            if (phrase->WatchedNote() > 0)
                heard = phrase->WatchedNote();
            return Melody.TurnPhase == PhaseAwaitTab;
        },
        10);
    EXPECT_EQ(heard, FullPlayer()->LoggedNote(0) + 1);
    // The written cells are cleared again once the note has been played.
    EXPECT_EQ(phrase->Module->Patterns[0].GetNote(0, 0).Note, 0);
    EXPECT_EQ(phrase->Module->Patterns[0].GetNote(8, 0).Note, 0);
}

TEST_F(MelodyGameTest, WrongTabCostsALifeAndReplaysTheCorrectNoteFourTimes)
{
    RandomSeed(1, 2);
    startTrack(5, "random.xm", "random_empty.xm");
    ASSERT_TRUE(answerPhrase());
    ASSERT_TRUE(answerPhrase());
    ASSERT_EQ(Melody.PhraseLength, 3);
    // First note right, second wrong.
    ASSERT_TRUE(waitForTurn());
    game.click(TabX[expectedTab()], TabY[expectedTab()]);
    ASSERT_TRUE(waitForTurn());
    const int32_t wrong = (expectedTab() + 1) & 3;
    const int32_t expectedNote = FullPlayer()->LoggedNote(1);
    ASSERT_NE(FullPlayer()->LoggedNote(2), expectedNote); // so a replay of the next note would show
    game.click(TabX[wrong], TabY[wrong]);
    EXPECT_NE(Melody.PitchOffset, 0);
    EXPECT_EQ(TabOfNoteValue(expectedNote + Melody.PitchOffset), wrong);
    int32_t replays = 0;
    int32_t previous = -1;
    game.runUntil(
        [&] {
            if (Melody.TurnPhase == PhaseReplayRows && previous != PhaseReplayRows) {
                ++replays;
                // The note at NoteIndex, not the one after it.
                EXPECT_EQ(PhrasePlayer()->Module->Patterns[0].GetNote(0, 0).Note, expectedNote + 1);
            }
            previous = Melody.TurnPhase;
            return Melody.TurnPhase == PhaseMyTurn;
        },
        20);
    EXPECT_EQ(replays, 4);
    EXPECT_EQ(Melody.NoteIndex, 1);
    EXPECT_EQ(Melody.Lives, 2);
    EXPECT_EQ(Melody.PhraseLength, 3);
    EXPECT_EQ(Score, 21);
    // The computer then plays all three notes again from the first.
    int32_t sounded = 0;
    game.runUntil(
        [&] {
            if (Melody.TurnPhase == PhaseNoteRows && previous != PhaseNoteRows)
                ++sounded;
            previous = Melody.TurnPhase;
            return Melody.TurnPhase == PhaseAwaitTab;
        },
        20);
    EXPECT_EQ(sounded, 3);
    EXPECT_EQ(Melody.NoteIndex, 0);
}

TEST_F(MelodyGameTest, TheHubCountsAsAMistakeAndWaitingChangesNothing)
{
    RandomSeed(3, 4);
    startTrack(5, "random.xm", "random_empty.xm");
    ASSERT_TRUE(waitForTurn());
    game.run(20);
    EXPECT_EQ(Melody.TurnPhase, PhaseAwaitTab);
    EXPECT_FLOAT_EQ(Melody.Bubbles[2], 0.0f);
    game.click(400, 240);
    EXPECT_NE(Melody.PitchOffset, 0);
    game.runUntil([] { return Melody.TurnPhase == PhaseMyTurn; }, 20);
    EXPECT_EQ(Melody.Lives, 2);
}

TEST_F(MelodyGameTest, LosingTheLastLifeShowsGameOverThenReturnsToTheTitle)
{
    RandomSeed(8, 8);
    startTrack(5, "random.xm", "random_empty.xm");
    for (int32_t life = 0; life < 3; ++life) {
        ASSERT_TRUE(waitForTurn());
        game.click(400, 240);
    }
    ASSERT_TRUE(game.runUntil([] { return Melody.TurnPhase == PhaseGameOver; }, 30));
    EXPECT_EQ(Melody.Lives, 0);
    game.update();
    EXPECT_EQ(MusicRequest.Load(), MusicGameOver);
    game.run(13.3);
    EXPECT_EQ(ScreenState, StateGame);
    EXPECT_FLOAT_EQ(Melody.GameOverAlpha, 1.0f);
    game.run(0.3);
    EXPECT_EQ(ScreenState, StateGameOutro);
    game.run(1.1);
    EXPECT_EQ(ScreenState, StateTitleIntro);
    EXPECT_EQ(Locks, 3);
}

TEST_F(MelodyGameTest, RepeatingTheWholeMelodyRewardsAndOpensTheNextTrack)
{
    RandomSeed(11, 12);
    startTrack(5, "random.xm", "random_empty.xm");
    for (int32_t phrase = 0; phrase < 16; ++phrase)
        ASSERT_TRUE(answerPhrase()) << "phrase " << phrase;
    game.update();
    EXPECT_EQ(Melody.TurnPhase, PhaseLevelDone);
    EXPECT_EQ(Locks, 2);
    EXPECT_EQ(MusicRequest.Load(), MusicLevelDone);
    game.run(6.8);
    EXPECT_EQ(ScreenState, StateGame);
    game.run(0.4);
    EXPECT_EQ(ScreenState, StateGameOutro);
}

TEST_F(MelodyGameTest, TrackZeroIsWonWithKeysAlone)
{
    ASSERT_TRUE(game.loadModule(0, "2012_skyward_nobass.xm"));
    ASSERT_TRUE(game.loadModule(10, "2012_skyward_nobass_empty.xm"));
    game.mixing = true;
    game.key(GameKeyChoose); // shows the highlight on "play"
    game.key(GameKeyChoose);
    game.run(2.1);
    game.run(2.1);
    ASSERT_EQ(ScreenState, StateTrackSelect);
    game.key(GameKeyRight); // the highlight appears on the first tile
    game.key(GameKeyRight);
    game.key(GameKeyRight); // tracks 2 to 4 are locked: it stays on track 1
    game.key(GameKeyLeft);
    game.key(GameKeyChoose);
    game.run(2.1);
    ASSERT_EQ(TrackChoice, 0);
    game.run(2.1);
    ASSERT_EQ(ScreenState, StateGame);
    while (Melody.TurnPhase != PhaseLevelDone)
        ASSERT_TRUE(answerPhrase(true)) << "phrase " << Melody.PhraseLength;
    EXPECT_EQ(Melody.Lives, 3);
    EXPECT_EQ(Locks, 2);
}

TEST_F(MelodyGameTest, AListenedTrackRecordsItsMelodyBeforeTheComputersTurn)
{
    startTrack(0, "2012_skyward_nobass.xm", "2012_skyward_nobass_empty.xm");
    ASSERT_TRUE(game.runUntil([] { return Melody.TurnPhase == PhaseListenWait; }, 5));
    game.update();
    game.update();
    EXPECT_TRUE(FullPlayer()->Playing());
    bool ended = false;
    int64_t blocks = 0;
    ASSERT_TRUE(game.runUntil(
        [&] {
            ended = ended || FullPlayer()->Module->SongEnded;
            ++blocks;
            return Melody.TurnPhase == PhaseAwaitTab;
        },
        240));
    // The whole song was heard once before the computer's turn began.
    EXPECT_TRUE(ended);
    EXPECT_GT(blocks * TGameDriver::BlockMicros, 5000000);
    EXPECT_GT(FullPlayer()->NoteLogCount(), 4);
    EXPECT_EQ(MusicRequest.Load(), MusicSilence);
    EXPECT_FALSE(FullPlayer()->Playing() && !FullPlayer()->Module->SongEnded);
}

TEST_F(MelodyGameTest, BonusTrackIsOnlyWatchedWithItsDancingFigure)
{
    startTrack(6, "c64rolld.xm", "c64rolld_empty.xm");
    EXPECT_EQ(FullPlayer()->WatchedChannel, 1);
    bool computerTurn = false;
    int32_t frameChanges = 0;
    bool frame = Melody.BonusFrame;
    ASSERT_TRUE(game.runUntil(
        [&] {
            computerTurn = computerTurn || (Melody.TurnPhase >= PhaseMyTurn && Melody.TurnPhase != PhaseFinished);
            frameChanges += Melody.BonusFrame != frame;
            frame = Melody.BonusFrame;
            return ScreenState == StateGameOutro;
        },
        600));
    EXPECT_FALSE(computerTurn);
    EXPECT_TRUE(Melody.BonusStarted);
    EXPECT_GT(frameChanges, 4);
    EXPECT_FLOAT_EQ(Melody.BonusSlide, 1.0f);
    EXPECT_EQ(Score, 0);
    game.run(1.1);
    EXPECT_EQ(ScreenState, StateTitleIntro);
}

TEST_F(MelodyGameTest, BackButtonLeavesAtAnyTimeAndStopsBothPlayers)
{
    startTrack(0, "2012_skyward_nobass.xm", "2012_skyward_nobass_empty.xm");
    ASSERT_TRUE(game.runUntil([] { return FullPlayer()->Playing(); }, 5));
    game.click(40, 440);
    EXPECT_EQ(Melody.TurnPhase, PhaseFinished);
    EXPECT_FALSE(FullPlayer()->Playing());
    EXPECT_FALSE(PhrasePlayer()->Playing());
    game.run(1.2);
    EXPECT_EQ(ScreenState, StateTitleIntro);
}

TEST(PitchOffsetTest, WrongTabsSoundTheNearestNoteOfThatTab)
{
    // Note value 48 sits on tab 3 and each semitone up moves one tab down.
    EXPECT_EQ(TabOfNoteValue(48), 3);
    EXPECT_EQ(TabOfNoteValue(51), 0);
    // Every tab is reached by one of the offsets -2 .. 1, so each has exactly one nearest
    // note; two semitones either way takes the lower note.
    for (int32_t value = 0; value < 96; ++value) {
        for (int32_t tab = 0; tab < 4; ++tab) {
            const int32_t offset = PitchOffsetTo(value, tab);
            EXPECT_EQ(TabOfNoteValue(value + offset), tab);
            EXPECT_TRUE(offset >= -2 && offset <= 1) << value << " " << tab;
        }
    }
}

TEST(RandomTest, FirstValuesWorkedOutFromTheFormulasAndAllFourNotesAppear)
{
    // Seed (1, 0): s1 1, s2 0x1075B, s3 0x155E5, x1 0x075BCD14, x4 0x05491333. The first
    // step makes s1 0xA8256F1C, s2 0x0750E2E1, s3 0x55022F4D, u 0xD9336D14 and
    // x4 0xDCA34DE3, so (x4 + s1) xor ((s3 << 16) + s2) = 0xB2555E1E.
    RandomSeed(1, 0);
    EXPECT_EQ(RandomNext(), 0xB2555E1Eu);
    EXPECT_EQ(RandomNext(), 0xAF689816u);
    EXPECT_EQ(RandomNext(), 0x0ADBDA95u);
    RandomSeed(0xDEADBEEF, 0x12345678);
    EXPECT_EQ(RandomNext(), 0x57DB1AEEu);
    std::set<uint32_t> tops;
    for (int i = 0; i < 64; ++i)
        tops.insert(RandomNext() >> 30);
    EXPECT_EQ(tops.size(), 4u);
    // Seeds differing only in bit 0 of the low word are the same seed.
    RandomSeed(0xDEADBEEE, 0x12345678);
    EXPECT_EQ(RandomNext(), 0x57DB1AEEu);
}

} // namespace

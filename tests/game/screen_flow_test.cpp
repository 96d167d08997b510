// The screen machine driven with fixed frame times and hand-set input: the
// timeline of each screen, click-on-release, latched choices and the gates.
#include "GameDriver.h"

#include "game/Easing.h"
#include "game/HitTests.h"
#include "game/Screens.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameTimeTest, TicksBecomeMicrosecondsForEveryClockRate)
{
    EXPECT_EQ(TicksToMicroseconds(1499, 1000000000), 1);
    EXPECT_EQ(TicksToMicroseconds(1500, 1000000000), 2);
    EXPECT_EQ(TicksToMicroseconds(12345, 1000000), 12345);
    EXPECT_EQ(TicksToMicroseconds(16, 1000), 16000);
    // 2^28 ticks per second after shifting: rounded to the nearest microsecond.
    EXPECT_EQ(TicksToMicroseconds(268435456, 268435456), 1000000);
    EXPECT_EQ(TicksToMicroseconds(134, 268435456), 0);
    EXPECT_EQ(TicksToMicroseconds(135, 268435456), 1);
    // An hour of a fast counter still fits the 64-bit product.
    EXPECT_EQ(TicksToMicroseconds(int64_t(536870911) * 3600, 536870911), int64_t(3600) * 1000000);
}

TEST(HitTestTest, TrackTilesRespectLocksAndTheHiddenCorner)
{
    EXPECT_EQ(TrackSelectHit(60, 450, 3), 255);
    EXPECT_EQ(TrackSelectHit(760, 450, 3), 6);
    EXPECT_EQ(TrackSelectHit(100, 200, 3), 0);
    EXPECT_EQ(TrackSelectHit(250, 200, 3), 1);
    EXPECT_EQ(TrackSelectHit(400, 200, 3), -1);
    EXPECT_EQ(TrackSelectHit(400, 200, 2), 2);
    EXPECT_EQ(TrackSelectHit(550, 200, 2), -1);
    EXPECT_EQ(TrackSelectHit(700, 200, 0), 4);
    // A locked tile stops the search: its lower edge never reaches the random band.
    EXPECT_EQ(TrackSelectHit(400, 360, 3), -1);
    EXPECT_EQ(TrackSelectHit(400, 400, 3), 5);
    EXPECT_EQ(TrackSelectHit(169, 200, 3), -1); // between two tiles
    EXPECT_EQ(TitleMenuHit(40, 440), 4);
    EXPECT_EQ(TitleMenuHit(630, 10), 1);
    EXPECT_EQ(TitleMenuHit(664, 300), -1);
    EXPECT_EQ(TitleMenuHit(783, 479), 3);
    EXPECT_EQ(PadHit(400, 240), 128);
    EXPECT_EQ(PadHit(300, 150), 0);
    EXPECT_EQ(PadHit(400, 100), 0); // the shared edge belongs to the first tab listed
    EXPECT_EQ(PadHit(500, 350), 3);
    EXPECT_EQ(PadHit(100, 100), -1);
}

TEST(ScreenFlowTest, WithoutInputSplashAndScrollerLeadToTheTitle)
{
    TGameDriver game;
    game.enter(StateSplash);
    EXPECT_FLOAT_EQ(FadeAlpha, 1.0f);
    game.run(2.5);
    EXPECT_EQ(ScreenState, StateSplash);
    EXPECT_GT(GateClosure, 0.4f);
    game.run(0.6);
    game.update();
    EXPECT_EQ(ScreenState, StateStartupScroller);
    EXPECT_EQ(MusicRequest.Load(), MusicMenu);
    game.run(49.9);
    EXPECT_EQ(ScreenState, StateStartupScroller);
    game.run(1.2);
    EXPECT_EQ(ScreenState, StateTitleIntro);
    game.run(2.1);
    EXPECT_EQ(ScreenState, StateTitleMenu);
    game.run(30);
    EXPECT_EQ(ScreenState, StateTitleMenu);
}

TEST(ScreenFlowTest, EarlyClickInTheScrollerWaitsForTheFirstSecond)
{
    TGameDriver game;
    game.enter(StateStartupScroller);
    game.click(400, 240);
    EXPECT_EQ(SkipTime, 1000000);
    game.run(0.9);
    EXPECT_LT(GateClosure, 0.2f);
    game.run(1.1);
    game.update();
    EXPECT_EQ(ScreenState, StateTitleIntro);
}

TEST(ScreenFlowTest, PressAndReleaseBetweenTwoUpdatesIsStillAClickButAWheelNotchIsNot)
{
    TGameDriver game;
    game.enter(StateStartupScroller);
    // A wheel notch arrives as a press and a release of button 4 or 5 in one frame.
    MouseButtonEvent(4, true);
    MouseButtonEvent(4, false);
    MouseButtonEvent(5, true);
    MouseButtonEvent(5, false);
    game.update();
    game.update();
    EXPECT_EQ(SkipTime, 50000000);
    MouseButtonEvent(3, true); // the press and the release both came in one frame's events
    MouseButtonEvent(3, false);
    game.update();
    EXPECT_TRUE(SkipTime < 50000000);
}

TEST(ScreenFlowTest, ClickDuringTheTitleIntroIsTakenWhenTheMenuOpens)
{
    TGameDriver game;
    game.enter(StateTitleIntro);
    game.click(690, 300); // high score
    EXPECT_EQ(PendingChoice, 2);
    game.run(2.0);
    game.update();
    EXPECT_EQ(ScreenState, StateTitleOutro);
    game.run(2.1);
    EXPECT_EQ(ScreenState, StateHighScoreIntro);
    EXPECT_GT(GateClosure, 0.8f);
}

TEST(ScreenFlowTest, TitleTabHighlightsWhileHeldAndChoosesOnlyOnReleaseOverIt)
{
    TGameDriver game;
    game.pointAt(750, 200);
    game.press();
    game.run(0.5);
    EXPECT_EQ(MenuHover, 3);
    EXPECT_GT(Slides[5], 0.9f);
    game.pointAt(500, 200);
    game.update();
    EXPECT_EQ(MenuHover, -1);
    game.release();
    game.run(0.2);
    EXPECT_EQ(ScreenState, StateTitleMenu);
    game.click(750, 200);
    game.update();
    EXPECT_EQ(ScreenState, StateTitleOutro);
    game.run(2.1);
    EXPECT_EQ(ScreenState, StateCreditsIntro);
}

TEST(ScreenFlowTest, EscapeInTheMenuLeavesThroughTheAdvertWithoutGates)
{
    TGameDriver game;
    game.escape();
    game.update();
    EXPECT_EQ(ScreenState, StateTitleExit);
    game.run(1.5);
    EXPECT_FLOAT_EQ(GateClosure, 0.0f);
    EXPECT_GT(FadeAlpha, 0.05f);
    game.run(0.6);
    EXPECT_EQ(ScreenState, StateAdvertIntro);
    EXPECT_EQ(MusicRequest.Load(), MusicSilence);
}

TEST(ScreenFlowTest, TrackSelectionIgnoresLockedTilesAndFindsTheBonusCorner)
{
    TGameDriver game;
    game.enter(StateTrackSelectIntro);
    game.run(2.1);
    EXPECT_EQ(ScreenState, StateTrackSelect);
    game.click(400, 200);
    game.click(550, 200);
    game.click(700, 200);
    game.update();
    EXPECT_EQ(ScreenState, StateTrackSelect);
    game.click(760, 450);
    game.update();
    EXPECT_EQ(ScreenState, StateTrackSelectOutro);
    EXPECT_EQ(TrackChoice, 6);
    game.run(2.1);
    EXPECT_EQ(ScreenState, StateGameIntro);
}

TEST(ScreenFlowTest, BackFromTrackSelectionReturnsToTheTitle)
{
    TGameDriver game;
    Score = 77;
    game.enter(StateTrackSelectIntro);
    EXPECT_EQ(Score, 0);
    game.run(2.1);
    game.click(60, 450);
    game.run(2.2);
    EXPECT_EQ(ScreenState, StateTitleIntro);
}

TEST(ScreenFlowTest, CreditsAndHighScoreLeaveOnAClick)
{
    for (const int32_t intro : {StateCreditsIntro, StateHighScoreIntro}) {
        TGameDriver game;
        game.enter(intro);
        game.run(1.1);
        EXPECT_EQ(ScreenState, intro + 1);
        game.run(5);
        EXPECT_EQ(ScreenState, intro + 1);
        game.click(10, 10);
        game.update();
        EXPECT_EQ(ScreenState, intro + 2);
        game.run(1.1);
        EXPECT_EQ(ScreenState, StateTitleIntro);
    }
}

TEST(ScreenFlowTest, CreditsTextMovesOnSmoothlyFromTheIntroThroughTheOutro)
{
    TGameDriver game;
    game.enter(StateCreditsIntro);
    float previous = CreditsScroll();
    int64_t updates = 0;
    while (ScreenState / 10000 == 3) {
        if (updates++ == 1400) // 30 s of reading, then leave
            EscapePressed.Store(-1);
        game.update();
        if (ScreenState / 10000 != 3)
            break;
        const float now = CreditsScroll();
        EXPECT_GE(now, previous) << ScreenState;
        EXPECT_LT(now - previous, 0.0003f) << ScreenState; // one frame of 23 ms moves 0.0002
        previous = now;
    }
    EXPECT_EQ(ScreenState, StateTitleIntro);
}

TEST(ScreenFlowTest, EscapeDuringTheAdvertsFirstSecondQuitsWithoutThePage)
{
    TGameDriver game;
    game.enter(StateAdvertIntro);
    game.pointAt(700, 100);
    game.escape();
    game.run(1.1);
    game.run(1.1);
    EXPECT_EQ(QuitRequested.Load(), 1);
    EXPECT_EQ(OpenWebPageRequested.Load(), 0);
}

TEST(ScreenFlowTest, LaterEscapeOpensThePageOnlyOverTheWebBox)
{
    for (const bool overBox : {true, false}) {
        TGameDriver game;
        game.enter(StateAdvertIntro);
        game.run(1.5);
        game.pointAt(overBox ? 700.0f : 300.0f, 100);
        game.escape();
        game.run(1.2);
        EXPECT_EQ(QuitRequested.Load(), 1);
        EXPECT_EQ(OpenWebPageRequested.Load(), overBox ? 1 : 0);
    }
}

TEST(ScreenFlowTest, RebuildReturnsToTheSameScreenWithoutItsEntryActions)
{
    TGameDriver game;
    game.enter(StateCreditsIntro);
    game.run(1.1);
    game.run(3);
    ASSERT_EQ(ScreenState, StateCredits);
    const int64_t before = StateTime;
    ReenterLoadingState();
    int frames = 0;
    while (ScreenState == StateLoading && frames < 100) {
        game.update();
        ++frames;
    }
    // Ten frames of delay, the (empty) upload pass, then the resume.
    EXPECT_EQ(frames, 12);
    EXPECT_EQ(ScreenState, StateCredits);
    EXPECT_GT(StateTime, before);
    EXPECT_EQ(PendingChoice, -1);
}

} // namespace

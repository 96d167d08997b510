// The audio thread's music step: what it starts, stops and restarts for each
// request, and that it waits for the first drawn frame.
#include "GameDriver.h"

#include "VelaXM/VelaXM.h"

#include <gtest/gtest.h>

namespace {

class MusicRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(game.loadModule(0, "2012_skyward_nobass.xm"));
        ASSERT_TRUE(game.loadModule(1, "2012_halcyon_verse.xm"));
    }
    TGameDriver game;
};

TEST_F(MusicRequestTest, NothingHappensBeforeAFrameIsDrawn)
{
    MusicFrameDrawn.Store(0);
    MusicRequest.Store(0);
    ApplyMusicRequest();
    EXPECT_FALSE(game.sound->IsModulePlaying(0));
    MusicFrameDrawn.Store(1);
    ApplyMusicRequest();
    EXPECT_TRUE(game.sound->IsModulePlaying(0));
}

TEST_F(MusicRequestTest, SwitchingModulesStopsAndRewindsTheOldOne)
{
    MusicRequest.Store(0);
    ApplyMusicRequest();
    for (int i = 0; i < 200; ++i)
        game.sound->MixBlock();
    const TVelaXM* first = game.sound->ModuleSlots[0].get();
    EXPECT_GT(first->Module->CurrentOrder * 256 + first->Module->CurrentRow, 0);
    MusicRequest.Store(1);
    ApplyMusicRequest();
    EXPECT_FALSE(first->Playing());
    EXPECT_EQ(first->Module->CurrentOrder, 0);
    EXPECT_EQ(first->Module->CurrentRow, 0);
    EXPECT_TRUE(game.sound->IsModulePlaying(1));
    EXPECT_EQ(CurrentMusic, 1);
}

TEST_F(MusicRequestTest, AModuleThatFinishedIsNotStartedAgain)
{
    MusicRequest.Store(0);
    ApplyMusicRequest();
    TVelaXM* player = game.sound->ModuleSlots[0].get();
    player->Stop(); // as if the song had ended
    ApplyMusicRequest();
    EXPECT_FALSE(player->Playing());
    MusicRequest.Store(MusicSilence);
    ApplyMusicRequest();
    EXPECT_EQ(CurrentMusic, MusicSilence);
    EXPECT_FALSE(player->Playing());
}

TEST_F(MusicRequestTest, EmptyMusicSlotsAreHarmless)
{
    // The menu music and jingles may be missing from the package: nothing plays, nothing breaks.
    for (const int32_t request :
         std::initializer_list<int32_t>{MusicMenu, MusicLevelDone, 256 + 3, MusicGameOver, MusicSilence}) {
        MusicRequest.Store(request);
        ApplyMusicRequest();
        ApplyMusicRequest();
        game.sound->MixBlock();
        EXPECT_EQ(CurrentMusic, request);
    }
}

} // namespace

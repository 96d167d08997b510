// Pause and the sound keys ahead of the screens: what pauses, what resumes
// and that the resuming input never reaches the game; each volume key moves
// its own group by one 3 dB step in the mixed output, and mute silences all.
#include "GameDriver.h"

#include "VelaSoundSystem/SoundTestData.h"
#include "game/Controls.h"
#include "game/SoundControls.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Controls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetControls();
        ResetSoundControls();
        ControlsPressed.Store(0);
    }
    void TearDown() override
    {
        ResetControls();
        ResetSoundControls();
    }
    // One frame as the frame driver runs it: the controls, then the screen unless paused.
    bool frame()
    {
        const bool paused = StepControls();
        if (!paused)
            game.update();
        else
            game.sound->MixBlock();
        return paused;
    }
    bool frameAfter(int32_t control)
    {
        ControlEvent(control);
        return frame();
    }

    TGameDriver game;
};

TEST_F(Controls, FocusLossPausesTheScreenAndTheSoundUntilAClickIsReleased)
{
    game.update();
    const int64_t before = StateTime;
    EXPECT_TRUE(frameAfter(ControlFocusLost));
    EXPECT_TRUE(GamePaused());
    EXPECT_TRUE(game.sound->IsPaused());
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_EQ(StateTime, before);

    // A press on PLAY only arms the resume; its release resumes, and is no click.
    game.pointAt(630, 240);
    game.press();
    EXPECT_TRUE(frame());
    EXPECT_TRUE(frame());
    game.release();
    EXPECT_FALSE(frame());
    EXPECT_FALSE(game.sound->IsPaused());
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_EQ(ScreenState, StateTitleMenu);
    EXPECT_EQ(NextScreenState, StateTitleMenu);
    EXPECT_GT(StateTime, before);
}

TEST_F(Controls, KeysResumeWithoutActingAndEscapeKeepsItsMeaning)
{
    EXPECT_TRUE(frameAfter(ControlPause));
    EXPECT_TRUE(frameAfter(ControlFocusLost)); // a second loss changes nothing
    GameKeyEvent(GameKeyChoose);
    EXPECT_FALSE(frameAfter(ControlAnyKey));
    EXPECT_EQ(KeysPressed.Load(), 0);
    EXPECT_EQ(MenuChoice, -1);

    // P pauses and P resumes.
    EXPECT_TRUE(frameAfter(ControlPause));
    EXPECT_FALSE(frameAfter(ControlPause));

    game.enter(StateTrackSelect);
    EXPECT_TRUE(frameAfter(ControlPause));
    EscapePressed.Store(-1);
    EXPECT_FALSE(frame());
    EXPECT_TRUE(game.runUntil([] { return ScreenState == StateTrackSelectOutro; }, 1));
}

TEST_F(Controls, PadStartPausesAGameAndChoosesElsewhere)
{
    EXPECT_FALSE(frameAfter(ControlPadStart));
    game.enter(StateTitleMenu);
    ControlEvent(ControlPadStart);
    EXPECT_FALSE(StepControls());
    EXPECT_EQ(KeysPressed.Exchange(0), GameKeyChoose);

    ScreenState = StateGame;
    ControlEvent(ControlPadStart);
    EXPECT_TRUE(StepControls());
    EXPECT_EQ(KeysPressed.Load(), 0);
    ControlEvent(ControlPadStart);
    EXPECT_FALSE(StepControls());
}

// The RMS level in dB of the next mixed block.
double blockDecibels(TVelaSoundSystem& sound)
{
    sound.MixBlock();
    double sum = 0;
    for (int32_t i = 0; i < sound.OutputValues; ++i) {
        const double v = int16_t(sound.OutputBuffer[2 * i] | sound.OutputBuffer[2 * i + 1] << 8);
        sum += v * v;
    }
    return sum == 0 ? -999.0 : 10 * std::log10(sum / sound.OutputValues);
}

// Changes one control and returns the level change it makes, in dB.
double stepOf(TVelaSoundSystem& sound, int32_t control)
{
    const double before = blockDecibels(sound);
    ControlEvent(control);
    StepControls();
    return blockDecibels(sound) - before;
}

TEST_F(Controls, EachVolumeKeyMovesItsOwnGroupByOneStepAndMuteSilencesAll)
{
    TVelaSoundSystem& sound = *game.sound;
    sound.SetAutoGain(false);
    // Effects: a steady sample.
    const auto wave = soundtest::Wave16(std::vector<int16_t>(200000, 6000), 1, 44100);
    ASSERT_TRUE(sound.LoadSample(3, wave.data(), int32_t(wave.size()), 1));
    ASSERT_GE(sound.PlaySample(3, 1.0f, 0.0f, 1.0f), 0);
    EXPECT_NEAR(stepOf(sound, ControlEffectsDown), -3.0, 0.05);
    EXPECT_NEAR(stepOf(sound, ControlEffectsDown), -3.0, 0.05);
    EXPECT_NEAR(stepOf(sound, ControlEffectsUp), 3.0, 0.05);
    EXPECT_NEAR(stepOf(sound, ControlMusicDown), 0.0, 0.01);
    EXPECT_EQ(EffectsLevel(), LoudestLevel - 1);
    const double unmuted = blockDecibels(sound);
    EXPECT_LT(stepOf(sound, ControlMute), -900);
    ControlEvent(ControlMute);
    StepControls();
    EXPECT_NEAR(blockDecibels(sound), unmuted, 0.01);
    sound.StopSampleVoice(3, 0);

    // Music: a stream of 20 whole periods per block, and the module group alike.
    const auto ogg = soundtest::EncodeOgg(soundtest::Sine(200000, 2, 44100, 44100.0 * 20 / 1024, 0.3), 2, 44100);
    ASSERT_TRUE(sound.LoadMusic(0, ogg.data(), int32_t(ogg.size())));
    ASSERT_TRUE(sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f));
    blockDecibels(sound);
    EXPECT_NEAR(stepOf(sound, ControlMusicDown), -3.0, 0.1);
    EXPECT_NEAR(stepOf(sound, ControlMusicUp), 3.0, 0.1);
    EXPECT_NEAR(stepOf(sound, ControlEffectsUp), 0.0, 0.05);
    EXPECT_EQ(sound.ModuleVolume, sound.MusicVolume);
    EXPECT_NEAR(stepOf(sound, ControlMusicDown), -3.0, 0.1);
    EXPECT_EQ(sound.ModuleVolume, sound.MusicVolume);
    EXPECT_LT(stepOf(sound, ControlMute), -900);
    // A volume key unmutes, one step from where the level was.
    ControlEvent(ControlMusicUp);
    StepControls();
    EXPECT_FALSE(SoundMuted());
    EXPECT_EQ(MusicLevel(), LoudestLevel - 1);
    EXPECT_EQ(sound.MusicVolume, std::lround(4096 * LevelGain(LoudestLevel - 1)));
}

TEST_F(Controls, LevelsStopAtSilenceAndAtUnity)
{
    EXPECT_DOUBLE_EQ(LevelGain(LoudestLevel), 1.0);
    EXPECT_NEAR(20 * std::log10(LevelGain(1)), -27.0, 1e-9);
    EXPECT_EQ(LevelGain(0), 0.0);
    for (int i = 0; i < 15; ++i)
        ChangeMusicLevel(-1);
    EXPECT_EQ(MusicLevel(), 0);
    EXPECT_EQ(game.sound->ModuleVolume, 0);
    for (int i = 0; i < 15; ++i)
        ChangeMusicLevel(1);
    EXPECT_EQ(MusicLevel(), LoudestLevel);
    EXPECT_EQ(game.sound->MusicVolume, 4096);
    EXPECT_GT(IndicatorSecondsLeft(), 0.9);
    StepVolumeIndicator(1.5);
    EXPECT_EQ(IndicatorSecondsLeft(), 0.0);
}

} // namespace

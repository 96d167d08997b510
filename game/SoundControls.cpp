#include "game/SoundControls.h"

#include "game/GameSound.h"
#include "game/GameState.h"

#include <algorithm>
#include <cmath>

namespace {

// The indicator shows for a second after each change.
constexpr double IndicatorSeconds = 1.0;

int32_t musicLevel = LoudestLevel;
int32_t effectsLevel = LoudestLevel;
bool muted = false;
double indicatorTime = 0; // seconds the indicator still shows

void applyVolumes()
{
    const float music = muted ? 0.0f : float(LevelGain(musicLevel));
    const float effects = muted ? 0.0f : float(LevelGain(effectsLevel));
    TGameSound(SoundSystem).SetGroupVolumes(music, effects);
}

} // namespace

double LevelGain(int32_t level)
{
    if (level <= 0)
        return 0.0;
    return std::pow(10.0, -LevelStepDecibels * double(LoudestLevel - std::min(level, LoudestLevel)) / 20.0);
}

int32_t MusicLevel() { return musicLevel; }
int32_t EffectsLevel() { return effectsLevel; }
bool SoundMuted() { return muted; }

void ChangeMusicLevel(int32_t steps)
{
    musicLevel = std::clamp(musicLevel + steps, 0, LoudestLevel);
    muted = false;
    applyVolumes();
    indicatorTime = IndicatorSeconds;
}

void ChangeEffectsLevel(int32_t steps)
{
    effectsLevel = std::clamp(effectsLevel + steps, 0, LoudestLevel);
    muted = false;
    applyVolumes();
    indicatorTime = IndicatorSeconds;
}

void ToggleMute()
{
    muted = !muted;
    applyVolumes();
    indicatorTime = IndicatorSeconds;
}

void PauseSound(bool paused) { TGameSound(SoundSystem).SetPaused(paused); }

void ResetSoundControls()
{
    musicLevel = LoudestLevel;
    effectsLevel = LoudestLevel;
    muted = false;
    indicatorTime = 0;
    applyVolumes();
    PauseSound(false);
}

double IndicatorSecondsLeft() { return indicatorTime; }
void StepVolumeIndicator(double seconds) { indicatorTime = std::max(0.0, indicatorTime - seconds); }

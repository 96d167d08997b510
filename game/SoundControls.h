#pragma once

#include <cstdint>

// The player's sound settings: a music level (modules and streams) and an
// effects level (speech and samples) in steps of about 3 dB, and mute. They
// reach the mixer through its group volumes, so a change is heard at the next block.

// Level of unity gain, the start and the loudest; level 0 is silent.
inline constexpr int32_t LoudestLevel = 10;
// Decibels between neighbouring levels.
inline constexpr double LevelStepDecibels = 3.0;

// The gain of a level: -3 dB per step below the loudest, nothing at 0.
double LevelGain(int32_t level);

// The current music and effects levels (0..LoudestLevel) and whether all is muted.
int32_t MusicLevel();
int32_t EffectsLevel();
bool SoundMuted();

// Moves a level by steps within 0..LoudestLevel, unmutes, applies and shows the indicator.
void ChangeMusicLevel(int32_t steps);
void ChangeEffectsLevel(int32_t steps);
// Mutes or unmutes both groups; the levels are kept for the unmute.
void ToggleMute();
// Stops (true) or resumes (false) every sound where it stands.
void PauseSound(bool paused);
// Back to the loudest levels, unmuted, unpaused, indicator hidden.
void ResetSoundControls();

// Seconds the level indicator still shows.
double IndicatorSecondsLeft();
// Counts the indicator's remaining time down by a frame's seconds.
void StepVolumeIndicator(double seconds);
// Draws the level indicator while it shows (texture program current).
void DrawVolumeIndicator();

#pragma once

#include <cstdint>

// Pause and the sound keys, which every screen honours alike, ahead of the
// screen's own update.

// Takes the controls requested since the last frame (the ControlsPressed bits):
// volume and mute at once, and pausing or resuming. Paused, the first key,
// click (on its release) or pad button resumes and is not handed to the game;
// Escape resumes and keeps its meaning. Returns whether the game stays paused
// for this frame, in which case the screen's update must not run.
bool StepControls();
// Whether the game is paused.
bool GamePaused();
// Pauses at once (the sound too); does nothing when already paused.
void PauseGame();
// Back to running and forgets a half-taken resuming click.
void ResetControls();
// Whether a melody game's screens show: the pad's face buttons are its tabs there.
bool MelodyGameShowing();

// Dims the screen and draws the "Paused" panel (texture program current on entry and exit).
void DrawPausePanel();

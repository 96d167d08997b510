#pragma once

#include "DataManager/LoadThread.h"

#include <cstdint>

// Resets every game record at start-up, loads the loading screen and puts the
// screen machine into its loading state; installs the renderer's hooks.
// SoundSystem must be set first.
void ResetGame();
// Updates and draws one frame for the clock delta since the last drawn frame;
// returns whether a frame was drawn (the loop then swaps buffers).
bool FrameStep(int64_t delta);
// What the load thread asks of the game.
TLoadThread::THooks LoadThreadHooks();

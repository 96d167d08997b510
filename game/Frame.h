#pragma once

#include <cstdint>

// Resets every game record at start-up.
void ResetGame();
// Updates and draws one frame for the clock delta since the last drawn frame;
// returns whether a frame was drawn (the loop then swaps buffers).
bool FrameStep(int64_t delta);

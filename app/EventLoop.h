#pragma once

#include "app/WindowSize.h"

#include <cstdint>

// SDL video-mode flags chosen once at start-up and reused on every resize.
extern uint32_t VideoFlags;
// True from a successful video mode until a quit event or Alt/Meta+F4.
extern bool Running;

// The desktop's size, which full screen takes, and the window's at start,
// which a switch back from full screen returns to.
void RememberWindowSizes(WindowSize desktop, WindowSize window);
// Asks the driver for buffer swaps that wait for the display (a swap interval
// of 1); applies to every video mode set afterwards.
void RequestSwapsThatWait();
// Starts the frame pacing afresh, as each new video mode needs.
void RestartFramePacing();
// Whether neither a quit event nor the game has ended the game yet.
bool GameGoesOn();
// Polls the waiting events, then steps and swaps one frame while the game goes
// on; returns whether a frame was drawn.
bool RunFramePass();
// Runs frame passes until the window closes or the game quits, then finish.
// On the desktop it blocks, sleeping out the rest of each frame where swaps do
// not wait; in the browser it hands one pass to each browser frame and never
// returns (main unwinds; finish runs when the game ends or the page is left).
void RunMainLoop(void (*finish)());

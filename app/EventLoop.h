#pragma once

#include <cstdint>

// SDL video-mode flags chosen once at start-up and reused on every resize.
extern uint32_t VideoFlags;
// True from a successful video mode until a quit event or Alt/Meta+F4.
extern bool Running;

// Asks the driver for buffer swaps that wait for the display (a swap interval
// of 1); applies to every video mode set afterwards.
void RequestSwapsThatWait();
// Polls events, steps and swaps frames until the window closes or the game
// quits; where swaps do not wait, it sleeps out the rest of each frame.
void RunMainLoop();

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
// Polls events, steps and swaps frames until the window closes or the game
// quits; where swaps do not wait, it sleeps out the rest of each frame.
void RunMainLoop();

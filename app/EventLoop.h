#pragma once

#include <cstdint>

// SDL video-mode flags chosen once at start-up and reused on every resize.
extern uint32_t VideoFlags;
// True from a successful video mode until a quit event or Alt/Meta+F4.
extern bool Running;

// Polls events, steps and swaps frames until the window closes or the game quits.
void RunMainLoop();

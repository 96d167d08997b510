#pragma once

#include <string>

struct SDL_Surface;

// The video surface, freed on a fatal error and at shutdown.
extern SDL_Surface* ScreenSurface;

// Logs the message with the SDL error appended, frees the screen, shuts SDL
// down and ends the process with exit code 0: start-up failures are not
// crashes, and the desktop should not report them as such.
[[noreturn]] void FatalError(const std::string& message);

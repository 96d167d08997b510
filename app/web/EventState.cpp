// Emscripten's SDL 1.2 lacks SDL_EventState: there every event type is always
// delivered, which is all the game asks of it.
#include <SDL/SDL.h>

extern "C" Uint8 SDL_EventState(Uint32 /*type*/, int /*state*/) { return SDL_ENABLE; }

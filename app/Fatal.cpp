#include "app/Fatal.h"

#include "render/Logger.h"

#include <SDL/SDL.h>

#include <cstdlib>

SDL_Surface* ScreenSurface = nullptr;

void FatalError(const std::string& message)
{
    Logger().LogError(message + SDL_GetError(), "Main");
    if (ScreenSurface) {
        SDL_FreeSurface(ScreenSurface);
        ScreenSurface = nullptr;
    }
    SDL_Quit();
    std::exit(0);
}

#include "app/EventLoop.h"

#include "app/Fatal.h"
#include "app/GlobalLock.h"
#include "app/WebPage.h"
#include "game/Clock.h"
#include "game/Frame.h"
#include "game/ProgramState.h"
#include "render/Renderer.h"
#include "render/Viewport.h"

#include <SDL/SDL.h>

uint32_t VideoFlags = 0;
bool Running = false;

namespace {

// Events are polled for at most this long per pass, so a flood of mouse
// motion cannot starve the frame.
constexpr Uint32 PollingBudgetMs = 20;
constexpr SDLMod AltOrMeta = static_cast<SDLMod>(KMOD_LALT | KMOD_RALT | KMOD_LMETA | KMOD_RMETA);

bool cursorShown = false;

void mapMouse(int x, int y)
{
    const VirtualPoint point = WindowToVirtual(CurrentViewport(), x, y);
    MouseX.Exchange(point.x);
    MouseY.Exchange(point.y);
}

// The game's key for a platform key; 0 for keys the game does not use.
int32_t gameKeyOf(SDLKey key)
{
    switch (key) {
    case SDLK_1:
    case SDLK_KP7:
        return GameKeyTab0;
    case SDLK_2:
    case SDLK_KP9:
        return GameKeyTab1;
    case SDLK_3:
    case SDLK_KP1:
        return GameKeyTab2;
    case SDLK_4:
    case SDLK_KP3:
        return GameKeyTab3;
    case SDLK_UP:
        return GameKeyUp;
    case SDLK_DOWN:
        return GameKeyDown;
    case SDLK_LEFT:
        return GameKeyLeft;
    case SDLK_RIGHT:
        return GameKeyRight;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
        return GameKeyChoose;
    default:
        return 0;
    }
}

void resizeWindow(int width, int height)
{
    TVelaLockGuard guard(*GlobalLock);
    if (ScreenSurface) {
        SDL_FreeSurface(ScreenSurface);
        ScreenSurface = nullptr;
    }
    ScreenSurface = SDL_SetVideoMode(width, height, 32, VideoFlags);
    if (!ScreenSurface)
        FatalError("Unable to create screen : ");
    RestartFramePacing();
    SetScreenSize(width, height);
    RebuildGraphics();
}

// Handles one event; returns false when polling should stop for this pass.
bool handleEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE)
            EscapePressed.Exchange(-1);
        if (event.key.keysym.sym == SDLK_F4 && (event.key.keysym.mod & AltOrMeta) != 0) {
            Running = false;
            return false;
        }
        if (const int32_t key = gameKeyOf(event.key.keysym.sym); key != 0)
            GameKeyEvent(key);
        return true;
    case SDL_MOUSEMOTION: {
        TVelaLockGuard guard(*GlobalLock);
        mapMouse(event.motion.x, event.motion.y);
        return true;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        mapMouse(event.button.x, event.button.y);
        MouseButtonEvent(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
        return true;
    case SDL_QUIT:
        Running = false;
        return false;
    case SDL_VIDEORESIZE:
        resizeWindow(event.resize.w, event.resize.h);
        return true;
    default:
        return true;
    }
}

void pollEvents()
{
    const Uint32 start = SDL_GetTicks();
    int count = 0;
    SDL_Event event;
    while (true) {
        if (count > 0) {
            const Uint32 spent = SDL_GetTicks() - start; // unsigned difference survives the wrap
            if (spent >= PollingBudgetMs)
                return;
        }
        if (SDL_PollEvent(&event) == 0)
            return;
        ++count;
        if (!handleEvent(event))
            return;
    }
}

// Returns whether a frame was drawn and swapped.
bool stepFrame()
{
    if (!cursorShown) {
        cursorShown = true;
        SDL_ShowCursor(1);
    }
    ElapsedTime = ClockNow() - StartTime;
    if (!FrameStep(ElapsedTime - FrameOrigin))
        return false;
    if (OpenWebPageRequested.Exchange(0) != 0)
        OpenPublisherWebPage();
    FrameOrigin = ElapsedTime;
    SDL_GL_SwapBuffers();
    return true;
}

} // namespace

bool GameGoesOn() { return Running && QuitRequested.Load() == 0; }

bool RunFramePass()
{
    pollEvents();
    return Running && stepFrame();
}

#include "app/EventLoop.h"

#include "app/Fatal.h"
#include "app/Gamepad.h"
#include "app/GlobalLock.h"
#include "app/WebPage.h"
#include "game/Clock.h"
#include "game/Frame.h"
#include "game/ProgramState.h"
#include "render/Logger.h"
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
WindowSize desktopSize{800, 480};
WindowSize windowedSize{800, 480}; // the window's size to go back to from full screen

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

// The pause, volume and mute keys; 0 for others. Music and effects sit on two
// neighbouring pairs away from the digit row, whose 1 to 4 are the tabs.
int32_t controlOf(SDLKey key)
{
    switch (key) {
    case SDLK_p:
    case SDLK_PAUSE:
        return ControlPause;
    case SDLK_MINUS:
    case SDLK_KP_MINUS:
        return ControlMusicDown;
    case SDLK_EQUALS:
    case SDLK_PLUS:
    case SDLK_KP_PLUS:
        return ControlMusicUp;
    case SDLK_LEFTBRACKET:
        return ControlEffectsDown;
    case SDLK_RIGHTBRACKET:
        return ControlEffectsUp;
    case SDLK_m:
        return ControlMute;
    default:
        return 0;
    }
}

// Shift, Alt and the like say nothing on their own (they may begin Alt+Enter).
bool isModifier(SDLKey key) { return key >= SDLK_NUMLOCK && key <= SDLK_COMPOSE; }

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

// Between the window and full screen, through the same rebuild a resize goes
// through; the window comes back at the size it had.
void toggleFullScreen()
{
    if ((VideoFlags & SDL_FULLSCREEN) != 0) {
        Logger().LogMessage("Switching to a window...", "Main");
        VideoFlags &= ~uint32_t(SDL_FULLSCREEN);
        resizeWindow(windowedSize.width, windowedSize.height);
    } else {
        Logger().LogMessage("Switching to full screen...", "Main");
        if (ScreenSurface != nullptr)
            windowedSize = {ScreenSurface->w, ScreenSurface->h};
        VideoFlags |= SDL_FULLSCREEN;
        resizeWindow(desktopSize.width, desktopSize.height);
    }
}

// Returns false when polling should stop for this pass.
bool handleKey(const SDL_keysym& keysym)
{
    const SDLKey key = keysym.sym;
    const bool alt = (keysym.mod & AltOrMeta) != 0;
    if (key == SDLK_F4 && alt) {
        Running = false;
        return false;
    }
    if (key == SDLK_F11 || ((key == SDLK_RETURN || key == SDLK_KP_ENTER) && alt)) {
        toggleFullScreen();
        return true;
    }
    if (const int32_t control = controlOf(key); control != 0) {
        ControlEvent(control);
        return true;
    }
    if (!isModifier(key))
        ControlEvent(ControlAnyKey);
    if (key == SDLK_ESCAPE)
        EscapePressed.Exchange(-1);
    if (const int32_t gameKey = gameKeyOf(key); gameKey != 0)
        GameKeyEvent(gameKey);
    return true;
}

// The window being minimised pauses the game at once; a loss of the input
// focus only once it has lasted FocusLossGraceMs, since switching the video
// mode and some window managers take the focus away for a moment and give it
// straight back.
constexpr Uint32 FocusLossGraceMs = 500;
bool focusLossPending = false;
Uint32 focusLostAt = 0;

void handleActive(const SDL_ActiveEvent& active)
{
    if (active.gain == 0 && (active.state & SDL_APPACTIVE) != 0)
        ControlEvent(ControlFocusLost);
    if ((active.state & SDL_APPINPUTFOCUS) != 0) {
        focusLossPending = active.gain == 0;
        focusLostAt = SDL_GetTicks();
    }
}

void reportLastingFocusLoss()
{
    if (focusLossPending && SDL_GetTicks() - focusLostAt >= FocusLossGraceMs) {
        focusLossPending = false;
        ControlEvent(ControlFocusLost);
    }
}

// Handles one event; returns false when polling should stop for this pass.
bool handleEvent(const SDL_Event& event)
{
    if (HandleGamepadEvent(event))
        return true;
    switch (event.type) {
    case SDL_KEYDOWN:
        return handleKey(event.key.keysym);
    case SDL_ACTIVEEVENT:
        handleActive(event.active);
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

void RememberWindowSizes(WindowSize desktop, WindowSize window)
{
    desktopSize = desktop;
    windowedSize = window;
}

bool RunFramePass()
{
    pollEvents();
    reportLastingFocusLoss();
    return Running && stepFrame();
}

// The desktop's blocking main loop, paced to the display.
#include "app/EventLoop.h"

#include "app/FramePacer.h"

#include <SDL/SDL.h>

namespace {

TFramePacer pacer;

// Whether the driver confirms that buffer swaps wait for the display.
bool swapsWaitForDisplay()
{
    int interval = 0;
    return SDL_GL_GetAttribute(SDL_GL_SWAP_CONTROL, &interval) == 0 && interval == 1;
}

} // namespace

void RequestSwapsThatWait() { SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1); }

void RestartFramePacing() { pacer.Restart(swapsWaitForDisplay(), MonotonicNanoseconds()); }

void RunMainLoop(void (*finish)())
{
    RestartFramePacing();
    while (GameGoesOn()) {
        if (RunFramePass())
            SleepUntil(pacer.WakeTime(MonotonicNanoseconds()));
    }
    finish();
}

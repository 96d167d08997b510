// The browser's main loop: the browser calls one frame pass per display frame
// (requestAnimationFrame), so nothing here blocks or sleeps.
#include "app/EventLoop.h"
#include "app/Loading.h"
#include "app/web/LoadingSlices.h"

#include <emscripten.h>

namespace {

// Loading time per frame: most of a 60 Hz frame, the rest for the frame itself.
constexpr int64_t LoadingSliceNanoseconds = 10'000'000;

void (*finishGame)() = nullptr;
bool ended = false;

void endGame()
{
    if (ended)
        return;
    ended = true;
    emscripten_cancel_main_loop();
    if (finishGame)
        finishGame();
    EM_ASM(if (Module.onGameEnded) Module.onGameEnded(););
}

void browserFrame()
{
    if (!GameGoesOn()) {
        endGame();
        return;
    }
    RunLoadingSlice(LoadingSliceNanoseconds);
    RunFramePass();
}

} // namespace

// The browser shows each frame it asked for at its display's pace.
void RequestSwapsThatWait() {}
void RestartFramePacing() {}

void RunMainLoop(void (*finish)())
{
    finishGame = finish;
    // Does not return: main unwinds, and the browser runs the frames from here on.
    emscripten_set_main_loop(browserFrame, 0, 1);
}

// The page calls this when it is left (closed, reloaded, navigated away).
extern "C" EMSCRIPTEN_KEEPALIVE void quavero_leave() { endGame(); }

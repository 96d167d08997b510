// The screen state machine: state changes requested anywhere during an update
// take effect here, at the start of the next one.
#include "game/ScreenFlow.h"

#include "DataManager/Assets.h"
#include "game/Clock.h"
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/ProgramState.h"
#include "game/Screens.h"
#include "render/Logger.h"
#include "render/Sprites.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

void applyStateChange(int64_t& delta)
{
    if (ResumeAfterLoading())
        delta = 0;
    if (ScreenState != StateLoading && NextScreenState != ScreenState) {
        ScreenState = NextScreenState;
        AfterLoadingState = NextScreenState;
        GameLog("Entering screen state " + std::to_string(ScreenState) + "...");
        ScreenOf(ScreenState).enter(ScreenState);
        FrameOrigin = ElapsedTime;
        StateTime = 0;
        delta = 0;
    }
}

void advanceTime(int64_t delta)
{
    const int64_t micros = TicksToMicroseconds(delta, ClockFrequency);
    StateTime += micros;
    Frame.dt = std::max(double(micros) * 1e-6, 1e-7);
    Frame.t = double(StateTime) * 1e-6;
    Frame.V = 1.0 - std::exp(-Frame.dt / 0.1);
    Frame.W = 1.0 - std::exp(-Frame.dt / 0.2);
}

} // namespace

void GameUpdate(int64_t delta)
{
    applyStateChange(delta);
    advanceTime(delta);
    const int32_t button = MouseButtonDown.Load();
    const bool pressedMeanwhile = MouseButtonPresses.Exchange(0) != 0;
    Click = button == 0 && (PreviousButton != 0 || pressedMeanwhile);
    Keys = KeysPressed.Exchange(0);
    ScreenOf(ScreenState).update(ScreenState);
    PreviousButton = button;
    EscapePressed.Exchange(0);
}

bool ResumeAfterLoading()
{
    if (RequestedScreenState == 0 || RequestedScreenState == ScreenState)
        return false;
    // The screen carries on without its entry actions.
    ScreenState = RequestedScreenState;
    NextScreenState = RequestedScreenState;
    RequestedScreenState = 0;
    FrameOrigin = ElapsedTime;
    return true;
}

void ReenterLoadingState()
{
    RestartUploads();
    ScreenState = StateLoading;
    NextScreenState = StateLoading;
    FrameOrigin = ElapsedTime;
}

const TScreen& ScreenOf(int32_t state)
{
    switch (state / 10000) {
    case 1:
        return state >= StateStartupScroller ? StartupScroller : SplashScreen;
    case 2:
        return TitleScreen;
    case 3:
        return CreditsScreen;
    case 4:
        return HighScoreScreen;
    case 5:
        return TrackSelectScreen;
    case 6:
        return MelodyGameScreen;
    case 7:
        return AdvertScreen;
    default:
        return LoadingScreen;
    }
}

const Sprite& SpriteOf(int32_t slot) { return SpriteTable[slot]; }

void DrawSlot(int32_t slot, float x, float y, float alpha) { DrawSprite(SpriteTable[slot], x, y, 1, 1, 1, alpha); }

bool EscapeHit() { return EscapePressed.Load() != 0; }
bool KeyHit(int32_t key) { return (Keys & key) != 0; }
bool ButtonHeld() { return MouseButtonDown.Load() != 0; }
float PointerX() { return MouseX.Load(); }
float PointerY() { return MouseY.Load(); }


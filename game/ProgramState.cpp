#include "game/ProgramState.h"

std::atomic<float> MouseX{0.0f};
std::atomic<float> MouseY{0.0f};
std::atomic<int32_t> MouseButtonDown{0};
std::atomic<int32_t> EscapePressed{0};
std::atomic<int32_t> MouseButtonPresses{0};
std::atomic<int32_t> KeysPressed{0};
std::atomic<int32_t> ControlsPressed{0};
std::atomic<int32_t> QuitRequested{0};
std::atomic<int32_t> OpenWebPageRequested{0};
int64_t StartTime = 0;
int64_t ElapsedTime = 0;
int64_t FrameOrigin = 0;

void MouseButtonEvent(int32_t button, bool pressed)
{
    if (button < 1 || button > 3)
        return;
    MouseButtonDown.exchange(pressed ? -1 : 0);
    if (pressed)
        MouseButtonPresses.fetch_add(1);
}

void GameKeyEvent(int32_t key) { KeysPressed.fetch_or(key); }

void ControlEvent(int32_t control) { ControlsPressed.fetch_or(control); }

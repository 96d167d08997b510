#include "game/ProgramState.h"

TSharedWord<float> MouseX{0.0f};
TSharedWord<float> MouseY{0.0f};
TSharedWord<int32_t> MouseButtonDown{0};
TSharedWord<int32_t> EscapePressed{0};
TSharedWord<int32_t> MouseButtonPresses{0};
TSharedWord<int32_t> KeysPressed{0};
TSharedWord<int32_t> ControlsPressed{0};
TSharedWord<int32_t> QuitRequested{0};
TSharedWord<int32_t> OpenWebPageRequested{0};
int64_t StartTime = 0;
int64_t ElapsedTime = 0;
int64_t FrameOrigin = 0;

void MouseButtonEvent(int32_t button, bool pressed)
{
    if (button < 1 || button > 3)
        return;
    MouseButtonDown.Exchange(pressed ? -1 : 0);
    if (pressed)
        MouseButtonPresses.FetchAdd(1);
}

void GameKeyEvent(int32_t key) { KeysPressed.FetchOr(key); }

void ControlEvent(int32_t control) { ControlsPressed.FetchOr(control); }

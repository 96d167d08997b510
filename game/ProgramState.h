#pragma once

#include "VelaBase/SharedWord.h"
#include <cstdint>

// Words the main loop and the game share. The input words are written by
// atomic exchange and read plainly by the game's frame code.
extern TSharedWord<float> MouseX;
extern TSharedWord<float> MouseY;
extern TSharedWord<int32_t> MouseButtonDown; // -1 after a press, 0 after a release
extern TSharedWord<int32_t> EscapePressed;   // -1 after Escape; the game clears it
// Presses since the game last looked; a press and release between two frames
// still make a click.
extern TSharedWord<int32_t> MouseButtonPresses;

// The keys the game knows, one bit each; the event loop maps the platform's
// keys onto them, so the game never sees a platform key code.
enum : int32_t {
    GameKeyTab0 = 1 << 0,   // top-left tab
    GameKeyTab1 = 1 << 1,   // top-right tab
    GameKeyTab2 = 1 << 2,   // bottom-left tab
    GameKeyTab3 = 1 << 3,   // bottom-right tab
    GameKeyUp = 1 << 4,     // move a menu highlight up
    GameKeyDown = 1 << 5,   // ... down
    GameKeyLeft = 1 << 6,   // ... left
    GameKeyRight = 1 << 7,  // ... right
    GameKeyChoose = 1 << 8, // take the highlighted entry
};
// Game keys pressed since the game last looked, as a set of the bits above.
extern TSharedWord<int32_t> KeysPressed;

// A mouse button pressed or released: buttons 1 to 3 set MouseButtonDown and
// count presses; the wheel (4 and up, a press and a release per notch) is no button.
void MouseButtonEvent(int32_t button, bool pressed);
// A game key pressed (one of the GameKey bits).
void GameKeyEvent(int32_t key);

// Requests beside the game's own input, one bit each, filled by the event loop:
// pausing, the two volume groups and mute, which every screen honours alike.
enum : int32_t {
    ControlPause = 1 << 0,       // pause, or resume a pause
    ControlMusicDown = 1 << 1,   // music (modules and streams) one step quieter
    ControlMusicUp = 1 << 2,     // ... one step louder
    ControlEffectsDown = 1 << 3, // effects (speech and samples) one step quieter
    ControlEffectsUp = 1 << 4,   // ... one step louder
    ControlMute = 1 << 5,        // mute or unmute all
    ControlFocusLost = 1 << 6,   // the window lost the input focus or was minimised
    ControlAnyKey = 1 << 7,      // some other key or pad button went down (it resumes a pause)
    ControlPadStart = 1 << 8,    // the pad's Start: a pause in a game, else a choice
};
// Controls requested since the game last looked, as a set of the bits above.
extern TSharedWord<int32_t> ControlsPressed;
// A control requested (one of the Control bits).
void ControlEvent(int32_t control);

extern TSharedWord<int32_t> QuitRequested;        // set by the game to end the loop
extern TSharedWord<int32_t> OpenWebPageRequested; // set by the game; the loop opens the page

// Frame timing in clock ticks: ElapsedTime since start-up, FrameOrigin the
// ElapsedTime of the last drawn frame (the game moves it on state changes).
extern int64_t StartTime;
extern int64_t ElapsedTime;
extern int64_t FrameOrigin;

#pragma once

#include <SDL/SDL.h>

// The first joystick SDL finds, as a gamepad with the common layout (button 0
// bottom of the diamond, 1 right, 2 left, 3 top, 6 Back, 7 Start, the D-pad as hat 0).

// Opens the first joystick, if there is one, and logs its name.
void OpenGamepad();
// Closes it again (before SDL_Quit).
void CloseGamepad();
// Fills the game's input words from a joystick event, as the keys would:
// face buttons are the tabs by their place on the diamond, the bottom one
// also chooses and the right one is Escape outside a game, Back is Escape,
// Start pauses a game or chooses, the D-pad moves highlights. Returns
// whether the event was a joystick event.
bool HandleGamepadEvent(const SDL_Event& event);

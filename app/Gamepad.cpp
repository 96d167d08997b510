#include "app/Gamepad.h"

#include "game/Controls.h"
#include "game/ProgramState.h"
#include "render/Logger.h"

#include <string>

namespace {

SDL_Joystick* pad = nullptr;

enum : Uint8 {
    ButtonBottom = 0, // A on most pads
    ButtonRight = 1,  // B
    ButtonLeft = 2,   // X
    ButtonTop = 3,    // Y
    ButtonBack = 6,
    ButtonStart = 7,
};

// The diamond turned an eighth clockwise onto the pad's quarters: the left
// button takes the top-left tab, the top one the top-right, the bottom one
// the bottom-left and the right one the bottom-right.
int32_t tabKeyOf(Uint8 button)
{
    switch (button) {
    case ButtonLeft:
        return GameKeyTab0;
    case ButtonTop:
        return GameKeyTab1;
    case ButtonBottom:
        return GameKeyTab2;
    case ButtonRight:
        return GameKeyTab3;
    default:
        return 0;
    }
}

void pressButton(Uint8 button)
{
    if (button == ButtonStart) {
        ControlEvent(ControlPadStart);
        return;
    }
    ControlEvent(ControlAnyKey);
    if (const int32_t tab = tabKeyOf(button); tab != 0)
        GameKeyEvent(tab);
    if (button == ButtonBottom)
        GameKeyEvent(GameKeyChoose);
    // In a game the right button is a tab like the others; a stray Escape would end the game.
    if (button == ButtonBack || (button == ButtonRight && !MelodyGameShowing()))
        EscapePressed.Exchange(-1);
}

void moveHat(Uint8 value)
{
    int32_t keys = 0;
    if ((value & SDL_HAT_UP) != 0)
        keys |= GameKeyUp;
    if ((value & SDL_HAT_DOWN) != 0)
        keys |= GameKeyDown;
    if ((value & SDL_HAT_LEFT) != 0)
        keys |= GameKeyLeft;
    if ((value & SDL_HAT_RIGHT) != 0)
        keys |= GameKeyRight;
    if (keys == 0)
        return; // back to the centre
    ControlEvent(ControlAnyKey);
    GameKeyEvent(keys);
}

} // namespace

void OpenGamepad()
{
    if (SDL_NumJoysticks() < 1)
        return;
    pad = SDL_JoystickOpen(0);
    if (pad == nullptr)
        return;
    const char* name = SDL_JoystickName(0);
    Logger().LogMessage(std::string("Gamepad ") + (name != nullptr ? name : "without a name") + "...", "Main");
}

void CloseGamepad()
{
    if (pad != nullptr && SDL_JoystickOpened(0) != 0)
        SDL_JoystickClose(pad);
    pad = nullptr;
}

bool HandleGamepadEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_JOYBUTTONDOWN:
        pressButton(event.jbutton.button);
        return true;
    case SDL_JOYHATMOTION:
        if (event.jhat.hat == 0)
            moveHat(event.jhat.value);
        return true;
    case SDL_JOYBUTTONUP:
    case SDL_JOYAXISMOTION:
    case SDL_JOYBALLMOTION:
        return true;
    default:
        return false;
    }
}

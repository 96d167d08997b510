// The gamepad through SDL's own event queue: each face button chooses the tab
// at its place on the diamond, as a click on that tab would; the D-pad moves
// highlights, A chooses, B and Back are Escape (B only outside a game), Start
// pauses a game.
#include "app/Gamepad.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/ProgramState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

class Gamepad : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }
    void SetUp() override
    {
        KeysPressed.Store(0);
        ControlsPressed.Store(0);
        EscapePressed.Store(0);
        ScreenState = StateGame;
    }

    // Pushes an event into SDL's queue, then polls and hands out what comes back.
    static void deliver(SDL_Event event)
    {
        ASSERT_EQ(SDL_PushEvent(&event), 0);
        SDL_Event polled;
        while (SDL_PollEvent(&polled) != 0)
            HandleGamepadEvent(polled);
    }
    static void button(Uint8 number)
    {
        SDL_Event event{};
        event.type = SDL_JOYBUTTONDOWN;
        event.jbutton.which = 0;
        event.jbutton.button = number;
        event.jbutton.state = SDL_PRESSED;
        deliver(event);
    }
    static void hat(Uint8 value)
    {
        SDL_Event event{};
        event.type = SDL_JOYHATMOTION;
        event.jhat.hat = 0;
        event.jhat.value = value;
        deliver(event);
    }
};

// Buttons 0..3 sit at the bottom, right, left and top of the diamond.
struct TFace {
    Uint8 button;
    float dx, dy;
};
const TFace Faces[] = {{0, 0, 1}, {1, 1, 0}, {2, -1, 0}, {3, 0, -1}};

TEST_F(Gamepad, FaceButtonsChooseTheTabAtTheirPlaceOnTheDiamond)
{
    for (const TFace& face : Faces) {
        // The diamond turned an eighth clockwise lays its four buttons on the four quarters.
        const float root = std::sqrt(0.5f);
        const float x = 400 + 100 * root * (face.dx - face.dy);
        const float y = 250 + 100 * root * (face.dx + face.dy);
        const int32_t tab = PadHit(x, y);
        ASSERT_GE(tab, 0) << "button " << int(face.button);
        button(face.button);
        EXPECT_EQ(KeysPressed.Exchange(0) & ~GameKeyChoose, GameKeyTab0 << tab) << "button " << int(face.button);
        EXPECT_EQ(EscapePressed.Exchange(0), 0) << "button " << int(face.button) << " left the game";
        EXPECT_EQ(ControlsPressed.Exchange(0), ControlAnyKey);
    }
}

TEST_F(Gamepad, MenusTakeTheDPadAChooseAndBOrBackAsEscape)
{
    ScreenState = StateTitleMenu;
    hat(SDL_HAT_UP);
    EXPECT_EQ(KeysPressed.Exchange(0), GameKeyUp);
    hat(SDL_HAT_RIGHTDOWN);
    EXPECT_EQ(KeysPressed.Exchange(0), GameKeyRight | GameKeyDown);
    hat(SDL_HAT_CENTERED);
    EXPECT_EQ(KeysPressed.Exchange(0), 0);
    button(0);
    EXPECT_NE(KeysPressed.Exchange(0) & GameKeyChoose, 0);
    button(1);
    EXPECT_EQ(EscapePressed.Exchange(0), -1);
    KeysPressed.Store(0);
    ScreenState = StateGame;
    button(6);
    EXPECT_EQ(EscapePressed.Exchange(0), -1);
    ControlsPressed.Store(0);
    button(7);
    EXPECT_EQ(ControlsPressed.Exchange(0), ControlPadStart);
    EXPECT_EQ(KeysPressed.Exchange(0), 0);
}

TEST_F(Gamepad, OtherEventsAreNotThePads)
{
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    EXPECT_FALSE(HandleGamepadEvent(key));
    button(9);
    EXPECT_EQ(KeysPressed.Load(), 0);
    EXPECT_EQ(EscapePressed.Load(), 0);
}

} // namespace

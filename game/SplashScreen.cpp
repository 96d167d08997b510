// State 10000: the publisher's card, faded in, held, and closed by the gates.
#include "DataManager/Assets.h"
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/Screens.h"
#include "render/Font.h"
#include "render/Sprites.h"
#include "render/Texture.h"

namespace {

void enterSplash(int32_t)
{
    // Neither picture is shown again soon: the font is uploaded anew by its next draw.
    if (LoadingScreenTexture != nullptr)
        LoadingScreenTexture->Unload();
    if (FontTexture != nullptr)
        FontTexture->Unload();
    FadeAlpha = 1;
    GateClosure = 0;
    SkipTime = 50000000;
}

void updateSplash(int32_t)
{
    const double t = Frame.t;
    if (t < 1) {
        FadeAlpha = float(EaseIn(t));
        GateClosure = 0;
    } else if (t < 2) {
        FadeAlpha = 0;
        GateClosure = 0;
    } else if (t < 3) {
        FadeAlpha = float(EaseOut(t, 2));
        GateClosure = float(t - 2);
    } else {
        FadeAlpha = 0;
        GateClosure = 1;
        RequestState(StateStartupScroller);
    }
}

void drawSplash(int32_t) { DrawSlot(SpritePublishedBy, 0, 0); }

} // namespace

const TScreen SplashScreen{enterSplash, updateSplash, drawSplash};

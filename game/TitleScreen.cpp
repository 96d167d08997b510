// States 20000..20003: the title menu sliding in, waiting for a choice, and
// sliding out towards the chosen screen or the exit advert.
#include "DataManager/Assets.h"
#include "game/Easing.h"
#include "game/GameSound.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/MenuScreen.h"
#include "game/ProgramState.h"
#include "game/ScreenLayout.h"
#include "render/Sprites.h"
#include "render/Texture.h"

#include <algorithm>

namespace {

// Slides: 0 logo, collage, exit and tab 1; 1 tab 2; 2 tab 3; 3..5 the tab glows.
constexpr int32_t GlowBase = 3;

// The tab the arrow keys highlight, 1..3; HitNothing until a key is pressed.
int32_t keyFocus = HitNothing;

void fadeGlows(int32_t highlighted)
{
    for (int32_t tab = 1; tab <= 3; ++tab)
        Slides[size_t(GlowBase + tab - 1)] =
            Approach(Slides[size_t(GlowBase + tab - 1)], tab == highlighted ? 1.0f : 0.0f, Frame.V);
}

void enterTitle(int32_t state)
{
    if (state != StateTitleIntro)
        return;
    // Texture set three holds only the splash and the scroller.
    if (TextureSetThree != nullptr && !TextureSetThree->Dirty)
        TextureSetThree->Unload();
    PendingChoice = -1;
    MusicRequest.Exchange(MusicMenu);
    FadeAlpha = 1;
    GateClosure = 1;
    Slides.fill(0.0f);
    MenuHover = -1;
    MenuChoice = -1;
    keyFocus = HitNothing;
}

// Arrows step through the tabs; the first key pressed shows the highlight on the first tab.
void moveKeyFocus()
{
    const int32_t step =
        (KeyHit(GameKeyRight) || KeyHit(GameKeyDown) ? 1 : 0) - (KeyHit(GameKeyLeft) || KeyHit(GameKeyUp) ? 1 : 0);
    const bool anyKey = KeyHit(GameKeyLeft | GameKeyRight | GameKeyUp | GameKeyDown | GameKeyChoose);
    if (keyFocus < 1) {
        if (anyKey)
            keyFocus = 1;
        return;
    }
    keyFocus = std::clamp(keyFocus + step, 1, 3);
}

int32_t takeKeyChoice() { return TakeKeyChoice(keyFocus, moveKeyFocus); }

void updateIntro()
{
    const double t = Frame.t;
    SlideMenuIn(t);
    LatchIntroChoice(HitExit, TitleMenuHit(PointerX(), PointerY()), takeKeyChoice());
    if (t >= 2)
        RequestState(StateTitleMenu);
}

void updateMenu()
{
    FadeAlpha = 0;
    GateClosure = 0;
    Slides[0] = Slides[1] = Slides[2] = 1;
    const int32_t hit = TitleMenuHit(PointerX(), PointerY());
    MenuHover = ButtonHeld() && hit >= 1 && hit <= 3 ? hit : -1;
    const int32_t choice = TakeMenuChoice(HitExit, hit, takeKeyChoice());
    fadeGlows(MenuHover >= 1 ? MenuHover : keyFocus);
    if (choice == HitNothing)
        return;
    MenuChoice = choice;
    RequestState(choice == HitExit ? StateTitleExit : StateTitleOutro);
}

void updateOutro(bool toExit)
{
    const double t = Frame.t;
    SlideMenuOut(t);
    fadeGlows(-1);
    if (toExit)
        TGameSound(SoundSystem).FadeMenuMusic(float(std::max(0.0, 1 - t / 2)));
    if (!StepMenuOutro(t, !toExit))
        return;
    if (toExit)
        RequestState(StateAdvertIntro);
    else
        RequestState(MenuChoice == 1   ? StateTrackSelectIntro
                     : MenuChoice == 2 ? StateHighScoreIntro
                                       : StateCreditsIntro);
}

void updateTitle(int32_t state)
{
    switch (state) {
    case StateTitleIntro:
        updateIntro();
        break;
    case StateTitleMenu:
        updateMenu();
        break;
    case StateTitleOutro:
        updateOutro(false);
        break;
    default:
        updateOutro(true);
        break;
    }
}

void drawMenuStrips(int32_t slot, bool glows)
{
    const Sprite& menu = SpriteOf(slot);
    const float h = float(SpriteOf(SpriteTitleMenu).h);
    for (size_t tab = 0; tab < 3; ++tab) {
        const TArea& strip = TitleLayout.tabs[tab];
        const float slide = Slides[tab];
        const float alpha = glows ? Slides[GlowBase + tab] : 1.0f;
        const float x = strip.left + (1 - slide) * TitleLayout.travel[tab];
        DrawSpriteRegion(menu, strip.left, 0, strip.Width(), h, x, 0, strip.Width(), h, 1, 1, 1, alpha);
    }
}

void drawTitle(int32_t)
{
    const float slide = Slides[0];
    DrawSlot(SpriteTitleBg, 0, 0);
    const Sprite& logo = SpriteOf(SpriteTitleLogo);
    DrawSlot(SpriteTitleLogo, -(1 - slide) * float(logo.w + logo.oX), 0);
    const Sprite& collage = SpriteOf(SpriteTitleEyeCollage);
    DrawSlot(SpriteTitleEyeCollage, 0, (1 - slide) * float(480 - collage.oY));
    DrawSlot(SpriteTitleMenuExit, 0, (1 - slide) * 50);
    drawMenuStrips(SpriteTitleMenu, false);
    drawMenuStrips(SpriteTitleMenuMouseOver, true);
}

} // namespace

const TScreen TitleScreen{enterTitle, updateTitle, drawTitle};

// States 20000..20003: the title menu sliding in, waiting for a choice, and
// sliding out towards the chosen screen or the exit advert.
#include "DataManager/Assets.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/ProgramState.h"
#include "game/Screens.h"
#include "render/Sprites.h"
#include "render/Texture.h"

#include <algorithm>

namespace {

// Slides: 0 logo, collage, exit and tab 1; 1 tab 2; 2 tab 3; 3..5 the tab glows.
constexpr int32_t GlowBase = 3;
constexpr int32_t ChoiceExit = 4;

// The tab the arrow keys highlight, 1..3; -1 until a key is pressed.
int32_t keyFocus = -1;

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
    MusicRequest.exchange(MusicMenu);
    FadeAlpha = 1;
    GateClosure = 1;
    Slides.fill(0.0f);
    MenuHover = -1;
    MenuChoice = -1;
    keyFocus = -1;
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

// Moves the highlight; the highlighted tab when Enter or Space takes it, else -1.
int32_t takeKeyChoice()
{
    const bool focused = keyFocus >= 1;
    moveKeyFocus();
    return focused && KeyHit(GameKeyChoose) ? keyFocus : -1;
}

void updateIntro()
{
    const double t = Frame.t;
    SlideMenuIn(t);
    const int32_t keyed = takeKeyChoice();
    if (EscapeHit())
        PendingChoice = ChoiceExit;
    else if (Click)
        PendingChoice = TitleMenuHit(PointerX(), PointerY());
    else if (keyed >= 1)
        PendingChoice = keyed;
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
    const int32_t keyed = takeKeyChoice();
    int32_t choice = -1;
    if (EscapeHit())
        choice = ChoiceExit;
    else if (PendingChoice >= 1)
        choice = PendingChoice;
    else if (Click)
        choice = hit;
    else if (keyed >= 1)
        choice = keyed;
    fadeGlows(MenuHover >= 1 ? MenuHover : keyFocus);
    if (choice < 1)
        return;
    MenuChoice = choice;
    RequestState(choice == ChoiceExit ? StateTitleExit : StateTitleOutro);
}

void updateOutro(bool toExit)
{
    const double t = Frame.t;
    SlideMenuOut(t);
    fadeGlows(-1);
    if (toExit && SoundSystem != nullptr)
        SoundSystem->SetMusicVolume(0, float(std::max(0.0, 1 - t / 2)));
    if (t >= 2) {
        FadeAlpha = 1;
        GateClosure = toExit ? 0.0f : 1.0f;
        if (toExit)
            RequestState(StateAdvertIntro);
        else
            RequestState(MenuChoice == 1   ? StateTrackSelectIntro
                         : MenuChoice == 2 ? StateHighScoreIntro
                                           : StateCreditsIntro);
    } else if (t >= 1) {
        FadeAlpha = float(EaseOut(t, 1));
        GateClosure = toExit ? 0.0f : float(t - 1);
    } else {
        FadeAlpha = 0;
        GateClosure = 0;
    }
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
    const float left[3] = {605, 666, 727};
    const float travel[3] = {197, 134, 73};
    for (int32_t tab = 0; tab < 3; ++tab) {
        const float slide = Slides[size_t(tab)];
        const float alpha = glows ? Slides[size_t(GlowBase + tab)] : 1.0f;
        const float x = left[tab] + (1 - slide) * travel[tab];
        DrawSpriteRegion(menu, left[tab], 0, 58, h, x, 0, 58, h, 1, 1, 1, alpha);
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

// States 50000..50002: the five tiles, the random band and the hidden bonus
// corner; locks slide over the tiles not yet earned.
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/Screens.h"
#include "render/Sprites.h"

namespace {

// Slides: 0 back button and the lock at x 335; 1 the lock at 480; 2 the lock at 630.
constexpr int32_t ChoiceBack = 255;

void enterSelect(int32_t state)
{
    if (state != StateTrackSelectIntro)
        return;
    PendingChoice = -1;
    MusicRequest.exchange(MusicMenu);
    FadeAlpha = 1;
    GateClosure = 1;
    Slides[0] = Slides[1] = Slides[2] = 0;
    TrackHover = -1;
    TrackChoice = -1;
    Score = 0;
}

void updateIntro()
{
    const double t = Frame.t;
    SlideMenuIn(t);
    if (EscapeHit())
        PendingChoice = ChoiceBack;
    else if (Click)
        PendingChoice = TrackSelectHit(PointerX(), PointerY(), Locks);
    if (t >= 2)
        RequestState(StateTrackSelect);
}

void updateSelect()
{
    FadeAlpha = 0;
    GateClosure = 0;
    Slides[0] = Slides[1] = Slides[2] = 1;
    const int32_t hit = TrackSelectHit(PointerX(), PointerY(), Locks);
    TrackHover = ButtonHeld() ? hit : -1;
    int32_t choice = -1;
    if (EscapeHit())
        choice = ChoiceBack;
    else if (PendingChoice >= 0)
        choice = PendingChoice;
    else if (Click)
        choice = hit;
    if (choice < 0)
        return;
    TrackChoice = choice;
    RequestState(StateTrackSelectOutro);
}

void updateOutro()
{
    const double t = Frame.t;
    SlideMenuOut(t);
    if (t >= 2) {
        FadeAlpha = 1;
        GateClosure = 1;
        RequestState(TrackChoice >= 0 && TrackChoice <= 6 ? StateGameIntro : StateTitleIntro);
    } else if (t >= 1) {
        FadeAlpha = float(EaseOut(t, 1));
        GateClosure = float(t - 1);
    } else {
        FadeAlpha = 0;
        GateClosure = 0;
    }
}

void updateSelectScreen(int32_t state)
{
    if (state == StateTrackSelectIntro)
        updateIntro();
    else if (state == StateTrackSelect)
        updateSelect();
    else
        updateOutro();
}

void drawLock(float x, float slide)
{
    const Sprite& locks = SpriteOf(SpriteSelectLocks);
    const float lowered = (1 - slide) * float(800 - locks.y);
    DrawSpriteRegion(locks, x, 140, 135, 220, x, 140 + lowered, 135, 220, 1, 1, 1, 1);
}

void drawSelect(int32_t)
{
    DrawSlot(SpriteSelectBg, 0, 0);
    DrawSlot(SpriteTitleMenuExit, 0, (1 - Slides[0]) * 50 + 12);
    if (Locks >= 3)
        drawLock(335, Slides[0]);
    if (Locks >= 2)
        drawLock(480, Slides[1]);
    if (Locks >= 1)
        drawLock(630, Slides[2]);
}

} // namespace

const TScreen TrackSelectScreen{enterSelect, updateSelectScreen, drawSelect};

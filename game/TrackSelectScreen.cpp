// States 50000..50002: the five tiles, the random band and the hidden bonus
// corner; locks slide over the tiles not yet earned.
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/ProgramState.h"
#include "game/Screens.h"
#include "render/Renderer.h"
#include "render/Sprites.h"

#include <algorithm>

namespace {

// Slides: 0 back button and the lock at x 335; 1 the lock at 480; 2 the lock at 630.
constexpr int32_t ChoiceBack = 255;

// The arrow keys' highlight: a track or back; -1 until a key is pressed. The
// tiles form the top row; back, the random band and the bonus corner the bottom one.
int32_t keyFocus = -1;
int32_t lastTileFocus = 0;
constexpr int32_t BottomRow[3] = {ChoiceBack, TrackRandom, TrackBonus};

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
    keyFocus = -1;
    lastTileFocus = 0;
}

// The next open tile from a tile in a direction, or the tile itself.
int32_t nextOpenTile(int32_t tile, int32_t step)
{
    for (int32_t next = tile + step; next >= 0 && next < TrackTileCount; next += step)
        if (TrackTileOpen(next, Locks))
            return next;
    return tile;
}

void moveKeyFocus()
{
    const int32_t step = (KeyHit(GameKeyRight) ? 1 : 0) - (KeyHit(GameKeyLeft) ? 1 : 0);
    if (keyFocus < 0) {
        if (KeyHit(GameKeyLeft | GameKeyRight | GameKeyUp | GameKeyDown | GameKeyChoose))
            keyFocus = 0;
        return;
    }
    const bool onTiles = keyFocus < TrackTileCount;
    if (onTiles && KeyHit(GameKeyDown)) {
        lastTileFocus = keyFocus;
        keyFocus = TrackRandom;
    } else if (!onTiles && KeyHit(GameKeyUp)) {
        keyFocus = lastTileFocus;
    } else if (onTiles && step != 0) {
        keyFocus = nextOpenTile(keyFocus, step);
    } else if (step != 0) {
        const int32_t at = int32_t(std::find(BottomRow, BottomRow + 3, keyFocus) - BottomRow);
        keyFocus = BottomRow[std::clamp(at + step, 0, 2)];
    }
}

// Moves the highlight; what is highlighted when Enter or Space takes it, else -1.
int32_t takeKeyChoice()
{
    const bool focused = keyFocus >= 0;
    moveKeyFocus();
    return focused && KeyHit(GameKeyChoose) ? keyFocus : -1;
}

void updateIntro()
{
    const double t = Frame.t;
    SlideMenuIn(t);
    const int32_t keyed = takeKeyChoice();
    if (EscapeHit())
        PendingChoice = ChoiceBack;
    else if (Click)
        PendingChoice = TrackSelectHit(PointerX(), PointerY(), Locks);
    else if (keyed >= 0)
        PendingChoice = keyed;
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
    const int32_t keyed = takeKeyChoice();
    int32_t choice = -1;
    if (EscapeHit())
        choice = ChoiceBack;
    else if (PendingChoice >= 0)
        choice = PendingChoice;
    else if (Click)
        choice = hit;
    else if (keyed >= 0)
        choice = keyed;
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
        RequestState(TrackChoice >= 0 && TrackChoice < TrackCount ? StateGameIntro : StateTitleIntro);
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

// A frame around what the arrow keys highlight.
void drawKeyFocus()
{
    struct TArea {
        float x, y, w, h;
    };
    static const TArea tiles[5] = {
        {33, 103, 137, 259}, {168, 103, 158, 259}, {326, 103, 147, 259}, {472, 103, 150, 259}, {620, 103, 157, 259}};
    TArea area{};
    if (keyFocus >= 0 && keyFocus <= 4)
        area = tiles[keyFocus];
    else if (keyFocus == TrackRandom)
        area = {86, 373, 568, 71};
    else if (keyFocus == TrackBonus)
        area = {726, 416, 68, 60};
    else if (keyFocus == ChoiceBack)
        area = {10, 432, 58, 40};
    else
        return;
    constexpr float edge = 5;
    UseSolidShader();
    const float r = 1.0f, g = 0.757f, b = 0.271f, a = 0.95f; // the amber of the top-right tab
    DrawSolidQuad(area.x, area.y, area.w, edge, r, g, b, a);
    DrawSolidQuad(area.x, area.y + area.h - edge, area.w, edge, r, g, b, a);
    DrawSolidQuad(area.x, area.y + edge, edge, area.h - 2 * edge, r, g, b, a);
    DrawSolidQuad(area.x + area.w - edge, area.y + edge, edge, area.h - 2 * edge, r, g, b, a);
    UseTextureShader();
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
    drawKeyFocus();
}

} // namespace

const TScreen TrackSelectScreen{enterSelect, updateSelectScreen, drawSelect};

// States 50000..50002: the five tiles, the random band and the hidden bonus
// corner; locks slide over the tiles not yet earned.
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/MenuScreen.h"
#include "game/ProgramState.h"
#include "game/ScreenLayout.h"
#include "render/Renderer.h"
#include "render/Sprites.h"

#include <algorithm>
#include <optional>

namespace {

// Slides: 0 back button and the lock over tile 2; 1 the lock over tile 3; 2 the lock over tile 4.

// The arrow keys' highlight: a track or back; HitNothing until a key is pressed.
// The tiles form the top row; back, the random band and the bonus corner the bottom one.
int32_t keyFocus = HitNothing;
int32_t lastTileFocus = 0;
constexpr int32_t BottomRow[3] = {HitBack, TrackRandom, TrackBonus};

void enterSelect(int32_t state)
{
    if (state != StateTrackSelectIntro)
        return;
    PendingChoice = -1;
    MusicRequest.Exchange(MusicMenu);
    FadeAlpha = 1;
    GateClosure = 1;
    Slides[0] = Slides[1] = Slides[2] = 0;
    TrackHover = -1;
    TrackChoice = -1;
    Score = 0;
    keyFocus = HitNothing;
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
    if (keyFocus == HitNothing) {
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

int32_t takeKeyChoice() { return TakeKeyChoice(keyFocus, moveKeyFocus); }

void updateIntro()
{
    const double t = Frame.t;
    SlideMenuIn(t);
    LatchIntroChoice(HitBack, TrackSelectHit(PointerX(), PointerY(), Locks), takeKeyChoice());
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
    const int32_t choice = TakeMenuChoice(HitBack, hit, takeKeyChoice());
    if (choice == HitNothing)
        return;
    TrackChoice = choice;
    RequestState(StateTrackSelectOutro);
}

void updateOutro()
{
    SlideMenuOut(Frame.t);
    if (StepMenuOutro(Frame.t, true))
        RequestState(TrackChoice >= 0 && TrackChoice < TrackCount ? StateGameIntro : StateTitleIntro);
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

// The padlock over a tile, lowered out of sight as its slide goes to 0.
void drawLock(int32_t tile, float slide)
{
    const Sprite& locks = SpriteOf(SpriteSelectLocks);
    const float x = TrackSelectLayout.lockLeft[size_t(tile)];
    const float lowered = (1 - slide) * float(800 - locks.y);
    DrawSpriteRegion(locks, x, 140, 135, 220, x, 140 + lowered, 135, 220, 1, 1, 1, 1);
}

// The frame the arrow keys' highlight draws, if any.
std::optional<TArea> keyFocusFrame()
{
    const TTrackSelectLayout& layout = TrackSelectLayout;
    if (keyFocus >= 0 && keyFocus < TrackTileCount)
        return layout.tiles[size_t(keyFocus)].Grown(layout.tileFrameMargin);
    if (keyFocus == TrackRandom)
        return layout.randomFrame;
    if (keyFocus == TrackBonus)
        return layout.bonusFrame;
    if (keyFocus == HitBack)
        return layout.backFrame;
    return std::nullopt;
}

// A frame around what the arrow keys highlight.
void drawKeyFocus()
{
    const std::optional<TArea> area = keyFocusFrame();
    if (!area)
        return;
    const float x = area->left, y = area->top, w = area->Width(), h = area->Height();
    constexpr float edge = 5;
    UseSolidShader();
    const float r = 1.0f, g = 0.757f, b = 0.271f, a = 0.95f; // the amber of the top-right tab
    DrawSolidQuad(x, y, w, edge, r, g, b, a);
    DrawSolidQuad(x, y + h - edge, w, edge, r, g, b, a);
    DrawSolidQuad(x, y + edge, edge, h - 2 * edge, r, g, b, a);
    DrawSolidQuad(x + w - edge, y + edge, edge, h - 2 * edge, r, g, b, a);
    UseTextureShader();
}

void drawSelect(int32_t)
{
    DrawSlot(SpriteSelectBg, 0, 0);
    DrawSlot(SpriteTitleMenuExit, 0, (1 - Slides[0]) * 50 + 12);
    // Tile 2 opens when the locks fall below 3, tile 3 below 2, tile 4 below 1.
    for (int32_t tile = 2; tile < TrackTileCount; ++tile)
        if (!TrackTileOpen(tile, Locks))
            drawLock(tile, Slides[size_t(tile - 2)]);
    drawKeyFocus();
}

} // namespace

const TScreen TrackSelectScreen{enterSelect, updateSelectScreen, drawSelect};

// States 30000..30002 (credits) and 40000..40002 (high score): a picture behind
// the gates, left on any click or Escape.
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/Screens.h"
#include "render/Renderer.h"
#include "render/Sprites.h"

namespace {

// The credits scroller loops every 120 s and starts 6.5 s into its cycle.
constexpr int64_t CreditsCycle = 120000000;
constexpr int64_t CreditsStart = 6500000;

// Phase of a state: 0 intro, 1 interactive, 2 outro.
int32_t phaseOf(int32_t state) { return state % 10; }

void enterInfo(int32_t state)
{
    if (phaseOf(state) != 0)
        return;
    PendingChoice = -1;
    MusicRequest.exchange(MusicMenu);
    FadeAlpha = 1;
    GateClosure = 1;
}

void updateInfo(int32_t state)
{
    const int32_t base = state - phaseOf(state);
    const double t = Frame.t;
    switch (phaseOf(state)) {
    case 0:
        if (Click || EscapeHit())
            PendingChoice = 1;
        if (t < 1) {
            FadeAlpha = float(EaseIn(t));
            GateClosure = float(1 - t);
        } else {
            FadeAlpha = 0;
            GateClosure = 0;
            RequestState(base + 1);
        }
        break;
    case 1:
        FadeAlpha = 0;
        GateClosure = 0;
        if (Click || PendingChoice > 0 || EscapeHit())
            RequestState(base + 2);
        break;
    default:
        if (t < 1) {
            FadeAlpha = float(Pow4(t));
            GateClosure = float(t);
        } else {
            FadeAlpha = 1;
            GateClosure = 1;
            RequestState(StateTitleIntro);
        }
        break;
    }
}

float creditsScroll() { return float(double((StateTime + CreditsStart) % CreditsCycle) / double(CreditsCycle)); }

void drawCredits(int32_t)
{
    DrawSlot(SpriteCreditsBg, 0, 0);
    UseScrollMaskShader();
    DrawSpriteMasked(SpriteOf(SpriteCreditsScroller), 0, 480 - creditsScroll() * 2528, 1, 1, 1, 1);
    UseTextureShader();
}

void drawHighScore(int32_t)
{
    DrawSlot(SpriteHighScoreBg, 0, 0);
    UseScrollMaskShader();
    DrawSpriteMasked(SpriteOf(SpriteFakeHighScore), 0, 0, 1, 1, 1, 1);
    UseTextureShader();
}

} // namespace

const TScreen CreditsScreen{enterInfo, updateInfo, drawCredits};
const TScreen HighScoreScreen{enterInfo, updateInfo, drawHighScore};

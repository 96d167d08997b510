// States 30000..30002 (credits) and 40000..40002 (high score): a picture behind
// the gates, left on any click or Escape.
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/Screens.h"
#include "render/Renderer.h"
#include "render/Sprites.h"

namespace {

// The credits scroller loops every 120 s and stands 6.5 s into its cycle when
// the screen becomes interactive.
constexpr int64_t CreditsCycle = 120000000;
constexpr int64_t CreditsStart = 6500000;
constexpr int64_t CreditsIntro = 1000000;

// Scroll time carried into the current credits state, so the text moves on
// smoothly from the intro through the outro while each state's time restarts.
int64_t creditsCarried = 0;

// Phase of a state: 0 intro, 1 interactive, 2 outro.
int32_t phaseOf(int32_t state) { return state % 10; }

void enterInfo(int32_t state)
{
    if (state / 10000 == StateCreditsIntro / 10000) {
        // StateTime still holds the time spent in the state being left.
        creditsCarried = state == StateCreditsIntro ? CreditsStart - CreditsIntro : creditsCarried + StateTime;
    }
    if (phaseOf(state) != 0)
        return;
    PendingChoice = -1;
    MusicRequest.Exchange(MusicMenu);
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

void drawCredits(int32_t)
{
    DrawSlot(SpriteCreditsBg, 0, 0);
    UseScrollMaskShader();
    DrawSpriteMasked(SpriteOf(SpriteCreditsScroller), 0, 480 - CreditsScroll() * 2528, 1, 1, 1, 1);
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

float CreditsScroll() { return float(double((creditsCarried + StateTime) % CreditsCycle) / double(CreditsCycle)); }

const TScreen CreditsScreen{enterInfo, updateInfo, drawCredits};
const TScreen HighScoreScreen{enterInfo, updateInfo, drawHighScore};

// States 70000..70002: the goodbye card; its top-right box opens the
// publisher's page on the way out.
#include "game/Easing.h"
#include "game/GameState.h"
#include "game/HitTests.h"
#include "game/ProgramState.h"
#include "game/Screens.h"
#include "render/Sprites.h"

namespace {

constexpr int32_t ChoiceLeave = 1;
constexpr int32_t ChoiceWebPage = 2;
constexpr int32_t ChoiceEscape = 3;

bool webPageWanted = false;

void enterAdvert(int32_t state)
{
    // The intro's latched input is kept into the interactive state, so an Escape
    // during the first second still leaves.
    if (state == StateAdvertOutro)
        return;
    if (state == StateAdvertIntro) {
        PendingChoice = -1;
        webPageWanted = false;
    }
    MusicRequest.Exchange(MusicSilence);
}

void updateAdvert(int32_t state)
{
    const double t = Frame.t;
    if (state == StateAdvertIntro) {
        if (EscapeHit())
            PendingChoice = ChoiceEscape;
        else if (Click)
            PendingChoice = InWebBox(PointerX(), PointerY()) ? ChoiceWebPage : ChoiceLeave;
        FadeAlpha = t < 1 ? float(EaseIn(t)) : 0.0f;
        if (t >= 1)
            RequestState(StateAdvert);
    } else if (state == StateAdvert) {
        FadeAlpha = 0;
        if (Click || PendingChoice > 0 || EscapeHit()) {
            webPageWanted = PendingChoice == ChoiceWebPage || (PendingChoice < 0 && InWebBox(PointerX(), PointerY()));
            RequestState(StateAdvertOutro);
        }
    } else if (t < 1) {
        FadeAlpha = float(Pow4(t));
    } else {
        FadeAlpha = 1;
        OpenWebPageRequested.Exchange(webPageWanted ? 1 : 0);
        QuitRequested.Exchange(1);
    }
}

void drawAdvert(int32_t) { DrawSlot(SpriteAdvert, 0, 0); }

} // namespace

const TScreen AdvertScreen{enterAdvert, updateAdvert, drawAdvert};

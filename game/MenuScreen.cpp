#include "game/MenuScreen.h"

#include "game/Easing.h"
#include "game/GameState.h"

void SlideMenuIn(double t)
{
    FadeAlpha = t < 1 ? float(EaseIn(t)) : 0.0f;
    GateClosure = t < 1 ? float(1 - t) : 0.0f;
    Slides[0] = InBetween(t, 1.5);
    Slides[1] = InBetween(t, 1.75);
    Slides[2] = InBetween(t, 2.0);
}

void SlideMenuOut(double t)
{
    Slides[2] = AwayBetween(t, 0);
    Slides[1] = AwayBetween(t, 0.25);
    Slides[0] = AwayBetween(t, 0.5);
}

bool StepMenuOutro(double t, bool CloseGates)
{
    if (t >= 2) {
        FadeAlpha = 1;
        GateClosure = CloseGates ? 1.0f : 0.0f;
        return true;
    }
    if (t >= 1) {
        FadeAlpha = float(EaseOut(t, 1));
        GateClosure = CloseGates ? float(t - 1) : 0.0f;
    } else {
        FadeAlpha = 0;
        GateClosure = 0;
    }
    return false;
}

void LatchIntroChoice(int32_t EscapeChoice, int32_t ClickHit, int32_t KeyChoice)
{
    if (EscapeHit())
        PendingChoice = EscapeChoice;
    else if (Click)
        PendingChoice = ClickHit;
    else if (KeyChoice != HitNothing)
        PendingChoice = KeyChoice;
}

int32_t TakeMenuChoice(int32_t EscapeChoice, int32_t ClickHit, int32_t KeyChoice)
{
    if (EscapeHit())
        return EscapeChoice;
    if (PendingChoice != HitNothing)
        return PendingChoice;
    if (Click)
        return ClickHit;
    return KeyChoice;
}

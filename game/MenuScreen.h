#pragma once

#include "game/HitTests.h"
#include "game/ProgramState.h"
#include "game/Screens.h"

#include <cstdint>

// What the title menu and the track selection share: their timeline in and
// out, and which input chooses. A choice is a screen's own number (a tab, a
// track, its exit or back); HitNothing is none.

// The menu screens' shared timeline: fade and gates open over the first second
// while slides 0..2 arrive in turn by t = 2; on the way out they leave in turn.
void SlideMenuIn(double t);
void SlideMenuOut(double t);

// The fade and gates of a menu's outro at t seconds: one second still, then a
// second of fading to black (and closing the gates when CloseGates); true at
// its end, with the screen black.
bool StepMenuOutro(double t, bool CloseGates);

// During the intro a choice is only latched into PendingChoice: Escape's, else
// a click's (even one on nothing, which forgets a key's), else the keys'.
void LatchIntroChoice(int32_t EscapeChoice, int32_t ClickHit, int32_t KeyChoice);

// The choice of a menu update, the first that applies: Escape's, the one
// latched in the intro, a click's, the keys'. HitNothing when none.
int32_t TakeMenuChoice(int32_t EscapeChoice, int32_t ClickHit, int32_t KeyChoice);

// The keys' part: Move steps the highlight Focus (HitNothing until a key shows
// it); the highlighted entry when Enter or Space takes it, else HitNothing. The
// key that first shows the highlight chooses nothing.
template <class TMove>
int32_t TakeKeyChoice(const int32_t& Focus, TMove Move)
{
    const bool focused = Focus != HitNothing;
    Move();
    return focused && KeyHit(GameKeyChoose) ? Focus : HitNothing;
}

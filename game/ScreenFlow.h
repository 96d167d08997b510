#pragma once

#include <cstdint>

// One update of the screen machine for a clock delta (ticks of ClockFrequency):
// applies a pending state change, advances the state time, derives Click and
// runs the current screen's update.
void GameUpdate(int64_t delta);
// Enters the screen a loading pass asked to resume, without its entry actions;
// returns whether there was one.
bool ResumeAfterLoading();
// Returns the machine to its loading state with a fresh texture pass; the
// screen it was showing is resumed afterwards (window rebuilds).
void ReenterLoadingState();

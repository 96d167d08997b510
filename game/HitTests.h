#pragma once

#include <cstdint>

// Hit tests of the screens on the 800 x 480 virtual screen, over the areas of
// game/ScreenLayout.h.

// What a hit test answers besides a tab or a track.
enum : int32_t {
    HitNothing = -1, // no area, or a locked tile
    HitExit = 4,     // the title's exit box
    HitHub = 128,    // the pad's hub
    HitBack = 255,   // the track selection's back box (also TrackChoice's "back")
};

// Title menu: 1..3 for the three tabs (any height), HitExit, or HitNothing.
int32_t TitleMenuHit(float x, float y);
// Track selection: 0..6 for a track, HitBack, or HitNothing (also for a locked tile).
int32_t TrackSelectHit(float x, float y, int32_t locks);
// Whether tile 0..4 of the track selection is open with this many locks.
bool TrackTileOpen(int32_t track, int32_t locks);
// Whether a point lies in the back/exit box at the bottom left.
bool InBackBox(float x, float y);
// Whether a point lies in the exit advert's web box.
bool InWebBox(float x, float y);
// In-game pad: 0..3 for a tab, HitHub, or HitNothing.
int32_t PadHit(float x, float y);

#pragma once

#include <cstdint>

// Hit areas of the screens on the 800 x 480 virtual screen; every range includes both ends.

// Title menu: 1..3 for the three tabs (any height), 4 for the exit box, -1 for nothing.
int32_t TitleMenuHit(float x, float y);
// Track selection: 0..6 for a track, 255 for back, -1 for nothing or a locked tile.
int32_t TrackSelectHit(float x, float y, int32_t locks);
// Whether tile 0..4 of the track selection is open with this many locks.
bool TrackTileOpen(int32_t track, int32_t locks);
// Whether a point lies in the back/exit box at the bottom left.
bool InBackBox(float x, float y);
// Whether a point lies in the exit advert's web box.
bool InWebBox(float x, float y);
// In-game pad: 0..3 for a tab, 128 for the hub, -1 for nothing.
int32_t PadHit(float x, float y);

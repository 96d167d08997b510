#include "game/HitTests.h"

#include "game/GameState.h"
#include "game/ScreenLayout.h"

bool InBackBox(float x, float y) { return CornerLayout.back.Contains(x, y); }

bool InWebBox(float x, float y) { return CornerLayout.web.Contains(x, y); }

int32_t TitleMenuHit(float x, float y)
{
    if (InBackBox(x, y))
        return HitExit;
    for (int32_t tab = 0; tab < 3; ++tab)
        if (TitleLayout.tabs[size_t(tab)].Contains(x, y))
            return tab + 1;
    return HitNothing;
}

// Tracks 2, 3 and 4 open as the locks fall below 3, 2 and 1.
bool TrackTileOpen(int32_t track, int32_t locks) { return track < 2 || locks < 5 - track; }

int32_t TrackSelectHit(float x, float y, int32_t locks)
{
    const TTrackSelectLayout& layout = TrackSelectLayout;
    if (InBackBox(x, y))
        return HitBack;
    for (int32_t track = 0; track < TrackTileCount; ++track)
        if (layout.tiles[size_t(track)].Contains(x, y))
            return TrackTileOpen(track, locks) ? track : HitNothing;
    if (layout.bonus.Contains(x, y))
        return TrackBonus;
    if (layout.random.Contains(x, y))
        return TrackRandom;
    return HitNothing;
}

int32_t PadHit(float x, float y)
{
    if (PadLayout.hub.Contains(x, y))
        return HitHub;
    for (int32_t tab = 0; tab < 4; ++tab)
        if (PadLayout.tabs[size_t(tab)].Contains(x, y))
            return tab;
    return HitNothing;
}

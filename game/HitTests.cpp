#include "game/HitTests.h"

namespace {

bool inside(float x, float y, float left, float right, float top, float bottom)
{
    return x >= left && x <= right && y >= top && y <= bottom;
}

} // namespace

bool InBackBox(float x, float y) { return inside(x, y, 0, 80, 400, 480); }

bool InWebBox(float x, float y) { return inside(x, y, 626, 800, 0, 174); }

int32_t TitleMenuHit(float x, float y)
{
    if (InBackBox(x, y))
        return 4;
    if (x >= 605 && x <= 662)
        return 1;
    if (x >= 666 && x <= 722)
        return 2;
    if (x >= 727 && x <= 783)
        return 3;
    return -1;
}

// Tracks 2, 3 and 4 open as the locks fall below 3, 2 and 1.
bool TrackTileOpen(int32_t track, int32_t locks) { return track < 2 || locks < 5 - track; }

int32_t TrackSelectHit(float x, float y, int32_t locks)
{
    struct TTile {
        float left, right;
        int32_t track;
    };
    static const TTile tiles[] = {
        {35, 168, 0}, {170, 324, 1}, {328, 471, 2}, {474, 620, 3}, {622, 775, 4},
    };
    if (InBackBox(x, y))
        return 255;
    if (y >= 105 && y <= 360) {
        for (const TTile& tile : tiles) {
            if (x >= tile.left && x <= tile.right)
                return TrackTileOpen(tile.track, locks) ? tile.track : -1;
        }
    }
    if (inside(x, y, 720, 800, 403, 480))
        return 6;
    if (inside(x, y, 0, 800, 375, 442))
        return 5;
    return -1;
}

int32_t PadHit(float x, float y)
{
    if (inside(x, y, 338, 459, 184, 298))
        return 128;
    if (inside(x, y, 218, 400, 59, 240))
        return 0;
    if (inside(x, y, 399, 586, 59, 240))
        return 1;
    if (inside(x, y, 218, 400, 240, 433))
        return 2;
    if (inside(x, y, 399, 586, 240, 433))
        return 3;
    return -1;
}

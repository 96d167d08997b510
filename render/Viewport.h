#pragma once

#include <cstdint>

// The virtual screen every draw addresses: 800 x 480 units, origin top-left.
constexpr float VirtualWidth = 800.0f;
constexpr float VirtualHeight = 480.0f;

// The largest centred 5:3 rectangle of the window, in window pixels.
struct Viewport {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 800;
    int32_t height = 480;
};

// The viewport for a window; a window narrower than 5:3 gets bars above and
// below, a wider one bars left and right.
Viewport ComputeViewport(int32_t windowWidth, int32_t windowHeight);

struct VirtualPoint {
    float x;
    float y;
};

// Maps a window pixel position onto the virtual screen; positions in the bars
// land outside 0..800 or 0..480 and are kept as they are.
VirtualPoint WindowToVirtual(const Viewport& viewport, int32_t x, int32_t y);

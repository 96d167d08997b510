#pragma once

#include "render/Sprites.h"

#include <optional>

// One textured draw: a texel rectangle of a texture and the virtual rectangle it covers.
struct QuadPlacement {
    float sx, sy, sw, sh; // texel rectangle in the texture
    float x, y, w, h;     // virtual-screen rectangle
};

// Whether a tint alpha is visible at all. The comparison is made in extended
// precision, so the float nearest 0.0001 (just below it) counts as invisible.
bool SpriteAlphaVisible(float alpha);

// Where rectangle (sx, sy, sw, sh) of a sprite's untrimmed frame goes when drawn onto virtual rectangle
// (dx, dy, dw, dh): the region is clipped to the trimmed pixels and the destination shrunk by the same
// parts, scaled by dw / sw and dh / sh. Nothing when the slot is empty, alpha is invisible, or the region
// misses the trimmed pixels. All arithmetic is in 32-bit floats.
std::optional<QuadPlacement> PlaceSpriteRegion(const Sprite& sprite, float sx, float sy, float sw, float sh, float dx,
                                               float dy, float dw, float dh, float alpha);

// PlaceSpriteRegion for the whole frame at its own size with its top-left corner at (x, y).
std::optional<QuadPlacement> PlaceSprite(const Sprite& sprite, float x, float y, float alpha);

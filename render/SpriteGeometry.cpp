#include "render/SpriteGeometry.h"

#include <algorithm>

bool SpriteAlphaVisible(float alpha) { return !(static_cast<long double>(alpha) < 0.0001L); }

std::optional<QuadPlacement> PlaceSpriteRegion(const Sprite& sprite, float sx, float sy, float sw, float sh, float dx,
                                               float dy, float dw, float dh, float alpha)
{
    if (sprite.Texture == nullptr || !SpriteAlphaVisible(alpha)) {
        return std::nullopt;
    }
    const auto trimLeft = static_cast<float>(sprite.oX);
    const auto trimTop = static_cast<float>(sprite.oY);
    const float trimRight = trimLeft + static_cast<float>(sprite.w);
    const float trimBottom = trimTop + static_cast<float>(sprite.h);
    // Regions that only touch the trimmed pixels still pass and give an empty quad.
    if (trimLeft > sx + sw || trimTop > sy + sh || trimRight < sx || trimBottom < sy) {
        return std::nullopt;
    }
    const float left = std::max(sx, trimLeft);
    const float top = std::max(sy, trimTop);
    const float right = std::min(sx + sw, trimRight);
    const float bottom = std::min(sy + sh, trimBottom);

    // A source region without width or height has nothing to scale; it would only yield NaN coordinates.
    if (sw == 0.0f || sh == 0.0f) {
        return std::nullopt;
    }
    const float kx = dw / sw;
    const float ky = dh / sh;
    QuadPlacement placement{};
    placement.x = dx + (left - sx) * kx;
    placement.y = dy + (top - sy) * ky;
    placement.w = dw + ((right - left) - sw) * kx;
    placement.h = dh + ((bottom - top) - sh) * ky;
    placement.sx = static_cast<float>(sprite.x) + left - trimLeft;
    placement.sy = static_cast<float>(sprite.y) + top - trimTop;
    placement.sw = right - left;
    placement.sh = bottom - top;
    return placement;
}

std::optional<QuadPlacement> PlaceSprite(const Sprite& sprite, float x, float y, float alpha)
{
    const auto frameWidth = static_cast<float>(sprite.oW);
    const auto frameHeight = static_cast<float>(sprite.oH);
    return PlaceSpriteRegion(sprite, 0, 0, frameWidth, frameHeight, x, y, frameWidth, frameHeight, alpha);
}

#include "render/SpriteGeometry.h"
#include "render/Sprites.h"
#include "render/Texture.h"

void DrawSpriteRegion(const Sprite& sprite, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                      float dh, float r, float g, float b, float a)
{
    if (const std::optional<QuadPlacement> quad = PlaceSpriteRegion(sprite, sx, sy, sw, sh, dx, dy, dw, dh, a)) {
        sprite.Texture->DrawTexturedQuad(quad->sx, quad->sy, quad->sw, quad->sh, quad->x, quad->y, quad->w, quad->h, r,
                                         g, b, a);
    }
}

void DrawSprite(const Sprite& sprite, float x, float y, float r, float g, float b, float a)
{
    const auto frameWidth = static_cast<float>(sprite.oW);
    const auto frameHeight = static_cast<float>(sprite.oH);
    DrawSpriteRegion(sprite, 0, 0, frameWidth, frameHeight, x, y, frameWidth, frameHeight, r, g, b, a);
}

void DrawSpriteRegionMasked(const Sprite& sprite, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                            float dh, float r, float g, float b, float a)
{
    if (const std::optional<QuadPlacement> quad = PlaceSpriteRegion(sprite, sx, sy, sw, sh, dx, dy, dw, dh, a)) {
        sprite.Texture->DrawScrollMaskQuad(quad->sx, quad->sy, quad->sw, quad->sh, quad->x, quad->y, quad->w, quad->h,
                                           r, g, b, a);
    }
}

void DrawSpriteMasked(const Sprite& sprite, float x, float y, float r, float g, float b, float a)
{
    const auto frameWidth = static_cast<float>(sprite.oW);
    const auto frameHeight = static_cast<float>(sprite.oH);
    DrawSpriteRegionMasked(sprite, 0, 0, frameWidth, frameHeight, x, y, frameWidth, frameHeight, r, g, b, a);
}

#include "render/Renderer.h"
#include "render/SpriteGeometry.h"
#include "render/Sprites.h"
#include "render/Texture.h"
#include "render/Viewport.h"

#include <cmath>

namespace {

bool whole(float value) { return std::floor(value) == value; }

// Whether every pixel of the draw samples the centre of one texel of the placed rectangle and
// nothing around it: the virtual screen shown at its own size, the texels placed one to a pixel
// on whole positions. Scaled, the filter also reaches the texels around the sprite, which the
// atlas leaves transparent.
bool TexelForPixel(const QuadPlacement& quad)
{
    return ViewportWidth == int32_t(VirtualWidth) && ViewportHeight == int32_t(VirtualHeight) && quad.w == quad.sw &&
           quad.h == quad.sh && whole(quad.x) && whole(quad.y) && whole(quad.sx) && whole(quad.sy) && whole(quad.sw) &&
           whole(quad.sh);
}

} // namespace

void DrawSpriteRegion(const Sprite& sprite, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                      float dh, float r, float g, float b, float a)
{
    if (const std::optional<QuadPlacement> quad = PlaceSpriteRegion(sprite, sx, sy, sw, sh, dx, dy, dw, dh, a)) {
        const TQuadFit fit = !TexelForPixel(*quad)        ? TQuadFit::Scaled
                             : sprite.Opaque && a >= 1.0f ? TQuadFit::OpaqueTexelForPixel
                                                          : TQuadFit::TexelForPixel;
        sprite.Texture->DrawTexturedQuad(quad->sx, quad->sy, quad->sw, quad->sh, quad->x, quad->y, quad->w, quad->h, r,
                                         g, b, a, fit);
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

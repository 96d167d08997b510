#include "render/Font.h"

#include "render/Texture.h"

uint16_t FontWidths[256] = {};
TTexture* FontTexture = nullptr;

void DrawText(std::string_view text, float x, float y, float r, float g, float b, float a, float size)
{
    if (FontTexture == nullptr) {
        return;
    }
    // Consecutive glyphs share the texture, so the bound-texture cache binds it once per line.
    LayoutText(text, x, y, size, FontWidths, [&](const QuadPlacement& glyph) {
        FontTexture->DrawTexturedQuad(glyph.sx, glyph.sy, glyph.sw, glyph.sh, glyph.x, glyph.y, glyph.w, glyph.h, r, g,
                                      b, a);
    });
}

#pragma once

#include "render/SpriteGeometry.h"

#include <cstdint>
#include <string_view>

class TTexture;

// Advance of each glyph in texels of its 64-texel cell, indexed by byte value;
// copied from the font's width table by the loader, zero when it is missing.
extern uint16_t FontWidths[256];

// The font texture (1024 x 1024, 16 x 16 cells of 64 texels); owned by the asset loader, null until loaded.
extern TTexture* FontTexture;

// The advance of a glyph the width table leaves at 0 (control codes, or a missing table).
inline constexpr int32_t DefaultGlyphAdvance = 24;

// Texels the pen moves on after byte c, given a width table: the glyph's own
// width, so narrow letters sit as close as their ink allows.
inline float GlyphAdvance(const uint16_t (&widths)[256], uint8_t c)
{
    return static_cast<float>(widths[c] != 0 ? widths[c] : DefaultGlyphAdvance);
}

// The cell of byte c (column c mod 16, row c div 16) drawn with its top-left corner at
// (x + pen x scale, y), 64 x scale units square.
inline QuadPlacement GlyphPlacement(uint8_t c, float x, float y, float pen, float scale)
{
    const float cell = 64.0f * scale;
    return QuadPlacement{static_cast<float>(64 * (c % 16)),
                         static_cast<float>(64 * (c / 16)),
                         64.0f,
                         64.0f,
                         x + pen * scale,
                         y,
                         cell,
                         cell};
}

// Lays text out on one line with a width table, calling emit(placement) for every byte in order;
// size is the drawn height of one cell. No wrapping or clipping: control codes draw their cells too.
template <typename Emit>
void LayoutText(std::string_view text, float x, float y, float size, const uint16_t (&widths)[256], Emit&& emit)
{
    const float scale = size / 64.0f;
    float pen = 0.0f;
    for (const char character : text) {
        const auto c = static_cast<uint8_t>(character);
        emit(GlyphPlacement(c, x, y, pen, scale));
        pen = pen + GlyphAdvance(widths, c);
    }
}

// Draws text with the font texture, top-left corner of the first cell at (x, y), tinted by (r, g, b, a);
// the texture program must be current.
void DrawText(std::string_view text, float x, float y, float r, float g, float b, float a, float size);

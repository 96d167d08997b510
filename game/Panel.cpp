#include "game/Panel.h"

#include "render/Font.h"
#include "render/Renderer.h"

#include <algorithm>
#include <cmath>

namespace {

// Rows of the rounded corners; two units each stays smooth at any scale the window takes.
constexpr float CornerRow = 2.0f;

} // namespace

void DrawRoundedRect(float x, float y, float w, float h, float radius, TColour colour, float alpha)
{
    radius = std::min({radius, w / 2, h / 2});
    const int rows = int(std::ceil(radius / CornerRow));
    for (int row = 0; row < rows; ++row) {
        // The inset of this row from the circle through the corner.
        const float top = float(row) * CornerRow;
        const float rowHeight = std::min(CornerRow, radius - top);
        const float dy = radius - (top + rowHeight / 2);
        const float inset = radius - std::sqrt(std::max(0.0f, radius * radius - dy * dy));
        DrawSolidQuad(x + inset, y + top, w - 2 * inset, rowHeight, colour.r, colour.g, colour.b, alpha);
        DrawSolidQuad(x + inset, y + h - top - rowHeight, w - 2 * inset, rowHeight, colour.r, colour.g, colour.b, alpha);
    }
    DrawSolidQuad(x, y + radius, w, h - 2 * radius, colour.r, colour.g, colour.b, alpha);
}

void DrawPanel(float x, float y, float w, float h, float alpha)
{
    DrawRoundedRect(x + 2, y + 6, w, h, 18, TColour{0, 0, 0}, 0.35f * alpha);
    DrawRoundedRect(x, y, w, h, 18, Cream, alpha);
    DrawRoundedRect(x + 4, y + 4, w - 8, h - 8, 14, Indigo, alpha);
}

float TextWidth(std::string_view text, float size)
{
    float pen = 0;
    for (const char c : text)
        pen += GlyphAdvance(FontWidths, static_cast<uint8_t>(c));
    return pen * size / 64.0f;
}

void DrawCentredText(std::string_view text, float x, float y, float size, TColour colour, float alpha)
{
    const float left = x - TextWidth(text, size) / 2;
    const float drop = std::max(1.0f, size / 24.0f);
    DrawText(text, left + drop, y + drop * 1.5f, 0, 0, 0, 0.45f * alpha, size);
    DrawText(text, left, y, colour.r, colour.g, colour.b, alpha, size);
}

// Laying a line of bitmap text out: cells, advances and scale.
#include "render/Font.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Widths like the game's font: printable glyphs 8 to 32 texels wide.
struct Widths {
    uint16_t table[256] = {};
    Widths()
    {
        for (int c = 32; c < 127; ++c) {
            table[c] = 20;
        }
        table[uint8_t(' ')] = 13;
        table[uint8_t('A')] = 24;
        table[uint8_t('W')] = 31;
        table[uint8_t('S')] = 22;
        table[uint8_t(':')] = 8;
        table[uint8_t('0')] = 21;
        table[0xE9] = 40;
    }
};

std::vector<QuadPlacement> layout(std::string_view text, float x, float y, float size, const uint16_t (&widths)[256])
{
    std::vector<QuadPlacement> glyphs;
    LayoutText(text, x, y, size, widths, [&](const QuadPlacement& glyph) { glyphs.push_back(glyph); });
    return glyphs;
}

} // namespace

TEST(FontLayout, ScoreZeroAtSize32StepsByEachGlyphsOwnWidth)
{
    const Widths widths;
    const std::vector<QuadPlacement> glyphs = layout("Score: 0", 590, 416, 32, widths.table);
    ASSERT_EQ(glyphs.size(), 8u);
    // Half of each width at size 32: S 22, c o r e 20, ':' 8, blank 13.
    const float x[8] = {590, 601, 611, 621, 631, 641, 645, 651.5f};
    for (size_t i = 0; i < glyphs.size(); ++i) {
        EXPECT_FLOAT_EQ(glyphs[i].x, x[i]);
        EXPECT_FLOAT_EQ(glyphs[i].y, 416.0f);
        EXPECT_FLOAT_EQ(glyphs[i].w, 32.0f);
        EXPECT_FLOAT_EQ(glyphs[i].h, 32.0f);
        EXPECT_FLOAT_EQ(glyphs[i].sw, 64.0f);
        EXPECT_FLOAT_EQ(glyphs[i].sh, 64.0f);
    }
    // 'S' is 0x53: column 3, row 5.
    EXPECT_FLOAT_EQ(glyphs[0].sx, 192.0f);
    EXPECT_FLOAT_EQ(glyphs[0].sy, 320.0f);
}

TEST(FontLayout, WideGlyphsAdvanceByTheirWidth)
{
    const Widths widths;
    const std::vector<QuadPlacement> glyphs = layout("W A", 10, 0, 128, widths.table);
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_FLOAT_EQ(glyphs[1].x, 10.0f + 31.0f * 2.0f);                // "W" 31 x scale
    EXPECT_FLOAT_EQ(glyphs[2].x, 10.0f + 31.0f * 2.0f + 13.0f * 2.0f); // the blank by its 13
    EXPECT_FLOAT_EQ(glyphs[0].w, 128.0f);
}

TEST(FontLayout, HighBytesUseTheLowerRowsWithTheirOwnWidths)
{
    const Widths widths;
    const std::vector<QuadPlacement> glyphs = layout("\x80\xE9\xFF"
                                                     "A",
                                                     0, 0, 64, widths.table);
    ASSERT_EQ(glyphs.size(), 4u);
    EXPECT_FLOAT_EQ(glyphs[0].sx, 0.0f);
    EXPECT_FLOAT_EQ(glyphs[0].sy, 8 * 64.0f);
    EXPECT_FLOAT_EQ(glyphs[1].sx, 9 * 64.0f); // 0xE9: column 9, row 14
    EXPECT_FLOAT_EQ(glyphs[1].sy, 14 * 64.0f);
    EXPECT_FLOAT_EQ(glyphs[2].sx, 15 * 64.0f);
    EXPECT_FLOAT_EQ(glyphs[2].sy, 15 * 64.0f);
    EXPECT_FLOAT_EQ(glyphs[2].x, 24.0f + 40.0f); // 0x80 spaced as 24, 0xE9 by its 40
}

TEST(FontLayout, ZeroWidthTableAndControlCodes)
{
    const uint16_t zeros[256] = {};
    const std::vector<QuadPlacement> glyphs = layout(std::string_view("\n\0x", 3), 0, 0, 32, zeros);
    ASSERT_EQ(glyphs.size(), 3u); // control codes draw their cells too
    EXPECT_FLOAT_EQ(glyphs[0].sx, 10 * 64.0f);
    EXPECT_FLOAT_EQ(glyphs[1].x, 12.0f);
    EXPECT_FLOAT_EQ(glyphs[2].x, 24.0f);
    EXPECT_TRUE(layout("", 0, 0, 32, zeros).empty());
}

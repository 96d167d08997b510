// Real OpenGL under the virtual display: a sprite region and a line of text,
// drawn through the atlas and font paths and read back.
#include "GLTestWindow.h"

#include "render/Font.h"
#include "render/Sprites.h"
#include "render/Texture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

void expectPixel(const std::vector<uint8_t>& pixels, int x, int y, int r, int g, int b)
{
    const uint8_t* p = GLTestWindow::Pixel(pixels, x, y);
    EXPECT_NEAR(p[0], r, 2) << "at " << x << "," << y;
    EXPECT_NEAR(p[1], g, 2) << "at " << x << "," << y;
    EXPECT_NEAR(p[2], b, 2) << "at " << x << "," << y;
}

// An RGBA image of size x size texels, transparent except for opaque rectangles painted into it.
struct Image {
    int size;
    std::unique_ptr<uint8_t[]> pixels;
    explicit Image(int size_) : size(size_), pixels(new uint8_t[size_t(size_) * size_t(size_) * 4]()) {}
    void fill(int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b)
    {
        for (int row = y; row < y + h; ++row) {
            for (int column = x; column < x + w; ++column) {
                uint8_t* p = pixels.get() + (size_t(row) * size_t(size) + size_t(column)) * 4;
                p[0] = r;
                p[1] = g;
                p[2] = b;
                p[3] = 255;
            }
        }
    }
};

} // namespace

TEST(SpriteDrawing, RegionOfATrimmedSpriteLandsScaledInPlace)
{
    GLTestWindow window(800, 480);
    // Atlas: the sprite's trimmed pixels are the 32 x 32 block at (32, 0): left half green, right half blue.
    Image atlas(64);
    atlas.fill(0, 0, 32, 64, 255, 0, 0); // a neighbour in the atlas that must never show
    atlas.fill(32, 0, 16, 32, 0, 255, 0);
    atlas.fill(48, 0, 16, 32, 0, 0, 255);
    TTexture texture(std::move(atlas.pixels), 64, 64, 0, false, false);

    Sprite sprite;
    sprite.Texture = &texture;
    sprite.x = 32;
    sprite.w = 32;
    sprite.h = 32;
    sprite.oX = 100;
    sprite.oY = 50;
    sprite.oW = 800;
    sprite.oH = 480;

    BeginFrame();
    DrawSprite(sprite, 0, 0, 1, 1, 1, 1);
    // Frame region (0, 0, 116, 82) covers the green half only; drawn twice as large at (400, 200).
    DrawSpriteRegion(sprite, 0, 0, 116, 82, 400, 200, 232, 164, 1, 1, 1, 1);
    const std::vector<uint8_t> pixels = window.ReadPixels();
    expectPixel(pixels, 108, 66, 0, 255, 0);
    expectPixel(pixels, 124, 66, 0, 0, 255);
    expectPixel(pixels, 95, 66, 0, 0, 0);  // left of the trimmed pixels: nothing, not the red neighbour
    expectPixel(pixels, 116, 85, 0, 0, 0); // below them
    // The region's green part: frame x 100..116, y 50..82 -> virtual 600..632, 300..364.
    expectPixel(pixels, 605, 305, 0, 255, 0);
    expectPixel(pixels, 628, 360, 0, 255, 0);
    expectPixel(pixels, 636, 330, 0, 0, 0);
    expectPixel(pixels, 595, 330, 0, 0, 0);
}

TEST(SpriteDrawing, TextCellsAdvanceByTheWidthTable)
{
    GLTestWindow window(800, 480);
    // Font: only the cell of "A" (column 1, row 4) is opaque white.
    Image font(1024);
    font.fill(64, 256, 64, 64, 255, 255, 255);
    TTexture texture(std::move(font.pixels), 1024, 1024, 0, false, false);
    std::memset(FontWidths, 0, sizeof FontWidths);
    FontWidths[uint8_t('A')] = 40;
    FontTexture = &texture;

    BeginFrame();
    DrawText("A A", 100, 300, 1, 0, 0, 1, 32); // red; cells 32 units, advances 20 then 12
    FontTexture = nullptr;
    const std::vector<uint8_t> pixels = window.ReadPixels();
    expectPixel(pixels, 102, 316, 255, 0, 0);
    expectPixel(pixels, 130, 316, 255, 0, 0); // first cell reaches x 132
    expectPixel(pixels, 98, 316, 0, 0, 0);
    expectPixel(pixels, 134, 316, 255, 0, 0); // second "A" starts at 100 + 20 + 12 = 132
    expectPixel(pixels, 162, 316, 255, 0, 0);
    expectPixel(pixels, 166, 316, 0, 0, 0);
    expectPixel(pixels, 116, 296, 0, 0, 0); // above the line
}

TEST(SpriteDrawing, MaskedSpritesFadeAwayFromTheScrollLine)
{
    GLTestWindow window(800, 480);
    Image atlas(16);
    atlas.fill(0, 0, 16, 16, 255, 255, 255);
    TTexture texture(std::move(atlas.pixels), 16, 16, 0, false, false);
    Sprite sprite;
    sprite.Texture = &texture;
    sprite.w = 16;
    sprite.h = 16;
    sprite.oW = 16;
    sprite.oH = 16;

    BeginFrame();
    UseScrollMaskShader();
    // A white column from y 150 to 450: opaque on the line y = 282, gone beyond 100 units from it.
    DrawSpriteRegionMasked(sprite, 0, 0, 16, 16, 100, 150, 50, 300, 1, 1, 1, 1);
    UseTextureShader();
    const std::vector<uint8_t> pixels = window.ReadPixels();
    expectPixel(pixels, 125, 282, 255, 255, 255);
    expectPixel(pixels, 125, 160, 0, 0, 0);
    expectPixel(pixels, 125, 420, 0, 0, 0);
    const int halfway = GLTestWindow::Pixel(pixels, 125, 332)[0]; // 50 units off: alpha 1 - 0.25
    EXPECT_NEAR(halfway, 191, 4);
}

TEST(SpriteDrawing, TexelForPixelDrawsKeepThePixelsOfFilteredBlendedOnes)
{
    // Sprites shown at their own size on whole positions sample nearest, and opaque ones skip
    // blending; off whole positions they must not. Both over a background, beside the atlas's
    // transparent texels, against the general draw.
    GLTestWindow window(800, 480);
    Image atlas(64);
    atlas.fill(8, 8, 40, 30, 200, 120, 40);
    atlas.fill(20, 12, 9, 17, 10, 200, 90);
    TTexture texture(std::move(atlas.pixels), 64, 64, 0, true, false);
    Sprite sprite{&texture, 8, 8, 40, 30, 0, 0, 40, 30};
    sprite.Opaque = true;
    std::vector<uint8_t> drawn[2];
    for (const bool general : {true, false}) {
        BeginFrame();
        UseSolidShader();
        DrawSolidQuad(0, 0, 800, 480, 0.2f, 0.4f, 0.9f, 1);
        UseTextureShader();
        for (const auto& [x, y] : {std::pair{101.0f, 57.0f}, std::pair{300.5f, 200.0f}, std::pair{500.0f, 99.75f}}) {
            if (general)
                texture.DrawTexturedQuad(8, 8, 40, 30, x, y, 40, 30, 1, 1, 1, 1, TQuadFit::Scaled);
            else
                DrawSprite(sprite, x, y, 1, 1, 1, 1);
        }
        drawn[general] = window.ReadPixels();
    }
    EXPECT_EQ(drawn[0], drawn[1]);
}

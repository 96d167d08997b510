// Textured draws through TTexture, read back from a real framebuffer under the virtual display.

#include "TexturePNGs.h"
#include "TextureTestWindow.h"
#include "render/Texture.h"

#include <gtest/gtest.h>

namespace {

// Draws texel rectangle (sx, 0, 800, 480) of the texture 1:1 onto the whole 800 x 480 window
// and compares every pixel with the pattern shifted by sx.
void ExpectDrawnPattern(TTexture& texture, const GLTestWindow& window, int sx)
{
    BeginFrame();
    texture.DrawTexturedQuad(float(sx), 0, 800, 480, 0, 0, 800, 480, 1, 1, 1, 1);
    const std::vector<uint8_t> pixels = window.ReadPixels();
    int wrong = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 800; ++x)
            for (int c = 0; c < 3; ++c)
                wrong += std::abs(GLTestWindow::Pixel(pixels, x, y)[c] - PatternChannel(x + sx, y, c)) > 1;
    EXPECT_EQ(wrong, 0);
}

TEST(TextureDraw, ScreenSizedRgbImageDrawsPixelForPixel)
{
    auto window = OpenTestWindow(800, 480);
    const std::vector<uint8_t> png = PatternPNG(800, 480, 3);
    TTexturePNG texture(png.data(), int32_t(png.size()), true, false);
    ExpectDrawnPattern(texture, *window, 0);
    EXPECT_EQ(texture.TextureFormat, 3);
    EXPECT_FALSE(texture.Dirty);
}

TEST(TextureDraw, OddWidthRgbImageDrawsPixelForPixel)
{
    auto window = OpenTestWindow(800, 480);
    const std::vector<uint8_t> png = PatternPNG(1023, 480, 3);
    TTexturePNG texture(png.data(), int32_t(png.size()), true, false);
    ExpectDrawnPattern(texture, *window, 100);
}

TEST(TextureDraw, EmptyFallbackTextureDraws)
{
    auto window = OpenTestWindow(800, 480);
    TTexture empty(nullptr, 16, 16, 0, true, false);
    BeginFrame();
    empty.DrawTexturedQuad(0, 0, 16, 16, 0, 0, 800, 480, 1, 1, 1, 1);
    UseScrollMaskShader();
    empty.DrawScrollMaskQuad(0, 0, 16, 16, 0, 0, 800, 480, 1, 1, 1, 1);
    glFinish();
    EXPECT_NE(empty.Handle, 0u);
    EXPECT_FALSE(empty.Dirty);
    EXPECT_EQ(BoundTexture, int32_t(empty.Handle));
}

TEST(TextureDraw, ScrollMaskFadesAwayFromItsCentreLine)
{
    auto window = OpenTestWindow(800, 480);
    std::vector<uint8_t> rows;
    for (int y = 0; y < 4; ++y) {
        rows.push_back(0);
        rows.insert(rows.end(), 12, 255);
    }
    const std::vector<uint8_t> white = TPNGBuilder().Header(4, 4, 8, 2).Data(rows).End();
    TTexturePNG texture(white.data(), int32_t(white.size()), true, false);
    BeginFrame();
    UseScrollMaskShader();
    texture.DrawScrollMaskQuad(0, 0, 4, 4, 0, 0, 800, 480, 1, 1, 1, 1);
    const std::vector<uint8_t> pixels = window->ReadPixels();
    EXPECT_GE(GLTestWindow::Pixel(pixels, 400, 282)[0], 250);
    EXPECT_NEAR(GLTestWindow::Pixel(pixels, 400, 232)[0], 191, 6); // 1 - (50 / 100)^2
    EXPECT_LE(GLTestWindow::Pixel(pixels, 400, 100)[0], 2);
    EXPECT_LE(GLTestWindow::Pixel(pixels, 400, 420)[0], 2);
}

} // namespace

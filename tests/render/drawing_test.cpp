// Real OpenGL under the virtual display: the four programs build, and solid
// quads land in the letterboxed viewport with the one blend mode.
#include "GLTestWindow.h"

#include "render/ShaderPrograms.h"

#include <gtest/gtest.h>

namespace {

void expectPixel(const std::vector<uint8_t>& pixels, int x, int y, int r, int g, int b)
{
    const uint8_t* p = GLTestWindow::Pixel(pixels, x, y);
    EXPECT_NEAR(p[0], r, 2) << "at " << x << "," << y;
    EXPECT_NEAR(p[1], g, 2) << "at " << x << "," << y;
    EXPECT_NEAR(p[2], b, 2) << "at " << x << "," << y;
}

TEST(Drawing, AllFourProgramsBuildWithTheirUniforms)
{
    GLTestWindow window(800, 480);
    for (const ShaderProgram* program : {&TextureProgram, &TwoTexturesProgram, &ScrollMaskProgram, &SolidProgram}) {
        EXPECT_NE(program->program, 0u);
        EXPECT_GE(program->uColor, 0);
        EXPECT_GE(program->uPosRange, 0);
    }
    EXPECT_GE(TwoTexturesProgram.uTexUnit1, 0);
    EXPECT_EQ(ScrollMaskProgram.uTexUnit1, -1); // never asked for
}

TEST(Drawing, ASecondRebuildLeavesWorkingPrograms)
{
    GLTestWindow window(800, 480);
    RebuildGraphics(); // as after a window resize
    EXPECT_NE(SolidProgram.program, 0u);
    BeginFrame();
    UseSolidShader();
    DrawSolidQuad(0, 0, 800, 480, 1, 1, 1, 1);
    expectPixel(window.ReadPixels(), 400, 240, 255, 255, 255);
}

TEST(Drawing, SolidQuadsFillTheLetterboxedViewportOnly)
{
    // 1024 x 768 leaves bars of 77 pixels above and below the 1024 x 614 viewport.
    GLTestWindow window(1024, 768);
    ASSERT_EQ(ViewportTop, 77);
    BeginFrame();
    UseSolidShader();
    DrawSolidQuad(0, 0, 800, 480, 1, 0, 0, 1);
    const std::vector<uint8_t> pixels = window.ReadPixels();
    expectPixel(pixels, 512, 10, 0, 0, 0);  // top bar stays black
    expectPixel(pixels, 512, 760, 0, 0, 0); // bottom bar stays black
    expectPixel(pixels, 512, 80, 255, 0, 0);
    expectPixel(pixels, 512, 687, 255, 0, 0);
}

TEST(Drawing, VirtualCoordinatesPlaceRectanglesAndAlphaBlends)
{
    GLTestWindow window(800, 480);
    BeginFrame();
    UseSolidShader();
    DrawSolidQuad(0, 0, 800, 480, 0, 0, 1, 1);       // blue background
    DrawSolidQuad(100, 50, 200, 100, 1, 1, 1, 0.5f); // half-transparent white
    DrawSolidQuad(600, 300, 100, 100, 0, 1, 0, 1);   // opaque green
    const std::vector<uint8_t> pixels = window.ReadPixels();
    expectPixel(pixels, 50, 30, 0, 0, 255);
    expectPixel(pixels, 150, 100, 128, 128, 255); // y grows downwards: 50..150 is the upper part
    expectPixel(pixels, 650, 350, 0, 255, 0);
    expectPixel(pixels, 599, 350, 0, 0, 255); // just outside the left edge
    expectPixel(pixels, 650, 401, 0, 0, 255); // just below the bottom edge
}

} // namespace

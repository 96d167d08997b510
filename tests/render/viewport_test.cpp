#include "render/Viewport.h"

#include <gtest/gtest.h>

namespace {

void expectViewport(int windowWidth, int windowHeight, Viewport expected)
{
    const Viewport actual = ComputeViewport(windowWidth, windowHeight);
    EXPECT_EQ(actual.left, expected.left) << windowWidth << "x" << windowHeight;
    EXPECT_EQ(actual.top, expected.top) << windowWidth << "x" << windowHeight;
    EXPECT_EQ(actual.width, expected.width) << windowWidth << "x" << windowHeight;
    EXPECT_EQ(actual.height, expected.height) << windowWidth << "x" << windowHeight;
}

TEST(Viewport, FitsTheLargestCentredFiveToThreeRectangle)
{
    expectViewport(800, 480, {0, 0, 800, 480});
    expectViewport(1000, 600, {0, 0, 1000, 600}); // exactly 5:3 takes the height-bound branch
    expectViewport(1024, 768, {0, 77, 1024, 614});
    expectViewport(1920, 1080, {60, 0, 1800, 1080});
    expectViewport(1280, 1024, {0, 128, 1280, 768});
}

TEST(Viewport, OddRemaindersPutTheExtraPixelAfterTheViewport)
{
    // 801 wide at height 480: viewport 800 wide, 1 pixel left over, halved down to 0.
    expectViewport(801, 480, {0, 0, 800, 480});
    expectViewport(803, 480, {1, 0, 800, 480});
}

TEST(Viewport, MapsWindowPositionsThroughTheViewport)
{
    const Viewport viewport = ComputeViewport(1024, 768);
    VirtualPoint p = WindowToVirtual(viewport, 0, 77);
    EXPECT_FLOAT_EQ(p.x, 0.0f);
    EXPECT_FLOAT_EQ(p.y, 0.0f);
    p = WindowToVirtual(viewport, 512, 77 + 307);
    EXPECT_FLOAT_EQ(p.x, 400.0f);
    EXPECT_NEAR(p.y, 240.0f, 0.5f);
    // Positions in the bars map outside the virtual screen and are kept.
    p = WindowToVirtual(viewport, 10, 5);
    EXPECT_LT(p.y, 0.0f);
    p = WindowToVirtual(viewport, 1023, 767);
    EXPECT_GT(p.y, 480.0f);
}

} // namespace

// Which texel rectangle of the atlas goes to which virtual rectangle, without OpenGL.
#include "render/SpriteGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TTexture* const AtlasTexture = reinterpret_cast<TTexture*>(static_cast<uintptr_t>(0x1000));

Sprite makeSprite(int32_t x, int32_t y, int32_t w, int32_t h, int32_t oX, int32_t oY, int32_t oW, int32_t oH)
{
    Sprite sprite;
    sprite.Texture = AtlasTexture;
    sprite.x = x;
    sprite.y = y;
    sprite.w = w;
    sprite.h = h;
    sprite.oX = oX;
    sprite.oY = oY;
    sprite.oW = oW;
    sprite.oH = oH;
    return sprite;
}

void expectQuad(const std::optional<QuadPlacement>& quad, QuadPlacement expected)
{
    ASSERT_TRUE(quad.has_value());
    EXPECT_FLOAT_EQ(quad->sx, expected.sx);
    EXPECT_FLOAT_EQ(quad->sy, expected.sy);
    EXPECT_FLOAT_EQ(quad->sw, expected.sw);
    EXPECT_FLOAT_EQ(quad->sh, expected.sh);
    EXPECT_FLOAT_EQ(quad->x, expected.x);
    EXPECT_FLOAT_EQ(quad->y, expected.y);
    EXPECT_FLOAT_EQ(quad->w, expected.w);
    EXPECT_FLOAT_EQ(quad->h, expected.h);
}

} // namespace

TEST(SpriteGeometry, UntrimmedSpriteDrawsAtItsOwnSize)
{
    const Sprite title = makeSprite(560, 4, 800, 480, 0, 0, 800, 480);
    expectQuad(PlaceSprite(title, 0, 0, 1), {560, 4, 800, 480, 0, 0, 800, 480});
    expectQuad(PlaceSprite(title, -20, 7.5f, 1), {560, 4, 800, 480, -20, 7.5f, 800, 480});
}

TEST(SpriteGeometry, TrimmedGateRightCoversX244To800)
{
    const Sprite gate = makeSprite(2, 3, 556, 480, 244, 0, 800, 480);
    expectQuad(PlaceSprite(gate, 0, 0, 1), {2, 3, 556, 480, 244, 0, 556, 480});
    // Moved with the frame: the trimmed pixels move with it.
    expectQuad(PlaceSprite(gate, 100, -10, 1), {2, 3, 556, 480, 344, -10, 556, 480});
}

TEST(SpriteGeometry, RegionsMissingTheTrimmedPixelsDrawNothing)
{
    const Sprite gate = makeSprite(2, 3, 556, 480, 244, 0, 800, 480);
    EXPECT_FALSE(PlaceSpriteRegion(gate, 0, 0, 200, 480, 0, 0, 200, 480, 1)); // ends at 200 < 244
    EXPECT_FALSE(PlaceSpriteRegion(gate, 0, 481, 800, 10, 0, 0, 800, 10, 1)); // below the trimmed pixels
    // Touching the edge still passes, with an empty quad.
    expectQuad(PlaceSpriteRegion(gate, 0, 0, 244, 480, 0, 0, 244, 480, 1), {2, 3, 0, 480, 244, 0, 0, 480});
}

TEST(SpriteGeometry, PartialRegionDrawsOnlyTheCoveredPartScaled)
{
    // Trimmed pixels at (10, 20) size 30 x 40 in a 100 x 100 frame, stored at (500, 600) in the atlas.
    const Sprite sprite = makeSprite(500, 600, 30, 40, 10, 20, 100, 100);
    // Region (0, 0, 20, 30) shown at (100, 200) twice as large: only frame x 10..20, y 20..30 exists.
    expectQuad(PlaceSpriteRegion(sprite, 0, 0, 20, 30, 100, 200, 40, 60, 1), {500, 600, 10, 10, 120, 240, 20, 20});
    // Region reaching past the right and bottom edges, at half size.
    expectQuad(PlaceSpriteRegion(sprite, 30, 50, 40, 40, 0, 0, 20, 20, 1), {520, 630, 10, 10, 0, 0, 5, 5});
}

TEST(SpriteGeometry, TallScrollerFrameAboveTheScreen)
{
    const Sprite scroller = makeSprite(0, 0, 614, 2018, 100, 12, 1024, 2048);
    expectQuad(PlaceSprite(scroller, 0, -2048, 1), {0, 0, 614, 2018, 100, -2036, 614, 2018});
    expectQuad(PlaceSprite(scroller, 0, 0, 1), {0, 0, 614, 2018, 100, 12, 614, 2018});
}

TEST(SpriteGeometry, AlphaThresholdInHigherPrecision)
{
    const Sprite title = makeSprite(0, 0, 800, 480, 0, 0, 800, 480);
    EXPECT_FALSE(SpriteAlphaVisible(0.00005f));
    EXPECT_FALSE(SpriteAlphaVisible(0.0001f)); // the float nearest 0.0001 lies just below it
    EXPECT_LT(static_cast<double>(0.0001f), 0.0001);
    EXPECT_TRUE(SpriteAlphaVisible(0.001f));
    EXPECT_TRUE(SpriteAlphaVisible(std::nextafter(0.0001f, 1.0f)));
    EXPECT_FALSE(SpriteAlphaVisible(-1.0f));
    EXPECT_FALSE(PlaceSprite(title, 0, 0, 0.0001f));
    EXPECT_TRUE(PlaceSprite(title, 0, 0, 0.001f));
}

TEST(SpriteGeometry, EmptySlotAndEmptySourceDrawNothing)
{
    EXPECT_FALSE(PlaceSprite(Sprite{}, 0, 0, 1));
    const Sprite title = makeSprite(0, 0, 800, 480, 0, 0, 800, 480);
    EXPECT_FALSE(PlaceSpriteRegion(title, 10, 10, 0, 10, 0, 0, 50, 50, 1));
}

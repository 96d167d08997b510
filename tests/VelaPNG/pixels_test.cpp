// Conversion to RGBA8: bit depths, palettes, colour keys, the CgBI variant and Adam7.

#include "DecodeHelpers.h"
#include "PNGBuilder.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    return r | (g << 8) | (b << 16) | (a << 24);
}

TEST(Pixels, RgbIsOpaqueAndOneBitGreyIsBlackOrWhite)
{
    const TDecoded rgb = Decode(TPNGBuilder().Header(2, 1, 8, 2).Data({0, 1, 2, 3, 250, 251, 252}).End());
    ASSERT_TRUE(rgb.ok);
    EXPECT_EQ(rgb.Pixel(0, 0), Rgba(1, 2, 3, 255));
    EXPECT_EQ(rgb.Pixel(1, 0), Rgba(250, 251, 252, 255));

    // Ten pixels in two bytes, the second only partly used.
    const TDecoded grey = Decode(TPNGBuilder().Header(10, 1, 1, 0).Data({0, 0b10110010, 0b01000000}).End());
    ASSERT_TRUE(grey.ok);
    const int bits[10] = {1, 0, 1, 1, 0, 0, 1, 0, 0, 1};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(grey.Pixel(x, 0), bits[x] ? 0xffffffffu : Rgba(0, 0, 0, 255)) << x;
}

TEST(Pixels, LowDepthGreyWidensByBitReplication)
{
    const TDecoded two = Decode(TPNGBuilder().Header(4, 1, 2, 0).Data({0, 0b00011011}).End());
    ASSERT_TRUE(two.ok);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(two.rgba[x * 4], x * 85);
    const TDecoded four = Decode(TPNGBuilder().Header(2, 1, 4, 0).Data({0, 0x3f}).End());
    ASSERT_TRUE(four.ok);
    EXPECT_EQ(four.Pixel(0, 0), Rgba(51, 51, 51, 255));
    EXPECT_EQ(four.Pixel(1, 0), Rgba(255, 255, 255, 255));
}

TEST(Pixels, PaletteTransparencyCoversOnlyTheEntriesItLists)
{
    std::vector<uint8_t> plte;
    for (int i = 0; i < 16; ++i)
        plte.insert(plte.end(), {uint8_t(i * 16), uint8_t(i), uint8_t(255 - i)});
    // Indices 0 to 15 over two rows of 8 pixels, 4 bits each.
    std::vector<uint8_t> rows;
    for (int y = 0; y < 2; ++y) {
        rows.push_back(0);
        for (int i = 0; i < 4; ++i)
            rows.push_back(uint8_t(((y * 8 + 2 * i) << 4) | (y * 8 + 2 * i + 1)));
    }
    const TDecoded image
        = Decode(TPNGBuilder().Header(8, 2, 4, 3).Chunk("PLTE", plte).Chunk("tRNS", {0, 100, 200}).Data(rows).End());
    ASSERT_TRUE(image.ok);
    const uint8_t alpha[3] = {0, 100, 200};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(image.Pixel(i % 8, i / 8), Rgba(i * 16, i, 255 - i, i < 3 ? alpha[i] : 255)) << i;
}

TEST(Pixels, PaletteIndexPastTheEndIsOpaqueBlack)
{
    const TDecoded image
        = Decode(TPNGBuilder().Header(3, 1, 8, 3).Chunk("PLTE", {9, 8, 7, 6, 5, 4}).Data({0, 1, 2, 255}).End());
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.Pixel(0, 0), Rgba(6, 5, 4, 255));
    EXPECT_EQ(image.Pixel(1, 0), Rgba(0, 0, 0, 255));
    EXPECT_EQ(image.Pixel(2, 0), Rgba(0, 0, 0, 255));
}

TEST(Pixels, TwoByteColourKeyIsAtTheImagesBitDepth)
{
    // The standard form: grey level 5 of a 4-bit image is written as 0x0005.
    const TDecoded grey = Decode(TPNGBuilder().Header(2, 1, 4, 0).Chunk("tRNS", {0x00, 0x05}).Data({0, 0x56}).End());
    ASSERT_TRUE(grey.ok);
    EXPECT_EQ(grey.Pixel(0, 0), Rgba(85, 85, 85, 0));
    EXPECT_EQ(grey.Pixel(1, 0), Rgba(102, 102, 102, 255));

    const std::vector<uint8_t> rows = {0, 10, 20, 30, 10, 20, 31};
    const TDecoded rgb = Decode(TPNGBuilder().Header(2, 1, 8, 2).Chunk("tRNS", {0, 10, 0, 20, 0, 30}).Data(rows).End());
    ASSERT_TRUE(rgb.ok);
    EXPECT_EQ(rgb.Pixel(0, 0), Rgba(10, 20, 30, 0));
    EXPECT_EQ(rgb.Pixel(1, 0), Rgba(10, 20, 31, 255));

    // A key value the bit depth cannot reach matches nothing.
    const TDecoded unreachable
        = Decode(TPNGBuilder().Header(2, 1, 8, 2).Chunk("tRNS", {1, 10, 0, 20, 0, 30}).Data(rows).End());
    ASSERT_TRUE(unreachable.ok);
    EXPECT_EQ(unreachable.Pixel(0, 0) >> 24, 255u);
}

TEST(Pixels, OneByteColourKeyIsAnEightBitValue)
{
    // 4-bit level 5 widens to 0x5555, the one-byte key 0x55 to 0x5555 as well.
    const TDecoded grey = Decode(TPNGBuilder().Header(2, 1, 4, 0).Chunk("tRNS", {0x55}).Data({0, 0x56}).End());
    ASSERT_TRUE(grey.ok);
    EXPECT_EQ(grey.Pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(grey.Pixel(1, 0) >> 24, 255u);
    const TDecoded rgb
        = Decode(TPNGBuilder().Header(2, 1, 8, 2).Chunk("tRNS", {10, 20, 30}).Data({0, 10, 20, 30, 10, 20, 31}).End());
    ASSERT_TRUE(rgb.ok);
    EXPECT_EQ(rgb.Pixel(0, 0), Rgba(10, 20, 30, 0));
    EXPECT_EQ(rgb.Pixel(1, 0), Rgba(10, 20, 31, 255));
}

TEST(Pixels, GreyAlphaAndRgba)
{
    const TDecoded ga = Decode(TPNGBuilder().Header(1, 1, 8, 4).Data({0, 77, 12}).End());
    ASSERT_TRUE(ga.ok);
    EXPECT_EQ(ga.Pixel(0, 0), Rgba(77, 77, 77, 12));
    // Sub filter on the second pixel: 1+4, 2+5, 3+6, 4+7.
    const TDecoded rgba = Decode(TPNGBuilder().Header(2, 1, 8, 6).Data({1, 1, 2, 3, 4, 4, 5, 6, 7}).End());
    ASSERT_TRUE(rgba.ok);
    EXPECT_EQ(rgba.Pixel(1, 0), Rgba(5, 7, 9, 11));
}

TEST(Pixels, FilterTypesAboveFourLeaveTheRowAsItIs)
{
    const TDecoded image = Decode(TPNGBuilder().Header(2, 2, 8, 0).Data({0, 1, 2, 9, 3, 4}).End());
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.rgba[8], 3);
    EXPECT_EQ(image.rgba[12], 4);
}

// A 2 x 1 CgBI image as iOS tools write it: premultiplied BGRA and a raw deflate stream.
std::vector<uint8_t> CgBIImage(uint8_t colourType, const std::vector<uint8_t>& rows)
{
    return TPNGBuilder()
        .Chunk("CgBI", {0x50, 0x00, 0x20, 0x06})
        .Header(2, 1, 8, colourType)
        .Chunk("IDAT", TPNGBuilder::RawDeflate(rows))
        .End();
}

TEST(Pixels, CgBIUndoesPremultipliedBgra)
{
    // Pixel 0: B 40, G 60, R 100 at alpha 128; pixel 1: transparent, only swapped.
    const TDecoded image = Decode(CgBIImage(6, {0, 40, 60, 100, 128, 1, 2, 3, 0}));
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.Pixel(0, 0), Rgba(100 * 255 / 128, 60 * 255 / 128, 40 * 255 / 128, 128));
    EXPECT_EQ(image.Pixel(1, 0), Rgba(3, 2, 1, 0));
    // Channels above their alpha are clamped rather than wrapped.
    const TDecoded clamped = Decode(CgBIImage(6, {0, 200, 10, 20, 100, 0, 0, 0, 255}));
    ASSERT_TRUE(clamped.ok);
    EXPECT_EQ(clamped.Pixel(0, 0), Rgba(51, 25, 255, 100));

    const TDecoded rgb = Decode(CgBIImage(2, {0, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(rgb.ok);
    EXPECT_EQ(rgb.Pixel(0, 0), Rgba(3, 2, 1, 255));
    EXPECT_EQ(rgb.Pixel(1, 0), Rgba(6, 5, 4, 255));
    // The zlib form of the same data is not a raw deflate stream.
    EXPECT_FALSE(Decode(
        TPNGBuilder().Chunk("CgBI", {0x50, 0x00, 0x20, 0x06}).Header(2, 1, 8, 2).Data({0, 1, 2, 3, 4, 5, 6}).End())
                     .ok);
}

TEST(Pixels, Adam7PlacesEveryPassAndSkipsEmptyOnes)
{
    // A 3 x 3 grey image: passes 1, 4 (x 2), 5 (y 2), 6 (x 1), 7 (y 1); passes 2 and 3 are empty.
    const std::vector<uint8_t> rows = {
        0, 1, // pass 1: (0,0)
        0, 2, // pass 4: (2,0)
        0, 3, 4, // pass 5: (0,2) (2,2)
        0, 5, // pass 6: (1,0)
        0, 6, // pass 6: (1,2)
        0, 7, 8, 9, // pass 7: row 1
    };
    const TDecoded image = Decode(TPNGBuilder().Header(3, 3, 8, 0, 1).Data(rows).End());
    ASSERT_TRUE(image.ok);
    const int expected[9] = {1, 5, 2, 7, 8, 9, 3, 6, 4};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(image.rgba[i * 4], expected[i]) << i;
}

} // namespace

// The chunk walk: signature, CRCs, the image header's rules and the order rules of the chunks.

#include "DecodeHelpers.h"
#include "PNGBuilder.h"

#include <gtest/gtest.h>

namespace {

// Two 2 x 2 grey rows, unfiltered.
const std::vector<uint8_t> kGreyRows = {0, 10, 20, 0, 30, 40};

std::vector<uint8_t> ValidGrey()
{
    return TPNGBuilder().Header(2, 2, 8, 0).Data(kGreyRows).End();
}

std::vector<uint8_t> Header13(uint32_t w, uint32_t h, uint8_t depth, uint8_t type)
{
    std::vector<uint8_t> body;
    TPNGBuilder::AppendBE32(body, w);
    TPNGBuilder::AppendBE32(body, h);
    body.insert(body.end(), {depth, type, 0, 0, 0});
    return body;
}

TEST(Chunks, SignatureMustBeCompleteAndExact)
{
    std::vector<uint8_t> file = ValidGrey();
    EXPECT_TRUE(Decode(file).ok);
    EXPECT_FALSE(Decode(std::vector<uint8_t>(file.begin(), file.begin() + 8)).ok);
    file[1] = 'p';
    EXPECT_FALSE(Decode(file).ok);
    EXPECT_FALSE(Decode(file, true).ok);
}

TEST(Chunks, WrongCrcFailsEvenInAnUnknownAncillaryChunk)
{
    const std::vector<uint8_t> good
        = TPNGBuilder().Header(2, 2, 8, 0).Chunk("tEXt", {'a', 0, 'b'}).Data(kGreyRows).End();
    const std::vector<uint8_t> bad
        = TPNGBuilder().Header(2, 2, 8, 0).Chunk("tEXt", {'a', 0, 'b'}, true).Data(kGreyRows).End();
    EXPECT_TRUE(Decode(good).ok);
    EXPECT_FALSE(Decode(bad).ok);
}

TEST(Chunks, HeaderOnlySucceedsOnCorruptImageData)
{
    const std::vector<uint8_t> file = TPNGBuilder().Header(640, 480, 8, 6).Chunk("IDAT", {1, 2, 3, 4, 5, 6, 7}).End();
    EXPECT_FALSE(Decode(file).ok);
    const TDecoded header = Decode(file, true);
    ASSERT_TRUE(header.ok);
    EXPECT_EQ(header.width, 640);
    EXPECT_EQ(header.height, 480);
    EXPECT_TRUE(header.rgba.empty());
}

TEST(Chunks, DimensionsOutsideOneTo16777216FailInBothModes)
{
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{0, 1}, {1, 0}, {16777217, 1}, {1, 16777217}, {0xffffffffu, 1}}) {
        const std::vector<uint8_t> file = TPNGBuilder().Chunk("IHDR", Header13(w, h, 8, 0)).Data(kGreyRows).End();
        EXPECT_FALSE(Decode(file, true).ok) << w << " x " << h;
        EXPECT_FALSE(Decode(file).ok) << w << " x " << h;
    }
    const std::vector<uint8_t> widest = TPNGBuilder().Chunk("IHDR", Header13(16777216, 1, 8, 6)).End();
    EXPECT_TRUE(Decode(widest, true).ok);
}

TEST(Chunks, HeaderFieldsOutsideTheAdmittedSetFail)
{
    struct TCase {
        uint8_t depth, type, compression, filter, interlace;
    };
    // 16 bits, an odd depth, unknown colour types, RGB/grey-alpha/RGBA below 8 bits, unknown methods.
    for (TCase c : {TCase{16, 0, 0, 0, 0}, TCase{16, 6, 0, 0, 0}, TCase{3, 0, 0, 0, 0}, TCase{8, 1, 0, 0, 0},
             TCase{8, 7, 0, 0, 0}, TCase{4, 2, 0, 0, 0}, TCase{4, 4, 0, 0, 0}, TCase{1, 6, 0, 0, 0},
             TCase{8, 0, 1, 0, 0}, TCase{8, 0, 0, 1, 0}, TCase{8, 0, 0, 0, 2}}) {
        std::vector<uint8_t> body = Header13(2, 2, c.depth, c.type);
        body[10] = c.compression;
        body[11] = c.filter;
        body[12] = c.interlace;
        const std::vector<uint8_t> file = TPNGBuilder().Chunk("IHDR", body).Data(kGreyRows).End();
        EXPECT_FALSE(Decode(file).ok) << int(c.depth) << "/" << int(c.type);
        EXPECT_TRUE(Decode(file, true).ok);
    }
}

TEST(Chunks, SizeLimitCountsChannels)
{
    // 2^30 / 16777216 = 64 rows of grey, 16 of RGBA or of palette indices.
    auto file = [](uint32_t h, uint8_t depth, uint8_t type) {
        return TPNGBuilder()
            .Chunk("IHDR", Header13(16777216, h, depth, type))
            .Chunk("IDAT", {0x78, 1, 0, 0, 0, 0})
            .End();
    };
    // Past the limit is refused outright; within it, the tiny IDAT cannot hold the image and is
    // refused before anything the size of the image is allocated.
    EXPECT_FALSE(Decode(file(17, 8, 6)).ok);
    EXPECT_FALSE(Decode(file(16, 8, 6)).ok);
    EXPECT_FALSE(Decode(file(65, 8, 0)).ok);
    EXPECT_FALSE(Decode(file(64, 8, 0)).ok);
}

TEST(Chunks, ChunkOrderRules)
{
    const std::vector<uint8_t> plte = {255, 0, 0, 0, 255, 0};
    const std::vector<uint8_t> row = {0, 0x40};
    // A palette in a truecolour or grey image.
    EXPECT_FALSE(Decode(TPNGBuilder().Header(1, 1, 8, 2).Chunk("PLTE", plte).Data({0, 1, 2, 3}).End()).ok);
    EXPECT_FALSE(Decode(TPNGBuilder().Header(1, 1, 8, 0).Chunk("PLTE", plte).Data({0, 1}).End()).ok);
    // Palette images need PLTE before IDAT and before IEND; PLTE must hold whole entries.
    EXPECT_TRUE(Decode(TPNGBuilder().Header(2, 1, 1, 3).Chunk("PLTE", plte).Data(row).End()).ok);
    EXPECT_FALSE(Decode(TPNGBuilder().Header(2, 1, 1, 3).Data(row).Chunk("PLTE", plte).End()).ok);
    EXPECT_FALSE(Decode(TPNGBuilder().Header(2, 1, 1, 3).Chunk("PLTE", {1, 2, 3, 4}).Data(row).End()).ok);
    // Chunks that need the header before it.
    EXPECT_FALSE(Decode(TPNGBuilder().Data(kGreyRows).Header(2, 2, 8, 0).Data(kGreyRows).End()).ok);
    EXPECT_FALSE(Decode(TPNGBuilder().Chunk("PLTE", plte).Header(2, 1, 1, 3).Data(row).End(), true).ok);
    // A second header, a missing IDAT, a missing IEND.
    EXPECT_FALSE(Decode(TPNGBuilder().Header(2, 2, 8, 0).Header(2, 2, 8, 0).Data(kGreyRows).End()).ok);
    EXPECT_FALSE(Decode(TPNGBuilder().Header(2, 2, 8, 0).End()).ok);
    EXPECT_FALSE(Decode(TPNGBuilder().Header(2, 2, 8, 0).Data(kGreyRows)).ok);
    // tRNS after image data, and longer than the palette.
    EXPECT_FALSE(Decode(TPNGBuilder().Header(2, 1, 1, 3).Chunk("PLTE", plte).Data(row).Chunk("tRNS", {0}).End()).ok);
    EXPECT_FALSE(
        Decode(TPNGBuilder().Header(2, 1, 1, 3).Chunk("PLTE", plte).Chunk("tRNS", {0, 0, 0}).Data(row).End()).ok);
    // Colour keys of a length that fits no form.
    EXPECT_FALSE(Decode(TPNGBuilder().Header(2, 2, 8, 0).Chunk("tRNS", {0, 0, 0}).Data(kGreyRows).End()).ok);
    EXPECT_FALSE(Decode(TPNGBuilder().Header(1, 1, 8, 2).Chunk("tRNS", {0, 0}).Data({0, 1, 2, 3}).End()).ok);
    // Unknown chunks anywhere and anything after IEND are ignored.
    std::vector<uint8_t> trailing = TPNGBuilder().Chunk("abCd", {9}).Header(2, 2, 8, 0).Data(kGreyRows).End();
    trailing.insert(trailing.end(), {1, 2, 3});
    EXPECT_TRUE(Decode(trailing).ok);
}

TEST(Chunks, EveryTruncationFailsWithoutReadingPastTheData)
{
    const std::vector<uint8_t> file
        = TPNGBuilder().Header(3, 3, 8, 2).Chunk("tEXt", {'k', 0, 'v'}).Data(std::vector<uint8_t>(30, 0)).End();
    ASSERT_TRUE(Decode(file).ok);
    for (size_t n = 0; n + 1 < file.size(); ++n) {
        // An exactly sized heap copy, so that the sanitizers see any read past its end.
        std::unique_ptr<uint8_t[]> prefix(new uint8_t[n + 1]);
        std::copy(file.begin(), file.begin() + n, prefix.get());
        std::unique_ptr<uint8_t[]> pixels;
        int32_t w = 0, h = 0;
        EXPECT_FALSE(DecodePNG(prefix.get(), n, pixels, w, h, false)) << n;
        EXPECT_EQ(pixels, nullptr);
    }
}

TEST(Chunks, ImageDataStreamChecks)
{
    std::vector<uint8_t> zlib = TPNGBuilder::Zlib(kGreyRows);
    auto withData
        = [](const std::vector<uint8_t>& data) { return TPNGBuilder().Header(2, 2, 8, 0).Chunk("IDAT", data).End(); };
    ASSERT_TRUE(Decode(withData(zlib)).ok);
    // The stream split over many IDAT chunks, one byte each, is the same stream.
    TPNGBuilder split;
    split.Header(2, 2, 8, 0);
    for (uint8_t b : zlib)
        split.Chunk("IDAT", {b});
    EXPECT_EQ(Decode(split.End()).rgba, Decode(withData(zlib)).rgba);

    std::vector<uint8_t> badAdler = zlib;
    badAdler.back() ^= 1;
    EXPECT_FALSE(Decode(withData(badAdler)).ok);
    std::vector<uint8_t> trailing = zlib;
    trailing.push_back(0);
    EXPECT_FALSE(Decode(withData(trailing)).ok);
    // A preset dictionary, a method other than deflate, a header that is no multiple of 31.
    for (auto [cmf, flg] : {std::pair<uint8_t, uint8_t>{0x78, 0xbb}, {0x79, 0x18}, {0x78, 0x9d}}) {
        std::vector<uint8_t> header = zlib;
        header[0] = cmf;
        header[1] = flg;
        EXPECT_FALSE(Decode(withData(header)).ok);
    }
    // Too little image data fails; more than the image needs is inflated, checked and dropped.
    EXPECT_FALSE(Decode(withData(TPNGBuilder::Zlib({0, 10, 20, 0, 30}))).ok);
    std::vector<uint8_t> longer = kGreyRows;
    longer.insert(longer.end(), {0, 1, 2});
    const TDecoded extra = Decode(withData(TPNGBuilder::Zlib(longer)));
    ASSERT_TRUE(extra.ok);
    EXPECT_EQ(extra.Pixel(1, 1), 0xff282828u);
}

} // namespace

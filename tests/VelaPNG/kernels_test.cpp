// The hot kernels against plain references: unfiltering, and Adler-32 against zlib.

#include "VelaPNG/Adler32.h"
#include "VelaPNG/Unfilter.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>
#include <zlib.h>

namespace {

TEST(Unfilter, KernelsMatchTheReferenceForEveryFilterAndPixelSize)
{
    std::mt19937 random(6);
    for (unsigned bpp = 1; bpp <= 4; ++bpp) {
        for (uint8_t filter = 0; filter <= 5; ++filter) {
            for (size_t pixels : {1u, 2u, 3u, 7u, 64u, 333u}) {
                const size_t n = pixels * bpp;
                std::vector<uint8_t> src(n), prev(n), expected(n), actual(n);
                for (int trial = 0; trial < 20; ++trial) {
                    // Small ranges make Paeth's ties frequent; full ranges exercise wrap-around.
                    const int range = trial % 2 ? 256 : 3;
                    for (size_t i = 0; i < n; ++i) {
                        src[i] = uint8_t(random() % range);
                        prev[i] = uint8_t(random() % range);
                    }
                    velapng::UnfilterReference(filter, bpp, src.data(), prev.data(), expected.data(), n);
                    velapng::SelectUnfilter(filter, bpp)(src.data(), prev.data(), actual.data(), n);
                    ASSERT_EQ(actual, expected) << "filter " << int(filter) << " bpp " << bpp << " n " << n;
                }
            }
        }
    }
}

// Paeth with one byte per pixel over two bytes: the first byte is up + src, the second
// predicts from a = first byte, b = prev[1], c = prev[0].
uint8_t PaethSecondByte(uint8_t src0, uint8_t up0, uint8_t up1)
{
    const uint8_t src[2] = {src0, 0};
    const uint8_t prev[2] = {up0, up1};
    uint8_t dst[2] = {};
    velapng::SelectUnfilter(4, 1)(src, prev, dst, 2);
    return dst[1];
}

TEST(Unfilter, PaethTiesPreferLeftThenUpThenUpperLeft)
{
    // a = 0, b = 6, c = 4: pa = 2, pb = 4, pc = 2; left beats upper-left.
    EXPECT_EQ(PaethSecondByte(252, 4, 6), 0);
    // a = 6, b = 0, c = 4: pa = 4, pb = 2, pc = 2; up beats upper-left.
    EXPECT_EQ(PaethSecondByte(2, 4, 0), 0);
    // a = 9, b = 3, c = 4: pa = 1 is the smallest.
    EXPECT_EQ(PaethSecondByte(5, 4, 3), 9);
}

TEST(Adler32, MatchesZlibForAnyLengthAndSplit)
{
    std::mt19937 random(32);
    std::vector<uint8_t> data(40000);
    for (uint8_t& b : data)
        b = uint8_t(random());
    // All 0xff is the worst case for the sums between reductions.
    std::vector<uint8_t> ones(20000, 0xff);
    for (const auto* bytes : {&data, &ones}) {
        for (size_t n : {0u, 1u, 15u, 16u, 17u, 5551u, 5552u, 5553u, 11104u, 20000u}) {
            const uint32_t expected = uint32_t(adler32(1, bytes->data(), uInt(n)));
            EXPECT_EQ(velapng::Adler32(1, bytes->data(), n), expected) << n;
            // Continued over an uneven split, as blocks of inflated data arrive.
            const size_t cut = n / 3 + 1 > n ? n : n / 3 + 1;
            EXPECT_EQ(
                velapng::Adler32(velapng::Adler32(1, bytes->data(), cut), bytes->data() + cut, n - cut), expected);
        }
    }
}

} // namespace

// Hostile headers must not make the decoder allocate what the data cannot back.

#include "DecodeHelpers.h"
#include "PNGBuilder.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

// Largest single operator new request since the last reset; counted in CountingAllocator.cpp.
extern std::atomic<size_t> LargestRequest;

namespace {

size_t LargestAllocationOf(const std::vector<uint8_t>& file)
{
    LargestRequest = 0;
    Decode(file);
    return LargestRequest.load();
}

TEST(Allocation, HugeHeaderWithTinyDataAllocatesNothingLarge)
{
    // 16777216 x 16 RGBA would be 1 GiB; 16777216 x 1 is 64 MiB. A few hundred bytes of
    // compressed data can never fill either.
    for (uint32_t height : {1u, 16u}) {
        const std::vector<uint8_t> rows(200, 0);
        const std::vector<uint8_t> file = TPNGBuilder().Header(16777216, height, 8, 6).Data(rows).End();
        EXPECT_LT(LargestAllocationOf(file), size_t(1) << 20) << height;
    }
    // The same for a grey image, whose output is four times its samples.
    const std::vector<uint8_t> grey = TPNGBuilder().Header(32768, 32768, 8, 0).Data(std::vector<uint8_t>(300, 0)).End();
    EXPECT_LT(LargestAllocationOf(grey), size_t(1) << 20);
}

TEST(Allocation, DataThatCanHoldTheImageIsDecodedEvenWhenHighlyCompressed)
{
    // 4096 x 256 of zeros compresses about 1000 to 1; it must still decode.
    const std::vector<uint8_t> rows(size_t(4096 * 4 + 1) * 256, 0);
    const TDecoded image = Decode(TPNGBuilder().Header(4096, 256, 8, 6).Data(rows).End());
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.Pixel(4095, 255), 0u);
}

} // namespace

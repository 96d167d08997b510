// The PNG conformance suite decoded side by side with libpng.

#include "LibpngReference.h"
#include "TestFiles.h"
#include "VelaPNG/PNG.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kSuiteDir = std::string(QUAVERO_SOURCE_DIR) + "/tests/VelaPNG/pngsuite";

enum class TExpect { Match, Reject };

// Why an image of the suite must be refused, or "" when it must decode as libpng does.
std::string RejectionReason(const std::string& name)
{
    if (name[0] == 'x')
        return "corrupt on purpose";
    // The last two digits of a suite name are the bit depth.
    if (name.substr(name.size() - 6, 2) == "16")
        return "16-bit samples";
    // A suggested palette in a truecolour image is refused by our chunk rules, though the
    // PNG standard allows it and libpng ignores it.
    if (name == "pp0n6a08.png")
        return "PLTE in a truecolour image";
    return "";
}

std::vector<std::string> SuiteFiles()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kSuiteDir))
        if (entry.path().extension() == ".png")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PngSuite, EveryImageAgreesWithLibpngOrIsRejected)
{
    const std::vector<std::string> names = SuiteFiles();
    ASSERT_GT(names.size(), 150u);
    int agreed = 0, rejected = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> file = ReadTestFile(kSuiteDir + "/" + name);
        std::unique_ptr<uint8_t[]> pixels;
        int32_t width = -1, height = -1;
        const bool ok = DecodePNG(file.data(), file.size(), pixels, width, height, false);
        // The same image in bands of three rows, which must arrive in order.
        std::vector<uint8_t> banded;
        int32_t nextRow = 0, bandWidth = 0, bandHeight = 0;
        const bool bandsOk = DecodePNGBands(
            file.data(), file.size(), 3,
            [&](int32_t first, int32_t count, const uint8_t* rows) {
                EXPECT_EQ(first, nextRow);
                nextRow = first + count;
                banded.insert(banded.end(), rows, rows + size_t(count) * size_t(width) * 4);
                return true;
            },
            bandWidth, bandHeight);
        EXPECT_EQ(bandsOk, ok);
        if (!RejectionReason(name).empty()) {
            EXPECT_FALSE(ok) << RejectionReason(name);
            EXPECT_EQ(pixels, nullptr);
            rejected += !ok;
            continue;
        }
        const TReferenceImage expected = DecodeWithLibpng(file);
        ASSERT_TRUE(expected.ok);
        ASSERT_TRUE(ok);
        ASSERT_EQ(uint32_t(width), expected.width);
        ASSERT_EQ(uint32_t(height), expected.height);
        const bool same = std::equal(expected.rgba.begin(), expected.rgba.end(), pixels.get());
        EXPECT_TRUE(same);
        EXPECT_TRUE(banded == expected.rgba);
        agreed += same;
    }
    const int admitted = int(names.size()) - rejected;
    std::printf("%d of %d PngSuite images agree with libpng, %d rejected as required\n", agreed, admitted, rejected);
}

// The header alone is enough for every image of the suite whose first chunks are sound,
// including the 16-bit ones that a full decode refuses.
TEST(PngSuite, HeaderOnlyReadsTheSizeOfEveryWellFormedImage)
{
    for (const std::string& name : SuiteFiles()) {
        if (name[0] == 'x')
            continue;
        SCOPED_TRACE(name);
        const std::vector<uint8_t> file = ReadTestFile(kSuiteDir + "/" + name);
        std::unique_ptr<uint8_t[]> pixels;
        int32_t width = 0, height = 0;
        ASSERT_TRUE(DecodePNG(file.data(), file.size(), pixels, width, height, true));
        EXPECT_EQ(pixels, nullptr);
        const TReferenceImage expected = DecodeWithLibpng(file);
        EXPECT_EQ(uint32_t(width), expected.width);
        EXPECT_EQ(uint32_t(height), expected.height);
    }
}

} // namespace

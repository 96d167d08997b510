// The package's names, pictures, sprite sheets and font, read back with the
// game's own decoder and sheet loader.
#include "ShippedPackage.h"

#include "VelaPNG/PNG.h"
#include "render/Sprites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct Image {
    std::unique_ptr<uint8_t[]> pixels;
    int32_t width = 0;
    int32_t height = 0;

    uint8_t Alpha(int32_t x, int32_t y) const { return pixels[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
};

Image decode(std::span<const uint8_t> bytes)
{
    Image image;
    EXPECT_TRUE(DecodePNG(bytes.data(), bytes.size(), image.pixels, image.width, image.height, false));
    return image;
}

// Colour type byte of the image header (2 RGB, 6 RGBA): the decoder hands out RGBA either way.
int colourType(std::span<const uint8_t> bytes) { return bytes.size() > 25 ? bytes[25] : -1; }

bool anyVisible(const Image& image, int32_t x0, int32_t y0, int32_t w, int32_t h)
{
    for (int32_t y = y0; y < y0 + h; ++y)
        for (int32_t x = x0; x < x0 + w; ++x)
            if (image.Alpha(x, y) != 0)
                return true;
    return false;
}

} // namespace

TEST(DataPackage, HoldsExactlyTheThirtyFourEntriesTheGameLoads)
{
    const std::set<std::string> expected = {"2012_commontheme.xm",
                                            "2012_commontheme_empty.xm",
                                            "2012_halcyon_verse.xm",
                                            "2012_halcyon_verse_empty.xm",
                                            "2012_labyrinth.xm",
                                            "2012_labyrinth_empty.xm",
                                            "2012_otherworld_melo1.xm",
                                            "2012_otherworld_melo1_empty.xm",
                                            "2012_otherworld_melo2.xm",
                                            "2012_otherworld_melo2_empty.xm",
                                            "2012_skyward_nobass.xm",
                                            "2012_skyward_nobass_empty.xm",
                                            "areyoukiddingme.ogg",
                                            "c64rolld.xm",
                                            "c64rolld_empty.xm",
                                            "fail.ogg",
                                            "gameover.ogg",
                                            "greatgameplaydude.ogg",
                                            "leveldone.ogg",
                                            "loadingscreen.png",
                                            "music.ogg",
                                            "myturn.ogg",
                                            "random.xm",
                                            "random_empty.xm",
                                            "solistenup.ogg",
                                            "textures1.png",
                                            "textures1.xml",
                                            "textures2.png",
                                            "textures2.xml",
                                            "textures3.png",
                                            "textures3.xml",
                                            "yourturn.ogg",
                                            "zagbold.dat",
                                            "zagbold.png"};
    ASSERT_EQ(expected.size(), 34u);
    std::set<std::string> names;
    for (const DataFileEntry& entry : ShippedPackage()) {
        EXPECT_GT(entry.size, 0u) << entry.name;
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " twice";
    }
    EXPECT_EQ(names, expected);
}

TEST(DataPackage, PicturesHaveTheSizesAndColourTypesTheGameDraws)
{
    struct Expected {
        const char* name;
        int32_t width, height;
        int colourType;
    };
    const Expected pictures[] = {{"loadingscreen.png", 800, 480, 2},
                                 {"textures1.png", 2048, 2048, 6},
                                 {"textures2.png", 2048, 2048, 6},
                                 {"textures3.png", 2048, 2048, 6},
                                 {"zagbold.png", 1024, 1024, 6}};
    for (const Expected& want : pictures) {
        SCOPED_TRACE(want.name);
        const std::span<const uint8_t> bytes = ShippedEntry(want.name);
        EXPECT_EQ(colourType(bytes), want.colourType);
        const Image image = decode(bytes);
        EXPECT_EQ(image.width, want.width);
        EXPECT_EQ(image.height, want.height);
    }
    // The loading screen is drawn before anything else and must cover what lies under it.
    const Image screen = decode(ShippedEntry("loadingscreen.png"));
    ASSERT_EQ(screen.width * screen.height, 800 * 480);
    int32_t translucent = 0;
    for (int32_t i = 0; i < 800 * 480; ++i)
        translucent += screen.pixels[static_cast<size_t>(i) * 4 + 3] != 255;
    EXPECT_EQ(translucent, 0);
}

// The frame and trimmed rectangle of every slot are checked against the game's
// table by tests/render/sprite_atlas_test.cpp (ShippedSheetsFillTheFortySlotsTheGameDraws);
// here the sheets come out of the package and are held against their atlas pixels.
TEST(DataPackage, SheetsPlaceEverySpriteInsideItsOwnAtlas)
{
    bool filledBy[3][SpriteCount] = {};
    int32_t filled = 0;
    for (int32_t set = 0; set < 3; ++set) {
        const std::string number = std::to_string(set + 1);
        SCOPED_TRACE("textures" + number);
        const Image atlas = decode(ShippedEntry("textures" + number + ".png"));
        ASSERT_EQ(atlas.width, 2048);
        const std::span<const uint8_t> sheet = ShippedEntry("textures" + number + ".xml");
        Sprite table[SpriteCount] = {};
        TTexture* const texture = reinterpret_cast<TTexture*>(static_cast<uintptr_t>(0x1000 * (set + 1)));
        LoadAtlasInto(table, texture, sheet.data(), static_cast<int32_t>(sheet.size()));
        std::vector<const Sprite*> placed;
        for (int32_t slot = 0; slot < SpriteCount; ++slot) {
            const Sprite& sprite = table[slot];
            if (sprite.Texture == nullptr)
                continue;
            SCOPED_TRACE(SpriteNames[slot]);
            filledBy[set][slot] = true;
            ++filled;
            EXPECT_EQ(sprite.r, 0); // nothing draws rotated
            ASSERT_GT(sprite.w, 0);
            ASSERT_GT(sprite.h, 0);
            ASSERT_GE(sprite.x, 0);
            ASSERT_GE(sprite.y, 0);
            ASSERT_LE(sprite.x + sprite.w, atlas.width);
            ASSERT_LE(sprite.y + sprite.h, atlas.height);
            EXPECT_LE(sprite.oX + sprite.w, sprite.oW);
            EXPECT_LE(sprite.oY + sprite.h, sprite.oH);
            EXPECT_TRUE(anyVisible(atlas, sprite.x, sprite.y, sprite.w, sprite.h)) << "blank sprite";
            for (const Sprite* other : placed) {
                const bool overlap = sprite.x < other->x + other->w && other->x < sprite.x + sprite.w &&
                                     sprite.y < other->y + other->h && other->y < sprite.y + sprite.h;
                EXPECT_FALSE(overlap) << "overlaps another sprite of the atlas";
            }
            placed.push_back(&sprite);
        }
        EXPECT_FALSE(placed.empty());
    }
    // A slot named by two sheets would be drawn from whichever sheet loaded last.
    for (int32_t slot = 0; slot < SpriteCount; ++slot)
        EXPECT_LE(filledBy[0][slot] + filledBy[1][slot] + filledBy[2][slot], 1) << SpriteNames[slot];
    EXPECT_EQ(filled, 40);
}

TEST(DataPackage, FontCellsAndWidthsFitTheTextLayout)
{
    const std::span<const uint8_t> table = ShippedEntry("zagbold.dat");
    ASSERT_EQ(table.size(), 512u);
    std::array<int32_t, 256> widths{};
    for (size_t c = 0; c < 256; ++c)
        widths[c] = table[2 * c] | table[2 * c + 1] << 8;
    const Image font = decode(ShippedEntry("zagbold.png"));
    ASSERT_EQ(font.width, 1024);
    ASSERT_EQ(font.height, 1024);
    const auto cellVisible = [&](int32_t c) { return anyVisible(font, 64 * (c % 16), 64 * (c / 16), 64, 64); };
    // Columns (or rows) of a cell holding ink.
    const auto inkSpan = [&](int32_t c, bool columns) {
        int32_t first = 64, last = -1;
        for (int32_t i = 0; i < 64; ++i) {
            const int32_t x = 64 * (c % 16) + (columns ? i : 0), y = 64 * (c / 16) + (columns ? 0 : i);
            if (anyVisible(font, x, y, columns ? 1 : 64, columns ? 64 : 1)) {
                first = std::min(first, i);
                last = i;
            }
        }
        return last - first + 1;
    };
    for (int32_t c = 32; c < 127; ++c) {
        SCOPED_TRACE(c);
        EXPECT_GE(widths[c], 8);
        EXPECT_LE(widths[c], 32);
        EXPECT_EQ(cellVisible(c), c != ' ');
        // The advance fits the ink: no overlap, and no gap of more than a few texels either side.
        if (c != ' ') {
            EXPECT_LE(inkSpan(c, true), widths[c] + 1);
            EXPECT_GE(inkSpan(c, true), widths[c] - 8);
        }
    }
    // Capitals fill most of the cell's height, so text reads at size 32 on an 800 x 480 screen.
    EXPECT_GE(inkSpan('H', false), 36);
    // Latin-1 letters and signs: drawn from their own cells with their own widths.
    for (int32_t c = 161; c < 256; ++c) {
        SCOPED_TRACE(c);
        EXPECT_GT(widths[c], 0);
        EXPECT_LE(widths[c], 64);
        EXPECT_TRUE(cellVisible(c));
    }
    // Control codes advance by the minimum and draw nothing.
    for (int32_t c : {0, 10, 31, 127, 128, 159}) {
        EXPECT_EQ(widths[c], 0) << c;
        EXPECT_FALSE(cellVisible(c)) << c;
    }
    // The game tints the glyphs, so every visible texel must be white.
    int32_t tinted = 0;
    for (int32_t i = 0; i < 1024 * 1024; ++i) {
        const uint8_t* p = &font.pixels[static_cast<size_t>(i) * 4];
        tinted += p[3] != 0 && (p[0] != 255 || p[1] != 255 || p[2] != 255);
    }
    EXPECT_EQ(tinted, 0);
}

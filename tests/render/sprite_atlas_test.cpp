// Reading atlas sheets into the named slot table: defaults, overwrites, unknown names, log lines.
#include "render/Sprites.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The logger reads this once, on first use; turning it on lets the tests see the log lines.
const bool loggingOn = (setenv("QUAVERO_LOG", "1", 1), true);

// A non-null texture reference; the loader only stores it.
TTexture* const AtlasTexture = reinterpret_cast<TTexture*>(static_cast<uintptr_t>(0x1000));

TAtlasResult load(Sprite (&table)[SpriteCount], const std::string& sheet, TTexture* texture = AtlasTexture)
{
    return LoadAtlasInto(table, texture, reinterpret_cast<const uint8_t*>(sheet.data()),
                         static_cast<int32_t>(sheet.size()));
}

std::string sheetOf(const std::string& sprites)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- one -->\n<!-- two -->\n<!-- three -->\n"
           "<TextureAtlas imagePath=\"t.png\" width=\"2048\" height=\"2048\">\n" +
           sprites + "</TextureAtlas>\n";
}

} // namespace

TEST(SpriteAtlas, SlotNamesAreUniqueAndMatchedExactly)
{
    ASSERT_TRUE(loggingOn);
    EXPECT_EQ(FindSpriteSlot("Ball_midi"), std::nullopt);
    for (int32_t i = 0; i < SpriteCount; ++i) {
        EXPECT_EQ(FindSpriteSlot(SpriteNames[i]), i) << SpriteNames[i];
    }
}

TEST(SpriteAtlas, TrimmedAndUntrimmedRecords)
{
    Sprite table[SpriteCount] = {};
    load(table, sheetOf("<sprite n=\"gate_right\" x=\"2\" y=\"3\" w=\"556\" h=\"480\" oX=\"244\" oY=\"0\" "
                        "oW=\"800\" oH=\"480\"/>\n"
                        "<sprite n=\"title_bg\" x=\"560\" y=\"4\" w=\"800\" h=\"480\" r=\"y\"/>\n"));
    const Sprite& gate = table[SpriteGateRight];
    EXPECT_EQ(gate.Texture, AtlasTexture);
    EXPECT_EQ(gate.x, 2);
    EXPECT_EQ(gate.y, 3);
    EXPECT_EQ(gate.w, 556);
    EXPECT_EQ(gate.oX, 244);
    EXPECT_EQ(gate.oW, 800);
    const Sprite& title = table[SpriteTitleBg];
    EXPECT_EQ(title.oX, 0);
    EXPECT_EQ(title.oY, 0);
    EXPECT_EQ(title.oW, 800); // the frame of an untrimmed sprite is its own size
    EXPECT_EQ(title.oH, 480);
    EXPECT_EQ(title.r, 0); // "y" is not an integer
    EXPECT_EQ(table[SpriteAdvert].Texture, nullptr);
}

TEST(SpriteAtlas, MissingAndMalformedNumbersReadAsZero)
{
    Sprite table[SpriteCount] = {};
    load(table, sheetOf("<sprite n=\"bork1\" x=\"12px\" y=\" 5\" h=\"-7\" oX=\"+3\" oY=\"99999999999\"/>"));
    const Sprite& bork = table[SpriteBork1];
    EXPECT_EQ(bork.x, 0);
    EXPECT_EQ(bork.y, 5); // the reader already dropped the blank inside the quotes
    EXPECT_EQ(bork.w, 0);
    EXPECT_EQ(bork.oW, 0); // defaults to the missing "w", itself "0"
    EXPECT_EQ(bork.h, -7);
    EXPECT_EQ(bork.oH, -7);
    EXPECT_EQ(bork.oX, 3);
    EXPECT_EQ(bork.oY, 0);
}

TEST(SpriteAtlas, LaterEntriesOverwriteAndUnknownNamesChangeNothing)
{
    Sprite table[SpriteCount] = {};
    load(table, sheetOf("<sprite n=\"bork2\" x=\"1\"/><sprite n=\"bork2\" x=\"2\"/>"
                        "<sprite n=\"no_such_sprite\" x=\"5\"/><sprite n=\"BORK1\" x=\"5\"/>"
                        "<sprite x=\"7\"/><Sprite n=\"bork1\" x=\"7\"/>"));
    EXPECT_EQ(table[SpriteBork2].x, 2);
    for (int32_t i = 0; i < SpriteCount; ++i) {
        if (i != SpriteBork2) {
            EXPECT_EQ(table[i].Texture, nullptr) << SpriteNames[i];
        }
    }
}

TEST(SpriteAtlas, OnlySpritesInsideTextureAtlasElementsCount)
{
    Sprite table[SpriteCount] = {};
    load(table, "<sprite n=\"bork1\"/><TextureAtlas><group><sprite n=\"bork2\"/></group></TextureAtlas>"
                "<TextureAtlas><sprite n=\"advert\" w=\"800\"/></TextureAtlas>");
    EXPECT_EQ(table[SpriteBork1].Texture, nullptr);
    EXPECT_EQ(table[SpriteBork2].Texture, nullptr);
    EXPECT_EQ(table[SpriteAdvert].w, 800); // a second TextureAtlas is read as well
}

TEST(SpriteAtlas, SheetThatDoesNotParseLeavesTheTable)
{
    Sprite table[SpriteCount] = {};
    EXPECT_EQ(load(table, sheetOf("<sprite n=\"bork1\" x=\"1\"/>")), TAtlasResult::Loaded);
    EXPECT_EQ(load(table, sheetOf("<sprite n=\"bork1\" x=\"2\"/><sprite n=\"bork2\" x=\"3\">")), TAtlasResult::NotXML);
    EXPECT_EQ(load(table, sheetOf("<sprite n=\"nobody\"/>")), TAtlasResult::Empty);
    EXPECT_EQ(table[SpriteBork1].x, 1);
    EXPECT_EQ(table[SpriteBork2].Texture, nullptr);
    LoadAtlasInto(table, AtlasTexture, nullptr, 10);
    LoadAtlasInto(table, AtlasTexture, reinterpret_cast<const uint8_t*>("<x/>"), 0);
    EXPECT_EQ(table[SpriteBork1].x, 1);
}

TEST(SpriteAtlas, LogLinesAroundTheParse)
{
    Sprite table[SpriteCount] = {};
    testing::internal::CaptureStderr();
    load(table, sheetOf(""));
    const std::string parsed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(parsed, "[Game] Creating memory stream...\n"
                      "[Game] Writing to memory stream...\n"
                      "[Game] Seeking memory stream to beginning position...\n"
                      "[Game] Creating XML class...\n"
                      "[Game] Parsing XML...\n"
                      "[Game] Processing XML nodes...\n"
                      "[Game] Destroying XML class...\n"
                      "[Game] Destroying memory stream...\n");

    testing::internal::CaptureStderr();
    load(table, "<broken");
    const std::string failed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(failed.find("Processing XML nodes"), std::string::npos);
    EXPECT_NE(failed.find("[Game] Parsing XML...\n[Game] Destroying XML class...\n"), std::string::npos);
}

namespace {

std::string readDataFile(const char* name)
{
    std::ifstream file(std::string(QUAVERO_SOURCE_DIR) + "/data/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Slot, sheet (1..3), frame oW x oH and trimmed rectangle oX, oY, w, h of every slot the shipped sheets fill.
struct ExpectedSlot {
    int32_t slot, sheet, oW, oH, oX, oY, w, h;
};
const ExpectedSlot ShippedSlots[] = {
    {0, 3, 800, 480, 0, 0, 800, 480},       {1, 2, 800, 480, 0, 0, 800, 480},
    {3, 1, 800, 480, 0, 0, 800, 480},       {5, 1, 800, 480, 0, 0, 402, 480},
    {6, 1, 800, 480, 244, 0, 556, 480},     {8, 2, 800, 480, 0, 0, 800, 480},
    {10, 1, 800, 480, 14, 9, 54, 62},       {11, 1, 800, 480, 14, 9, 112, 62},
    {12, 1, 800, 480, 14, 9, 170, 62},      {13, 1, 800, 480, 202, 55, 396, 398},
    {14, 1, 800, 480, 202, 55, 396, 398},   {15, 1, 800, 480, 202, 55, 396, 398},
    {18, 1, 800, 480, 342, 182, 118, 118},  {20, 1, 800, 480, 31, 80, 284, 176},
    {21, 1, 800, 480, 31, 80, 284, 176},    {23, 1, 800, 480, 31, 80, 284, 176},
    {24, 1, 800, 480, 311, 220, 114, 50},   {25, 1, 800, 480, 2, 193, 166, 132},
    {26, 1, 800, 480, 0, 0, 800, 480},      {31, 1, 800, 480, 512, 114, 248, 366},
    {32, 1, 800, 480, 596, 114, 204, 366},  {34, 1, 800, 480, 0, 60, 8, 364},
    {35, 1, 800, 480, 792, 60, 8, 364},     {36, 1, 800, 480, 0, 0, 800, 480},
    {37, 1, 800, 480, 352, 209, 404, 106},  {38, 3, 800, 480, 0, 0, 800, 480},
    {42, 1, 800, 480, 0, 0, 800, 480},      {43, 1, 800, 480, 37, 132, 528, 348},
    {44, 1, 800, 480, 33, 33, 526, 86},     {45, 1, 800, 480, 604, 0, 180, 480},
    {46, 1, 800, 480, 19, 441, 38, 18},     {47, 1, 800, 480, 604, 0, 180, 480},
    {48, 3, 1024, 2048, 64, 4, 672, 2014},  {49, 3, 512, 512, 59, 60, 392, 392},
    {50, 3, 256, 256, 25, 26, 204, 204},    {51, 3, 256, 256, 56, 57, 142, 142},
    {52, 2, 1024, 2048, 27, 52, 742, 1952}, {53, 1, 800, 480, 0, 0, 800, 480},
    {54, 2, 800, 480, 15, 193, 436, 168},   {55, 2, 800, 480, 0, 0, 800, 480},
};

} // namespace

TEST(SpriteAtlas, ShippedSheetsFillTheFortySlotsTheGameDraws)
{
    TTexture* const sets[3] = {reinterpret_cast<TTexture*>(uintptr_t(0x1000)),
                               reinterpret_cast<TTexture*>(uintptr_t(0x2000)),
                               reinterpret_cast<TTexture*>(uintptr_t(0x3000))};
    Sprite table[SpriteCount] = {};
    for (int sheet = 0; sheet < 3; ++sheet) {
        const std::string bytes = readDataFile(("textures" + std::to_string(sheet + 1) + ".xml").c_str());
        ASSERT_FALSE(bytes.empty());
        load(table, bytes, sets[sheet]);
    }
    bool filled[SpriteCount] = {};
    for (const ExpectedSlot& expected : ShippedSlots) {
        const Sprite& sprite = table[expected.slot];
        SCOPED_TRACE(SpriteNames[expected.slot]);
        filled[expected.slot] = true;
        EXPECT_EQ(sprite.Texture, sets[expected.sheet - 1]);
        EXPECT_EQ(sprite.oW, expected.oW);
        EXPECT_EQ(sprite.oH, expected.oH);
        EXPECT_EQ(sprite.oX, expected.oX);
        EXPECT_EQ(sprite.oY, expected.oY);
        EXPECT_EQ(sprite.w, expected.w);
        EXPECT_EQ(sprite.h, expected.h);
    }
    for (int32_t slot = 0; slot < SpriteCount; ++slot) {
        if (!filled[slot]) {
            EXPECT_EQ(table[slot].Texture, nullptr) << SpriteNames[slot];
        }
    }
}

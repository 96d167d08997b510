#include "render/Sprites.h"

#include "render/Logger.h"

#include "VelaXML/VelaXML.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <string>

const char* const SpriteNames[SpriteCount] = {
    "1st_screen_publishedby",
    "credits_bg",
    "credits_scrollmask",
    "gameover_bg",
    "gate_all",
    "gate_left",
    "gate_right",
    "general_infowindow",
    "highscore_bg",
    "highscore_scrollmask",
    "ingame_1life",
    "ingame_2lifes",
    "ingame_3lifes",
    "all4tabs_on_hand",
    "all4tabs_off",
    "all4tabs_on",
    "all6tabsoff",
    "all6tabson",
    "all4tabs_reload",
    "all6tabs_reload",
    "ingame_bubble_listen",
    "ingame_bubble_myturn",
    "ingame_bubble_vader(overeye)",
    "ingame_bubble_yourturn",
    "ingame_littleball",
    "ingame_simon",
    "ingame_background",
    "ingame_comment_bad",
    "ingame_comment_good",
    "ingame_font",
    "ingame_borkrolled",
    "bork1",
    "bork2",
    "loading_layer0_",
    "overall0",
    "overall1",
    "select_bg",
    "select_locks",
    "startup_background",
    "startup_ball",
    "startup_spray1_",
    "startup_spray2_",
    "title_bg",
    "title_eye_collage",
    "title_logo",
    "title_menu",
    "title_menu_exit",
    "title_menu_mouseover",
    "STARTUP_scroller_text",
    "ball_big",
    "ball_midi",
    "ball_small",
    "credits_scroller_vonuntennachoben",
    "excellent_gameplay",
    "fake_highscore",
    "advert",
};

Sprite SpriteTable[SpriteCount];
Sprite* BallSprites[3] = {&SpriteTable[SpriteBallSmall], &SpriteTable[SpriteBallMidi], &SpriteTable[SpriteBallBig]};

void ResetSprites()
{
    for (Sprite& sprite : SpriteTable) {
        sprite = Sprite{};
    }
    BallSprites[0] = &SpriteTable[SpriteBallSmall];
    BallSprites[1] = &SpriteTable[SpriteBallMidi];
    BallSprites[2] = &SpriteTable[SpriteBallBig];
}

std::optional<int32_t> FindSpriteSlot(std::string_view name)
{
    for (int32_t slot = 0; slot < SpriteCount; ++slot) {
        if (name == SpriteNames[slot]) {
            return slot;
        }
    }
    return std::nullopt;
}

void SetSpritesOpaque(const TTexture* texture, int32_t width, int32_t height, bool opaque)
{
    for (Sprite& sprite : SpriteTable)
        if (sprite.Texture == texture)
            sprite.Opaque = opaque && sprite.x >= 0 && sprite.y >= 0 && sprite.w > 0 && sprite.h > 0 &&
                            int64_t(sprite.x) + sprite.w <= width && int64_t(sprite.y) + sprite.h <= height;
}

void ScanSpriteOpacity(const TTexture* texture, int32_t width, int32_t first, int32_t count, const uint8_t* rgba)
{
    for (Sprite& sprite : SpriteTable) {
        if (sprite.Texture != texture || !sprite.Opaque)
            continue;
        // SetSpritesOpaque has kept only sprites inside the image.
        const int32_t left = sprite.x;
        const int32_t right = std::min(sprite.x + sprite.w, width);
        const int32_t top = std::max(sprite.y, first);
        const int32_t bottom = std::min(sprite.y + sprite.h, first + count);
        for (int32_t row = top; row < bottom && sprite.Opaque; ++row) {
            const uint8_t* pixel = rgba + (size_t(row - first) * size_t(width) + size_t(left)) * 4;
            for (int32_t column = left; column < right; ++column, pixel += 4)
                if (pixel[3] != 255) {
                    sprite.Opaque = false;
                    break;
                }
        }
    }
}

namespace {

// A decimal integer with an optional sign; anything else (empty text, "y",
// trailing characters, values outside 32 bits) reads as 0.
int32_t toInteger(const std::string& text)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') {
        ++first;
    }
    int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) {
        return 0;
    }
    return value;
}

Sprite readSprite(const TVelaXMLTag& element, TTexture* texture)
{
    Sprite sprite;
    sprite.Texture = texture;
    sprite.x = toInteger(element.GetParameter("x", "0"));
    sprite.y = toInteger(element.GetParameter("y", "0"));
    const std::string width = element.GetParameter("w", "0");
    const std::string height = element.GetParameter("h", "0");
    sprite.w = toInteger(width);
    sprite.h = toInteger(height);
    sprite.oX = toInteger(element.GetParameter("oX", "0"));
    sprite.oY = toInteger(element.GetParameter("oY", "0"));
    // An untrimmed sprite's frame is its own size.
    sprite.oW = toInteger(element.GetParameter("oW", width));
    sprite.oH = toInteger(element.GetParameter("oH", height));
    sprite.r = toInteger(element.GetParameter("r", "0"));
    return sprite;
}

// Returns how many sprite records it stored.
int32_t readSheet(Sprite (&table)[SpriteCount], const TVelaXMLItem& root, TTexture* texture)
{
    int32_t stored = 0;
    for (int32_t i = 0; i < root.Items.Count(); ++i) {
        const TVelaXMLItem* item = root.Items.Get(i);
        if (item->Kind() != TVelaXMLKind::Tag || static_cast<const TVelaXMLTag*>(item)->Name != "TextureAtlas") {
            continue;
        }
        for (int32_t j = 0; j < item->Items.Count(); ++j) {
            const TVelaXMLItem* child = item->Items.Get(j);
            if (child->Kind() != TVelaXMLKind::Tag) {
                continue;
            }
            const auto& element = static_cast<const TVelaXMLTag&>(*child);
            if (element.Name != "sprite") {
                continue;
            }
            const std::string name = element.GetParameter("n", "");
            if (name.empty()) {
                continue;
            }
            // Unknown names are ignored; a name listed again overwrites its slot.
            if (const std::optional<int32_t> slot = FindSpriteSlot(name)) {
                table[*slot] = readSprite(element, texture);
                ++stored;
            }
        }
    }
    return stored;
}

} // namespace

TAtlasResult LoadAtlasInto(Sprite (&table)[SpriteCount], TTexture* texture, const uint8_t* bytes, int32_t size)
{
    if (bytes == nullptr || size < 1) {
        return TAtlasResult::NotXML;
    }
    GameLog("Creating memory stream...");
    auto stream = std::make_unique<TVelaXMLMemoryStream>();
    GameLog("Writing to memory stream...");
    stream->Write(bytes, static_cast<size_t>(size));
    GameLog("Seeking memory stream to beginning position...");
    stream->Seek(0);
    GameLog("Creating XML class...");
    auto document = std::make_unique<TVelaXML>();
    // The log lines of the clean-up appear on every path, also when an exception passes.
    struct CleanUp {
        std::unique_ptr<TVelaXML>& document;
        std::unique_ptr<TVelaXMLMemoryStream>& stream;
        ~CleanUp()
        {
            GameLog("Destroying XML class...");
            document.reset();
            GameLog("Destroying memory stream...");
            stream.reset();
        }
    } cleanUp{document, stream};

    GameLog("Parsing XML...");
    if (!document->Parse(*stream)) {
        return TAtlasResult::NotXML;
    }
    GameLog("Processing XML nodes...");
    return readSheet(table, document->Root, texture) > 0 ? TAtlasResult::Loaded : TAtlasResult::Empty;
}

TAtlasResult LoadAtlas(TTexture* texture, const uint8_t* bytes, int32_t size)
{
    return LoadAtlasInto(SpriteTable, texture, bytes, size);
}

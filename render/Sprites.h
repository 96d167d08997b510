#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

class TTexture;

// One named picture: where its trimmed pixels sit in an atlas texture and
// where they sit inside the untrimmed frame the game positions.
struct Sprite {
    TTexture* Texture = nullptr; // atlas the sheet was loaded for (not owned); null in an empty slot
    int32_t x = 0;               // left edge of the trimmed pixels in the atlas, texels
    int32_t y = 0;               // top edge of the trimmed pixels in the atlas
    int32_t w = 0;               // width of the trimmed pixels
    int32_t h = 0;               // height of the trimmed pixels
    int32_t oX = 0;              // left offset of the trimmed pixels inside the frame
    int32_t oY = 0;              // top offset of the trimmed pixels inside the frame
    int32_t oW = 0;              // width of the untrimmed frame
    int32_t oH = 0;              // height of the untrimmed frame
    int32_t r = 0;               // rotation flag as written in the sheet; nothing draws rotated
    bool Opaque = false;         // every trimmed pixel has full alpha, as found by the texture's last upload
};

// Number of named slots.
inline constexpr int32_t SpriteCount = 56;

// The slots by number, in the order of SpriteNames.
enum SpriteSlot : int32_t {
    SpritePublishedBy,         // "1st_screen_publishedby"
    SpriteCreditsBg,           // "credits_bg"
    SpriteCreditsScrollMask,   // "credits_scrollmask"
    SpriteGameOverBg,          // "gameover_bg"
    SpriteGateAll,             // "gate_all"
    SpriteGateLeft,            // "gate_left"
    SpriteGateRight,           // "gate_right"
    SpriteGeneralInfoWindow,   // "general_infowindow"
    SpriteHighScoreBg,         // "highscore_bg"
    SpriteHighScoreScrollMask, // "highscore_scrollmask"
    SpriteOneLife,             // "ingame_1life"
    SpriteTwoLives,            // "ingame_2lifes"
    SpriteThreeLives,          // "ingame_3lifes"
    SpriteTabsOnHand,          // "all4tabs_on_hand"
    SpriteTabsOff,             // "all4tabs_off"
    SpriteTabsOn,              // "all4tabs_on"
    SpriteSixTabsOff,          // "all6tabsoff"
    SpriteSixTabsOn,           // "all6tabson"
    SpriteTabsReload,          // "all4tabs_reload"
    SpriteSixTabsReload,       // "all6tabs_reload"
    SpriteBubbleListen,        // "ingame_bubble_listen"
    SpriteBubbleMyTurn,        // "ingame_bubble_myturn"
    SpriteBubbleVader,         // "ingame_bubble_vader(overeye)"
    SpriteBubbleYourTurn,      // "ingame_bubble_yourturn"
    SpriteLittleBall,          // "ingame_littleball"
    SpriteSimon,               // "ingame_simon"
    SpriteInGameBackground,    // "ingame_background"
    SpriteCommentBad,          // "ingame_comment_bad"
    SpriteCommentGood,         // "ingame_comment_good"
    SpriteInGameFont,          // "ingame_font"
    SpriteBorkRolled,          // "ingame_borkrolled"
    SpriteBork1,               // "bork1"
    SpriteBork2,               // "bork2"
    SpriteLoadingLayer0,       // "loading_layer0_"
    SpriteOverall0,            // "overall0"
    SpriteOverall1,            // "overall1"
    SpriteSelectBg,            // "select_bg"
    SpriteSelectLocks,         // "select_locks"
    SpriteStartupBackground,   // "startup_background"
    SpriteStartupBall,         // "startup_ball"
    SpriteStartupSpray1,       // "startup_spray1_"
    SpriteStartupSpray2,       // "startup_spray2_"
    SpriteTitleBg,             // "title_bg"
    SpriteTitleEyeCollage,     // "title_eye_collage"
    SpriteTitleLogo,           // "title_logo"
    SpriteTitleMenu,           // "title_menu"
    SpriteTitleMenuExit,       // "title_menu_exit"
    SpriteTitleMenuMouseOver,  // "title_menu_mouseover"
    SpriteStartupScrollerText, // "STARTUP_scroller_text"
    SpriteBallBig,             // "ball_big"
    SpriteBallMidi,            // "ball_midi"
    SpriteBallSmall,           // "ball_small"
    SpriteCreditsScroller,     // "credits_scroller_vonuntennachoben"
    SpriteExcellentGameplay,   // "excellent_gameplay"
    SpriteFakeHighScore,       // "fake_highscore"
    SpriteAdvert,              // "advert"
};

// The slot names as the sheets write them, in slot order.
extern const char* const SpriteNames[SpriteCount];

// The table the game draws from; empty after ResetSprites.
extern Sprite SpriteTable[SpriteCount];

// "ball_small", "ball_midi" and "ball_big", by size index 0 to 2.
extern Sprite* BallSprites[3];

// Empties every slot and points BallSprites at the three ball slots.
void ResetSprites();

// The slot of a name (exact, case-sensitive), if the table has one.
std::optional<int32_t> FindSpriteSlot(std::string_view name);

// What reading an atlas sheet came to.
enum class TAtlasResult { Loaded, Empty, NotXML };

// Reads one atlas sheet and fills the slots it names in table with records
// referring to texture; a sheet that does not parse leaves table unchanged
// (NotXML), one that names no slot of the table changes nothing (Empty).
TAtlasResult LoadAtlasInto(Sprite (&table)[SpriteCount], TTexture* texture, const uint8_t* bytes, int32_t size);

// LoadAtlasInto on the game's SpriteTable.
TAtlasResult LoadAtlas(TTexture* texture, const uint8_t* bytes, int32_t size);

// Marks the sprites of texture opaque (or not), before its width x height image is scanned or when
// it cannot be; a sprite reaching outside the image is never opaque.
void SetSpritesOpaque(const TTexture* texture, int32_t width, int32_t height, bool opaque);
// Clears the opaque mark of the sprites of texture that have a pixel short of full alpha among
// rows first .. first + count - 1 of its image (RGBA, width texels to a row).
void ScanSpriteOpacity(const TTexture* texture, int32_t width, int32_t first, int32_t count, const uint8_t* rgba);

// Draws rectangle (sx, sy, sw, sh) of the sprite's untrimmed frame onto virtual rectangle (dx, dy, dw, dh),
// tinted; the texture program must be current. Empty slots and near-transparent draws draw nothing.
void DrawSpriteRegion(const Sprite& sprite, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                      float dh, float r, float g, float b, float a);
// Draws the whole frame at its own size with its top-left corner at (x, y).
void DrawSprite(const Sprite& sprite, float x, float y, float r, float g, float b, float a);
// DrawSpriteRegion through the scroll-mask program, which must be current.
void DrawSpriteRegionMasked(const Sprite& sprite, float sx, float sy, float sw, float sh, float dx, float dy, float dw,
                            float dh, float r, float g, float b, float a);
// DrawSprite through the scroll-mask program, which must be current.
void DrawSpriteMasked(const Sprite& sprite, float x, float y, float r, float g, float b, float a);

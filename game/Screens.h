#pragma once

#include <cstdint>

// One screen of the game: its entry actions for a state it owns, its update
// and its drawing. The state machine dispatches to the screen that owns the
// current state number.
struct TScreen {
    void (*enter)(int32_t state);  // entry actions of one of its states
    void (*update)(int32_t state); // one update in that state
    void (*draw)(int32_t state);   // its picture for that state
};

// The screen owning a state number; the loading screen for unknown numbers.
const TScreen& ScreenOf(int32_t state);

extern const TScreen LoadingScreen;     // 5000: loading picture and texture uploads
extern const TScreen SplashScreen;      // 10000: the publisher's card
extern const TScreen StartupScroller;   // 15000: how to play, with rising note-balls
extern const TScreen TitleScreen;       // 20000..20003: the title menu
extern const TScreen CreditsScreen;     // 30000..30002: the credits scroller
extern const TScreen HighScoreScreen;   // 40000..40002: the high-score picture
extern const TScreen TrackSelectScreen; // 50000..50002: the track tiles
extern const TScreen MelodyGameScreen;  // 60000..60002: the melody game
extern const TScreen AdvertScreen;      // 70000..70002: the goodbye card

struct Sprite;
// Draws a sprite slot's whole frame at (x, y), untinted (texture program current).
void DrawSlot(int32_t slot, float x, float y, float alpha = 1.0f);
// The sprite slot's record.
const Sprite& SpriteOf(int32_t slot);

// The credits scroller's position in its 120 s cycle, 0..1.
float CreditsScroll();

// Input as the current update sees it.
bool EscapeHit();         // Escape was pressed since the last update
bool KeyHit(int32_t key); // a game key (GameKey bit) was pressed since the last update
bool ButtonHeld();        // a mouse button is down
float PointerX();         // pointer on the virtual screen
float PointerY();

#pragma once

#include <cstdint>

// One screen of the game: its entry actions for a state it owns, its update
// and its drawing. The state machine dispatches to the screen that owns the
// current state number.
struct TScreen {
    void (*enter)(int32_t state);
    void (*update)(int32_t state);
    void (*draw)(int32_t state);
};

// The screen owning a state number; the loading screen for unknown numbers.
const TScreen& ScreenOf(int32_t state);

extern const TScreen LoadingScreen;
extern const TScreen SplashScreen;
extern const TScreen StartupScroller;
extern const TScreen TitleScreen;
extern const TScreen CreditsScreen;
extern const TScreen HighScoreScreen;
extern const TScreen TrackSelectScreen;
extern const TScreen MelodyGameScreen;
extern const TScreen AdvertScreen;

// Drawing helpers shared by the screens (texture program current).
void DrawSlot(int32_t slot, float x, float y, float alpha = 1.0f);
// The sprite slot's record.
struct Sprite;
const Sprite& SpriteOf(int32_t slot);

// Input as the current update sees it.
bool EscapeHit();
bool ButtonHeld();
float PointerX();
float PointerY();

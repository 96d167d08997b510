#pragma once

#include "VelaBase/SharedWord.h"
#include "game/MusicSource.h"

#include <array>
#include <cstdint>

class TVelaSoundSystem;

// Screen state numbers: a screen's intro, interactive phase and outros.
enum : int32_t {
    StateLoading = 5000,
    StateSplash = 10000,
    StateStartupScroller = 15000,
    StateTitleIntro = 20000,
    StateTitleMenu = 20001,
    StateTitleOutro = 20002,
    StateTitleExit = 20003,
    StateCreditsIntro = 30000,
    StateCredits = 30001,
    StateCreditsOutro = 30002,
    StateHighScoreIntro = 40000,
    StateHighScore = 40001,
    StateHighScoreOutro = 40002,
    StateTrackSelectIntro = 50000,
    StateTrackSelect = 50001,
    StateTrackSelectOutro = 50002,
    StateGameIntro = 60000,
    StateGame = 60001,
    StateGameOutro = 60002,
    StateAdvertIntro = 70000,
    StateAdvert = 70001,
    StateAdvertOutro = 70002,
};

// Track numbers (TrackChoice): the five tiles 0..4, then the random track and
// the hidden bonus track. A track's two modules are in the slots SongSlotOf
// and PhraseSlotOf name.
enum : int32_t {
    TrackTileCount = 5,
    TrackRandom = 5, // its melody is drawn, not listened to
    TrackBonus = 6,  // only watched and listened to
    TrackCount = 7,
};
static_assert(TrackCount == TrackSlotCount, "every track has its two module slots");

// The screen machine's records, reset by ResetGame.
extern int32_t ScreenState;               // current state
extern int32_t NextScreenState;           // entered at the next update with its entry actions
extern int32_t RequestedScreenState;      // entered at the next update without them; 0 = none
extern int64_t StateTime;                 // microseconds spent in the current state
extern float FadeAlpha;                   // black overlay, 0 invisible .. 1 black
extern float GateClosure;                 // 0 gates open .. 1 closed
extern int32_t PendingChoice;             // input latched during an animation; -1 none
extern int32_t MenuChoice;                // title menu choice; -1 none
extern int32_t MenuHover;                 // title tab under a held button; -1 none
extern int32_t TrackChoice;               // chosen track 0..6, HitBack; -1 none
extern int32_t TrackHover;                // highlighted tile; -1 none
extern int32_t Locks;                     // locked tracks, 3 at start; lasts for the process
extern int32_t Score;                     // score of the current game
extern TSharedWord<int32_t> MusicRequest; // music source wanted; read by the audio thread
extern std::array<float, 8> Slides;       // per-screen slide positions (0 hidden, 1 in place) and glows
extern int64_t SkipTime;                  // start-up scroller: microseconds at which its fade-out begins
extern bool Click;                        // this update saw a button release after a press
extern int32_t Keys;                      // game keys (GameKey bits) pressed since the last update
extern int32_t PreviousButton;            // MouseButtonDown as the last update saw it

// The sound system the game drives; created and owned by the main program.
extern TVelaSoundSystem* SoundSystem;

// The timing of the current update.
struct TFrameTime {
    double dt = 1e-7; // seconds since the last update, at least 1e-7
    double t = 0;     // seconds in the current state
    double V = 0;     // 1 - e^(-dt/0.1): the quick approach factor
    double W = 0;     // 1 - e^(-dt/0.2): the slow one
};
extern TFrameTime Frame;

// Asks for a state change with entry actions, applied at the start of the next update.
inline void RequestState(int32_t state) { NextScreenState = state; }

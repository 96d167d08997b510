#pragma once

#include "game/GameState.h"
#include "game/GameSound.h"

#include <array>
#include <cstdint>

// The records of one game (screen states 60000..60002).
struct TMelodyGame {
    struct TFlyingNote {
        bool active = false;
        float x = 0, y = 0;
    };

    int32_t Track = 0;               // TrackChoice, one of TrackCount
    int32_t TurnPhase = -1;          // phase of the turn machine; -1 during the intro
    double Timer = 0;                // seconds in the current phase, where a phase needs it
    int32_t PhraseLength = 1;        // notes in the current phrase
    int32_t NoteIndex = 0;           // log entry being sounded or expected
    int32_t ExpectedTab = 0;         // tab of the note at NoteIndex
    int32_t ChosenTab = -1;          // tab the player pressed; -1 none
    int32_t PitchOffset = 0;         // semitones from the expected note to the pressed tab's note
    int32_t ReplayCount = 0;         // replays of the correct note still to come
    int32_t Lives = 3;               // lives left
    std::array<float, 6> TabGlow{};  // per tab 0..1; tabs 0..3 are drawn
    std::array<float, 6> TabLight{}; // per tab 0..1, the pointing hand
    std::array<float, 3> Bubbles{};  // "listen", "my turn", "your turn"
    float GameOverAlpha = 0;         // "gameover_bg"
    float ExcellentAlpha = 0;        // "excellent_gameplay"
    float SideSlide = 0;             // mascot and back button, 0 hidden .. 1 in place
    float BonusSlide = 0;            // the bonus track's dancing figure
    bool BonusFrame = false;         // which of its two frames shows
    bool BonusStarted = false;       // the figure has started dancing
    std::array<TFlyingNote, 10> FlyingNotes{};
};
extern TMelodyGame Melody;

// Phases of the turn machine.
enum : int32_t {
    PhaseStart = 0,
    PhaseListen = 10,
    PhaseListenIn = 11,
    PhaseListenHold = 12,
    PhaseListenOut = 13,
    PhaseListenWait = 14,
    PhaseMyTurn = 20,
    PhaseMyTurnIn = 21,
    PhaseMyTurnHold = 22,
    PhaseMyTurnOut = 23,
    PhaseSoundNext = 24,
    PhaseNoteRows = 25,
    PhaseNoteFade = 26,
    PhaseYourTurn = 30,
    PhaseAwaitTab = 34,
    PhaseSoundChoice = 35,
    PhaseChoiceRows = 36,
    PhaseChoiceFade = 37,
    PhaseMistake = 38,
    PhaseLevelDone = 40,
    PhaseGameOver = 41,
    PhaseLevelDoneWait = 42,
    PhaseGameOverWait = 43,
    PhaseFinished = 100,
    PhaseLoseLife = 350,
    PhaseFailSound = 351,
    PhaseReplay = 352,
    PhaseReplayRows = 353,
};

// The endings in seconds: the overlay fades in over a second and holds, then the
// game's outro takes a second more; the jingle is wanted all that time, and its
// music slot loops, so the jingle must last at least as long.
inline constexpr double LevelDoneHoldSeconds = 6;
inline constexpr double GameOverHoldSeconds = 12.5;
inline constexpr double LevelDoneJingleSeconds = 1 + LevelDoneHoldSeconds + 1;
inline constexpr double GameOverJingleSeconds = 1 + GameOverHoldSeconds + 1;

// Clears the game's records (ResetGame).
void ResetMelodyGame();
// One step of the turn machine for the current update (state 60001).
void StepTurnMachine();
// The tab of a 0-based note value: the pitches one apart modulo 4 rotate through the tabs.
inline int32_t TabOfNoteValue(int32_t value) { return ((value + 1) * 3) & 3; }
// The semitones from value to the nearest note of tab (the lower one when two
// are as near); 0 for its own tab.
int32_t PitchOffsetTo(int32_t value, int32_t tab);
// The tab whose key was pressed in this update (the lowest if several), or -1.
int32_t TabKeyHit();
// The two players of the current track.
TTrackPlayers TrackPlayers();
// The track titles shown in the game.
extern const char* const TrackTitles[TrackCount];

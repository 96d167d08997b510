#pragma once

#include <cstdint>

// Where the loading step puts the game's sounds in the sound system's banks.

// Module slots: track n's full song in slot n, its melody-less copy in slot
// n + PhraseSlotOffset, for the TrackSlotCount tracks.
inline constexpr int32_t TrackSlotCount = 7;
inline constexpr int32_t PhraseSlotOffset = 10;
constexpr uint8_t SongSlotOf(int32_t Track) { return uint8_t(Track); }
constexpr uint8_t PhraseSlotOf(int32_t Track) { return uint8_t(Track + PhraseSlotOffset); }

// Music slots: the streamed menu music and the two jingles.
enum : uint8_t {
    MusicSlotMenu = 0,
    MusicSlotLevelDone = 1,
    MusicSlotGameOver = 2,
};

// Sample slots: the fail sound and the host's lines.
enum : uint8_t {
    SampleSlotFail = 3,
    SampleSlotListenUp = 4,
    SampleSlotMyTurn = 5,
    SampleSlotYourTurn = 6,
    SampleSlotKidding = 7,
    SampleSlotGreatGameplay = 8,
};

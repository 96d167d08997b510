#pragma once

#include <cstdint>
#include <span>

class TVelaSoundSystem;
class TVelaXM;

// Which of a track's two players the pad follows.
enum class TMelodySource {
    Song,   // the full song, while listening
    Phrase, // the melody-less copy, from the computer's turn on
};

// The two module players of a track as the melody game uses them: the full
// song, whose watched channel logs the melody, and its melody-less copy, which
// sounds one note at a time. It finds both in their sound slots and takes the
// sound system's lock around every change, so the game never reaches into a
// player. An empty slot makes every call harmless.
class TTrackPlayers {
public:
    // The players of a track (one of TrackCount) in a sound system (may be null).
    TTrackPlayers(TVelaSoundSystem* Sound, int32_t Track);

    // The full song's player, or null for an empty slot.
    TVelaXM* Song() const;
    // The melody-less copy's player, or null for an empty slot.
    TVelaXM* Phrase() const;

    // Rewinds the full song without letting it sound.
    void RewindSong();
    // Follows the notes of one channel of the full song (-1 for all).
    void WatchSongChannel(int32_t Channel);
    // Lets the full song end at its end instead of wrapping.
    void StopSongLooping();
    // Replaces the logged melody with these 0-based notes, each held for the
    // same rows, and logs no more.
    void ReplaceMelody(std::span<const int32_t> Notes, int32_t Rows);
    // Notes in the logged melody; 0 without a song.
    int32_t MelodyLength() const;
    // The 0-based note at a place of the logged melody; 0 outside it.
    int32_t MelodyNote(int32_t Index) const;
    // Whether the full song has yet to end and fall silent (false without one).
    bool SongSounding() const;

    // Writes the 0-based note and its key-off into the copy's first pattern and
    // starts it at the tempo the full song has reached.
    void SoundNote(int32_t Value);
    // Empties the note and key-off cells again.
    void ClearCells();
    // The copy's song position, 256 rows to an order; far past any note
    // without a copy, so the game moves on silently.
    int32_t PhrasePosition() const;
    // Whether the copy sounds no voice (true without a copy).
    bool PhraseSilent() const;
    // Stops the copy where it is.
    void StopPhrase();
    // Stops both players.
    void StopBoth();

    // The note 1..96 sounding on the followed channel, or -1.
    int32_t SoundingNote(TMelodySource Source) const;
    // Whether a note started since the pad's light last took it.
    bool LightLatchSet(TMelodySource Source) const;
    // Marks the started note as taken by the pad's light.
    void ClearLightLatch(TMelodySource Source);
    // Whether a note started since the dancing figure last looked; clears the latch.
    bool TakeDanceLatch(TMelodySource Source);

    // The row of the note's key-off in the copy's first pattern.
    static constexpr int32_t NoteEndRow = 8;

private:
    TVelaXM* playerOf(TMelodySource Source) const;

    TVelaSoundSystem* sound_;
    int32_t track_;
};

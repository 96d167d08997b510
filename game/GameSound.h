#pragma once

#include <cstdint>
#include <span>

class TVelaSoundSystem;
class TVelaXM;

// The one door between the game and its sound: every start, stop, note and
// rewind the game asks for, and every status it reads, from the main thread
// and from the music step on the audio thread alike. Changes to a module
// player run under the sound system's lock (between two mixed blocks, so the
// audio thread never mixes a half-written pattern); reads take what the
// players publish, one block late at most, and latches are taken in one atomic
// step. A missing sound system or an empty slot makes every call harmless.
class TGameSound {
public:
    // The door to a sound system (may be null).
    explicit TGameSound(TVelaSoundSystem* Sound);

    // Music sources (MusicRequest numbers).
    // Starts a source from its beginning; a module is rewound first.
    void Start(int32_t Source);
    // Stops a source; a module is also rewound.
    void Stop(int32_t Source);
    // Whether a source is sounding.
    bool Playing(int32_t Source) const;

    // Starts a voice of a sample slot at unity volume, centred.
    void PlaySample(uint8_t Slot);
    // Whether a sample slot has a voice sounding.
    bool SamplePlaying(uint8_t Slot) const;
    // Moves the menu music's volume towards Volume (1 = unity), for its fades.
    void FadeMenuMusic(float Volume);
    // The player's group volumes (1 = unity): music for the modules and the
    // streamed music, effects for the samples; heard from the next block.
    void SetGroupVolumes(float Music, float Effects);
    // Stops (true) or resumes (false) every sound where it stands: the blocks
    // are silent and nothing advances.
    void SetPaused(bool Paused);

protected:
    TVelaSoundSystem* sound_;
};

// Which of a track's two players the pad follows.
enum class TMelodySource {
    Song,   // the full song, while listening
    Phrase, // the melody-less copy, from the computer's turn on
};

// The two module players of a track as the melody game uses them: the full
// song, whose watched channel logs the melody, and its melody-less copy, which
// sounds one note at a time.
class TTrackPlayers : public TGameSound {
public:
    // The players of a track (one of TrackCount) in a sound system (may be null).
    TTrackPlayers(TVelaSoundSystem* Sound, int32_t Track);

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
    // The 0-based note started since the pad's light last took it, or -1.
    int32_t LightLatch(TMelodySource Source) const;
    // Marks that started note as taken by the pad's light; a newer one stays.
    void ClearLightLatch(TMelodySource Source, int32_t Seen);
    // Whether a note started since the dancing figure last looked; takes the latch.
    bool TakeDanceLatch(TMelodySource Source);

    // The row of the note's key-off in the copy's first pattern.
    static constexpr int32_t NoteEndRow = 8;

private:
    const TVelaXM* song() const;
    const TVelaXM* phrase() const;
    const TVelaXM* playerOf(TMelodySource Source) const;
    uint8_t slotOf(TMelodySource Source) const;

    int32_t track_;
};

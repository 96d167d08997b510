#pragma once

#include "VelaBase/SharedWord.h"
#include "VelaXM/Interpolation.h"
#include "VelaXM/MixTables.h"
#include "VelaXM/Module.h"
#include "VelaXM/ZeroedPages.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// The module player: owns a module and renders it block by block into a
// 32-bit mix buffer, and records the notes that the watched channel starts so
// that the game can follow the melody.
//
// Threads: whoever renders (the audio thread) and whoever changes the player
// hold the sound system's lock; the status words below are published for
// readers that do not, and are the only part of the player such a reader may
// touch.
class TVelaXM final : private TVelaXMModuleListener {
public:
    static constexpr int32_t kNoteLogSize = 65536; // entries the note log holds

    // Builds a player: rate 0 means 44100; Stereo picks 2 output channels.
    explicit TVelaXM(int32_t SampleRate = 44100, bool Stereo = true, int32_t BufferFrames = 1024);
    ~TVelaXM();
    TVelaXM(const TVelaXM&) = delete;
    TVelaXM& operator=(const TVelaXM&) = delete;

    // Rewinds the module and starts rendering; returns whether the module is loaded.
    bool Play();
    // Stops rendering; the song position stays where it is.
    void Stop();
    // Rewinds the module to its first row and stops rendering.
    void Rewind();
    // Renders one block of BufferFrames frames into Mix (silence when not playing).
    void Render();
    // Adds the rendered block to Target (BufferFrames x OutputChannels values) at a gain of Volume / 4096.
    void MixInto(int32_t* Target, int32_t Volume) const;
    // Converts the rendered block to 16-bit values (clipped when ClipOutput).
    void ConvertOutput(int16_t* Target) const;

    // Replaces the note log with these 0-based notes, each held for Rows rows,
    // and stops logging.
    void ReplaceNoteLog(std::span<const int32_t> Notes, int32_t Rows);
    // The 0-based note of a logged entry; 0 outside the log. Any thread, for
    // entries below NoteLogCount().
    int32_t LoggedNote(int32_t Index) const;
    // The rows a logged entry was held; 0 outside the log.
    int32_t LoggedRows(int32_t Index) const;
    // Whether the note log is still recording (it stops when the song wraps).
    bool NoteLogRecording() const { return noteLogEnabled_; }

    // Published status, for any thread.
    // Rendering is on.
    bool Playing() const { return playing_.Load(); }
    // Voices sounding in the last tick slice (plus one for a click-removal tail).
    int32_t ActiveVoices() const { return activeVoices_.Load(); }
    // The note 1..96 sounding on the watched channel in the last block, or -1.
    int32_t WatchedNote() const { return watchedNote_.Load(); }
    // Entries in the note log.
    int32_t NoteLogCount() const { return noteLogCount_.Load(); }
    // The song position after the last tick: order x 256 + the row read next.
    int32_t SongPosition() const { return songPosition_.Load(); }
    // Whether the song has ended (the order list ran out, or the repeats did).
    bool SongEnded() const { return songEnded_.Load(); }
    // The 0-based note last started on the watched channel, or -1: latch A, for one reader.
    int32_t TriggerLatchA() const { return latchA_.Load(); }
    // Clears latch A if it still holds Seen; a note started since is kept.
    void ClearTriggerLatchA(int32_t Seen) { latchA_.ReplaceIf(Seen, -1); }
    // Takes latch B (a second reader's): its note, or -1, leaving -1.
    int32_t TakeTriggerLatchB() { return latchB_.Exchange(-1); }

    std::unique_ptr<TVelaXMModule> Module; // the module, created and owned by the player
    const int32_t SampleRate;              // output rate
    const int32_t OutputChannels;          // 1 or 2
    const int32_t BufferFrames;            // frames per rendered block
    std::vector<int32_t> Mix;              // the rendered block, 16-bit scale with 12 more fraction bits
    bool LoopSong = true;                  // the song wraps to its restart position instead of ending
    int32_t EndAfterRepeats = 0;           // n > 0: the song ends when it comes back to a played row the n-th time
    velaxm::Interpolation Interpolation = velaxm::kFIR; // how voices are resampled
    bool ClipOutput = true;                             // ConvertOutput clips instead of wrapping
    int32_t WatchedChannel = -1;                        // channel whose notes are followed; -1 for all
    int32_t SamplesPerTick = 882;                       // current tick length in frames
    int32_t TickRemaining = 0;                          // frames left in the current tick
    TVelaXMMixTables Tables;                            // the shared interpolation and filter tables for this rate

    // Whether a channel of the pattern bank is followed.
    bool Watches(int32_t Channel) const override { return WatchedChannel == -1 || WatchedChannel == Channel; }

private:
    // What the module reports: LoopSong and EndAfterRepeats decide the song's
    // end; a started note on the watched channel is logged and latched, each
    // new row holds the newest logged note one row longer, a key-off ends the
    // watched note, and a wrap ends the log.
    bool LoopsSong() const override { return LoopSong; }
    int32_t RepeatLimit() const override { return EndAfterRepeats; }
    void NoteStarted(int32_t Channel, int32_t Note) override;
    void KeyOff(int32_t Channel) override;
    void RowTriggered(int32_t Channel) override;
    void SongWrapped() override { noteLogEnabled_ = false; }
    void mixSlice(int32_t offset, int32_t frames);
    // Publishes where the sequencer stands, after each tick and each rewind.
    void publishPosition();

    // The note log: per entry the 0-based note and the rows it was held.
    TZeroedPages noteLogPages_{2 * kNoteLogSize * sizeof(int32_t)};
    std::span<int32_t> loggedNotes_;
    std::span<int32_t> loggedRows_;
    int32_t noteLogLast_ = 0; // index of the newest entry
    bool noteLogEnabled_ = true;
    int32_t soundingNote_ = -1; // the watched note as this block's slices find it

    TSharedWord<bool> playing_{false};
    TSharedWord<int32_t> activeVoices_{0};
    TSharedWord<int32_t> watchedNote_{-1};
    TSharedWord<int32_t> noteLogCount_{0};
    TSharedWord<int32_t> songPosition_{0};
    TSharedWord<bool> songEnded_{false};
    TSharedWord<int32_t> latchA_{-1};
    TSharedWord<int32_t> latchB_{-1};
};

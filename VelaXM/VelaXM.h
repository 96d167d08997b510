#pragma once

#include "VelaXM/CriticalSection.h"
#include "VelaXM/MixTables.h"
#include "VelaXM/Module.h"
#include "VelaXM/SharedWord.h"
#include "VelaXM/ZeroedPages.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// The module player: owns a module and renders it block by block into a
// 32-bit mix buffer (memory-buffer mode), and records the notes that the
// watched channel starts so that the game can follow the melody.
class TVelaXM final : private TVelaXMModuleListener {
public:
    static constexpr int32_t kNoteLogSize = 65536; // entries per note-log array
    static constexpr int32_t kLogNote = 0;         // NoteLog row: note - 1
    static constexpr int32_t kLogTime = 1;         // NoteLog row: output-time counter (0 here)
    static constexpr int32_t kLogRows = 2;         // NoteLog row: rows held

    // Builds a player: rate 0 means 44100; Bits other than 8 become 16; Stereo picks 2 output channels.
    // QueueDepth, ThreadSleep and BufferCount belong to the device mode, which this player leaves out.
    explicit TVelaXM(int32_t SampleRate = 44100, int32_t QueueDepth = 0, int32_t Bits = 16, int32_t ThreadSleep = 0,
                     bool Stereo = true, int32_t BufferCount = 1, int32_t BufferFrames = 1024);
    ~TVelaXM();
    TVelaXM(const TVelaXM&) = delete;
    TVelaXM& operator=(const TVelaXM&) = delete;

    // Rewinds the module and starts rendering; returns whether the module is loaded.
    bool Play();
    // Stops rendering; the song position stays where it is.
    void Stop();
    // Renders one block of BufferFrames frames into Mix (silence when not playing).
    void Render();
    // Adds the rendered block to Target (BufferFrames x OutputChannels values) at a gain of Volume / 4096.
    void MixInto(int32_t* Target, int32_t Volume) const;
    // Converts the rendered block to 16-bit values (clipped when ClipOutput).
    void ConvertOutput(int16_t* Target) const;

    std::unique_ptr<TVelaXMModule> Module; // the module, created and owned by the player
    int32_t SampleRate = 44100;            // output rate
    int32_t Bits = 16;                     // 8 or 16 (device mode only)
    int32_t OutputChannels = 2;            // 1 or 2
    int32_t BufferFrames = 1024;           // frames per rendered block
    std::vector<int32_t> Mix;              // the rendered block, 16-bit scale with 12 more fraction bits
    bool Playing = false;                  // rendering is on
    bool LoopSong = true;                  // the song wraps to its restart position instead of ending
    int32_t EndAfterRepeats = 0;           // n > 0: the song ends when it comes back to a played row the n-th time
    uint8_t Interpolation = 3;             // 0 none, 1 linear, 2 cubic spline, 3 windowed FIR
    bool ClipOutput = true;                // ConvertOutput clips instead of wrapping
    int32_t SamplesPerTick = 882;          // current tick length in frames
    int32_t TickRemaining = 0;             // frames left in the current tick
    TSharedWord<int32_t> ActiveVoices = 0; // voices sounding in the last tick slice (plus one for a click-removal tail)
    int32_t WatchedChannel = -1;           // channel whose notes are followed; -1 for all
    TSharedWord<int32_t> WatchedNote = -1; // note 1..96 sounding on the watched channel in the last block, or -1
    TSharedWord<int32_t> TriggerLatchA =
        -1; // note - 1 of the last note started on the watched channel; readers reset to -1
    TSharedWord<int32_t> TriggerLatchB = -1;   // a second latch for a second reader
    std::array<std::span<int32_t>, 3> NoteLog; // [kLogNote / kLogTime / kLogRows][entry], kNoteLogSize each
    TSharedWord<int32_t> NoteLogCount = 0;     // entries recorded
    int32_t NoteLogLast = 0;                   // index of the newest entry
    bool NoteLogEnabled = true;                // recording; cleared when the song wraps
    TVelaCriticalSection Lock;                 // the player's own lock (device mode; kept for callers that use it)
    TVelaXMMixTables Tables;                   // the shared interpolation and filter tables for this rate

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
    void SongWrapped() override { NoteLogEnabled = false; }
    void mixSlice(int32_t offset, int32_t frames);

    TZeroedPages NoteLogPages{3 * kNoteLogSize * sizeof(int32_t)}; // holds the three note-log arrays
};

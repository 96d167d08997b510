#pragma once

#include "VelaXM/Channel.h"
#include "VelaXM/Instrument.h"
#include "VelaXM/ModuleListener.h"
#include "VelaXM/Pattern.h"

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class TVelaXMByteReader;
struct TVelaXMMixTables;

// A loaded XM (or MOD) module with its playing state: order list, patterns,
// instruments, the three channel banks and the sequencer position.
class TVelaXMModule {
public:
    static constexpr int32_t kMaxChannels = 256;     // channels per bank
    static constexpr int32_t kMidiConfigSize = 4896; // 153 macros x 32 bytes

    // A module for output at SampleRate (0 means 44100), told about its notes by
    // Listener and filtering with Tables (both may be none: no note log, songs
    // loop, no filter).
    explicit TVelaXMModule(int32_t SampleRate = 44100, TVelaXMModuleListener* Listener = nullptr,
                           const TVelaXMMixTables* Tables = nullptr);
    ~TVelaXMModule();
    TVelaXMModule(const TVelaXMModule&) = delete;
    TVelaXMModule& operator=(const TVelaXMModule&) = delete;

    // Clears, then parses an XM image (or a MOD image when it is not XM); false leaves the module cleared.
    bool Load(const void* Data, uint32_t Size);
    // Parses a MOD image; false leaves the module cleared.
    bool LoadMOD(const void* Data, uint32_t Size);
    // Frees instruments and pattern cells, resets all channels and settings to defaults.
    void Clear();
    // Writes the default MIDI macro table (filter cutoff macros).
    void SetDefaultMIDIConfig();
    // Rewinds the song: channels fully reset, speed and BPM from the defaults, order 0 row 0.
    void Restart();
    // Runs one sequencer tick: row or tick effects, then the per-tick channel update.
    void ProcessTick();
    // Output samples of one tick at the current BPM (BPM 0 is taken as 125).
    int32_t ComputeSamplesPerTick();

    // Period of 0-based note n (clamped to 1..132) at finetune f.
    int32_t GetPeriod(int32_t Note, int32_t Finetune) const;
    // First note 1..119 whose period is positive and at most Period; 120 if none.
    int32_t GetNoteFromPeriod(int32_t Period, int32_t Finetune) const;
    // Playback frequency in Hz of a period.
    int32_t GetFrequency(int32_t Period) const;

    // Lets rows of an order be played again without counting as a repeat (a pattern loop repeats them).
    void ForgetPlayedRows(int32_t Order, int32_t FromRow, int32_t ToRow);

    // The bank holding pattern channels, background voices or the reserve.
    std::array<TVelaXMChannel, kMaxChannels>& Bank(TVelaXMBank bank);

    std::string Name;                                                // song name
    std::string MessageText;                                         // song message from the "text" chunk
    std::array<std::unique_ptr<TVelaXMInstrument>, 256> Instruments; // index 1..255; 0 is never used
    std::array<TVelaXMChannel, kMaxChannels> Channels;               // pattern channels
    std::array<TVelaXMChannel, kMaxChannels> BackgroundChannels;     // voices handed over by new notes
    std::array<TVelaXMChannel, kMaxChannels> ReserveChannels;        // ticked and mixed, never started here
    std::array<TVelaXMPattern, 256> Patterns;                        // always present; unloaded ones have 0 rows
    std::array<uint8_t, 256> Orders{};                               // pattern number per order position
    int32_t SongLength = 0;                                          // order positions played
    int32_t RestartPosition = 0;                                     // order position after the last one
    bool LinearFrequencies = true;                                   // linear (true) or Amiga periods
    bool ExtendedFilterRange = false;                                // wider filter cutoff range
    bool SlideMemory = true;                                         // slides with 0 reuse the last (not MOD)
    bool SignedFinetuneDigit = false;                                // E5x reads x as -8..7 (MOD), else x - 8
    bool ModPeriodLimits = false;                                    // slides stop at B-3 and C-1 (MOD)
    bool RowTickHoldsModulation = true;                              // vibrato/tremolo kept on a row's first tick (not MOD)
    int32_t NumChannels = 0;                                         // channels per pattern row
    uint8_t DefaultSpeed = 6;                                        // ticks per row at start
    uint8_t DefaultBPM = 125;                                        // beats per minute at start
    int32_t GlobalVolume = 64;                                       // 0..64
    bool Loaded = false;                                             // a load succeeded
    std::array<uint8_t, kMidiConfigSize> MIDIConfig{};               // 9 global, 16 parametered, 128 fixed macros
    bool EmbeddedMIDIConfig = false;                                 // MIDIConfig came from the file

    // Playing state.
    uint8_t Speed = 6;                     // ticks per row
    uint8_t BPM = 125;                     // beats per minute
    int32_t Tick = 0;                      // tick within the row, 0 on its first tick
    int32_t PatternDelay = 0;              // extra row repetitions (EEx)
    int32_t CurrentOrder = 0;              // order position being played
    int32_t CurrentRow = 0;                // row to be read next
    int32_t CurrentPattern = 0;            // pattern of CurrentOrder
    int32_t PlayedOrder = 0;               // order position of the row whose cells the channels hold
    int32_t PlayedRow = -1;                // that row (-1 before the first row)
    int32_t JumpOrder = 0;                 // pending jump target
    int32_t JumpRow = 0;
    bool JumpPending = false;            // B, D or E6x asked for a jump on this row
    bool SongEnded = false;              // the order list ran out and looping is off, or the repeats ran out
    int32_t Repeats = 0;                 // times the song came back to a row it had played, or wrapped
    int32_t MixAmplification = 128;      // 0..256
    int32_t SamplesPerTick = 882;        // current tick length
    int32_t SampleRate = 44100;          // output rate
    int32_t PatternRampLength = 128;     // volume ramp of pattern (and reserve) voices, samples
    int32_t BackgroundRampLength = 128;  // volume ramp of background voices, samples
    int32_t OutputChannels = 2;          // 1 mono, 2 stereo
    int32_t ClickRemovalL = 0;           // decaying tail of cut-off voices, mix units
    int32_t ClickRemovalR = 0;
    TVelaXMModuleListener* Listener = nullptr; // the player: song end and note log
    const TVelaXMMixTables* Tables = nullptr;  // the filter coefficients

private:
    friend class TVelaXMLoader;

    void initChannels();
    // Starts a new row: finds the next playable one and runs the row effects of every pattern channel.
    void startRow();
    // Moves CurrentOrder/CurrentRow to a row that exists, wrapping or ending the song; false when it ended.
    bool findNextRow();
    // Counts one repeat of the song and starts a new pass; true (with SongEnded) when the player wants no more.
    bool countRepeat();
    // Whether the player's repeat limit has been reached.
    bool repeatsDone() const;
    // Whether the row at CurrentOrder/CurrentRow was played in this pass; marks it played.
    bool markPlayed();
    // Whether a row was played in this pass, without marking it.
    bool rowPlayed(int32_t Order, int32_t Row) const;

    static constexpr int32_t kTrackedRows = 256; // rows per order whose visits are remembered
    static constexpr size_t kUntracked = SIZE_MAX;
    // A row's bit in playedRows_, or kUntracked outside what is remembered.
    static size_t playedBit(int32_t Order, int32_t Row);
    std::bitset<256 * kTrackedRows> playedRows_; // rows played in this pass, by order and row
};

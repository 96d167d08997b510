#pragma once

#include "VelaXM/Instrument.h"
#include "VelaXM/Pattern.h"

#include <cstdint>
#include <string>

class TVelaXMModule;

// Walks one envelope tick by tick: the current point, the value in 16.16 and
// its slope towards the next point.
class TVelaXMEnvelopeHandler {
public:
    // Jumps to tick p, honouring the loop, and sets value and slope there.
    void SetPosition(int32_t p);
    // Value for this tick (0..255), then advances unless held on the sustain point.
    int32_t Step();

    const TVelaXMEnvelope* Envelope = nullptr; // the instrument's envelope, or none
    bool KeyOn = true;                         // the note is held
    int32_t Position = 0;                      // ticks
    int32_t Point = 0;                         // current point index
    int32_t NextPoint = 0;                     // next point index
    int32_t Value = 0;                         // 16.16
    int32_t Delta = 0;                         // 16.16 per tick
};

// Which of the module's three channel banks a channel belongs to.
enum class TVelaXMBank : uint8_t { Pattern, Reserve, Background };

// One voice and the effect state of one pattern column.
class TVelaXMChannel {
public:
    // Voice reset, then vibrato and tremolo phases, instrument, sample, panning, gains, notes, cell and filter back to rest.
    void FullReset();
    // Switches the voice off and puts envelopes, auto-vibrato, tremor and fade-out back to start.
    void VoiceReset();
    // Releases the note: envelopes leave sustain and the fade-out starts.
    void KeyOff();

    std::string Name;                        // from "CNAM"
    bool VoiceOn = false;                    // the voice is sounding
    bool EnvelopeSilenced = false;           // switched off by its volume envelope, which L can move back
    TVelaXMModule* Module = nullptr;         // owner
    int32_t Index = 0;                       // 0..255 within the bank
    int32_t ChannelPlugin = 0;               // from "CHFX", unused
    uint8_t PluginSlot = 0;                  // always 0 here
    TVelaXMBank Bank = TVelaXMBank::Pattern; // the bank holding this channel (kept across hand-overs)
    bool Muted = false;                      // a listener silenced it; kept by resets, handed over with the voice

    const TVelaXMSample* Sample = nullptr;         // sample being played
    const TVelaXMInstrument* Instrument = nullptr; // instrument of the last note

    uint64_t Step = 0;      // 32.32 source frames per output frame
    int64_t SignedStep = 0; // -Step while playing backwards
    int64_t Position = 0;   // 32.32 frames
    bool Backwards = false; // ping-pong or reverse play direction

    int32_t FinalVolume = 0;    // 0..4096 at full settings
    int32_t FinalPanning = 128; // 0..255
    int32_t Frequency = 0;      // Hz
    int32_t EnvVolume = 64;     // 0..64
    int32_t EnvPanning = 32;    // 0..64, 32 centre

    TVelaXMEnvelopeHandler VolumeEnvelopeHandler;  // walks the volume envelope
    TVelaXMEnvelopeHandler PanningEnvelopeHandler; // walks the panning envelope

    TVelaXMPatternNote Cell; // the cell being played
    int32_t Tick = 0;        // tick within the row

    int32_t VibratoWaveform = 0;         // 0..7
    int32_t VibratoSpeed = 0;            // position step per tick
    int32_t VibratoDepth = 0;            // 0..15
    int32_t VibratoPosition = 0;         // 0..63
    int32_t TremoloSpeed = 0;            // position step per tick
    int32_t TremoloDepth = 0;            // 0..15
    int32_t TremoloPosition = 0;         // 0..63
    int32_t TremorCounter = 0;           // ticks into the on/off cycle
    bool TremorSilent = false;           // the tremor's off phase holds the voice silent
    int32_t TremorOnLength = 0;          // ticks on
    int32_t TremorOffLength = 0;         // ticks off
    int32_t AutoVibratoSweepCounter = 0; // ticks of auto-vibrato sweep done
    int32_t AutoVibratoPosition = 0;     // 0..255
    int32_t RetriggerVolumeChange = 0;   // Rxy x
    int32_t RetriggerInterval = 0;       // Rxy y
    int32_t Period = 0;                  // base period

    int32_t ArpeggioOffsets[3] = {};           // period offsets for ticks mod 3
    int32_t PeriodOffset = 0;                  // vibrato/arpeggio offset, rebuilt every tick
    int32_t TargetPeriod = 0;                  // period of the last note, tone-portamento target
    int32_t Volume = 0;                        // 0..64
    int32_t DefaultPanning = 128;              // panning taken at a full reset
    int32_t Panning = 128;                     // 0..255
    int32_t FadeoutVolume = 65536;             // 0..65536
    int32_t VolumeSlideMemory = 0;             // Axy, 5xy, 6xy
    int32_t GlobalVolumeSlideMemory = 0;       // Hxy
    int32_t TonePortamentoMemory = 0;          // 3xx and volume column Fx
    int32_t PortamentoUpMemory = 0;            // 1xx
    int32_t PortamentoDownMemory = 0;          // 2xx
    int32_t FinePortamentoUpMemory = 0;        // E1x
    int32_t FinePortamentoDownMemory = 0;      // E2x
    int32_t ExtraFinePortamentoUpMemory = 0;   // X1x
    int32_t ExtraFinePortamentoDownMemory = 0; // X2x
    int32_t FineVolumeUpMemory = 0;            // EAx
    int32_t FineVolumeDownMemory = 0;          // EBx
    int32_t PanningSlideMemory = 0;            // Pxy
    int32_t VolumeOffset = 0;                  // tremolo offset, rebuilt every tick

    bool Glissando = false;         // tone portamento moves in semitones
    int32_t TremoloWaveform = 0;    // 0..7
    int32_t Finetune = 0;           // finetune of the playing note
    bool Released = false;          // key off happened
    int32_t PatternLoopRow = 0;     // E60 row
    int32_t PatternLoopCount = 0;   // loops left
    bool PatternLoopActive = false; // inside a counted loop

    int32_t LastOutputL = 0; // last value added to the mix, for click removal
    int32_t LastOutputR = 0;
    int32_t VolumeL = 0; // target gains 0..4096
    int32_t VolumeR = 0;
    int32_t CurrentGainL = 0; // 20.12
    int32_t CurrentGainR = 0;
    int32_t TargetGainL = 0; // 20.12
    int32_t TargetGainR = 0;
    int32_t RampDeltaL = 0; // per output frame
    int32_t RampDeltaR = 0;
    int32_t RampRemaining = 0; // frames

    int32_t ReportedNote = 0; // raw note 1..96 last started (watched channel)
    int32_t Note = 0;         // 0-based note after the relative note

    int32_t Cutoff = 127;      // 0..127
    int32_t Resonance = 0;     // 0..127
    int32_t ActiveMacro = 0;   // parametered macro chosen by EFx
    bool FilterActive = false; // the resonant filter runs
    int32_t FilterMode = 0;    // 0 lowpass, 1 highpass
    int32_t FilterA0 = 0;      // coefficients, scale 4096
    int32_t FilterB0 = 0;
    int32_t FilterB1 = 0;
    int32_t FilterY1L = 0; // history per output side
    int32_t FilterY2L = 0;
    int32_t FilterY1R = 0;
    int32_t FilterY2R = 0;
    double SmoothMacroStart = 0; // value at the start of a smooth macro
    double SmoothMacroStep = 0;  // change per tick

    bool Surround = false;          // right side inverted
    bool FilterResetOnNote = false; // a new note switches the filter off
};

#pragma once

// The sequencer's per-channel work, split by family across several files.
#include "VelaXM/Module.h"

namespace velaxm {

// Effect-column codes as stored in a cell (letters of XM trackers counted on from 9).
enum EffectCode : int32_t {
    kArpeggio = 0,
    kPortamentoUp = 1,
    kPortamentoDown = 2,
    kTonePortamento = 3,
    kVibrato = 4,
    kTonePortamentoVolumeSlide = 5,
    kVibratoVolumeSlide = 6,
    kTremolo = 7,
    kSetPanning = 8,
    kSampleOffset = 9,
    kVolumeSlide = 10,       // A
    kPositionJump = 11,      // B
    kSetVolume = 12,         // C
    kPatternBreak = 13,      // D
    kExtended = 14,          // E, sub-command in the high nibble
    kSetSpeed = 15,          // F
    kSetGlobalVolume = 16,   // G
    kGlobalVolumeSlide = 17, // H
    kKeyOffEffect = 20,      // K
    kEnvelopePosition = 21,  // L
    kPanningSlide = 25,      // P
    kFilterResonance = 26,   // Q
    kMultiRetrigger = 27,    // R
    kTremor = 29,            // T
    kExtraFine = 33,         // X, sub-command in the whole parameter
    kMidiMacro = 35,         // Z
    kSmoothMidiMacro = 37,
};

// Sub-commands of the extended effect (Exy), by x.
enum ExtendedCode : int32_t {
    kFinePortamentoUp = 1,
    kFinePortamentoDown = 2,
    kGlissandoControl = 3,
    kVibratoWaveform = 4,
    kSetFinetune = 5,
    kPatternLoop = 6,
    kTremoloWaveform = 7,
    kRetrigger = 9,
    kFineVolumeUp = 10,
    kFineVolumeDown = 11,
    kNoteCut = 12,
    kNoteDelay = 13,
    kPatternDelay = 14,
    kSelectMacro = 15,
};

// Sub-commands of the extra-fine / sound-control effect (Xxy), by x.
enum ExtraFineCode : int32_t {
    kExtraFinePortamentoUp = 1,
    kExtraFinePortamentoDown = 2,
    kSoundControl = 9,
};

// Sound-control values of X9y, by y.
enum SoundControlCode : int32_t {
    kSurroundOn = 0,
    kSurroundOff = 1,
    kFilterResetOff = 12,
    kFilterResetOn = 13,
    kPlayForwards = 14,
    kPlayBackwards = 15,
};

// What a volume-column byte asks for; its low nibble is the amount.
enum class VolumeCommand {
    None,
    SetVolume, // 0x10..0x50: the whole byte less 0x10
    SlideDown,
    SlideUp,
    FineDown,
    FineUp,
    VibratoSpeed,
    VibratoDepth,
    SetPanning,
    PanningSlideLeft,
    PanningSlideRight,
    TonePortamento,
};

// The command of a volume-column byte.
VolumeCommand volumeCommand(int32_t volume);
// The volume column on a row's first tick (its settings wait for the trigger tick).
void rowVolumeColumn(TVelaXMChannel& ch, bool onTriggerTick);
// The volume column on a later tick (its slides wait until the note has been triggered).
void tickVolumeColumn(const TVelaXMModule& module, TVelaXMChannel& ch, bool afterTrigger);

// First tick of a row (or the delayed tick of EDx): note trigger, volume column, effect column.
void runRowEffects(TVelaXMModule& module, TVelaXMChannel& ch);
// Every later tick of a row.
void runTickEffects(TVelaXMModule& module, TVelaXMChannel& ch);
// Starts (or re-starts) the note of the channel's cell; background and reserve channels ignore it.
void triggerNote(TVelaXMModule& module, TVelaXMChannel& ch);
// Restarts the playing note for E9x or Rxy, also on a row without a note; the
// instrument number was taken on the row's first tick and is not taken again.
void retriggerNote(TVelaXMModule& module, TVelaXMChannel& ch);
// Envelopes, fade-out, auto-vibrato, final volume, panning, gains, ramp and step for this tick.
void updateChannel(TVelaXMModule& module, TVelaXMChannel& ch);

// Which family of effects handles a cell's effect column.
enum class EffectFamily { None, Pitch, Volume, Flow, Note, Sound };
EffectFamily effectFamily(int32_t effect, int32_t parameter);

// Each family's work on the first tick of a row and on the later ticks.
void pitchRowEffect(TVelaXMModule& module, TVelaXMChannel& ch);
void pitchTickEffect(TVelaXMModule& module, TVelaXMChannel& ch);
void volumeRowEffect(TVelaXMModule& module, TVelaXMChannel& ch);
void volumeTickEffect(TVelaXMModule& module, TVelaXMChannel& ch);
void flowRowEffect(TVelaXMModule& module, TVelaXMChannel& ch);
void noteRowEffect(TVelaXMModule& module, TVelaXMChannel& ch);
void noteTickEffect(TVelaXMModule& module, TVelaXMChannel& ch);
void soundRowEffect(TVelaXMModule& module, TVelaXMChannel& ch);
void soundTickEffect(TVelaXMModule& module, TVelaXMChannel& ch);

// Pitch family.
void computeArpeggio(const TVelaXMModule& module, TVelaXMChannel& ch, int32_t parameter);
// A row's first tick holds the vibrato (and tremolo) where the last tick left it (MOD
// plays the plain note there); the later ticks apply the wave and move on, so a row at
// speed 1 never modulates.
void vibratoHold(const TVelaXMModule& module, TVelaXMChannel& ch);
void vibratoStep(TVelaXMChannel& ch);
void tonePortamentoStep(const TVelaXMModule& module, TVelaXMChannel& ch);
// E5x: the note started on this row takes the finetune (in a sample's units).
void finetuneChange(const TVelaXMModule& module, TVelaXMChannel& ch, int32_t finetune);

// Volume family.
void volumeSlide(TVelaXMChannel& ch);
void tremoloHold(const TVelaXMModule& module, TVelaXMChannel& ch);
void tremoloStep(TVelaXMChannel& ch);
void tremorStep(TVelaXMChannel& ch);
void retriggerVolumeChange(TVelaXMChannel& ch);

// Pattern flow family.
void positionJump(TVelaXMModule& module, int32_t order);
void patternBreak(TVelaXMModule& module, int32_t row);
void patternLoop(TVelaXMModule& module, TVelaXMChannel& ch, int32_t count);

// MIDI macros and the resonant filter.
void runMacro(TVelaXMModule& module, TVelaXMChannel& ch, int32_t parameter, bool smooth);
void setupFilter(const TVelaXMModule& module, TVelaXMChannel& ch);

// High and low nibble of an effect parameter.
inline int32_t highNibble(int32_t p) { return (p >> 4) & 15; }
inline int32_t lowNibble(int32_t p) { return p & 15; }

// The sub-command of an extended effect; parameters above a byte carry none.
inline int32_t extendedCode(int32_t p) { return p >= 0 && p <= 255 ? highNibble(p) : -1; }
// The sub-command of an extra-fine effect, the same way.
inline int32_t extraFineCode(int32_t p) { return extendedCode(p); }

// Whether a slide's parameter replaces its memory: any non-zero one, and 0 too where slides have no memory.
inline bool setsSlideMemory(const TVelaXMModule& module, int32_t p) { return p != 0 || !module.SlideMemory; }

// A panning slide memory holds right minus left: Pxy moves by x - y per tick.
inline int32_t slideAmount(int32_t p) { return highNibble(p) - lowNibble(p); }

// A volume slide (Axy, 5xy, 6xy, Hxy) raises by x per tick, or lowers by y when x is 0:
// with both digits set the up digit wins, as in the trackers the files were written
// in, and songs rely on it (A11 after a volume of 1 fades a voice in).
inline int32_t volumeSlideAmount(int32_t p) { return highNibble(p) != 0 ? highNibble(p) : -lowNibble(p); }

// The tick of a cell's EDx note delay, 0 without one.
inline int32_t noteDelay(const TVelaXMPatternNote& cell)
{
    return cell.Effect == kExtended && highNibble(cell.EffectParameter) == kNoteDelay ? lowNibble(cell.EffectParameter)
                                                                                      : 0;
}

// Whether a cell slides to its note instead of restarting it (3xx, 5xy or volume column Fx).
inline bool isTonePortamento(const TVelaXMPatternNote& cell)
{
    return cell.Effect == kTonePortamento || cell.Effect == kTonePortamentoVolumeSlide ||
           volumeCommand(cell.Volume) == VolumeCommand::TonePortamento;
}

} // namespace velaxm

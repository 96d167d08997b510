#pragma once

// The sequencer's per-channel work, split by family across several files.
#include "VelaXM/Module.h"

namespace velaxm {

// First tick of a row (or the delayed tick of EDx): note trigger, volume column, effect column.
void runRowEffects(TVelaXMModule& module, TVelaXMChannel& ch);
// Every later tick of a row.
void runTickEffects(TVelaXMModule& module, TVelaXMChannel& ch);
// Starts (or re-starts) the note of the channel's cell; background and reserve channels ignore it.
void triggerNote(TVelaXMModule& module, TVelaXMChannel& ch);
// Envelopes, fade-out, auto-vibrato, final volume, panning, gains, ramp and step for this tick.
void updateChannel(TVelaXMModule& module, TVelaXMChannel& ch);

// Pitch family.
void computeArpeggio(const TVelaXMModule& module, TVelaXMChannel& ch, int32_t parameter);
void vibratoStep(TVelaXMChannel& ch);
void tonePortamentoStep(const TVelaXMModule& module, TVelaXMChannel& ch);
void finetuneChange(const TVelaXMModule& module, TVelaXMChannel& ch, int32_t finetune);

// Volume family.
void volumeSlide(TVelaXMChannel& ch);
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

constexpr int32_t kExtended = 14;

// The tick of a cell's EDx note delay, 0 without one.
inline int32_t noteDelay(const TVelaXMPatternNote& cell)
{
    return cell.Effect == kExtended && highNibble(cell.EffectParameter) == 13 ? lowNibble(cell.EffectParameter) : 0;
}

} // namespace velaxm

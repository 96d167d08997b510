#pragma once

#include "VelaXM/MixKernels.h"
#include "VelaXM/Module.h"

namespace velaxm {

// Where and how a tick slice is mixed.
struct MixTarget {
    int32_t* mix = nullptr; // the player's mix buffer
    int32_t outputChannels = 2;
    int32_t interpolation = kFIR;
    const TVelaXMMixTables* tables = nullptr;
};

// Mixes up to frames frames of a voice at frame offset; ends the voice at its sample end.
void mixVoice(TVelaXMModule& module, TVelaXMChannel& ch, const MixTarget& target, int32_t offset, int32_t frames);
// Adds the decaying click-removal tail; true when it was not yet silent.
bool mixClickRemoval(TVelaXMModule& module, const MixTarget& target, int32_t offset, int32_t frames);
// The routine for the voice's current state.
MixRoutine selectRoutine(const TVelaXMChannel& ch, int32_t outputChannels, int32_t interpolation);
// Applies loop and end events, then returns how many frames (at most limit) can
// be produced before the next one; 0 when the voice has ended.
int32_t prepareRun(TVelaXMChannel& ch, int32_t limit);
// Hands a cut-off voice's last output to the click-removal tail and zeroes it.
void releaseToClickRemoval(TVelaXMModule& module, TVelaXMChannel& ch);

} // namespace velaxm

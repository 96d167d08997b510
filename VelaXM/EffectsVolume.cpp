#include "VelaXM/Effects.h"

#include <algorithm>

namespace velaxm {

namespace {

// How Rxy changes the volume after each retrigger, by x: volume x mul / div + add.
struct RetriggerChange {
    int32_t mul;
    int32_t div;
    int32_t add;
};

constexpr RetriggerChange kRetriggerChanges[16] = {
    {1, 1, 0}, {1, 1, -1}, {1, 1, -2}, {1, 1, -4}, {1, 1, -8}, {1, 1, -16}, {2, 3, 0}, {1, 2, 0},
    {1, 1, 0}, {1, 1, 1},  {1, 1, 2},  {1, 1, 4},  {1, 1, 8},  {1, 1, 16},  {3, 2, 0}, {2, 1, 0},
};

void extendedVolumeRowEffect(const TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t y = lowNibble(ch.Cell.EffectParameter);
    switch (extendedCode(ch.Cell.EffectParameter)) {
    case kTremoloWaveform:
        ch.TremoloWaveform = y & 7;
        break;
    case kFineVolumeUp:
        if (setsSlideMemory(module, y))
            ch.FineVolumeUpMemory = y;
        ch.Volume += ch.FineVolumeUpMemory;
        break;
    case kFineVolumeDown:
        if (setsSlideMemory(module, y))
            ch.FineVolumeDownMemory = y;
        ch.Volume -= ch.FineVolumeDownMemory;
        break;
    case kNoteCut:
        if (y == 0) // EC0 cuts at once; other ECx on a later tick
            ch.Volume = 0;
        break;
    default:
        break;
    }
}

} // namespace

void volumeSlide(TVelaXMChannel& ch) { ch.Volume += ch.VolumeSlideMemory; }

// Txy sounds for x + 1 ticks and is silent for y + 1, counting the ticks after a row's first.
// The silence lasts until the tremor sounds again or an instrument number restores the
// volume, across rows without the effect too, as the trackers leave the voice where the
// tremor put it.
void tremorStep(TVelaXMChannel& ch)
{
    const int32_t on = ch.TremorOnLength + 1;
    ch.TremorSilent = ch.TremorCounter >= on;
    ch.TremorCounter = (ch.TremorCounter + 1) % (on + ch.TremorOffLength + 1);
}

void retriggerVolumeChange(TVelaXMChannel& ch)
{
    const RetriggerChange& change = kRetriggerChanges[ch.RetriggerVolumeChange & 15];
    int32_t& v = ch.Volume;
    v = v * change.mul / change.div + change.add;
    // A silent channel is never limited by the tick update; doubling must not run away.
    v = std::clamp(v, -(1 << 24), 1 << 24);
}

void volumeRowEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t p = ch.Cell.EffectParameter;
    switch (ch.Cell.Effect) {
    case kTremolo:
        if (highNibble(p) != 0)
            ch.TremoloSpeed = highNibble(p);
        if (lowNibble(p) != 0)
            ch.TremoloDepth = lowNibble(p);
        tremoloHold(module, ch);
        break;
    case kSetPanning:
        ch.Panning = p;
        break;
    case kVolumeSlide:
        if (setsSlideMemory(module, p))
            ch.VolumeSlideMemory = volumeSlideAmount(p);
        break;
    case kSetVolume:
        ch.Volume = p;
        break;
    case kSetGlobalVolume:
        module.GlobalVolume = p;
        break;
    case kGlobalVolumeSlide:
        if (p != 0)
            ch.GlobalVolumeSlideMemory = volumeSlideAmount(p);
        break;
    case kPanningSlide:
        if (p != 0)
            ch.PanningSlideMemory = slideAmount(p);
        break;
    case kTremor:
        if (p != 0) {
            ch.TremorOnLength = highNibble(p);
            ch.TremorOffLength = lowNibble(p);
        }
        break;
    case kExtended:
        extendedVolumeRowEffect(module, ch);
        break;
    default:
        break;
    }
}

void volumeTickEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    switch (ch.Cell.Effect) {
    case kTremolo:
        tremoloStep(ch);
        break;
    case kVolumeSlide:
        volumeSlide(ch);
        break;
    case kGlobalVolumeSlide:
        module.GlobalVolume += ch.GlobalVolumeSlideMemory;
        break;
    case kPanningSlide:
        ch.Panning += ch.PanningSlideMemory;
        break;
    case kTremor:
        tremorStep(ch);
        break;
    case kExtended:
        if (extendedCode(ch.Cell.EffectParameter) == kNoteCut && ch.Tick == lowNibble(ch.Cell.EffectParameter))
            ch.Volume = 0;
        break;
    default:
        break;
    }
}

} // namespace velaxm

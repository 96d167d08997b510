#include "VelaXM/Effects.h"

namespace velaxm {

namespace {

struct VolumeRange {
    int32_t first;
    int32_t last;
    VolumeCommand command;
};

// Volume-column bytes by range; bytes outside every range do nothing.
constexpr VolumeRange kVolumeRanges[] = {
    {0x10, 0x50, VolumeCommand::SetVolume},        {0x60, 0x6F, VolumeCommand::SlideDown},
    {0x70, 0x7F, VolumeCommand::SlideUp},          {0x80, 0x8F, VolumeCommand::FineDown},
    {0x90, 0x9F, VolumeCommand::FineUp},           {0xA0, 0xAF, VolumeCommand::VibratoSpeed},
    {0xB0, 0xBF, VolumeCommand::VibratoDepth},     {0xC0, 0xCF, VolumeCommand::SetPanning},
    {0xD0, 0xDF, VolumeCommand::PanningSlideLeft}, {0xE0, 0xEF, VolumeCommand::PanningSlideRight},
    {0xF0, 0xFF, VolumeCommand::TonePortamento},
};

} // namespace

VolumeCommand volumeCommand(int32_t volume)
{
    for (const VolumeRange& range : kVolumeRanges)
        if (volume >= range.first && volume <= range.last)
            return range.command;
    return VolumeCommand::None;
}

// The volume column on a row's first tick. Commands that set a value wait for a
// delayed note; the vibrato and portamento settings apply at once.
void rowVolumeColumn(TVelaXMChannel& ch, bool onTriggerTick)
{
    const int32_t v = ch.Cell.Volume;
    const int32_t amount = lowNibble(v);
    switch (volumeCommand(v)) {
    case VolumeCommand::SetVolume:
        if (onTriggerTick)
            ch.Volume = v - 0x10;
        break;
    case VolumeCommand::FineDown:
        if (onTriggerTick)
            ch.Volume -= amount;
        break;
    case VolumeCommand::FineUp:
        if (onTriggerTick)
            ch.Volume += amount;
        break;
    case VolumeCommand::VibratoSpeed:
        ch.VibratoSpeed = amount;
        break;
    case VolumeCommand::VibratoDepth:
        ch.VibratoDepth = amount;
        break;
    case VolumeCommand::SetPanning:
        if (onTriggerTick)
            ch.Panning = amount * 16;
        break;
    case VolumeCommand::TonePortamento:
        // Mx counts in steps of 16 of the 3xx speed; M0 keeps the speed in memory.
        if (amount != 0)
            ch.TonePortamentoMemory = amount * 16;
        break;
    default:
        break; // slides act on the later ticks
    }
}

// The volume column on the later ticks of a row; slides wait for a delayed note.
void tickVolumeColumn(const TVelaXMModule& module, TVelaXMChannel& ch, bool afterTrigger)
{
    const int32_t amount = lowNibble(ch.Cell.Volume);
    switch (volumeCommand(ch.Cell.Volume)) {
    case VolumeCommand::SlideDown:
        if (afterTrigger)
            ch.Volume -= amount;
        break;
    case VolumeCommand::SlideUp:
        if (afterTrigger)
            ch.Volume += amount;
        break;
    case VolumeCommand::PanningSlideLeft:
        if (afterTrigger)
            ch.Panning -= amount;
        break;
    case VolumeCommand::PanningSlideRight:
        if (afterTrigger)
            ch.Panning += amount;
        break;
    case VolumeCommand::VibratoDepth:
        vibratoStep(ch);
        break;
    case VolumeCommand::TonePortamento:
        tonePortamentoStep(module, ch);
        break;
    default:
        break;
    }
}

} // namespace velaxm

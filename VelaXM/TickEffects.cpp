#include "VelaXM/Effects.h"

#include <algorithm>

namespace velaxm {

void runTickEffects(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t delay = noteDelay(ch.Cell);
    if (delay != 0 && delay == ch.Tick && ch.Bank == TVelaXMBank::Pattern)
        runRowEffects(module, ch);
    ch.PeriodOffset = 0;
    ch.VolumeOffset = 0;

    const int32_t v = ch.Cell.Volume;
    const int32_t low = v & 15;
    if (ch.Tick >= delay) {
        if (v >= 0x60 && v <= 0x6F)
            ch.Volume -= low;
        else if (v >= 0x70 && v <= 0x7F)
            ch.Volume += low;
        else if (v >= 0xD0 && v <= 0xDF)
            ch.Panning -= low;
        else if (v >= 0xE0 && v <= 0xEF)
            ch.Panning += low;
    }
    if (v >= 0xB0 && v <= 0xBF)
        vibratoStep(ch);
    else if (v >= 0xF0 && v <= 0xFF)
        tonePortamentoStep(module, ch);
    if (delay == ch.Tick)
        return;

    const int32_t p = ch.Cell.EffectParameter;
    switch (ch.Cell.Effect) {
    case 0:
        if (p != 0)
            ch.PeriodOffset += ch.ArpeggioOffsets[ch.Tick % 3];
        break;
    case 1:
        ch.Period -= 4 * ch.PortamentoUpMemory;
        ch.TargetPeriod = ch.Period;
        break;
    case 2:
        ch.Period += 4 * ch.PortamentoDownMemory;
        ch.TargetPeriod = ch.Period;
        break;
    case 3:
        tonePortamentoStep(module, ch);
        break;
    case 4:
        vibratoStep(ch);
        break;
    case 5:
        tonePortamentoStep(module, ch);
        volumeSlide(ch);
        break;
    case 6:
        vibratoStep(ch);
        volumeSlide(ch);
        break;
    case 7:
        tremoloStep(ch);
        break;
    case 10:
        volumeSlide(ch);
        break;
    case 14:
        if (p <= 255 && highNibble(p) == 9) {
            if (lowNibble(p) != 0 && ch.Tick % lowNibble(p) == 0)
                triggerNote(module, ch);
        } else if (p <= 255 && highNibble(p) == 12) {
            if (ch.Tick == lowNibble(p))
                ch.Volume = 0;
        }
        break;
    case 17:
        module.GlobalVolume += ch.GlobalVolumeSlideMemory;
        break;
    case 25:
        ch.Panning += ch.PanningSlideMemory;
        break;
    case 27:
        if (ch.RetriggerInterval != 0 && ch.Tick % ch.RetriggerInterval == 0) {
            triggerNote(module, ch);
            retriggerVolumeChange(ch);
        }
        break;
    case 29:
        tremorStep(ch);
        break;
    case 35:
        runMacro(module, ch, p, false);
        break;
    case 37:
        runMacro(module, ch, p, true);
        break;
    default:
        break;
    }
}

} // namespace velaxm

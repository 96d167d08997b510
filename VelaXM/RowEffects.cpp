#include "VelaXM/Effects.h"

#include <algorithm>

namespace velaxm {

namespace {

// Volume-column commands of a row's first tick. Commands that set a value wait
// for a delayed note; the vibrato and portamento settings apply at once.
void rowVolumeColumn(TVelaXMChannel& ch, bool onTriggerTick)
{
    const int32_t v = ch.Cell.Volume;
    const int32_t low = v & 15;
    if (v >= 0x10 && v <= 0x50) {
        if (onTriggerTick)
            ch.Volume = v - 0x10;
    } else if (v >= 0x80 && v <= 0x8F) {
        if (onTriggerTick)
            ch.Volume -= low;
    } else if (v >= 0x90 && v <= 0x9F) {
        if (onTriggerTick)
            ch.Volume += low;
    } else if (v >= 0xA0 && v <= 0xAF) {
        ch.VibratoSpeed = low;
    } else if (v >= 0xB0 && v <= 0xBF) {
        ch.VibratoDepth = low;
    } else if (v >= 0xC0 && v <= 0xCF) {
        if (onTriggerTick)
            ch.Panning = low * 16;
    } else if (v >= 0xF0 && v <= 0xFF) {
        ch.TonePortamentoMemory = low;
    }
}

void extendedRowEffect(TVelaXMModule& module, TVelaXMChannel& ch, int32_t p)
{
    if (p > 255)
        return;
    const int32_t y = lowNibble(p);
    switch (highNibble(p)) {
    case 1:
        if (y != 0)
            ch.FinePortamentoUpMemory = y;
        ch.Period -= 4 * ch.FinePortamentoUpMemory;
        ch.TargetPeriod = ch.Period;
        break;
    case 2:
        if (y != 0)
            ch.FinePortamentoDownMemory = y;
        ch.Period += 4 * ch.FinePortamentoDownMemory;
        ch.TargetPeriod = ch.Period;
        break;
    case 3:
        ch.Glissando = y != 0;
        break;
    case 4:
        ch.VibratoWaveform = y & 7;
        break;
    case 5:
        finetuneChange(module, ch, y);
        break;
    case 6:
        patternLoop(module, ch, y);
        break;
    case 7:
        ch.TremoloWaveform = y & 7;
        break;
    case 10:
        if (y != 0)
            ch.FineVolumeUpMemory = y;
        ch.Volume += ch.FineVolumeUpMemory;
        break;
    case 11:
        if (y != 0)
            ch.FineVolumeDownMemory = y;
        ch.Volume -= ch.FineVolumeDownMemory;
        break;
    case 14:
        module.PatternDelay = y;
        break;
    case 15:
        ch.ActiveMacro = y;
        break;
    default:
        break; // 9, 12, 13 act on later ticks; 0 and 8 do nothing
    }
}

void extraFineRowEffect(TVelaXMChannel& ch, int32_t p)
{
    const int32_t y = lowNibble(p);
    if (p >= 0x10 && p <= 0x1F) {
        if (y != 0)
            ch.ExtraFinePortamentoUpMemory = y;
        ch.Period -= ch.ExtraFinePortamentoUpMemory;
        ch.TargetPeriod = ch.Period;
    } else if (p >= 0x20 && p <= 0x2F) {
        if (y != 0)
            ch.ExtraFinePortamentoDownMemory = y;
        ch.Period += ch.ExtraFinePortamentoDownMemory;
        ch.TargetPeriod = ch.Period;
    } else if (p == 0x90 || p == 0x91) {
        ch.Surround = p == 0x90;
    } else if (p == 0x9C || p == 0x9D) {
        ch.FilterResetOnNote = p == 0x9D;
    } else if (p == 0x9E || p == 0x9F) {
        ch.Backwards = p == 0x9F;
    }
}

// A slide memory holds up minus down: Axy raises by x and lowers by y per tick.
int32_t slideAmount(int32_t p) { return highNibble(p) - lowNibble(p); }

void rowEffectColumn(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t p = ch.Cell.EffectParameter;
    const int32_t x = highNibble(p);
    const int32_t y = lowNibble(p);
    switch (ch.Cell.Effect) {
    case 0:
        if (p != 0)
            computeArpeggio(module, ch, p);
        break;
    case 1:
        if (p != 0)
            ch.PortamentoUpMemory = p;
        break;
    case 2:
        if (p != 0)
            ch.PortamentoDownMemory = p;
        break;
    case 3:
        if (p != 0)
            ch.TonePortamentoMemory = p;
        break;
    case 4:
        if (p != 0) {
            ch.VibratoSpeed = x;
            ch.VibratoDepth = y;
        }
        vibratoStep(ch);
        break;
    case 5:
    case 10:
        if (p != 0)
            ch.VolumeSlideMemory = slideAmount(p);
        break;
    case 6:
        if (p != 0)
            ch.VolumeSlideMemory = slideAmount(p);
        vibratoStep(ch);
        break;
    case 7:
        if (p != 0) {
            ch.TremoloSpeed = x;
            ch.TremoloDepth = y;
        }
        break;
    case 8:
        ch.Panning = p;
        break;
    case 9:
        // The offset counts frames in units of 256; it applies with or without a note.
        ch.Position = static_cast<int64_t>(std::clamp(p, 0, 255)) * 256 << 32;
        break;
    case 11:
        positionJump(module, p);
        break;
    case 12:
        ch.Volume = p;
        break;
    case 13:
        patternBreak(module, p);
        break;
    case kExtended:
        extendedRowEffect(module, ch, p);
        break;
    case 15:
        if (p > 31)
            module.BPM = static_cast<uint8_t>(std::min(p, 255));
        else
            module.Speed = static_cast<uint8_t>(std::max(p, 0));
        break;
    case 16:
        module.GlobalVolume = p;
        break;
    case 17:
        if (p != 0)
            ch.GlobalVolumeSlideMemory = slideAmount(p);
        break;
    case 20:
        ch.KeyOff();
        break;
    case 21:
        ch.VolumeEnvelopeHandler.SetPosition(p);
        ch.PanningEnvelopeHandler.SetPosition(p);
        break;
    case 25:
        if (p != 0)
            ch.PanningSlideMemory = slideAmount(p);
        break;
    case 26:
        ch.Resonance = p;
        setupFilter(module, ch);
        break;
    case 27:
        if (p != 0) {
            ch.RetriggerVolumeChange = x;
            ch.RetriggerInterval = y;
        }
        break;
    case 29:
        if (p != 0) {
            ch.TremorOnLength = x;
            ch.TremorOffLength = y;
        }
        tremorStep(ch);
        break;
    case 33:
        extraFineRowEffect(ch, p);
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

} // namespace

void runRowEffects(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t delay = noteDelay(ch.Cell);
    ch.PeriodOffset = 0;
    ch.VolumeOffset = 0;
    const bool onTriggerTick = delay == ch.Tick;
    if (onTriggerTick)
        triggerNote(module, ch);
    rowVolumeColumn(ch, onTriggerTick);
    if (!onTriggerTick)
        return;
    rowEffectColumn(module, ch);
}

} // namespace velaxm

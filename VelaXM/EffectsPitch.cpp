#include "VelaXM/Effects.h"
#include "VelaXM/Waveforms.h"

#include <algorithm>

namespace velaxm {

namespace {

// MOD slides stop at the notes the format can hold, B-3 and C-1, at the pitch this player
// gives those notes, in its units of a quarter period: B-3 is 453 (ProTracker's table
// rounds it to 4 x 113; a slide to 452 rang 4 cents above the note), C-1 is 4 x 856.
constexpr int32_t kModHighestPeriod = 453;
constexpr int32_t kModLowestPeriod = 4 * 856;

int32_t limitSlide(const TVelaXMModule& module, int32_t period)
{
    return module.ModPeriodLimits ? std::clamp(period, kModHighestPeriod, kModLowestPeriod) : period;
}

int32_t waveValue(int32_t waveform, int32_t position)
{
    // Waveforms 4..7 keep their position running but do not modulate.
    if (waveform >= 4 || waveform < 0)
        return 0;
    return modulationWaveforms()[waveform][position & 63];
}

} // namespace

void computeArpeggio(const TVelaXMModule& module, TVelaXMChannel& ch, int32_t parameter)
{
    const int32_t x = highNibble(parameter);
    const int32_t y = lowNibble(parameter);
    ch.ArpeggioOffsets[0] = 0;
    if (module.LinearFrequencies) {
        ch.ArpeggioOffsets[1] = -64 * x;
        ch.ArpeggioOffsets[2] = -64 * y;
    } else {
        const int32_t base = module.GetPeriod(ch.Note, ch.Finetune);
        ch.ArpeggioOffsets[1] = module.GetPeriod(ch.Note + x, ch.Finetune) - base;
        ch.ArpeggioOffsets[2] = module.GetPeriod(ch.Note + y, ch.Finetune) - base;
    }
}

namespace {

// The scaled wave is divided (truncating towards zero), not shifted, so that its two halves
// are mirror images: a shift would reach one unit further below the note than above it.
void applyVibrato(TVelaXMChannel& ch)
{
    const int32_t w = waveValue(ch.VibratoWaveform, ch.VibratoPosition) * 2;
    ch.PeriodOffset += 4 * (w * ch.VibratoDepth / 128);
}

void applyTremolo(TVelaXMChannel& ch)
{
    const int32_t w = waveValue(ch.TremoloWaveform, ch.TremoloPosition) * 2;
    ch.VolumeOffset += w * ch.TremoloDepth / 64;
}

} // namespace

void vibratoHold(const TVelaXMModule& module, TVelaXMChannel& ch)
{
    if (module.RowTickHoldsModulation)
        applyVibrato(ch);
}

void vibratoStep(TVelaXMChannel& ch)
{
    applyVibrato(ch);
    ch.VibratoPosition = (ch.VibratoPosition + ch.VibratoSpeed) & 63;
}

void tremoloHold(const TVelaXMModule& module, TVelaXMChannel& ch)
{
    if (module.RowTickHoldsModulation)
        applyTremolo(ch);
}

void tremoloStep(TVelaXMChannel& ch)
{
    applyTremolo(ch);
    ch.TremoloPosition = (ch.TremoloPosition + ch.TremoloSpeed) & 63;
}

void tonePortamentoStep(const TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t target = ch.TargetPeriod;
    const int32_t current = ch.Period;
    const int64_t speed = 4 * static_cast<int64_t>(ch.TonePortamentoMemory);
    if (current == target)
        return;
    int64_t next =
        current < target ? std::min<int64_t>(current + speed, target) : std::max<int64_t>(current - speed, target);
    if (ch.Glissando) {
        // Glissando slides in semitones: a step never passes the neighbouring
        // semitone that lies towards the target, so the slide stops on each one.
        const int32_t note = module.GetNoteFromPeriod(current, ch.Finetune);
        if (current < target) {
            next = std::min<int64_t>(next, module.GetPeriod(note - 1, ch.Finetune));
        } else {
            const int32_t onNote = module.GetPeriod(note, ch.Finetune);
            const int32_t below = onNote < current ? onNote : module.GetPeriod(note + 1, ch.Finetune);
            next = std::max<int64_t>(next, below);
        }
        // Clamped note numbers can leave no semitone to stop at; the target is then the limit.
        next = current < target ? std::clamp<int64_t>(next, current + 1, target)
                                : std::clamp<int64_t>(next, target, current - 1);
    }
    ch.Period = static_cast<int32_t>(next);
}

void finetuneChange(const TVelaXMModule& module, TVelaXMChannel& ch, int32_t finetune)
{
    // E5x tunes the note started on its row; a row without a note (or one that
    // slides to its note) leaves the sounding pitch alone.
    const int32_t note = ch.Cell.Note;
    if (note < 1 || note > 96 || isTonePortamento(ch.Cell) || ch.Sample == nullptr)
        return;
    ch.Finetune = finetune;
    ch.Period = module.GetPeriod(ch.Note, finetune);
    ch.TargetPeriod = ch.Period;
}

namespace {

void extendedPitchEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t y = lowNibble(ch.Cell.EffectParameter);
    switch (extendedCode(ch.Cell.EffectParameter)) {
    case kFinePortamentoUp:
        if (setsSlideMemory(module, y))
            ch.FinePortamentoUpMemory = y;
        ch.Period = limitSlide(module, ch.Period - 4 * ch.FinePortamentoUpMemory);
        ch.TargetPeriod = ch.Period;
        break;
    case kFinePortamentoDown:
        if (setsSlideMemory(module, y))
            ch.FinePortamentoDownMemory = y;
        ch.Period = limitSlide(module, ch.Period + 4 * ch.FinePortamentoDownMemory);
        ch.TargetPeriod = ch.Period;
        break;
    case kGlissandoControl:
        ch.Glissando = y != 0;
        break;
    case kVibratoWaveform:
        ch.VibratoWaveform = y & 7;
        break;
    case kSetFinetune:
        // The digit counts eighths of a semitone, as a sample's finetune does in 16ths of them.
        finetuneChange(module, ch, (module.SignedFinetuneDigit ? (y < 8 ? y : y - 16) : y - 8) * 16);
        break;
    default:
        break;
    }
}

// Extra-fine portamento moves the period by its plain amount (no factor 4).
void extraFinePitchEffect(TVelaXMChannel& ch)
{
    const int32_t y = lowNibble(ch.Cell.EffectParameter);
    switch (extraFineCode(ch.Cell.EffectParameter)) {
    case kExtraFinePortamentoUp:
        if (y != 0)
            ch.ExtraFinePortamentoUpMemory = y;
        ch.Period -= ch.ExtraFinePortamentoUpMemory;
        ch.TargetPeriod = ch.Period;
        break;
    case kExtraFinePortamentoDown:
        if (y != 0)
            ch.ExtraFinePortamentoDownMemory = y;
        ch.Period += ch.ExtraFinePortamentoDownMemory;
        ch.TargetPeriod = ch.Period;
        break;
    default:
        break;
    }
}

} // namespace

void pitchRowEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t p = ch.Cell.EffectParameter;
    switch (ch.Cell.Effect) {
    case kArpeggio:
        if (p != 0)
            computeArpeggio(module, ch, p);
        break;
    case kPortamentoUp:
        if (setsSlideMemory(module, p))
            ch.PortamentoUpMemory = p;
        break;
    case kPortamentoDown:
        if (setsSlideMemory(module, p))
            ch.PortamentoDownMemory = p;
        break;
    case kTonePortamento:
        if (p != 0)
            ch.TonePortamentoMemory = p;
        break;
    case kVibrato:
        // Speed and depth each keep their memory: 401 deepens the running vibrato.
        if (highNibble(p) != 0)
            ch.VibratoSpeed = highNibble(p);
        if (lowNibble(p) != 0)
            ch.VibratoDepth = lowNibble(p);
        vibratoHold(module, ch);
        break;
    case kTonePortamentoVolumeSlide:
        if (setsSlideMemory(module, p))
            ch.VolumeSlideMemory = volumeSlideAmount(p);
        break;
    case kVibratoVolumeSlide:
        if (setsSlideMemory(module, p))
            ch.VolumeSlideMemory = volumeSlideAmount(p);
        vibratoHold(module, ch);
        break;
    case kExtended:
        extendedPitchEffect(module, ch);
        break;
    case kExtraFine:
        extraFinePitchEffect(ch);
        break;
    default:
        break;
    }
}

void pitchTickEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    switch (ch.Cell.Effect) {
    case kArpeggio:
        if (ch.Cell.EffectParameter != 0)
            ch.PeriodOffset += ch.ArpeggioOffsets[ch.Tick % 3];
        break;
    case kPortamentoUp:
        ch.Period = limitSlide(module, ch.Period - 4 * ch.PortamentoUpMemory);
        ch.TargetPeriod = ch.Period;
        break;
    case kPortamentoDown:
        ch.Period = limitSlide(module, ch.Period + 4 * ch.PortamentoDownMemory);
        ch.TargetPeriod = ch.Period;
        break;
    case kTonePortamento:
        tonePortamentoStep(module, ch);
        break;
    case kVibrato:
        vibratoStep(ch);
        break;
    case kTonePortamentoVolumeSlide:
        tonePortamentoStep(module, ch);
        volumeSlide(ch);
        break;
    case kVibratoVolumeSlide:
        vibratoStep(ch);
        volumeSlide(ch);
        break;
    default:
        break;
    }
}

} // namespace velaxm

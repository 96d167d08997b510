#include "VelaXM/Effects.h"
#include "VelaXM/Waveforms.h"

#include <algorithm>

namespace velaxm {

namespace {

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

void vibratoStep(TVelaXMChannel& ch)
{
    const int32_t w = waveValue(ch.VibratoWaveform, ch.VibratoPosition) * 2;
    ch.PeriodOffset += 4 * ((w * ch.VibratoDepth) >> 7);
    ch.VibratoPosition = (ch.VibratoPosition + ch.VibratoSpeed) & 63;
}

void tremoloStep(TVelaXMChannel& ch)
{
    const int32_t w = waveValue(ch.TremoloWaveform, ch.TremoloPosition) * 2;
    ch.VolumeOffset += (w * ch.TremoloDepth) >> 6;
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
    const int32_t note = module.GetNoteFromPeriod(ch.Period, ch.Finetune);
    ch.Finetune = finetune;
    ch.Period = module.GetPeriod(note, finetune);
}

void positionJump(TVelaXMModule& module, int32_t order)
{
    module.JumpOrder = order;
    if (!module.JumpPending)
        module.JumpRow = 0;
    module.JumpPending = true;
}

void patternBreak(TVelaXMModule& module, int32_t row)
{
    if (!module.JumpPending)
        module.JumpOrder = module.CurrentOrder + 1;
    module.JumpRow = row;
    module.JumpPending = true;
}

void patternLoop(TVelaXMModule& module, TVelaXMChannel& ch, int32_t count)
{
    if (count == 0) {
        if (!ch.PatternLoopActive)
            ch.PatternLoopRow = module.CurrentRow;
        return;
    }
    if (!ch.PatternLoopActive) {
        ch.PatternLoopCount = count;
        ch.PatternLoopActive = true;
    } else if (ch.PatternLoopCount != 0) {
        --ch.PatternLoopCount;
    } else {
        ch.PatternLoopActive = false;
        return;
    }
    module.JumpOrder = module.CurrentOrder;
    module.JumpRow = ch.PatternLoopRow;
    module.JumpPending = true;
}

} // namespace velaxm

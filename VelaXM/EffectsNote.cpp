#include "VelaXM/Effects.h"

#include <algorithm>

namespace velaxm {

void noteRowEffect(TVelaXMModule& /*module*/, TVelaXMChannel& ch)
{
    const int32_t p = ch.Cell.EffectParameter;
    switch (ch.Cell.Effect) {
    case kSampleOffset: {
        // The offset counts frames in units of 256; it applies with or without a note.
        int64_t frame = static_cast<int64_t>(std::clamp(p, 0, 255)) * 256;
        // Past the end of a looping sample the voice goes on from its loop start.
        if (ch.Sample != nullptr && ch.Sample->Loop && frame >= ch.Sample->Length)
            frame = ch.Sample->LoopStart;
        ch.Position = frame << 32;
        break;
    }
    case kKeyOffEffect:
        // Kxx releases the note on tick xx of the row.
        if (p == 0)
            ch.KeyOff();
        break;
    case kEnvelopePosition:
        ch.VolumeEnvelopeHandler.SetPosition(p);
        ch.PanningEnvelopeHandler.SetPosition(p);
        // A voice its envelope had ended sounds again where the envelope is moved back to
        // (from where its sample stood when it went silent).
        if (ch.EnvelopeSilenced) {
            ch.VoiceOn = true;
            ch.EnvelopeSilenced = false;
        }
        break;
    case kMultiRetrigger:
        if (p != 0) {
            ch.RetriggerVolumeChange = highNibble(p);
            ch.RetriggerInterval = lowNibble(p);
        }
        break;
    default:
        break; // E9x retriggers on later ticks
    }
}

void noteTickEffect(TVelaXMModule& module, TVelaXMChannel& ch)
{
    switch (ch.Cell.Effect) {
    case kKeyOffEffect:
        if (ch.Tick == ch.Cell.EffectParameter)
            ch.KeyOff();
        break;
    case kMultiRetrigger:
        if (ch.RetriggerInterval != 0 && ch.Tick % ch.RetriggerInterval == 0) {
            retriggerNote(module, ch);
            retriggerVolumeChange(ch);
        }
        break;
    case kExtended: {
        const int32_t interval = lowNibble(ch.Cell.EffectParameter);
        if (extendedCode(ch.Cell.EffectParameter) == kRetrigger && interval != 0 && ch.Tick % interval == 0)
            retriggerNote(module, ch);
        break;
    }
    default:
        break;
    }
}

} // namespace velaxm

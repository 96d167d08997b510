#include "VelaXM/Effects.h"

namespace velaxm {

namespace {

EffectFamily extendedFamily(int32_t code)
{
    switch (code) {
    case kFinePortamentoUp:
    case kFinePortamentoDown:
    case kGlissandoControl:
    case kVibratoWaveform:
    case kSetFinetune:
        return EffectFamily::Pitch;
    case kTremoloWaveform:
    case kFineVolumeUp:
    case kFineVolumeDown:
    case kNoteCut:
        return EffectFamily::Volume;
    case kPatternLoop:
    case kPatternDelay:
        return EffectFamily::Flow;
    case kRetrigger:
        return EffectFamily::Note;
    case kSelectMacro:
        return EffectFamily::Sound;
    default:
        return EffectFamily::None; // EDx is the trigger tick itself; E0x and E8x do nothing
    }
}

EffectFamily extraFineFamily(int32_t code)
{
    switch (code) {
    case kExtraFinePortamentoUp:
    case kExtraFinePortamentoDown:
        return EffectFamily::Pitch;
    case kSoundControl:
        return EffectFamily::Sound;
    default:
        return EffectFamily::None;
    }
}

} // namespace

EffectFamily effectFamily(int32_t effect, int32_t parameter)
{
    switch (effect) {
    case kArpeggio:
    case kPortamentoUp:
    case kPortamentoDown:
    case kTonePortamento:
    case kVibrato:
    case kTonePortamentoVolumeSlide:
    case kVibratoVolumeSlide:
        return EffectFamily::Pitch;
    case kTremolo:
    case kSetPanning:
    case kVolumeSlide:
    case kSetVolume:
    case kSetGlobalVolume:
    case kGlobalVolumeSlide:
    case kPanningSlide:
    case kTremor:
        return EffectFamily::Volume;
    case kPositionJump:
    case kPatternBreak:
    case kSetSpeed:
        return EffectFamily::Flow;
    case kSampleOffset:
    case kKeyOffEffect:
    case kEnvelopePosition:
    case kMultiRetrigger:
        return EffectFamily::Note;
    case kFilterResonance:
    case kMidiMacro:
    case kSmoothMidiMacro:
        return EffectFamily::Sound;
    case kExtended:
        return extendedFamily(extendedCode(parameter));
    case kExtraFine:
        return extraFineFamily(extraFineCode(parameter));
    default:
        return EffectFamily::None;
    }
}

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
    switch (effectFamily(ch.Cell.Effect, ch.Cell.EffectParameter)) {
    case EffectFamily::Pitch:
        pitchRowEffect(module, ch);
        break;
    case EffectFamily::Volume:
        volumeRowEffect(module, ch);
        break;
    case EffectFamily::Flow:
        flowRowEffect(module, ch);
        break;
    case EffectFamily::Note:
        noteRowEffect(module, ch);
        break;
    case EffectFamily::Sound:
        soundRowEffect(module, ch);
        break;
    case EffectFamily::None:
        break;
    }
}

} // namespace velaxm

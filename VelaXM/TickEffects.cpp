#include "VelaXM/Effects.h"

namespace velaxm {

void runTickEffects(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t delay = noteDelay(ch.Cell);
    if (delay != 0 && delay == ch.Tick && ch.Bank == TVelaXMBank::Pattern)
        runRowEffects(module, ch);
    ch.PeriodOffset = 0;
    ch.VolumeOffset = 0;
    tickVolumeColumn(module, ch, ch.Tick >= delay);
    if (delay == ch.Tick)
        return;
    switch (effectFamily(ch.Cell.Effect, ch.Cell.EffectParameter)) {
    case EffectFamily::Pitch:
        pitchTickEffect(module, ch);
        break;
    case EffectFamily::Volume:
        volumeTickEffect(module, ch);
        break;
    case EffectFamily::Note:
        noteTickEffect(module, ch);
        break;
    case EffectFamily::Sound:
        soundTickEffect(module, ch);
        break;
    case EffectFamily::Flow:
    case EffectFamily::None:
        break; // pattern flow acts on the first tick only
    }
}

} // namespace velaxm

#include "VelaXM/Effects.h"
#include "VelaXM/Waveforms.h"

#include <algorithm>
#include <cstdlib>

namespace velaxm {

namespace {

void updateEnvelopes(TVelaXMChannel& ch)
{
    ch.EnvVolume = 64;
    ch.EnvPanning = 32;
    TVelaXMEnvelopeHandler& volume = ch.VolumeEnvelopeHandler;
    if (volume.Envelope != nullptr) {
        if (volume.Envelope->Enabled)
            ch.EnvVolume = volume.Step();
        else if (!volume.KeyOn)
            ch.EnvVolume = 0; // without a volume envelope, key off silences at once
        if (ch.Instrument != nullptr && !volume.KeyOn)
            ch.FadeoutVolume = std::max(ch.FadeoutVolume - 2 * ch.Instrument->Fadeout, 0);
    }
    TVelaXMEnvelopeHandler& panning = ch.PanningEnvelopeHandler;
    if (panning.Envelope != nullptr && panning.Envelope->Enabled)
        ch.EnvPanning = panning.Step();
}

int32_t autoVibratoWave(int32_t type, int32_t position)
{
    switch (type) {
    case 0:
        return autoVibratoSine()[position];
    case 1:
        return position < 128 ? 64 : -64;
    case 2:
        return (-static_cast<int8_t>(position)) >> 1;
    case 3:
        return (-static_cast<int8_t>(-position)) >> 1;
    default:
        return 0;
    }
}

void updateAutoVibrato(TVelaXMChannel& ch)
{
    const TVelaXMInstrument& instrument = *ch.Instrument;
    int32_t w = autoVibratoWave(instrument.VibratoType, ch.AutoVibratoPosition) * instrument.VibratoDepth;
    if (instrument.VibratoSweep != 0) {
        w = w * ch.AutoVibratoSweepCounter / instrument.VibratoSweep;
        if (!ch.Released)
            ch.AutoVibratoSweepCounter = std::min(ch.AutoVibratoSweepCounter + 1, instrument.VibratoSweep);
    }
    ch.PeriodOffset += w >> 6;
    ch.AutoVibratoPosition = (ch.AutoVibratoPosition + instrument.VibratoRate) & 255;
}

int32_t finalVolume(TVelaXMModule& module, TVelaXMChannel& ch)
{
    ch.Volume = std::clamp(ch.Volume, 0, 64);
    module.GlobalVolume = std::clamp(module.GlobalVolume, 0, 64);
    module.MixAmplification = std::clamp(module.MixAmplification, 0, 256);
    const int32_t v = ch.TremorSilent ? 0 : std::clamp(ch.Volume + ch.VolumeOffset, 0, 64);
    ch.EnvVolume = std::clamp(ch.EnvVolume, 0, 64);
    int32_t f = (ch.FadeoutVolume * 4096) >> 16;
    f = (f * ch.EnvVolume) >> 6;
    f = (f * module.GlobalVolume) >> 6;
    f = (v * f) >> 6;
    return (f * module.MixAmplification) >> 8;
}

void setGains(TVelaXMModule& module, TVelaXMChannel& ch)
{
    const int32_t rampSetting =
        ch.Bank == TVelaXMBank::Background ? module.BackgroundRampLength : module.PatternRampLength;
    ch.RampRemaining = std::min(rampSetting, module.SamplesPerTick);
    if (module.OutputChannels == 1) {
        ch.VolumeL = ch.FinalVolume;
    } else if (ch.Surround) {
        ch.VolumeL = ch.FinalVolume;
        ch.VolumeR = -ch.FinalVolume;
    } else {
        ch.VolumeL = (ch.FinalVolume * (255 - ch.FinalPanning)) >> 8;
        ch.VolumeR = (ch.FinalPanning * ch.FinalVolume) >> 8;
    }
    ch.TargetGainL = ch.VolumeL * 4096;
    ch.TargetGainR = module.OutputChannels == 1 ? 0 : ch.VolumeR * 4096;
    if (ch.RampRemaining != 0) {
        ch.RampDeltaL = (ch.TargetGainL - ch.CurrentGainL) / ch.RampRemaining;
        ch.RampDeltaR = (ch.TargetGainR - ch.CurrentGainR) / ch.RampRemaining;
    } else {
        ch.RampDeltaL = ch.RampDeltaR = 0;
    }
}

} // namespace

void updateChannel(TVelaXMModule& module, TVelaXMChannel& ch)
{
    if (ch.Instrument == nullptr) {
        ch.VoiceOn = false;
        return;
    }
    updateEnvelopes(ch);
    updateAutoVibrato(ch);
    if (!ch.VoiceOn)
        return;
    // A muted voice plays on silently, so the song around it stays as it was.
    ch.FinalVolume = ch.Muted ? 0 : finalVolume(module, ch);
    ch.Panning = std::clamp(ch.Panning, 0, 255);
    ch.Period = std::clamp(ch.Period, 27, 54784);
    // Panning envelopes hold 0..64; larger values from a file stay inside the stereo field.
    ch.FinalPanning =
        std::clamp(ch.Panning + (((ch.EnvPanning - 32) * (128 - std::abs(ch.Panning - 128))) >> 5), 0, 255);
    setGains(module, ch);
    ch.Frequency = module.GetFrequency(ch.Period + ch.PeriodOffset);
    ch.Step = module.SampleRate == 0
                  ? 0
                  : (static_cast<uint64_t>(std::max(ch.Frequency, 0)) << 32) / static_cast<uint64_t>(module.SampleRate);
}

} // namespace velaxm

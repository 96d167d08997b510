#include "VelaXM/Channel.h"

void TVelaXMChannel::VoiceReset()
{
    VoiceOn = false;
    EnvelopeSilenced = false;
    for (TVelaXMEnvelopeHandler* handler : {&VolumeEnvelopeHandler, &PanningEnvelopeHandler}) {
        handler->Envelope = nullptr;
        handler->SetPosition(0);
        handler->KeyOn = true;
    }
    Released = false;
    AutoVibratoSweepCounter = 0;
    AutoVibratoPosition = 0;
    TremorCounter = 0;
    TremorSilent = false;
    FadeoutVolume = 65536;
}

void TVelaXMChannel::FullReset()
{
    VoiceReset();
    VibratoPosition = 0;
    TremoloPosition = 0;
    Instrument = nullptr;
    Sample = nullptr;
    Panning = DefaultPanning;
    LastOutputL = LastOutputR = 0;
    VolumeL = VolumeR = 0;
    CurrentGainL = CurrentGainR = 0;
    TargetGainL = TargetGainR = 0;
    RampDeltaL = RampDeltaR = 0;
    ReportedNote = 0;
    Note = 0;
    Cell = TVelaXMPatternNote{};
    Cutoff = 127;
    Resonance = 0;
    ActiveMacro = 0;
    FilterActive = false;
    FilterMode = 0;
    Surround = false;
    FilterResetOnNote = false;
}

void TVelaXMChannel::KeyOff()
{
    VolumeEnvelopeHandler.KeyOn = false;
    PanningEnvelopeHandler.KeyOn = false;
    Released = true;
}

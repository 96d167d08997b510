#include "VelaXM/Effects.h"
#include "VelaXM/VoiceMix.h"

namespace velaxm {

namespace {

// The background voice that receives a hand-over: a free one, else the quietest.
TVelaXMChannel& backgroundSlot(TVelaXMModule& module)
{
    TVelaXMChannel* quietest = &module.BackgroundChannels[0];
    for (TVelaXMChannel& ch : module.BackgroundChannels) {
        if (!ch.VoiceOn)
            return ch;
        if (ch.FinalVolume < quietest->FinalVolume)
            quietest = &ch;
    }
    return *quietest;
}

// Moves a sounding voice to the background bank, where it ramps out while the
// channel starts its new note from silence.
void handOver(TVelaXMModule& module, TVelaXMChannel& ch)
{
    TVelaXMChannel& target = backgroundSlot(module);
    if (target.VoiceOn)
        releaseToClickRemoval(module, target);
    // The copy keeps the target's identity; names are moved aside so nothing allocates.
    std::string sourceName = std::move(ch.Name);
    std::string targetName = std::move(target.Name);
    const int32_t index = target.Index;
    target = ch;
    target.Index = index;
    target.Bank = TVelaXMBank::Background;
    target.Name = std::move(targetName);
    ch.Name = std::move(sourceName);
    target.FadeoutVolume = 0;
    ch.VoiceOn = false;
}

void attachInstrument(TVelaXMChannel& ch, const TVelaXMInstrument* instrument)
{
    ch.Instrument = instrument;
    if (instrument == nullptr)
        return;
    ch.VolumeEnvelopeHandler.Envelope = &instrument->VolumeEnvelope;
    ch.PanningEnvelopeHandler.Envelope = &instrument->PanningEnvelope;
    for (TVelaXMEnvelopeHandler* handler : {&ch.VolumeEnvelopeHandler, &ch.PanningEnvelopeHandler}) {
        handler->SetPosition(0);
        handler->KeyOn = true;
    }
    ch.Released = false;
    ch.FadeoutVolume = 65536;
}

void restartVoice(TVelaXMModule& module, TVelaXMChannel& ch, bool handedOver)
{
    if (ch.FilterResetOnNote)
        ch.FilterActive = false;
    ch.VolumeEnvelopeHandler.SetPosition(0);
    ch.PanningEnvelopeHandler.SetPosition(0);
    // A new note starts vibrato and tremolo from the top; an instrument number alone does
    // not. Waveforms 4..7 keep their phase running across notes.
    if (ch.VibratoWaveform < 4)
        ch.VibratoPosition = 0;
    if (ch.TremoloWaveform < 4)
        ch.TremoloPosition = 0;
    ch.Period = ch.TargetPeriod;
    ch.Position = 0;
    ch.Backwards = false;
    if (!handedOver)
        releaseToClickRemoval(module, ch);
    // The new note fades in over the ramp.
    ch.VolumeL = ch.VolumeR = 0;
    ch.CurrentGainL = ch.CurrentGainR = 0;
    ch.VoiceOn = true;
    ch.EnvelopeSilenced = false;
}

} // namespace

void triggerNote(TVelaXMModule& module, TVelaXMChannel& ch)
{
    if (ch.Bank != TVelaXMBank::Pattern)
        return;
    TVelaXMModuleListener* listener = module.Listener;
    if (listener != nullptr)
        listener->RowTriggered(ch.Index);
    const TVelaXMPatternNote& cell = ch.Cell;
    const bool portamento = isTonePortamento(cell);
    const bool hasInstrument = cell.Instrument >= 1 && cell.Instrument <= 255;
    const bool noteValid = TVelaXMPatternNote::IsNote(cell.Note);

    // Only a note that restarts the voice hands the old one over: an instrument
    // number alone, or a slide, goes on with the sounding voice, which would
    // otherwise play twice while its copy ramps out.
    const TVelaXMInstrument* instrument = hasInstrument ? module.Instruments[cell.Instrument].get() : ch.Instrument;
    const bool wantsHandOver = instrument != nullptr && noteValid && (!portamento || ch.Sample == nullptr);
    const bool handedOver = wantsHandOver && ch.VoiceOn;
    if (handedOver)
        handOver(module, ch);

    if (hasInstrument) {
        ch.VoiceReset();
        attachInstrument(ch, module.Instruments[cell.Instrument].get());
    }
    if (ch.Instrument != nullptr && noteValid) {
        if (listener != nullptr)
            listener->NoteStarted(ch.Index, cell.Note);
        if (!(portamento && ch.Sample != nullptr))
            ch.Sample = ch.Instrument->Samples[ch.Instrument->SampleMap[cell.Note - 1]].get();
        if (listener != nullptr && listener->Watches(ch.Index))
            ch.ReportedNote = cell.Note;
        if (ch.Sample != nullptr) {
            ch.Note = cell.Note + ch.Sample->RelativeNote - 1;
            ch.Finetune = ch.Sample->Finetune;
            ch.TargetPeriod = module.GetPeriod(ch.Note, ch.Finetune);
            if (ch.Period != 0 && portamento)
                ch.Note = cell.Note; // the slide carries the pitch; nothing restarts
            else
                restartVoice(module, ch, handedOver);
        }
    }
    if (hasInstrument && ch.Sample != nullptr) {
        // An instrument number alone restores the sample's volume and panning.
        ch.VoiceOn = true;
        ch.Volume = ch.Sample->Volume;
        if (ch.Sample->UsePanning)
            ch.Panning = ch.Sample->Panning;
    }
    if (cell.Note == TVelaXMPatternNote::kKeyOff) {
        ch.KeyOff();
        if (listener != nullptr)
            listener->KeyOff(ch.Index);
    }
}

void retriggerNote(TVelaXMModule& module, TVelaXMChannel& ch)
{
    if (ch.Bank != TVelaXMBank::Pattern)
        return;
    TVelaXMPatternNote& cell = ch.Cell;
    const int32_t instrument = cell.Instrument;
    cell.Instrument = 0;
    if (TVelaXMPatternNote::IsNote(cell.Note)) {
        triggerNote(module, ch);
    } else if (ch.Instrument != nullptr && ch.Sample != nullptr) {
        // A row without a note restarts the sample at the pitch it has reached.
        if (module.Listener != nullptr)
            module.Listener->RowTriggered(ch.Index);
        const bool handedOver = ch.VoiceOn;
        if (handedOver)
            handOver(module, ch);
        const int32_t period = ch.Period;
        restartVoice(module, ch, handedOver);
        ch.Period = period;
    }
    cell.Instrument = instrument;
}

} // namespace velaxm

#include "VelaXM/Module.h"

#include <cstdio>
#include <cstring>

TVelaXMModule::TVelaXMModule(int32_t Rate, TVelaXMModuleListener* NoteListener, const TVelaXMMixTables* MixTables)
    : SampleRate(Rate == 0 ? 44100 : Rate), Listener(NoteListener), Tables(MixTables)
{
    initChannels();
    Clear();
}

TVelaXMModule::~TVelaXMModule() = default;

void TVelaXMModule::initChannels()
{
    const std::pair<TVelaXMBank, std::array<TVelaXMChannel, kMaxChannels>*> banks[] = {
        {TVelaXMBank::Pattern, &Channels},
        {TVelaXMBank::Reserve, &ReserveChannels},
        {TVelaXMBank::Background, &BackgroundChannels},
    };
    for (const auto& [bank, channels] : banks) {
        for (int32_t i = 0; i < kMaxChannels; ++i) {
            TVelaXMChannel& channel = (*channels)[i];
            channel.Module = this;
            channel.Index = i;
            channel.Bank = bank;
        }
    }
}

std::array<TVelaXMChannel, TVelaXMModule::kMaxChannels>& TVelaXMModule::Bank(TVelaXMBank bank)
{
    switch (bank) {
    case TVelaXMBank::Reserve:
        return ReserveChannels;
    case TVelaXMBank::Background:
        return BackgroundChannels;
    default:
        return Channels;
    }
}

void TVelaXMModule::Clear()
{
    for (auto& instrument : Instruments)
        instrument.reset();
    for (TVelaXMPattern& pattern : Patterns)
        pattern.Clear();
    for (TVelaXMBank bank : {TVelaXMBank::Pattern, TVelaXMBank::Reserve, TVelaXMBank::Background}) {
        for (TVelaXMChannel& channel : Bank(bank)) {
            channel.Name.clear();
            channel.ChannelPlugin = 0;
            channel.DefaultPanning = 128;
            channel.FullReset();
        }
    }
    Name.clear();
    MessageText.clear();
    Orders.fill(0);
    ClickRemovalL = 0;
    ClickRemovalR = 0;
    DefaultSpeed = 6;
    DefaultBPM = 125;
    SongLength = 0;
    RestartPosition = 0;
    LinearFrequencies = true;
    ExtendedFilterRange = false;
    SlideMemory = true;
    SignedFinetuneDigit = false;
    ModPeriodLimits = false;
    RowTickHoldsModulation = true;
    GlobalVolume = 64;
    NumChannels = 0;
    Loaded = false;
    Restart();
    SetDefaultMIDIConfig();
}

void TVelaXMModule::SetDefaultMIDIConfig()
{
    MIDIConfig.fill(0);
    auto setMacro = [this](int32_t index, const char* text) {
        std::memcpy(MIDIConfig.data() + index * 32, text, std::strlen(text));
    };
    constexpr int32_t kGlobal = 0;
    constexpr int32_t kParametered = 9;
    constexpr int32_t kFixed = 9 + 16;
    setMacro(kGlobal + 0, "FF");
    setMacro(kGlobal + 1, "FC");
    setMacro(kGlobal + 3, "9c n v");
    setMacro(kGlobal + 4, "9c n 0");
    setMacro(kGlobal + 8, "Cc p");
    setMacro(kParametered + 0, "F0F000z");
    // Fixed macros 0..15 set the filter resonance in steps of 8.
    for (int32_t i = 0; i < 16; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "F0F001%02X", 8 * i);
        setMacro(kFixed + i, text);
    }
    EmbeddedMIDIConfig = false;
}

void TVelaXMModule::Restart()
{
    for (TVelaXMBank bank : {TVelaXMBank::Pattern, TVelaXMBank::Reserve, TVelaXMBank::Background})
        for (TVelaXMChannel& channel : Bank(bank))
            channel.FullReset();
    Speed = DefaultSpeed;
    BPM = DefaultBPM;
    Tick = Speed;
    PatternDelay = 0;
    CurrentOrder = 0;
    CurrentRow = 0;
    PlayedOrder = 0;
    PlayedRow = -1;
    JumpOrder = 0;
    JumpRow = 0;
    JumpPending = false;
    SongEnded = false;
    Repeats = 0;
    playedRows_.reset();
}

int32_t TVelaXMModule::ComputeSamplesPerTick()
{
    if (BPM == 0)
        BPM = 125;
    SamplesPerTick = static_cast<int32_t>(static_cast<int64_t>(SampleRate) * 640 / (BPM * 256));
    return SamplesPerTick;
}

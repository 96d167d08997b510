// xminfo FILE: prints what the module player makes of an XM or MOD file.
#include "CommandLine.h"
#include "InputFile.h"
#include "VelaXM/Module.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const TToolDescription kTool = {
    "xminfo",
    "FILE",
    "Prints what the module player makes of an XM or MOD file: its header, order\n"
    "list, patterns, instruments and samples.",
    nullptr,
};

void printHeader(const TVelaXMModule& module)
{
    std::printf("name: \"%s\"\n", module.Name.c_str());
    std::printf("channels: %d  song length: %d  restart: %d  speed: %d  bpm: %d\n", module.NumChannels,
        module.SongLength, module.RestartPosition, module.DefaultSpeed, module.DefaultBPM);
    std::printf("frequencies: %s%s\n", module.LinearFrequencies ? "linear" : "amiga",
        module.ExtendedFilterRange ? "  extended filter range" : "");
    if (!module.MessageText.empty())
        std::printf("message: %zu bytes\n", module.MessageText.size());
}

void printOrders(const TVelaXMModule& module)
{
    std::printf("orders:");
    for (int32_t i = 0; i < module.SongLength && i < 256; ++i)
        std::printf(" %d", module.Orders[i]);
    std::printf("\n");
}

void printPatterns(const TVelaXMModule& module)
{
    int32_t count = 0;
    for (const TVelaXMPattern& pattern : module.Patterns)
        if (pattern.Rows > 0)
            ++count;
    std::printf("patterns: %d\n", count);
    for (size_t i = 0; i < module.Patterns.size(); ++i) {
        const TVelaXMPattern& pattern = module.Patterns[i];
        if (pattern.Rows == 0)
            continue;
        int32_t used = 0;
        for (const TVelaXMPatternNote& cell : pattern.Notes)
            if (!(cell == TVelaXMPatternNote{}))
                ++used;
        std::printf("  %3zu: %3d rows x %d channels, %d cells used%s%s\n", i, pattern.Rows, pattern.Channels, used,
            pattern.Name.empty() ? "" : "  ", pattern.Name.c_str());
    }
}

void printSample(int32_t number, const TVelaXMSample& sample)
{
    std::printf("      sample %d: %d frames, %d-bit %s%s, vol %d, pan %d, rel %d, fine %d", number, sample.Length,
        sample.Bits, sample.Channels == 2 ? "stereo" : "mono", sample.ADPCM ? " adpcm" : "", sample.Volume,
        sample.Panning, sample.RelativeNote, sample.Finetune);
    if (sample.Loop)
        std::printf(
            ", %s loop %d+%d", sample.PingPongLoop ? "ping-pong" : "forward", sample.LoopStart, sample.LoopLength);
    std::printf("%s%s\n", sample.Name.empty() ? "" : "  ", sample.Name.c_str());
}

void printInstruments(const TVelaXMModule& module)
{
    for (size_t i = 1; i < module.Instruments.size(); ++i) {
        const TVelaXMInstrument* instrument = module.Instruments[i].get();
        if (instrument == nullptr)
            continue;
        int32_t samples = 0;
        for (const auto& sample : instrument->Samples)
            if (sample)
                ++samples;
        std::printf("  instrument %zu: \"%s\", %d samples, fadeout %d, vol env %s (%d pts), pan env %s (%d pts), "
                    "vibrato %d/%d/%d/%d\n",
            i, instrument->Name.c_str(), samples, instrument->Fadeout,
            instrument->VolumeEnvelope.Enabled ? "on" : "off", instrument->VolumeEnvelope.NumPoints,
            instrument->PanningEnvelope.Enabled ? "on" : "off", instrument->PanningEnvelope.NumPoints,
            instrument->VibratoType, instrument->VibratoSweep, instrument->VibratoDepth, instrument->VibratoRate);
        for (size_t s = 0; s < instrument->Samples.size(); ++s)
            if (instrument->Samples[s])
                printSample(static_cast<int32_t>(s), *instrument->Samples[s]);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments;
    switch (ParseCommandLine(argc, argv, kTool, {}, arguments)) {
    case TParseResult::Exit:
        return 0;
    case TParseResult::Error:
        return 2;
    case TParseResult::Run:
        break;
    }
    if (arguments.size() != 1) {
        PrintError(kTool, arguments.empty() ? "no module given (see --help)" : "too many arguments (see --help)");
        return 2;
    }
    const std::string& path = arguments[0];
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadInputFile(path, kMaxModuleBytes, bytes, error)) {
        PrintError(kTool, path + ": " + error);
        return 1;
    }
    TVelaXMModule module;
    if (!module.Load(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
        PrintError(kTool, path + " is not a loadable XM or MOD module (" + std::to_string(bytes.size()) + " bytes)");
        return 1;
    }
    printHeader(module);
    printOrders(module);
    printPatterns(module);
    std::printf("instruments:\n");
    printInstruments(module);
    return 0;
}

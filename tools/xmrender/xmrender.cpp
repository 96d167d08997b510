// xmrender [OPTION]... INPUT [OUTPUT]: renders an XM or MOD module once through
// to a 44100 Hz 16-bit stereo WAV file, or plays it through the sound card.
#include "CommandLine.h"
#include "InputFile.h"
#include "RenderSession.h"
#include "SoundCardPlayback.h"
#include "WavWriter.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Longer than any song, and small enough that every count of frames fits.
constexpr double kMaxSeconds = 24 * 3600.0;

const TToolDescription kTool = {
    "xmrender",
    "INPUT [OUTPUT]",
    "Renders an XM or MOD module once through to a 44100 Hz 16-bit stereo WAV file\n"
    "(OUTPUT, or - for standard output), or plays it through the sound card when no\n"
    "OUTPUT is given.",
    "The song ends when its order list runs out or when it comes back to a row it has\n"
    "already played (see --repeats); looping samples then ring for at most the --decay\n"
    "time. Inputs larger than 128 MiB are refused.\n",
};

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

std::vector<TOption> optionTable(TRenderSettings& settings)
{
    return {
        {'i', "interpolation", "0..3", "0 none, 1 linear, 2 cubic spline (default), 3 windowed FIR",
         [&settings](const char* value) { return ReadInteger(value, 0, 3, settings.interpolation); }},
        {'t', "time", "SECONDS", "stop after this many seconds (default 600)",
         [&settings](const char* value) { return ReadSeconds(value, kMaxSeconds, settings.maxSeconds); }},
        {'d', "decay", "SECONDS", "after the song's end, let notes ring at most this long (default 10)",
         [&settings](const char* value) { return ReadSeconds(value, kMaxSeconds, settings.decaySeconds); }},
        {'a', "amplification", "0..256", "mix amplification, 256 = full voice gain (default 128)",
         [&settings](const char* value) { return ReadInteger(value, 0, 256, settings.amplification); }},
    };
}

int renderToWav(TRenderSession& session, const std::string& input, const std::string& output)
{
    WavWriter wav;
    if (!wav.Open(output, TRenderSession::kRate, 2)) {
        PrintError(kTool, "cannot write " + output + ": " + std::strerror(errno));
        return 1;
    }
    std::vector<int16_t> block(TRenderSession::kBlockFrames * 2);
    while (session.NextBlock(block.data())) {
        if (!wav.Write(block.data(), block.size()) || interrupted != 0)
            break;
    }
    if (!wav.Close() || interrupted != 0) {
        PrintError(kTool, interrupted != 0 ? "interrupted" : "cannot write " + output);
        return 1;
    }
    const int64_t songFrames = session.SongEndFrame() < 0 ? session.Frames() : session.SongEndFrame();
    // Standard output may carry the WAV itself.
    std::fprintf(output == "-" ? stderr : stdout, "%s: song %.3f seconds, rendered %.3f seconds%s\n", input.c_str(),
                 static_cast<double>(songFrames) / TRenderSession::kRate,
                 static_cast<double>(session.Frames()) / TRenderSession::kRate,
                 session.Limited() ? " (time limit reached)" : "");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    TRenderSettings settings;
    std::vector<std::string> arguments;
    switch (ParseCommandLine(argc, argv, kTool, optionTable(settings), arguments)) {
    case TParseResult::Exit:
        return 0;
    case TParseResult::Error:
        return 2;
    case TParseResult::Run:
        break;
    }
    if (arguments.empty() || arguments.size() > 2) {
        PrintError(kTool, arguments.empty() ? "no module given (see --help)" : "too many arguments (see --help)");
        return 2;
    }
    const std::string& input = arguments[0];
    const std::string output = arguments.size() == 2 ? arguments[1] : "";
    if (!output.empty() && output != "-" && IsSameFile(input, output)) {
        PrintError(kTool, output + " is the input module; choose another output");
        return 2;
    }
    std::vector<uint8_t> image;
    std::string error;
    if (!ReadInputFile(input, kMaxModuleBytes, image, error)) {
        PrintError(kTool, input + ": " + error);
        return 1;
    }
    TRenderSession session(settings);
    if (!session.Load(image)) {
        PrintError(kTool, input + " is not a loadable XM or MOD module");
        return 1;
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    if (!output.empty())
        return renderToWav(session, input, output);
    if (!PlayThroughSoundCard(session, interrupted, error)) {
        PrintError(kTool, error);
        return 1;
    }
    return interrupted != 0 ? 130 : 0;
}

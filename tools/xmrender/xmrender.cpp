// xmrender [OPTION]... INPUT [OUTPUT]: renders an XM or MOD module once through
// to a 44100 Hz 16-bit stereo WAV (or raw) file, or plays it through the sound
// card; with --play, plays several modules in a row.
#include "ChannelChoice.h"
#include "CommandLine.h"
#include "InputFile.h"
#include "PcmWriter.h"
#include "RenderSession.h"
#include "SoundCardPlayback.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// Longer than any song, and small enough that every count of frames fits.
constexpr double kMaxSeconds = 24 * 3600.0;

const TToolDescription kTool = {
    "xmrender",
    "INPUT [OUTPUT]  or  --play INPUT...",
    "Renders an XM or MOD module once through to a 44100 Hz 16-bit stereo WAV file\n"
    "(OUTPUT, or - for standard output), or plays it through the sound card when no\n"
    "OUTPUT is given; --play plays every INPUT in a row (Enter or n: next song).",
    "The song ends when it comes back to a row it has already played, by a jump or at\n"
    "the end of its order list (see --repeats); looping samples then ring for at most\n"
    "the --decay time. Channels are numbered from 1. Inputs larger than 128 MiB are\n"
    "refused.\n",
};

// What the command line asks for beyond how each song is rendered.
struct TRequest {
    TRenderSettings settings;
    TChannelChoice channels;
    bool raw = false;      // headerless output instead of WAV
    bool playlist = false; // every argument is a module to play
};

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

std::string readFormat(const char* value, bool& raw)
{
    const std::string format = value;
    if (format != "wav" && format != "raw")
        return "takes wav or raw, not '" + format + "'";
    raw = format == "raw";
    return "";
}

std::vector<TOption> optionTable(TRequest& request)
{
    TRenderSettings& settings = request.settings;
    return {
        {'i', "interpolation", "0..3", "0 none, 1 linear, 2 cubic spline (default), 3 windowed FIR",
         [&settings](const char* value) { return ReadInteger(value, 0, 3, settings.interpolation); }},
        {'t', "time", "SECONDS", "stop after this many seconds (default 600)",
         [&settings](const char* value) { return ReadSeconds(value, kMaxSeconds, settings.maxSeconds); }},
        {'d', "decay", "SECONDS", "after the song's end, let notes ring at most this long (default 10)",
         [&settings](const char* value) { return ReadSeconds(value, kMaxSeconds, settings.decaySeconds); }},
        {'a', "amplification", "0..256", "mix amplification, 256 = full voice gain (default 128)",
         [&settings](const char* value) { return ReadInteger(value, 0, 256, settings.amplification); }},
        {'r', "repeats", "1..1000", "play the song this many times (default 1)",
         [&settings](const char* value) { return ReadInteger(value, 1, 1000, settings.repeats); }},
        {'f', "format", "wav|raw", "OUTPUT as WAV (default) or raw 16-bit little-endian stereo",
         [&request](const char* value) { return readFormat(value, request.raw); }},
        {0, "solo", "LIST", "hear only these channels, e.g. 1,3,5-7",
         [&request](const char* value) { return ReadChannelList(value, request.channels.solo); }},
        {0, "mute", "LIST", "silence these channels",
         [&request](const char* value) { return ReadChannelList(value, request.channels.mute); }},
        {'p', "play", nullptr, "play every INPUT through the sound card, one after another",
         [&request](const char*) {
             request.playlist = true;
             return std::string();
         }},
    };
}

int renderToFile(TRenderSession& session, const std::string& input, const std::string& output, bool raw)
{
    PcmWriter writer;
    if (!writer.Open(output, TRenderSession::kRate, 2, !raw)) {
        PrintError(kTool, "cannot write " + output + ": " + std::strerror(errno));
        return 1;
    }
    std::vector<int16_t> block(TRenderSession::kBlockFrames * 2);
    while (session.NextBlock(block.data())) {
        if (!writer.Write(block.data(), block.size()) || interrupted != 0)
            break;
    }
    if (!writer.Close() || interrupted != 0) {
        PrintError(kTool, interrupted != 0 ? "interrupted" : "cannot write " + output);
        return 1;
    }
    const int64_t songFrames = session.SongEndFrame() < 0 ? session.Frames() : session.SongEndFrame();
    // Standard output may carry the samples themselves.
    std::fprintf(output == "-" ? stderr : stdout, "%s: song %.3f seconds, rendered %.3f seconds%s\n", input.c_str(),
                 static_cast<double>(songFrames) / TRenderSession::kRate,
                 static_cast<double>(session.Frames()) / TRenderSession::kRate,
                 session.Limited() ? " (time limit reached)" : "");
    return 0;
}

// Reads and loads one module with the channel choice; an exit code (1 bad input,
// 2 a channel the module lacks) with its message printed, or 0.
int loadSession(const TRequest& request, const std::string& input, std::unique_ptr<TRenderSession>& session)
{
    std::vector<uint8_t> image;
    std::string error;
    if (!ReadInputFile(input, kMaxModuleBytes, image, error)) {
        PrintError(kTool, input + ": " + error);
        return 1;
    }
    session = std::make_unique<TRenderSession>(request.settings);
    if (!session->Load(image)) {
        PrintError(kTool, input + " is not a loadable XM or MOD module");
        return 1;
    }
    error = session->ChooseChannels(request.channels);
    if (!error.empty()) {
        PrintError(kTool, input + " " + error);
        return 2;
    }
    return 0;
}

// Plays the inputs one after another; every input is loaded first, so a bad
// one is reported before any sound.
int playAll(const TRequest& request, const std::vector<std::string>& inputs)
{
    std::vector<std::unique_ptr<TRenderSession>> sessions(inputs.size());
    for (size_t i = 0; i < inputs.size(); ++i)
        if (const int code = loadSession(request, inputs[i], sessions[i]); code != 0)
            return code;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string title =
            inputs.size() > 1 ? "[" + std::to_string(i + 1) + "/" + std::to_string(inputs.size()) + "] " + inputs[i]
                              : "";
        std::string error;
        switch (PlayThroughSoundCard(*sessions[i], title, interrupted, error)) {
        case TPlaybackEnd::Failed:
            PrintError(kTool, error);
            return 1;
        case TPlaybackEnd::Stopped:
            return 130;
        case TPlaybackEnd::Finished:
        case TPlaybackEnd::Skipped:
            break;
        }
        sessions[i].reset(); // a played song's memory goes back before the next one plays
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    TRequest request;
    std::vector<std::string> arguments;
    switch (ParseCommandLine(argc, argv, kTool, optionTable(request), arguments)) {
    case TParseResult::Exit:
        return 0;
    case TParseResult::Error:
        return 2;
    case TParseResult::Run:
        break;
    }
    if (arguments.empty() || (arguments.size() > 2 && !request.playlist)) {
        PrintError(kTool, arguments.empty() ? "no module given (see --help)" : "too many arguments (see --help)");
        return 2;
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    if (request.playlist || arguments.size() == 1)
        return playAll(request, arguments);
    const std::string& input = arguments[0];
    const std::string& output = arguments[1];
    if (output != "-" && IsSameFile(input, output)) {
        PrintError(kTool, output + " is the input module; choose another output");
        return 2;
    }
    std::unique_ptr<TRenderSession> session;
    if (const int code = loadSession(request, input, session); code != 0)
        return code;
    return renderToFile(*session, input, output, request.raw);
}

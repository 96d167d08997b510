// xmrender [options] INPUT OUTPUT.wav: renders a module once through to a
// 44100 Hz 16-bit stereo WAV file and prints the song's length.
#include "VelaXM/VelaXM.h"
#include "WavWriter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 1024;

struct Options {
    int interpolation = 2;
    double maxSeconds = 600.0;
    double decaySeconds = 10.0;
    int amplification = 128;
    int repeats = 1;
    std::string input;
    std::string output;
};

void usage()
{
    std::fprintf(stderr,
        "usage: xmrender [-i 0|1|2|3] [-t SECONDS] [-d SECONDS] [-a 0..256] [-r TIMES] INPUT OUTPUT.wav\n"
        "  -i  interpolation: 0 none, 1 linear, 2 cubic spline (default), 3 windowed FIR\n"
        "  -t  stop after this many seconds (default 600)\n"
        "  -d  after the song ends, let notes ring for at most this long (default 10)\n"
        "  -a  mix amplification, 256 = full voice gain (default 128)\n"
        "  -r  play the song this many times; it ends when it comes back to a row it played (default 1)\n");
}

bool parse(int argc, char** argv, Options& options)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "-i" || arg == "-t" || arg == "-d" || arg == "-a" || arg == "-r") && i + 1 < argc) {
            char* end = nullptr;
            const double value = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != 0)
                return false;
            if (arg == "-i") {
                if (value < 0 || value > 3 || value != static_cast<int>(value))
                    return false;
                options.interpolation = static_cast<int>(value);
            } else if (arg == "-r") {
                if (value < 1 || value > 1000 || value != static_cast<int>(value))
                    return false;
                options.repeats = static_cast<int>(value);
            } else if (arg == "-a") {
                if (value < 0 || value > 256)
                    return false;
                options.amplification = static_cast<int>(value);
            } else {
                if (value < 0)
                    return false;
                (arg == "-t" ? options.maxSeconds : options.decaySeconds) = value;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2)
        return false;
    options.input = positional[0];
    options.output = positional[1];
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options)) {
        usage();
        return 2;
    }
    std::ifstream in(options.input, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "xmrender: cannot open %s\n", options.input.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TVelaXM player(kRate, 0, 16, 0, true, 1, kBlock);
    if (bytes.size() > 0xFFFFFFFFu || !player.Module->Load(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
        std::fprintf(stderr, "xmrender: %s is not a loadable XM or MOD module\n", options.input.c_str());
        return 1;
    }
    player.Module->MixAmplification = options.amplification;
    player.LoopSong = true;
    player.EndAfterRepeats = options.repeats;
    player.Interpolation = static_cast<uint8_t>(options.interpolation);
    WavWriter wav;
    if (!wav.Open(options.output, kRate, 2)) {
        std::fprintf(stderr, "xmrender: cannot write %s\n", options.output.c_str());
        return 1;
    }
    player.Play();
    std::vector<int16_t> block(static_cast<size_t>(kBlock) * 2);
    const int64_t maxFrames = static_cast<int64_t>(options.maxSeconds * kRate);
    const int64_t decayFrames = static_cast<int64_t>(options.decaySeconds * kRate);
    int64_t frames = 0;
    int64_t songEndFrame = -1;
    bool limited = false;
    while (true) {
        player.Render();
        player.ConvertOutput(block.data());
        if (!wav.Write(block.data(), block.size())) {
            std::fprintf(stderr, "xmrender: cannot write %s\n", options.output.c_str());
            return 1;
        }
        frames += kBlock;
        if (songEndFrame < 0 && player.Module->SongEnded)
            songEndFrame = frames;
        // Looping samples without a key-off would ring forever: the decay is bounded.
        if (player.Module->SongEnded && (player.ActiveVoices == 0 || frames - songEndFrame >= decayFrames))
            break;
        if (frames >= maxFrames) {
            limited = true;
            break;
        }
    }
    if (!wav.Close()) {
        std::fprintf(stderr, "xmrender: cannot write %s\n", options.output.c_str());
        return 1;
    }
    std::printf("%s: song %.3f seconds, rendered %.3f seconds%s\n", options.input.c_str(),
        static_cast<double>(songEndFrame < 0 ? frames : songEndFrame) / kRate, static_cast<double>(frames) / kRate,
        limited ? " (time limit reached)" : "");
    return 0;
}

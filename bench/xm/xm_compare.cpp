// Equal-work render speed of ours against libopenmpt and libxmp over a folder
// of modules: every renderer turns the same number of frames of each song
// (its first pass, cut at 180 s, looping if a renderer finds it shorter) into
// 44.1 kHz 16-bit stereo in 1024-frame blocks, on one pinned core, with the
// renderers interleaved per file so that load drifts hit them alike. Prints
// markdown tables: the median x-realtime of each renderer, and per pairing of
// ours with a peer at the matching interpolation the median and worst ratio.
//
//   bench_xm_render [--corpus DIR] [--seconds 180] [--repeat 3] [--cpu N] [--files] [--ours]
#include "BenchCorpus.h"
#include "Renderers.h"

#include <sched.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

using namespace xmbench;

namespace {

struct Options {
    std::string corpus = QUAVERO_CORPUS_DIR "/modules";
    double seconds = 180.0;
    int repeat = 3;
    int cpu = -1; // -1: the last core, unless the process is pinned already
    bool perFile = false;
    bool oursOnly = false; // for profiling ours alone
};

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--corpus" && hasValue)
            options.corpus = argv[++i];
        else if (arg == "--seconds" && hasValue)
            options.seconds = std::atof(argv[++i]);
        else if (arg == "--repeat" && hasValue)
            options.repeat = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--cpu" && hasValue)
            options.cpu = std::atoi(argv[++i]);
        else if (arg == "--files")
            options.perFile = true;
        else if (arg == "--ours")
            options.oursOnly = true;
        else {
            std::fprintf(stderr, "usage: %s [--corpus DIR] [--seconds S] [--repeat N] [--cpu N] [--files] [--ours]\n",
                         argv[0]);
            std::exit(2);
        }
    }
    return options;
}

// One core for the whole run: no migrations, and the other core keeps the rest of the machine's load.
int pinToOneCore(int requested)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    sched_getaffinity(0, sizeof set, &set);
    if (requested < 0 && CPU_COUNT(&set) == 1) {
        for (int c = 0; c < CPU_SETSIZE; ++c)
            if (CPU_ISSET(c, &set))
                return c;
    }
    int cpu = requested;
    if (cpu < 0)
        for (int c = 0; c < CPU_SETSIZE; ++c)
            if (CPU_ISSET(c, &set))
                cpu = c;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    return sched_setaffinity(0, sizeof set, &set) == 0 ? cpu : -1;
}

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// CPU seconds to render the blocks, or a negative value when the renderer refuses the song.
double timeRender(const RendererKind& kind, const Song& song, int64_t blocks)
{
    std::unique_ptr<Renderer> renderer = kind.make();
    if (!renderer->open(song))
        return -1.0;
    static int16_t block[2 * kBlockFrames];
    const double start = threadSeconds();
    for (int64_t b = 0; b < blocks; ++b)
        renderer->render(block);
    return threadSeconds() - start;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::string processorName()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line))
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    return "unknown processor";
}

struct Results {
    std::vector<RendererKind> kinds;
    std::vector<std::string> songs;
    std::vector<double> seconds;          // per song: song seconds rendered
    std::vector<std::vector<double>> cpu; // [kind][song]: best CPU seconds, < 0 when refused
    double speed(size_t kind, size_t song) const { return cpu[kind][song] > 0 ? seconds[song] / cpu[kind][song] : 0; }
};

Results measure(const Options& options, const std::vector<Song>& songs)
{
    Results results;
    results.kinds = ourRenderers();
    if (!options.oursOnly)
        for (RendererKind& peer : peerRenderers())
            results.kinds.push_back(std::move(peer));
    results.cpu.assign(results.kinds.size(), std::vector<double>(songs.size(), std::numeric_limits<double>::max()));
    const auto maxFrames = static_cast<int64_t>(options.seconds * kRate);
    for (size_t s = 0; s < songs.size(); ++s) {
        const int64_t blocks = (songFrames(songs[s], maxFrames) + kBlockFrames - 1) / kBlockFrames;
        results.songs.push_back(songs[s].name);
        results.seconds.push_back(static_cast<double>(blocks * kBlockFrames) / kRate);
        std::fprintf(stderr, "[%zu/%zu] %s, %.1f s\n", s + 1, songs.size(), songs[s].name.c_str(),
                     results.seconds.back());
        // The minimum of the repeats: noise from the rest of the machine only ever adds time.
        for (int r = 0; r < options.repeat; ++r)
            for (size_t k = 0; k < results.kinds.size(); ++k)
                results.cpu[k][s] = std::min(results.cpu[k][s], timeRender(results.kinds[k], songs[s], blocks));
    }
    return results;
}

void printSpeeds(const Results& results)
{
    std::printf("| renderer | interpolation | median x-realtime | files |\n|---|---|---|---|\n");
    for (size_t k = 0; k < results.kinds.size(); ++k) {
        std::vector<double> speeds;
        for (size_t s = 0; s < results.songs.size(); ++s)
            if (results.speed(k, s) > 0)
                speeds.push_back(results.speed(k, s));
        std::printf("| %s | %s | %.0f | %zu |\n", results.kinds[k].library.c_str(),
                    results.kinds[k].interpolation.c_str(), median(speeds), speeds.size());
    }
}

void printRatios(const Results& results, bool perFile)
{
    std::printf("\n| ours | against | median ratio | worst ratio | worst file | files below 1.0 |\n"
                "|---|---|---|---|---|---|\n");
    const size_t ours = ourRenderers().size();
    for (size_t p = ours; p < results.kinds.size(); ++p) {
        const size_t o = static_cast<size_t>(results.kinds[p].oursInterpolation);
        std::vector<double> ratios;
        double worst = std::numeric_limits<double>::max();
        std::string worstFile;
        int slower = 0;
        for (size_t s = 0; s < results.songs.size(); ++s) {
            if (results.speed(o, s) <= 0 || results.speed(p, s) <= 0)
                continue;
            const double ratio = results.speed(o, s) / results.speed(p, s);
            ratios.push_back(ratio);
            slower += ratio < 1.0;
            if (ratio < worst) {
                worst = ratio;
                worstFile = results.songs[s];
            }
            if (perFile)
                std::fprintf(stderr, "%s %s vs %s %s: %.2f\n", results.songs[s].c_str(),
                             results.kinds[o].interpolation.c_str(), results.kinds[p].library.c_str(),
                             results.kinds[p].interpolation.c_str(), ratio);
        }
        std::printf("| %s | %s %s | %.2f | %.2f | %s | %d of %zu |\n", results.kinds[o].interpolation.c_str(),
                    results.kinds[p].library.c_str(), results.kinds[p].interpolation.c_str(), median(ratios), worst,
                    worstFile.c_str(), slower, ratios.size());
    }
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);
    const std::vector<Song> songs = loadSongs(options.corpus);
    if (songs.empty()) {
        std::fprintf(stderr, "no .xm or .mod files under %s\n", options.corpus.c_str());
        return 1;
    }
    const int cpu = pinToOneCore(options.cpu);
    const Results results = measure(options, songs);

    char date[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
    std::printf("%s, %s, core %d; %zu modules, 44.1 kHz 16-bit stereo, 1024-frame blocks, songs cut at %.0f s, "
                "best of %d\n\n",
                date, processorName().c_str(), cpu, songs.size(), options.seconds, options.repeat);
    printSpeeds(results);
    printRatios(results, options.perFile);
    return 0;
}

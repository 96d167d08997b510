// Render speed in x-realtime (song seconds per CPU second, 44.1 kHz stereo,
// 1024-frame blocks) for each interpolation kind over the corpus, with
// libopenmpt and libxmp rendering the same songs as references, and the cost
// of one block of the game's heaviest load.
#include "VelaXM/VelaXM.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#if QUAVERO_HAVE_OPENMPT
#include <libopenmpt/libopenmpt.h>
#endif
#if QUAVERO_HAVE_XMP
#include <xmp.h>
#endif

namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 1024;
constexpr double kMaxSeconds = 180.0; // songs that jump back forever are cut here

using Bytes = std::vector<uint8_t>;

struct Song {
    std::string name;
    Bytes image;
};

const std::vector<Song>& corpus()
{
    static const std::vector<Song> songs = [] {
        std::vector<Song> list;
        for (const auto& entry : std::filesystem::directory_iterator(QUAVERO_CORPUS_DIR "/modules")) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".xm" && ext != ".mod")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            list.push_back({entry.path().filename().string(),
                Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>())});
        }
        std::sort(list.begin(), list.end(), [](const Song& a, const Song& b) { return a.name < b.name; });
        return list;
    }();
    return songs;
}

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Renders one song once through; returns (song seconds, CPU seconds).
std::pair<double, double> renderOurs(const Song& song, int interpolation)
{
    TVelaXM player(kRate, 0, 16, 0, true, 1, kBlock);
    if (!player.Module->Load(song.image.data(), static_cast<uint32_t>(song.image.size())))
        return {0, 0};
    player.Module->MixAmplification = 256;
    player.LoopSong = false;
    player.Interpolation = static_cast<uint8_t>(interpolation);
    player.Play();
    int64_t frames = 0;
    const double start = cpuSeconds();
    while (!player.Module->SongEnded && frames < kMaxSeconds * kRate) {
        player.Render();
        benchmark::DoNotOptimize(player.Mix.data());
        frames += kBlock;
    }
    return {static_cast<double>(frames) / kRate, cpuSeconds() - start};
}

#if QUAVERO_HAVE_OPENMPT
std::pair<double, double> renderOpenMPT(const Song& song)
{
    openmpt_module* mod = openmpt_module_create_from_memory2(
        song.image.data(), song.image.size(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (mod == nullptr)
        return {0, 0};
    openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, 4);
    std::vector<int16_t> buffer(2 * kBlock);
    int64_t frames = 0;
    const double start = cpuSeconds();
    while (frames < kMaxSeconds * kRate) {
        const size_t n = openmpt_module_read_interleaved_stereo(mod, kRate, kBlock, buffer.data());
        if (n == 0)
            break;
        frames += static_cast<int64_t>(n);
    }
    const double cpu = cpuSeconds() - start;
    openmpt_module_destroy(mod);
    return {static_cast<double>(frames) / kRate, cpu};
}
#endif

#if QUAVERO_HAVE_XMP
std::pair<double, double> renderXmp(const Song& song, int interpolation)
{
    xmp_context ctx = xmp_create_context();
    if (xmp_load_module_from_memory(ctx, song.image.data(), static_cast<long>(song.image.size())) != 0) {
        xmp_free_context(ctx);
        return {0, 0};
    }
    xmp_start_player(ctx, kRate, 0);
    xmp_set_player(ctx, XMP_PLAYER_INTERP, interpolation);
    std::vector<int16_t> buffer(2 * kBlock);
    int64_t frames = 0;
    const double start = cpuSeconds();
    while (frames < kMaxSeconds * kRate) {
        if (xmp_play_buffer(ctx, buffer.data(), static_cast<int>(buffer.size() * 2), 1) != 0)
            break;
        frames += kBlock;
    }
    const double cpu = cpuSeconds() - start;
    xmp_end_player(ctx);
    xmp_release_module(ctx);
    xmp_free_context(ctx);
    return {static_cast<double>(frames) / kRate, cpu};
}
#endif

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Reports the median x-realtime of a renderer over the corpus as a counter.
template <typename Render> void corpusSpeed(benchmark::State& state, Render render)
{
    std::vector<double> speeds;
    for (auto _ : state) {
        speeds.clear();
        for (const Song& song : corpus()) {
            const auto [seconds, cpu] = render(song);
            if (seconds > 0 && cpu > 0)
                speeds.push_back(seconds / cpu);
        }
    }
    state.counters["x_realtime_median"] = median(speeds);
    state.counters["songs"] = static_cast<double>(speeds.size());
}

void BM_Ours(benchmark::State& state)
{
    const int interpolation = static_cast<int>(state.range(0));
    corpusSpeed(state, [interpolation](const Song& song) { return renderOurs(song, interpolation); });
}
BENCHMARK(BM_Ours)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Iterations(1)->Unit(benchmark::kSecond);

#if QUAVERO_HAVE_OPENMPT
void BM_OpenMPTCubic(benchmark::State& state)
{
    corpusSpeed(state, renderOpenMPT);
}
BENCHMARK(BM_OpenMPTCubic)->Iterations(1)->Unit(benchmark::kSecond);
#endif

#if QUAVERO_HAVE_XMP
void BM_XmpSpline(benchmark::State& state)
{
    corpusSpeed(state, [](const Song& song) { return renderXmp(song, XMP_INTERP_SPLINE); });
}
BENCHMARK(BM_XmpSpline)->Iterations(1)->Unit(benchmark::kSecond);
void BM_XmpLinear(benchmark::State& state)
{
    corpusSpeed(state, [](const Song& song) { return renderXmp(song, XMP_INTERP_LINEAR); });
}
BENCHMARK(BM_XmpLinear)->Iterations(1)->Unit(benchmark::kSecond);
#endif

// The game's heaviest moment: one full track playing and its phrase player,
// measured as two full players of the largest corpus song (an upper bound),
// both at cubic-spline interpolation.
void BM_GameBlock(benchmark::State& state)
{
    const Song* track = nullptr;
    for (const Song& song : corpus())
        if (track == nullptr || song.image.size() > track->image.size())
            track = &song;
    TVelaXM full(kRate, 0, 16, 0, true, 1, kBlock), phrase(kRate, 0, 16, 0, true, 1, kBlock);
    for (TVelaXM* player : {&full, &phrase}) {
        player->Module->Load(track->image.data(), static_cast<uint32_t>(track->image.size()));
        player->Module->MixAmplification = 256;
        player->Interpolation = 2;
        player->Play();
    }
    // Skip the intro so that the full track is busy.
    for (int i = 0; i < 1000; ++i)
        full.Render();
    std::vector<int32_t> target(2 * kBlock);
    for (auto _ : state) {
        full.Render();
        phrase.Render();
        full.MixInto(target.data(), 4096);
        phrase.MixInto(target.data(), 4096);
        benchmark::DoNotOptimize(target.data());
    }
    state.counters["block_share_percent"]
        = benchmark::Counter(static_cast<double>(state.iterations()) * (kBlock / static_cast<double>(kRate)) / 100.0,
            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(track->name);
}
BENCHMARK(BM_GameBlock)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

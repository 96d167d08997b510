// What a player costs outside the song itself: constructing one (the game
// builds 14 at start-up), and one 1024-frame block of the game's heaviest load.
#include "BenchCorpus.h"

#include "VelaXM/VelaXM.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 1024;

const std::vector<xmbench::Song>& corpus()
{
    static const std::vector<xmbench::Song> songs = xmbench::loadSongs(QUAVERO_CORPUS_DIR "/modules");
    return songs;
}

// A player as the sound system creates one for a module slot.
void BM_CreatePlayer(benchmark::State& state)
{
    for (auto _ : state) {
        auto player = std::make_unique<TVelaXM>(kRate, true, kBlock);
        benchmark::DoNotOptimize(player.get());
    }
}
BENCHMARK(BM_CreatePlayer)->Unit(benchmark::kMicrosecond);

// The game's heaviest moment: one full track playing and its phrase player,
// measured as two full players of the largest corpus song (an upper bound),
// both at cubic-spline interpolation.
void BM_GameBlock(benchmark::State& state)
{
    const xmbench::Song* track = nullptr;
    for (const xmbench::Song& song : corpus())
        if (track == nullptr || song.image.size() > track->image.size())
            track = &song;
    if (track == nullptr) {
        state.SkipWithError("no corpus");
        return;
    }
    TVelaXM full(kRate, true, kBlock), phrase(kRate, true, kBlock);
    for (TVelaXM* player : {&full, &phrase}) {
        player->Module->Load(track->image.data(), static_cast<uint32_t>(track->image.size()));
        player->Module->MixAmplification = 256;
        player->Interpolation = velaxm::kCubic;
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
    state.counters["block_share_percent"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * (kBlock / static_cast<double>(kRate)) / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(track->name);
}
BENCHMARK(BM_GameBlock)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

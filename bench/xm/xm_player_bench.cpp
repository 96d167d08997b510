// What a player costs outside the song itself: constructing one (the game
// builds 14 at start-up), and one 1024-frame block of the game's heaviest load.
#include "BenchCorpus.h"
#include "GameBlock.h"

#include "VelaXM/VelaXM.h"

#include <benchmark/benchmark.h>

#include <memory>

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

// The game's heaviest moment (see GameBlock.h).
void BM_GameBlock(benchmark::State& state)
{
    xmbench::GameBlock block(corpus());
    if (!block.ready()) {
        state.SkipWithError("no corpus");
        return;
    }
    for (auto _ : state) {
        block.render();
        benchmark::DoNotOptimize(block.target());
    }
    state.counters["block_share_percent"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * (kBlock / static_cast<double>(kRate)) / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(block.songName());
}
BENCHMARK(BM_GameBlock)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

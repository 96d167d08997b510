// The game's heaviest block timed by a plain loop, so that the same program
// runs natively and, built with Emscripten, under node (Google Benchmark has
// no WebAssembly build here). The best of many short runs stands: on a shared
// machine some of them run undisturbed.
//
//   bench_xm_game_block [--corpus DIR] [--blocks N] [--runs N]
#include "GameBlock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string corpus = QUAVERO_CORPUS_DIR;
    int blocks = 10, runs = 500;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--corpus") == 0)
            corpus = argv[i + 1];
        else if (std::strcmp(argv[i], "--blocks") == 0)
            blocks = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::atoi(argv[i + 1]);
    }
    const std::vector<xmbench::Song> songs = xmbench::loadSongs(corpus + "/modules");
    xmbench::GameBlock block(songs);
    if (!block.ready() || blocks < 1 || runs < 1) {
        std::fprintf(stderr, "no module under %s/modules, or a bad count\n", corpus.c_str());
        return 1;
    }
    // The first blocks warm the caches and let a JIT engine compile the hot loop.
    int32_t keep = 0;
    for (int b = 0; b < 500; ++b) {
        block.render();
        keep ^= block.target()[b & 1023];
    }
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        for (int b = 0; b < blocks; ++b) {
            block.render();
            keep ^= block.target()[b & 1023];
        }
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / blocks);
    }
    const double blockMicros = 1e6 * xmbench::kGameBlockFrames / xmbench::kGameRate;
    std::printf("game block: %.2f us per %d-frame block (%.3f %% of its %.1f ms), %s, best of %d x %d blocks [%d]\n",
                best, xmbench::kGameBlockFrames, 100.0 * best / blockMicros, blockMicros / 1000.0,
                block.songName().c_str(), runs, blocks, keep & 1);
    return 0;
}

#pragma once

// The module renderers compared by the benchmark: ours and, when installed,
// libopenmpt and libxmp, each at one interpolation, all producing the same
// 44.1 kHz interleaved 16-bit stereo blocks.
#include "BenchCorpus.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace xmbench {

constexpr int kRate = 44100;
constexpr int kBlockFrames = 1024;

// One song loaded into one renderer.
class Renderer {
public:
    virtual ~Renderer() = default;
    // Loads the song to play in a loop; false when the renderer refuses it.
    virtual bool open(const Song& song) = 0;
    // Renders the next kBlockFrames frames into out (2 x kBlockFrames values).
    virtual void render(int16_t* out) = 0;
};

// A renderer at one interpolation, with the interpolation of ours it is held against.
struct RendererKind {
    std::string library;       // "VelaXM", "libopenmpt", "libxmp"
    std::string interpolation; // the library's own name for it
    int oursInterpolation = 0; // 0 none, 1 linear, 2 cubic, 3 FIR
    std::function<std::unique_ptr<Renderer>()> make;
};

// Our four interpolations.
std::vector<RendererKind> ourRenderers();
// The peers that were built in (none when their libraries are missing).
std::vector<RendererKind> peerRenderers();

} // namespace xmbench

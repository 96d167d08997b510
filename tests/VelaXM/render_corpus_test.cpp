// Every real module renders to its end with every interpolation kind.
#include "CorpusModules.h"
#include "VelaXM/PlayerHelpers.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr int32_t kRate = 44100;
// Songs that jump back never end; the longest corpus song that does end lasts under 6 minutes.
constexpr int64_t kMaxSongFrames = int64_t(6) * 60 * kRate;
// Looped samples that are never keyed off ring on after the last row; a few
// seconds of that are enough to exercise the decay.
constexpr int64_t kMaxDecayFrames = int64_t(3) * kRate;

struct RenderResult {
    double songSeconds = 0;
    bool ended = false; // the order list ran out (songs that jump back never end)
    int32_t peak = 0;
};

RenderResult renderToEnd(const xmtest::Bytes& image, int interpolation)
{
    TVelaXM player(kRate, 0, 16, 0, true, 1, 1024);
    RenderResult result;
    if (!player.Module->Load(image.data(), static_cast<uint32_t>(image.size())))
        return result;
    player.Module->MixAmplification = 256;
    player.LoopSong = false;
    player.Interpolation = static_cast<uint8_t>(interpolation);
    player.Play();
    int64_t frames = 0, endFrame = -1;
    while (frames < kMaxSongFrames) {
        player.Render();
        for (int32_t v : player.Mix)
            result.peak = std::max(result.peak, std::abs(v >> 12));
        frames += player.BufferFrames;
        if (player.Module->SongEnded && endFrame < 0)
            endFrame = frames;
        if (endFrame >= 0 && (player.ActiveVoices == 0 || frames - endFrame >= kMaxDecayFrames))
            break;
    }
    result.ended = endFrame >= 0;
    result.songSeconds = static_cast<double>(endFrame) / kRate;
    return result;
}

} // namespace

TEST(RenderCorpusFiles, ArePresent) { EXPECT_EQ(corpus::MissingMessage(), ""); }

class RenderCorpus : public testing::TestWithParam<std::tuple<int, std::filesystem::path>> { };
// Without the corpus there is nothing to instantiate; the test above says why.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RenderCorpus);

TEST_P(RenderCorpus, RendersToItsEnd)
{
    const auto& [interpolation, path] = GetParam();
    std::ifstream in(path, std::ios::binary);
    const xmtest::Bytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const RenderResult r = renderToEnd(image, interpolation);
    EXPECT_GT(r.peak, 0) << path;
    if (r.ended)
        std::printf("  %-48s %8.2f s  peak %6d\n", path.filename().c_str(), r.songSeconds, r.peak);
    else
        std::printf("  %-48s  loops by itself (stopped after %lld min)\n", path.filename().c_str(),
            static_cast<long long>(kMaxSongFrames / kRate / 60));
}

INSTANTIATE_TEST_SUITE_P(Corpus, RenderCorpus,
    testing::Combine(testing::Values(0, 1, 2, 3), testing::ValuesIn(corpus::Modules())),
    [](const testing::TestParamInfo<RenderCorpus::ParamType>& info) {
        std::string name
            = "i" + std::to_string(std::get<0>(info.param)) + "_" + std::get<1>(info.param).stem().string();
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

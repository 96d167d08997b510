// Real modules render exactly as they did: the first 30 s of each at every
// interpolation and, in the plain build, each whole song at cubic, compared
// with the fingerprints in corpus_fingerprints.txt. After a change meant to
// alter the output, rewrite the file with the plain build and review its diff:
//   QUAVERO_REGENERATE=1 build/tests/VelaXM/velaxm_render_test
#include "CorpusModules.h"
#include "VelaXM/PlayerHelpers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

constexpr int32_t kRate = 44100;
constexpr int32_t kWindowBlocks = 215; // blocks of 1024 frames: about 5 s
constexpr int32_t kPrefixWindows = 6;
// A song ends when it comes back to a row it played (the longest in the corpus after
// 6.5 minutes); one that never does stops after 8 minutes.
constexpr int64_t kMaxSongFrames = int64_t(8) * 60 * kRate;
// Looped samples never keyed off ring on after the last row; a few seconds of their decay are enough.
constexpr int64_t kMaxDecayFrames = int64_t(3) * kRate;

const std::string kGoldenPath = std::string(QUAVERO_SOURCE_DIR) + "/tests/VelaXM/corpus_fingerprints.txt";

// The golden file: its comment lines as they stand, and MODULE KIND -> fingerprint.
struct Golden {
    std::string comments;
    std::map<std::string, std::string> prints;
};

Golden& golden()
{
    static Golden file = [] {
        Golden read;
        std::ifstream in(kGoldenPath);
        std::string line, module, kind, print;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            if (line.starts_with('#'))
                read.comments += line + "\n";
            else if (fields >> module >> kind && std::getline(fields >> std::ws, print))
                read.prints[module + " " + kind] = print;
        }
        return read;
    }();
    return file;
}

void expectGolden(const std::string& key, const std::string& print)
{
    if (std::getenv("QUAVERO_REGENERATE") != nullptr) {
        golden().prints[key] = print;
        std::ofstream out(kGoldenPath);
        out << golden().comments;
        for (const auto& [name, value] : golden().prints)
            out << name << " " << value << "\n";
        return;
    }
    const auto found = golden().prints.find(key);
    ASSERT_NE(found, golden().prints.end()) << key << " has no fingerprint; see " << kGoldenPath;
    EXPECT_EQ(print, found->second) << key << " no longer renders as it did; if that is meant, see " << kGoldenPath;
}

// FNV-1a over every mix value, so that one unit anywhere tells, and the peak for a reader.
struct Fingerprint {
    uint32_t hash = 2166136261u;
    int32_t peak = 0;

    void add(const std::vector<int32_t>& mix)
    {
        for (const int32_t v : mix) {
            hash = (hash ^ static_cast<uint32_t>(v)) * 16777619u;
            peak = std::max(peak, std::abs(v >> 12));
        }
    }
};

std::string text(const Fingerprint& print, const char* before = "")
{
    char s[48];
    std::snprintf(s, sizeof s, "%s%08x:%d", before, print.hash, print.peak);
    return s;
}

std::unique_ptr<TVelaXM> startPlayer(const std::filesystem::path& path, int interpolation)
{
    auto player = xmtest::makePlayer(corpus::Read(path));
    player->Interpolation = velaxm::InterpolationFromNumber(interpolation);
    player->EndAfterRepeats = 1;
    player->Play();
    return player;
}

std::string renderPrefix(const std::filesystem::path& path, int interpolation)
{
    const auto player = startPlayer(path, interpolation);
    std::string windows;
    for (int32_t w = 0; w < kPrefixWindows; ++w) {
        Fingerprint print;
        for (int32_t b = 0; b < kWindowBlocks; ++b) {
            player->Render();
            print.add(player->Mix);
        }
        windows += text(print, w == 0 ? "" : " ");
    }
    return windows;
}

std::string renderWholeSong(const std::filesystem::path& path)
{
    const auto player = startPlayer(path, 2);
    Fingerprint print;
    int64_t frames = 0, endFrame = -1;
    while (frames < kMaxSongFrames &&
           (endFrame < 0 || (player->ActiveVoices() > 0 && frames - endFrame < kMaxDecayFrames))) {
        player->Render();
        print.add(player->Mix);
        frames += player->BufferFrames;
        if (player->Module->SongEnded && endFrame < 0)
            endFrame = frames;
    }
    char length[32];
    std::snprintf(length, sizeof length, endFrame < 0 ? "endless " : "%.2fs ", double(endFrame) / kRate);
    return text(print, length);
}

// What a case renders: the first 30 s at interpolation 0..3, or the whole song at cubic,
// which only the plain build does (under the sanitizers or node it takes minutes).
constexpr int kWholeSong = -1;
#ifdef QUAVERO_PREFIXES_ONLY
const auto kKinds = testing::Values(0, 1, 2, 3);
#else
const auto kKinds = testing::Values(0, 1, 2, 3, kWholeSong);
#endif

std::string kindName(int kind) { return kind == kWholeSong ? "whole" : "i" + std::to_string(kind); }

} // namespace

TEST(RenderCorpusFiles, ArePresent) { EXPECT_EQ(corpus::MissingMessage(), ""); }

class RenderCorpus : public testing::TestWithParam<std::tuple<int, std::filesystem::path>> {};
// Without the corpus there is nothing to instantiate; the test above says why.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RenderCorpus);

TEST_P(RenderCorpus, RendersAsBefore)
{
    const auto& [kind, path] = GetParam();
    expectGolden(path.filename().string() + " " + kindName(kind),
                 kind == kWholeSong ? renderWholeSong(path) : renderPrefix(path, kind));
}

INSTANTIATE_TEST_SUITE_P(Corpus, RenderCorpus, testing::Combine(kKinds, testing::ValuesIn(corpus::Modules())),
                         [](const testing::TestParamInfo<RenderCorpus::ParamType>& info) {
                             std::string name =
                                 kindName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).stem().string();
                             std::replace_if(
                                 name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

// Real modules written by others load into a consistent model.
#include "CorpusModules.h"
#include "VelaXM/LoadHelpers.h"

#include <gtest/gtest.h>

namespace {

void expectConsistent(const TVelaXMModule& m, const std::string& name)
{
    EXPECT_GE(m.NumChannels, 1) << name;
    EXPECT_LE(m.NumChannels, 255) << name;
    EXPECT_GE(m.SongLength, 1) << name;
    int32_t playable = 0;
    for (int32_t i = 0; i < m.SongLength && i < 256; ++i) {
        const TVelaXMPattern& p = m.Patterns[m.Orders[i]];
        if (p.Rows == 0)
            continue; // songs may name a pattern the file lacks; the sequencer skips it
        ++playable;
        EXPECT_EQ(p.Channels, m.NumChannels) << name;
        EXPECT_EQ(p.Notes.size(), static_cast<size_t>(p.Rows + 1) * p.Channels) << name;
    }
    EXPECT_GT(playable, 0) << name;
    for (const auto& instrument : m.Instruments) {
        if (!instrument)
            continue;
        for (const auto& s : instrument->Samples) {
            if (!s)
                continue;
            EXPECT_EQ(s->Data.size(), static_cast<size_t>(s->Length) * s->Channels + 16) << name;
            if (s->Loop) {
                EXPECT_GE(s->LoopStart, 0) << name;
                EXPECT_GT(s->LoopLength, 0) << name;
                EXPECT_LE(int64_t(s->LoopStart) + s->LoopLength, s->Length) << name;
            }
        }
        for (const TVelaXMEnvelope* env : {&instrument->VolumeEnvelope, &instrument->PanningEnvelope})
            EXPECT_LE(env->NumPoints, 12) << name;
    }
}

} // namespace

TEST(LoaderCorpus, EveryModuleLoadsConsistently)
{
    ASSERT_EQ(corpus::MissingMessage(), "");
    const auto files = corpus::Modules();
    for (const auto& path : files) {
        const xmtest::Bytes image = corpus::Read(path);
        bool ok = false;
        auto m = xmtest::load(image, &ok);
        ASSERT_TRUE(ok) << path;
        expectConsistent(*m, path.filename().string());
    }
}

TEST(LoaderCorpus, TruncatedCorpusImagesNeverBreakTheModel)
{
    // Cutting a real file anywhere yields either a failed load or a consistent model.
    const auto files = corpus::Modules();
    ASSERT_FALSE(files.empty()) << corpus::MissingMessage();
    const xmtest::Bytes image = corpus::Read(files.front());
    for (size_t cut = 300; cut < image.size(); cut += image.size() / 37) {
        xmtest::Bytes truncated(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(cut));
        bool ok = false;
        auto m = xmtest::load(truncated, &ok);
        EXPECT_EQ(m->Loaded, ok);
        if (ok)
            expectConsistent(*m, "cut at " + std::to_string(cut));
    }
}

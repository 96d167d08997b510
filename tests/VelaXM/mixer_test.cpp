// Voice mixing: the specialised routines against the plain per-frame rule,
// loop turns, sample ends, click removal and the filter table.
#include "VelaXM/MixKernelSets.h"
#include "VelaXM/PlayerHelpers.h"
#include "VelaXM/VoiceMix.h"

#include <random>

using namespace xmtest;
using namespace velaxm;

namespace {

constexpr int64_t kOne = int64_t(1) << 32;

// The rule every routine must follow, written plainly with run-time choices.
struct ReferenceMixer {
    const TVelaXMMixTables& tables;

    int32_t interpolate(const int16_t* s, int stride, uint32_t frac, int interp) const
    {
        switch (interp) {
        case kNone:
            return s[0];
        case kLinear:
            return s[0] + static_cast<int32_t>((int64_t(frac >> 16) * (int64_t(s[stride]) - s[0])) >> 16);
        case kCubic: {
            const auto& c = tables.Cubic.Table[frac >> 22];
            int64_t sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += int64_t(c[k]) * s[(k - 1) * stride];
            return static_cast<int32_t>(sum >> 14);
        }
        default: {
            const auto& c = tables.FIR.Table[frac >> 20];
            int64_t low = 0, high = 0;
            for (int k = 0; k < 4; ++k)
                low += int64_t(c[k]) * s[(k - 3) * stride];
            for (int k = 4; k < 8; ++k)
                high += int64_t(c[k]) * s[(k - 3) * stride];
            return static_cast<int32_t>(((low >> 1) + (high >> 1)) >> 15);
        }
        }
    }

    static int32_t filter(int32_t x, int32_t& y1, int32_t& y2, const TVelaXMChannel& ch, int kind)
    {
        if (kind == kNoFilter)
            return x;
        const auto y = static_cast<int32_t>(
            (int64_t(ch.FilterA0) * x + int64_t(ch.FilterB0) * y1 + int64_t(ch.FilterB1) * y2) >> 12);
        y2 = y1;
        y1 = kind == kLowpass ? y : y - x;
        return y;
    }

    void mix(TVelaXMChannel& ch, int32_t* out, int32_t frames, int outChannels, int interp, bool ramp, int kind) const
    {
        const int sc = ch.Sample->Channels;
        for (int32_t i = 0; i < frames; ++i) {
            const int16_t* s = ch.Sample->Frames() + (ch.Position >> 32) * sc;
            const auto frac = static_cast<uint32_t>(ch.Position);
            int32_t xl = filter(interpolate(s, sc, frac, interp), ch.FilterY1L, ch.FilterY2L, ch, kind);
            int32_t xr
                = sc == 2 ? filter(interpolate(s + 1, sc, frac, interp), ch.FilterY1R, ch.FilterY2R, ch, kind) : xl;
            int32_t gl = ch.VolumeL, gr = ch.VolumeR;
            if (ramp) {
                ch.CurrentGainL += ch.RampDeltaL;
                ch.CurrentGainR += ch.RampDeltaR;
                gl = ch.CurrentGainL >> 12;
                gr = ch.CurrentGainR >> 12;
            }
            if (outChannels == 1) {
                const int32_t x = sc == 2 ? (xl + xr) >> 1 : xl;
                ch.LastOutputL = x * gl;
                out[i] += ch.LastOutputL;
                ch.LastOutputR = 0;
            } else {
                ch.LastOutputL = xl * gl;
                ch.LastOutputR = xr * gr;
                out[2 * i] += ch.LastOutputL;
                out[2 * i + 1] += ch.LastOutputR;
            }
            ch.Position += ch.SignedStep;
        }
    }
};

TVelaXMSample randomSample(std::mt19937& rng, int channels, int32_t frames)
{
    TVelaXMSample s;
    s.Allocate(frames, channels);
    std::uniform_int_distribution<int32_t> value(-32768, 32767);
    for (int32_t i = 0; i < frames * channels; ++i)
        s.Frames()[i] = static_cast<int16_t>(value(rng));
    s.WriteGuards();
    return s;
}

void expectSameVoice(const TVelaXMChannel& a, const TVelaXMChannel& b, const std::string& what)
{
    EXPECT_EQ(a.Position, b.Position) << what;
    EXPECT_EQ(a.CurrentGainL, b.CurrentGainL) << what;
    EXPECT_EQ(a.CurrentGainR, b.CurrentGainR) << what;
    EXPECT_EQ(a.FilterY1L, b.FilterY1L) << what;
    EXPECT_EQ(a.FilterY2L, b.FilterY2L) << what;
    EXPECT_EQ(a.FilterY1R, b.FilterY1R) << what;
    EXPECT_EQ(a.FilterY2R, b.FilterY2R) << what;
    EXPECT_EQ(a.LastOutputL, b.LastOutputL) << what;
    EXPECT_EQ(a.LastOutputR, b.LastOutputR) << what;
}

} // namespace

namespace velaxm {
void PrintTo(const MixKernelSet& set, std::ostream* os) { *os << set.name; }
} // namespace velaxm

// Every version of the family: the scalar one and the vector ones this processor runs.
class MixerVersion : public testing::TestWithParam<MixKernelSet> {};

INSTANTIATE_TEST_SUITE_P(Available, MixerVersion, testing::ValuesIn(availableMixKernels()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(MixerVersion, EveryRoutineFollowsThePerFrameRule)
{
    const MixRoutineTable& routines = *GetParam().routines;
    const TVelaXMMixTables tables(44100);
    const ReferenceMixer reference{tables};
    std::mt19937 rng(1234);
    const TVelaXMSample samples[2] = {randomSample(rng, 1, 2000), randomSample(rng, 2, 2000)};
    int checked = 0;
    for (int out = 1; out <= 2; ++out)
        for (int interp = 0; interp < 4; ++interp)
            for (int sc = 1; sc <= 2; ++sc)
                for (int ramp = 0; ramp < 2; ++ramp)
                    for (int kind = 0; kind < 3; ++kind)
                        for (int equal = 0; equal < (out == 2 ? 2 : 1); ++equal) {
                            TVelaXMChannel ch;
                            ch.Sample = &samples[sc - 1];
                            ch.Position = (int64_t(1000) << 32) + rng();
                            ch.SignedStep = int64_t(rng() % (3u << 30)) + (1 << 20);
                            if (rng() & 1)
                                ch.SignedStep = -ch.SignedStep;
                            ch.VolumeL = static_cast<int32_t>(rng() % 4097);
                            ch.VolumeR = equal ? ch.VolumeL : static_cast<int32_t>(rng() % 4097);
                            ch.CurrentGainL = static_cast<int32_t>(rng() % 4096) * 4096;
                            ch.CurrentGainR = equal ? ch.CurrentGainL : static_cast<int32_t>(rng() % 4096) * 4096;
                            ch.RampDeltaL = ramp ? static_cast<int32_t>(rng() % 20001) - 10000 : 0;
                            ch.RampDeltaR
                                = equal ? ch.RampDeltaL : (ramp ? static_cast<int32_t>(rng() % 20001) - 10000 : 0);
                            const auto& c = tables.Filter.At(
                                static_cast<int32_t>(rng() % 128), static_cast<int32_t>(rng() % 128));
                            ch.FilterA0 = kind == kHighpass ? 4096 - c[0] : c[0];
                            ch.FilterB0 = c[1];
                            ch.FilterB1 = c[2];
                            ch.FilterY1L = static_cast<int32_t>(rng() % 2000) - 1000;
                            ch.FilterY2L = static_cast<int32_t>(rng() % 2000) - 1000;
                            ch.FilterY1R = static_cast<int32_t>(rng() % 2000) - 1000;
                            TVelaXMChannel expected = ch;
                            std::vector<int32_t> mixed(204 * out), wanted(204 * out);
                            // A run shorter than any vector group, then one that leaves a remainder.
                            const MixRoutine routine = routines[routineIndex(out, interp, sc, ramp, kind, equal)];
                            routine(ch, mixed.data(), 7, tables);
                            routine(ch, mixed.data() + 7 * out, 197, tables);
                            reference.mix(expected, wanted.data(), 204, out, interp, ramp, kind);
                            const std::string what = std::to_string(out) + "/" + std::to_string(interp) + "/"
                                + std::to_string(sc) + "/" + std::to_string(ramp) + "/" + std::to_string(kind) + "/"
                                + std::to_string(equal);
                            ASSERT_EQ(mixed, wanted) << what;
                            expectSameVoice(ch, expected, what);
                            ++checked;
                        }
    EXPECT_EQ(checked, 144);
}

TEST(Mixer, UnitStepSkipsInterpolation)
{
    TVelaXMSample sample;
    sample.Allocate(10, 1);
    TVelaXMChannel ch;
    ch.Sample = &sample;
    ch.Step = uint64_t(kOne);
    const MixRoutineTable& routines = activeMixRoutines();
    EXPECT_EQ(selectRoutine(ch, 2, kFIR), routines[routineIndex(2, kNone, 1, false, kNoFilter, true)]);
    ch.Step += 1;
    EXPECT_EQ(selectRoutine(ch, 2, kFIR), routines[routineIndex(2, kFIR, 1, false, kNoFilter, true)]);
}

TEST(Mixer, OneShotAtUnitStepThenClickRemovalToZero)
{
    TVelaXM player;
    TVelaXMModule& module = *player.Module;
    TVelaXMSample sample;
    sample.Allocate(100, 1);
    for (int32_t i = 0; i < 100; ++i)
        sample.Frames()[i] = static_cast<int16_t>((i * 300) - 15000);
    sample.WriteGuards();
    TVelaXMChannel& ch = module.Channels[0];
    ch.Sample = &sample;
    ch.VoiceOn = true;
    ch.Step = uint64_t(kOne);
    ch.VolumeL = 1000;
    ch.VolumeR = 3000;
    ch.CurrentGainL = ch.TargetGainL = 1000 * 4096;
    ch.CurrentGainR = ch.TargetGainR = 3000 * 4096;
    std::vector<int32_t> mix(2 * 2000, 0);
    const MixTarget target{mix.data(), 2, kCubic, &player.Tables};
    mixVoice(module, ch, target, 0, 2000);
    for (int32_t i = 0; i < 100; ++i) {
        ASSERT_EQ(mix[2 * i], sample.Frames()[i] * 1000);
        ASSERT_EQ(mix[2 * i + 1], sample.Frames()[i] * 3000);
    }
    EXPECT_FALSE(ch.VoiceOn);
    EXPECT_EQ(mix[200], 0);
    EXPECT_EQ(module.ClickRemovalL, sample.Frames()[99] * 1000);

    // The tail carries the last value on, less a 256th rounded up (so at least 1) per frame, to exactly 0.
    std::vector<int32_t> tail(2 * 6000, 0);
    const MixTarget tailTarget{tail.data(), 2, kCubic, &player.Tables};
    int32_t expected = module.ClickRemovalL;
    EXPECT_TRUE(mixClickRemoval(module, tailTarget, 0, 6000));
    for (int32_t i = 0; i < 6000; ++i) {
        expected -= (expected + 255) / 256;
        ASSERT_EQ(tail[2 * i], expected) << i;
    }
    EXPECT_EQ(expected, 0);
    EXPECT_EQ(module.ClickRemovalL, 0);
    EXPECT_EQ(module.ClickRemovalR, 0);
    EXPECT_FALSE(mixClickRemoval(module, target, 0, 10));
}

TEST(Mixer, NegativeTailDecaysToZeroToo)
{
    TVelaXM player;
    player.Module->ClickRemovalL = -1000;
    std::vector<int32_t> mix(2 * 2000, 0);
    const MixTarget target{mix.data(), 2, kCubic, &player.Tables};
    mixClickRemoval(*player.Module, target, 0, 2000);
    EXPECT_EQ(mix[0], -1000 + 4);
    EXPECT_EQ(mix[2 * 1999], 0);
}

TEST(Mixer, PingPongTurnsAtBothLoopEnds)
{
    TVelaXMSample sample;
    sample.Allocate(300, 1);
    sample.Loop = true;
    sample.PingPongLoop = true;
    sample.LoopStart = 100;
    sample.LoopLength = 100;
    TVelaXMChannel ch;
    ch.Sample = &sample;
    ch.Step = uint64_t(kOne / 2);
    ch.Position = (int64_t(200) << 32) + kOne / 4;
    EXPECT_GT(prepareRun(ch, 100), 0);
    EXPECT_TRUE(ch.Backwards);
    EXPECT_EQ(ch.Position, (int64_t(199) << 32) + 3 * kOne / 4);
    ch.Position = (int64_t(99) << 32) + 3 * kOne / 4;
    EXPECT_GT(prepareRun(ch, 100), 0);
    EXPECT_FALSE(ch.Backwards);
    EXPECT_EQ(ch.Position, (int64_t(100) << 32) + kOne / 4);
}

TEST(Mixer, RunsStopAtLoopEventsAndForwardLoopsWrap)
{
    TVelaXMSample sample;
    sample.Allocate(300, 1);
    sample.Loop = true;
    sample.LoopStart = 100;
    sample.LoopLength = 100;
    TVelaXMChannel ch;
    ch.Sample = &sample;
    ch.Step = uint64_t(kOne);
    ch.Position = int64_t(190) << 32;
    EXPECT_EQ(prepareRun(ch, 1000), 10);
    ch.Position = int64_t(203) << 32;
    EXPECT_EQ(prepareRun(ch, 1000), 97);
    EXPECT_EQ(ch.Position, int64_t(103) << 32);
    ch.Step = uint64_t(100) << 32; // a fast step keeps runs short
    ch.Position = int64_t(100) << 32;
    EXPECT_EQ(prepareRun(ch, 1000), 1);
    ch.Step = uint64_t(kOne / 1000);
    EXPECT_EQ(prepareRun(ch, 100000), 16384);
}

TEST(Mixer, BackwardsOneShotEndsBelowZero)
{
    TVelaXM player;
    TVelaXMSample sample;
    sample.Allocate(50, 1);
    TVelaXMChannel& ch = player.Module->Channels[0];
    ch.Sample = &sample;
    ch.VoiceOn = true;
    ch.Backwards = true;
    ch.Step = uint64_t(kOne);
    ch.Position = int64_t(10) << 32;
    ch.CurrentGainL = ch.CurrentGainR = 4096 * 4096;
    std::vector<int32_t> mix(2 * 64, 0);
    mixVoice(*player.Module, ch, MixTarget{mix.data(), 2, kLinear, &player.Tables}, 0, 64);
    EXPECT_FALSE(ch.VoiceOn);
    EXPECT_LT(ch.Position, 0);
}

TEST(Mixer, FilterCutoffFrequencies)
{
    EXPECT_EQ(TVelaXMFilterTable::CutoffFrequency(127, 44100, false), 5124);
    EXPECT_EQ(TVelaXMFilterTable::CutoffFrequency(64, 44100, false), 831);
    EXPECT_EQ(TVelaXMFilterTable::CutoffFrequency(0, 44100, false), 131);
    EXPECT_EQ(TVelaXMFilterTable::CutoffFrequency(127, 8000, true), 4000);
    const TVelaXMFilterTable table(44100, false);
    const auto& c = table.At(0, 127);
    // A lowpass passes DC: the three coefficients sum to unity gain.
    EXPECT_NEAR(c[0] + c[1] + c[2], 4096, 2);
}

TEST(Mixer, InterpolationTablesAreNormalised)
{
    const TVelaXMCubicSpline cubic;
    EXPECT_EQ(cubic.Table[0], (std::array<int32_t, 4>{0, 16384, 0, 0}));
    for (const auto& row : cubic.Table)
        EXPECT_NEAR(row[0] + row[1] + row[2] + row[3], 16384, 2);
    // The FIR kernel halves its two four-tap sums, so unity gain is a row sum of 2 x 32768.
    const TVelaXMWindowedFIR fir;
    EXPECT_EQ(fir.Table[2048][4], 65536); // the tap standing exactly on its sample
    for (const auto& row : fir.Table)
        ASSERT_NEAR(row[0] + row[1] + row[2] + row[3] + row[4] + row[5] + row[6] + row[7], 65536, 4);
    EXPECT_TRUE(fir.SplitExact); // unity weights must still fit the vector routines' 16-bit halves
}

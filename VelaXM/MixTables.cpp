#include "VelaXM/MixTables.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>

namespace {

int32_t scaled(double value, double scale) { return static_cast<int32_t>(std::lround(value * scale)); }

} // namespace

TVelaXMCubicSpline::TVelaXMCubicSpline() : Table(kPhases), Table16(kPhases)
{
    const double scale = 1 << kShift;
    for (int32_t i = 0; i < kPhases; ++i) {
        const double x = i / 1024.0;
        const double x2 = x * x;
        const double x3 = x2 * x;
        Table[i] = {scaled(-0.5 * x3 + x2 - 0.5 * x, scale), scaled(1.5 * x3 - 2.5 * x2 + 1.0, scale),
                    scaled(-1.5 * x3 + 2.0 * x2 + 0.5 * x, scale), scaled(0.5 * x3 - 0.5 * x2, scale)};
        // Every weight lies within -0.08 .. 1.0 x 16384, well inside 16 bits.
        for (int32_t j = 0; j < 4; ++j)
            Table16[i][j] = static_cast<int16_t>(Table[i][j]);
    }
}

std::array<int32_t, 8> TVelaXMWindowedFIR::Weights(int32_t Phase)
{
    const double pi = std::numbers::pi;
    // The kernel halves each four-tap sum before its shift, so weights that sum
    // to twice the scale play at unity gain, as the other interpolations do.
    const double scale = 2 << kShift;
    std::array<double, 8> weights{};
    for (int32_t j = 0; j < 8; ++j) {
        const double c = j - (Phase / 4096.0 - 0.5);
        const double d = c - 4.0;
        weights[j] = 1.0;
        if (std::abs(d) >= 1e-12) {
            const double window = 0.42 - 0.5 * std::cos(pi * c / 4.0) + 0.08 * std::cos(pi * c / 2.0);
            weights[j] = std::sin(pi * d) / (pi * d) * window;
        }
    }
    // A truncated windowed sinc sums to a little more or less than 1 depending on the phase.
    double sum = 0;
    for (double w : weights)
        sum += w;
    std::array<int32_t, 8> row{};
    for (int32_t j = 0; j < 8; ++j)
        row[j] = scaled(weights[j] / sum, scale);
    return row;
}

TVelaXMWindowedFIR::TVelaXMWindowedFIR() : Table(kPhases), SplitTable(kPhases)
{
    SplitExact = true;
    for (int32_t i = 0; i < kPhases; ++i) {
        Table[i] = Weights(i);
        int64_t magnitude = 0;
        for (int32_t j = 0; j < 8; ++j) {
            const int32_t k = Table[i][j];
            magnitude += std::abs(static_cast<int64_t>(k));
            SplitTable[i][j] = static_cast<int16_t>(k >> 8);
            SplitTable[i][8 + j] = static_cast<int16_t>(k & 255);
            SplitExact = SplitExact && (k >> 8) >= INT16_MIN && (k >> 8) <= INT16_MAX;
        }
        // Half the weighted sum of full-scale samples must stay within 32 bits.
        SplitExact = SplitExact && magnitude * 32768 / 2 + 2 < (int64_t(1) << 31);
    }
}

int32_t TVelaXMFilterTable::CutoffFrequency(int32_t Cutoff, int32_t SampleRate, bool ExtendedFilterRange)
{
    const double divisor = (ExtendedFilterRange ? 20.0 : 24.0) * 512.0;
    int32_t frequency = static_cast<int32_t>(std::lround(110.0 * std::pow(2.0, 0.25 + Cutoff * 512.0 / divisor)));
    frequency = std::clamp(frequency, 120, 20000);
    if (2 * frequency > SampleRate)
        frequency = SampleRate / 2;
    return frequency;
}

TVelaXMFilterTable::TVelaXMFilterTable(int32_t SampleRate, bool ExtendedFilterRange) : Table(128 * 128)
{
    const double pi = std::numbers::pi;
    for (int32_t r = 0; r < 128; ++r) {
        for (int32_t i = 0; i < 128; ++i) {
            const double frequency = CutoffFrequency(i, SampleRate, ExtendedFilterRange);
            const double damp = std::pow(10.0, -(0.1875 * r) / 20.0);
            const double fc = 2.0 * pi * frequency / SampleRate;
            double d = std::min((1.0 - 2.0 * damp) * fc, 2.0);
            d = (2.0 * damp - d) / fc;
            const double e = 1.0 / (fc * fc);
            const double norm = 1.0 + d + e;
            Table[r * 128 + i] = {scaled(1.0 / norm, 4096.0), scaled((d + 2.0 * e) / norm, 4096.0),
                                  scaled(-e / norm, 4096.0)};
        }
    }
}

namespace {

// The filter table of a rate, built by the first player at that rate.
const TVelaXMFilterTable& sharedFilterTable(int32_t SampleRate)
{
    static std::mutex lock;
    static std::map<int32_t, std::unique_ptr<const TVelaXMFilterTable>> tables;
    const std::lock_guard<std::mutex> guard(lock);
    auto& table = tables[SampleRate];
    if (!table)
        table = std::make_unique<const TVelaXMFilterTable>(SampleRate, false);
    return *table;
}

const TVelaXMCubicSpline& sharedCubicSpline()
{
    static const TVelaXMCubicSpline table;
    return table;
}

const TVelaXMWindowedFIR& sharedWindowedFIR()
{
    static const TVelaXMWindowedFIR table;
    return table;
}

} // namespace

TVelaXMMixTables::TVelaXMMixTables(int32_t SampleRate)
    : Cubic(sharedCubicSpline()), FIR(sharedWindowedFIR()), Filter(sharedFilterTable(SampleRate))
{}

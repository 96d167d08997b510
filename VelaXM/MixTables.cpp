#include "VelaXM/MixTables.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int32_t scaled(double value, double scale) { return static_cast<int32_t>(std::lround(value * scale)); }

} // namespace

TVelaXMCubicSpline::TVelaXMCubicSpline() : Table(kPhases)
{
    const double scale = 1 << kShift;
    for (int32_t i = 0; i < kPhases; ++i) {
        const double x = i / 1024.0;
        const double x2 = x * x;
        const double x3 = x2 * x;
        Table[i] = {scaled(-0.5 * x3 + x2 - 0.5 * x, scale), scaled(1.5 * x3 - 2.5 * x2 + 1.0, scale),
                    scaled(-1.5 * x3 + 2.0 * x2 + 0.5 * x, scale), scaled(0.5 * x3 - 0.5 * x2, scale)};
    }
}

TVelaXMWindowedFIR::TVelaXMWindowedFIR() : Table(kPhases)
{
    const double pi = std::numbers::pi;
    // The kernel halves each four-tap sum before its shift, so weights that sum
    // to twice the scale play at unity gain, as the other interpolations do.
    const double scale = 2 << kShift;
    for (int32_t i = 0; i < kPhases; ++i) {
        std::array<double, 8> weights;
        for (int32_t j = 0; j < 8; ++j) {
            const double c = j - (i / 4096.0 - 0.5);
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
        for (int32_t j = 0; j < 8; ++j)
            Table[i][j] = scaled(weights[j] / sum, scale);
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

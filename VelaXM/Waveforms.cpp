#include "VelaXM/Waveforms.h"

#include <cmath>
#include <numbers>

namespace velaxm {

namespace {

// Random-looking but fixed, so that songs using the noise waveform always sound the same.
constexpr std::array<int8_t, 64> kNoise = {
    88,  -127, -43,  88,  102, 41,  -65, -94, 125, 20,  -71, -86, -70, -32, -16, -96,  17,  72,   107, -5,  116, -69,
    -62, -40,  10,   -61, 65,  109, -18, -38, -13, -76, -23, 88,  21,  -94, 8,   106,  21,  -112, 6,   109, 20,  -88,
    -30, 9,    -127, 118, 42,  -34, 89,  -4,  -51, -72, 21,  -29, 112, 123, 84,  -101, -92, 98,   -54, -95};

} // namespace

const std::array<std::array<int8_t, 64>, 4>& modulationWaveforms()
{
    static const auto tables = [] {
        std::array<std::array<int8_t, 64>, 4> t{};
        for (int i = 0; i < 64; ++i) {
            t[0][i] = static_cast<int8_t>(std::lround(127.0 * std::sin(2.0 * std::numbers::pi * i / 64.0)));
            t[1][i] = static_cast<int8_t>(i < 32 ? -4 * i : 127 - 4 * (i - 32));
            t[2][i] = static_cast<int8_t>(i < 32 ? 127 : -127);
        }
        t[3] = kNoise;
        return t;
    }();
    return tables;
}

const std::array<int8_t, 256>& autoVibratoSine()
{
    static const auto table = [] {
        std::array<int8_t, 256> t{};
        for (int p = 0; p < 256; ++p)
            t[p] = static_cast<int8_t>(-std::lround(64.0 * std::sin(2.0 * std::numbers::pi * p / 256.0)));
        return t;
    }();
    return table;
}

} // namespace velaxm

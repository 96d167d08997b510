#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Cubic-spline interpolation weights for samples t-1..t+2, 1024 phases, scale 16384.
class TVelaXMCubicSpline {
public:
    static constexpr int32_t kPhases = 1024;
    static constexpr int32_t kShift = 14;

    // Builds the table.
    TVelaXMCubicSpline();

    std::vector<std::array<int32_t, 4>> Table;   // one row of weights per phase
    std::vector<std::array<int16_t, 4>> Table16; // the same weights as 16-bit values, for multiply-add instructions
};

// Windowed-sinc weights for samples t-3..t+4, 4096 phases, rows summing to 2 x 32768 (the kernel halves them).
class TVelaXMWindowedFIR {
public:
    static constexpr int32_t kPhases = 4096;
    static constexpr int32_t kShift = 15;

    // Builds the table.
    TVelaXMWindowedFIR();
    // The eight weights of one phase, scaled and rounded.
    static std::array<int32_t, 8> Weights(int32_t Phase);

    std::vector<std::array<int32_t, 8>> Table; // one row of weights per phase
    // Each weight k split as 256 x high + low (0..255): the eight highs, then the
    // eight lows, so that 16-bit multiply-adds reproduce the 64-bit sums exactly.
    std::vector<std::array<int16_t, 16>> SplitTable;
    // Whether the split rows reproduce every value a 16-bit sample can give (true
    // for weights whose magnitudes sum below 4 x 32768 in every row).
    bool SplitExact = false;
};

// Resonant-filter coefficients A0, B0, B1 (scale 4096) for every resonance and cutoff.
class TVelaXMFilterTable {
public:
    // Builds the table for an output rate.
    TVelaXMFilterTable(int32_t SampleRate, bool ExtendedFilterRange);
    // Filter frequency in Hz of a cutoff value 0..127 at an output rate.
    static int32_t CutoffFrequency(int32_t Cutoff, int32_t SampleRate, bool ExtendedFilterRange);
    // Coefficients of a resonance and cutoff (both 0..127).
    const std::array<int32_t, 3>& At(int32_t Resonance, int32_t Cutoff) const
    {
        return Table[Resonance * 128 + Cutoff];
    }

    std::vector<std::array<int32_t, 3>> Table; // [resonance * 128 + cutoff]
};

// The three tables every voice mix reads. They are built once per process (the
// filter table once per output rate) and shared read-only by every player.
struct TVelaXMMixTables {
    // The shared tables for an output rate, built on first use.
    explicit TVelaXMMixTables(int32_t SampleRate);

    const TVelaXMCubicSpline& Cubic;  // cubic-spline weights
    const TVelaXMWindowedFIR& FIR;    // windowed-sinc weights
    const TVelaXMFilterTable& Filter; // resonant-filter coefficients
};

#include "VelaXM/Module.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

// Amiga periods in eighth-semitone steps across one octave (plus margins for finetune).
constexpr std::array<int32_t, 104> kAmigaPeriods = {
    907, 900, 894, 887, 881, 875, 868, 862, 856, 850, 844, 838, 832, 826, 820, 814, 808, 802, 796, 791, 785,
    779, 774, 768, 762, 757, 752, 746, 741, 736, 730, 725, 720, 715, 709, 704, 699, 694, 689, 684, 678, 675,
    670, 665, 660, 655, 651, 646, 640, 636, 632, 628, 623, 619, 614, 610, 604, 601, 597, 592, 588, 584, 580,
    575, 570, 567, 563, 559, 555, 551, 547, 543, 538, 535, 532, 528, 524, 520, 516, 513, 508, 505, 502, 498,
    494, 491, 487, 484, 480, 477, 474, 470, 467, 463, 460, 457, 453, 450, 447, 443, 440, 437, 434, 431};

constexpr int32_t kLinearPeriodsPerOctave = 768;

// Frequencies of one octave of linear periods; 535232 = 8363 x 64, so that
// period 4608 (note 48) plays at 8363 Hz.
const std::array<int32_t, kLinearPeriodsPerOctave>& linearFrequencies()
{
    static const auto table = [] {
        std::array<int32_t, kLinearPeriodsPerOctave> t{};
        for (int32_t i = 0; i < kLinearPeriodsPerOctave; ++i)
            t[i] = static_cast<int32_t>(std::floor(535232.0 * std::pow(2.0, -i / 768.0)));
        return t;
    }();
    return table;
}

} // namespace

int32_t TVelaXMModule::GetPeriod(int32_t Note, int32_t Finetune) const
{
    const int32_t n = std::clamp(Note, 1, 132);
    if (LinearFrequencies)
        return std::max(1, 7680 - 64 * n - (Finetune >> 1));
    const int32_t r = Finetune >> 4;
    const int32_t i1 = std::clamp((n % 12) * 8 + r + 8, 0, 103);
    const int32_t i2 = std::clamp(Finetune < 0 ? i1 - 1 : i1 + 1, 0, 103);
    const int32_t k = std::abs(Finetune) & 15;
    return ((kAmigaPeriods[i1] * (16 - k) + kAmigaPeriods[i2] * k) * 2) >> (n / 12);
}

int32_t TVelaXMModule::GetNoteFromPeriod(int32_t Period, int32_t Finetune) const
{
    for (int32_t n = 1; n <= 119; ++n) {
        const int32_t p = GetPeriod(n, Finetune);
        if (p > 0 && p <= Period)
            return n;
    }
    return 120;
}

int32_t TVelaXMModule::GetFrequency(int32_t Period) const
{
    if (LinearFrequencies) {
        // Vibrato below period 0 would index before the table: it plays at the top pitch.
        const int32_t p = std::max(Period, 0);
        const int32_t octave = p / kLinearPeriodsPerOctave;
        if (octave >= 31)
            return 0;
        return linearFrequencies()[p % kLinearPeriodsPerOctave] >> octave;
    }
    if (Period <= 0)
        return 1;
    return 14317456 / Period;
}

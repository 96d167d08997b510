#include <cmath>
#include <cstring>

#include "VelaSoundSystem/FixedPoint.h"
#include "VelaSoundSystem/Music.h"
#include "VelaSoundSystem/SoundSystem.h"

// Filling a block of output-rate frames from the decoded batches: a plain copy
// when the rates match at speed 1.0, a windowed sinc when downsampling at
// speed 1.0 (it keeps aliasing out), a Catmull-Rom spline otherwise.

namespace {

TVSSSincTable buildSincTable()
{
    TVSSSincTable table{};
    const double pi = 3.14159265358979323846;
    for (int32_t i = 0; i < 4096; ++i) {
        const double f = i / 4096.0 - 0.5;
        for (int32_t j = 0; j < 8; ++j) {
            const double u = j - f;
            const double l = u - 4.0;
            double value = 1.0;
            if (std::fabs(l) >= 1e-12) {
                const double window = 0.42 - 0.5 * std::cos(pi * u / 4.0) + 0.08 * std::cos(pi * u / 2.0);
                value = std::sin(pi * l) / (pi * l) * window;
            }
            table[i][j] = static_cast<int32_t>(std::nearbyint(value * 32768.0));
        }
    }
    return table;
}

} // namespace

const TVSSSincTable& SharedSincTable()
{
    static const TVSSSincTable table = buildSincTable();
    return table;
}

void TVSSOGG::fillOutBlock()
{
    validFrames_ = BlockFrames;
    if (Step == vss::FrameOne) {
        fillDirect();
    } else if (Step >= vss::FrameOne && Step == BaseStep) {
        fillResampled<true>();
    } else {
        fillResampled<false>();
    }
    OutRead = 0;
    OutCount = BlockFrames;
    if (endOfData_) {
        OutCount = validFrames_ < 1 ? 1 : validFrames_;
    }
}

void TVSSOGG::fillDirect()
{
    int32_t done = 0;
    while (done < BlockFrames) {
        if (DecRead >= DecCount) {
            decodeBatch();
            if (endOfData_) {
                validFrames_ = done;
                std::memset(OutBlock + 2 * done, 0, static_cast<size_t>(BlockFrames - done) * 2 * sizeof(int32_t));
                return;
            }
        }
        const int32_t available = DecCount - DecRead;
        const int32_t n = available < BlockFrames - done ? available : BlockFrames - done;
        std::memcpy(OutBlock + 2 * done, Decoded + 2 * DecRead, static_cast<size_t>(n) * 2 * sizeof(int32_t));
        DecRead += n;
        done += n;
    }
}

template <bool Sinc>
void TVSSOGG::fillResampled()
{
    constexpr int32_t mask = BlockFrames - 1;
    const std::array<int32_t, 4>* cubic = Owner->CubicTable.get();
    const TVSSSincTable& sinc = *SincTable;
    // The frame at which the data ran out, once it does.
    validFrames_ = endOfData_ ? 0 : -1;
    for (int32_t i = 0; i < BlockFrames; ++i) {
        Position += Step;
        while ((Position >> 32) >= 1) {
            Position -= vss::FrameOne;
            nextDecodedFrame(Ring + 2 * RingWrite);
            RingWrite = (RingWrite + 1) & mask;
            if (endOfData_ && validFrames_ < 0) {
                validFrames_ = i;
            }
        }
        const int32_t phase = static_cast<int32_t>((static_cast<uint64_t>(Position) >> 20) & 4095);
        for (int32_t c = 0; c < 2; ++c) {
            auto x = [&](int32_t k) { return Ring[2 * ((RingWrite - k) & mask) + c]; };
            if constexpr (Sinc) {
                // 64-bit sums: with 16-bit input the worst half-sum is
                // 1.43e9, just inside 32 bits; the wide sum keeps that true
                // whatever the input range, at no cost on a 64-bit machine.
                const std::array<int32_t, 8>& row = sinc[phase];
                const int64_t low =
                    int64_t(row[0]) * x(8) + int64_t(row[1]) * x(7) + int64_t(row[2]) * x(6) + int64_t(row[3]) * x(5);
                const int64_t high =
                    int64_t(row[4]) * x(4) + int64_t(row[5]) * x(3) + int64_t(row[6]) * x(2) + int64_t(row[7]) * x(1);
                OutBlock[2 * i + c] = static_cast<int32_t>(((low >> 15) + (high >> 15)) >> 1);
            } else {
                const std::array<int32_t, 4>& row = cubic[phase];
                OutBlock[2 * i + c] = (row[0] * x(4) + row[1] * x(3) + row[2] * x(2) + row[3] * x(1)) >> 12;
            }
        }
    }
}

template void TVSSOGG::fillResampled<true>();
template void TVSSOGG::fillResampled<false>();

// Vector mix routines on AVX2, for processors that have it (checked at run
// time): eight output frames per round, with the same integer arithmetic as
// the scalar routines. Only these functions are compiled for AVX2, so the
// rest of the program still runs on any x86-64 processor.
#include "VelaXM/MixVectorCommon.h"

#if defined(__x86_64__)
#include <immintrin.h>

#define QUAVERO_AVX2 __attribute__((target("avx2")))

namespace velaxm {

namespace {

using vec::Cursor;

// Two rows of four 16-bit values in one 128-bit register.
QUAVERO_AVX2 inline __m128i twoRows(const void* a, const void* b)
{
    const __m128i low = _mm_loadl_epi64(static_cast<const __m128i*>(a));
    return _mm_castpd_si128(_mm_loadh_pd(_mm_castsi128_pd(low), static_cast<const double*>(b)));
}

QUAVERO_AVX2 inline __m256i join(__m128i low, __m128i high) { return _mm256_set_m128i(high, low); }

// The interpolated values of the next eight frames, in the order
// [0 1 4 5 | 2 3 6 7], which unpacks straight into interleaved stereo.
template <int Interp>
QUAVERO_AVX2 inline __m256i interpolate8(Cursor& cursor, const TVelaXMMixTables& tables)
{
    uint32_t f[8];
    if constexpr (Interp == kNone) {
        int32_t s[8];
        for (int k = 0; k < 8; ++k)
            s[k] = *cursor.next(f[k]);
        return _mm256_setr_epi32(s[0], s[1], s[4], s[5], s[2], s[3], s[6], s[7]);
    } else if constexpr (Interp == kLinear) {
        // Each lane holds s[t] in its low and s[t+1] in its high half.
        int32_t pairs[8];
        for (int k = 0; k < 8; ++k) {
            const int16_t* s = cursor.next(f[k]);
            pairs[k] = static_cast<uint16_t>(s[0]) | (static_cast<int32_t>(s[1]) << 16);
        }
        const __m256i both =
            _mm256_setr_epi32(pairs[0], pairs[1], pairs[4], pairs[5], pairs[2], pairs[3], pairs[6], pairs[7]);
        const __m256i weight = _mm256_srli_epi32(_mm256_setr_epi32(f[0], f[1], f[4], f[5], f[2], f[3], f[6], f[7]), 16);
        const __m256i s0 = _mm256_srai_epi32(_mm256_slli_epi32(both, 16), 16);
        const __m256i s1 = _mm256_srai_epi32(both, 16);
        // (w x (s1 - s0)) >> 16 needs 33 bits; w x s1 and w x s0 each fit 32, and
        // the difference of their shifted values is one too high when the low
        // halves borrow.
        const __m256i p1 = _mm256_mullo_epi32(weight, s1);
        const __m256i p0 = _mm256_mullo_epi32(weight, s0);
        const __m256i mask = _mm256_set1_epi32(0xFFFF);
        const __m256i borrow = _mm256_cmpgt_epi32(_mm256_and_si256(p0, mask), _mm256_and_si256(p1, mask));
        const __m256i delta = _mm256_sub_epi32(_mm256_srai_epi32(p1, 16), _mm256_srai_epi32(p0, 16));
        return _mm256_add_epi32(s0, _mm256_add_epi32(delta, borrow));
    } else if constexpr (Interp == kCubic) {
        const int16_t* s[8];
        for (int k = 0; k < 8; ++k)
            s[k] = cursor.next(f[k]) - 1;
        const auto& c = tables.Cubic.Table16;
        const __m256i samples0123 = join(twoRows(s[0], s[1]), twoRows(s[2], s[3]));
        const __m256i samples4567 = join(twoRows(s[4], s[5]), twoRows(s[6], s[7]));
        const __m256i weights0123 =
            join(twoRows(&c[f[0] >> 22], &c[f[1] >> 22]), twoRows(&c[f[2] >> 22], &c[f[3] >> 22]));
        const __m256i weights4567 =
            join(twoRows(&c[f[4] >> 22], &c[f[5] >> 22]), twoRows(&c[f[6] >> 22], &c[f[7] >> 22]));
        const __m256i sums =
            _mm256_hadd_epi32(_mm256_madd_epi16(samples0123, weights0123), _mm256_madd_epi16(samples4567, weights4567));
        return _mm256_srai_epi32(sums, TVelaXMCubicSpline::kShift);
    } else {
        // Weights split as 256 x high + low: half of a sum is 128 x its high
        // part plus half its low part, which is all that needs rounding.
        __m256i products[8];
        for (int k = 0; k < 8; ++k) {
            const int16_t* s = cursor.next(f[k]) - 3;
            const __m256i samples = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s)));
            const __m256i row =
                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(tables.FIR.SplitTable[f[k] >> 20].data()));
            products[k] = _mm256_madd_epi16(samples, row);
        }
        // Per pair of frames: [high parts of both halves of both | low parts ...], scaled to halves of the sums.
        __m256i halves[4];
        for (int k = 0; k < 4; ++k) {
            const __m256i sums = _mm256_hadd_epi32(products[2 * k], products[2 * k + 1]);
            halves[k] = _mm256_blend_epi32(_mm256_slli_epi32(sums, 7), _mm256_srai_epi32(sums, 1), 0xF0);
        }
        // Frames 0 1 4 5, then 2 3 6 7, each with its high sums in the low and its low sums in the high lane.
        const __m256i frames0145 = _mm256_hadd_epi32(halves[0], halves[2]);
        const __m256i frames2367 = _mm256_hadd_epi32(halves[1], halves[3]);
        const __m256i total = _mm256_add_epi32(_mm256_permute2x128_si256(frames0145, frames2367, 0x20),
                                               _mm256_permute2x128_si256(frames0145, frames2367, 0x31));
        return _mm256_srai_epi32(total, TVelaXMWindowedFIR::kShift);
    }
}

struct AVX2Family {
    template <int Interp, bool Ramp, bool EqualSides>
    QUAVERO_AVX2 static void mix(TVelaXMChannel& ch, int32_t* out, int32_t frames, const TVelaXMMixTables& tables)
    {
        const int32_t groups = frames / 8;
        if (groups == 0 || (Interp == kFIR && !tables.FIR.SplitExact)) {
            vec::mixScalar<Interp, Ramp, EqualSides>(ch, out, frames, tables);
            return;
        }
        const int32_t gainL = ch.CurrentGainL, deltaL = ch.RampDeltaL;
        const int32_t gainR = EqualSides ? gainL : ch.CurrentGainR, deltaR = EqualSides ? deltaL : ch.RampDeltaR;
        // Ramp: the 20.12 gains of frames 0..3 and 4..7, left and right interleaved.
        __m256i ramp0123 = _mm256_setzero_si256(), ramp4567 = _mm256_setzero_si256(), rampStep = ramp0123;
        if constexpr (Ramp) {
            int32_t gains[16];
            for (int k = 0; k < 8; ++k) {
                gains[2 * k] = vec::rampedGain(gainL, deltaL, k + 1);
                gains[2 * k + 1] = vec::rampedGain(gainR, deltaR, k + 1);
            }
            ramp0123 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(gains));
            ramp4567 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(gains + 8));
            const int32_t stepL = vec::rampedGain(0, deltaL, 8), stepR = vec::rampedGain(0, deltaR, 8);
            rampStep = _mm256_setr_epi32(stepL, stepR, stepL, stepR, stepL, stepR, stepL, stepR);
        }
        const int32_t volumeR = EqualSides ? ch.VolumeL : ch.VolumeR;
        const __m256i volumes =
            _mm256_setr_epi32(ch.VolumeL, volumeR, ch.VolumeL, volumeR, ch.VolumeL, volumeR, ch.VolumeL, volumeR);
        Cursor cursor{ch.Sample->Frames(), ch.Position, ch.SignedStep};
        __m256i last = _mm256_setzero_si256();
        for (int32_t g = 0; g < groups; ++g) {
            const __m256i x = interpolate8<Interp>(cursor, tables);
            __m256i gains0123 = volumes, gains4567 = volumes;
            if constexpr (Ramp) {
                gains0123 = _mm256_srai_epi32(ramp0123, 12);
                gains4567 = _mm256_srai_epi32(ramp4567, 12);
                ramp0123 = _mm256_add_epi32(ramp0123, rampStep);
                ramp4567 = _mm256_add_epi32(ramp4567, rampStep);
            }
            const __m256i out0123 = _mm256_mullo_epi32(_mm256_unpacklo_epi32(x, x), gains0123);
            last = _mm256_mullo_epi32(_mm256_unpackhi_epi32(x, x), gains4567);
            auto* target = reinterpret_cast<__m256i*>(out + 16 * g);
            _mm256_storeu_si256(target, _mm256_add_epi32(_mm256_loadu_si256(target), out0123));
            _mm256_storeu_si256(target + 1, _mm256_add_epi32(_mm256_loadu_si256(target + 1), last));
        }
        vec::finishGroups<Ramp>(ch, cursor.position, 8 * groups, _mm256_extract_epi32(last, 6),
                                _mm256_extract_epi32(last, 7));
        if (frames > 8 * groups)
            vec::mixScalar<Interp, Ramp, EqualSides>(ch, out + 16 * groups, frames - 8 * groups, tables);
    }
};

} // namespace

const MixRoutineTable& avx2MixRoutines()
{
    static const MixRoutineTable table = vec::withVectorRoutines<AVX2Family>();
    return table;
}

} // namespace velaxm

#endif

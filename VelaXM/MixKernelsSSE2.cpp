// Vector mix routines on SSE2, which every x86-64 processor has: four output
// frames per round, with the same integer arithmetic as the scalar routines.
// The WebAssembly build compiles them too: Emscripten turns the intrinsics
// into WebAssembly SIMD.
#include "VelaXM/MixVectorCommon.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace velaxm {

namespace {

using vec::Cursor;

// The low 32 bits of each lane's product, as the scalar routines' wrapping multiply leaves them.
inline __m128i multiplyLow(__m128i a, __m128i b)
{
    const __m128i even = _mm_mul_epu32(a, b);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

// [a0 + a1, a2 + a3, b0 + b1, b2 + b3]
inline __m128i pairSums(__m128i a, __m128i b)
{
    const __m128 fa = _mm_castsi128_ps(a);
    const __m128 fb = _mm_castsi128_ps(b);
    return _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(fa, fb, _MM_SHUFFLE(2, 0, 2, 0))),
                         _mm_castps_si128(_mm_shuffle_ps(fa, fb, _MM_SHUFFLE(3, 1, 3, 1))));
}

// Two rows of four 16-bit values in one register.
inline __m128i twoRows(const void* a, const void* b)
{
    const __m128i low = _mm_loadl_epi64(static_cast<const __m128i*>(a));
    return _mm_castpd_si128(_mm_loadh_pd(_mm_castsi128_pd(low), static_cast<const double*>(b)));
}

// The interpolated values of the next four frames.
template <int Interp>
__m128i interpolate4(Cursor& cursor, const TVelaXMMixTables& tables)
{
    uint32_t f[4];
    if constexpr (Interp == kNone) {
        int32_t s[4];
        for (int k = 0; k < 4; ++k)
            s[k] = *cursor.next(f[k]);
        return _mm_setr_epi32(s[0], s[1], s[2], s[3]);
    } else if constexpr (Interp == kLinear) {
        // Each lane holds s[t] in its low and s[t+1] in its high half.
        int32_t pairs[4];
        for (int k = 0; k < 4; ++k) {
            const int16_t* s = cursor.next(f[k]);
            pairs[k] = static_cast<uint16_t>(s[0]) | (static_cast<int32_t>(s[1]) << 16);
        }
        const __m128i both = _mm_setr_epi32(pairs[0], pairs[1], pairs[2], pairs[3]);
        const __m128i s0 = _mm_srai_epi32(_mm_slli_epi32(both, 16), 16);
        const __m128i s1 = _mm_srai_epi32(both, 16);
        const __m128i weight = _mm_setr_epi32(f[0] >> 16, f[1] >> 16, f[2] >> 16, f[3] >> 16);
        // (w x (s1 - s0)) >> 16 needs 33 bits; w x s1 and w x s0 each fit 32, and
        // the difference of their shifted values is one too high when the low
        // halves borrow.
        const __m128i p1 = multiplyLow(weight, s1);
        const __m128i p0 = multiplyLow(weight, s0);
        const __m128i mask = _mm_set1_epi32(0xFFFF);
        const __m128i borrow = _mm_cmpgt_epi32(_mm_and_si128(p0, mask), _mm_and_si128(p1, mask));
        const __m128i delta = _mm_sub_epi32(_mm_srai_epi32(p1, 16), _mm_srai_epi32(p0, 16));
        return _mm_add_epi32(s0, _mm_add_epi32(delta, borrow));
    } else if constexpr (Interp == kCubic) {
        const int16_t* s[4];
        for (int k = 0; k < 4; ++k)
            s[k] = cursor.next(f[k]) - 1;
        const auto& c = tables.Cubic.Table16;
        const __m128i m01 = _mm_madd_epi16(twoRows(s[0], s[1]), twoRows(&c[f[0] >> 22], &c[f[1] >> 22]));
        const __m128i m23 = _mm_madd_epi16(twoRows(s[2], s[3]), twoRows(&c[f[2] >> 22], &c[f[3] >> 22]));
        return _mm_srai_epi32(pairSums(m01, m23), TVelaXMCubicSpline::kShift);
    } else {
        // Weights split as 256 x high + low: half of a sum is 128 x its high
        // part plus half its low part, which is all that needs rounding.
        __m128i parts[4];
        for (int k = 0; k < 4; ++k) {
            const int16_t* s = cursor.next(f[k]) - 3;
            const auto* row = reinterpret_cast<const __m128i*>(tables.FIR.SplitTable[f[k] >> 20].data());
            const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            const __m128i sums = pairSums(_mm_madd_epi16(samples, _mm_loadu_si128(row)),
                                          _mm_madd_epi16(samples, _mm_loadu_si128(row + 1)));
            // [high low half, high upper half, low low half, low upper half] -> scaled to halves of the sums
            parts[k] =
                _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(_mm_slli_epi32(sums, 7)),
                                                _mm_castsi128_ps(_mm_srai_epi32(sums, 1)), _MM_SHUFFLE(3, 2, 1, 0)));
        }
        const __m128i total = pairSums(pairSums(parts[0], parts[1]), pairSums(parts[2], parts[3]));
        return _mm_srai_epi32(total, TVelaXMWindowedFIR::kShift);
    }
}

struct SSE2Family {
    template <int Interp, bool Ramp, bool EqualSides>
    static void mix(TVelaXMChannel& ch, int32_t* out, int32_t frames, const TVelaXMMixTables& tables)
    {
        const int32_t groups = frames / 4;
        if (groups == 0 || (Interp == kFIR && !tables.FIR.SplitExact)) {
            vec::mixScalar<Interp, Ramp, EqualSides>(ch, out, frames, tables);
            return;
        }
        const int32_t gainL = ch.CurrentGainL, deltaL = ch.RampDeltaL;
        const int32_t gainR = EqualSides ? gainL : ch.CurrentGainR, deltaR = EqualSides ? deltaL : ch.RampDeltaR;
        // Ramp: the 20.12 gains of frames 0..1 and 2..3, left and right interleaved.
        __m128i ramp01 = _mm_setr_epi32(vec::rampedGain(gainL, deltaL, 1), vec::rampedGain(gainR, deltaR, 1),
                                        vec::rampedGain(gainL, deltaL, 2), vec::rampedGain(gainR, deltaR, 2));
        __m128i ramp23 = _mm_setr_epi32(vec::rampedGain(gainL, deltaL, 3), vec::rampedGain(gainR, deltaR, 3),
                                        vec::rampedGain(gainL, deltaL, 4), vec::rampedGain(gainR, deltaR, 4));
        const int32_t stepL = vec::rampedGain(0, deltaL, 4), stepR = vec::rampedGain(0, deltaR, 4);
        const __m128i rampStep = _mm_setr_epi32(stepL, stepR, stepL, stepR);
        const __m128i volumes = _mm_setr_epi32(ch.VolumeL, EqualSides ? ch.VolumeL : ch.VolumeR, ch.VolumeL,
                                               EqualSides ? ch.VolumeL : ch.VolumeR);
        Cursor cursor{ch.Sample->Frames(), ch.Position, ch.SignedStep};
        __m128i last = _mm_setzero_si128();
        for (int32_t g = 0; g < groups; ++g) {
            const __m128i x = interpolate4<Interp>(cursor, tables);
            __m128i gains01 = volumes, gains23 = volumes;
            if constexpr (Ramp) {
                gains01 = _mm_srai_epi32(ramp01, 12);
                gains23 = _mm_srai_epi32(ramp23, 12);
                ramp01 = _mm_add_epi32(ramp01, rampStep);
                ramp23 = _mm_add_epi32(ramp23, rampStep);
            }
            const __m128i out01 = multiplyLow(_mm_unpacklo_epi32(x, x), gains01);
            last = multiplyLow(_mm_unpackhi_epi32(x, x), gains23);
            auto* target = reinterpret_cast<__m128i*>(out + 8 * g);
            _mm_storeu_si128(target, _mm_add_epi32(_mm_loadu_si128(target), out01));
            _mm_storeu_si128(target + 1, _mm_add_epi32(_mm_loadu_si128(target + 1), last));
        }
        vec::finishGroups<Ramp>(ch, cursor.position, 4 * groups, _mm_cvtsi128_si32(_mm_shuffle_epi32(last, 2)),
                                _mm_cvtsi128_si32(_mm_shuffle_epi32(last, 3)));
        if (frames > 4 * groups)
            vec::mixScalar<Interp, Ramp, EqualSides>(ch, out + 8 * groups, frames - 4 * groups, tables);
    }
};

} // namespace

const MixRoutineTable& sse2MixRoutines()
{
    static const MixRoutineTable table = vec::withVectorRoutines<SSE2Family>();
    return table;
}

} // namespace velaxm

#endif

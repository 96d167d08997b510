#include "VelaPNG/Adler32.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velapng {

namespace {

constexpr uint32_t kModulus = 65521;
// The most bytes whose sums cannot overflow 32 bits before the modulus is taken again.
constexpr size_t kMaxRun = 5552;

void AddScalar(uint32_t& a, uint32_t& b, const uint8_t* data, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        a += data[i];
        b += a;
    }
}

#if defined(__SSE2__)
uint32_t HorizontalSum(__m128i v)
{
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm_add_epi32(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return uint32_t(_mm_cvtsi128_si32(v));
}

// Over a run of 16 x m bytes, b grows by (run length) x a, plus each byte weighted by its
// distance from the run's end: 16 - j inside its vector, and 16 for every vector after it.
void AddVectors(uint32_t& a, uint32_t& b, const uint8_t* data, size_t vectors)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i weightsLow = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
    const __m128i weightsHigh = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
    __m128i sum = zero;       // bytes so far, in two 64-bit lanes used as 32-bit
    __m128i sumBefore = zero; // sum of `sum` before each vector
    __m128i weighted = zero;
    for (size_t k = 0; k < vectors; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * k));
        sumBefore = _mm_add_epi32(sumBefore, sum);
        sum = _mm_add_epi32(sum, _mm_sad_epu8(v, zero));
        weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(v, zero), weightsLow));
        weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(v, zero), weightsHigh));
    }
    const uint64_t runB =
        uint64_t(16 * vectors) * a + 16 * uint64_t(HorizontalSum(sumBefore)) + HorizontalSum(weighted);
    a = uint32_t((a + uint64_t(HorizontalSum(sum))) % kModulus);
    b = uint32_t((b + runB) % kModulus);
}
#endif

} // namespace

uint32_t Adler32(uint32_t adler, const uint8_t* data, size_t n)
{
    uint32_t a = adler & 0xffff;
    uint32_t b = adler >> 16;
    while (n > 0) {
        size_t run = n < kMaxRun ? n : kMaxRun;
#if defined(__SSE2__)
        if (run >= 16) {
            run &= ~size_t(15);
            AddVectors(a, b, data, run / 16);
            data += run;
            n -= run;
            continue;
        }
#endif
        AddScalar(a, b, data, run);
        a %= kModulus;
        b %= kModulus;
        data += run;
        n -= run;
    }
    return (b << 16) | a;
}

} // namespace velapng

#include "VelaPNG/Unfilter.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace velapng {

namespace {

// Paeth's predictor, ties resolved left, then up, then upper-left.
inline uint8_t PaethPredict(int a, int b, int c)
{
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc)
        return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}

void CopyRow(const uint8_t* src, const uint8_t*, uint8_t* dst, size_t n) { std::memcpy(dst, src, n); }

void UpRow(const uint8_t* __restrict src, const uint8_t* __restrict prev, uint8_t* __restrict dst, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        dst[i] = uint8_t(src[i] + prev[i]);
}

template <unsigned Bpp>
void SubRow(const uint8_t* __restrict src, const uint8_t*, uint8_t* __restrict dst, size_t n)
{
    const size_t first = n < Bpp ? n : Bpp;
    std::memcpy(dst, src, first);
    for (size_t i = Bpp; i < n; ++i)
        dst[i] = uint8_t(src[i] + dst[i - Bpp]);
}

template <unsigned Bpp>
void AverageRow(const uint8_t* __restrict src, const uint8_t* __restrict prev, uint8_t* __restrict dst, size_t n)
{
    const size_t first = n < Bpp ? n : Bpp;
    for (size_t i = 0; i < first; ++i)
        dst[i] = uint8_t(src[i] + (prev[i] >> 1));
    for (size_t i = Bpp; i < n; ++i)
        dst[i] = uint8_t(src[i] + ((dst[i - Bpp] + prev[i]) >> 1));
}

template <unsigned Bpp>
void PaethRow(const uint8_t* __restrict src, const uint8_t* __restrict prev, uint8_t* __restrict dst, size_t n)
{
    // On the first pixel left and upper-left are 0, so the predictor is the byte above.
    const size_t first = n < Bpp ? n : Bpp;
    for (size_t i = 0; i < first; ++i)
        dst[i] = uint8_t(src[i] + prev[i]);
    for (size_t i = Bpp; i < n; ++i) {
        const int a = dst[i - Bpp];
        const int b = prev[i];
        const int c = prev[i - Bpp];
        const int pa = std::abs(b - c);
        const int pb = std::abs(a - c);
        const int pc = std::abs(a + b - 2 * c);
        // Branch-free form of the tie order: left, then up, then upper-left.
        const int notA = -int(pa > pb || pa > pc);
        const int bOrC = pb <= pc ? b : c;
        dst[i] = uint8_t(src[i] + ((a & ~notA) | (bOrC & notA)));
    }
}

#if defined(__SSE2__)

// Whole pixels of 3 or 4 bytes move through the low lanes of an SSE register; the left pixel
// is carried in a register, so each pixel costs a handful of instructions and no branch.
// Three-byte pixels are assembled in a general register: a 3-byte memcpy through the stack
// would stall every pixel on a failed store-to-load forward.
template <unsigned Bpp>
inline __m128i LoadPixel(const uint8_t* p)
{
    uint32_t v;
    if constexpr (Bpp == 4) {
        std::memcpy(&v, p, 4);
    } else {
        uint16_t low;
        std::memcpy(&low, p, 2);
        v = uint32_t(low) | (uint32_t(p[2]) << 16);
    }
    return _mm_cvtsi32_si128(int(v));
}

template <unsigned Bpp>
inline void StorePixel(uint8_t* p, __m128i v)
{
    const uint32_t x = uint32_t(_mm_cvtsi128_si32(v));
    if constexpr (Bpp == 4) {
        std::memcpy(p, &x, 4);
    } else {
        const uint16_t low = uint16_t(x);
        std::memcpy(p, &low, 2);
        p[2] = uint8_t(x >> 16);
    }
}

template <unsigned Bpp>
void SubRowSSE(const uint8_t* __restrict src, const uint8_t*, uint8_t* __restrict dst, size_t n)
{
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i + Bpp <= n; i += Bpp) {
        left = _mm_add_epi8(left, LoadPixel<Bpp>(src + i));
        StorePixel<Bpp>(dst + i, left);
    }
}

template <unsigned Bpp>
void AverageRowSSE(const uint8_t* __restrict src, const uint8_t* __restrict prev, uint8_t* __restrict dst, size_t n)
{
    const __m128i one = _mm_set1_epi8(1);
    __m128i left = _mm_setzero_si128();
    for (size_t i = 0; i + Bpp <= n; i += Bpp) {
        const __m128i up = LoadPixel<Bpp>(prev + i);
        // _mm_avg_epu8 rounds up; taking away the carried low bit gives the floor the filter wants.
        __m128i avg = _mm_avg_epu8(left, up);
        avg = _mm_sub_epi8(avg, _mm_and_si128(_mm_xor_si128(left, up), one));
        left = _mm_add_epi8(avg, LoadPixel<Bpp>(src + i));
        StorePixel<Bpp>(dst + i, left);
    }
}

inline __m128i Abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }

inline __m128i Select(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

template <unsigned Bpp>
void PaethRowSSE(const uint8_t* __restrict src, const uint8_t* __restrict prev, uint8_t* __restrict dst, size_t n)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero; // left, widened to 16 bits
    __m128i c = zero; // upper-left
    for (size_t i = 0; i + Bpp <= n; i += Bpp) {
        const __m128i b = _mm_unpacklo_epi8(LoadPixel<Bpp>(prev + i), zero);
        const __m128i bc = _mm_sub_epi16(b, c);
        const __m128i ac = _mm_sub_epi16(a, c);
        const __m128i pa = Abs16(bc);
        const __m128i pb = Abs16(ac);
        const __m128i pc = Abs16(_mm_add_epi16(bc, ac));
        const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        const __m128i predicted = Select(_mm_cmpeq_epi16(smallest, pa), a, Select(_mm_cmpeq_epi16(smallest, pb), b, c));
        const __m128i x = _mm_unpacklo_epi8(LoadPixel<Bpp>(src + i), zero);
        a = _mm_and_si128(_mm_add_epi16(predicted, x), _mm_set1_epi16(0xff));
        c = b;
        StorePixel<Bpp>(dst + i, _mm_packus_epi16(a, a));
    }
}

#define VELAPNG_WIDE(kernel, bpp) kernel##SSE<bpp>
#else
#define VELAPNG_WIDE(kernel, bpp) kernel<bpp>
#endif

struct TKernelSet {
    TUnfilterKernel sub, average, paeth;
};

constexpr TKernelSet kKernels[4] = {
    {SubRow<1>, AverageRow<1>, PaethRow<1>},
    {SubRow<2>, AverageRow<2>, PaethRow<2>},
    {VELAPNG_WIDE(SubRow, 3), VELAPNG_WIDE(AverageRow, 3), VELAPNG_WIDE(PaethRow, 3)},
    {VELAPNG_WIDE(SubRow, 4), VELAPNG_WIDE(AverageRow, 4), VELAPNG_WIDE(PaethRow, 4)},
};

} // namespace

TUnfilterKernel SelectUnfilter(uint8_t filterType, unsigned bytesPerPixel)
{
    const TKernelSet& set = kKernels[bytesPerPixel - 1];
    switch (filterType) {
    case 1:
        return set.sub;
    case 2:
        return UpRow;
    case 3:
        return set.average;
    case 4:
        return set.paeth;
    default:
        return CopyRow;
    }
}

void UnfilterReference(uint8_t filterType, unsigned bpp, const uint8_t* src, const uint8_t* prev, uint8_t* dst,
                       size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        const int a = i >= bpp ? dst[i - bpp] : 0;
        const int b = prev[i];
        const int c = i >= bpp ? prev[i - bpp] : 0;
        int predictor = 0;
        switch (filterType) {
        case 1:
            predictor = a;
            break;
        case 2:
            predictor = b;
            break;
        case 3:
            predictor = (a + b) >> 1;
            break;
        case 4:
            predictor = PaethPredict(a, b, c);
            break;
        default:
            break;
        }
        dst[i] = uint8_t(src[i] + predictor);
    }
}

} // namespace velapng

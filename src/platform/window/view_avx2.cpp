// The scaler's inner loops in AVX2. Across: eight client pixels take their two taps from one load of
// eight picture pixels, picked by a permute, where gathering them one by one would cost a load each.
// Down: the client rows go to the window's pixels past the cache, which the display reads next, not us.
#include "view_avx2.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

#include <immintrin.h>

#define AVX2 __attribute__((target("avx2")))

namespace {

bool enabled = true;

// A channel a mixed with b, w of b in 1/256, in sixteen-bit lanes: a * 256 + (b - a) * w is
// a * (256 - w) + b * w, which fits sixteen bits, so wrapping sums give it exactly.
AVX2 __m256i Mix16(__m256i a, __m256i b, __m256i w) {
    __m256i sum = _mm256_add_epi16(_mm256_slli_epi16(a, 8), _mm256_mullo_epi16(_mm256_sub_epi16(b, a), w));
    return _mm256_srli_epi16(sum, 8);
}

// 32 bytes of a and b mixed, the weights of b in w's bytes, or already in sixteen-bit lanes as the
// bytes' unpacking lays them out (wlow, whigh). Each 128-bit half is widened and packed back in place.
AVX2 __m256i Mix32(__m256i a, __m256i b, __m256i wlow, __m256i whigh) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i low = Mix16(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero), wlow);
    __m256i high = Mix16(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero), whigh);
    return _mm256_packus_epi16(low, high);
}
AVX2 __m256i Mix32(__m256i a, __m256i b, __m256i w) {
    const __m256i zero = _mm256_setzero_si256();
    return Mix32(a, b, _mm256_unpacklo_epi8(w, zero), _mm256_unpackhi_epi8(w, zero));
}

AVX2 __m256i Load(const void* at) { return _mm256_loadu_si256(static_cast<const __m256i*>(at)); }

} // namespace

bool Avx2_scaler() {
    static const bool has = __builtin_cpu_supports("avx2");
    return enabled && has;
}

void Use_avx2_scaler(bool on) { enabled = on; }

AVX2 size_t Across_avx2(const uint32_t* row, int m, const int* first, const int* second,
                        const uint8_t* weight, uint32_t* out, size_t at, size_t n) {
    const __m256i spare = _mm256_set1_epi32(0xFFFFFF);
    for (; at + 8 <= n; at += 8) {
        int from = first[at];
        if (from + 8 > m || second[at + 7] - from > 7) break;
        __m256i origin = _mm256_set1_epi32(from), pixels = Load(row + from);
        __m256i a = _mm256_permutevar8x32_epi32(pixels, _mm256_sub_epi32(Load(first + at), origin));
        __m256i b = _mm256_permutevar8x32_epi32(pixels, _mm256_sub_epi32(Load(second + at), origin));
        __m256i mixed = Mix32(a, b, Load(weight + 4 * at));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + at), _mm256_and_si256(mixed, spare));
    }
    return at;
}

AVX2 void Down_avx2(const uint8_t* a, const uint8_t* b, int16_t f, uint8_t* out, size_t blocks) {
    const __m256i w = _mm256_set1_epi16(f);
    for (size_t i = 0; i < 32 * blocks; i += 32)
        _mm256_stream_si256(reinterpret_cast<__m256i*>(out + i), Mix32(Load(a + i), Load(b + i), w, w));
}

AVX2 void Copy_avx2(const uint8_t* from, uint8_t* out, size_t blocks) {
    for (size_t i = 0; i < 32 * blocks; i += 32)
        _mm256_stream_si256(reinterpret_cast<__m256i*>(out + i), Load(from + i));
}

void Fence_avx2() { _mm_sfence(); }

#else

bool Avx2_scaler() { return false; }
void Use_avx2_scaler(bool) {}
size_t Across_avx2(const uint32_t*, int, const int*, const int*, const uint8_t*, uint32_t*, size_t at,
                   size_t) {
    return at;
}
void Down_avx2(const uint8_t*, const uint8_t*, int16_t, uint8_t*, size_t) {}
void Copy_avx2(const uint8_t*, uint8_t*, size_t) {}
void Fence_avx2() {}

#endif

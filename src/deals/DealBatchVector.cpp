#include "deals/DealBatchVector.h"

#include "deals/DealBatch.h"
#include "deals/RandomSource.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define KORVANA_AVX2 __attribute__((target("avx2")))

namespace {

// The running state of eight deals, one per 32-bit lane: the seeds, the three
// running sums of free places (North's; North's and East's; up to South's) and,
// for each sum, the set of cards drawn below it, split into cards 1..31 (bits
// 1..31 of the low word) and cards 32..52 (bits 0..20 of the high word). A card
// below the first sum is North's, below the second only East's, and so on.
struct TLanes {
    __m256i Seeds, Sum1, Sum2, Sum3;
    __m256i Low1, Low2, Low3, High1, High2, High3;
};

// Card k: every lane draws a number below `range` and the card, one bit of
// `bit`, joins the sets of the sums the number is below; those sums shrink by one.
KORVANA_AVX2 inline __attribute__((always_inline)) void Draw(TLanes& l, uint32_t range, __m256i bit,
                                                             __m256i& in1, __m256i& in2,
                                                             __m256i& in3) {
    const __m256i multiplier = _mm256_set1_epi32(static_cast<int32_t>(TRandomSource::Multiplier));
    const __m256i increment = _mm256_set1_epi32(static_cast<int32_t>(TRandomSource::Increment));
    l.Seeds = _mm256_add_epi32(_mm256_mullo_epi32(l.Seeds, multiplier), increment);
    // The upper 32 bits of seed x range: even lanes, then odd lanes, then merged.
    const __m256i scale = _mm256_set1_epi32(static_cast<int32_t>(range));
    const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(l.Seeds, scale), 32);
    const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(l.Seeds, 32), scale);
    const __m256i r = _mm256_blend_epi32(even, odd, 0xAA);
    // All-ones where r is below the sum (the values are small: signed compare).
    const __m256i below1 = _mm256_cmpgt_epi32(l.Sum1, r);
    const __m256i below2 = _mm256_cmpgt_epi32(l.Sum2, r);
    const __m256i below3 = _mm256_cmpgt_epi32(l.Sum3, r);
    l.Sum1 = _mm256_add_epi32(l.Sum1, below1);
    l.Sum2 = _mm256_add_epi32(l.Sum2, below2);
    l.Sum3 = _mm256_add_epi32(l.Sum3, below3);
    in1 = _mm256_or_si256(in1, _mm256_and_si256(below1, bit));
    in2 = _mm256_or_si256(in2, _mm256_and_si256(below2, bit));
    in3 = _mm256_or_si256(in3, _mm256_and_si256(below3, bit));
}

}  // namespace

bool VectorDealingSupported() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

KORVANA_AVX2 void DealBatchVector(uint32_t seed, TDealBatch& batch) {
    alignas(32) uint32_t lanes[8];
    for (uint32_t j = 0; j < 8; ++j) {
        lanes[j] = TRandomSource::JumpAhead(seed, 51u * j);
        batch.Seeds[j] = lanes[j];
    }
    TLanes l;
    l.Seeds = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
    l.Sum1 = _mm256_set1_epi32(13);
    l.Sum2 = _mm256_set1_epi32(26);
    l.Sum3 = _mm256_set1_epi32(39);
    l.Low1 = l.Low2 = l.Low3 = l.High1 = l.High2 = l.High3 = _mm256_setzero_si256();
    for (uint32_t card = 1; card <= 31; ++card)
        Draw(l, 53 - card, _mm256_set1_epi32(static_cast<int32_t>(1u << card)), l.Low1, l.Low2,
             l.Low3);
    for (uint32_t card = 32; card <= 51; ++card)
        Draw(l, 53 - card, _mm256_set1_epi32(static_cast<int32_t>(1u << (card - 32))), l.High1,
             l.High2, l.High3);
    // The ace of spades: below the sums that still count a free place, as a
    // draw of 0 would be, without a draw.
    const __m256i zero = _mm256_setzero_si256();
    const __m256i ace = _mm256_set1_epi32(1 << 20);
    l.High1 = _mm256_or_si256(l.High1, _mm256_and_si256(_mm256_cmpgt_epi32(l.Sum1, zero), ace));
    l.High2 = _mm256_or_si256(l.High2, _mm256_and_si256(_mm256_cmpgt_epi32(l.Sum2, zero), ace));
    l.High3 = _mm256_or_si256(l.High3, _mm256_and_si256(_mm256_cmpgt_epi32(l.Sum3, zero), ace));

    alignas(32) uint32_t low[3][8], high[3][8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(low[0]), l.Low1);
    _mm256_store_si256(reinterpret_cast<__m256i*>(low[1]), l.Low2);
    _mm256_store_si256(reinterpret_cast<__m256i*>(low[2]), l.Low3);
    _mm256_store_si256(reinterpret_cast<__m256i*>(high[0]), l.High1);
    _mm256_store_si256(reinterpret_cast<__m256i*>(high[1]), l.High2);
    _mm256_store_si256(reinterpret_cast<__m256i*>(high[2]), l.High3);
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), l.Seeds);
    constexpr uint64_t AllCards = ((uint64_t{1} << 52) - 1) << 1;
    for (std::size_t j = 0; j < 8; ++j) {
        const uint64_t in1 = low[0][j] | static_cast<uint64_t>(high[0][j]) << 32;
        const uint64_t in2 = low[1][j] | static_cast<uint64_t>(high[1][j]) << 32;
        const uint64_t in3 = low[2][j] | static_cast<uint64_t>(high[2][j]) << 32;
        batch.Deals[j].Hands = {in1, in2 & ~in1, in3 & ~in2, AllCards & ~in3};
    }
    batch.Seeds[8] = lanes[7];
}

#else

bool VectorDealingSupported() { return false; }

void DealBatchVector(uint32_t, TDealBatch&) {}

#endif

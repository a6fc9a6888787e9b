#include "deals/internal/DealBatchVector.h"

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
// The seeds of odd and of even cards are two chains, each stepping two draws at
// once, so that the multiplications of one card need not wait for the last.
struct TLanes {
    __m256i OddSeeds, EvenSeeds, Sum1, Sum2, Sum3;
    __m256i Low1, Low2, Low3, High1, High2, High3;
};

constexpr uint32_t TwoStepMultiplier = TRandomSource::Multiplier * TRandomSource::Multiplier;
constexpr uint32_t TwoStepIncrement =
    TRandomSource::Multiplier * TRandomSource::Increment + TRandomSource::Increment;

// Card `card` (its seed already in `seeds`): every lane takes the upper 32 bits
// of seed x (53 - card), and the card, one bit of `bit`, joins the sets of the
// sums that number is below; those sums shrink by one.
KORVANA_AVX2 inline __attribute__((always_inline)) void Place(TLanes& l, __m256i seeds,
                                                              uint32_t card, __m256i bit,
                                                              __m256i& in1, __m256i& in2,
                                                              __m256i& in3) {
    const __m256i scale = _mm256_set1_epi32(static_cast<int32_t>(53 - card));
    const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(seeds, scale), 32);
    const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(seeds, 32), scale);
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

KORVANA_AVX2 inline __attribute__((always_inline)) __m256i Step(__m256i seeds, __m256i multiplier,
                                                                __m256i increment) {
    return _mm256_add_epi32(_mm256_mullo_epi32(seeds, multiplier), increment);
}

// Cards first..last, `first` odd, taking turns between the two chains.
template <uint32_t First, uint32_t Last, bool High>
KORVANA_AVX2 inline __attribute__((always_inline)) void PlaceCards(TLanes& l) {
    const __m256i multiplier = _mm256_set1_epi32(static_cast<int32_t>(TwoStepMultiplier));
    const __m256i increment = _mm256_set1_epi32(static_cast<int32_t>(TwoStepIncrement));
    __m256i& in1 = High ? l.High1 : l.Low1;
    __m256i& in2 = High ? l.High2 : l.Low2;
    __m256i& in3 = High ? l.High3 : l.Low3;
#pragma GCC unroll 32
    for (uint32_t card = First; card <= Last; ++card) {
        const __m256i bit =
            _mm256_set1_epi32(static_cast<int32_t>(1u << (High ? card - 32 : card)));
        if (card % 2 == 1) {
            Place(l, l.OddSeeds, card, bit, in1, in2, in3);
            if (card + 2 <= 51) l.OddSeeds = Step(l.OddSeeds, multiplier, increment);
        } else {
            Place(l, l.EvenSeeds, card, bit, in1, in2, in3);
            if (card + 2 <= 51) l.EvenSeeds = Step(l.EvenSeeds, multiplier, increment);
        }
    }
}

// Cards First..Last placed from given draws, one row of eight per card.
template <uint32_t First, uint32_t Last, bool High>
KORVANA_AVX2 inline __attribute__((always_inline)) void PlaceDrawnCards(
    TLanes& l, const uint32_t (*draws)[8]) {
    __m256i& in1 = High ? l.High1 : l.Low1;
    __m256i& in2 = High ? l.High2 : l.Low2;
    __m256i& in3 = High ? l.High3 : l.Low3;
#pragma GCC unroll 32
    for (uint32_t card = First; card <= Last; ++card) {
        const __m256i bit =
            _mm256_set1_epi32(static_cast<int32_t>(1u << (High ? card - 32 : card)));
        const __m256i r = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(draws[card - 1]));
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
}

// The ace of spades joins the sets of the sums that still count a free
// place, as a draw of 0 would; then the eight deals' hands.
KORVANA_AVX2 inline __attribute__((always_inline)) void FinishLanes(TLanes& l, TCardSets* deals) {
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
    constexpr uint64_t AllCards = ((uint64_t{1} << 52) - 1) << 1;
    for (std::size_t j = 0; j < 8; ++j) {
        const uint64_t in1 = low[0][j] | static_cast<uint64_t>(high[0][j]) << 32;
        const uint64_t in2 = low[1][j] | static_cast<uint64_t>(high[1][j]) << 32;
        const uint64_t in3 = low[2][j] | static_cast<uint64_t>(high[2][j]) << 32;
        deals[j].Hands = {in1, in2 & ~in1, in3 & ~in2, AllCards & ~in3};
    }
}

}  // namespace

KORVANA_AVX2 void PlaceDrawsVector(const uint32_t (*draws)[8], TCardSets* deals) {
    TLanes l;
    l.Sum1 = _mm256_set1_epi32(13);
    l.Sum2 = _mm256_set1_epi32(26);
    l.Sum3 = _mm256_set1_epi32(39);
    l.Low1 = l.Low2 = l.Low3 = l.High1 = l.High2 = l.High3 = _mm256_setzero_si256();
    PlaceDrawnCards<1, 31, false>(l, draws);
    PlaceDrawnCards<32, 51, true>(l, draws);
    FinishLanes(l, deals);
}

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
    const __m256i multiplier = _mm256_set1_epi32(static_cast<int32_t>(TRandomSource::Multiplier));
    const __m256i increment = _mm256_set1_epi32(static_cast<int32_t>(TRandomSource::Increment));
    l.OddSeeds =
        Step(_mm256_load_si256(reinterpret_cast<const __m256i*>(lanes)), multiplier, increment);
    l.EvenSeeds = Step(l.OddSeeds, multiplier, increment);
    l.Sum1 = _mm256_set1_epi32(13);
    l.Sum2 = _mm256_set1_epi32(26);
    l.Sum3 = _mm256_set1_epi32(39);
    l.Low1 = l.Low2 = l.Low3 = l.High1 = l.High2 = l.High3 = _mm256_setzero_si256();
    PlaceCards<1, 31, false>(l);
    PlaceCards<32, 51, true>(l);
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
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), l.OddSeeds);  // card 51's
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

void PlaceDrawsVector(const uint32_t (*)[8], TCardSets*) {}

#endif

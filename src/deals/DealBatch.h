#pragma once
// Deals in batches for the generator's loop: eight deals in a row from one
// seed, as card sets, exactly the deals and seeds that eight calls of
// TDeal::DealFromSeed in a row give. The seed of deal k + j is a fixed affine
// function of the seed of deal k, so on a processor with AVX2 the eight deals
// draw their 51 numbers side by side in the eight lanes of a register; any
// other processor takes the portable path, one deal after another.
#include <array>
#include <cstdint>

#include "deals/CardSets.h"

struct TDealBatch {
    static constexpr int32_t Size = 8;
    std::array<TCardSets, Size> Deals{};
    // Seeds[j]: the seed deal j starts from; Seeds[Size]: the seed after the last.
    std::array<uint32_t, Size + 1> Seeds{};
};

// How a run deals; every path gives the same deals. OneByOne is TDeal's own
// loop, the others deal in batches.
enum class TDealingPath { Fastest, OneByOne, Portable, Vector };

// Whether this processor can take the vector path.
bool VectorDealingAvailable();

// Deals the batch from `seed` by the fastest path this processor has.
void DealBatch(uint32_t seed, TDealBatch& batch);
// The same by the path given; Vector falls back to Portable on a processor
// without AVX2, and OneByOne, which is no batch path, is taken as Fastest.
void DealBatch(uint32_t seed, TDealBatch& batch, TDealingPath path);

// Deals one deal at a time, dealt eight at a time: Next(seed) gives the deal
// DealFromSeed would give from `seed` and moves the seed past it. A seed other
// than the one the last deal left (a reseed) starts a new batch from it.
class TDealStream {
public:
    explicit TDealStream(TDealingPath path = TDealingPath::Fastest) : path_(path) {}

    const TCardSets& Next(uint32_t& seed) {
        if (next_ == TDealBatch::Size || seed != batch_.Seeds[static_cast<std::size_t>(next_)]) {
            DealBatch(seed, batch_, path_);
            next_ = 0;
        }
        const auto index = static_cast<std::size_t>(next_++);
        seed = batch_.Seeds[index + 1];
        return batch_.Deals[index];
    }

private:
    TDealingPath path_;
    TDealBatch batch_;
    int32_t next_ = TDealBatch::Size;
};

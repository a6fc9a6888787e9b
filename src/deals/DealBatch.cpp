#include "deals/DealBatch.h"

#include "deals/FreePlaces.h"
#include "deals/RandomSource.h"
#include "deals/internal/DealBatchVector.h"

namespace {

// One deal as card sets, drawn as TDeal::DealFromSeed draws it: card k (1..51)
// draws a number below 53 - k and goes to the seat whose free places it falls
// in; the ace of spades takes the one place left.
void DealOne(uint32_t& seed, TCardSets& sets) {
    uint32_t current = seed;
    TFreePlaces places(13, 13, 13);
    std::array<uint64_t, 4> hands{};
    for (uint32_t card = 1; card <= 51; ++card) {
        current = TRandomSource::NextSeed(current);
        auto r =
            static_cast<uint32_t>(TRandomSource::Scale(current, static_cast<int32_t>(53 - card)));
        hands[places.Take(r)] |= uint64_t{1} << card;
    }
    hands[places.Take(0)] |= uint64_t{1} << 52;
    sets.Hands = hands;
    seed = current;
}

void DealBatchPortable(uint32_t seed, TDealBatch& batch) {
    for (int32_t j = 0; j < TDealBatch::Size; ++j) {
        batch.Seeds[static_cast<std::size_t>(j)] = seed;
        DealOne(seed, batch.Deals[static_cast<std::size_t>(j)]);
    }
    batch.Seeds[TDealBatch::Size] = seed;
}

using TBatchDealer = void (*)(uint32_t, TDealBatch&);

TBatchDealer Fastest() {
    static const TBatchDealer dealer =
        VectorDealingAvailable() ? DealBatchVector : DealBatchPortable;
    return dealer;
}

}  // namespace

bool VectorDealingAvailable() { return VectorDealingSupported(); }

void DealBatch(uint32_t seed, TDealBatch& batch) { Fastest()(seed, batch); }

void DealBatch(uint32_t seed, TDealBatch& batch, TDealingPath path) {
    switch (path) {
        case TDealingPath::Fastest:
        case TDealingPath::OneByOne:
            Fastest()(seed, batch);
            return;
        case TDealingPath::Portable:
            DealBatchPortable(seed, batch);
            return;
        case TDealingPath::Vector:
            (VectorDealingAvailable() ? DealBatchVector : DealBatchPortable)(seed, batch);
            return;
    }
}

#include "deals/DealBatch.h"

#include "deals/DealBatchVector.h"
#include "deals/RandomSource.h"

namespace {

// One deal as card sets, drawn as TDeal::DealFromSeed draws it: card k (1..51)
// draws a number below 53 - k and goes to the seat whose free places it falls
// in; the ace of spades takes the one place left.
void DealOne(uint32_t& seed, TCardSets& sets) {
    uint32_t current = seed;
    // The running sums of free places (North's; North's and East's; up to
    // South's) in bytes 0..2, each plus 0x7F, as in TDeal::DealFromSeed.
    uint32_t sums = (13u | 26u << 8 | 39u << 16) + 0x7F7F7Fu;
    std::array<uint64_t, 4> hands{};
    for (uint32_t card = 1; card <= 51; ++card) {
        current = TRandomSource::NextSeed(current);
        auto r =
            static_cast<uint32_t>(TRandomSource::Scale(current, static_cast<int32_t>(53 - card)));
        uint32_t below = ((sums - r * 0x010101u) & 0x808080u) >> 7;
        sums -= below;
        uint32_t above = ((below * 0x010101u) >> 16) & 0xFF;  // the seat is 4 - above
        hands[3 - above] |= uint64_t{1} << card;
    }
    uint32_t upToNorth = (sums & 0xFF) - 0x7F, upToEast = ((sums >> 8) & 0xFF) - 0x7F,
             upToSouth = ((sums >> 16) & 0xFF) - 0x7F;
    std::size_t last = upToNorth != 0          ? 0
                       : upToEast != upToNorth ? 1
                       : upToSouth != upToEast ? 2
                                               : 3;
    hands[last] |= uint64_t{1} << 52;
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

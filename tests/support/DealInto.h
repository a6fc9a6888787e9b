#pragma once
// Deals of a key value appended to a collection, from a source of their own.
#include <cstdint>

#include "deals/DealCollection.h"
#include "deals/RandomSource.h"

inline void DealInto(TDeals& deals, int32_t key, int32_t count) {
    TRandomSource source;
    source.SetSeed(key);
    TDeal deal;
    for (int32_t i = 0; i < count; ++i) {
        deal.DealRandom(source);
        deals.Add(deal);
    }
}

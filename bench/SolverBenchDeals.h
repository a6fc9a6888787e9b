#pragma once
// What the benchmarks measured against the solver's own entry points share:
// the same deals every run, from a seed, and the solver's cards of a deal
// written out here rather than by Korvana's code, so that the reference side
// of each comparison calls nothing of Korvana's.
#include <dds/dll.h>

#include <cstdint>
#include <vector>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/FixedCards.h"

// `count` deals from `seed`, each holding the fixed cards.
inline std::vector<TDeal> SeededDeals(int32_t count, uint32_t seed,
                                      const TFixedCards& fixed = TFixedCards()) {
    std::vector<TDeal> deals(static_cast<std::size_t>(count));
    for (TDeal& deal : deals) deal.DealFromSeed(seed, fixed);
    return deals;
}

// The deal's cards as the solver holds them: rank bits 2..14, hands 0 North ..
// 3 West, suits 0 spades .. 3 clubs.
inline void FillReferenceCards(const TDeal& deal, unsigned int cards[DDS_HANDS][DDS_SUITS]) {
    for (int hand = 0; hand < DDS_HANDS; ++hand)
        for (int suit = 0; suit < DDS_SUITS; ++suit) cards[hand][suit] = 0;
    for (int32_t seat = 1; seat <= 4; ++seat)
        for (int32_t j = 1; j <= THand::CardsInHand; ++j) {
            const int32_t card = deal.Hand(seat).Card(j);
            cards[seat - 1][4 - CardSuit(card)] |= 1u << ((card - 1) % 13 + 2);
        }
}

// The deal before the opening lead: `strain` trumps (0 notrump, 1 clubs ..
// 4 spades), the left-hand opponent of `declarer` (1..4) on lead.
inline ::deal ReferencePosition(const TDeal& deal, int32_t declarer, int32_t strain) {
    ::deal position{};
    position.trump = strain == 0 ? 4 : 4 - strain;
    position.first = declarer % 4;
    FillReferenceCards(deal, position.remainCards);
    return position;
}

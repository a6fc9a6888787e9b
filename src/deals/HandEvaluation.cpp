// Losers, controls, single cards and top honours of a hand. A hand read from a
// damaged file may repeat a card or hold places that are no card: the set of
// cards counts each card once and ignores the rest.
#include "deals/Hand.h"
#include "deals/internal/HandRules.h"

uint64_t THand::CardSet() const {
    uint64_t set = 0;
    for (int8_t card : cards_)
        if (IsCard(card)) set |= uint64_t{1} << card;
    return set;
}

int32_t THand::Losers(int32_t suit) { return HandRules::Losers(*this, suit); }

int32_t THand::Controls(int32_t suit) { return HandRules::Controls(*this, suit); }

bool THand::HasCard(int32_t suit, int32_t rank) const {
    return HandRules::HasCard(*this, suit, rank);
}

int32_t THand::TopHonours(int32_t suit, int32_t n) const {
    return HandRules::TopHonours(*this, suit, n);
}

// Losers, controls, single cards and top honours of a hand. A hand read from a
// damaged file may repeat a card or hold places that are no card: the set of
// cards counts each card once and ignores the rest.
#include <algorithm>
#include <bit>

#include "deals/BridgeTerms.h"
#include "deals/Hand.h"

namespace {
bool IsSuitNumber(int32_t suit) { return suit >= 1 && suit <= 4; }

// The card number of a suit 1..4 and a rank 2..14.
int32_t CardOf(int32_t suit, int32_t rank) { return (suit - 1) * 13 + rank - 1; }

// The n highest ranks of the suit (n 0..13) as bits of a card set.
uint64_t TopOfSuit(int32_t suit, int32_t n) {
    uint64_t ranks = ((uint64_t{1} << n) - 1) << (13 - n);  // bits 0..12: two .. ace
    return ranks << (CardOf(suit, 2));
}
}  // namespace

uint64_t THand::CardSet() const {
    uint64_t set = 0;
    for (int8_t card : cards_)
        if (IsCard(card)) set |= uint64_t{1} << card;
    return set;
}

int32_t THand::Losers(int32_t suit) {
    if (!IsSuitNumber(suit))
        return Losers(Clubs) + Losers(Diamonds) + Losers(Hearts) + Losers(Spades);
    int32_t counted = std::min(SuitLength(suit), 3);
    return counted - std::popcount(CardSet() & TopOfSuit(suit, counted));
}

int32_t THand::Controls(int32_t suit) {
    if (!IsSuitNumber(suit))
        return Controls(Clubs) + Controls(Diamonds) + Controls(Hearts) + Controls(Spades);
    uint64_t set = CardSet();
    return 2 * static_cast<int32_t>((set >> CardOf(suit, 14)) & 1) +
           static_cast<int32_t>((set >> CardOf(suit, 13)) & 1);
}

bool THand::HasCard(int32_t suit, int32_t rank) const {
    if (!IsSuitNumber(suit) || rank < 2 || rank > 14) return false;
    return ((CardSet() >> CardOf(suit, rank)) & 1) != 0;
}

int32_t THand::TopHonours(int32_t suit, int32_t n) const {
    if (!IsSuitNumber(suit) || n < 1 || n > 13) return 0;
    return std::popcount(CardSet() & TopOfSuit(suit, n));
}

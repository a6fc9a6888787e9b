#pragma once
// Builds hands for tests from "spades.hearts.diamonds.clubs" rank texts, for
// example "AKQ2.KJ3.T98.765" or "AKQJT98765432.-.-.-"; cards are stored in
// descending order as in a dealt hand, missing places hold 0.
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "deals/BridgeTerms.h"
#include "deals/Hand.h"

inline THand MakeHand(std::string_view suits) {
    std::vector<int32_t> cards;
    int32_t suit = Spades;
    for (char c : suits) {
        if (c == '.') {
            --suit;
            continue;
        }
        if (c == '-') continue;
        const int32_t rank = RankOfChar(c);
        if (rank < 0 || suit < Clubs) throw std::invalid_argument(std::string(suits));
        cards.push_back((suit - 1) * 13 + rank + 1);
    }
    if (cards.size() > 13) throw std::invalid_argument(std::string(suits));
    std::sort(cards.begin(), cards.end(), std::greater<>());
    THand hand;
    for (std::size_t j = 0; j < cards.size(); ++j)
        hand.SetCard(static_cast<int32_t>(j + 1), cards[j]);
    hand.ResetFigures();
    return hand;
}

// The hand's suits as "spades.hearts.diamonds.clubs", from SuitText.
inline std::string SuitsOf(const THand& hand) {
    return hand.SuitText(Spades) + "." + hand.SuitText(Hearts) + "." + hand.SuitText(Diamonds) +
           "." + hand.SuitText(Clubs);
}

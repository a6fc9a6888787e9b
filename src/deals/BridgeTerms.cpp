#include "deals/BridgeTerms.h"

// Facts of the card numbering, checked when the core is compiled.
static_assert(CardSuit(1) == Clubs && CardSuit(13) == Clubs && CardSuit(14) == Diamonds);
static_assert(CardSuit(40) == Spades && CardSuit(52) == Spades && CardSuit(53) == 0);
static_assert(CardPoints(52) == 4 && CardPoints(51) == 3 && CardPoints(50) == 2);
static_assert(CardPoints(49) == 1 && CardPoints(48) == 0 && CardPoints(0) == 0);
static_assert(CardChar(48) == "T" && CardChar(1) == "2" && CardChar(0).empty());

#include "deals/CardSets.h"

#include "deals/internal/HandRules.h"

namespace {

uint32_t SuitBits(uint64_t set, int32_t suit) {
    return static_cast<uint32_t>(set >> CardSetTables::SuitShift(suit)) & 0x1FFFu;
}

}  // namespace

int32_t TCardSetHand::SuitByLength(int32_t n) const {
    if (n < 1 || n > 4) return 0;
    using CardSetTables::Lengths;
    const auto sorted =
        HandRules::LongestFirst<int32_t>(Lengths[SuitBits(set_, 1)], Lengths[SuitBits(set_, 2)],
                                         Lengths[SuitBits(set_, 3)], Lengths[SuitBits(set_, 4)]);
    return sorted[static_cast<std::size_t>(n - 1)];
}

namespace {
bool IsSeat(int32_t seat) { return seat >= 1 && seat <= 4; }
}  // namespace

// Each seat form: the rule on the seat's hand, or `none` for another seat.
#define KORVANA_SEAT_FORM(NAME, RESULT, NONE, PARAMETERS, ARGUMENTS)        \
    RESULT TCardSets::NAME(int32_t seat PARAMETERS) const {                 \
        if (!IsSeat(seat)) return NONE;                                     \
        const TCardSetHand hand(Hands[static_cast<std::size_t>(seat - 1)]); \
        return HandRules::NAME(hand ARGUMENTS);                             \
    }
#define P(...) , __VA_ARGS__

int32_t TCardSets::SuitByLength(int32_t seat, int32_t n) const {
    return IsSeat(seat) ? TCardSetHand(Hands[static_cast<std::size_t>(seat - 1)]).SuitByLength(n)
                        : 0;
}

KORVANA_SEAT_FORM(Range, bool, false, P(int32_t min, int32_t max), P(min, max))
KORVANA_SEAT_FORM(Balanced, bool, false, P(int32_t min, int32_t max), P(min, max))
KORVANA_SEAT_FORM(Polish1c, bool, false, P(int32_t a1, int32_t a2, int32_t a3, int32_t a4),
                  P(a1, a2, a3, a4))
KORVANA_SEAT_FORM(Prec1d, bool, false, P(int32_t a1, int32_t a2, int32_t a3, int32_t a4),
                  P(a1, a2, a3, a4))
KORVANA_SEAT_FORM(Unbal1d, bool, false, P(int32_t a1, int32_t a2), P(a1, a2))
KORVANA_SEAT_FORM(Prec1h, bool, false, P(int32_t a1, int32_t a2), P(a1, a2))
KORVANA_SEAT_FORM(Prec1s, bool, false, P(int32_t a1, int32_t a2), P(a1, a2))
KORVANA_SEAT_FORM(Prec2c, bool, false, P(int32_t a1, int32_t a2), P(a1, a2))
KORVANA_SEAT_FORM(Multy, bool, false,
                  P(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6),
                  P(a1, a2, a3, a4, a5, a6))
KORVANA_SEAT_FORM(Suits, bool, false, P(int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c),
                  P(mode, s, h, d, c))
KORVANA_SEAT_FORM(Shape, bool, false,
                  P(int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4),
                  P(mode, l1, l2, l3, l4))
KORVANA_SEAT_FORM(Losers, int32_t, 0, P(int32_t suit), P(suit))
KORVANA_SEAT_FORM(Controls, int32_t, 0, P(int32_t suit), P(suit))
KORVANA_SEAT_FORM(HasCard, bool, false, P(int32_t suit, int32_t rank), P(suit, rank))
KORVANA_SEAT_FORM(TopHonours, int32_t, 0, P(int32_t suit, int32_t n), P(suit, n))

#undef P
#undef KORVANA_SEAT_FORM

#pragma once
// A dealt deal as four sets of cards, the form the generator's loop deals and
// tests: bit c of a hand's set for every card c (1..52) the hand holds, so
// points and lengths are a few table look-ups instead of a pass over card
// places. Only deals of 52 distinct cards take this form; a deal read from a
// file keeps TDeal's card places. The hand functions give exactly what TDeal's
// give for the same deal (the rules are shared, HandRules.h).
#include <array>
#include <cstdint>

namespace CardSetTables {
// The length of every 13-bit suit, looked up instead of counted, since the
// program is built for processors without a population-count instruction.
inline constexpr std::array<uint8_t, 8192> Lengths = [] {
    std::array<uint8_t, 8192> table{};
    for (uint32_t bits = 1; bits < table.size(); ++bits)
        table[bits] = static_cast<uint8_t>(table[bits & (bits - 1)] + 1);
    return table;
}();
// The points of a suit's jack, queen, king and ace bits (bits 9..12 of the suit).
inline constexpr std::array<uint8_t, 16> HonourPoints = [] {
    std::array<uint8_t, 16> table{};
    for (uint32_t bits = 0; bits < table.size(); ++bits)
        table[bits] = static_cast<uint8_t>((bits & 1) + 2 * ((bits >> 1) & 1) +
                                           3 * ((bits >> 2) & 1) + 4 * ((bits >> 3) & 1));
    return table;
}();
// Where suit 1..4 starts in a set: its two is card (suit - 1) x 13 + 1.
constexpr int32_t SuitShift(int32_t suit) { return (suit - 1) * 13 + 1; }
}  // namespace CardSetTables

// One hand as a set of cards, with its figures computed when asked.
class TCardSetHand {
public:
    explicit TCardSetHand(uint64_t set) : set_(set) {}

    // Points of suit 1..4; any other number gives the whole hand's points.
    int32_t HCP(int32_t suit) const {
        using namespace CardSetTables;
        if (suit >= 1 && suit <= 4) return HonourPoints[(set_ >> (SuitShift(suit) + 9)) & 0xF];
        return HonourPoints[(set_ >> 10) & 0xF] + HonourPoints[(set_ >> 23) & 0xF] +
               HonourPoints[(set_ >> 36) & 0xF] + HonourPoints[(set_ >> 49) & 0xF];
    }
    // Cards of suit 1..4; 0 for any other number.
    int32_t SuitLength(int32_t suit) const {
        using namespace CardSetTables;
        return suit >= 1 && suit <= 4 ? Lengths[(set_ >> SuitShift(suit)) & 0x1FFF] : 0;
    }
    // Length of the n-th longest suit (1 longest .. 4 shortest); 0 for other n.
    int32_t SuitByLength(int32_t n) const;
    uint64_t CardSet() const { return set_; }

private:
    uint64_t set_;
};

// The four hands, North (seat 1) first. The seat forms give 0 or false for a
// seat outside 1..4, as TDeal's do.
struct TCardSets {
    std::array<uint64_t, 4> Hands{};

    int32_t HCP(int32_t seat, int32_t suit) const {
        return seat >= 1 && seat <= 4
                   ? TCardSetHand(Hands[static_cast<std::size_t>(seat - 1)]).HCP(suit)
                   : 0;
    }
    int32_t SuitLength(int32_t seat, int32_t suit) const {
        return seat >= 1 && seat <= 4
                   ? TCardSetHand(Hands[static_cast<std::size_t>(seat - 1)]).SuitLength(suit)
                   : 0;
    }
    int32_t SuitByLength(int32_t seat, int32_t n) const;
    bool Range(int32_t seat, int32_t min, int32_t max) const;
    bool Balanced(int32_t seat, int32_t min, int32_t max) const;
    bool Polish1c(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4) const;
    bool Prec1d(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4) const;
    bool Unbal1d(int32_t seat, int32_t a1, int32_t a2) const;
    bool Prec1h(int32_t seat, int32_t a1, int32_t a2) const;
    bool Prec1s(int32_t seat, int32_t a1, int32_t a2) const;
    bool Prec2c(int32_t seat, int32_t a1, int32_t a2) const;
    bool Multy(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5,
               int32_t a6) const;
    bool Suits(int32_t seat, int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c) const;
    bool Shape(int32_t seat, int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4) const;
    int32_t Losers(int32_t seat, int32_t suit) const;
    int32_t Controls(int32_t seat, int32_t suit) const;
    bool HasCard(int32_t seat, int32_t suit, int32_t rank) const;
    int32_t TopHonours(int32_t seat, int32_t suit, int32_t n) const;

    bool operator==(const TCardSets&) const = default;
};

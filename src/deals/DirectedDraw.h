#pragma once
// Directed dealing: one seat's hand is drawn exactly from the hands that meet
// its bounds (a set of patterns, points as ranges), the other cards are dealt
// at random among the other seats. A deal drawn so, when it passes the whole
// condition, is as likely as it is under rejection dealing: the bounds only
// leave out hands the condition refuses anyway.
//
// The hands are counted by (length, points) in each suit over the cards the
// seat can get (all but those fixed to other seats, with its own fixed cards
// always in), and the suits combined for each pattern over total points in
// range. A draw picks a pattern and then the points of each suit in
// proportion to their counts of hands, then each suit's holding uniformly
// among those of its length and points.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "deals/CardSets.h"
#include "deals/FixedCards.h"
#include "deals/SecureSource.h"

// A range of whole numbers, both ends in; empty when Low > High.
struct TBound {
    int32_t Low = 0;
    int32_t High = 0;
    bool Empty() const { return Low > High; }
    bool operator==(const TBound&) const = default;
};

// A set of patterns: of the 560 ways to split 13 cards among the four suits,
// each a length per suit, clubs first.
class TShapes {
public:
    static constexpr std::size_t Count = 560;
    using TLengths = std::array<int32_t, 4>;
    // The patterns in a fixed order; a set holds their indexes.
    static const std::array<TLengths, Count>& Patterns();

    // Every pattern.
    static TShapes Every() {
        TShapes every;
        every.bits_.fill(~uint64_t{0});
        every.bits_.back() = (uint64_t{1} << (Count % 64)) - 1;
        return every;
    }
    // Those of this set for which pred(lengths) holds.
    template <class TPred>
    TShapes Where(TPred pred) const {
        TShapes kept;
        for (std::size_t i = 0; i < Count; ++i)
            if (Has(i) && pred(Patterns()[i])) kept.bits_[i / 64] |= uint64_t{1} << (i % 64);
        return kept;
    }
    bool Has(std::size_t i) const { return (bits_[i / 64] >> (i % 64) & 1) != 0; }
    bool None() const;
    // The shortest and longest the set's patterns make suit index k.
    TBound Lengths(std::size_t k) const;
    TShapes operator&(const TShapes& other) const;
    TShapes operator|(const TShapes& other) const;
    bool operator==(const TShapes&) const = default;

private:
    std::array<uint64_t, (Count + 63) / 64> bits_{};
};

// What a hand must meet; the widest bounds impose nothing. Suits 1..4 (clubs
// first) at index suit - 1.
struct THandBounds {
    static constexpr int32_t MostSuitPoints = 10;
    static constexpr int32_t MostPoints = 37;
    TShapes Shapes = TShapes::Every();
    std::array<TBound, 4> Points{
        {{0, MostSuitPoints}, {0, MostSuitPoints}, {0, MostSuitPoints}, {0, MostSuitPoints}}};
    TBound Total{0, MostPoints};

    // Whether no hand can meet them (no pattern, or a range is empty).
    bool Empty() const;
    // Whether they impose nothing.
    bool Unbounded() const { return *this == THandBounds{}; }
    // Both bounds at once; the smallest bounds around either.
    static THandBounds Meet(const THandBounds& a, const THandBounds& b);
    static THandBounds Hull(const THandBounds& a, const THandBounds& b);
    bool operator==(const THandBounds&) const = default;
};

class TDirectedDraw {
public:
    // Counts the hands of `seat` (1..4) that meet the bounds, given the fixed cards.
    TDirectedDraw(int32_t seat, const THandBounds& bounds, const TFixedCards& fixed);
    // Makes the tables the draws read (a few thousand entries); only then may
    // Deal be called, and only when Drawable.
    void Prepare();

    int32_t Seat() const { return seat_; }
    // The hands the seat can get that meet the bounds.
    uint64_t HandCount() const { return handCount_; }
    // Their share of all hands the seat can get, 0 to 1.
    double Share() const { return share_; }
    // Whether prepared and some hand meets the bounds.
    bool Drawable() const { return prepared_ && handCount_ > 0; }
    // The draws of the key's random source one deal takes, the same for every deal.
    int32_t DrawsPerDeal() const { return 6 + std::max(0, dealtAtRandom_ - 1); }

    // One deal from the key's seed, which moves on by DrawsPerDeal() draws.
    void Deal(uint32_t& seed, TCardSets& sets) const;
    // Deal `index` of a secure run from the secret: every draw made exactly
    // uniform, from a keystream of its own for each deal.
    void DealSecure(const TSecret& secret, uint64_t index, TCardSets& sets) const;

private:
    // The holdings of one suit that the seat can have, grouped by (length, points).
    struct TSuitHoldings {
        std::vector<uint16_t> Masks;                       // bit 0 the two .. bit 12 the ace
        std::array<std::array<uint32_t, 11>, 14> Start{};  // [length][points]: first in Masks
        std::array<std::array<uint32_t, 11>, 14> Count{};
    };
    // A pattern of the bounds, with the hands of the patterns before it, and
    // the holdings of suits k.. (index) with q points in all or fewer:
    // AtMost[k][q] (AtMost[4] is 1 from 0 points on).
    struct TPattern {
        uint64_t Before = 0;
        uint16_t Index = 0;
        std::array<std::array<uint64_t, 38>, 5> AtMost{};
    };
    // The pattern's suffix tables; its count of hands within the total's bounds.
    uint64_t Tables(const TShapes::TLengths& lengths, TPattern& pattern) const;
    // Holdings of suits k.. whose points, added to `points`, fall within the total's bounds.
    uint64_t Completions(const TPattern& pattern, std::size_t k, int32_t points) const;
    template <class TDraws>
    void DealWith(TDraws& draws, TCardSets& sets) const;

    int32_t seat_;
    TBound total_;
    std::array<TSuitHoldings, 4> suits_;
    TShapes shapes_;
    std::vector<TPattern> patterns_;  // once prepared
    uint64_t handCount_ = 0;
    double share_ = 0;
    bool prepared_ = false;
    int32_t dealtAtRandom_ = 0;             // cards the other seats get at random
    std::array<uint32_t, 3> freePlaces_{};  // North's, East's, South's places for those cards
    uint64_t otherFixed_ = 0;               // cards fixed to other seats
    std::array<uint64_t, 4> fixedHands_{};  // each other seat's fixed cards
};

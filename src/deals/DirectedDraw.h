#pragma once
// Directed dealing: one seat's hand is drawn exactly from the hands that meet
// its bounds (suit lengths and points as ranges), the other cards are dealt
// at random among the other seats. A deal drawn so, when it passes the whole
// condition, is as likely as it is under rejection dealing: the bounds only
// leave out hands the condition refuses anyway.
//
// The hands are counted by (length, points) in each suit over the cards the
// seat can get (all but those fixed to other seats, with its own fixed cards
// always in), and the suits combined over total length 13 and total points
// in range. A draw picks a (length, points) vector for the four suits in
// proportion to its count of hands, then each suit's holding uniformly among
// those of its length and points.
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

// What a hand must meet; the widest bounds impose nothing. Suits 1..4 (clubs
// first) at index suit - 1.
struct THandBounds {
    static constexpr int32_t MostSuitPoints = 10;
    static constexpr int32_t MostPoints = 37;
    std::array<TBound, 4> Length{{{0, 13}, {0, 13}, {0, 13}, {0, 13}}};
    std::array<TBound, 4> Points{
        {{0, MostSuitPoints}, {0, MostSuitPoints}, {0, MostSuitPoints}, {0, MostSuitPoints}}};
    TBound Total{0, MostPoints};

    // Whether no hand can meet them (a range is empty).
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
    // A (length, points) choice for a suit, after the suits before it left
    // some length and points: Before counts the hands of the choices before it.
    struct TChoice {
        uint64_t Before = 0;
        uint8_t Length = 0;
        uint8_t Points = 0;
    };
    // The choices open to suit k when the suits before it hold `length`
    // cards and `points` points: Choices[First .. First + Count).
    struct TState {
        uint32_t First = 0;
        uint32_t Count = 0;
    };
    using TWays = std::array<std::array<std::array<uint64_t, 38>, 14>, 5>;

    // Hands of suits k.. with `length` cards in all whose points, added to
    // `points`, fall within the total's bounds.
    uint64_t Completions(std::size_t k, int32_t length, int32_t points) const;
    template <class TDraws>
    void DealWith(TDraws& draws, TCardSets& sets) const;

    int32_t seat_;
    TBound total_;
    std::array<TSuitHoldings, 4> suits_;
    // [k][l][p]: the holdings of suits k.. (index) of l cards and p points in all.
    TWays ways_{};
    // [k][cards held before][points before]
    std::array<std::array<std::array<TState, 38>, 14>, 4> states_{};
    std::vector<TChoice> choices_;
    uint64_t handCount_ = 0;
    double share_ = 0;
    bool prepared_ = false;
    int32_t dealtAtRandom_ = 0;             // cards the other seats get at random
    std::array<uint32_t, 3> freePlaces_{};  // North's, East's, South's places for those cards
    uint64_t otherFixed_ = 0;               // cards fixed to other seats
    std::array<uint64_t, 4> fixedHands_{};  // each other seat's fixed cards
};

#pragma once
// One deal: the hands of North, East, South and West (seats 1..4), dealt from
// the random source or read from a 108-character deal line. The seat forms of
// the hand figures and hand functions give 0 or false for a seat outside 1..4.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "deals/CardSets.h"
#include "deals/FixedCards.h"
#include "deals/Hand.h"
#include "deals/RandomSource.h"

class TDeal {
public:
    static constexpr int32_t LineLength = 4 * THand::TextLength;  // 108
    // The longest line a deal can have (see THand::MaxTextLength).
    static constexpr int32_t MaxLineLength = 4 * THand::MaxTextLength;

    // Four empty hands.
    TDeal() = default;

    // The hand of seat 1..4; throws std::out_of_range for any other seat.
    THand& Hand(int32_t seat);
    const THand& Hand(int32_t seat) const;

    // Deals the 52 cards: cards 1..51 in turn each draw RandomBelow(53 - card)
    // and go to the seat whose free places that number falls in; card 52 goes
    // to the one place left. Each hand fills its places from 13 down, so holds
    // its cards in descending order. Exactly 51 draws, no allocation.
    // The draws are made on a copy of the seed, committed once at the end; a
    // reseed from another thread during the deal is kept, not overwritten.
    void DealRandom(TRandomSource& source);
    // The same deal from a seed the caller keeps; advances it by 51 draws.
    void DealFromSeed(uint32_t& seed);
    // The same with fixed cards: each fixed card goes to its seat without a
    // draw, the others are dealt as above among the places left, one draw for
    // each but the last (fixed.DrawsPerDeal() in all). Nothing fixed: exactly
    // the deal above.
    void DealFromSeed(uint32_t& seed, const TFixedCards& fixed);

    // Takes the deal of the card sets: each hand holds its cards in descending
    // order, as a dealt hand does, so a deal dealt as card sets becomes exactly
    // the deal DealFromSeed gives.
    void SetCardSets(const TCardSets& sets);
    // The four hands' sets of cards; a place that holds no card is left out.
    TCardSets CardSets() const;
    // Whether the hands hold the 52 cards, thirteen each (DealFault names
    // what is wrong with a deal that does not).
    bool IsWhole() const;

    // The four hands' texts, North first: 108 characters.
    std::string ToText() const;
    // The same text appended to `line`.
    void AppendText(std::string& line) const;
    // The same text written at `out`, which has room for MaxLineLength
    // characters; returns its end.
    char* WriteText(char* out) const {
        for (const THand& hand : hands_) out = hand.WriteText(out);
        return out;
    }
    // Hand i reads the 26 characters from position 27 (i - 1); the character
    // after each piece is not looked at, and a short line gives empty places.
    void FromText(std::string_view line);

    // The row of Patterns equal to the lengths of the suit in the four hands,
    // sorted longest first; 0 if none (or for a suit outside 1..4).
    int32_t SuitSplitIndex(int32_t suit);

    int32_t HCP(int32_t seat, int32_t suit);
    int32_t SuitLength(int32_t seat, int32_t suit);
    int32_t SuitByLength(int32_t seat, int32_t n);
    bool Range(int32_t seat, int32_t min, int32_t max);
    bool Balanced(int32_t seat, int32_t min, int32_t max);
    bool Polish1c(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4);
    bool Prec1d(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4);
    bool Unbal1d(int32_t seat, int32_t a1, int32_t a2);
    bool Prec1h(int32_t seat, int32_t a1, int32_t a2);
    bool Prec1s(int32_t seat, int32_t a1, int32_t a2);
    bool Prec2c(int32_t seat, int32_t a1, int32_t a2);
    bool Multy(int32_t seat, int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5,
               int32_t a6);
    bool Suits(int32_t seat, int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c);
    bool Shape(int32_t seat, int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4);
    int32_t Losers(int32_t seat, int32_t suit);
    int32_t Controls(int32_t seat, int32_t suit);
    bool HasCard(int32_t seat, int32_t suit, int32_t rank);
    int32_t TopHonours(int32_t seat, int32_t suit, int32_t n);

private:
    // The hand of seat 1..4, or nullptr.
    THand* Seat(int32_t seat) {
        return seat >= 1 && seat <= 4 ? &hands_[static_cast<std::size_t>(seat - 1)] : nullptr;
    }

    std::array<THand, 4> hands_{};
};

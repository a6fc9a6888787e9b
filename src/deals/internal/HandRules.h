#pragma once
// The rules of the hand functions, written once for any kind of hand that
// gives HCP(suit) (the whole hand for a number outside 1..4), SuitLength(suit),
// SuitByLength(n) and CardSet() (bit c set for every card c it holds): THand,
// which reads card places and caches its figures, and TCardSetHand, a dealt
// hand held as a set of cards. Only an argument of exactly -1 takes the default
// (or, in Balanced, drops the bound); every other value, negative ones
// included, is used as given.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <utility>

#include "deals/BridgeTerms.h"

namespace HandRules {

inline int32_t OrDefault(int32_t argument, int32_t defaultValue) {
    return argument == -1 ? defaultValue : argument;
}

inline bool Within(int32_t value, int32_t low, int32_t high) {
    return low <= value && value <= high;
}

inline bool IsSuitNumber(int32_t suit) { return suit >= 1 && suit <= 4; }

// mode < 0: at most, 0: exactly, > 0: at least; a negative wanted length imposes nothing.
inline bool LengthMatches(int32_t mode, int32_t length, int32_t wanted) {
    if (wanted < 0) return true;
    if (mode < 0) return length <= wanted;
    if (mode == 0) return length == wanted;
    return length >= wanted;
}

// Four suit lengths sorted longest first, by a sorting network of four.
template <typename T>
constexpr std::array<T, 4> LongestFirst(T a, T b, T c, T d) {
    auto order = [](T& high, T& low) {
        if (high < low) std::swap(high, low);
    };
    order(a, b);
    order(c, d);
    order(a, c);
    order(b, d);
    order(b, c);
    return {a, b, c, d};
}

// The card number of a suit 1..4 and a rank 2..14.
inline constexpr int32_t CardOf(int32_t suit, int32_t rank) { return (suit - 1) * 13 + rank - 1; }

// The n highest ranks of the suit (n 0..13) as bits of a card set.
inline constexpr uint64_t TopOfSuit(int32_t suit, int32_t n) {
    uint64_t ranks = ((uint64_t{1} << n) - 1) << (13 - n);  // bits 0..12: two .. ace
    return ranks << (CardOf(suit, 2));
}

// The points of the first suit, in the order spades, hearts, diamonds, clubs,
// that has `length` cards; -1 when none has.
template <class H>
int32_t PointsOfFirstSuitWithLength(H& hand, int32_t length) {
    for (int32_t suit : {Spades, Hearts, Diamonds, Clubs})
        if (hand.SuitLength(suit) == length) return hand.HCP(suit);
    return -1;
}

template <class H>
bool Range(H& hand, int32_t min, int32_t max) {
    return Within(hand.HCP(0), min, max);
}

template <class H>
bool Balanced(H& hand, int32_t min, int32_t max) {
    int32_t points = hand.HCP(0);
    if (min != -1 && points < min) return false;
    if (max != -1 && points > max) return false;
    return Within(hand.SuitLength(Spades), 2, 4) && Within(hand.SuitLength(Hearts), 2, 4) &&
           Within(hand.SuitLength(Diamonds), 2, 5) && Within(hand.SuitLength(Clubs), 2, 5) &&
           hand.SuitByLength(1) + hand.SuitByLength(2) <= 8;
}

template <class H>
bool Polish1c(H& hand, int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    a1 = OrDefault(a1, 12);
    a2 = OrDefault(a2, 14);
    a3 = OrDefault(a3, 16);
    a4 = OrDefault(a4, 18);
    int32_t points = hand.HCP(0);
    if (Balanced(hand, -1, -1)) return points >= a4 || Within(points, a1, a2);
    return points >= a3;
}

template <class H>
bool Prec1d(H& hand, int32_t a1, int32_t a2, int32_t a3, int32_t a4) {
    a1 = OrDefault(a1, 11);
    a2 = OrDefault(a2, 14);
    a3 = OrDefault(a3, 11);
    a4 = OrDefault(a4, 15);
    int32_t points = hand.HCP(0);
    if (Balanced(hand, -1, -1)) return Within(points, a1, a2);
    return Within(points, a3, a4) && hand.SuitLength(Diamonds) >= 4 &&
           hand.SuitLength(Hearts) <= 4 && hand.SuitLength(Spades) <= 4;
}

template <class H>
bool Unbal1d(H& hand, int32_t a1, int32_t a2) {
    return Within(hand.HCP(0), OrDefault(a1, 11), OrDefault(a2, 15)) && !Balanced(hand, -1, -1) &&
           hand.SuitLength(Diamonds) >= 4 && hand.SuitLength(Hearts) <= 4 &&
           hand.SuitLength(Spades) <= 4;
}

template <class H>
bool Prec1h(H& hand, int32_t a1, int32_t a2) {
    int32_t hearts = hand.SuitLength(Hearts);
    return Within(hand.HCP(0), OrDefault(a1, 11), OrDefault(a2, 15)) && hearts >= 5 &&
           hearts >= hand.SuitLength(Spades) + 2;
}

template <class H>
bool Prec1s(H& hand, int32_t a1, int32_t a2) {
    int32_t spades = hand.SuitLength(Spades);
    return Within(hand.HCP(0), OrDefault(a1, 11), OrDefault(a2, 15)) && spades >= 5 &&
           hand.SuitLength(Hearts) <= spades + 1;
}

template <class H>
bool Prec2c(H& hand, int32_t a1, int32_t a2) {
    if (!Within(hand.HCP(0), OrDefault(a1, 11), OrDefault(a2, 15))) return false;
    int32_t clubs = hand.SuitLength(Clubs), diamonds = hand.SuitLength(Diamonds);
    int32_t hearts = hand.SuitLength(Hearts), spades = hand.SuitLength(Spades);
    bool fiveClubsWithMajor =
        clubs == 5 && diamonds <= 3 && hearts <= 4 && spades <= 4 && (hearts == 4 || spades == 4);
    bool longClubs = clubs >= 6 && diamonds <= 4 && hearts <= 4 && spades <= 4;
    return fiveClubsWithMajor || longClubs;
}

template <class H>
bool Multy(H& hand, int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6) {
    int32_t spades = hand.SuitLength(Spades), hearts = hand.SuitLength(Hearts);
    if (!Within(spades, 6, 7) && !Within(hearts, 6, 7)) return false;
    int32_t major = spades >= 6 ? Spades : Hearts;
    int32_t majorLength = hand.SuitLength(major);
    if (!Within(hand.HCP(0), OrDefault(a1, 6), OrDefault(a2, 10))) return false;
    int32_t majorPoints = hand.HCP(major);
    bool majorFits = (majorLength == 6 && majorPoints >= OrDefault(a3, 0)) ||
                     (majorLength == 7 && majorPoints <= OrDefault(a4, 10));
    if (!majorFits) return false;
    int32_t second = hand.SuitByLength(2);
    if (second <= 3) return true;
    if (second >= 6) return false;
    // A four- or five-card side suit: its points are bounded by a5 or a6.
    int32_t sidePoints = PointsOfFirstSuitWithLength(hand, second);
    return sidePoints <= (second == 4 ? OrDefault(a5, 10) : OrDefault(a6, 10));
}

template <class H>
bool Suits(H& hand, int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c) {
    return LengthMatches(mode, hand.SuitLength(Spades), s) &&
           LengthMatches(mode, hand.SuitLength(Hearts), h) &&
           LengthMatches(mode, hand.SuitLength(Diamonds), d) &&
           LengthMatches(mode, hand.SuitLength(Clubs), c);
}

template <class H>
bool Shape(H& hand, int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4) {
    return LengthMatches(mode, hand.SuitByLength(1), l1) &&
           LengthMatches(mode, hand.SuitByLength(2), l2) &&
           LengthMatches(mode, hand.SuitByLength(3), l3) &&
           LengthMatches(mode, hand.SuitByLength(4), l4);
}

// Losing tricks: in each suit the ace, king and queen missing among its first
// min(length, 3) ranks; the whole hand for a suit outside 1..4.
template <class H>
int32_t Losers(H& hand, int32_t suit) {
    if (!IsSuitNumber(suit))
        return Losers(hand, Clubs) + Losers(hand, Diamonds) + Losers(hand, Hearts) +
               Losers(hand, Spades);
    int32_t counted = std::min(hand.SuitLength(suit), 3);
    return counted - std::popcount(hand.CardSet() & TopOfSuit(suit, counted));
}

// Ace 2, king 1; the whole hand for a suit outside 1..4.
template <class H>
int32_t Controls(H& hand, int32_t suit) {
    if (!IsSuitNumber(suit))
        return Controls(hand, Clubs) + Controls(hand, Diamonds) + Controls(hand, Hearts) +
               Controls(hand, Spades);
    uint64_t set = hand.CardSet();
    return 2 * static_cast<int32_t>((set >> CardOf(suit, 14)) & 1) +
           static_cast<int32_t>((set >> CardOf(suit, 13)) & 1);
}

template <class H>
bool HasCard(const H& hand, int32_t suit, int32_t rank) {
    if (!IsSuitNumber(suit) || rank < 2 || rank > 14) return false;
    return ((hand.CardSet() >> CardOf(suit, rank)) & 1) != 0;
}

template <class H>
int32_t TopHonours(const H& hand, int32_t suit, int32_t n) {
    if (!IsSuitNumber(suit) || n < 1 || n > 13) return 0;
    return std::popcount(hand.CardSet() & TopOfSuit(suit, n));
}

}  // namespace HandRules

#pragma once
// Cards are the numbers 1 to 52: clubs 1-13, diamonds 14-26, hearts 27-39,
// spades 40-52, the two first and the ace last within a suit. Seats are 1 North,
// 2 East, 3 South, 4 West; suits 1 clubs, 2 diamonds, 3 hearts, 4 spades.
// Any other card number (0 marks an empty place in a hand read from a damaged
// file) belongs to no suit and counts nothing.
#include <array>
#include <cstdint>
#include <string_view>

inline constexpr int32_t North = 1, East = 2, South = 3, West = 4;
inline constexpr int32_t Clubs = 1, Diamonds = 2, Hearts = 3, Spades = 4;

// Rank characters from the two (index 0) to the ace (index 12); the ten is "T".
inline constexpr std::array<std::string_view, 13> RankChars = {"2", "3", "4", "5", "6", "7", "8",
                                                               "9", "T", "J", "Q", "K", "A"};

inline constexpr bool IsCard(int32_t card) { return card >= 1 && card <= 52; }

// (card - 1) div 13 + 1 for a card, 0 for any other number.
inline constexpr int32_t CardSuit(int32_t card) { return IsCard(card) ? (card - 1) / 13 + 1 : 0; }

// Ace 4, king 3, queen 2, jack 1, others 0; 0 for a number that is no card.
inline constexpr int32_t CardPoints(int32_t card) {
    if (!IsCard(card)) return 0;
    int32_t rank = (card - 1) % 13;
    return rank >= 9 ? rank - 8 : 0;
}

// The rank character of a card; the empty text for a number that is no card.
inline constexpr std::string_view CardChar(int32_t card) {
    return IsCard(card) ? RankChars[static_cast<std::size_t>((card - 1) % 13)] : std::string_view();
}

// "Севера", "Востока", "Юга", "Запада": the seat 1..4 as in "у Севера";
// the empty text for any other number.
inline constexpr std::string_view SeatGenitive(int32_t seat) {
    constexpr std::string_view names[] = {"Севера", "Востока", "Юга", "Запада"};
    return seat >= 1 && seat <= 4 ? names[seat - 1] : std::string_view();
}

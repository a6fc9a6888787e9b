#pragma once
// Cards are the numbers 1 to 52: clubs 1-13, diamonds 14-26, hearts 27-39,
// spades 40-52, the two first and the ace last within a suit. Seats are 1 North,
// 2 East, 3 South, 4 West; suits 1 clubs, 2 diamonds, 3 hearts, 4 spades.
// Any other card number (0 marks an empty place in a hand read from a damaged
// file) belongs to no suit and counts nothing.
//
// The letters of the seats and ranks, Latin as the files write them and
// Russian as players here write them, are read and written only through this
// header.
#include <array>
#include <cstdint>
#include <string_view>

inline constexpr int32_t North = 1, East = 2, South = 3, West = 4;
inline constexpr int32_t Clubs = 1, Diamonds = 2, Hearts = 3, Spades = 4;

// The seats' letters, North first.
inline constexpr char SeatLetters[] = "NESW";
inline constexpr std::array<std::string_view, 4> RussianSeatLetters = {"С", "В", "Ю", "З"};

// The ranks' characters from the two (index 0) to the ace (index 12): the ten
// is "T"; in Russian it is "10" and the honours are В Д К Т (валет, дама,
// король, туз).
inline constexpr char RankChars[] = "23456789TJQKA";
inline constexpr std::array<std::string_view, 13> RussianRankChars = {
    "2", "3", "4", "5", "6", "7", "8", "9", "10", "В", "Д", "К", "Т"};

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
    return IsCard(card) ? std::string_view(RankChars + (card - 1) % 13, 1) : std::string_view();
}

// The letter of a seat 1..4, "N" .. "W"; the empty text for any other number.
inline constexpr std::string_view SeatChar(int32_t seat) {
    return seat >= 1 && seat <= 4 ? std::string_view(SeatLetters + seat - 1, 1)
                                  : std::string_view();
}

// The seat 1..4 of a seat's letter, N E S W or С В Ю З, in either case; 0 for
// any other character.
inline constexpr int32_t SeatOfLetter(char32_t letter) {
    constexpr std::u32string_view letters = U"NESWneswСВЮЗсвюз";
    const std::size_t at = letters.find(letter);
    return at == std::u32string_view::npos ? 0 : static_cast<int32_t>(at % 4) + 1;
}
inline constexpr int32_t SeatOfLetter(char letter) {
    return SeatOfLetter(static_cast<char32_t>(static_cast<unsigned char>(letter)));
}

// The rank 0 (two) .. 12 (ace) of a rank's character, a digit 2-9, T J Q K A
// or Т К Д В, in either case; -1 for any other character. The Russian ten,
// "10", is two characters: its reader takes it whole. Readers of files call
// it for every card, so a byte is looked up in a table.
inline constexpr std::array<int8_t, 128> LatinRanks = [] {
    std::array<int8_t, 128> ranks{};
    ranks.fill(-1);
    for (int8_t rank = 0; rank < 13; ++rank) {
        const auto letter = static_cast<std::size_t>(RankChars[rank]);
        ranks[letter] = rank;
        if (letter >= 'A') ranks[letter - 'A' + 'a'] = rank;
    }
    return ranks;
}();
inline constexpr int32_t RankOfChar(char letter) {
    const auto byte = static_cast<unsigned char>(letter);
    return byte < LatinRanks.size() ? LatinRanks[byte] : -1;
}
inline constexpr int32_t RankOfChar(char32_t letter) {
    if (letter < LatinRanks.size()) return LatinRanks[letter];
    constexpr std::u32string_view russian = U"ВДКТвдкт";
    const std::size_t at = russian.find(letter);
    return at == russian.npos ? -1 : 9 + static_cast<int32_t>(at % 4);
}

// The seat after `seat` clockwise: East after North, North after West.
inline constexpr int32_t NextSeat(int32_t seat) { return seat % 4 + 1; }

// The declarer's left-hand opponent, who leads first.
inline constexpr int32_t LeftHandOpponent(int32_t declarer) { return NextSeat(declarer); }

// "Севера", "Востока", "Юга", "Запада": the seat 1..4 as in "у Севера";
// the empty text for any other number.
inline constexpr std::string_view SeatGenitive(int32_t seat) {
    constexpr std::string_view names[] = {"Севера", "Востока", "Юга", "Запада"};
    return seat >= 1 && seat <= 4 ? names[seat - 1] : std::string_view();
}

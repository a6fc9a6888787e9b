#include "deals/BridgeTerms.h"

// Facts of the card numbering and the letters, checked when the core is compiled.
static_assert(CardSuit(1) == Clubs && CardSuit(13) == Clubs && CardSuit(14) == Diamonds);
static_assert(CardSuit(40) == Spades && CardSuit(52) == Spades && CardSuit(53) == 0);
static_assert(CardPoints(52) == 4 && CardPoints(51) == 3 && CardPoints(50) == 2);
static_assert(CardPoints(49) == 1 && CardPoints(48) == 0 && CardPoints(0) == 0);
static_assert(CardChar(48) == "T" && CardChar(1) == "2" && CardChar(0).empty());
static_assert(SeatChar(North) == "N" && SeatChar(West) == "W" && SeatChar(5).empty());
static_assert(NextSeat(North) == East && NextSeat(West) == North &&
              LeftHandOpponent(South) == West);

// Every letter reads back as what it was written for, in either case.
consteval bool LettersReadBack() {
    for (int32_t seat = North; seat <= West; ++seat) {
        const char latin = SeatLetters[seat - 1];
        if (SeatOfLetter(latin) != seat || SeatOfLetter(static_cast<char>(latin + 32)) != seat)
            return false;
    }
    for (int32_t rank = 0; rank < 13; ++rank) {
        const char latin = RankChars[rank];
        if (RankOfChar(latin) != rank) return false;
        if (latin > '9' && RankOfChar(static_cast<char>(latin + 32)) != rank) return false;
    }
    // The Russian letters as written, two bytes of UTF-8 each, read back too.
    const auto decoded = [](std::string_view letter) {
        return static_cast<char32_t>((letter[0] & 0x1F) << 6 | (letter[1] & 0x3F));
    };
    for (int32_t seat = North; seat <= West; ++seat)
        if (SeatOfLetter(decoded(RussianSeatLetters[seat - 1])) != seat) return false;
    for (int32_t rank = 9; rank < 13; ++rank)
        if (RankOfChar(decoded(RussianRankChars[rank])) != rank) return false;
    return SeatOfLetter(U'С') == North && SeatOfLetter(U'з') == West && RankOfChar(U'т') == 12 &&
           RankOfChar(U'В') == 9 && SeatOfLetter('x') == 0 && RankOfChar('1') == -1 &&
           SeatOfLetter('\xD0') == 0;
}
static_assert(LettersReadBack());

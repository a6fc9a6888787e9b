#include "deals/FixedCards.h"

#include <vector>

#include "deals/BridgeTerms.h"
#include "text/Utf8Text.h"

namespace {

// Spades first in the notation: the suit number of the k-th suit written.
constexpr int32_t WrittenSuit(int32_t k) { return Spades - k; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// "♠A", "♥T": how messages name a card.
std::string CardName(int32_t card) {
    static constexpr std::string_view symbols[] = {"\u2663", "\u2666", "\u2665", "\u2660"};
    return std::string(symbols[CardSuit(card) - 1]) + std::string(CardChar(card));
}

std::string Quoted(std::string_view text) { return "\u00AB" + PrintableUtf8(text) + "\u00BB"; }

// The Latin character a character of a hand stands for: a rank's letter as
// RankChars writes it (the Russian Т К Д В as A K Q J), the other characters
// of the notation as they are; 0 for any other.
char NotationChar(char32_t c) {
    if (const int32_t rank = RankOfChar(c); rank >= 0) return RankChars[rank];
    return c < 0x80 ? Upper(static_cast<char>(c)) : '\0';
}

// The seat the one letter before a colon names; 0 for anything else.
int32_t SeatBeforeColon(std::string_view letter) {
    if (letter.empty()) return 0;
    const TUtf8Character c = ReadUtf8(letter, 0);
    return c.WellFormed && c.Length == letter.size() ? SeatOfLetter(c.Character) : 0;
}

// A hand's characters as the Latin notation, "10" as "T" ('\0' for a
// character that is none), beside each as it was typed, for messages.
struct TNotation {
    std::string Text;
    std::vector<std::string> Typed;
};

TNotation ToNotation(std::string_view hand) {
    TNotation notation;
    for (std::size_t i = 0; i < hand.size();) {
        const TUtf8Character c = ReadUtf8(hand, i);
        std::size_t length = c.Length;
        char letter = c.WellFormed ? NotationChar(c.Character) : '\0';
        if (letter == '1' && i + 1 < hand.size() && hand[i + 1] == '0') {
            letter = 'T';
            length = 2;
        }
        notation.Text += letter;
        notation.Typed.emplace_back(hand.substr(i, length));
        i += length;
    }
    return notation;
}

// Reads one hand's text into `cards` for `seat`; the message of the first fault, or "".
std::string ReadHand(std::string_view hand, int32_t seat, TFixedCards& cards) {
    const std::string whose = std::string(SeatGenitive(seat));
    if (hand == "-") return "";
    const TNotation notation = ToNotation(hand);
    const auto cardsWritten = [&notation] {
        int32_t count = 0;
        for (char c : notation.Text)
            if (RankOfChar(c) >= 0) ++count;
        return count;
    };
    int32_t k = 0;  // the suit being read, 0 spades .. 3 clubs
    for (std::size_t i = 0; i < notation.Text.size(); ++i) {
        const char c = notation.Text[i];
        if (c == '.') {
            if (++k > 3) break;
            continue;
        }
        if (c == '-') continue;  // an empty suit written out
        const int32_t rank = RankOfChar(c);
        if (rank < 0)
            return Quoted(notation.Typed[i]) + " — не карта: рука " + whose + " " + Quoted(hand) +
                   ".";
        const int32_t card = (WrittenSuit(k) - 1) * 13 + rank + 1;
        if (int32_t other = cards.SeatOf(card); other != 0) {
            return "Карта " + CardName(card) + " задана дважды: " +
                   (other == seat ? "у " + whose
                                  : "у " + std::string(SeatGenitive(other)) + " и у " + whose) +
                   ".";
        }
        if (cards.Count(seat) >= 13)
            return "У " + whose + " больше 13 карт (задано " + std::to_string(cardsWritten()) +
                   "): " + Quoted(hand) + ".";
        cards.Fix(card, seat);
    }
    if (k != 3)
        return "Не удаётся прочитать руку " + whose + " " + Quoted(hand) +
               ": нужны четыре масти через точку, пики первыми (AKQJ.K..).";
    return "";
}

}  // namespace

bool TFixedCards::Fix(int32_t card, int32_t seat) {
    if (!IsCard(card) || seat < 1 || seat > 4 || SeatOf(card) != 0 || Count(seat) >= 13)
        return false;
    seats_[static_cast<std::size_t>(card)] = static_cast<int8_t>(seat);
    ++counts_[static_cast<std::size_t>(seat - 1)];
    ++total_;
    return true;
}

std::string TFixedCards::HandText(int32_t seat) const {
    if (Count(seat) == 0) return "";
    std::string text;
    for (int32_t k = 0; k < 4; ++k) {
        if (k > 0) text += '.';
        const int32_t suit = WrittenSuit(k);
        for (int32_t card = suit * 13; card > (suit - 1) * 13; --card)
            if (SeatOf(card) == seat) text += CardChar(card);
    }
    return text;
}

std::string TFixedCards::ToText() const {
    std::string text;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        if (Count(seat) == 0) continue;
        if (!text.empty()) text += ' ';
        text += SeatChar(seat);
        text += ':';
        text += HandText(seat);
    }
    return text;
}

TFixedCardsReading ReadFixedCards(std::string_view text) {
    TFixedCardsReading reading;
    // A PBN deal tag pasted whole: its value.
    if (std::size_t tag = text.find("[Deal \""); tag != std::string_view::npos) {
        const std::size_t end = text.find('"', tag + 7);
        if (end != std::string_view::npos) text = text.substr(tag + 7, end - tag - 7);
    }
    std::array<bool, 4> named{};
    int32_t seat = 0;  // the seat of the hand before
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (true) {
        while (i < text.size() && blank(text[i])) ++i;
        if (i >= text.size()) break;
        std::size_t end = i;
        while (end < text.size() && !blank(text[end])) ++end;
        std::string_view token = text.substr(i, end - i);
        i = end;
        if (std::size_t colon = token.find(':'); colon != std::string_view::npos) {
            const int32_t letter = SeatBeforeColon(token.substr(0, colon));
            if (letter == 0) {
                reading.Error = "Не удаётся прочитать " + Quoted(token) +
                                ": перед двоеточием должна стоять позиция N, E, S или W.";
                reading.Cards = TFixedCards();
                return reading;
            }
            seat = letter;
            token.remove_prefix(colon + 1);
        } else {
            seat = NextSeat(seat);  // clockwise from the hand before; North first
        }
        if (named[static_cast<std::size_t>(seat - 1)]) {
            reading.Error = "Карты " + std::string(SeatGenitive(seat)) + " заданы дважды.";
            reading.Cards = TFixedCards();
            return reading;
        }
        named[static_cast<std::size_t>(seat - 1)] = true;
        reading.Error = ReadHand(token, seat, reading.Cards);
        if (!reading.Error.empty()) {
            reading.Cards = TFixedCards();
            return reading;
        }
    }
    return reading;
}

#include "deals/FixedCards.h"

#include "deals/BridgeTerms.h"

namespace {

constexpr std::string_view SeatLetters = "NESW";
constexpr std::string_view RankOrder = "AKQJT98765432";  // within a suit, from the ace down
// Spades first in the notation: the suit number of the k-th suit written.
constexpr int32_t WrittenSuit(int32_t k) { return Spades - k; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// "♠A", "♥T": how messages name a card.
std::string CardName(int32_t card) {
    static constexpr std::string_view symbols[] = {"\u2663", "\u2666", "\u2665", "\u2660"};
    return std::string(symbols[CardSuit(card) - 1]) + std::string(CardChar(card));
}

std::string Quoted(std::string_view text) { return "\u00AB" + std::string(text) + "\u00BB"; }

// The cards a hand's text names, "10" counted once.
int32_t CardsWritten(std::string_view hand) {
    int32_t count = 0;
    for (std::size_t i = 0; i < hand.size(); ++i)
        if (RankOrder.find(Upper(hand[i])) != std::string_view::npos || hand[i] == '1') {
            ++count;
            if (hand[i] == '1' && i + 1 < hand.size() && hand[i + 1] == '0') ++i;
        }
    return count;
}

// Reads one hand's text into `cards` for `seat`; the message of the first fault, or "".
std::string ReadHand(std::string_view hand, int32_t seat, TFixedCards& cards) {
    const std::string whose = std::string(SeatGenitive(seat));
    if (hand == "-") return "";
    int32_t k = 0;  // the suit being read, 0 spades .. 3 clubs
    for (std::size_t i = 0; i < hand.size(); ++i) {
        char c = Upper(hand[i]);
        if (c == '.') {
            if (++k > 3) break;
            continue;
        }
        if (c == '-') continue;  // an empty suit written out
        if (c == '1' && i + 1 < hand.size() && hand[i + 1] == '0') {
            c = 'T';
            ++i;
        }
        std::size_t rank = RankOrder.find(c);
        if (rank == std::string_view::npos)
            return Quoted(hand.substr(i, 1)) + " — не карта: рука " + whose + " " + Quoted(hand) +
                   ".";
        const int32_t card = (WrittenSuit(k) - 1) * 13 + static_cast<int32_t>(12 - rank) + 1;
        if (int32_t other = cards.SeatOf(card); other != 0) {
            return "Карта " + CardName(card) + " задана дважды: " +
                   (other == seat ? "у " + whose
                                  : "у " + std::string(SeatGenitive(other)) + " и у " + whose) +
                   ".";
        }
        if (cards.Count(seat) >= 13)
            return "У " + whose + " больше 13 карт (задано " + std::to_string(CardsWritten(hand)) +
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
        text += SeatLetters[static_cast<std::size_t>(seat - 1)];
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
            const std::size_t letter =
                colon == 1 ? SeatLetters.find(Upper(token[0])) : std::string_view::npos;
            if (letter == std::string_view::npos) {
                reading.Error = "Не удаётся прочитать " + Quoted(token) +
                                ": перед двоеточием должна стоять позиция N, E, S или W.";
                reading.Cards = TFixedCards();
                return reading;
            }
            seat = static_cast<int32_t>(letter) + 1;
            token.remove_prefix(colon + 1);
        } else {
            seat = seat % 4 + 1;  // clockwise from the hand before; North first
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

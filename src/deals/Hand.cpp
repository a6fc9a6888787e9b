#include "deals/Hand.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "deals/BridgeTerms.h"
#include "deals/Patterns.h"
#include "deals/internal/HandRules.h"
#include "text/StringFunctions.h"

namespace {
using HandRules::IsSuitNumber;

// What one card adds to the hand's figures, as eight byte lanes of a 64-bit
// word: lanes 0-3 the points of suits 1-4, lanes 4-7 their lengths. Summing
// the thirteen words gives every figure at once (no lane can exceed 52).
// Indexed by the byte of a card place, so values that are no card add nothing.
constexpr std::array<uint64_t, 256> BuildCardFigures() {
    std::array<uint64_t, 256> table{};
    for (int32_t value = -128; value <= 127; ++value) {
        int32_t suit = CardSuit(value);
        if (suit == 0) continue;
        std::size_t index = static_cast<uint8_t>(static_cast<int8_t>(value));
        table[index] = (static_cast<uint64_t>(CardPoints(value)) << (8 * (suit - 1))) |
                       (uint64_t{1} << (8 * (suit + 3)));
    }
    return table;
}

constexpr std::array<uint64_t, 256> CardFigures = BuildCardFigures();

// The text field of every byte a card place can hold, built once with IntLeft
// so that writing a deal line costs no conversion and no allocation.
struct TCardField {
    std::array<char, 4> Chars{};
    uint8_t Length = 0;
};

const std::array<TCardField, 256>& CardFields() {
    static const std::array<TCardField, 256> fields = [] {
        std::array<TCardField, 256> table{};
        for (int32_t value = -128; value <= 127; ++value) {
            const std::string text = IntLeft(value, 2, true);
            TCardField& field = table[static_cast<uint8_t>(static_cast<int8_t>(value))];
            field.Length = static_cast<uint8_t>(text.size());
            text.copy(field.Chars.data(), field.Chars.size());
        }
        return table;
    }();
    return fields;
}

// The card number of every two-character field, as TextToInt reads it (0 for
// no integer): -9..99, so one byte each. Indexed by the first character
// times 256 plus the second.
const std::array<int8_t, 65536>& FieldValues() {
    static const std::array<int8_t, 65536> values = [] {
        std::array<int8_t, 65536> table{};
        for (std::size_t index = 0; index < table.size(); ++index) {
            const char field[2] = {static_cast<char>(index >> 8), static_cast<char>(index & 0xFF)};
            table[index] = static_cast<int8_t>(TextToInt(std::string_view(field, 2), 0));
        }
        return table;
    }();
    return values;
}
}  // namespace

void THand::ResetFigures() {
    // Whole-array copies of constants: a few stores, where fill() may call memset.
    static constexpr std::array<int8_t, 5> NoPoints{-1, -1, -1, -1, -1};
    static constexpr std::array<int8_t, 4> NoLengths{-1, -1, -1, -1};
    points_ = NoPoints;
    lengths_ = NoLengths;
    sortedLengths_ = NoLengths;
}

int32_t THand::Card(int32_t j) const {
    return j >= 1 && j <= CardsInHand ? cards_[static_cast<std::size_t>(j - 1)] : 0;
}

void THand::SetCard(int32_t j, int32_t card) {
    if (j < 1 || j > CardsInHand) return;
    cards_[static_cast<std::size_t>(j - 1)] =
        card >= -128 && card <= 127 ? static_cast<int8_t>(card) : 0;
    ResetFigures();
}

// One pass fills the points and the lengths of all four suits.
void THand::ComputeFigures() {
    uint64_t lanes = 0;
    for (int8_t card : cards_) lanes += CardFigures[static_cast<uint8_t>(card)];
    int32_t total = 0;
    for (std::size_t suit = 0; suit < 4; ++suit) {
        auto points = static_cast<int8_t>((lanes >> (8 * suit)) & 0xFF);
        points_[suit + 1] = points;
        total += points;
        lengths_[suit] = static_cast<int8_t>((lanes >> (8 * (suit + 4))) & 0xFF);
    }
    points_[0] = static_cast<int8_t>(total);
}

void THand::ComputeSortedLengths() {
    if (lengths_[0] < 0) ComputeFigures();
    sortedLengths_ = HandRules::LongestFirst(lengths_[0], lengths_[1], lengths_[2], lengths_[3]);
}

int32_t THand::HCP(int32_t suit) {
    std::size_t entry = IsSuitNumber(suit) ? static_cast<std::size_t>(suit) : 0;
    if (points_[entry] < 0) ComputeFigures();
    return points_[entry];
}

int32_t THand::SuitLength(int32_t suit) {
    if (!IsSuitNumber(suit)) return 0;
    std::size_t entry = static_cast<std::size_t>(suit - 1);
    if (lengths_[entry] < 0) ComputeFigures();
    return lengths_[entry];
}

int32_t THand::SuitByLength(int32_t n) {
    if (n < 1 || n > 4) return 0;
    std::size_t entry = static_cast<std::size_t>(n - 1);
    if (sortedLengths_[entry] < 0) ComputeSortedLengths();
    return sortedLengths_[entry];
}

int32_t THand::PatternIndex() {
    return PatternIndexOf(SuitByLength(1), SuitByLength(2), SuitByLength(3), SuitByLength(4));
}

std::string THand::SuitText(int32_t suit) const {
    if (!IsSuitNumber(suit)) return "";
    int32_t lowest = suit * 13 - 12;
    int32_t highest = suit * 13;
    std::string text;
    for (int8_t card : cards_) {
        if (card < lowest) break;  // the cards are in descending order
        if (card <= highest) text.push_back(CardChar(card)[0]);
    }
    return text.empty() ? "-" : text;
}

std::array<std::string, 4> THand::SuitTexts() const {
    std::array<std::string, 4> texts;
    for (int8_t card : cards_) {
        int32_t suit = CardSuit(card);
        if (suit != 0) texts[static_cast<std::size_t>(suit - 1)].push_back(CardChar(card)[0]);
    }
    for (std::string& text : texts)
        if (text.empty()) text.push_back('-');
    return texts;
}

bool THand::DealtSuitRuns(TSuitRuns& runs) const {
    int32_t above = 53;
    bool dealt = true;
    std::array<uint8_t, 5> lengths{};  // by suit 1..4
    for (std::size_t at = 0; at < cards_.size(); ++at) {
        const int32_t card = cards_[at];
        dealt &= card >= 1 && card < above;
        above = card;
        const int32_t index = dealt ? card - 1 : 0;
        runs.Ranks[at] = RankChars[index % 13];
        ++lengths[static_cast<std::size_t>(index / 13 + 1)];
    }
    if (!dealt) return false;
    // Descending order puts the spades first, then hearts, diamonds, clubs.
    runs.Start[0] = 0;
    for (std::size_t k = 0; k < 4; ++k)
        runs.Start[k + 1] = static_cast<uint8_t>(runs.Start[k] + lengths[4 - k]);
    return true;
}

std::string THand::ToText() const {
    std::string text;
    text.reserve(TextLength);
    AppendText(text);
    return text;
}

void THand::AppendText(std::string& line) const {
    char text[MaxTextLength];
    line.append(text, static_cast<std::size_t>(WriteText(text) - text));
}

char* THand::WriteText(char* out) const {
    const std::array<TCardField, 256>& fields = CardFields();
    // Nearly always every place holds -9..99, two characters each: thirteen
    // independent two-byte copies.
    bool allShort = true;
    for (std::size_t j = 0; j < cards_.size(); ++j) {
        const TCardField& field = fields[static_cast<uint8_t>(cards_[j])];
        std::memcpy(out + 2 * j, field.Chars.data(), 2);
        allShort &= field.Length == 2;
    }
    if (allShort) {
        out[2 * cards_.size()] = ';';
        return out + 2 * cards_.size() + 1;
    }
    // Else each field is copied as four bytes and the end moved by its
    // length; the bytes past a short field are overwritten by the next one.
    for (int8_t card : cards_) {
        const TCardField& field = fields[static_cast<uint8_t>(card)];
        std::memcpy(out, field.Chars.data(), 4);
        out += field.Length;
    }
    *out++ = ';';
    return out;
}

void THand::FromText(std::string_view text) {
    const std::array<int8_t, 65536>& values = FieldValues();
    std::size_t j = 0;
    // Whole two-character fields: one lookup each.
    for (; j < cards_.size() && 2 * j + 2 <= text.size(); ++j) {
        const auto first = static_cast<uint8_t>(text[2 * j]);
        const auto second = static_cast<uint8_t>(text[2 * j + 1]);
        cards_[j] = values[static_cast<std::size_t>(first) << 8 | second];
    }
    // A short line: the field cut by its end, then empty ones.
    for (; j < cards_.size(); ++j) {
        std::string_view field = 2 * j < text.size() ? text.substr(2 * j, 2) : std::string_view();
        cards_[j] = static_cast<int8_t>(TextToInt(field, 0));  // two characters: -9..99
    }
    ResetFigures();
}

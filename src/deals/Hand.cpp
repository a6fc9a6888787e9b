#include "deals/Hand.h"

#include <algorithm>
#include <functional>

#include "deals/BridgeTerms.h"
#include "deals/Patterns.h"
#include "language/StringFunctions.h"

namespace {
bool IsSuitNumber(int32_t suit) { return suit >= 1 && suit <= 4; }
}  // namespace

void THand::ResetFigures() {
    points_.fill(-1);
    lengths_.fill(-1);
    sortedLengths_.fill(-1);
}

int32_t THand::Card(int32_t j) const {
    return j >= 1 && j <= CardsInHand ? cards_[static_cast<std::size_t>(j - 1)] : 0;
}

void THand::SetCard(int32_t j, int32_t card) {
    if (j < 1 || j > CardsInHand) return;
    cards_[static_cast<std::size_t>(j - 1)] = card >= -128 && card <= 127 ? static_cast<int8_t>(card) : 0;
    ResetFigures();
}

// One pass fills the whole hand and all four suits.
void THand::ComputePoints() {
    std::array<int32_t, 5> sums{};  // [1..4] the suits; places without a card count nothing
    for (int8_t card : cards_) sums[static_cast<std::size_t>(CardSuit(card))] += CardPoints(card);
    sums[0] = sums[1] + sums[2] + sums[3] + sums[4];
    for (std::size_t i = 0; i < sums.size(); ++i) points_[i] = static_cast<int8_t>(sums[i]);
}

void THand::ComputeLengths() {
    std::array<int32_t, 5> counts{};  // [0] collects the places that hold no card
    for (int8_t card : cards_) ++counts[static_cast<std::size_t>(CardSuit(card))];
    for (std::size_t suit = 1; suit <= 4; ++suit) lengths_[suit - 1] = static_cast<int8_t>(counts[suit]);
}

void THand::ComputeSortedLengths() {
    if (lengths_[0] < 0) ComputeLengths();
    sortedLengths_ = lengths_;
    std::sort(sortedLengths_.begin(), sortedLengths_.end(), std::greater<>());
}

int32_t THand::HCP(int32_t suit) {
    std::size_t entry = IsSuitNumber(suit) ? static_cast<std::size_t>(suit) : 0;
    if (points_[entry] < 0) ComputePoints();
    return points_[entry];
}

int32_t THand::SuitLength(int32_t suit) {
    if (!IsSuitNumber(suit)) return 0;
    std::size_t entry = static_cast<std::size_t>(suit - 1);
    if (lengths_[entry] < 0) ComputeLengths();
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
        if (card <= highest) text += CardChar(card);
    }
    return text.empty() ? "-" : text;
}

std::array<std::string, 4> THand::SuitTexts() const {
    std::array<std::string, 4> texts;
    for (int8_t card : cards_) {
        int32_t suit = CardSuit(card);
        if (suit != 0) texts[static_cast<std::size_t>(suit - 1)] += CardChar(card);
    }
    for (std::string& text : texts)
        if (text.empty()) text = "-";
    return texts;
}

std::string THand::ToText() const {
    std::string text;
    text.reserve(TextLength);
    for (int8_t card : cards_) text += IntLeft(card, 2, true);
    text += ';';
    return text;
}

void THand::FromText(std::string_view text) {
    for (std::size_t j = 0; j < cards_.size(); ++j) {
        std::string_view field = 2 * j < text.size() ? text.substr(2 * j, 2) : std::string_view();
        cards_[j] = static_cast<int8_t>(TextToInt(field, 0));  // two characters: -9..99
    }
    ResetFigures();
}

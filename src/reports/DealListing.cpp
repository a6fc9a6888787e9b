#include "reports/DealListing.h"

#include <algorithm>
#include <array>

#include "deals/DealCollection.h"
#include "text/StringFunctions.h"

namespace {

constexpr int32_t kNorth = 1, kEast = 2, kSouth = 3, kWest = 4;
constexpr int32_t kSuitsTopDown[4] = {4, 3, 2, 1};  // spades, hearts, diamonds, clubs
constexpr int32_t kSuitFieldWidth = 13;
constexpr size_t kStackedPairEmptyLine = 4;

std::string Spaces(int32_t count) {
    return std::string(static_cast<size_t>(std::max(count, 0)), ' ');
}

// The four suit fields of a seat's hand, spades first: each suit's text
// left-aligned in its width (short enough to need no allocation).
std::array<std::string, 4> SuitFields(const TDeal& deal, int32_t seat) {
    std::array<std::string, 4> fields;
    const THand& hand = deal.Hand(seat);
    THand::TSuitRuns runs;
    if (!hand.DealtSuitRuns(runs)) {  // a hand read from a damaged line
        for (size_t k = 0; k < 4; ++k)
            fields[k] = LeftAligned(hand.SuitText(kSuitsTopDown[k]), kSuitFieldWidth);
        return fields;
    }
    for (size_t k = 0; k < 4; ++k) {
        const size_t length = runs.Start[k + 1] - runs.Start[k];
        fields[k].assign(kSuitFieldWidth, ' ');
        if (length == 0)
            fields[k][0] = '-';
        else
            fields[k].replace(0, length, runs.Ranks.data() + runs.Start[k], length);
    }
    return fields;
}

void AppendGroup(std::vector<std::string>& lines, const std::array<std::string, 4>& fields,
                 int32_t spacesBefore, int32_t spacesAfter) {
    for (const std::string& field : fields) {
        std::string& line = lines.emplace_back();
        line.reserve(static_cast<size_t>(spacesBefore + spacesAfter) + field.size());
        line.append(static_cast<size_t>(spacesBefore), ' ');
        line += field;
        line.append(static_cast<size_t>(spacesAfter), ' ');
    }
}

bool IsAlwaysEmpty(TBlockShape shape, size_t blockLine) {
    return shape == TBlockShape::StackedPair && blockLine == kStackedPairEmptyLine;
}

size_t TrailingSpaces(const std::string& line) {
    size_t last = line.find_last_not_of(' ');
    return last == std::string::npos ? line.size() : line.size() - last - 1;
}

// How many spaces the row's lines need before a further deal's label is laid
// over the end of the top line: the label covers its width less two characters
// there, and those must be spaces, with one more space before a label that does
// not start with one. Zero whenever the top line ends in enough filler spaces.
int32_t ExtraSpacesForLabel(const std::string& topLine, const std::string& label) {
    size_t needed = label.size() - 2 + (label.front() == ' ' ? 0 : 1);
    size_t present = TrailingSpaces(topLine);
    return needed > present ? static_cast<int32_t>(needed - present) : 0;
}

}  // namespace

TBlockChoice ChooseBlock(const TListingSeats& seats) {
    int32_t selected = seats.North + seats.East + seats.South + seats.West;
    switch (selected) {
        case 0:
            return {};
        case 1:
            return {TBlockShape::SingleHand,
                    seats.North   ? kNorth
                    : seats.East  ? kEast
                    : seats.South ? kSouth
                                  : kWest,
                    0};
        case 2:
            if (seats.North && seats.East) return {TBlockShape::FallingPair, kNorth, kEast};
            if (seats.South && seats.West) return {TBlockShape::FallingPair, kWest, kSouth};
            if (seats.North && seats.South) return {TBlockShape::StackedPair, kNorth, kSouth};
            if (seats.North && seats.West) return {TBlockShape::RisingPair, kNorth, kWest};
            if (seats.East && seats.South) return {TBlockShape::RisingPair, kEast, kSouth};
            return {TBlockShape::SideBySide, kWest, kEast};
        default:
            return {TBlockShape::FullDeal, 0, 0};
    }
}

std::vector<std::string> BlockLines(const TBlockChoice& choice, const TDeal& deal) {
    std::vector<std::string> lines;
    lines.reserve(9);
    switch (choice.Shape) {
        case TBlockShape::None:
            break;
        case TBlockShape::SingleHand:
            AppendGroup(lines, SuitFields(deal, choice.HandA), 0, 0);
            break;
        case TBlockShape::FallingPair:
            AppendGroup(lines, SuitFields(deal, choice.HandA), 0, 6);
            AppendGroup(lines, SuitFields(deal, choice.HandB), 6, 0);
            break;
        case TBlockShape::StackedPair:
            AppendGroup(lines, SuitFields(deal, kNorth), 0, 0);
            lines.emplace_back();
            AppendGroup(lines, SuitFields(deal, kSouth), 0, 0);
            break;
        case TBlockShape::RisingPair:
            AppendGroup(lines, SuitFields(deal, choice.HandA), 7, 0);
            AppendGroup(lines, SuitFields(deal, choice.HandB), 0, 7);
            break;
        case TBlockShape::SideBySide: {
            const std::array<std::string, 4> west = SuitFields(deal, kWest);
            const std::array<std::string, 4> east = SuitFields(deal, kEast);
            for (size_t i = 0; i < west.size(); ++i) lines.push_back(west[i] + " " + east[i]);
            break;
        }
        case TBlockShape::FullDeal: {
            AppendGroup(lines, SuitFields(deal, kNorth), 7, 6);
            const std::array<std::string, 4> west = SuitFields(deal, kWest);
            const std::array<std::string, 4> east = SuitFields(deal, kEast);
            for (size_t i = 0; i < west.size(); ++i) lines.push_back(west[i] + east[i]);
            AppendGroup(lines, SuitFields(deal, kSouth), 7, 6);
            break;
        }
    }
    return lines;
}

std::string DealLabel(int32_t number) {
    std::string label = std::to_string(number) + ".";
    return label.size() < 3 ? " " + label : label;
}

bool ForEachListingRow(const TDeals& deals, const TListingSeats& seats, int32_t columns,
                       const std::function<bool(const std::vector<std::string>&)>& takeRow) {
    const TBlockChoice choice = ChooseBlock(seats);
    if (choice.Shape == TBlockShape::None) return true;
    const int32_t perRow = std::max(columns, 1);
    const int32_t count = deals.Count();
    std::vector<std::string> lines;

    for (int32_t first = 0; first < count; first += perRow) {
        lines.clear();
        const size_t rowStart = 0;
        const int32_t inRow = std::min(perRow, count - first);
        for (int32_t k = 0; k < inRow; ++k) {
            const TDeal* deal = deals.GetDeal(first + k);
            const std::string label = DealLabel(first + k + 1);
            const int32_t width = static_cast<int32_t>(label.size());
            const std::vector<std::string> block = BlockLines(choice, *deal);

            if (k == 0) {
                for (size_t i = 0; i < block.size(); ++i) {
                    if (IsAlwaysEmpty(choice.Shape, i))
                        lines.emplace_back();
                    else if (i == 0)
                        lines.push_back(label + block[i]);
                    else
                        lines.push_back(Spaces(width) + block[i]);
                }
                continue;
            }

            // A further deal extends the row's lines in place; its label ends
            // where its block begins, laid over the last characters of the top line.
            const int32_t extra = ExtraSpacesForLabel(lines[rowStart], label);
            for (size_t i = 0; i < block.size(); ++i) {
                if (IsAlwaysEmpty(choice.Shape, i)) continue;
                std::string& line = lines[rowStart + i];
                line.append(static_cast<size_t>(extra), ' ');
                if (i == 0) {
                    line.resize(line.size() - static_cast<size_t>(width) + 2);
                    line += label;
                } else {
                    line += "  ";
                }
                line += block[i];
            }
        }
        lines.emplace_back();
        if (!takeRow(lines)) return false;
    }
    return true;
}

std::vector<std::string> DealListingLines(const TDeals& deals, const TListingSeats& seats,
                                          int32_t columns) {
    std::vector<std::string> lines;
    ForEachListingRow(deals, seats, columns, [&lines](const std::vector<std::string>& row) {
        lines.insert(lines.end(), row.begin(), row.end());
        return true;
    });
    return lines;
}

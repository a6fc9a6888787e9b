#include "reports/BoardDiagram.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "deals/BridgeTerms.h"
#include "reports/Handout.h"

namespace {

// The compass between West and East: a seat letter a row, in the middle of its width.
constexpr std::size_t CompassWidth = 8;
constexpr std::size_t LeastWestWidth = 10;  // where the North and South hands begin

// Characters, not bytes, of UTF-8 text: what a fixed-width font lines up.
std::size_t Width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string PaddedTo(std::string text, std::size_t width) {
    const std::size_t used = Width(text);
    if (used < width) text.append(width - used, ' ');
    return text;
}

// "♠ ТК5", spades first.
std::array<std::string, 4> HandLines(const TDeal& deal, int32_t seat) {
    std::array<std::string, 4> lines;
    for (int32_t suit = 4; suit >= 1; --suit)
        lines[static_cast<std::size_t>(4 - suit)] =
            std::string(StrainSymbol(suit)) + " " +
            HoldingText(deal, seat, suit, THandoutCards::Russian);
    return lines;
}

}  // namespace

std::string BoardDiagramText(const TBoard& board) {
    std::string text = "Сдача " + std::to_string(board.Number) +
                       ", Сдаёт: " + std::string(RussianSeatLetter(board.Dealer)) +
                       ", Зона: " + std::string(VulnerabilityText(board.Vulnerability)) + "\n";
    const auto north = HandLines(board.Deal, North), east = HandLines(board.Deal, East),
               south = HandLines(board.Deal, South), west = HandLines(board.Deal, West);
    std::size_t westWidth = LeastWestWidth;
    for (const std::string& line : west) westWidth = std::max(westWidth, Width(line) + 2);
    const std::string indent(westWidth, ' ');
    const auto letter = [](int32_t seat) { return std::string(RussianSeatLetter(seat)); };
    const std::array<std::string, 4> compass = {"   " + letter(North),
                                                " " + letter(West) + "   " + letter(East),
                                                "   " + letter(South), ""};

    for (const std::string& line : north) text += indent + line + "\n";
    for (std::size_t row = 0; row < 4; ++row) {
        std::string line =
            PaddedTo(west[row], westWidth) + PaddedTo(compass[row], CompassWidth) + east[row];
        text += line + "\n";
    }
    for (const std::string& line : south) text += indent + line + "\n";
    if (board.Analysis && board.Analysis->Solved && board.Analysis->Par)
        text += ParLine(*board.Analysis->Par) + "\n";
    return text;
}

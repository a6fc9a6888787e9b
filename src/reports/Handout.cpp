#include "reports/Handout.h"

#include <algorithm>
#include <cstdlib>

#include "deals/BridgeTerms.h"

namespace {

constexpr double kMargin = 36;       // half an inch round the page
constexpr double kTitleHeight = 24;  // the title line and the gap below it
constexpr double kFooterHeight = 18;
constexpr double kLargestLine = 16;  // a diagram's line height on a page of one deal
constexpr double kFontOfLine = 0.78;
constexpr int32_t kDiagramColumns = 3;
constexpr double kLinesAcross = 21;  // a diagram's width in line heights
constexpr double kGapAcross = 1.5;   // and the gap beside it

struct TGrid {
    int32_t Columns, Rows;
};

TGrid GridOf(int32_t perPage) {
    switch (perPage) {
        case 1:
            return {1, 1};
        case 2:
            return {1, 2};
        case 4:
            return {2, 2};
        case 6:
            return {2, 3};
        default:
            return {3, 3};
    }
}

// Lays out one deal's diagram from its top left corner, `line` points a line.
class TDiagram {
public:
    TDiagram(THandoutPage& page, const THandoutOptions& options, double left, double top,
             double line)
        : page_(page),
          options_(options),
          left_(left),
          top_(top),
          line_(line),
          column_(line * kLinesAcross / kDiagramColumns) {}

    void Draw(const TBoard& board) {
        Text(0, 0, column_, "Сдача " + std::to_string(board.Number), THandoutAlign::Left, true);
        Text(0, 1, column_, "Сдаёт: " + std::string(RussianSeatLetter(board.Dealer)));
        Text(0, 2, column_, "Зона: " + std::string(VulnerabilityText(board.Vulnerability)));
        // North above, West and East beside the compass, South below.
        constexpr double kPlaces[4][2] = {{1, 0}, {2, 4}, {1, 8}, {0, 4}};
        for (int32_t seat = North; seat <= West; ++seat) {
            if (!options_.Seats[static_cast<std::size_t>(seat - 1)]) continue;
            const auto* place = kPlaces[seat - 1];
            Hand(board.Deal, seat, place[0] * column_ + (seat == East ? line_ / 2 : 0), place[1]);
        }
        Compass(board.Deal);
        if (options_.Analysis) Analysis(board);
    }

private:
    void Text(double x, double row, double width, std::string text,
              THandoutAlign align = THandoutAlign::Left, bool bold = false, bool red = false,
              double scale = 1) {
        page_.Texts.push_back({.Left = left_ + x,
                               .Top = top_ + row * line_,
                               .Width = width,
                               .Height = line_,
                               .Size = line_ * kFontOfLine * scale,
                               .Text = std::move(text),
                               .Align = align,
                               .Bold = bold,
                               .Red = red});
    }

    // Four lines, spades first: the suit's symbol, then its cards.
    void Hand(const TDeal& deal, int32_t seat, double x, double row) {
        const double symbolWidth = 1.2 * line_;
        for (int32_t k = 0; k < 4; ++k) {
            const int32_t suit = Spades - k;
            Text(x, row + k, symbolWidth, std::string(StrainSymbol(suit)), THandoutAlign::Left,
                 false, IsRed(suit));
            Text(x + symbolWidth, row + k, column_ - symbolWidth - line_ / 2,
                 HoldingText(deal, seat, suit, options_.Cards));
        }
    }

    // A square in the middle with each seat's letter and, for a drawn hand, its
    // points beside it (a text of their own, so the two never run together).
    void Compass(const TDeal& deal) {
        const double side = 3.8 * line_;
        const double x = column_ + (column_ - side) / 2, y = 4.1 * line_;
        page_.Frames.push_back({left_ + x, top_ + y, side, side});
        const double row = y / line_, inset = line_ / 10, letter = 0.7 * line_;
        const double gap = 0.3 * line_, points = side / 2 - inset - letter - gap;
        const double centre = x + side / 2 - (letter + gap + points) / 2;
        const double places[4][2] = {{centre, row + 0.1},
                                     {x + side / 2, row + 1.4},
                                     {centre, row + 2.7},
                                     {x + inset, row + 1.4}};
        constexpr double kScale = 0.75;
        for (int32_t seat = North; seat <= West; ++seat) {
            const double* place = places[seat - 1];
            const bool drawn = options_.Seats[static_cast<std::size_t>(seat - 1)];
            // A letter without points stands alone in the middle of its edge.
            const double shift =
                !drawn && (seat == North || seat == South) ? (gap + points) / 2 : 0;
            Text(place[0] + shift, place[1], letter, std::string(RussianSeatLetter(seat)),
                 THandoutAlign::Right, false, false, kScale);
            if (drawn)
                Text(place[0] + letter + gap, place[1], points,
                     std::to_string(HandPoints(deal, seat)), THandoutAlign::Left, false, false,
                     kScale);
        }
    }

    // The tricks of each declarer in each strain below East, par to the left.
    void Analysis(const TBoard& board) {
        if (!board.Analysis || !board.Analysis->Solved) {
            Text(0, 12, 2 * column_, "Анализа нет");
            return;
        }
        const double cell = (column_ - line_ / 2) / 5, x = 2 * column_ + line_ / 2;
        constexpr int32_t kDeclarers[4] = {North, East, South, West};
        for (int32_t k = 0; k < 4; ++k)
            Text(x + (k + 1) * cell, 8, cell, std::string(RussianSeatLetter(kDeclarers[k])),
                 THandoutAlign::Right);
        constexpr int32_t kStrains[5] = {NoTrump, Spades, Hearts, Diamonds, Clubs};
        for (int32_t row = 0; row < 5; ++row) {
            const int32_t strain = kStrains[row];
            Text(x, 9 + row, cell, std::string(StrainSymbol(strain)), THandoutAlign::Left, false,
                 strain != NoTrump && IsRed(strain));
            for (int32_t k = 0; k < 4; ++k)
                Text(x + (k + 1) * cell, 9 + row, cell,
                     std::to_string(board.Analysis->Table.At(kDeclarers[k], strain)),
                     THandoutAlign::Right);
        }
        if (board.Analysis->Par) Text(0, 12, 2 * column_, ParLine(*board.Analysis->Par));
    }

    static bool IsRed(int32_t suit) { return suit == Hearts || suit == Diamonds; }

    THandoutPage& page_;
    const THandoutOptions& options_;
    double left_, top_, line_, column_;
};

}  // namespace

std::array<double, 2> HandoutPaperSize(THandoutPaper paper) {
    // A4 is 210 x 297 mm; Letter 8.5 x 11 inches.
    if (paper == THandoutPaper::Letter) return {612, 792};
    return {595.276, 841.89};
}

int32_t HandoutPerPage(int32_t asked) {
    for (int32_t supported : {1, 2, 4, 6})
        if (asked <= supported) return supported;
    return 9;
}

int32_t HandoutPageCount(int64_t boards, const THandoutOptions& options) {
    const int64_t perPage = HandoutPerPage(options.PerPage);
    return static_cast<int32_t>(std::max<int64_t>(1, (boards + perPage - 1) / perPage));
}

THandoutPage HandoutPage(std::span<const TBoard> boards, const THandoutOptions& options,
                         int32_t page) {
    THandoutPage result;
    const auto [width, height] = HandoutPaperSize(options.Paper);
    result.Width = width;
    result.Height = height;
    const int32_t perPage = HandoutPerPage(options.PerPage);
    const int32_t pages = HandoutPageCount(static_cast<int64_t>(boards.size()), options);

    double top = kMargin;
    if (!options.Title.empty()) {
        result.Texts.push_back({.Left = kMargin,
                                .Top = kMargin,
                                .Width = width - 2 * kMargin,
                                .Height = kTitleHeight - 6,
                                .Size = 13,
                                .Text = options.Title,
                                .Align = THandoutAlign::Centre,
                                .Bold = true});
        top += kTitleHeight;
    }
    const double bottom = height - kMargin - kFooterHeight;
    result.Texts.push_back(
        {.Left = kMargin,
         .Top = bottom + kFooterHeight - 12,
         .Width = width - 2 * kMargin,
         .Height = 12,
         .Size = 9,
         .Text = "Страница " + std::to_string(page + 1) + " из " + std::to_string(pages),
         .Align = THandoutAlign::Centre});

    const TGrid grid = GridOf(perPage);
    const double cellWidth = (width - 2 * kMargin) / grid.Columns;
    const double cellHeight = (bottom - top) / grid.Rows;
    const double rows = (options.Analysis ? 14 : 12) + 1;  // and a line between deals
    const double line =
        std::min({cellHeight / rows, cellWidth / (kLinesAcross + kGapAcross), kLargestLine});
    const std::size_t first = static_cast<std::size_t>(page) * static_cast<std::size_t>(perPage);
    for (int32_t k = 0; k < perPage && first + static_cast<std::size_t>(k) < boards.size(); ++k) {
        const double cellLeft = kMargin + (k % grid.Columns) * cellWidth;
        // A diagram narrower than its cell is drawn in the middle of it.
        const double cellTop =
            top + (k / grid.Columns) * cellHeight + (cellHeight - rows * line) / 2;
        TDiagram(result, options, cellLeft + (cellWidth - kLinesAcross * line) / 2, cellTop, line)
            .Draw(boards[first + static_cast<std::size_t>(k)]);
    }
    return result;
}

std::string_view RussianSeatLetter(int32_t seat) {
    return seat >= 1 && seat <= 4 ? RussianSeatLetters[seat - 1] : std::string_view("?");
}

std::string_view VulnerabilityText(std::string_view pbnName) {
    if (pbnName == "NS") return "СЮ";
    if (pbnName == "EW") return "ВЗ";
    if (pbnName == "All") return "обе";
    return "никто";
}

std::string_view StrainSymbol(int32_t strain) {
    constexpr std::string_view symbols[] = {"БК", "♣", "♦", "♥", "♠"};
    return strain >= 0 && strain <= 4 ? symbols[strain] : std::string_view();
}

std::string HoldingText(const TDeal& deal, int32_t seat, int32_t suit, THandoutCards cards) {
    const uint64_t set = deal.Hand(seat).CardSet();
    std::string text;
    for (int32_t rank = 12; rank >= 0; --rank) {
        const int32_t card = (suit - 1) * 13 + rank + 1;
        if ((set >> card & 1) == 0) continue;
        text += cards == THandoutCards::Russian ? RussianRankChars[rank] : CardChar(card);
    }
    return text.empty() ? "—" : text;
}

int32_t HandPoints(const TDeal& deal, int32_t seat) {
    const uint64_t set = deal.Hand(seat).CardSet();
    int32_t points = 0;
    for (int32_t card = 1; card <= 52; ++card)
        if (set >> card & 1) points += CardPoints(card);
    return points;
}

std::string ParLine(const TParResult& par) {
    if (par.Score == 0) return "Пар: 0, пас";
    std::string text = std::string("Пар: ") + (par.Score > 0 ? "СЮ +" : "ВЗ +") +
                       std::to_string(std::abs(par.Score));
    for (const TParContract& contract : par.Contracts) {
        text += ", " + std::to_string(contract.Level) + std::string(StrainSymbol(contract.Strain));
        if (contract.Undertricks > 0) text += "×";
        text += ' ';
        for (const char declarer : contract.Declarers)
            text += RussianSeatLetter(SeatOfLetter(declarer));
    }
    return text;
}

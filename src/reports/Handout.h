#pragma once
// The handout: deals laid out for paper, a few to a page, each with its board
// number, dealer and vulnerability, the hands as a compass diagram with each
// hand's points and, when asked, the double-dummy table and par. The layout is
// computed here as boxes of text and frames in points (1/72 inch) from the top
// left corner of the page; a painter only draws them. Boxes never overlap, and
// a text is drawn inside its box (a painter shrinks a text too wide for it).
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "deals/Board.h"

enum class THandoutPaper { A4, Letter };
enum class THandoutCards { Russian, English };  // Т К Д В 10 or A K Q J T

struct THandoutOptions {
    int32_t PerPage = 4;  // 1, 2, 4, 6 or 9; any other number counts as the next of them up
    bool Analysis = false;
    std::array<bool, 4> Seats = {true, true, true, true};  // North, East, South, West drawn
    THandoutCards Cards = THandoutCards::Russian;
    THandoutPaper Paper = THandoutPaper::A4;
    std::string Title{};  // UTF-8; none when empty
};

enum class THandoutAlign { Left, Centre, Right };

struct THandoutText {
    double Left = 0, Top = 0, Width = 0, Height = 0;  // the box
    double Size = 0;                                  // font size, points
    std::string Text;                                 // UTF-8
    THandoutAlign Align = THandoutAlign::Left;
    bool Bold = false;
    bool Red = false;  // hearts and diamonds
};

struct THandoutFrame {
    double Left = 0, Top = 0, Width = 0, Height = 0;
};

struct THandoutPage {
    double Width = 0, Height = 0;  // the paper
    std::vector<THandoutText> Texts;
    std::vector<THandoutFrame> Frames;
};

// Paper width and height in points.
std::array<double, 2> HandoutPaperSize(THandoutPaper paper);
// 1, 2, 4, 6 or 9: the supported count nearest above (9 at most).
int32_t HandoutPerPage(int32_t asked);
int32_t HandoutPageCount(int64_t boards, const THandoutOptions& options);

// Page `page` (from 0) of the handout of all `boards`. A board's analysis is
// drawn only when options.Analysis is set and the board has a solved one; its
// par is the analysis's own or, when missing, none is shown.
THandoutPage HandoutPage(std::span<const TBoard> boards, const THandoutOptions& options,
                         int32_t page);

// The texts as Russian players write them.
std::string_view RussianSeatLetter(int32_t seat);              // "С", "В", "Ю", "З"
std::string_view VulnerabilityText(std::string_view pbnName);  // "никто", "СЮ", "ВЗ", "обе"
std::string_view StrainSymbol(int32_t strain);                 // "БК", "♣", "♦", "♥", "♠"
// The cards of a suit (1..4) of a seat, highest first: "КД105"; "—" for a void.
std::string HoldingText(const TDeal& deal, int32_t seat, int32_t suit, THandoutCards cards);
int32_t HandPoints(const TDeal& deal, int32_t seat);
// "Пар: СЮ +450, 4♠ Ю" ("Пар: 0, пас" for a deal passed out).
std::string ParLine(const TParResult& par);

#pragma once
// The deal listing: the deals of the collection drawn as small text diagrams
// of the selected seats' hands, several deals side by side in a row, rows one
// below the other. The report window shows these lines as they are; the
// command-line program prints them.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TDeal;
class TDeals;

// Which seats' toggles are down.
struct TListingSeats {
    bool North = false;
    bool East = false;
    bool South = false;
    bool West = false;
};

// The six ways to draw one deal, chosen by the selected seats.
enum class TBlockShape {
    None,         // no seat selected: nothing is drawn
    SingleHand,   // one hand
    FallingPair,  // A on top, B below and to the right
    StackedPair,  // North, an empty line, South
    RisingPair,   // A on top and to the right, B below
    SideBySide,   // West, a space, East
    FullDeal,     // North, West and East, South: all four hands
};

struct TBlockChoice {
    TBlockShape Shape = TBlockShape::None;
    int32_t HandA = 0;  // seat drawn first (top or left); 0 where the shape fixes its seats
    int32_t HandB = 0;  // seat drawn second
};

// The shape and hands for the selected seats: one seat a single hand, two seats
// in their diagram places, three or four seats the full deal.
TBlockChoice ChooseBlock(const TListingSeats& seats);

// The lines of one deal's block, all of the shape's width, except the always
// empty fifth line of StackedPair. Empty for TBlockShape::None.
std::vector<std::string> BlockLines(const TBlockChoice& choice, const TDeal& deal);

// " 7." for a one-digit number, "42." or "1234." otherwise.
std::string DealLabel(int32_t number);

// The whole listing (one empty line closes every row). A column count below 1
// counts as 1; no seat selected or no deals give no lines. A spade holding
// that would run under the next deal's label pushes that deal (and the rest of
// its row) right just far enough to keep every card and a space before the label.
std::vector<std::string> DealListingLines(const TDeals& deals, const TListingSeats& seats,
                                          int32_t columns);
// The same lines a row at a time (its closing empty line included), so that a
// listing of millions of deals never sits in memory whole. Stops, returning
// false, when `takeRow` returns false.
bool ForEachListingRow(const TDeals& deals, const TListingSeats& seats, int32_t columns,
                       const std::function<bool(const std::vector<std::string>&)>& takeRow);

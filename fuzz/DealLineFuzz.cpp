// A deal line of any content: reading it, every figure, the hand functions,
// and writing it back must neither crash nor read or write
// outside the deal, whatever numbers the line holds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "deals/Deal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    TDeal deal;
    deal.FromText(line);
    for (int32_t seat = 0; seat <= 5; ++seat) {
        for (int32_t suit = -1; suit <= 5; ++suit) {
            deal.HCP(seat, suit);
            deal.SuitLength(seat, suit);
            deal.SuitByLength(seat, suit);
        }
        deal.Balanced(seat, -1, -1);
        deal.Polish1c(seat, -1, -1, -1, -1);
        deal.Prec1d(seat, -1, -1, -1, -1);
        deal.Multy(seat, -1, -1, -1, -1, -1, -1);
        deal.Suits(seat, 1, 5, -1, -1, -1);
        deal.Shape(seat, 0, 4, 3, 3, 3);
        if (seat >= 1 && seat <= 4) {
            THand& hand = deal.Hand(seat);
            hand.PatternIndex();
            hand.SuitTexts();
            for (int32_t suit = 0; suit <= 5; ++suit) hand.SuitText(suit);
        }
    }
    for (int32_t suit = 0; suit <= 5; ++suit) deal.SuitSplitIndex(suit);
    // Writing a deal and reading the line back gives the same line.
    TDeal copy;
    copy.FromText(deal.ToText());
    if (copy.ToText() != deal.ToText()) __builtin_trap();
    return 0;
}

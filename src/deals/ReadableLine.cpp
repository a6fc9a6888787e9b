#include "deals/ReadableLine.h"

#include <cstring>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"

std::string ReadableLine(const TDeal& deal) {
    std::string line;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        if (seat > 1) line += ' ';
        line += SeatLetters[seat - 1];
        line += ' ';
        const THand& hand = deal.Hand(seat);
        for (int32_t suit = 4; suit >= 1; --suit) {
            line += hand.SuitText(suit);
            if (suit > 1) line += '.';
        }
    }
    return line;
}

char* WriteReadableLine(const TDeal& deal, char* out) {
    THand::TSuitRuns runs[4];
    for (int32_t seat = 1; seat <= 4; ++seat)
        if (!deal.Hand(seat).DealtSuitRuns(runs[seat - 1])) return nullptr;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        if (seat > 1) *out++ = ' ';
        *out++ = SeatLetters[seat - 1];
        *out++ = ' ';
        const THand::TSuitRuns& hand = runs[seat - 1];
        for (std::size_t k = 0; k < 4; ++k) {
            if (k > 0) *out++ = '.';
            // Sixteen bytes copied whatever the length; a void is "-".
            const std::size_t length = hand.Start[k + 1] - hand.Start[k];
            std::memcpy(out, hand.Ranks.data() + hand.Start[k], 16);
            if (length == 0) *out = '-';
            out += length + (length == 0);
        }
    }
    return out;
}

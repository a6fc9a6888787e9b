#pragma once
// Deals for the report tests, built from the suits the listings print, and
// the text helpers the expected reports are written with.
#include <string>
#include <string_view>
#include <vector>

#include "deals/Deal.h"
#include "deals/HandBuilder.h"

// Hands as "spades.hearts.diamonds.clubs", North, East, South, West.
inline TDeal DealOf(std::string_view north, std::string_view east, std::string_view south,
                    std::string_view west) {
    TDeal deal;
    deal.Hand(1) = MakeHand(north);
    deal.Hand(2) = MakeHand(east);
    deal.Hand(3) = MakeHand(south);
    deal.Hand(4) = MakeHand(west);
    return deal;
}

// The three deals the listing examples draw.
inline std::vector<TDeal> ListingExampleDeals() {
    return {
        DealOf("J542.9.AT853.J86", "AKQT63.J3.972.A3", "7.AKQT754.K4.972", "98.862.QJ6.KQT54"),
        DealOf("AJ62.KQ.T964.J54", "K873.JT742.A753.-", "QT95.83.KQJ8.876", "4.A965.2.AKQT932"),
        DealOf("987.A973.QJT5.A5", "Q43.T64.A763.Q93", "AJ6.KQJ2.942.T76", "KT52.85.K8.KJ842"),
    };
}

// Expected report lines are written with a middle dot for each space.
inline std::string Dots(std::string_view text) {
    std::string plain;
    const std::string_view dot = "·";
    for (size_t i = 0; i < text.size();) {
        if (text.substr(i, dot.size()) == dot) {
            plain += ' ';
            i += dot.size();
        } else {
            plain += text[i++];
        }
    }
    return plain;
}

inline std::vector<std::string> Dots(const std::vector<std::string_view>& lines) {
    std::vector<std::string> plain;
    for (std::string_view line : lines) plain.push_back(Dots(line));
    return plain;
}

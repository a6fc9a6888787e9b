#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "deals/internal/LinFile.h"
#include "support/DealInto.h"

namespace {

TEST(LinFile, BoardOneOfKeyOne) {
    TDeals deals;
    DealInto(deals, 1, 3);
    EXPECT_EQ(LinBoardLine(*deals.GetDeal(0), 1),
              "qx|o1|md|3SQJT964HJ5DAT8CQ6,SA8HKQT973D964CA3,S7532HA6DQ2CKJ842,"
              "SKH842DKJ753CT975|rh||ah|Board 1|sv|o|pg||");
    // North's void in hearts is an empty run of ranks.
    EXPECT_NE(LinBoardLine(*deals.GetDeal(2), 3).find(",SAT7653HD5432CA32,"), std::string::npos);
}

// Each line read back as a reader would: the board number, dealer and
// vulnerability of the usual rotation, and the four hands of the deal.
TEST(LinFile, LinesGiveTheRotationAndTheDealsBack) {
    TDeals deals;
    DealInto(deals, 7, 40);
    std::ostringstream out;
    WriteLin(out, deals);
    std::istringstream in(out.str());
    const std::regex board(
        R"(qx\|o(\d+)\|md\|([1-4])(S\w*H\w*D\w*C\w*),(S\w*H\w*D\w*C\w*),(S\w*H\w*D\w*C\w*),)"
        R"((S\w*H\w*D\w*C\w*)\|rh\|\|ah\|Board (\d+)\|sv\|([oneb])\|pg\|\|)");
    const std::string dealers = "3412";                    // boards 1..4: North, East, South, West
    const std::string vulnerability = "onebneboebonbone";  // boards 1..16
    const auto pbnHand = [](std::string lin) {             // "SAKHQDJCT" -> "AK.Q.J.T"
        return std::regex_replace(lin.substr(1), std::regex("[HDC]"), ".");
    };
    std::string line;
    int32_t count = 0;
    while (std::getline(in, line)) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, board)) << line;
        ++count;
        EXPECT_EQ(std::stoi(m[1]), count);
        EXPECT_EQ(std::stoi(m[7]), count);
        EXPECT_EQ(m[2].str()[0], dealers[static_cast<std::size_t>((count - 1) % 4)]);
        EXPECT_EQ(m[8].str()[0], vulnerability[static_cast<std::size_t>((count - 1) % 16)]);
        // South, West, North, East: clockwise from South.
        TDeal read;
        ASSERT_TRUE(ReadPbnDealValue(
            "S:" + pbnHand(m[3]) + " " + pbnHand(m[4]) + " " + pbnHand(m[5]) + " " + pbnHand(m[6]),
            read));
        EXPECT_EQ(read.ToText(), deals.GetDeal(count - 1)->ToText());
    }
    EXPECT_EQ(count, 40);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deals/DealCollection.h"
#include "deals/RandomSource.h"
#include "reports/ExampleDeals.h"
#include "reports/StatisticsReport.h"
#include "text/StringFunctions.h"

namespace {

// Line indexes of the report's parts.
constexpr size_t kPatternHeading = 2, kFirstPatternRow = 3, kLastPatternRow = 42;
constexpr size_t kLengthHeading = 44, kFirstLengthRow = 45;
constexpr size_t kPointHeading = 50, kFirstPointRow = 51, kSumRow = 89;

// A collection of `count` deals whose statistics the test sets by hand.
void AddBlankDeals(TDeals& deals, int32_t count) {
    for (int32_t i = 0; i < count; ++i) deals.Add(TDeal());
}

TEST(ShareField, RoundsTheExactFloatHalfUpInFiveCharacters) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0.0f, " 0.00"},   {0.125f, " 0.13"},  {0.145f, " 0.14"},
        {10.0f, "10.00"},  {99.994f, "99.99"}, {99.995f, "100.0"},
        {100.0f, "100.0"}, {3.25f, " 3.25"},   {2.0f / 3.0f, " 0.67"},
    };
    for (const Case& c : cases) EXPECT_EQ(ShareField(c.value), c.text) << c.value;
}

TEST(DigitWidth, GrowsWithTheDealCount) {
    const std::pair<int32_t, int32_t> cases[] = {{1, 2},      {99, 2},     {100, 3},   {999, 3},
                                                 {1000, 4},   {9999, 4},   {10000, 5}, {99999, 5},
                                                 {100000, 6}, {9999999, 6}};
    for (auto [count, width] : cases) EXPECT_EQ(DigitWidth(count), width) << count;
}

TEST(StatisticsReport, WorkedExampleForFiftyDeals) {
    TDeals deals;
    AddBlankDeals(deals, 50);
    const int32_t pattern4333 = 39;
    deals.ShapeCount[1][pattern4333] = 5;
    deals.ShapeCount[2][pattern4333] = 7;
    deals.ShapeCount[3][pattern4333] = 0;
    deals.ShapeCount[4][pattern4333] = 12;
    deals.SplitCount[4][pattern4333] = 3;  // spades
    deals.SplitCount[3][pattern4333] = 4;
    deals.SplitCount[2][pattern4333] = 5;
    deals.SplitCount[1][pattern4333] = 6;  // clubs
    deals.LengthSum[1][4] = 230;
    deals.LengthSum[1][3] = 170;
    deals.LengthSum[1][2] = 120;
    deals.LengthSum[1][1] = 130;
    deals.HcpCount[1][7] = 3;
    deals.HcpCount[2][7] = 0;
    deals.HcpCount[3][7] = 4;
    deals.HcpCount[4][7] = 5;
    deals.HcpSum[1] = 512;
    deals.HcpSum[2] = 498;
    deals.HcpSum[3] = 470;
    deals.HcpSum[4] = 520;

    const std::vector<std::string> lines = StatisticsReportLines(deals);
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[0], "Всего раздач: 50");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[kPatternHeading],
              Dots("Расклад······N·········E·········S·········W·······Всего·······Пики······"
                   "Червы·····Бубны·····Трефы·····Всего··"));
    EXPECT_EQ(lines[kFirstPatternRow],
              Dots("4-3-3-3···(5)10.00··(7)14.00··(0)·0.00·(12)24.00·(24)12.00·····(3)·6.00··"
                   "(4)·8.00··(5)10.00··(6)12.00·(18)·9.00"));
    EXPECT_EQ(lines[kLengthHeading], Dots("······Пики······Червы······Бубны······Трефы···"));
    EXPECT_EQ(lines[kFirstLengthRow], Dots("N···(230)·4.60·(170)·3.40·(120)·2.40·(130)·2.60"));
    EXPECT_EQ(lines[kPointHeading],
              Dots("HCP······N···········E···········S···········W·········Всего··"));
    EXPECT_EQ(lines[kFirstPointRow + 7],
              Dots("·7·····(3)·6.00····(0)·0.00····(4)·8.00····(5)10.00···(12)·6.00"));
    EXPECT_EQ(lines[kSumRow], Dots("·····(512)10.24··(498)·9.96··(470)·9.40··(520)10.40"));
}

TEST(StatisticsReport, RowsComeInTheirFixedOrderAndAllZeroRowsStayComplete) {
    TDeals deals;
    AddBlankDeals(deals, 7);
    const std::vector<std::string> lines = StatisticsReportLines(deals);
    ASSERT_EQ(lines.size(), 90u);
    const char* const order[] = {
        "4-3-3-3",  "4-4-3-2",  "4-4-4-1",  "5-3-3-2",  "5-4-2-2",  "5-4-3-1",  "5-4-4-0",
        "5-5-2-1",  "5-5-3-0",  "6-3-2-2",  "6-3-3-1",  "6-4-2-1",  "6-4-3-0",  "6-5-1-1",
        "6-5-2-0",  "6-6-1-0",  "7-2-2-2",  "7-3-2-1",  "7-3-3-0",  "7-4-1-1",  "7-4-2-0",
        "7-5-1-0",  "7-6-0-0",  "8-2-2-1",  "8-3-1-1",  "8-3-2-0",  "8-4-1-0",  "8-5-0-0",
        "9-2-1-1",  "9-2-2-0",  "9-3-1-0",  "9-4-0-0",  "10-1-1-1", "10-2-1-0", "10-3-0-0",
        "11-1-1-0", "11-2-0-0", "12-1-0-0", "13-0-0-0", "0-0-0-0"};
    for (size_t i = 0; i < std::size(order); ++i)
        EXPECT_EQ(lines[kFirstPatternRow + i].substr(0, 8), LeftAligned(order[i], 8));
    EXPECT_EQ(lines[kLastPatternRow],
              Dots("0-0-0-0···(0)·0.00··(0)·0.00··(0)·0.00··(0)·0.00··(0)·0.00·····(0)·0.00··"
                   "(0)·0.00··(0)·0.00··(0)·0.00··(0)·0.00"));
    for (int32_t seat = 1; seat <= 4; ++seat)
        EXPECT_EQ(lines[kFirstLengthRow + seat - 1].substr(0, 1), std::string(1, "NESW"[seat - 1]));
    for (int32_t points = 0; points <= 37; ++points)
        EXPECT_EQ(lines[kFirstPointRow + points].substr(0, 3), IntRight(points, 2, true) + " ");
    EXPECT_EQ(lines[kFirstPointRow + 37],
              Dots("37·····(0)·0.00····(0)·0.00····(0)·0.00····(0)·0.00····(0)·0.00"));
}

// Character offsets where every count field of a table ends with ")".
struct TTableColumns {
    size_t firstRow, lastRow;
    std::vector<size_t> closingBrackets;
    size_t width;
};

std::vector<TTableColumns> Columns(int32_t d) {
    const size_t D = static_cast<size_t>(d);
    TTableColumns patterns{kFirstPatternRow, kLastPatternRow, {}, 8 + 10 * (D + 8) + 3};
    for (size_t c = 0; c < 5; ++c) {
        patterns.closingBrackets.push_back(8 + c * (D + 8) + D + 2);
        patterns.closingBrackets.push_back(8 + 5 * (D + 8) + 3 + c * (D + 8) + D + 2);
    }
    TTableColumns lengths{kFirstLengthRow, kFirstLengthRow + 3, {}, 3 + 4 * (D + 9)};
    for (size_t c = 0; c < 4; ++c) lengths.closingBrackets.push_back(3 + c * (D + 9) + D + 3);
    TTableColumns points{kFirstPointRow, kFirstPointRow + 37, {}, 3 + 5 * (D + 10)};
    for (size_t c = 0; c < 5; ++c) points.closingBrackets.push_back(3 + c * (D + 10) + D + 4);
    TTableColumns sums{kSumRow, kSumRow, {}, 3 + 4 * (D + 10)};
    for (size_t c = 0; c < 4; ++c) sums.closingBrackets.push_back(3 + c * (D + 10) + D + 4);
    return {patterns, lengths, points, sums};
}

void ExpectAlignedColumns(const std::vector<std::string>& lines, int32_t d) {
    for (const TTableColumns& table : Columns(d)) {
        for (size_t row = table.firstRow; row <= table.lastRow; ++row) {
            const std::string& line = lines[row];
            ASSERT_EQ(line.size(), table.width) << "line " << row << ": " << line;
            for (size_t at : table.closingBrackets)
                EXPECT_EQ(line[at], ')') << "line " << row << " at " << at << ": " << line;
        }
    }
}

TEST(StatisticsReport, CountColumnsWidenFromOneHundredDeals) {
    for (int32_t count : {99, 100}) {
        SCOPED_TRACE(count);
        TDeals deals;
        AddBlankDeals(deals, count);
        deals.ShapeCount[1][39] = count;  // 100 % where it can be
        deals.HcpCount[2][37] = count;
        deals.HcpSum[2] = 37 * count;
        deals.LengthSum[3][4] = 13 * count;
        const std::vector<std::string> lines = StatisticsReportLines(deals);
        const int32_t d = count < 100 ? 2 : 3;
        ExpectAlignedColumns(lines, d);
        EXPECT_EQ(CharCount(lines[kPatternHeading]), 9 + 10 * (d + 7) + 4 + 3 + 4);
        EXPECT_EQ(CharCount(lines[kPointHeading]), 5 + 5 * (d + 7) + 4 * 3);
    }
}

TEST(StatisticsReport, HeadingsAreRecentredForThreeDigitCounts) {
    TDeals deals;
    AddBlankDeals(deals, 100);
    const std::vector<std::string> lines = StatisticsReportLines(deals);
    EXPECT_EQ(lines[kPatternHeading], Dots("Расклад······N······"
                                           "····E······"
                                           "····S······"
                                           "····W······"
                                           "··Всего······"
                                           "···Пики····"
                                           "··Червы····"
                                           "··Бубны····"
                                           "··Трефы····"
                                           "··Всего···"));
    EXPECT_EQ(lines[kLengthHeading], Dots("······Пики········Червы·······Бубны·······Трефы···"));
    EXPECT_EQ(lines[kPointHeading],
              Dots("HCP······N············E············S············W··········Всего···"));
}

TEST(StatisticsReport, AShareOfAHundredPercentKeepsItsField) {
    TDeals deals;
    AddBlankDeals(deals, 100);
    deals.ShapeCount[1][39] = 100;
    deals.ShapeCount[2][39] = 100;
    deals.ShapeCount[3][39] = 100;
    deals.ShapeCount[4][39] = 100;
    deals.HcpCount[1][10] = 100;
    const std::vector<std::string> lines = StatisticsReportLines(deals);
    EXPECT_EQ(lines[kFirstPatternRow].substr(0, 8 + 5 * 11),
              Dots("4-3-3-3··(100)100.0·(100)100.0·(100)100.0·(100)100.0·(400)100.0"));
    EXPECT_EQ(lines[kFirstPointRow + 10],
              Dots("10····(100)100.0·····(0)·0.00·····(0)·0.00·····(0)·0.00···(100)25.00"));
    ExpectAlignedColumns(lines, 3);
}

TEST(StatisticsReport, TotalShareIsTheMeanOfTheCountsNotOfTheRoundedShares) {
    TDeals deals;
    AddBlankDeals(deals, 3);
    deals.HcpCount[1][12] = 1;  // 33.33 %
    deals.HcpCount[2][12] = 1;
    deals.HcpCount[3][12] = 1;
    deals.HcpCount[4][12] = 0;
    // The rounded shares average 24.9975; the counts give 3 / 3 × 25 = 25.00.
    EXPECT_EQ(StatisticsReportLines(deals)[kFirstPointRow + 12],
              Dots("12·····(1)33.33····(1)33.33····(1)33.33····(0)·0.00····(3)25.00"));
}

TEST(StatisticsReport, ReportsTheComputedStatisticsOfDealtDeals) {
    TRandomSource source;
    source.SetSeed(1);
    TDeals deals;
    for (int32_t i = 0; i < 250; ++i) {
        TDeal deal;
        deal.DealRandom(source);
        deals.Add(deal);
    }
    deals.ComputeStatistics();
    const std::vector<std::string> lines = StatisticsReportLines(deals);
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[0], "Всего раздач: 250");
    ExpectAlignedColumns(lines, 3);
    // Every seat holds 13 cards in every deal: the length sums of a seat add to 13 × 250.
    for (size_t row = kFirstLengthRow; row < kFirstLengthRow + 4; ++row) {
        int32_t total = 0;
        for (size_t at = lines[row].find('('); at != std::string::npos;
             at = lines[row].find('(', at + 1))
            total += TextToInt(lines[row].substr(at + 1, lines[row].find(')', at) - at - 1), -1);
        EXPECT_EQ(total, 13 * 250) << lines[row];
    }
    // The sum row holds the collection's point sums.
    EXPECT_EQ(lines[kSumRow].substr(3, 8), CountField(deals.HcpSum[1], 8));
}

TEST(StatisticsReport, AnEmptyCollectionGivesZeroSharesNotNonsense) {
    TDeals deals;
    const std::vector<std::string> lines = StatisticsReportLines(deals);
    ASSERT_EQ(lines.size(), 90u);
    EXPECT_EQ(lines[0], "Всего раздач: 0");
    EXPECT_EQ(lines[kSumRow], Dots("·······(0)·0.00····(0)·0.00····(0)·0.00····(0)·0.00"));
    ExpectAlignedColumns(lines, 2);
}

}  // namespace

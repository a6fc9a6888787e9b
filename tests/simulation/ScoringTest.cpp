// Duplicate scores checked by hand against the Laws' scoring table, the IMP
// scale at its edges, and the contracts and variants as players write them.
#include <gtest/gtest.h>

#include "simulation/Contract.h"
#include "simulation/Scoring.h"
#include "simulation/Variants.h"

namespace {

struct TScoreRow {
    const char* Contract;
    TVulnerability Vulnerability;
    int32_t Tricks;
    int32_t NorthSouth;
};

// Each row worked out by hand: trick score, overtricks, bonuses, undertricks.
constexpr TScoreRow HandChecked[] = {
    {"3NT S", TVulnerability::None, 10, 430},       // 100 + 30 + 300
    {"4♠X E", TVulnerability::Both, 7, 800},        // 200 + 300 + 300 to N-S
    {"7NTXX N", TVulnerability::Both, 13, 2980},    // 880 + 500 + 1500 + 100
    {"1CX S", TVulnerability::None, 8, 240},        // 40 + 50 + 100 + 50
    {"2H N", TVulnerability::None, 8, 110},         // 60 + 50
    {"4S N", TVulnerability::NorthSouth, 11, 650},  // 120 + 30 + 500
    {"5D W", TVulnerability::EastWest, 11, -600},   // 100 + 500 to E-W
    {"6NT S", TVulnerability::None, 12, 990},       // 190 + 300 + 500
    {"7C E", TVulnerability::None, 13, -1440},      // 140 + 300 + 1000
    {"3NT N", TVulnerability::Both, 7, -200},       // two down undoubled
    {"2SX N", TVulnerability::None, 4, -800},       // 100 + 200 + 200 + 300
    {"2SXX N", TVulnerability::None, 7, -200},      // one down redoubled
    {"1NTXX S", TVulnerability::Both, 8, 1160},     // 160 + 500 + 400 + 100
    {"2DX S", TVulnerability::None, 8, 180},        // 80 + 50 + 50: no game
    {"3DX S", TVulnerability::None, 9, 470},        // 120 + 300 + 50
    {"4HX W", TVulnerability::EastWest, 6, 1100},   // 200 + 300 + 300 + 300 to N-S
    {"PASS", TVulnerability::Both, 0, 0},
};

TEST(Scoring, HandCheckedRows) {
    for (const TScoreRow& row : HandChecked) {
        const TContractReading reading = ReadContract(row.Contract);
        ASSERT_TRUE(reading.Contract) << row.Contract << ": " << reading.Error;
        EXPECT_EQ(NorthSouthScore(*reading.Contract, row.Vulnerability, row.Tricks), row.NorthSouth)
            << row.Contract << " taking " << row.Tricks;
    }
}

TEST(Scoring, ImpScaleAndMatchpoints) {
    // The edges of the scale: the last difference of one IMP and the first of the next.
    const std::pair<int32_t, int32_t> edges[] = {
        {0, 0},    {10, 0},    {20, 1},    {40, 1},    {50, 2},    {80, 2},
        {90, 3},   {420, 9},   {430, 10},  {490, 10},  {500, 11},  {740, 12},
        {750, 13}, {1990, 18}, {2000, 19}, {3990, 23}, {4000, 24}, {7600, 24}};
    for (const auto& [difference, imps] : edges) {
        EXPECT_EQ(Imps(difference), imps) << difference;
        EXPECT_EQ(Imps(-difference), -imps) << -difference;
    }
    EXPECT_EQ(Matchpoints(420, 400), 1.0);
    EXPECT_EQ(Matchpoints(-50, -50), 0.5);
    EXPECT_EQ(Matchpoints(-100, 50), 0.0);
}

TEST(Contracts, WrittenAsPlayersWriteThem) {
    const std::pair<const char*, const char*> read[] = {
        {"3NT S", "3NT S"}, {" 4s  n ", "4S N"},  {"4♠ N", "4S N"},
        {"5CX E", "5CX E"}, {"6HXX W", "6HXX W"}, {"4S X N", "4SX N"},
        {"3БК Ю", "3NT S"}, {"pass", "PASS"},     {"ПАС", "PASS"}};
    for (const auto& [text, expected] : read) {
        const TContractReading reading = ReadContract(text);
        ASSERT_TRUE(reading.Contract) << text << ": " << reading.Error;
        EXPECT_EQ(ContractWithDeclarer(*reading.Contract), expected);
    }
    for (const char* refused : {"", "8NT S", "0S N", "3NT", "3NT Q", "4Z N", "4SY N", "4S N E"})
        EXPECT_FALSE(ReadContract(refused).Contract) << refused;
}

// The variants text: what is refused says where, and a text reads back to itself.
TEST(Variants, TextErrorsNameTheRuleAndLine) {
    struct TCase {
        const char* Text;
        int32_t Line;
        int32_t Position;
        const char* Where;
    };
    const TCase cases[] = {
        {"A:\n3NT S\nB:\n4Q N\n", 4, 12, "вариант «B», правило 1"},
        {"3NT S\n", 1, 0, ""},
        {"A:\nHCP(N) > 10 => 3NT S\n", 2, 3, "вариант «A», правило 1"},
        {"A:\n3NT S\n4S N\n", 2, -1, "вариант «A», правило 1"},
        {"A:\n 3NT S\nA:\n4S N\n", 3, -1, "вариант «A»"},
        {"A:\nB:\n4S N\n", 1, -1, "вариант «A»"},
        {"Я:\n => 4S N\n4H N\n", 2, 4, "вариант «Я», правило 1"},
    };
    for (const TCase& c : cases) {
        std::vector<TVariant> variants;
        const TStatus status = ReadVariantsText(c.Text, variants);
        EXPECT_EQ(status.Code(), TStatus::TCode::Usage) << c.Text;
        EXPECT_EQ(status.Line(), c.Line) << c.Text;
        EXPECT_EQ(status.Position(), c.Position) << c.Text << status.Message();
        EXPECT_EQ(status.Where(), c.Where) << c.Text;
        EXPECT_TRUE(variants.empty());
    }
    const std::string text = "Пас:\n2NT N\nСтейман:\n(SuitLength(S,H) >= 4) => 4H N\n3NT N\n";
    std::vector<TVariant> variants;
    ASSERT_TRUE(ReadVariantsText(text, variants).IsOk());
    ASSERT_TRUE(ReadVariantLine("Гейм: 3NT N", variants).IsOk());
    ASSERT_EQ(variants.size(), 3u);
    EXPECT_EQ(variants[1].Rules[0].ConditionStart, 20);
    EXPECT_EQ(VariantsText(variants), text + "Гейм:\n3NT N\n");
}

}  // namespace

// The analysis report and the per-deal line, from tables made by hand.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "reports/AnalysisReport.h"
#include "text/RussianCount.h"

namespace {

// Every declarer of a side takes `ns` (North, South) or 13 - ns tricks in every strain.
TDealAnalysis Flat(int32_t ns) {
    TDealAnalysis analysis;
    analysis.Solved = true;
    for (auto& strain : analysis.Table.Tricks)
        strain = {static_cast<int8_t>(ns), static_cast<int8_t>(13 - ns), static_cast<int8_t>(ns),
                  static_cast<int8_t>(13 - ns)};
    return analysis;
}

}  // namespace

TEST(AnalysisReportTest, CountsTricksPerStrainAndSideAndThePars) {
    TDealAnalysis better = Flat(9);
    better.Table.Tricks[0][2] = 10;  // South makes one more in notrump: the side counts its best
    TDealAnalysis refused;
    refused.Fault = "у Севера на месте 1 нет карты";
    const std::vector<TDealAnalysis> results = {better, Flat(4), refused};
    const std::vector<std::string> lines = AnalysisReportLines(results);

    auto has = [&](const std::string& line) {
        for (const std::string& l : lines)
            if (l == line) return true;
        return false;
    };
    EXPECT_TRUE(has("Проанализировано раздач: 2"));
    EXPECT_TRUE(has("Не проанализировано (раздача повреждена): 1"));
    EXPECT_TRUE(has("Деноминация Линия   0  1  2  3  4  5  6  7  8  9 10 11 12 13  Среднее"));
    EXPECT_TRUE(has("Без козыря  СЮ      0  0  0  0  1  0  0  0  0  0  1  0  0  0     7.00"));
    EXPECT_TRUE(has("            ВЗ      0  0  0  0  1  0  0  0  0  1  0  0  0  0     6.50"));
    EXPECT_TRUE(has("Трефы       СЮ      0  0  0  0  1  0  0  0  0  1  0  0  0  0     6.50"));
    // Board 1 (North deals, none vulnerable): North-South make 3NT with an overtrick;
    // board 2 (East deals, North-South vulnerable): East-West make 3NT.
    EXPECT_TRUE(has("NS 430       1   50.00%")) << lines.back();
    EXPECT_TRUE(has("EW 400       1   50.00%"));

    EXPECT_EQ(AnalysisDealLine(1, better),
              "1 nt 9 4 10 4 s 9 4 9 4 h 9 4 9 4 d 9 4 9 4 c 9 4 9 4 par NS 430 3NT S");
    EXPECT_EQ(AnalysisDealLine(3, refused), "3 refused у Севера на месте 1 нет карты");
}

TEST(AnalysisReportTest, ParScoresNameTheSideThatGains) {
    EXPECT_EQ(ParScoreText(620), "NS 620");
    EXPECT_EQ(ParScoreText(-100), "EW 100");
    EXPECT_EQ(ParScoreText(0), "NS 0");
    EXPECT_EQ(ParContractsText(TParResult{}), "-");
    TParResult par;
    par.Contracts = {{4, 4, "NS", 0, 0}, {5, 2, "EW", 0, 2}};
    EXPECT_EQ(ParContractsText(par), "4S NS, 5DX EW");
}

TEST(AnalysisReport, RussianParNamesTheSideTheContractAndItsDeclarers) {
    const std::tuple<TParResult, bool, const char*> cases[] = {
        {{450, {{4, 4, "S", 0, 0}, {3, 0, "NS", 1, 0}}}, false, "Пар: СЮ +450, 4♠ Ю"},
        {{450, {{4, 4, "S", 0, 0}, {3, 0, "NS", 1, 0}}}, true, "Пар: СЮ +450, 4♠ Ю; 3БК СЮ"},
        {{300, {{5, 2, "EW", 0, 2}}}, true, "Пар: СЮ +300, 5♦ с контрой ВЗ"},
        {{-620, {{4, 3, "W", 0, 0}}}, false, "Пар: ВЗ +620, 4♥ З"},
        {{0, {}}, true, "Пар: 0"},
    };
    for (const auto& [par, all, text] : cases) EXPECT_EQ(RussianParText(par, all), text);
}

TEST(AnalysisReport, CountsTakeTheRussianFormOfTheirNumber) {
    const std::pair<int64_t, const char*> cases[] = {
        {1, "1 раздача"},      {2, "2 раздачи"},  {4, "4 раздачи"},    {5, "5 раздач"},
        {11, "11 раздач"},     {12, "12 раздач"}, {14, "14 раздач"},   {21, "21 раздача"},
        {22, "22 раздачи"},    {25, "25 раздач"}, {111, "111 раздач"}, {101, "101 раздача"},
        {1000, "1000 раздач"}, {0, "0 раздач"}};
    for (const auto& [count, text] : cases)
        EXPECT_EQ(RussianCount(count, "раздача", "раздачи", "раздач"), text);
}

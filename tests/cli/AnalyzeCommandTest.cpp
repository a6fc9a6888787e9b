// `korvana-cli analyze` and `generate --analyze`: one line per deal, the report
// the window shows, damaged deals refused by name, and PBN tables that a reader
// of its own (not Korvana's PBN reader) reads back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "cli/CliRunner.h"
#include "deals/DealCollection.h"
#include "reports/AnalysisReport.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class CliAnalyze : public ::testing::Test {
protected:
    TCliRun Run(const std::vector<std::string>& args) { return RunCli(folder, args); }

    TTempFolder temp;
    const fs::path folder = temp.Path();
};

const std::regex DealLine(
    R"((\d+) nt( \d+){4} s( \d+){4} h( \d+){4} d( \d+){4} c( \d+){4} par (NS|EW) \d+ .+)");

// The tables of a PBN file, read by the tags alone: board -> "N NT 9" lines,
// and board -> OptimumScore and ParContract.
struct TPbnTables {
    std::map<int, std::vector<std::string>> Rows;
    std::map<int, std::string> Scores, Contracts;
};

TPbnTables ReadTables(const std::string& text) {
    TPbnTables tables;
    std::istringstream in(text);
    std::string line;
    int board = 0;
    bool inTable = false;
    const std::regex tag(R"re(^\[(\w+) "(.*)"\]\r?$)re");
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::smatch match;
        if (std::regex_match(line, match, tag)) {
            inTable = match[1] == "OptimumResultTable";
            if (match[1] == "Board") board = std::stoi(match[2]);
            if (match[1] == "OptimumScore") tables.Scores[board] = match[2];
            if (match[1] == "ParContract") tables.Contracts[board] = match[2];
        } else if (inTable && !line.empty()) {
            // Each row is padded to the widths its header declares ("\2R").
            EXPECT_TRUE(std::regex_match(line, std::regex("[NESW] (NT| [SHDC]) ( \\d|1\\d)")))
                << line;
            std::istringstream words(line);
            std::string seat, strain, tricks;
            words >> seat >> strain >> tricks;
            tables.Rows[board].push_back(seat + " " + strain + " " + tricks);
        } else {
            inTable = false;
        }
    }
    return tables;
}

}  // namespace

TEST_F(CliAnalyze, PrintsALinePerDealAndTheReportOfTheWindow) {
    const std::string file = (folder / "five.dls").string();
    ASSERT_EQ(Run({"generate", "--key", "1", "--count", "5", "--out", file, "--quiet"}).ExitCode,
              0);
    TCliRun run = Run({"analyze", file, "--threads", "2"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    std::vector<std::string> lines = run.OutLines();
    ASSERT_GT(lines.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(std::regex_match(lines[i], DealLine)) << lines[i];
    EXPECT_EQ(lines[0], "1 nt 4 8 4 8 s 8 4 8 4 h 4 9 4 9 d 4 9 4 9 c 7 6 7 6 par EW 100 3SX NS");
    EXPECT_EQ(lines[5], "");

    // The same deals analysed here give the same report text.
    TDeals deals;
    deals.LoadFromFile(file);
    std::vector<const TDeal*> pointers;
    for (int32_t i = 0; i < deals.Count(); ++i) pointers.push_back(deals.GetDeal(i));
    std::vector<TDealAnalysis> results;
    ASSERT_TRUE(AnalyseDeals(pointers, results));
    std::vector<std::string> report = AnalysisReportLines(results);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.end()), report);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(lines[i], AnalysisDealLine(static_cast<int64_t>(i) + 1, results[i]));
}

TEST_F(CliAnalyze, ADamagedDealIsRefusedByNumberAndTheOthersAreAnalysed) {
    const std::string file = (folder / "damaged.dls").string();
    ASSERT_EQ(Run({"generate", "--key", "3", "--count", "2", "--out", file, "--quiet"}).ExitCode,
              0);
    std::string text = ReadWholeFile(file);
    // The second deal line loses North's first card.
    std::size_t second = text.find("\r\n", text.find("\r\n") + 2) + 2;
    text.replace(second, 2, "0 ");
    std::ofstream(file, std::ios::binary) << text;

    TCliRun run = Run({"analyze", file});
    EXPECT_EQ(run.ExitCode, 4);
    std::vector<std::string> lines = run.OutLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(lines[0], DealLine)) << lines[0];
    EXPECT_EQ(lines[1].rfind("2 refused ", 0), 0u) << lines[1];
    EXPECT_NE(run.Err.find("раздача 2 не проанализирована: "), std::string::npos) << run.Err;
    EXPECT_NE(run.Out.find("Проанализировано раздач: 1"), std::string::npos);
    EXPECT_NE(run.Out.find("Не проанализировано (раздача повреждена): 1"), std::string::npos);
}

TEST_F(CliAnalyze, GenerateKeepsDealsByTricksAndWritesTheirTablesIntoPbn) {
    const std::string file = (folder / "tricks.pbn").string();
    TCliRun generated = Run({"generate", "--key", "7", "--count", "3", "--condition",
                             "(Tricks(N, SP) >= 8) AND (HCP(N) >= 11)", "--out", file, "--analyze",
                             "--quiet", "--format", "lines", "--dealer", "S", "--vul", "ew"});
    ASSERT_EQ(generated.ExitCode, 0) << generated.Err;
    // Every board is seated as asked, and its par below is counted so, as analyze counts it.
    const std::string pbn = ReadWholeFile(file);
    const std::regex seated(R"re(\[Dealer "S"\]\r\n\[Vulnerable "EW"\])re");
    EXPECT_EQ(std::distance(std::sregex_iterator(pbn.begin(), pbn.end(), seated), {}), 3);
    TPbnTables tables = ReadTables(ReadWholeFile(file));
    ASSERT_EQ(tables.Rows.size(), 3u);

    TCliRun analysed = Run({"analyze", file});
    ASSERT_EQ(analysed.ExitCode, 0) << analysed.Err;
    std::vector<std::string> lines = analysed.OutLines();
    const char* const strains[] = {"NT", "S", "H", "D", "C"};
    for (int board = 1; board <= 3; ++board) {
        // The table tag holds a row per declarer and strain, North first.
        const std::vector<std::string>& rows = tables.Rows[board];
        ASSERT_EQ(rows.size(), 20u) << board;
        std::istringstream line(lines[static_cast<std::size_t>(board - 1)]);
        std::string word;
        line >> word;
        ASSERT_EQ(word, std::to_string(board));
        std::map<std::string, std::string> printed;  // "N S" -> tricks
        for (const char* strain : strains) {
            line >> word;
            for (const char* seat : {"N", "E", "S", "W"}) {
                line >> word;
                printed[std::string(seat) + " " + strain] = word;
            }
        }
        for (const std::string& row : rows) {
            std::size_t last = row.rfind(' ');
            EXPECT_EQ(printed[row.substr(0, last)], row.substr(last + 1)) << row;
        }
        // The condition held for every kept deal.
        EXPECT_GE(std::stoi(printed["N S"]), 8) << board;
        std::string par;
        std::getline(line, par);
        // OptimumScore is North-South's, signed; the line names the side that gains.
        const std::string& score = tables.Scores[board];
        ASSERT_EQ(score.rfind("NS ", 0), 0u) << score;
        const int forNorthSouth = std::stoi(score.substr(3));
        const std::string gain =
            (forNorthSouth < 0 ? "EW " : "NS ") + std::to_string(std::abs(forNorthSouth));
        EXPECT_EQ(" par " + gain, par.substr(0, 5 + gain.size()));
        EXPECT_FALSE(tables.Contracts[board].empty());
    }
}

TEST_F(CliAnalyze, AnalyzeWantsOneFileAndGenerateAnalyzesOnlyIntoPbn) {
    EXPECT_EQ(Run({"analyze"}).ExitCode, 2);
    EXPECT_EQ(Run({"analyze", "a.dls", "b.dls"}).ExitCode, 2);
    EXPECT_EQ(Run({"analyze", "a.dls", "--threads", "0"}).ExitCode, 2);
    EXPECT_EQ(Run({"analyze", (folder / "missing.dls").string()}).ExitCode, 4);
    EXPECT_EQ(Run({"generate", "--count", "1", "--analyze", "--out", (folder / "x.dls").string()})
                  .ExitCode,
              2);
}

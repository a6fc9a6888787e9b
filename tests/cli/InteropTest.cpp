// korvana-cli with other programs' files and with pipes: a hand-written PBN
// file keeps its tags through PBN and LIN, its par follows each board's own
// dealer and vulnerability, a damaged board is refused by its number, and
// deals and files go through standard input and output.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "cli/CliRunner.h"
#include "reports/AnalysisReport.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const std::string ClubNight = std::string(KORVANA_SAMPLES_DIR) + "/club-night.pbn";

// The boards of the sample as its tags give them, the rotation where they do not.
struct TSampleBoard {
    int Number;
    int32_t Dealer;  // 1 North .. 4 West
    const char* Vulnerability;
    const char* LinDealerAndVulnerability;  // LIN's dealer digit and "sv" letter
};
constexpr TSampleBoard SampleBoards[] = {{7, 2, "All", "4b"},
                                         {18, 4, "EW", "2e"},
                                         {3, 3, "EW", "1e"},
                                         {20, 1, "None", "3o"},
                                         {5, 1, "NS", "3n"}};

class CliInterop : public ::testing::Test {
protected:
    TCliRun Run(const std::vector<std::string>& args) { return RunCli(folder, args); }
    std::string In(const std::string& name) { return (folder / name).string(); }
    TCliRun RunWithStdin(const std::vector<std::string>& args, const std::string& input) {
        TCliRunOptions options;
        options.Stdin = ClubNight;
        if (!input.empty()) options.Stdin = input;
        return RunCliWith(folder, args, options);
    }

    TTempFolder temp;
    const fs::path folder = temp.Path();
};

// The lines of the PBN text that say who sits where and what was dealt.
std::vector<std::string> BoardLines(const std::string& pbn) {
    std::vector<std::string> lines;
    const std::regex kept(R"re(^\[(Board|Dealer|Vulnerable|West|North|East|South|Deal) .*)re");
    std::istringstream in(pbn);
    for (std::string line; std::getline(in, line);)
        if (std::regex_match(line, kept)) lines.push_back(line);
    return lines;
}

TEST_F(CliInterop, TagsSurvivePbnAndLinAndPbnAgain) {
    ASSERT_EQ(Run({"convert", ClubNight, In("a.pbn")}).ExitCode, 0);
    ASSERT_EQ(Run({"convert", In("a.pbn"), In("b.pbn")}).ExitCode, 0);
    const std::string pbn = ReadWholeFile(In("a.pbn"));
    EXPECT_EQ(ReadWholeFile(In("b.pbn")), pbn);
    for (const char* kept :
         {"[Event \"Club night\"]\r\n[Site \"\"]\r\n[Date \"2026.11.20\"]\r\n[Board \"7\"]\r\n"
          "[West \"Anna\"]\r\n[North \"Boris\"]\r\n[East \"Vera\"]\r\n[South \"Gleb\"]\r\n"
          "[Dealer \"E\"]\r\n[Vulnerable \"All\"]\r\n",
          "[Declarer \"S\"]\r\n[Contract \"4S\"]\r\n[Result \"11\"]\r\n"
          "[Auction \"E\"]\r\nPass 4S Pass Pass\r\nPass\r\n[Play \"W\"]\r\nHQ H2 H5 HA\r\n",
          "[Board \"18\"]", "[Dealer \"W\"]\r\n[Vulnerable \"EW\"]", "[OptimumScore \"NS -650\"]",
          "[Board \"20\"]", "[Dealer \"N\"]\r\n[Vulnerable \"None\"]", "[Board \"3\"]",
          "[Board \"5\"]"})
        EXPECT_NE(pbn.find(kept), std::string::npos) << kept;
    EXPECT_EQ(pbn.find("[Generator"), std::string::npos) << "no key value was told";

    ASSERT_EQ(Run({"convert", ClubNight, In("c.lin")}).ExitCode, 0);
    const std::vector<std::string> lin = TCliRun::SplitAtNewlines(ReadWholeFile(In("c.lin")));
    ASSERT_EQ(lin.size(), std::size(SampleBoards));
    for (std::size_t i = 0; i < lin.size(); ++i) {
        const TSampleBoard& board = SampleBoards[i];
        const std::string number = std::to_string(board.Number);
        EXPECT_EQ(lin[i].rfind("qx|o" + number + "|", 0), 0u) << lin[i];
        EXPECT_NE(lin[i].find(std::string("md|") + board.LinDealerAndVulnerability[0]),
                  std::string::npos)
            << lin[i];
        EXPECT_NE(lin[i].find("|ah|Board " + number + "|sv|" + board.LinDealerAndVulnerability[1]),
                  std::string::npos)
            << lin[i];
    }
    EXPECT_NE(lin[0].find("|pn|Gleb,Anna,Boris,Vera|"), std::string::npos) << lin[0];
    ASSERT_EQ(Run({"convert", In("c.lin"), In("d.pbn")}).ExitCode, 0);
    EXPECT_EQ(BoardLines(ReadWholeFile(In("d.pbn"))), BoardLines(pbn));
}

// Each line's par is the solver's par for the board's own dealer and
// vulnerability, which for board 18 is not that of the rotation's.
TEST_F(CliInterop, ParFollowsEachBoardsOwnDealerAndVulnerability) {
    const TCliRun run = Run({"analyze", ClubNight});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::vector<std::string> lines = run.OutLines();
    ASSERT_GT(lines.size(), std::size(SampleBoards));
    for (std::size_t i = 0; i < std::size(SampleBoards); ++i) {
        const TSampleBoard& board = SampleBoards[i];
        std::istringstream words(lines[i]);
        int number = 0;
        words >> number;
        EXPECT_EQ(number, board.Number);
        TDealAnalysis analysis;
        analysis.Solved = true;
        std::string strainName;
        for (int32_t strain : {0, 4, 3, 2, 1}) {
            words >> strainName;
            for (int32_t seat = 1; seat <= 4; ++seat) {
                int tricks = 0;
                words >> tricks;
                analysis.Table.Tricks[strain][seat - 1] = static_cast<int8_t>(tricks);
            }
        }
        AddPar(analysis, board.Dealer, board.Vulnerability);
        ASSERT_TRUE(analysis.Par) << lines[i];
        EXPECT_EQ(lines[i], AnalysisDealLine(board.Number, analysis));
        if (board.Number == 18) {
            TDealAnalysis rotation = analysis;
            AddPar(rotation, 2, "NS");
            EXPECT_NE(rotation.Par->Score, analysis.Par->Score);
        }
    }
}

// A game whose deal is not whole stops every command that reads the file,
// named by its board; the other games are not passed on as the whole file.
TEST_F(CliInterop, ADamagedBoardIsRefusedByItsNumber) {
    std::string text = ReadWholeFile(ClubNight);
    const std::size_t at = text.find("Q.963.QJ9653.KQ9");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 5, "Q.96");  // East of board 18 holds twelve cards
    std::ofstream(In("damaged.pbn"), std::ios::binary) << text;
    const std::vector<std::vector<std::string>> commands = {
        {"stats"}, {"listing"}, {"analyze"}, {"convert", "", In("out.pbn")}};
    for (std::vector<std::string> args : commands) {
        if (args.size() > 1)
            args[1] = In("damaged.pbn");
        else
            args.push_back(In("damaged.pbn"));
        const TCliRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 4) << args[0];
        EXPECT_EQ(run.Out, "") << args[0];
        EXPECT_NE(run.Err.find("повреждена раздача сдачи 18"), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(fs::exists(In("out.pbn")));
}

// "-" and /dev/stdin read standard input as a file is read; "--out -" and
// /dev/stdout carry the file alone.
TEST_F(CliInterop, PipesCarryDealsInAndFilesOut) {
    const TCliRun fromFile = Run({"listing", ClubNight});
    for (const char* name : {"-", "/dev/stdin"}) {
        const TCliRun piped = RunWithStdin({"listing", name}, "");
        EXPECT_EQ(piped.ExitCode, 0) << piped.Err;
        EXPECT_EQ(piped.Out, fromFile.Out) << name;
    }
    const TCliRun toFile =
        Run({"generate", "--key", "5", "--count", "3", "--out", In("g.pbn"), "--quiet"});
    const TCliRun piped =
        Run({"generate", "--key", "5", "--count", "3", "--out", "-", "--out-format", "pbn"});
    EXPECT_EQ(piped.ExitCode, 0) << piped.Err;
    EXPECT_EQ(piped.Out, ReadWholeFile(In("g.pbn")));
    const TCliRun device = Run({"convert", In("g.pbn"), "/dev/stdout", "--out-format", "lin"});
    EXPECT_EQ(device.ExitCode, 0) << device.Err;
    EXPECT_EQ(TCliRun::SplitAtNewlines(device.Out).size(), 3u);
    std::ofstream(In("c.cnd"), std::ios::binary)
        << "This is Conditions File of Tavex's Bridge Generator\r\nHCP(N) > 20\r\n";
    const TCliRun condition = RunWithStdin({"check", "--condition-file", "-"}, In("c.cnd"));
    EXPECT_EQ(condition.ExitCode, 0) << condition.Err;
    EXPECT_EQ(condition.Out, "ok\n");
}

// A reader that leaves stops analyze at its next line and generate within a
// second, each with the system's reason.
TEST_F(CliInterop, AReaderThatLeavesStopsTheRun) {
    TCliRunOptions gone;
    gone.ReaderGone = true;
    const TCliRun analyze = RunCliWith(folder, {"analyze", ClubNight, "--threads", "1"}, gone);
    EXPECT_EQ(analyze.ExitCode, 1);
    EXPECT_NE(analyze.Err.find("читатель закрыл канал"), std::string::npos) << analyze.Err;

    const auto start = std::chrono::steady_clock::now();
    const TCliRun generate = RunCliWith(
        folder, {"generate", "--key", "1", "--count", "5", "--condition", "HCP(N) >= 37"}, gone);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(generate.ExitCode, 1);
    EXPECT_NE(generate.Err.find("читатель закрыл канал"), std::string::npos) << generate.Err;
}

}  // namespace

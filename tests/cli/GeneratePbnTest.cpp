// `korvana-cli generate --out FILE.pbn`: the kept deals in PBN, naming the key
// that repeats the run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class CliGeneratePbn : public ::testing::Test {
protected:
    TCliRun Run(const std::vector<std::string>& args) { return RunCli(folder, args); }

    // The deal lines of a PBN file, read back.
    static std::vector<std::string> DealLinesOf(const std::string& text) {
        std::istringstream in(text);
        TDeals deals;
        ReadPbn(in, deals);
        std::vector<std::string> lines;
        for (int32_t i = 0; i < deals.Count(); ++i) lines.push_back(deals.GetDeal(i)->ToText());
        return lines;
    }

    TTempFolder temp;
    const fs::path folder = temp.Path();
};

TEST_F(CliGeneratePbn, WritesTheKeptDealsAsPbnByTheExtension) {
    for (std::string name : {"kept.pbn", "KEPT.PBN"}) {
        std::string file = (folder / name).string();
        TCliRun run = Run({"generate", "--key", "1", "--count", "5", "--format", "lines", "--out",
                           file, "--condition", "HCP(N) >= 10"});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        std::string text = ReadWholeFile(file);
        EXPECT_EQ(text.rfind("% PBN 2.1\r\n", 0), 0u) << name;
        EXPECT_NE(text.find("[Generator \"Korvana, key value 1\"]\r\n"), std::string::npos);
        // The first deal of key 1 has 10 points in North, so it is kept as board 1.
        EXPECT_NE(text.find("[Board \"1\"]\r\n"), std::string::npos);
        EXPECT_NE(text.find("[Deal \"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 "
                            "A8.KQT973.964.A3\"]\r\n"),
                  std::string::npos);
        EXPECT_EQ(DealLinesOf(text), run.OutLines());
    }
}

TEST_F(CliGeneratePbn, AClockSeededRunNamesTheSeedThatRepeatsIt) {
    std::string file = (folder / "clock.pbn").string();
    TCliRun run =
        Run({"generate", "--key", "0", "--count", "2", "--format", "lines", "--out", file});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    ASSERT_FALSE(run.ErrLines().empty());
    const std::string first = run.ErrLines().front();  // "seed N"
    std::string seed = first.substr(first.rfind(' ') + 1);
    std::string text = ReadWholeFile(file);
    EXPECT_NE(text.find("[Generator \"Korvana, key value " + seed + "\"]"), std::string::npos)
        << text;

    std::string again = (folder / "again.pbn").string();
    TCliRun repeated =
        Run({"generate", "--key", seed, "--count", "2", "--format", "lines", "--out", again});
    ASSERT_EQ(repeated.ExitCode, 0) << repeated.Err;
    EXPECT_EQ(ReadWholeFile(again), text);
}

TEST_F(CliGeneratePbn, NoKeptDealGivesTheHeaderAloneAndAMissingFolderFails) {
    std::string file = (folder / "none.pbn").string();
    TCliRun none = Run({"generate", "--key", "3", "--out", file, "--condition", "Range(N, 20, 10)",
                        "--max-dealt", "10"});
    EXPECT_EQ(none.ExitCode, 0) << none.Err;
    EXPECT_EQ(ReadWholeFile(file), "% PBN 2.1\r\n% EXPORT\r\n");

    TCliRun missing =
        Run({"generate", "--key", "3", "--out", (folder / "missing" / "x.pbn").string()});
    EXPECT_EQ(missing.ExitCode, 4);
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

}  // namespace

// korvana-cli between file kinds: every command that reads deals reads deals
// and PBN files alike, by their content; convert writes deals, PBN and LIN
// files; PBN written by peer generators is read card for card.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "CliRunner.h"

namespace {

namespace fs = std::filesystem;

// The Deal tags' hands, each tag turned to start from North: "N:h h h h".
std::vector<std::string> DealTags(const std::string& pbn) {
    std::vector<std::string> tags;
    const std::regex tag(R"re(\[Deal "([NESW]):(\S+) (\S+) (\S+) (\S+)"\])re");
    for (std::sregex_iterator it(pbn.begin(), pbn.end(), tag), end; it != end; ++it) {
        const auto first = std::string("NESW").find((*it)[1].str()[0]);
        std::string fromNorth = "N:";
        for (std::size_t k = 0; k < 4; ++k)
            fromNorth += (k > 0 ? " " : "") + (*it)[static_cast<int>(2 + (4 - first + k) % 4)].str();
        tags.push_back(fromNorth);
    }
    return tags;
}

class CliConvert : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("korvana-convert-test-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    TCliRun Run(const std::vector<std::string>& args) { return RunCli(folder, args); }
    std::string In(const std::string& name) { return (folder / name).string(); }

    // Ten deals of key 3 in a deals file.
    std::string TenDeals() {
        const std::string file = In("ten.dls");
        EXPECT_EQ(Run({"generate", "--key", "3", "--count", "10", "--out", file}).ExitCode, 0);
        return file;
    }

    fs::path folder;
};

TEST_F(CliConvert, DealsSurviveEveryKindAndBack) {
    const std::string dls = TenDeals();
    ASSERT_EQ(Run({"convert", dls, In("a.pbn")}).ExitCode, 0);
    ASSERT_EQ(Run({"convert", In("a.pbn"), In("b.dls")}).ExitCode, 0);
    EXPECT_EQ(ReadWholeFile(In("b.dls")), ReadWholeFile(dls));
    EXPECT_EQ(DealTags(ReadWholeFile(In("a.pbn"))).size(), 10u);

    ASSERT_EQ(Run({"convert", dls, In("c.lin")}).ExitCode, 0);
    const auto lin = TCliRun::SplitAtNewlines(ReadWholeFile(In("c.lin")));
    ASSERT_EQ(lin.size(), 10u);
    EXPECT_EQ(lin[0].rfind("qx|o1|md|3S", 0), 0u) << lin[0];
    EXPECT_NE(lin[9].find("|ah|Board 10|sv|b|pg||"), std::string::npos) << lin[9];
}

// A PBN file under a deals file's name, or under any name, is still PBN.
TEST_F(CliConvert, ReportsReadPbnByItsContent) {
    const std::string dls = TenDeals();
    ASSERT_EQ(Run({"convert", dls, In("pbn-inside.pbn")}).ExitCode, 0);
    fs::rename(In("pbn-inside.pbn"), In("pbn-inside.dls"));
    const TCliRun fromDeals = Run({"stats", dls});
    const TCliRun fromPbn = Run({"stats", In("pbn-inside.dls")});
    ASSERT_EQ(fromDeals.ExitCode, 0);
    ASSERT_EQ(fromPbn.ExitCode, 0) << fromPbn.Err;
    EXPECT_EQ(fromPbn.Out, fromDeals.Out);
    EXPECT_EQ(Run({"listing", In("pbn-inside.dls"), "--columns", "3"}).Out,
              Run({"listing", dls, "--columns", "3"}).Out);
}

TEST_F(CliConvert, AFileOfNeitherKindIsRefused) {
    std::ofstream(In("notes.txt")) << "North opens 1NT\n";
    for (const char* command : {"stats", "listing"}) {
        const TCliRun run = Run({command, In("notes.txt")});
        EXPECT_EQ(run.ExitCode, 4) << command;
        EXPECT_NE(run.Err.find("не содержит раздачи"), std::string::npos) << run.Err;
    }
    EXPECT_EQ(Run({"convert", In("notes.txt"), In("out.pbn")}).ExitCode, 4);
    EXPECT_FALSE(fs::exists(In("out.pbn")));
    EXPECT_EQ(Run({"convert", In("notes.txt")}).ExitCode, 2);
}

TEST_F(CliConvert, PeerGeneratorsPbnIsReadCardForCard) {
    for (const char* sample : {"dealer-printpbn.pbn", "deal-format-pbn.pbn"}) {
        SCOPED_TRACE(sample);
        const std::string file = std::string(KORVANA_SAMPLES_DIR) + "/" + sample;
        const std::vector<std::string> expected = DealTags(ReadWholeFile(file));
        ASSERT_EQ(expected.size(), 4u);
        const TCliRun stats = Run({"stats", file});
        EXPECT_EQ(stats.ExitCode, 0) << stats.Err;
        ASSERT_EQ(Run({"convert", file, In("copy.pbn")}).ExitCode, 0);
        EXPECT_EQ(DealTags(ReadWholeFile(In("copy.pbn"))), expected);
    }
}

TEST_F(CliConvert, VersionAndEachCommandsHelp) {
    const TCliRun version = Run({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_TRUE(std::regex_match(version.Out, std::regex("korvana-cli [0-9]+\\.[0-9]+\n")))
        << version.Out;
    for (const char* command : {"generate", "check", "stats", "listing", "convert"}) {
        const TCliRun help = Run({command, "--help"});
        EXPECT_EQ(help.ExitCode, 0) << command;
        EXPECT_EQ(help.Out.rfind(std::string("usage: korvana-cli ") + command + " ", 0), 0u)
            << help.Out;
        EXPECT_NE(help.Out.find("exit codes:"), std::string::npos);
    }
}

}  // namespace

// `korvana-cli generate` without a key: secure dealing, named by its secret.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <set>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// The 64 hexadecimal digits of "secret HEX", the first line of stderr.
std::string SecretOf(const TCliRun& run) {
    const std::string first = run.Err.substr(0, run.Err.find('\n'));
    EXPECT_EQ(first.size(), 71u) << first;
    EXPECT_EQ(first.find_first_not_of("0123456789abcdef", 7), std::string::npos) << first;
    EXPECT_EQ(first.rfind("secret ", 0), 0u) << first;
    return first.substr(std::min<std::size_t>(7, first.size()));
}

// The secret repeats the run's deals and its kept(dealt) line on any number
// of threads, with fixed cards and --quiet too.
TEST(CliSecure, TheSecretRepeatsTheRunOnAnyThreadCount) {
    const TTempFolder temp;
    const std::vector<std::string> args = {
        "generate",    "--format",
        "lines",       "--count",
        "200",         "--quiet",
        "--fixed",     "N:AKQJ.AK..",
        "--condition", "(HCP(S) >= 12) AND (SuitLength(S, Hearts) >= 4)"};
    const TCliRun first = RunCli(temp.Path(), args);
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    ASSERT_EQ(first.ErrLines().size(), 3u) << first.Err;  // secret, commitment, kept(dealt)
    for (const std::string threads : {"1", "2", "3"}) {
        std::vector<std::string> again = args;
        again.insert(again.end(), {"--secret", SecretOf(first), "--threads", threads});
        const TCliRun repeated = RunCli(temp.Path(), again);
        EXPECT_EQ(repeated.Out, first.Out) << threads;
        EXPECT_EQ(repeated.Err, first.Err) << threads;
    }
}

// A hundred pairs of runs, each pair started at the same moment, give two
// hundred different deals and secrets: no clock seeds them.
TEST(CliSecure, RunsStartedTogetherDealDifferently) {
    const TTempFolder temp;
    const fs::path folders[2] = {temp.Path() / "first", temp.Path() / "second"};
    for (const fs::path& own : folders) fs::create_directory(own);  // each run's own output
    std::set<std::string> deals, secrets;
    for (int pair = 0; pair < 100; ++pair) {
        auto start = [](const fs::path& own) {
            return std::async(std::launch::async, [&own] {
                return RunCli(own, {"generate", "--count", "1", "--format", "lines"});
            });
        };
        auto first = start(folders[0]), second = start(folders[1]);
        for (const TCliRun& run : {first.get(), second.get()}) {
            deals.insert(run.Out);
            secrets.insert(SecretOf(run));
        }
    }
    EXPECT_EQ(deals.size(), 200u);
    EXPECT_EQ(secrets.size(), 200u);
}

// A secure set's PBN file says only "secure" in every Generator tag; neither
// it nor the LIN file holds the secret or a key.
TEST(CliSecure, FilesOfASecureSetHoldNoKeyAndNoSecret) {
    const TTempFolder temp;
    for (const std::string name : {"set.pbn", "set.lin"}) {
        const std::string file = (temp.Path() / name).string();
        const TCliRun run = RunCli(temp.Path(), {"generate", "--count", "3", "--out", file});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const std::string text = ReadWholeFile(file);
        EXPECT_EQ(text.find(SecretOf(run).substr(0, 8)), std::string::npos) << text;
        EXPECT_EQ(text.find("key value"), std::string::npos) << text;
        const std::string tag = "[Generator \"Korvana, secure\"]";
        std::size_t tags = 0;
        for (std::size_t at = 0; (at = text.find("[Generator ", at)) != std::string::npos; ++at)
            tags += text.compare(at, tag.size(), tag) == 0 ? 1 : 100;
        EXPECT_EQ(tags, name == "set.pbn" ? 3u : 0u) << text;
    }
}

}  // namespace

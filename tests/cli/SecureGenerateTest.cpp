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

class CliSecure : public ::testing::Test {
protected:
    TCliRun Run(const std::vector<std::string>& args) { return RunCli(folder, args); }

    // The 64 hexadecimal digits of "secret HEX", the first line of stderr.
    static std::string SecretOf(const TCliRun& run) {
        const std::string first = run.Err.substr(0, run.Err.find('\n'));
        EXPECT_EQ(first.size(), 71u) << first;
        EXPECT_EQ(first.find_first_not_of("0123456789abcdef", 7), std::string::npos) << first;
        EXPECT_EQ(first.rfind("secret ", 0), 0u) << first;
        return first.substr(std::min<std::size_t>(7, first.size()));
    }

    TTempFolder temp;
    const fs::path folder = temp.Path();
};

// The secret repeats the run's deals and its kept(dealt) line on any number
// of threads, with or without --quiet, and with fixed cards.
TEST_F(CliSecure, TheSecretRepeatsTheRunOnAnyThreadCount) {
    for (const std::vector<std::string>& extra : std::vector<std::vector<std::string>>{
             {"--count", "300", "--condition", "(HCP(N) >= 12) AND (SuitLength(S, Hearts) >= 4)"},
             {"--count", "40", "--fixed", "N:AKQJ.AK.. S:..AK.AK", "--quiet"}}) {
        std::vector<std::string> args = {"generate", "--format", "lines"};
        args.insert(args.end(), extra.begin(), extra.end());
        const TCliRun first = Run(args);
        ASSERT_EQ(first.ExitCode, 0) << first.Err;
        const std::string secret = SecretOf(first);
        ASSERT_EQ(first.ErrLines().size(), 2u) << first.Err;
        for (const std::string threads : {"1", "2", "3"}) {
            std::vector<std::string> again = args;
            again.insert(again.end(), {"--secret", secret, "--threads", threads});
            const TCliRun repeated = Run(again);
            ASSERT_EQ(repeated.ExitCode, 0) << repeated.Err;
            EXPECT_EQ(repeated.Out, first.Out) << threads;
            EXPECT_EQ(repeated.Err, first.Err) << threads;
        }
    }
}

// Runs started together never share a clock-made seed: a hundred pairs, each
// pair started at the same moment, give a hundred and a hundred different
// deals and secrets.
TEST_F(CliSecure, RunsStartedTogetherDealDifferently) {
    std::set<std::string> deals, secrets;
    // Each run catches its output in a folder of its own.
    const fs::path folders[2] = {folder / "first", folder / "second"};
    for (const fs::path& own : folders) fs::create_directory(own);
    for (int pair = 0; pair < 100; ++pair) {
        auto start = [](const fs::path& own) {
            return std::async(std::launch::async, [&own] {
                return RunCli(own, {"generate", "--count", "1", "--format", "lines"});
            });
        };
        auto first = start(folders[0]), second = start(folders[1]);
        for (const TCliRun& run : {first.get(), second.get()}) {
            ASSERT_EQ(run.ExitCode, 0) << run.Err;
            deals.insert(run.Out);
            secrets.insert(SecretOf(run));
        }
    }
    EXPECT_EQ(deals.size(), 200u);
    EXPECT_EQ(secrets.size(), 200u);
}

// A secure set's files name neither a key nor the secret: PBN says only
// "secure", LIN has no place for either.
TEST_F(CliSecure, FilesOfASecureSetHoldNoKeyAndNoSecret) {
    for (const std::string name : {"set.pbn", "set.lin"}) {
        const std::string file = (folder / name).string();
        const TCliRun run = Run({"generate", "--count", "3", "--out", file});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const std::string secret = SecretOf(run);
        const std::string text = ReadWholeFile(file);
        EXPECT_EQ(text.find(secret.substr(0, 8)), std::string::npos) << text;
        EXPECT_EQ(text.find("key value"), std::string::npos) << text;
        if (name == "set.pbn") {
            std::size_t tags = 0;
            for (std::size_t at = 0; (at = text.find("[Generator ", at)) != std::string::npos;
                 ++at) {
                const std::string_view tag = "[Generator \"Korvana, secure\"]\r\n";
                EXPECT_EQ(text.compare(at, tag.size(), tag), 0) << text;
                ++tags;
            }
            EXPECT_EQ(tags, 3u);
        }
    }
}

}  // namespace

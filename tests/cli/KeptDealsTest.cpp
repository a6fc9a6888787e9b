// What a run writes of its kept deals when it is stopped while analysing
// them, keeps none or fewer than asked, or writes over a file of several
// names or into a pipe.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliRunner.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class CliKeptDeals : public ::testing::Test {
protected:
    TCliRun Run(const std::vector<std::string>& args) { return RunCli(folder, args); }
    TCliRun RunStopped(const std::vector<std::string>& args, int signal) {
        TCliRunOptions options;
        options.Interrupt = true;
        options.Signal = signal;
        options.SignalAfter = std::chrono::milliseconds(1000);  // well inside the analysis
        return RunCliWith(folder, args, options);
    }

    TTempFolder temp;
    const fs::path folder = temp.Path();
};

// A stop while the kept deals are analysed writes every kept deal, the
// analysed ones with their tables, says how many were analysed and ends with
// the signal's exit code; `analyze` stops the same way.
TEST_F(CliKeptDeals, AStopDuringTheAnalysisWritesEveryKeptDeal) {
    const std::string file = (folder / "forty.pbn").string();
    for (const int signal : {SIGTERM}) {
        SCOPED_TRACE(signal);
        TCliRun run = RunStopped(
            {"generate", "--key", "3", "--count", "40", "--out", file, "--analyze", "--quiet"},
            signal);
        EXPECT_EQ(run.ExitCode, 128 + signal) << run.Err;
        const std::string pbn = ReadWholeFile(file);
        EXPECT_EQ(Occurrences(pbn, "[Deal \""), 40u);
        const std::size_t tables = Occurrences(pbn, "[OptimumResultTable");
        EXPECT_LT(tables, 40u);
        EXPECT_NE(run.Err.find("проанализировано " + std::to_string(tables) + " из 40"),
                  std::string::npos)
            << run.Err;
    }
    TCliRun analysed = RunStopped({"analyze", file, "--threads", "1"}, SIGINT);
    EXPECT_EQ(analysed.ExitCode, 130) << analysed.Err;
    EXPECT_NE(analysed.Err.find("анализ остановлен: проанализировано "), std::string::npos)
        << analysed.Err;
}

// A run that keeps nothing leaves an existing file as it was and says so; one
// that keeps fewer deals than asked says how many of how many it saved.
TEST_F(CliKeptDeals, ARunThatKeepsNothingLeavesTheOldFile) {
    const std::string file = (folder / "old.dls").string();
    ASSERT_EQ(Run({"generate", "--key", "5", "--count", "3", "--out", file, "--quiet"}).ExitCode,
              0);
    const std::string old = ReadWholeFile(file);
    TCliRun none = Run({"generate", "--key", "5", "--count", "3", "--condition", "HCP(North) >= 30",
                        "--max-dealt", "50", "--out", file, "--quiet"});
    EXPECT_EQ(none.ExitCode, 0) << none.Err;
    EXPECT_EQ(ReadWholeFile(file), old);
    EXPECT_NE(none.Err.find("не отобрано ни одной раздачи: файл " + file + " оставлен как был"),
              std::string::npos)
        << none.Err;

    TCliRun few = Run({"generate", "--key", "5", "--count", "10", "--condition", "HCP(North) >= 15",
                       "--max-dealt", "30", "--out", file, "--quiet"});
    EXPECT_EQ(few.ExitCode, 0) << few.Err;
    const std::size_t kept = Occurrences(ReadWholeFile(file), "\r\n") - 1;  // after the header
    ASSERT_GT(kept, 0u);
    ASSERT_LT(kept, 10u);
    EXPECT_NE(few.Err.find("korvana-cli: сохранен"), std::string::npos) << few.Err;
    EXPECT_NE(few.Err.find(" " + std::to_string(kept) + " раздач"), std::string::npos) << few.Err;
    EXPECT_NE(few.Err.find(" из 10\n"), std::string::npos) << few.Err;
}

// A file of two names is replaced under the one given; the other name keeps
// the old content, and stderr says so.
TEST_F(CliKeptDeals, AFileOfSeveralNamesIsReplacedAndTheOtherNamesAreTold) {
    const fs::path file = folder / "a.dls";
    const fs::path other = folder / "b.dls";
    ASSERT_EQ(Run({"generate", "--key", "1", "--out", file.string(), "--quiet"}).ExitCode, 0);
    const std::string old = ReadWholeFile(file);
    fs::create_hard_link(file, other);
    TCliRun run = Run({"generate", "--key", "2", "--out", file.string(), "--quiet"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(ReadWholeFile(file), old);
    EXPECT_EQ(ReadWholeFile(other), old);
    EXPECT_NE(run.Err.find("жёсткими ссылками, ещё 1"), std::string::npos) << run.Err;
}

// Every command that writes a file writes a pipe where it is, for its reader,
// and leaves it a pipe.
TEST_F(CliKeptDeals, EveryWritingCommandWritesAPipeWhereItIs) {
    const std::string deals = (folder / "in.pbn").string();
    ASSERT_EQ(Run({"generate", "--key", "4", "--count", "2", "--out", deals, "--quiet"}).ExitCode,
              0);
    const std::string pipe = (folder / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> commands = {
        {"generate", "--key", "5", "--out", pipe, "--out-format", "pbn", "--quiet"},
        {"convert", deals, pipe, "--out-format", "lin"},
        {"tabulate", "--from", deals, "--expression", "HCP(N)", "--csv", pipe, "--quiet"},
        {"handout", deals, "--out", pipe}};
    for (const auto& command : commands) {
        SCOPED_TRACE(command[0]);
        std::string read;
        std::thread reader([&] { read = ReadWholeFile(pipe); });
        EXPECT_EQ(Run(command).ExitCode, 0);
        reader.join();
        EXPECT_FALSE(read.empty());
        EXPECT_TRUE(fs::is_fifo(pipe));
    }
}

}  // namespace

// korvana-cli --directed as a user runs it: the condition's frequency on the
// line before the last, with --quiet too; without it, a hint for a rare condition.
#include <gtest/gtest.h>

#include "cli/CliRunner.h"
#include "support/TempFolder.h"

namespace {

TEST(CliDirected, TellsTheFrequencyOrHintsAtDirectedDealing) {
    TTempFolder folder;
    const std::string rare =
        "(SuitLength(N, Spades) >= 7) AND (SuitLength(N, Hearts) >= 5) AND Range(N, 10, 12)";
    auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"generate", "--key", "1", "--condition"});
        return RunCli(folder.Path(), args);
    };
    EXPECT_EQ(run({rare, "--count", "5", "--directed", "--quiet"}).Err,
              "доля условия ≈ 2,9·10⁻⁵\n5(5)\n");
    EXPECT_EQ(run({rare, "--count", "1"}).ErrLines().front(),
              "условию отвечает лишь доля 2,9·10⁻⁵ рук N: с --directed раздачи отбираются быстрее");
    EXPECT_EQ(run({rare, "--count", "1", "--quiet"}).Err.find("--directed"), std::string::npos);
}

}  // namespace

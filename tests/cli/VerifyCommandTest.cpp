// The secret from a file, the delayed text, and `korvana-cli verify`.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/CliRunner.h"
#include "support/TempFolder.h"

namespace {

const std::string Secret = std::string(62, '0') + "2a";
// SHA-256 of the secret's 32 bytes.
const std::string Commitment = "0a28e9ffef0073f9a6a674cf57ee77307f38f0f1bebb087888d9011ed0eeefdf";
constexpr const char* Condition = "HCP(N) >= 12";

class CliVerify : public ::testing::Test {
protected:
    TCliRun Run(const std::vector<std::string>& args, const std::string& stdinFile = {}) {
        TCliRunOptions options;
        if (!stdinFile.empty()) options.Stdin = Path(stdinFile);
        return RunCliWith(temp_.Path(), args, options);
    }
    std::string Path(const std::string& name) const { return (temp_.Path() / name).string(); }
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }
    // Deals six boards by the secret (and text) into `name`.
    std::string Deal(const std::string& name, const std::vector<std::string>& more = {}) {
        std::vector<std::string> args = {"generate", "--count",  "6",           "--secret", Secret,
                                         "--out",    Path(name), "--condition", Condition};
        args.insert(args.end(), more.begin(), more.end());
        const TCliRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        return Path(name);
    }

private:
    TTempFolder temp_;
};

// --secret-file (a file with blanks around the digits, or stdin) deals what
// --secret deals; the commitment line follows the secret line. A delayed
// text changes the deals and the same text repeats them.
TEST_F(CliVerify, SecretFileAndDelayedTextGiveTheirDeals) {
    const std::vector<std::string> base = {"generate", "--count", "5", "--format", "lines"};
    auto run = [&](std::vector<std::string> more, const std::string& in = {}) {
        more.insert(more.begin(), base.begin(), base.end());
        const TCliRun result = Run(more, in);
        EXPECT_EQ(result.ExitCode, 0) << result.Err;
        return result;
    };
    const TCliRun bySecret = run({"--secret", Secret});
    EXPECT_EQ(bySecret.ErrLines().at(1), "commitment " + Commitment);
    Write("secret.txt", "\n  " + Secret + " \r\n");
    EXPECT_EQ(run({"--secret-file", Path("secret.txt")}).Out, bySecret.Out);
    EXPECT_EQ(run({"--secret-file", "-"}, "secret.txt").Out, bySecret.Out);
    const TCliRun delayed = run({"--secret", Secret, "--delayed", "Лото 7"});
    EXPECT_NE(delayed.Out, bySecret.Out);
    EXPECT_EQ(delayed.Err, bySecret.Err);  // the secret and commitment, not the text's key
    EXPECT_EQ(run({"--secret-file", Path("secret.txt"), "--delayed", "Лото 7"}).Out, delayed.Out);

    Write("short.txt", Secret.substr(1));
    Write("two.txt", Secret + "\n" + Secret);
    for (const std::string& bad :
         {Path("short.txt"), Path("two.txt"), Path("none.txt"), Path(".")}) {
        const TCliRun refused = Run({"generate", "--secret-file", bad});
        EXPECT_EQ(refused.ExitCode, 4) << bad;
        EXPECT_NE(refused.Err.find("--secret-file"), std::string::npos) << refused.Err;
    }
}

// The boards of the file as the secret, text, condition and first board deal
// them, by number, or the first board that differs; a commitment of another
// secret is refused before anything is dealt.
TEST_F(CliVerify, AcceptsTheSetAndNamesTheFirstBoardThatDiffers) {
    const std::string set = Deal("set.pbn");
    const std::string delayed = Deal("delayed.pbn", {"--delayed", "Лото 7"});
    const std::string numbered = Deal("numbered.lin", {"--first-board", "11"});
    // Two cards of board 3 change hands.
    std::string text = ReadWholeFile(set);
    const std::size_t deal = text.find("[Deal \"", text.find("[Board \"3\"]")) + 9;
    const std::size_t east = text.find(' ', deal) + 1;
    std::swap(text[deal], text[east]);
    const std::string swapped = Write("swapped.pbn", text);
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = {
        {{set, "--commitment", Commitment}, 0, "верно: 6 сдач"},
        {{delayed, "--delayed", "Лото 7"}, 0, "верно: 6 сдач"},
        {{numbered, "--first-board", "11"}, 0, "верно: 6 сдач"},
        {{swapped}, 6, "сдача 3 не совпадает"},
        {{delayed}, 6, "нужен --delayed"},
        {{set, "--delayed", "Лото 7"}, 6, "сдача 1 не совпадает"},
        {{numbered}, 6, "сдача 11 не совпадает"},
        {{set, "--commitment", std::string(64, 'f')}, 6, "commitment не от этого секрета"},
        {{Path("none.pbn")}, 4, "none.pbn"},
    };
    for (const auto& [more, exit, said] : cases) {
        std::vector<std::string> args = {"verify", "--secret", Secret, "--condition", Condition};
        args.insert(args.end(), more.begin(), more.end());
        const TCliRun run = Run(args);
        EXPECT_EQ(run.ExitCode, exit) << more[0] << run.Err;
        EXPECT_NE((run.Out + run.Err).find(said), std::string::npos) << run.Out << run.Err;
    }
}

}  // namespace

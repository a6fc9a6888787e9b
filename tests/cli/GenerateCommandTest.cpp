// Runs `korvana-cli generate` and `korvana-cli check` as a user would.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliRunner.h"
#include "deals/Deal.h"
#include "deals/DealBatch.h"
#include "deals/RandomSource.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

// The address and thread sanitizers map terabytes of shadow memory: no data
// limit fits them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool UnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool UnderSanitizer = true;
#else
constexpr bool UnderSanitizer = false;
#endif
#else
constexpr bool UnderSanitizer = false;
#endif

void ExpectOutOfMemory(const TCliRun& run) {
    EXPECT_EQ(run.ExitCode, 5) << run.Err.substr(0, 300);
    EXPECT_NE(run.Err.find("korvana-cli: не хватило памяти"), std::string::npos)
        << run.Err.substr(0, 300);
}

const std::string OpeningCondition = "Balanced(North, 15, 17) AND (SuitLength(South, Spades) >= 5)";

class CliGenerate : public ::testing::Test {
protected:
    TCliRun Run(const std::vector<std::string>& args, bool interrupt = false) {
        return RunCli(folder, args, interrupt);
    }

    // A conditions file with the given header and lines, in Windows-1251.
    std::string WriteConditions(const std::string& name, const std::string& header,
                                const std::vector<std::string>& lines1251) {
        std::string path = (folder / name).string();
        std::ofstream out(path, std::ios::binary);
        out << header << "\r\n";
        for (const std::string& line : lines1251) out << line << "\r\n";
        return path;
    }

    TTempFolder temp;
    const fs::path folder = temp.Path();
};

TEST_F(CliGenerate, KeyOneGivesTheFirstDealsOfTheKey) {
    TCliRun run = Run({"generate", "--key", "1", "--count", "3"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    auto lines = run.OutLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "N 7532.A6.Q2.KJ842 E K.842.KJ753.T975 S QJT964.J5.AT8.Q6 W A8.KQT973.964.A3");
    EXPECT_EQ(lines[1].substr(0, 19), "N Q42.AT865.QJ6.T7 ");
    EXPECT_EQ(run.Err, "3(3)\n");

    TCliRun asLines =
        Run({"generate", "--key", "1", "--count", "3", "--format", "lines", "--threads", "2"});
    EXPECT_EQ(asLines.ExitCode, 0) << asLines.Err;
    uint32_t seed = 1;
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i) {
        TDeal deal;
        deal.DealFromSeed(seed);
        expected.push_back(deal.ToText());
    }
    EXPECT_EQ(asLines.OutLines(), expected);
    EXPECT_EQ(asLines.LastErrLine(), "3(3)");
}

// The deals, their order and kept(dealt) depend neither on the thread count
// nor on the way of dealing: one deal at a time, eight at a time, or eight
// side by side with AVX2 (where the processor has it).
TEST_F(CliGenerate, ThreadsAndWaysOfDealingPrintTheSameDeals) {
    struct TCase {
        std::string key, count, condition;
    };
    const std::string deep = std::string(250, '(') + "HCP(N) > 12" + std::string(250, ')');
    const std::string heavy =
        "(HCP(N) >= 12) AND (HCP(S) >= 8) AND (HCP(E) <= 10) AND (SuitLength(N, SP) >= 4) AND "
        "(SuitLength(W, C) <= 5) AND (SuitByLength(E, 1) < 6) AND Balanced(S, , 14)";
    std::vector<std::string> ways = {"one", "portable"};
    if (VectorDealingAvailable()) ways.push_back("vector");
    for (const TCase& c :
         {TCase{"1", "25", OpeningCondition}, TCase{"-123456", "2000", ""},
          TCase{"987654321", "400", "NOT (HCP(N) < 10) AND Suits(S, 1, 4, -1, -1, -1)"},
          TCase{"2147483647", "300", heavy}, TCase{"-2147483648", "60", deep},
          TCase{"77", "50",
                "((Losers(N) + Controls(S) + TopHonours(E, H, 3)) > 9) AND "
                "HasCard(W, SP, 14)"}}) {
        SCOPED_TRACE(c.key);
        std::vector<std::string> common = {"generate", "--key",    c.key,  "--count",
                                           c.count,    "--format", "lines"};
        if (!c.condition.empty()) {
            common.push_back("--condition");
            common.push_back(c.condition);
        }
        auto withThreads = [&](const char* threads, const std::string& way) {
            auto args = common;
            args.insert(args.end(), {"--threads", threads, "--dealing", way});
            return Run(args);
        };
        TCliRun first = withThreads("1", "one");
        EXPECT_EQ(first.ExitCode, 0) << first.Err;
        EXPECT_EQ(first.OutLines().size(), static_cast<size_t>(std::stoi(c.count)));
        for (const char* threads : {"1", "2", "3"}) {
            for (const std::string& way : ways) {
                TCliRun run = withThreads(threads, way);
                EXPECT_EQ(run.ExitCode, 0) << run.Err;
                EXPECT_EQ(run.Out, first.Out) << threads << " threads, " << way;
                EXPECT_EQ(run.LastErrLine(), first.LastErrLine()) << threads << " threads, " << way;
            }
        }
    }
}

TEST_F(CliGenerate, MaxDealtEndsAConditionThatNoDealMeets) {
    TCliRun run = Run(
        {"generate", "--key", "5", "--condition", "Range(North, 20, 10)", "--max-dealt", "5000"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "0(5000)\n");
}

TEST_F(CliGenerate, ClockSeedIsPrintedAndRepeatsTheRun) {
    TCliRun first = Run({"generate", "--key", "0", "--count", "2", "--format", "lines"});
    EXPECT_EQ(first.ExitCode, 0) << first.Err;
    auto err = first.ErrLines();
    ASSERT_EQ(err.size(), 2u);
    const std::string prefix = "seed ";
    ASSERT_EQ(err[0].rfind(prefix, 0), 0u);
    std::string key = err[0].substr(prefix.size());
    if (key == "0") GTEST_SKIP() << "seeded at midnight exactly";
    TCliRun again = Run({"generate", "--key", key, "--count", "2", "--format", "lines"});
    EXPECT_EQ(again.Out, first.Out);
}

TEST_F(CliGenerate, OutWritesTheDealsFile) {
    std::string file = (folder / "kept.dls").string();
    TCliRun run = Run({"generate", "--key", "77", "--count", "4", "--format", "lines", "--out",
                       file, "--condition", "HCP(S) > 12"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    std::string expected = "This is Deals File of Tavex's Bridge Generator\r\n";
    for (const std::string& line : run.OutLines()) expected += line + "\r\n";
    EXPECT_EQ(ReadWholeFile(file), expected);

    // The save command passes over a folder that does not exist in silence; a
    // script must hear of it.
    std::string nowhere = (folder / "missing" / "x.dls").string();
    TCliRun missing = Run({"generate", "--key", "77", "--out", nowhere});
    EXPECT_EQ(missing.ExitCode, 4);
    EXPECT_NE(missing.Err.find("нет такого файла или папки"), std::string::npos) << missing.Err;
    EXPECT_EQ(missing.LastErrLine(), "1(1)");

    // No kept deal leaves an older file as it was.
    TCliRun none = Run({"generate", "--key", "77", "--out", file, "--condition", "Range(N, 20, 10)",
                        "--max-dealt", "10"});
    EXPECT_EQ(none.ExitCode, 0) << none.Err;
    EXPECT_EQ(ReadWholeFile(file), expected);
    EXPECT_NE(none.Err.find("не отобрано ни одной раздачи"), std::string::npos);

    fs::create_directories(folder / "locked");
    fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    if (::geteuid() != 0) {
        TCliRun denied =
            Run({"generate", "--key", "77", "--out", (folder / "locked" / "x.dls").string()});
        EXPECT_EQ(denied.ExitCode, 4);
        EXPECT_NE(denied.Err.find("нет доступа"), std::string::npos) << denied.Err;
        EXPECT_EQ(denied.LastErrLine(), "1(1)");
    }
    fs::permissions(folder / "locked", fs::perms::owner_all);
}

TEST_F(CliGenerate, CtrlCStopsTheRunAndStillWritesTheKeptDeals) {
    TCliRun run = Run(
        {"generate", "--count", "9999999", "--format", "lines", "--condition", "HCP(North) >= 21"},
        true);
    EXPECT_EQ(run.ExitCode, 130) << run.Err;
    std::string last = run.LastErrLine();
    size_t open = last.find('(');
    ASSERT_NE(open, std::string::npos) << last;
    int kept = std::stoi(last.substr(0, open));
    long long dealt = std::stoll(last.substr(open + 1));
    EXPECT_GT(kept, 0);
    EXPECT_GT(dealt, kept);
    EXPECT_EQ(run.OutLines().size(), static_cast<size_t>(kept));
}

TEST_F(CliGenerate, ConditionErrorsRefuseTheRun) {
    TCliRun run = Run({"generate", "--key", "1", "--condition", "HCP(N) >"});
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "ошибка в позиции 7: Пропущено выражение\nHCP(N) >\n       ^\n");

    TCliRun blank = Run({"generate", "--condition", "   "});
    EXPECT_EQ(blank.ExitCode, 3);
    EXPECT_EQ(blank.Out, "");
}

// Fixed cards: every deal gives them to their seats, the same whichever the
// notation and the thread count; a condition is tested on deals dealt that way.
TEST_F(CliGenerate, FixedCardsAreInEveryDeal) {
    const std::vector<std::string> common = {"generate", "--key", "77", "--count", "300"};
    auto run = [&](std::vector<std::string> more) {
        std::vector<std::string> args = common;
        args.insert(args.end(), more.begin(), more.end());
        return Run(args);
    };
    TCliRun labelled = run({"--fixed", "N:AKQJ.AKQ.AKQ.AKQ", "--threads", "1"});
    EXPECT_EQ(labelled.ExitCode, 0) << labelled.Err;
    ASSERT_EQ(labelled.OutLines().size(), 300u);
    for (const std::string& line : labelled.OutLines())
        ASSERT_EQ(line.substr(0, 20), "N AKQJ.AKQ.AKQ.AKQ E") << line;
    EXPECT_EQ(labelled.Err, "300(300)\n");
    TCliRun pbn = run({"--fixed", "N:AKQJ.AKQ.AKQ.AKQ - - -", "--threads", "2"});
    EXPECT_EQ(pbn.ExitCode, 0) << pbn.Err;
    EXPECT_EQ(pbn.Out, labelled.Out);

    // Two seats partly fixed, and a condition on the rest.
    std::vector<std::string> withCondition = {"--fixed", "s:..A2. n:AKQJ.K..", "--condition",
                                              "(Losers(S) <= 6) AND HasCard(E, Clubs, 14)"};
    withCondition.push_back("--threads");
    withCondition.push_back("1");
    TCliRun one = run(withCondition);
    withCondition.back() = "3";
    TCliRun three = run(withCondition);
    EXPECT_EQ(one.ExitCode, 0) << one.Err;
    EXPECT_EQ(one.Out, three.Out);
    EXPECT_EQ(one.LastErrLine(), three.LastErrLine());
    ASSERT_EQ(one.OutLines().size(), 300u);
    for (const std::string& line : one.OutLines()) {
        ASSERT_EQ(line.substr(0, 6), "N AKQJ") << line;
        const std::size_t south = line.find(" S ");
        const std::size_t west = line.find(" W ");
        const std::string southHand = line.substr(south + 3, west - south - 3);
        const std::string diamonds =
            southHand.substr(southHand.find('.', southHand.find('.') + 1) + 1);
        ASSERT_EQ(diamonds[0], 'A') << line;
        ASSERT_EQ(diamonds[diamonds.find('.') - 1], '2') << line;
    }
}

TEST_F(CliGenerate, BadFixedCardsRefuseTheRunNamingTheCardOrSeat) {
    const std::pair<const char*, const char*> cases[] = {
        {"N:AKQJT.AKQ.AKQ.AKQ", "У Севера больше 13 карт (задано 14): «AKQJT.AKQ.AKQ.AKQ»."},
        {"N:A... S:A...", "Карта ♠A задана дважды: у Севера и у Юга."},
        {"E:..Z.", "«Z» — не карта: рука Востока «..Z.»."},
        {"W:AKQJ",
         "Не удаётся прочитать руку Запада «AKQJ»: нужны четыре масти через точку, "
         "пики первыми (AKQJ.K..)."},
        {"Q:A...",
         "Не удаётся прочитать «Q:A...»: перед двоеточием должна стоять позиция N, E, S "
         "или W."},
    };
    for (const auto& [fixed, message] : cases) {
        TCliRun run = Run({"generate", "--key", "1", "--fixed", fixed});
        EXPECT_EQ(run.ExitCode, 3) << fixed;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, std::string("korvana-cli: --fixed: ") + message + "\n");
    }
}

struct TCheckCase {
    std::string condition;
    int exitCode;
    std::string err;  // exact stderr; stdout is "ok\n" exactly when the exit code is 0
};

class CliCheck : public CliGenerate, public ::testing::WithParamInterface<TCheckCase> {};

TEST_P(CliCheck, PrintsOkOrTheErrorWithACaret) {
    const TCheckCase& c = GetParam();
    TCliRun run = Run({"check", "--condition", c.condition});
    EXPECT_EQ(run.ExitCode, c.exitCode);
    EXPECT_EQ(run.Out, c.exitCode == 0 ? "ok\n" : "");
    EXPECT_EQ(run.Err, c.err);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, CliCheck,
    ::testing::Values(
        TCheckCase{OpeningCondition, 0, ""}, TCheckCase{"", 0, ""}, TCheckCase{"TRUE", 0, ""},
        TCheckCase{"HCP(N) >= 12 AND HCP(S) >= 12", 3,
                   "ошибка в позиции 10: Несоответствие типов: требуется \"Логический\"\n"
                   "HCP(N) >= 12 AND HCP(S) >= 12\n          ^\n"},
        TCheckCase{"hcp(n) > пять", 3,
                   "ошибка в позиции 9: Нераспознанный идентификатор: \"ПЯТЬ\"\nhcp(n) > пять\n    "
                   "     ^\n"},
        TCheckCase{
            "SuitLength(N)", 3,
            "ошибка в позиции 12: Пропущен параметр (Macть)\nSuitLength(N)\n            ^\n"},
        TCheckCase{"\tHCP(N) 5", 3,
                   "ошибка в позиции 0: Нераспознанный идентификатор: \"\tHCP\"\n\tHCP(N) 5\n^\n"},
        TCheckCase{"  ", 3, "korvana-cli: условие пустое\n"},
        // The hand evaluators: the same messages at the same places.
        TCheckCase{
            "HasCard(N, SP)", 3,
            "ошибка в позиции 13: Пропущен параметр (Целый)\nHasCard(N, SP)\n             ^\n"},
        TCheckCase{"HasCard(N, 14, SP)", 3,
                   "ошибка в позиции 11: Несоответствие типов: требуется \"Macть\"\n"
                   "HasCard(N, 14, SP)\n           ^\n"},
        TCheckCase{"TopHonours(N, SP) > 1", 3,
                   "ошибка в позиции 16: Пропущен параметр (Целый)\nTopHonours(N, SP) > 1\n        "
                   "        ^\n"},
        TCheckCase{"Controls(N, 5) > 2", 3,
                   "ошибка в позиции 12: Несоответствие типов: требуется \"Macть\"\n"
                   "Controls(N, 5) > 2\n            ^\n"},
        TCheckCase{
            "Losers(N)", 3,
            "ошибка в позиции 0: Несоответствие типов: требуется \"Логический\"\nLosers(N)\n^\n"},
        TCheckCase{"(Losers(N) <= 7) AND (Controls(S, SP) >= 2) AND (TopHonours(E, Hearts, 5) = 0) "
                   "AND HasCard(W, C, 2)",
                   0, ""}));

TEST_F(CliGenerate, ConditionsFileIsReadAsWindows1251WithItsHeader) {
    const std::string header = "This is Conditions File of Tavex's Bridge Generator";
    // Lines are joined with nothing between them.
    std::string good =
        WriteConditions("good.cnd", header, {"(HCP(North)>12) ", "AND Balanced(North)"});
    TCliRun ok = Run({"check", "--condition-file", good});
    EXPECT_EQ(ok.ExitCode, 0) << ok.Err;
    EXPECT_EQ(ok.Out, "ok\n");
    TCliRun generated = Run({"generate", "--key", "3", "--count", "2", "--condition-file", good});
    EXPECT_EQ(generated.ExitCode, 0) << generated.Err;
    EXPECT_EQ(generated.OutLines().size(), 2u);

    // "HCP(N) > ПЯТЬ" in Windows-1251.
    std::string cyrillic = WriteConditions("cyrillic.cnd", header, {"HCP(N) > \xCF\xDF\xD2\xDC"});
    TCliRun wrong = Run({"check", "--condition-file", cyrillic});
    EXPECT_EQ(wrong.ExitCode, 3);
    EXPECT_EQ(wrong.ErrLines().front(),
              "ошибка в позиции 9: Нераспознанный идентификатор: \"ПЯТЬ\"");

    std::string joined =
        WriteConditions("joined.cnd", header, {"HCP(North)>12", "AND Balanced(North)"});
    TCliRun joinedRun = Run({"check", "--condition-file", joined});
    EXPECT_EQ(joinedRun.ExitCode, 3);
    EXPECT_EQ(joinedRun.ErrLines().front(),
              "ошибка в позиции 11: Нераспознанный идентификатор: \"12AND\"");

    std::string other = WriteConditions(
        "other.cnd", "This is Conditions File of Tavex's Bridge Generatox", {"TRUE"});
    TCliRun refused = Run({"check", "--condition-file", other});
    EXPECT_EQ(refused.ExitCode, 4);
    EXPECT_EQ(refused.Err,
              "korvana-cli: Файл " + fs::absolute(other).string() + " не содержит условия\n");

    TCliRun missing = Run({"generate", "--condition-file", (folder / "none.cnd").string()});
    EXPECT_EQ(missing.ExitCode, 4);
    EXPECT_NE(missing.Err.find("none.cnd"), std::string::npos) << missing.Err;
}

TEST_F(CliGenerate, BadUsageExitsWithTwoAndTheUsage) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"generate", "--count", "0"},
             {"generate", "--count", "10000000"},
             {"generate", "--count", "12x"},
             {"generate", "--key"},
             {"generate", "--format", "pbn"},
             {"generate", "--condition", "TRUE", "--condition-file", "x.cnd"},
             {"generate", "--threads", "0"},
             {"generate", "extra"},
             {"generate", "--key", "1", "--secret", std::string(64, '0')},
             {"generate", "--secret", std::string(64, '0'), "--dealing", "one"},
             {"generate", "--dealing", "one"},
             {"generate", "--secret", std::string(63, 'a')},
             {"generate", "--secret", std::string(63, 'a') + "g"},
             {"generate", "--secret", std::string(64, 'a'), "--secret-file", "s"},
             {"generate", "--key", "1", "--secret-file", "s"},
             {"generate", "--key", "1", "--delayed", "x"},
             {"generate", "--delayed", ""},
             {"verify", "set.pbn"},
             {"check"},
             {"check", "--condition", "TRUE", "--count", "3"}}) {
        TCliRun run = Run(args);
        EXPECT_EQ(run.ExitCode, 2) << args.back();
        EXPECT_NE(run.Err.find("использование"), std::string::npos) << run.Err;
        EXPECT_EQ(run.Out, "");
    }
}

// A name without a folder part is a file in the working folder, as a name
// with a relative folder is; an old file of that name is replaced.
TEST_F(CliGenerate, RelativeNamesAreFilesOfTheWorkingFolder) {
    const fs::path work = folder / "work";
    fs::create_directories(work / "sub");
    std::ofstream(work / "bare.dls", std::ios::binary) << "old deals\r\n";
    TCliRunOptions options;
    options.WorkingFolder = work;
    for (const std::string name : {"bare.dls", "sub/rel.dls", "bare.pbn"}) {
        TCliRun run = RunCliWith(
            folder, {"generate", "--key", "1", "--count", "5", "--format", "lines", "--out", name},
            options);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        const std::string written = ReadWholeFile(work / name);
        if (name.ends_with(".pbn")) {
            EXPECT_NE(written.find("[Board \"5\"]"), std::string::npos) << name;
            continue;
        }
        std::string expected = "This is Deals File of Tavex's Bridge Generator\r\n";
        for (const std::string& line : run.OutLines()) expected += line + "\r\n";
        EXPECT_EQ(written, expected) << name;
        EXPECT_EQ(run.OutLines().size(), 5u);
    }
}

// SIGTERM and SIGHUP stop a run as Ctrl+C does: the kept deals are printed
// and written, and the exit code tells which signal it was.
TEST_F(CliGenerate, TermAndHangupStopTheRunAndStillWriteTheKeptDeals) {
    for (const auto& [signal, code] : {std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
        const fs::path out = folder / ("stopped-" + std::to_string(signal) + ".dls");
        TCliRunOptions options;
        options.Interrupt = true;
        options.Signal = signal;
        TCliRun run = RunCliWith(folder,
                                 {"generate", "--count", "9999999", "--format", "lines",
                                  "--condition", "HCP(North) >= 21", "--out", out.string()},
                                 options);
        EXPECT_EQ(run.ExitCode, code) << run.Err;
        const std::string last = run.LastErrLine();
        const int kept = std::atoi(last.c_str());
        EXPECT_GT(kept, 0) << last;
        EXPECT_EQ(run.OutLines().size(), static_cast<size_t>(kept));
        std::string expected = "This is Deals File of Tavex's Bridge Generator\r\n";
        for (const std::string& line : run.OutLines()) expected += line + "\r\n";
        EXPECT_EQ(ReadWholeFile(out), expected);
    }
}

// `... --out p.dls | head -1`: the reader leaving early is a write error
// (exit 1), never the end of the program, and the file holds every deal.
TEST_F(CliGenerate, AReaderThatLeavesEarlyIsAWriteErrorAndTheFileIsWritten) {
    const fs::path out = folder / "p.dls";
    TCliRunOptions options;
    options.ReaderGone = true;
    TCliRun run = RunCliWith(
        folder, {"generate", "--key", "5", "--count", "3000", "--out", out.string()}, options);
    EXPECT_EQ(run.ExitCode, 1) << run.Err;
    EXPECT_NE(run.Err.find("не удалось записать раздачи"), std::string::npos) << run.Err;
    EXPECT_EQ(run.LastErrLine(), "3000(3000)");
    TCliRun same = Run({"generate", "--key", "5", "--count", "3000", "--format", "lines", "--out",
                        (folder / "same.dls").string()});
    EXPECT_EQ(ReadWholeFile(out), ReadWholeFile(folder / "same.dls"));
}

// Without a file to write first, the deals go to stdout as they are kept and
// are not stored: a big run prints in memory of a fixed size, and a reader
// that leaves stops the run instead of letting it deal to the end.
TEST_F(CliGenerate, WithoutAFileDealsArePrintedAsTheyAreKept) {
    if (UnderSanitizer) GTEST_SKIP() << "a data limit leaves no room for the sanitizer";
    TCliRunOptions small;
    small.DataLimit = 48L << 20;  // three million deals stored would take 312 MB
    TCliRun big = RunCliWith(
        folder,
        {"generate", "--key", "9", "--count", "3000000", "--format", "lines", "--threads", "2"},
        small);
    EXPECT_EQ(big.ExitCode, 0) << big.Err;
    EXPECT_EQ(big.LastErrLine(), "3000000(3000000)");
    ASSERT_EQ(big.Out.size(), 3000000u * (TDeal::LineLength + 1));
    // The same deals as a run that stores them for its file.
    TCliRun stored = Run({"generate", "--key", "9", "--count", "2000", "--format", "lines", "--out",
                          (folder / "stored.dls").string()});
    EXPECT_EQ(big.Out.substr(0, stored.Out.size()), stored.Out);

    TCliRunOptions gone;
    gone.ReaderGone = true;
    TCliRun stopped = RunCliWith(folder, {"generate", "--key", "9", "--count", "9999999"}, gone);
    EXPECT_EQ(stopped.ExitCode, 1) << stopped.Err;
    EXPECT_NE(stopped.Err.find("не удалось записать раздачи"), std::string::npos) << stopped.Err;
    EXPECT_NE(stopped.LastErrLine(), "9999999(9999999)");  // stopped long before the end
}

// Threads the system cannot start in the memory left are done without: the
// run gives the deals of one thread, or says it ran out of memory (the run's
// own thread among them); it never ends in an uncaught error. Limits from
// the smallest the program starts in up to where every thread starts.
TEST_F(CliGenerate, ThreadsThatCannotStartAreDoneWithout) {
    if (UnderSanitizer) GTEST_SKIP() << "a data limit leaves no room for the sanitizer";
    TCliRun one = Run({"generate", "--key", "12", "--count", "3000", "--format", "lines",
                       "--threads", "1", "--quiet"});
    ASSERT_EQ(one.ExitCode, 0) << one.Err;
    int tried = 0;
    for (long megabytes = 16; megabytes <= 80; megabytes += 4) {
        TCliRunOptions small;
        small.DataLimit = megabytes << 20;
        if (RunCliWith(folder, {"--version"}, small).ExitCode != 0) continue;  // cannot start
        ++tried;
        for (const char* threads : {"1", "4", "6", "8", "32"}) {
            TCliRun run = RunCliWith(folder,
                                     {"generate", "--key", "12", "--count", "3000", "--format",
                                      "lines", "--threads", threads, "--quiet"},
                                     small);
            SCOPED_TRACE(std::to_string(megabytes) + " MB, " + threads + " threads");
            if (run.ExitCode == 0)
                EXPECT_EQ(run.Out, one.Out);
            else
                ExpectOutOfMemory(run);
        }
    }
    EXPECT_GT(tried, 5);
}

// The solver short of memory, at its loading, its threads or its tables, ends
// the run as memory running out anywhere does: exit 5 and the message, never a
// crash, a silent failure or a run that no deal can end.
TEST_F(CliGenerate, TheSolverShortOfMemoryEndsTheRunAsOutOfMemory) {
    if (UnderSanitizer) GTEST_SKIP() << "a data limit leaves no room for the sanitizer";
    const std::string deals = (folder / "one.dls").string();
    ASSERT_EQ(Run({"generate", "--key", "1", "--count", "1", "--out", deals, "--quiet"}).ExitCode,
              0);
    const std::vector<std::vector<std::string>> commands = {
        {"analyze", deals},
        {"generate", "--key", "1", "--count", "1", "--condition", "Tricks(N) >= 7", "--quiet",
         "--max-dealt", "60"}};
    std::vector<std::string> whole;
    for (const auto& command : commands) whole.push_back(Run(command).Out);
    int failed = 0;
    for (long megabytes = 17; megabytes <= 41; megabytes += 3) {
        TCliRunOptions small;
        small.DataLimit = megabytes << 20;
        for (std::size_t c = 0; c < commands.size(); ++c) {
            TCliRun run = RunCliWith(folder, commands[c], small);
            SCOPED_TRACE(std::to_string(megabytes) + " MB: " + commands[c][0]);
            if (run.ExitCode == 0) {
                EXPECT_EQ(run.Out, whole[c]);
            } else {
                ++failed;
                ExpectOutOfMemory(run);
            }
        }
    }
    EXPECT_GT(failed, 2);
}

// A run that solves nothing never loads the solver's library, so it starts in
// 16 MB of data; one that asks for tricks loads it then and still answers.
TEST_F(CliGenerate, TheSolverIsLoadedOnlyWhenAsked) {
    if (UnderSanitizer) GTEST_SKIP() << "a data limit leaves no room for the sanitizer";
    TCliRunOptions small;
    small.DataLimit = 16L << 20;
    EXPECT_EQ(RunCliWith(folder, {"--version"}, small).ExitCode, 0);
    TCliRun run = RunCliWith(
        folder, {"generate", "--key", "1", "--count", "1", "--threads", "1", "--quiet"}, small);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    TCliRun solved = Run({"generate", "--key", "1", "--count", "1", "--threads", "1", "--quiet",
                          "--condition", "Tricks(N) >= 0"});
    EXPECT_EQ(solved.ExitCode, 0) << solved.Err;
    EXPECT_EQ(solved.OutLines().size(), 1u);
}

// A pipe named as the conditions file is refused at once instead of keeping
// the program waiting; a NUL in a condition does not cut its error short.
TEST_F(CliGenerate, PipesAreRefusedAndNulsShownWhole) {
    const fs::path pipe = folder / "pipe.cnd";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    TCliRun piped = Run({"check", "--condition-file", pipe.string()});
    EXPECT_EQ(piped.ExitCode, 4);
    EXPECT_NE(piped.Err.find("pipe.cnd"), std::string::npos) << piped.Err;
    // A device without end is no conditions file either.
    TCliRun zeros = Run({"check", "--condition-file", "/dev/zero"});
    EXPECT_EQ(zeros.ExitCode, 4);
    EXPECT_EQ(zeros.Err, "korvana-cli: /dev/zero: это не обычный файл (канал или устройство)\n");

    const std::string nul =
        WriteConditions("nul.cnd", "This is Conditions File of Tavex's Bridge Generator",
                        {std::string("HCP(N) > 5 AND\0 X(N)", 20)});
    TCliRun run = Run({"check", "--condition-file", nul});
    EXPECT_EQ(run.ExitCode, 3);
    using namespace std::string_literals;
    EXPECT_EQ(
        run.Err,
        "ошибка в позиции 11: Нераспознанный идентификатор: \"AND\0\"\nHCP(N) > 5 AND\0 X(N)\n"
        "           ^\n"s);
}

// The conditions file is read as the window reads it: a line ends at LF or
// CR LF, and a lone CR stays inside its line.
TEST_F(CliGenerate, ConditionsFileLinesEndAtLineFeeds) {
    const fs::path file = folder / "cr.cnd";
    std::ofstream(file, std::ios::binary) << "This is Conditions File of Tavex's Bridge "
                                             "Generator\r\nHCP(N)>12\rAND Balanced(N)\nX\r\n";
    TCliRun run = Run({"check", "--condition-file", file.string()});
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_EQ(run.ErrLines().front(),
              "ошибка в позиции 7: Нераспознанный идентификатор: \"12\rAND\"");
}

// The listing of a large deals file goes out a row at a time, in memory that
// does not grow with the file, and a line of any length is read in bounded
// pieces; memory that runs out anyway is told as such with its own exit
// code, never an abort.
TEST_F(CliGenerate, ListingStreamsAndRunningOutOfMemoryIsAnExitCode) {
    if (UnderSanitizer) GTEST_SKIP() << "a data limit leaves no room for the sanitizer";
    const std::string file = (folder / "big.dls").string();
    TCliRun made =
        Run({"generate", "--key", "3", "--count", "200000", "--format", "lines", "--out", file});
    ASSERT_EQ(made.ExitCode, 0) << made.Err;
    TCliRunOptions options;
    options.DataLimit = 64L << 20;  // the whole listing would need some 170 MB
    TCliRun listing = RunCliWith(folder, {"listing", file, "--columns", "4"}, options);
    EXPECT_EQ(listing.ExitCode, 0) << listing.Err;
    EXPECT_EQ(listing.Out.substr(0, 3), " 1.");
    EXPECT_NE(listing.Out.find("200000."), std::string::npos);

    // Converting keeps every deal in memory: some 21 MB that do not fit in 20.
    // (stats counts as it reads: it would fit.)
    options.DataLimit = 20L << 20;
    TCliRun convert = RunCliWith(folder, {"convert", file, (folder / "big.pbn").string()}, options);
    EXPECT_EQ(convert.ExitCode, 5) << convert.Err;
    EXPECT_EQ(convert.Err, "korvana-cli: не хватило памяти\n");
    EXPECT_FALSE(fs::exists(folder / "big.pbn"));

    // A first line of 100 MB is read in pieces to be refused: it costs no memory.
    const fs::path longLine = folder / "long.dls";
    {
        std::ofstream out(longLine, std::ios::binary);
        const std::string chunk(1 << 20, 'x');
        for (int i = 0; i < 100; ++i) out << chunk;
        out << "\r\n";
    }
    options.DataLimit = 48L << 20;
    TCliRun refused = RunCliWith(folder, {"stats", longLine.string()}, options);
    EXPECT_EQ(refused.ExitCode, 4) << refused.Err;
    EXPECT_EQ(refused.Err, "Файл " + longLine.string() + " не содержит раздачи\n");
    fs::remove(longLine);
}

// The statistics of a file take memory of a fixed size, however many deals it
// holds: two million blank lines (two million deals of empty places) under a
// data limit a collection of them would overrun four times over.
TEST_F(CliGenerate, StatisticsOfAHugeFileTakeNoMoreMemory) {
    if (UnderSanitizer) GTEST_SKIP() << "a data limit leaves no room for the sanitizer";
    const fs::path file = folder / "blank.dls";
    {
        std::ofstream out(file, std::ios::binary);
        out << "This is Deals File of Tavex's Bridge Generator\r\n";
        const std::string blanks(2 * 1000 * 1000, '\n');
        out << blanks;
    }
    TCliRunOptions options;
    options.DataLimit = 48L << 20;
    TCliRun stats = RunCliWith(folder, {"stats", file.string()}, options);
    EXPECT_EQ(stats.ExitCode, 4) << stats.Err;  // every blank line is named as damaged
    EXPECT_NE(stats.Err.find("и ещё 1999990"), std::string::npos) << stats.Err;
    EXPECT_NE(stats.Out.find("2000000"), std::string::npos) << stats.Out.substr(0, 400);
    fs::remove(file);
}

// A run whose collection can take no more deals ends there, says so with the
// out-of-memory exit code, and still writes and prints every deal it kept.
TEST_F(CliGenerate, ARunThatRunsOutOfMemoryKeepsWhatItKept) {
    if (UnderSanitizer) GTEST_SKIP() << "a data limit leaves no room for the sanitizer";
    for (const char* threads : {"1", "2"}) {
        SCOPED_TRACE(threads);
        const std::string file = (folder / "full.dls").string();
        TCliRunOptions options;
        options.DataLimit = 48L << 20;
        TCliRun run = RunCliWith(folder,
                                 {"generate", "--key", "5", "--count", "9999999", "--threads",
                                  threads, "--format", "lines", "--out", file},
                                 options);
        ExpectOutOfMemory(run);
        const auto printed = run.OutLines();
        EXPECT_GT(printed.size(), 10000u);
        const auto saved = TCliRun::SplitAtNewlines(ReadWholeFile(file));
        ASSERT_EQ(saved.size(), printed.size() + 1);  // the header, then the same deals
        EXPECT_EQ(saved[1], printed[0] + "\r");
    }
}

// Conditions files of a megabyte over many lines: the joined condition is
// refused with the message its small equivalent gets, or by size when it is
// correct but too large; check and generate alike.
TEST_F(CliGenerate, AMegabyteConditionsFileIsRefusedWithItsMessage) {
    const std::string header = "This is Conditions File of Tavex's Bridge Generator";
    const std::vector<std::string> brackets(16384, std::string(62, '('));
    const std::vector<std::string> nots(
        16384, "NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT NOT ");
    std::vector<std::string> ands(65536, "(HCP(N)>=1) AND ");
    ands.push_back("T");
    const struct {
        std::string name;
        std::vector<std::string> lines;
        std::string message;
    } cases[] = {
        {"brackets.cnd", brackets, "ошибка в позиции 1015807: Пропущено выражение"},
        {"nots.cnd", nots, "ошибка в позиции 983039: Пропущено выражение"},
        {"ands.cnd", ands, "ошибка в позиции 99996: Слишком длинное условие"},
    };
    for (const auto& c : cases) {
        const std::string file = WriteConditions(c.name, header, c.lines);
        const std::vector<std::vector<std::string>> commands = {
            {"check", "--condition-file", file},
            {"generate", "--key", "1", "--max-dealt", "10", "--condition-file", file}};
        for (const auto& args : commands) {
            TCliRun run = Run(args);
            EXPECT_EQ(run.ExitCode, 3) << c.name << " " << args.front();
            EXPECT_EQ(run.Out, "") << c.name << " " << args.front();
            ASSERT_FALSE(run.ErrLines().empty()) << c.name << " " << args.front();
            EXPECT_EQ(run.ErrLines().front(), c.message) << c.name << " " << args.front();
        }
    }
}

// A condition of some 90 kB (near the tree's node limit) is prepared once
// per thread at some 15 MB each: 64 threads would need a gigabyte. The run
// takes fewer threads, says so, and keeps the deals one thread keeps.
TEST_F(CliGenerate, ALargeConditionRunsOnFewerThreads) {
    if (UnderSanitizer) GTEST_SKIP() << "a data limit leaves no room for the sanitizer";
    std::string condition;
    for (int i = 0; i < 5500; ++i)
        condition += (i ? " OR (HCP(N) >= " : "(HCP(N) >= ") + std::to_string(i % 20) + ")";
    const std::string file = WriteConditions(
        "wide.cnd", "This is Conditions File of Tavex's Bridge Generator", {condition});
    TCliRunOptions options;
    options.DataLimit = 400L << 20;
    TCliRun many = RunCliWith(
        folder,
        {"generate", "--key", "4", "--count", "3", "--condition-file", file, "--threads", "64"},
        options);
    EXPECT_EQ(many.ExitCode, 0) << many.Err.substr(0, 300);
    EXPECT_EQ(many.ErrLines().front().rfind("условие велико: ", 0), 0u) << many.Err.substr(0, 300);
    TCliRun one =
        Run({"generate", "--key", "4", "--count", "3", "--condition-file", file, "--threads", "1"});
    EXPECT_EQ(many.Out, one.Out);
}

// Stopped while analysing, all kept deals are written and stderr says how many were analysed.
TEST_F(CliGenerate, AStopDuringTheAnalysisWritesEveryKeptDeal) {
    const std::string file = (folder / "a.pbn").string();
    TCliRunOptions stop;
    stop.Interrupt = true;
    stop.Signal = SIGTERM;
    stop.SignalAfter = std::chrono::seconds(1);
    TCliRun run = RunCliWith(
        folder, {"generate", "--key", "3", "--count", "40", "--out", file, "--analyze"}, stop);
    EXPECT_EQ(run.ExitCode, 143) << run.Err;
    const std::string pbn = ReadWholeFile(file);
    auto count = [&pbn](const char* tag) {
        const std::regex pattern(tag);
        return std::distance(std::sregex_iterator(pbn.begin(), pbn.end(), pattern), {});
    };
    EXPECT_EQ(count("\\[Deal "), 40);
    EXPECT_NE(run.Err.find("проанализировано " + std::to_string(count("\\[OptimumResultTable")) +
                           " из 40"),
              std::string::npos);
    EXPECT_EQ(RunCliWith(folder, {"analyze", file, "--threads", "1"}, stop).ExitCode, 143);
}

// Keeping fewer than asked says how many; the file's other name (a hard link) keeps the old deals.
TEST_F(CliGenerate, OldFilesAndOtherNamesKeepTheirDeals) {
    const std::string file = (folder / "a.dls").string(), other = (folder / "b.dls").string();
    ASSERT_EQ(Run({"generate", "--key", "5", "--count", "3", "--out", file}).ExitCode, 0);
    const std::string old = ReadWholeFile(file);
    fs::create_hard_link(file, other);
    TCliRun few = Run({"generate", "--key", "5", "--count", "10", "--condition", "HCP(N) >= 15",
                       "--max-dealt", "30", "--out", file});
    const std::string kept = std::to_string(ReadWholeFile(file).size() / 110);  // 110-byte lines
    EXPECT_NE(few.Err.find("сохранено " + kept + " раздач из 10"), std::string::npos);
    EXPECT_NE(few.Err.find("жёсткими ссылками, ещё 1"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(other), old);
}

}  // namespace

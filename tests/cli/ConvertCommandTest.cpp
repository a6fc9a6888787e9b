// korvana-cli between file kinds: every command that reads deals reads deals
// and PBN files alike, by their content; convert writes deals, PBN and LIN
// files; PBN written by peer generators is read card for card.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "CliRunner.h"
#include "support/TempFolder.h"

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
            fromNorth +=
                (k > 0 ? " " : "") + (*it)[static_cast<int>(2 + (4 - first + k) % 4)].str();
        tags.push_back(fromNorth);
    }
    return tags;
}

class CliConvert : public ::testing::Test {
protected:
    TCliRun Run(const std::vector<std::string>& args) { return RunCli(folder, args); }
    std::string In(const std::string& name) { return (folder / name).string(); }

    // Ten deals of key 3 in a deals file.
    std::string TenDeals() {
        const std::string file = In("ten.dls");
        EXPECT_EQ(Run({"generate", "--key", "3", "--count", "10", "--out", file}).ExitCode, 0);
        return file;
    }

    TTempFolder temp;
    const fs::path folder = temp.Path();
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

// A PBN file under a deals file's name, or under any name, is still PBN, and
// a deals file under a PBN name a deals file.
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
    fs::copy_file(dls, In("deals-inside.pbn"));  // and a deals file under a PBN name
    EXPECT_EQ(Run({"analyze", In("deals-inside.pbn")}).Out, Run({"analyze", dls}).Out);
}

// Every command that reads deals reads them once, by their content, from a
// pipe or from stdin ("-", "/dev/stdin") as from the file itself.
TEST_F(CliConvert, EveryReadingCommandReadsAPipeOrStdin) {
    ASSERT_EQ(Run({"convert", TenDeals(), In("ten.pbn")}).ExitCode, 0);
    const std::string fifo = In("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> commands = {{"stats", "IN"},
                                                            {"listing", "IN", "--columns", "3"},
                                                            {"analyze", "IN"},
                                                            {"convert", "IN", In("copy.lin")}};
    for (const auto& command : commands) {
        auto reading = [&](const std::string& input) {
            std::vector<std::string> args = command;
            std::replace(args.begin(), args.end(), std::string("IN"), input);
            return args;
        };
        const TCliRun direct = Run(reading(In("ten.pbn")));
        ASSERT_EQ(direct.ExitCode, 0) << direct.Err;
        const std::string written = ReadWholeFile(In("copy.lin"));
        for (const std::string input : {"-", "/dev/stdin", fifo.c_str()}) {
            TCliRunOptions options;
            if (input != fifo) options.Stdin = In("ten.pbn");
            std::thread writer([&] {  // gives up when no reader opens the pipe
                for (int tries = 0; input == fifo && tries < 1000; ++tries) {
                    const int end = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                    if (end < 0) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(10));
                        continue;
                    }
                    const std::string bytes = ReadWholeFile(In("ten.pbn"));
                    ::fcntl(end, F_SETFL, 0);
                    EXPECT_EQ(::write(end, bytes.data(), bytes.size()), ssize_t(bytes.size()));
                    ::close(end);
                    break;
                }
            });
            const TCliRun piped = RunCliWith(folder, reading(input), options);
            writer.join();
            EXPECT_EQ(piped.ExitCode, 0) << command[0] << " " << input << piped.Err;
            EXPECT_EQ(piped.Out, direct.Out) << command[0] << " " << input;
            EXPECT_EQ(ReadWholeFile(In("copy.lin")), written) << command[0] << " " << input;
        }
    }
}

// Damaged lines are named; convert writes nothing, stats and listing print.
TEST_F(CliConvert, DamagedLinesOfADealsFileAreNamedByNumber) {
    std::string text = ReadWholeFile(TenDeals());
    text.insert(text.find("\r\n") + 2, "\r\n");  // line 2 empty, line 12 cut
    text.resize(text.size() - 30);
    std::ofstream(In("b"), std::ios::binary) << text;
    for (const std::string command : {"convert", "stats", "listing"}) {
        const TCliRun run =
            command == "convert" ? Run({command, In("b"), In("o.lin")}) : Run({command, In("b")});
        EXPECT_EQ(run.ExitCode, 4);
        EXPECT_EQ(run.LastErrLine(), "korvana-cli: файл " + In("b") + ": повреждены строки 2, 12");
        EXPECT_EQ(run.Out.empty() && !fs::exists(In("o.lin")), command == "convert");
    }
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
    EXPECT_EQ(version.Out, "korvana-cli 2.0\n");  // the about box's version
    const std::filesystem::path data = std::filesystem::path(KORVANA_SAMPLES_DIR) / "../../../data";
    EXPECT_NE(ReadWholeFile(data / "korvana-cli.1").find("\"Korvana 2.0\""), std::string::npos);
    EXPECT_NE(ReadWholeFile(data / "org.korvana.Korvana.metainfo.xml").find("version=\"2.0\""),
              std::string::npos);
    for (const char* command : {"generate", "check", "stats", "listing", "convert"}) {
        const TCliRun help = Run({command, "--help"});
        EXPECT_EQ(help.ExitCode, 0) << command;
        EXPECT_EQ(help.Out.rfind(std::string("использование: korvana-cli ") + command + " ", 0), 0u)
            << help.Out;
        EXPECT_NE(help.Out.find("коды возврата:"), std::string::npos);
    }
}

// --first-board numbers the boards in the usual rotation; a board's own number and seats stay.
// --dealer and --vul seat every dealt board, and a read one where its file does not.
TEST_F(CliConvert, FirstBoardNumbersTheBoardsWithoutTheirOwn) {
    const std::string deal = "[Deal \"N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. -\"]\n";
    std::ofstream(In("a.pbn")) << "[Board \"40\"]\n[Dealer \"E\"]\n[Vulnerable \"All\"]\n"
                               << deal + "\n" + deal + "\n[Dealer \"S\"]\n" + deal;
    ASSERT_EQ(Run({"convert", In("a.pbn"), In("a.lin"), "--first-board", "7"}).ExitCode, 0);
    ASSERT_EQ(
        Run({"generate", "--count", "3", "--out", In("b.lin"), "--first-board", "15"}).ExitCode, 0);
    ASSERT_EQ(Run({"convert", In("a.pbn"), In("c.lin"), "--dealer=w", "--vul=NS"}).ExitCode, 0);
    ASSERT_EQ(
        Run({"generate", "--count=2", "--out", In("d.lin"), "--dealer=E", "--vul=Both"}).ExitCode,
        0);
    const std::regex board(R"re(qx\|o(\d+)\|md\|(\d).*?\|sv\|(\w)\|)re");
    std::string seats;  // each board's number, dealer's digit and vulnerability
    for (const char* name : {"a.lin", "b.lin", "c.lin", "d.lin"}) {
        const std::string lin = ReadWholeFile(In(name));
        for (std::sregex_iterator it(lin.begin(), lin.end(), board), end; it != end; ++it)
            seats += (*it)[1].str() + (*it)[2].str() + (*it)[3].str() + " ";
    }
    EXPECT_EQ(seats, "404b 82o 91e 151n 162e 173o 404b 22n 31n 14b 24b ");
    for (const auto& args : {std::vector<std::string>{"generate", "--first-board", "0"},
                             {"convert", In("a.pbn"), In("x.lin"), "--first-board", "1000000000"}})
        EXPECT_NE(Run(args).Err.find("--first-board"), std::string::npos);
}

}  // namespace

// Runs the korvana-cli program on deals files in a temporary folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "deals/DealCollection.h"
#include "reports/DealListing.h"
#include "reports/ExampleDeals.h"
#include "reports/StatisticsReport.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

struct TRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

class ReportCommands : public ::testing::Test {
protected:
    void SetUp() override {
        dealsFile = (folder / "three deals.dls").string();
        std::ofstream out(dealsFile, std::ios::binary);
        out << "This is Deals File of Tavex's Bridge Generator\r\n";
        for (const TDeal& deal : ListingExampleDeals()) out << deal.ToText() << "\r\n";
    }

    // Runs korvana-cli with the arguments (already quoted for the shell).
    TRun Run(const std::string& arguments) {
        const fs::path errFile = folder / "stderr.txt";
        const std::string command = std::string("'") + KORVANA_CLI_PATH + "' " + arguments +
                                    " 2>'" + errFile.string() + "'";
        TRun run;
        std::FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return run;
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            run.out.append(buffer, got);
        const int status = ::pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = ReadWhole(errFile);
        return run;
    }

    std::string Quoted(const std::string& path) { return "'" + path + "'"; }

    TTempFolder temp;
    const fs::path folder = temp.Path();
    std::string dealsFile;
};

TEST_F(ReportCommands, ListingPrintsTheChosenSeatsAndColumns) {
    const TRun run = Run("listing " + Quoted(dealsFile) + " --seats E --columns 3");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, Joined(Dots({
                           "·1.AKQT63·······2.K873·········3.Q43··········",
                           "···J3·············JT742··········T64··········",
                           "···972············A753···········A763·········",
                           "···A3·············-··············Q93··········",
                           "",
                       })));

    const TRun northSouth = Run("listing --columns=2 --seats=sn " + Quoted(dealsFile));
    EXPECT_EQ(northSouth.exitCode, 0) << northSouth.err;
    EXPECT_EQ(northSouth.out.substr(0, northSouth.out.find(Dots("\n\n·3."))),
              Dots("·1.J542·········2.AJ62·········\n"
                   "···9··············KQ···········\n"
                   "···AT853··········T964·········\n"
                   "···J86············J54··········\n"
                   "\n"
                   "···7··············QT95·········\n"
                   "···AKQT754········83···········\n"
                   "···K4·············KQJ8·········\n"
                   "···972············876··········"));
}

TEST_F(ReportCommands, ListingDefaultsToAllSeatsFiveToARow) {
    TDeals deals;
    for (const TDeal& deal : ListingExampleDeals()) deals.Add(deal);
    const TRun run = Run("listing " + Quoted(dealsFile));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Joined(DealListingLines(deals, TListingSeats{true, true, true, true}, 5)));
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              Dots("·1.·······J542···············2.·······AJ62···············3.·······987········"
                   "········"));
}

TEST_F(ReportCommands, StatsPrintsTheReportOfTheFile) {
    TDeals deals;
    for (const TDeal& deal : ListingExampleDeals()) deals.Add(deal);
    deals.ComputeStatistics();
    const TRun run = Run("stats " + Quoted(dealsFile));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Joined(StatisticsReportLines(deals)));
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Всего раздач: 3");
    // North's points in the three deals: 6, 11 and 11; the sum row ends the report.
    EXPECT_NE(run.out.find(Dots("\n······(28)·9.33")), std::string::npos) << run.out;
}

TEST_F(ReportCommands, BadUsageExitsWithTwoAndTheUsageText) {
    const std::string file = Quoted(dealsFile);
    const std::vector<std::string> badArguments = {
        "",
        "frobnicate",
        "stats",
        "stats " + file + " " + file,
        "stats --columns 3",
        "listing",
        "listing " + file + " " + file,
        "listing " + file + " --columns 0",
        "listing " + file + " --columns 10",
        "listing " + file + " --columns three",
        "listing " + file + " --columns",
        "listing " + file + " --seats",
        "listing " + file + " --seats NX",
        "listing " + file + " --seats ''",
        "listing " + file + " --rows 2",
    };
    for (const std::string& arguments : badArguments) {
        const TRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_NE(run.err.find("использование: korvana-cli"), std::string::npos) << arguments;
        EXPECT_NE(run.err.find("listing FILE"), std::string::npos) << arguments;
    }
    const TRun help = Run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("stats FILE"), std::string::npos);
}

TEST_F(ReportCommands, UnreadableOrRefusedFilesExitWithFour) {
    const std::string missing = (folder / "missing.dls").string();
    const std::string wrongHeader = (folder / "wrong.dls").string();
    std::ofstream(wrongHeader, std::ios::binary)
        << "this is deals file of tavex's bridge generator\r\n";

    struct Case {
        std::string file;
        std::string reason;
    };
    const Case cases[] = {
        {missing, "нет такого файла или папки"},
        {folder.string(), "это папка"},
        {wrongHeader, "Файл " + wrongHeader + " не содержит раздачи"},
    };
    for (const Case& c : cases) {
        for (const char* command : {"stats ", "listing "}) {
            const TRun run = Run(command + Quoted(c.file));
            EXPECT_EQ(run.exitCode, 4) << command << c.file;
            EXPECT_EQ(run.out, "") << command << c.file;
            EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        }
    }
}

}  // namespace

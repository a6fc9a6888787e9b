// `korvana-cli handout`: the PDF read back with pdftotext shows each board's
// number, dealer, vulnerability, hands, points, and the table and par that
// `korvana-cli analyze` prints for the same deals.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "deals/Board.h"
#include "deals/DealCollection.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<TTempFolder> gFolder;  // the suite's files
std::string F(const std::string& name) { return gFolder->File(name); }

// The text of each page of a PDF: the words pdftotext finds, those on one
// baseline in one line from left to right, the lines from the top down.
std::vector<std::string> PdfPages(const TTempFolder& folder, const std::string& pdf) {
    const std::string text = folder.File("words.html");
    const std::string command = "pdftotext -bbox -enc UTF-8 '" + pdf + "' '" + text + "'";
    if (std::system(command.c_str()) != 0) return {};
    const std::string html = ReadWholeFile(text);
    const std::regex word(
        R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<std::string> pages;
    for (std::size_t at = html.find("<page "); at != std::string::npos;) {
        const std::size_t next = html.find("<page ", at + 1);
        const std::string page = html.substr(at, next - at);
        std::map<double, std::map<double, std::string>> words;  // bottom: left: word
        for (auto it = std::sregex_iterator(page.begin(), page.end(), word);
             it != std::sregex_iterator(); ++it)
            words[std::stod((*it)[2])][std::stod((*it)[1])] = (*it)[3];
        // Words whose bottoms lie within a point of each other share a line.
        std::map<double, std::map<double, std::string>> lines;
        for (const auto& [bottom, row] : words) {
            auto line = lines.empty() || bottom - lines.rbegin()->first > 1
                            ? lines.emplace(bottom, row).first
                            : std::prev(lines.end());
            line->second.insert(row.begin(), row.end());
        }
        std::string joined;
        for (const auto& [bottom, row] : lines) {
            for (const auto& [left, text] : row) joined += text + " ";
            joined += "\n";
        }
        pages.push_back(joined);
        at = next;
    }
    return pages;
}

// Whether the words of `text` stand in `page` in order, blanks between them
// as pdftotext sets them, the last one ending a word.
bool Shows(const std::string& page, const std::string& text) {
    std::string pattern;  // the texts hold no other character special to a regex
    for (const char c : text) pattern += c == ' ' ? R"(\s+)" : c == '+' ? "\\+" : std::string(1, c);
    return std::regex_search(page, std::regex(pattern + R"((\s|$))"));
}

const char* const kSeatLetters[] = {"С", "В", "Ю", "З"};

// A suit as a Russian book writes it, from the deal's own rank characters.
std::string RussianHolding(std::string ranks) {
    static const std::map<char, std::string> letters = {{'A', "Т"}, {'K', "К"},  {'Q', "Д"},
                                                        {'J', "В"}, {'T', "10"}, {'-', "—"}};
    std::string text;
    for (const char rank : ranks)
        text += letters.count(rank) ? letters.at(rank) : std::string(1, rank);
    return text;
}

std::string VulnerabilityWords(std::string_view pbn) {
    return pbn == "NS" ? "СЮ" : pbn == "EW" ? "ВЗ" : pbn == "All" ? "обе" : "никто";
}

// "7 nt 8 5 8 5 s ... par NS 140 2S NS, 3H N" as the handout writes it: the
// table's rows, "БК 8 5 8 5" and so on, then the par line.
std::vector<std::string> FromAnalyzeLine(const std::string& line) {
    const std::map<std::string, std::string> symbols = {
        {"NT", "БК"}, {"S", "♠"}, {"H", "♥"}, {"D", "♦"}, {"C", "♣"}};
    std::vector<std::string> expected;
    const std::regex row(R"((nt|s|h|d|c) (\d+ \d+ \d+ \d+))");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), row);
         it != std::sregex_iterator(); ++it)
        expected.push_back(symbols.at(std::string((*it)[1]) == "nt"
                                          ? "NT"
                                          : std::string(1, std::toupper((*it)[1].str()[0]))) +
                           " " + (*it)[2].str());
    std::smatch par;
    std::regex_search(line, par, std::regex(R"(par (NS|EW) (\d+)(.*))"));
    if (par[2] == "0") return expected.push_back("Пар: 0, пас"), expected;
    std::string text = "Пар: " + std::string(par[1] == "NS" ? "СЮ" : "ВЗ") + " +" + par[2].str();
    const std::string rest = par[3];
    const std::regex contract(R"((\d)(NT|S|H|D|C)(X?) ([NESW]+))");
    for (auto it = std::sregex_iterator(rest.begin(), rest.end(), contract);
         it != std::sregex_iterator(); ++it) {
        text += ", " + (*it)[1].str() + symbols.at((*it)[2].str()) +
                ((*it)[3].length() ? "×" : "") + " ";
        for (const char seat : (*it)[4].str())
            text += kSeatLetters[std::string_view("NESW").find(seat)];
    }
    expected.push_back(text);
    return expected;
}

class CliHandout : public ::testing::Test {
protected:
    // Forty deals, analysed by `analyze` and by `handout` once for every test.
    static void SetUpTestSuite() {
        gFolder = std::make_unique<TTempFolder>();
        const fs::path folder = gFolder->Path();
        ASSERT_EQ(RunCli(folder, {"generate", "--key", "30", "--count", "40", "--quiet", "--out",
                                  F("deals.dls")})
                      .ExitCode,
                  0);
        analyze_ = std::make_unique<TCliRun>(RunCli(folder, {"analyze", F("deals.dls")}));
        handout_ = std::make_unique<TCliRun>(
            RunCli(folder, {"handout", F("deals.dls"), "--out", F("handout.pdf"), "--analyze",
                            "--per-page", "1"}));
    }

    TCliRun Run(const std::vector<std::string>& args) { return RunCli(gFolder->Path(), args); }

    static inline std::unique_ptr<TCliRun> analyze_, handout_;
};

TEST_F(CliHandout, EveryBoardWithItsHandsTableAndPar) {
    ASSERT_EQ(analyze_->ExitCode, 0) << analyze_->Err;
    ASSERT_EQ(handout_->ExitCode, 0) << handout_->Err;
    EXPECT_EQ(handout_->Err, "");
    TDeals deals;
    deals.LoadFromFile(F("deals.dls"));
    const std::vector<std::string> pages = PdfPages(*gFolder, F("handout.pdf"));
    const std::vector<std::string> lines = analyze_->OutLines();
    ASSERT_EQ(deals.Count(), 40);
    ASSERT_EQ(pages.size(), 40U);
    for (int32_t i = 0; i < 40; ++i) {
        SCOPED_TRACE("board " + std::to_string(i + 1));
        const std::string& page = pages[static_cast<std::size_t>(i)];
        EXPECT_TRUE(Shows(page, "Сдача " + std::to_string(i + 1))) << page;
        EXPECT_TRUE(Shows(page, "Сдаёт: " + std::string(kSeatLetters[PbnBoardDealer(i + 1) - 1])));
        EXPECT_TRUE(Shows(page, "Зона: " + VulnerabilityWords(PbnBoardVulnerability(i + 1))));
        TDeal& deal = *deals.GetDeal(i);
        for (int32_t seat = 1; seat <= 4; ++seat) {
            EXPECT_TRUE(Shows(page, std::string(kSeatLetters[seat - 1]) + " " +
                                        std::to_string(deal.Hand(seat).HCP(0))));
            const char* const symbols[] = {"♣", "♦", "♥", "♠"};
            for (int32_t suit = 1; suit <= 4; ++suit)
                EXPECT_TRUE(Shows(page, std::string(symbols[suit - 1]) + " " +
                                            RussianHolding(deal.Hand(seat).SuitText(suit))))
                    << "seat " << seat << " suit " << suit;
        }
        const std::vector<std::string> analysis =
            FromAnalyzeLine(lines[static_cast<std::size_t>(i)]);
        ASSERT_EQ(analysis.size(), 6U) << lines[static_cast<std::size_t>(i)];
        for (const std::string& text : analysis)
            EXPECT_TRUE(Shows(page, text)) << text << "\n" << page;
    }
}

// A deals file's boards take --first-board and --vul; a PBN board keeps its own
// number, dealer and vulnerability; --seats draws only those hands.
TEST_F(CliHandout, NumbersSeatsAndLetters) {
    ASSERT_EQ(Run({"handout", F("deals.dls"), "--out", F("north.pdf"), "--first-board", "17",
                   "--seats=n", "--cards", "en", "--per-page", "2", "--paper=letter", "--vul=EW"})
                  .ExitCode,
              0);
    TDeals deals;
    deals.LoadFromFile(F("deals.dls"));
    const std::vector<std::string> pages = PdfPages(*gFolder, F("north.pdf"));
    ASSERT_EQ(pages.size(), 20U);
    for (const char* text : {"Сдача 17", "Сдаёт: С", "Зона: ВЗ", "Сдача 18", "Сдаёт: В"})
        EXPECT_TRUE(Shows(pages[0], text)) << text;
    for (TDeal* deal : {deals.GetDeal(0), deals.GetDeal(1)}) {  // North in English letters only
        EXPECT_TRUE(Shows(pages[0], "♠ " + deal->Hand(1).SuitText(4)));
        EXPECT_TRUE(Shows(pages[0], "С " + std::to_string(deal->Hand(1).HCP(0))));
        EXPECT_FALSE(deal->Hand(3).SuitLength(4) > 0 &&
                     Shows(pages[0], "♠ " + deal->Hand(3).SuitText(4)));
    }

    std::ofstream(F("board.pbn"))
        << "[Event \"\"]\n[Board \"7\"]\n[Dealer \"W\"]\n[Vulnerable \"All\"]\n"
           "[Deal \"N:AKQJ.T98.765.432 T98.765.432.AKQJ 765.432.AKQJ.T98 432.AKQJ.T98.765\"]\n";
    ASSERT_EQ(Run({"handout", F("board.pbn"), "--out", F("board.pdf"), "--first-board=30",
                   "--dealer=n", "--vul=ns"})
                  .ExitCode,
              0);
    const std::vector<std::string> board = PdfPages(*gFolder, F("board.pdf"));
    ASSERT_EQ(board.size(), 1U);
    for (const char* text : {"Сдача 7", "Сдаёт: З", "Зона: обе", "♠ ТКДВ", "♥ 1098", "С 10"})
        EXPECT_TRUE(Shows(board[0], text)) << text << "\n" << board[0];
}

TEST_F(CliHandout, RefusesBadUsageAndUnwritableFiles) {
    EXPECT_EQ(Run({"handout", F("deals.dls")}).ExitCode, 2);  // no --out
    EXPECT_EQ(Run({"handout", F("deals.dls"), "--out", F("x.pdf"), "--per-page", "3"}).ExitCode, 2);
    const TCliRun missing = Run({"handout", F("deals.dls"), "--out", F("no/such/x.pdf")});
    EXPECT_EQ(missing.ExitCode, 4);
    EXPECT_NE(missing.Err.find("no/such/x.pdf"), std::string::npos) << missing.Err;
    EXPECT_FALSE(fs::exists(F("x.pdf")));
}

}  // namespace

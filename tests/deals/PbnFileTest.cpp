#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <regex>
#include <sstream>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "deals/PbnFile.h"
#include "deals/RandomSource.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/TempFolder.h"
#include "text/FileError.h"

namespace {

namespace fs = std::filesystem;

// The first deal after seeding with the key value 1, hands clockwise from North.
constexpr std::string_view KeyOneFirstDeal =
    "7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A3";

void DealFromKey(TDeals& deals, int32_t keyValue, int32_t count) {
    TRandomSource source;
    source.SetSeed(keyValue);
    for (int32_t i = 0; i < count; ++i) {
        TDeal deal;
        deal.DealRandom(source);
        deals.Add(deal);
    }
}

std::vector<std::string> DealLines(TDeals& deals) {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < deals.Count(); ++i) lines.push_back(deals.GetDeal(i)->ToText());
    return lines;
}

std::string ExportText(TDeals& deals, int64_t keyValue) {
    std::ostringstream out;
    WritePbn(out, deals, keyValue);
    return out.str();
}

TPbnReadCounts ReadText(const std::string& text, TDeals& deals) {
    std::istringstream in(text);
    return ReadPbn(in, deals);
}

std::string WithLineEnds(std::string_view text, std::string_view lineEnd) {
    std::string result;
    for (char c : text) {
        if (c == '\n') {
            result += lineEnd;
        } else {
            result += c;
        }
    }
    return result;
}

// ---- An independent checker of the PBN export format -------------------
//
// Written from the text of the PBN 2.1 standard, not from the writer: CR LF
// line ends; printing ISO-8859-1 characters only (no tabs, no DEL, nothing in
// 128..159); at most 255 bytes to a line with its line end; escape lines
// before the first game; games separated by one empty line; every game line
// one tag pair "[Name "value"]" with only \" and \\ escaped; the fifteen
// mandatory tags first and in order, then supplemental tags sorted
// alphabetically, none twice; the values of the mandatory tags in their
// export forms; the Deal starting at the dealer, upper-case ranks in
// descending order and no card twice.

const std::vector<std::string> MandatoryTags = {
    "Event",  "Site",       "Date", "Board",   "West",     "North",    "East",  "South",
    "Dealer", "Vulnerable", "Deal", "Scoring", "Declarer", "Contract", "Result"};

std::string CheckExportDeal(const std::string& value, const std::string& dealer) {
    static const std::regex Shape(R"(([NESW]):(\S+) (\S+) (\S+) (\S+))");
    std::smatch match;
    if (!std::regex_match(value, match, Shape)) return "Deal value is not <first>:<4 hands>";
    if (match[1].str() != dealer) return "Deal does not start at the dealer";
    const std::string ranks = "AKQJT98765432";
    std::bitset<52> seen;
    for (int hand = 2; hand <= 5; ++hand) {
        std::string text = match[hand].str();
        if (text == "-") continue;
        std::vector<std::string> suits;
        std::stringstream pieces(text + ".");
        for (std::string suit; std::getline(pieces, suit, '.');) suits.push_back(suit);
        if (suits.size() != 4) return "a hand has not four suits: " + text;
        for (std::size_t s = 0; s < 4; ++s) {
            std::size_t last = 0;
            for (std::size_t i = 0; i < suits[s].size(); ++i) {
                std::size_t rank = ranks.find(suits[s][i]);
                if (rank == std::string::npos) return "not an upper-case rank in " + text;
                if (i > 0 && rank <= last) return "ranks not in descending order in " + text;
                last = rank;
                std::size_t card = s * 13 + rank;
                if (seen[card]) return "a card given twice in " + value;
                seen.set(card);
            }
        }
    }
    return "";
}

std::string CheckMandatoryValue(const std::string& name, const std::string& value,
                                const std::string& dealer) {
    auto matches = [&](const char* pattern) {
        return std::regex_match(value, std::regex(pattern));
    };
    if (name == "Date" && !matches(R"(|[0-9?]{4}\.[0-9?]{2}\.[0-9?]{2})")) return "bad Date";
    if (name == "Board" && !matches("[1-9][0-9]*")) return "Board is no positive integer";
    if (name == "Dealer" && !matches("[NESW]")) return "bad Dealer";
    if (name == "Vulnerable" && !matches("None|NS|EW|All")) return "bad Vulnerable";
    if (name == "Declarer" && !matches(R"(|\^?[NESW])")) return "bad Declarer";
    if (name == "Contract" && !matches("|Pass|[1-7](S|H|D|C|NT)(X|XX)?")) return "bad Contract";
    if (name == "Result" && !matches("|[0-9]|1[0-3]")) return "bad Result";
    if (name == "Deal") return CheckExportDeal(value, dealer);
    return "";
}

std::vector<std::string> CheckPbnExport(const std::string& bytes) {
    std::vector<std::string> errors;
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r') {
            if (i + 1 >= bytes.size() || bytes[i + 1] != '\n') errors.push_back("CR without LF");
            continue;
        }
        if (byte == '\n') {
            if (i == 0 || bytes[i - 1] != '\r') errors.push_back("LF without CR");
            if (line.size() + 2 > 255) errors.push_back("line longer than 255 bytes: " + line);
            lines.push_back(line);
            line.clear();
            continue;
        }
        bool printing = (byte >= 32 && byte <= 126) || byte >= 160;
        if (!printing)
            errors.push_back("byte " + std::to_string(byte) + " is not printing ISO-8859-1");
        line += static_cast<char>(byte);
    }
    if (!line.empty()) errors.push_back("last line has no line end");
    if (lines.empty() || lines[0] != "% PBN 2.1") errors.push_back("no % PBN 2.1 header");

    static const std::regex TagLine(R"re(\[([A-Z][A-Za-z0-9_]*) "((?:[^"\\]|\\["\\])*)"\])re");
    std::size_t at = 0;
    while (at < lines.size() && !lines[at].empty() && lines[at][0] == '%') ++at;
    int games = 0;
    while (at < lines.size()) {
        if (games > 0) {
            if (!lines[at].empty()) errors.push_back("no empty line before a game");
            ++at;
        }
        std::vector<std::pair<std::string, std::string>> tags;
        for (; at < lines.size() && !lines[at].empty(); ++at) {
            std::smatch match;
            if (!std::regex_match(lines[at], match, TagLine)) {
                errors.push_back("not a tag pair line: " + lines[at]);
                continue;
            }
            std::string value;
            std::string raw = match[2].str();
            for (std::size_t i = 0; i < raw.size(); ++i)
                value += raw[i] == '\\' ? raw[++i] : raw[i];
            tags.emplace_back(match[1].str(), value);
        }
        ++games;
        if (tags.size() < MandatoryTags.size()) {
            errors.push_back("game " + std::to_string(games) + " lacks mandatory tags");
            if (at < lines.size() && tags.empty()) ++at;  // two empty lines in a row
            continue;
        }
        std::string dealer = tags[8].second;
        for (std::size_t i = 0; i < MandatoryTags.size(); ++i) {
            if (tags[i].first != MandatoryTags[i]) {
                errors.push_back("tag " + tags[i].first + " where " + MandatoryTags[i] +
                                 " belongs");
                continue;
            }
            std::string problem = CheckMandatoryValue(tags[i].first, tags[i].second, dealer);
            if (!problem.empty()) errors.push_back(problem);
        }
        for (std::size_t i = MandatoryTags.size() + 1; i < tags.size(); ++i) {
            if (tags[i - 1].first >= tags[i].first)
                errors.push_back("supplemental tags out of order");
        }
    }
    if (games == 0) errors.push_back("no game");
    return errors;
}

std::string ValueOf(const std::string& game, const std::string& name) {
    std::smatch match;
    std::regex pattern("\\[" + name + " \"([^\"]*)\"\\]");
    return std::regex_search(game, match, pattern) ? match[1].str() : "<none>";
}

std::vector<std::string> GamesOf(const std::string& text) {
    std::vector<std::string> games;
    std::size_t start = text.find("\r\n[");
    while (start != std::string::npos) {
        std::size_t end = text.find("\r\n\r\n", start + 2);
        games.push_back(
            text.substr(start + 2, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : end + 2;
    }
    return games;
}

// ---- Writing -------------------------------------------------------------

TEST(PbnBoard, DealerAndVulnerabilityFollowTheSixteenBoardCycle) {
    struct TCase {
        int64_t board;
        int32_t dealer;
        std::string_view vulnerable;
    };
    const TCase cases[] = {{1, 1, "None"},      {2, 2, "NS"},    {3, 3, "EW"},    {4, 4, "All"},
                           {5, 1, "NS"},        {6, 2, "EW"},    {7, 3, "All"},   {8, 4, "None"},
                           {9, 1, "EW"},        {10, 2, "All"},  {11, 3, "None"}, {12, 4, "NS"},
                           {13, 1, "All"},      {14, 2, "None"}, {15, 3, "NS"},   {16, 4, "EW"},
                           {17, 1, "None"},     {20, 4, "All"},  {32, 4, "EW"},   {33, 1, "None"},
                           {1000001, 1, "None"}};
    for (const TCase& c : cases) {
        EXPECT_EQ(PbnBoardDealer(c.board), c.dealer) << "board " << c.board;
        EXPECT_EQ(PbnBoardVulnerability(c.board), c.vulnerable) << "board " << c.board;
    }
}

TEST(PbnDealValue, StartsAtTheGivenSeatAndListsRanksFromTheAceDown) {
    TDeals deals;
    DealFromKey(deals, 1, 1);
    const TDeal& deal = *deals.GetDeal(0);
    EXPECT_EQ(PbnDealValue(deal, North), "N:" + std::string(KeyOneFirstDeal));
    EXPECT_EQ(PbnDealValue(deal, West),
              "W:A8.KQT973.964.A3 7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6");
}

TEST(PbnDealValue, ADamagedDealGivesAWellFormedValueThatReadsAsIncomplete) {
    TDeal deal;
    // North holds the ace of spades twice, an empty place and the two of
    // spades; the other hands hold nothing.
    deal.FromText("52520 40");
    EXPECT_EQ(PbnDealValue(deal, North), "N:A2... ... ... ...");
    TDeal read;
    EXPECT_FALSE(ReadPbnDealValue(PbnDealValue(deal, North), read));
}

TEST(PbnTagLine, EscapesQuoteAndBackslashAndWritesLatin1) {
    struct TCase {
        std::string_view value;
        std::string line;
    };
    const TCase cases[] = {
        {"", R"([Event ""])"},
        {R"(say "hi")", R"([Event "say \"hi\""])"},
        {R"(C:\deals\x.pbn)", R"([Event "C:\\deals\\x.pbn"])"},
        {"Caf\xC3\xA9", "[Event \"Caf\xE9\"]"},  // é has a Latin-1 form
        {"\xD0\x9A\xD1\x83\xD0\xB1\xD0\xBE\xD0\xBA", R"([Event "?????"])"},  // Cyrillic has none
        {"a\tb\r\nc", R"([Event "a b  c"])"},  // no control characters
        {"x\xFFy", R"([Event "x?y"])"},        // not UTF-8
    };
    for (const TCase& c : cases) EXPECT_EQ(PbnTagLine("Event", c.value), c.line) << c.value;
}

TEST(PbnTagLine, CutsALongValueWithoutSplittingAnEscape) {
    for (std::size_t length : {240u, 246u, 247u, 248u, 400u}) {
        std::string value(length, '"');
        std::string line = PbnTagLine("Event", value);
        EXPECT_LE(line.size() + 2, 255u);
        EXPECT_EQ(line.substr(line.size() - 2), "\"]");
        std::string inner = line.substr(8, line.size() - 10);
        EXPECT_EQ(inner.size() % 2, 0u) << "a lone backslash would escape the closing quote";
        EXPECT_EQ(inner.find_first_not_of("\\\""), std::string::npos);
    }
}

TEST(PbnExport, PassesTheIndependentExportChecker) {
    TDeals deals;
    DealFromKey(deals, 1, 33);
    std::string text = ExportText(deals, 1);
    EXPECT_EQ(CheckPbnExport(text), std::vector<std::string>{});

    std::vector<std::string> games = GamesOf(text);
    ASSERT_EQ(games.size(), 33u);
    const char* letters = "NESW";
    for (std::size_t i = 0; i < games.size(); ++i) {
        int64_t board = static_cast<int64_t>(i) + 1;
        EXPECT_EQ(ValueOf(games[i], "Board"), std::to_string(board));
        EXPECT_EQ(ValueOf(games[i], "Dealer"), std::string(1, letters[PbnBoardDealer(board) - 1]));
        EXPECT_EQ(ValueOf(games[i], "Vulnerable"), PbnBoardVulnerability(board));
        EXPECT_EQ(ValueOf(games[i], "Generator"), "Korvana, key value 1");
    }
    EXPECT_EQ(ValueOf(games[0], "Deal"), "N:" + std::string(KeyOneFirstDeal));
    EXPECT_EQ(text.substr(0, 11), "% PBN 2.1\r\n");
}

TEST(PbnExport, CheckerRejectsEachKindOfFault) {
    TDeals deals;
    DealFromKey(deals, 1, 3);
    const std::string good = ExportText(deals, 7);
    ASSERT_EQ(CheckPbnExport(good), std::vector<std::string>{});
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    struct TCase {
        std::string name;
        std::string text;
    };
    const TCase faults[] = {
        {"LF line ends", WithLineEnds(replaced("\r\n", "\n"), "\n")},
        {"a tab", replaced("[Site \"\"]", "[Site\t\"\"]")},
        {"a C1 control byte", replaced("[Site \"\"]", "[Site \"\x85\"]")},
        {"an unescaped quote", replaced("[Site \"\"]", "[Site \"a\"b\"]")},
        {"a long line", replaced("[Site \"\"]", "[Site \"" + std::string(250, 'x') + "\"]")},
        {"tags out of order",
         replaced("[Event \"\"]\r\n[Site \"\"]", "[Site \"\"]\r\n[Event \"\"]")},
        {"a lower-case rank", replaced("N:7532.A6", "N:7532.a6")},
        {"ranks not descending", replaced("N:7532.A6", "N:7352.A6")},
        {"Deal not at the dealer", replaced("[Deal \"N:", "[Deal \"E:")},
        {"a missing empty line", replaced("\r\n\r\n", "\r\n")},
        {"no header", good.substr(11)},
        {"Vulnerable in an import form", replaced("\"None\"", "\"Love\"")},
    };
    for (const TCase& fault : faults)
        EXPECT_FALSE(CheckPbnExport(fault.text).empty()) << fault.name;
}

TEST(PbnExport, TheSameKeyWritesTheSameFile) {
    TDeals first, second;
    DealFromKey(first, 12345, 10);
    DealFromKey(second, 12345, 10);
    EXPECT_EQ(ExportText(first, 12345), ExportText(second, 12345));
}

// ---- Reading -------------------------------------------------------------

TEST(PbnRoundTrip, DealsOfKeyOneReadBackAsTheSameDealLines) {
    TDeals generated;
    DealFromKey(generated, 1, 100);
    TDeals read;
    TPbnReadCounts counts = ReadText(ExportText(generated, 1), read);
    EXPECT_EQ(counts.Loaded, 100);
    EXPECT_EQ(counts.Skipped, 0);
    EXPECT_EQ(DealLines(read), DealLines(generated));
}

TEST(PbnRoundTrip, ThroughFilesWithTheirMessages) {
    TTempFolder folder;
    std::string name = folder.File("deals.pbn");
    TDeals generated;
    DealFromKey(generated, 1, 5);
    TRecordingSink sink;
    SavePbnFile(name, generated, 1);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "5 раздач(и) сохранены в файле " + name);
    EXPECT_EQ(CheckPbnExport(ReadBytes(name)), std::vector<std::string>{});

    TDeals read;
    DealFromKey(read, 2, 1);  // loading appends
    TPbnLoadResult result = LoadPbnFile(name, read);
    EXPECT_TRUE(result.Found);
    EXPECT_FALSE(result.Refused);
    EXPECT_EQ(result.Counts.Loaded, 5);
    ASSERT_EQ(read.Count(), 6);
    std::vector<std::string> lines = DealLines(read);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), DealLines(generated));
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[1].text,
              "Из файла " + name + " загружено раздач: 5; пропущено игр без полной раздачи: 0");
}

// A file as a person might type it: the key-one deal given from East, from
// West and from South, in lower case, with "10", comments, escape lines, a
// tag spread over lines, tags that mean nothing here, and games without a
// full deal.
constexpr std::string_view HandWritten =
    "% PBN 2.1\n"
    "% a file typed by hand\n"
    "[Event \"Club \\\"night\\\"\"] [Board \"1\"]\n"
    "[Deal \"e:k.842.kj753.10975 qj10964.j5.a108.q6 a8.kqt973.964.a3 7532.a6.q2.kj842\"]\n"
    "[Auction \"E\"]\n"
    "Pass 1H Pass 2H\n"
    "AP\n"
    "\n"
    "{ a game that only talks about the deal\n"
    "\n"
    "[Deal \"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A3\"] }\n"
    "[Event \"no deal here\"]\n"
    "[Dealer \"S\"] ; [Deal \"N:K.842.KJ753.T975 7532.A6.Q2.KJ842 QJT964.J5.AT8.Q6 "
    "A8.KQT973.964.A3\"]\n"
    "\n"
    " \t \n"
    "[Deal\n"
    "  \"W:A8.KQT973.964.A3 7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6\"\n"
    "  ]\n"
    "[Deal \"N:K.842.KJ753.T975 7532.A6.Q2.KJ842 QJT964.J5.AT8.Q6 A8.KQT973.964.A3\"]\n"
    "[OptimumResultTable \"Declarer;Denomination\\2R;Result\\2R\"]\n"
    "N NT 7\n"
    "\n"
    "[Deal \"W:- 7532.A6.Q2.KJ842 K.842.KJ753.T975 -\"]\n"
    "\n"
    "%[Deal \"N:K.842.KJ753.T975 7532.A6.Q2.KJ842 QJT964.J5.AT8.Q6 A8.KQT973.964.A3\"]\n"
    "[Deal \"s:qj10964.j5.a108.q6 a8.kqt973.964.a3 7532.a6.q2.kj842 k.842.kj753.t975\"]";

class PbnHandWritten : public ::testing::TestWithParam<std::string_view> {};

TEST_P(PbnHandWritten, LoadsEveryFullDealAndCountsTheOthers) {
    TDeals expected;
    DealFromKey(expected, 1, 1);
    const std::string line = expected.GetDeal(0)->ToText();

    TDeals read;
    TPbnReadCounts counts = ReadText(WithLineEnds(HandWritten, GetParam()), read);
    // Loaded: the East game, the West game (its second Deal tag is ignored) and
    // the last one. Skipped: the game without a Deal and the one with two hands.
    EXPECT_EQ(counts.Loaded, 3);
    EXPECT_EQ(counts.Skipped, 2);
    EXPECT_EQ(DealLines(read), std::vector<std::string>(3, line));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, PbnHandWritten, ::testing::Values("\n", "\r\n", "\r"));

TEST(ReadPbnDealValue, AcceptsTheImportFormsAndRejectsAnythingButAFullDeal) {
    const std::string full = "N:" + std::string(KeyOneFirstDeal);
    struct TCase {
        std::string value;
        bool accepted;
    };
    const TCase cases[] = {
        {full, true},
        {"  " + full + " \t", true},
        {"N:7532.A6.Q2.KJ842   K.842.KJ753.T975\tQJT964.J5.AT8.Q6 A8.KQT973.964.A3", true},
        {"N:2357.6A.2Q.248JK K.248.357JK.579T 469TJQ.5J.8TA.6Q 8A.379TQK.469.3A", true},
        {"n:7532.a6.q2.kj842 k.842.kj753.1097 5qj10964.j5.a108.q6 a8.kq10973.964.a3", false},
        {"N7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A3", false},
        {"X:" + std::string(KeyOneFirstDeal), false},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6", false},
        {full + " -", false},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 -", true},
        {"E:K.842.KJ753.T975 - A8.KQT973.964.A3 7532.A6.Q2.KJ842", true},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 - -", false},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q -", false},
        {"W:A8.KQT973.964.A3 7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6", true},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 -.KQT973.964.A3A8", false},
        {"N:7532.A6.Q2.KJ84 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A32", false},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A2", false},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJ1964.J5.AT8.Q6 A8.KQT973.964.A3", false},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964A3", false},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A.3", false},
        {"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A3x", false},
        {"N:", false},
        {"", false},
    };
    for (const TCase& c : cases) {
        TDeal deal;
        const std::string before = deal.ToText();
        EXPECT_EQ(ReadPbnDealValue(c.value, deal), c.accepted) << c.value;
        if (!c.accepted) {
            EXPECT_EQ(deal.ToText(), before) << "a refused value changed the deal";
        }
    }
}

TEST(ReadPbnDealValue, StoresEachHandDescendingAtItsSeat) {
    TDeal deal;
    ASSERT_TRUE(ReadPbnDealValue(
        "S:2.3.4.5678910JQKA 3456789TJQKA.2.. .a.2356789tA.243 .KQJT987654.KQJ.", deal));
    // South holds the spade two, heart three, diamond four and clubs 5 to A;
    // West the spades from the three up and the heart two.
    const int32_t south[13] = {40, 28, 16, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4};
    const int32_t west[13] = {52, 51, 50, 49, 48, 47, 46, 45, 44, 43, 42, 41, 27};
    for (int32_t j = 1; j <= 13; ++j) {
        EXPECT_EQ(deal.Hand(South).Card(j), south[j - 1]) << j;
        EXPECT_EQ(deal.Hand(West).Card(j), west[j - 1]) << j;
    }
    EXPECT_EQ(deal.Hand(North).SuitText(Hearts), "A");
    EXPECT_EQ(deal.Hand(North).SuitText(Diamonds), "AT9876532");
    EXPECT_EQ(deal.Hand(East).HCP(0), 12);
}

TEST(ReadPbn, AGameWithoutATagIsNoGameAndABrokenDealIsSkipped) {
    struct TCase {
        std::string text;
        int32_t loaded, skipped;
    };
    const std::string deal = "[Deal \"N:" + std::string(KeyOneFirstDeal) + "\"]";
    const TCase cases[] = {
        {"", 0, 0},
        {"% PBN 2.1\n%\n\n\nPass 1H\n", 0, 0},
        {"This is Deals File\n52 51 50\n", 0, 0},
        {deal + "\n\n\n\n" + deal, 2, 0},
        {"[Deal \"N:" + std::string(KeyOneFirstDeal), 0, 1},            // never closed
        {"[Deal \"N:" + std::string(KeyOneFirstDeal) + "\n\"]", 0, 1},  // broken by a line end
        {"[Deal \"N:" + std::string(KeyOneFirstDeal) + "\" ; ]\n]", 0, 1},
        {"[Deal \"N:" + std::string(300, ' ') + std::string(KeyOneFirstDeal) + "\"]", 0, 1},
        {"[Deal \"" + std::string(100000, 'x') + "\"]\n\n" + deal, 1, 1},
        {"{ never closed\n\n" + deal, 0, 0},
        {deal + "{ comment\n\n}\n[Deal \"#\"]", 1, 0},
        {"[Deal \"#\"]\n", 0, 1},
        {"[Board \"1\"][Deal\"N:" + std::string(KeyOneFirstDeal) + "\"][Dealer \"N\"]", 1, 0},
    };
    for (const TCase& c : cases) {
        TDeals deals;
        TPbnReadCounts counts = ReadText(c.text, deals);
        EXPECT_EQ(counts.Loaded, c.loaded) << c.text.substr(0, 80);
        EXPECT_EQ(counts.Skipped, c.skipped) << c.text.substr(0, 80);
        EXPECT_EQ(deals.Count(), c.loaded);
    }
}

TEST(ReadPbn, SurvivesMangledInputAndOnlyEverLoadsFullDeals) {
    TDeals source;
    DealFromKey(source, 99, 8);
    const std::string good = ExportText(source, 99);
    std::mt19937 random(20261207);
    const std::string specials = "[]{}\";%\\\r\n \t.:NESW10";
    for (int round = 0; round < 300; ++round) {
        std::string text = good;
        int changes = 1 + static_cast<int>(random() % 20);
        for (int i = 0; i < changes; ++i) {
            std::size_t at = random() % text.size();
            switch (random() % 3) {
                case 0:
                    text[at] = static_cast<char>(random() % 256);
                    break;
                case 1:
                    text[at] = specials[random() % specials.size()];
                    break;
                default:
                    text.erase(at, random() % 40);
                    break;
            }
            if (text.empty()) text = "[";
        }
        TDeals deals;
        TPbnReadCounts counts = ReadText(text, deals);
        ASSERT_EQ(deals.Count(), counts.Loaded);
        ASSERT_LE(counts.Loaded + counts.Skipped, 8 + changes);
        for (int32_t d = 0; d < deals.Count(); ++d) {
            std::bitset<53> held;
            for (int32_t seat = North; seat <= West; ++seat) {
                for (int32_t j = 1; j <= 13; ++j)
                    held.set(static_cast<std::size_t>(deals.GetDeal(d)->Hand(seat).Card(j)));
            }
            ASSERT_FALSE(held[0]);
            ASSERT_EQ(held.count(), 52u) << "round " << round;
        }
    }
}

// ---- Files ---------------------------------------------------------------

TEST(LoadPbnFile, AMissingFileOrAFolderDoesNothing) {
    TTempFolder folder;
    TRecordingSink sink;
    TDeals deals;
    fs::create_directory(folder.File("folder.pbn"));
    for (const std::string& name : {folder.File("none.pbn"), folder.File("folder.pbn")}) {
        TPbnLoadResult result = LoadPbnFile(name, deals);
        EXPECT_FALSE(result.Found) << name;
    }
    EXPECT_EQ(deals.Count(), 0);
    EXPECT_TRUE(sink.messages.empty());
}

TEST(LoadPbnFile, AFileWithoutAnyDealIsRefused) {
    TTempFolder folder;
    for (std::string content : {std::string(""), std::string("% PBN 2.1\r\n[Event \"x\"]\r\n"),
                                std::string("This is not PBN at all\n")}) {
        std::string name = folder.File("empty.pbn");
        WriteBytes(name, content);
        TRecordingSink sink;
        TDeals deals;
        DealFromKey(deals, 3, 2);
        TPbnLoadResult result = LoadPbnFile(name, deals);
        EXPECT_TRUE(result.Refused) << content;
        EXPECT_EQ(deals.Count(), 2);
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].text, "Файл " + name + " не содержит раздачи");
    }
}

TEST(LoadPbnFile, TheMessageNamesLoadedAndSkipped) {
    TTempFolder folder;
    std::string name = folder.File("hand.pbn");
    WriteBytes(name, WithLineEnds(HandWritten, "\r\n"));
    TRecordingSink sink;
    TDeals deals;
    LoadPbnFile(name, deals);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text,
              "Из файла " + name + " загружено раздач: 3; пропущено игр без полной раздачи: 2");
}

TEST(LoadPbnFile, AReadErrorThrowsAFileError) {
    TDeals deals;
    // Reading this process's memory from address 0 fails with an I/O error.
    EXPECT_THROW(LoadPbnFile("/proc/self/mem", deals), TFileError);
    EXPECT_EQ(deals.Count(), 0);
}

TEST(SavePbnFile, WritesNothingForAnEmptyCollectionOrAMissingFolder) {
    TTempFolder folder;
    TRecordingSink sink;
    TDeals empty, some;
    DealFromKey(some, 1, 2);
    SavePbnFile(folder.File("empty.pbn"), empty, 1);
    SavePbnFile(folder.File("no/such/folder.pbn"), some, 1);
    SavePbnFile("bare.pbn", some, 1);
    EXPECT_FALSE(fs::exists(folder.File("empty.pbn")));
    EXPECT_FALSE(fs::exists("bare.pbn"));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(WritePbnFile, WritesTheHeaderAloneForAnEmptyCollection) {
    TTempFolder folder;
    TRecordingSink sink;
    TDeals empty;
    WritePbnFile(folder.File("empty.pbn"), empty, 5);
    EXPECT_EQ(ReadBytes(folder.File("empty.pbn")), "% PBN 2.1\r\n% EXPORT\r\n");
    EXPECT_TRUE(sink.messages.empty());
}

TEST(DealFormatOfName, LooksAtTheExtensionInAnyCase) {
    EXPECT_EQ(DealFormatOfName("/tmp/a.pbn"), &PbnFormat());
    EXPECT_EQ(DealFormatOfName("x.PBN"), &PbnFormat());
    EXPECT_EQ(DealFormatOfName("x.Lin"), &LinFormat());
    EXPECT_EQ(DealFormatOfName(".pbn"), nullptr);
    EXPECT_EQ(DealFormatOfName("x.pbn.dls"), &DealsFileFormat());
    EXPECT_EQ(DealFormatOfName("xpbn"), nullptr);
    EXPECT_EQ(&DealFormatForWriting("x.pbn.bak"), &DealsFileFormat());
}

TEST(SavePbnFile, AFolderInTheWayThrowsAFileError) {
    TTempFolder folder;
    TDeals deals;
    DealFromKey(deals, 1, 2);
    fs::create_directory(folder.File("taken.pbn"));
    EXPECT_THROW(SavePbnFile(folder.File("taken.pbn"), deals, 1), TFileError);
}

}  // namespace

// OptimumScore is read in either form and written from North-South's view.
TEST(OptimumScore, ReadsBothFormsAndWritesNorthSouthsSigned) {
    const std::pair<std::string_view, std::optional<int32_t>> cases[] = {
        {"NS 420", 420}, {"NS -460", -460},    {"EW 460", -460},        {" EW -50 ", 50},
        {"NS +90", 90},  {"NS", std::nullopt}, {"EW 4x", std::nullopt}, {"460", std::nullopt}};
    for (const auto& [value, score] : cases) EXPECT_EQ(ReadOptimumScore(value), score) << value;
    EXPECT_EQ(PbnOptimumScore(-460), "NS -460");
}

// Tag text in ISO-8859-1, as the standard has it, is kept as UTF-8 and
// written back as the same bytes; UTF-8 text stays as it is.
TEST(PbnTextAsUtf8, TakesLatin1WhereTheTextIsNoUtf8) {
    EXPECT_EQ(PbnTextAsUtf8("Jos\xE9"), "Jos\xC3\xA9");
    EXPECT_EQ(PbnTextAsUtf8("Jos\xC3\xA9"), "Jos\xC3\xA9");
    EXPECT_EQ(PbnTagLine("West", PbnTextAsUtf8("Jos\xE9")), "[West \"Jos\xE9\"]");
}

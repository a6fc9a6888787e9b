#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "deals/BridgeTerms.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "deals/PbnFile.h"
#include "support/DealInto.h"
#include "support/RecordingSink.h"
#include "support/TempFolder.h"
#include "text/FileError.h"

namespace {

namespace fs = std::filesystem;

const std::string Header = "This is Deals File of Tavex's Bridge Generator";

class DealsFile : public ::testing::Test {
protected:
    std::string PathOf(const std::string& leaf) const { return folder_.File(leaf); }

    std::string Write(const std::string& leaf, const std::string& content) const {
        std::string path = PathOf(leaf);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    static std::string Read(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    static void ExpectSameDeals(const TDeals& a, const TDeals& b) {
        ASSERT_EQ(a.Count(), b.Count());
        for (int32_t i = 0; i < a.Count(); ++i)
            ASSERT_EQ(a.GetDeal(i)->ToText(), b.GetDeal(i)->ToText()) << i;
    }

    TTempFolder folder_;
    TRecordingSink sink_;
};

TEST_F(DealsFile, SavedDealsReadBackCardForCard) {
    TDeals saved;
    DealInto(saved, 1, 50);
    std::string path = PathOf("fifty.dls");
    saved.SaveToFile(path);
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_EQ(sink_.messages[0].text, "50 раздач(и) сохранены в файле " + path);
    EXPECT_EQ(sink_.messages[0].position, -1);

    std::string content = Read(path);
    std::string expected = Header + "\r\n";
    for (int32_t i = 0; i < 50; ++i) expected += saved.GetDeal(i)->ToText() + "\r\n";
    EXPECT_EQ(content, expected);  // 51 lines, each ended by CR LF

    TDeals loaded;
    loaded.LoadFromFile(path);
    ExpectSameDeals(saved, loaded);
    EXPECT_EQ(sink_.messages.size(), 1u);  // loading shows nothing

    loaded.LoadFromFile(path);  // appended, not replaced
    EXPECT_EQ(loaded.Count(), 100);
    EXPECT_EQ(loaded.GetDeal(50)->ToText(), saved.GetDeal(0)->ToText());
}

TEST_F(DealsFile, LineBreaksOfEveryKindAndAMissingLastOne) {
    TDeals saved;
    DealInto(saved, 12345, 3);
    std::string crlf = Header + "\r\n";
    std::string lf = Header + "\n";
    for (int32_t i = 0; i < 3; ++i) {
        crlf += saved.GetDeal(i)->ToText() + "\r\n";
        lf += saved.GetDeal(i)->ToText() + "\n";
    }
    const std::string variants[] = {crlf, crlf.substr(0, crlf.size() - 2), lf,
                                    lf.substr(0, lf.size() - 1)};
    int n = 0;
    for (const std::string& content : variants) {
        TDeals loaded;
        loaded.LoadFromFile(Write("v" + std::to_string(n++) + ".dls", content));
        ExpectSameDeals(saved, loaded);
    }
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(DealsFile, NothingToSaveOrNowhereToSaveIsSilent) {
    TDeals empty;
    std::string path = PathOf("empty.dls");
    empty.SaveToFile(path);
    EXPECT_FALSE(fs::exists(path));

    TDeals deals;
    DealInto(deals, 1, 2);
    deals.SaveToFile(PathOf("missing/x.dls"));
    EXPECT_FALSE(fs::exists(PathOf("missing")));
    const std::string bare = "korvana-bare-name-test.dls";
    deals.SaveToFile(bare);
    EXPECT_FALSE(fs::exists(bare));
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(DealsFile, ASaveReplacesTheFile) {
    std::string path = Write("old.dls", std::string(5000, 'x'));
    TDeals deals;
    DealInto(deals, 1, 1);
    deals.SaveToFile(path);
    EXPECT_EQ(Read(path), Header + "\r\n" + deals.GetDeal(0)->ToText() + "\r\n");
}

TEST_F(DealsFile, AnythingButTheExactHeaderIsRefused) {
    const std::string firstLines[] = {Header + " ",
                                      "this is deals file of tavex's bridge generator", "",
                                      " " + Header, Header.substr(1)};
    int n = 0;
    for (const std::string& first : firstLines) {
        std::string path = Write("bad" + std::to_string(n++) + ".dls",
                                 first + "\r\n" + std::string(107, ' ') + ";\r\n");
        TDeals deals;
        sink_.messages.clear();
        deals.LoadFromFile(path);
        EXPECT_EQ(deals.Count(), 0) << first;
        ASSERT_EQ(sink_.messages.size(), 1u) << first;
        EXPECT_EQ(sink_.messages[0].text, "Файл " + path + " не содержит раздачи");
    }
    // An empty file has no header either.
    TDeals deals;
    sink_.messages.clear();
    deals.LoadFromFile(Write("void.dls", ""));
    EXPECT_EQ(sink_.messages.size(), 1u);
}

TEST_F(DealsFile, MissingFilesAndBareHeadersAddNothing) {
    TDeals deals;
    deals.LoadFromFile(PathOf("nothere.dls"));
    deals.LoadFromFile(folder_.Path().string());  // a folder is no file
    deals.LoadFromFile(Write("header.dls", Header));
    deals.LoadFromFile(Write("headerbreak.dls", Header + "\r\n"));
    EXPECT_EQ(deals.Count(), 0);
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(DealsFile, DamagedLinesLoadWithNeutralFigures) {
    std::string content = Header + "\r\n";
    content += "\r\n";                               // empty line: a deal without cards
    content += std::string(26, ' ') + ";\r\n";       // blank fields, short line
    content += "ab cd ef gh ij kl mn op qr;\r\n";    // letters
    content += "52525252525252525252525252x52\r\n";  // repeated cards, no separator
    content += "-9-8-799 0 53100 1\r\n";             // numbers outside 1..52
    content += "1 2 3 4 5 6 7 8 9 10111213;\r";      // a last line with only CR
    TDeals deals;
    deals.LoadFromFile(Write("damaged.dls", content));
    ASSERT_EQ(deals.Count(), 6);
    EXPECT_TRUE(sink_.messages.empty());
    for (int32_t i = 0; i < 3; ++i) {
        TDeal& deal = *deals.GetDeal(i);
        for (int32_t seat = 1; seat <= 4; ++seat) {
            EXPECT_EQ(deal.HCP(seat, 0), 0);
            EXPECT_EQ(deal.Hand(seat).PatternIndex(), 0);
            EXPECT_EQ(deal.Hand(seat).SuitText(Spades), "-");
            EXPECT_EQ(deal.Hand(seat).ToText(), "0 0 0 0 0 0 0 0 0 0 0 0 0 ;");
        }
    }
    TDeal& repeated = *deals.GetDeal(3);
    EXPECT_EQ(repeated.HCP(North, 0), 52);
    EXPECT_EQ(repeated.Hand(East).Card(1), 52);  // the 28th and 29th characters
    TDeal& outside = *deals.GetDeal(4);
    EXPECT_EQ(outside.Hand(North).ToText(), "-9-8-7990 5 310 1 0 0 0 0 ;");
    EXPECT_EQ(outside.HCP(North, 0), 0);
    EXPECT_EQ(outside.SuitLength(North, Clubs), 2);
    EXPECT_EQ(outside.SuitLength(North, Hearts), 1);
    EXPECT_EQ(deals.GetDeal(5)->SuitLength(North, Clubs), 13);
    deals.ComputeStatistics();
    EXPECT_EQ(deals.ShapeCount[North][0], 4);
    EXPECT_EQ(deals.ShapeCount[North][1], 2);
}

TEST_F(DealsFile, FileSystemFailuresCarryTheSystemTextAndTheName) {
    TDeals deals;
    DealInto(deals, 1, 2);
    // A folder in place of the file cannot be created.
    fs::create_directories(PathOf("taken.dls"));
    try {
        deals.SaveToFile(PathOf("taken.dls"));
        FAIL() << "no error";
    } catch (const TFileError& error) {
        EXPECT_EQ(error.ErrorNumber(), EISDIR);
        EXPECT_EQ(std::string(error.what()),
                  std::strerror(EISDIR) + std::string(": ") + PathOf("taken.dls"));
    }
    if (fs::exists("/dev/full")) {  // a full disk
        EXPECT_THROW(deals.SaveToFile("/dev/full"), TFileError);
    }
    if (fs::exists("/proc/self/mem")) {  // reading at offset 0 is a device error
        TDeals loaded;
        EXPECT_THROW(loaded.LoadFromFile("/proc/self/mem"), TFileError);
    }
    EXPECT_TRUE(sink_.messages.empty());
}

}  // namespace

// Each format of the table: deals written by its writer are recognised by
// their content under any file name, and a readable format reads them back,
// from an open file, as boards of the same deals and rotation.
class EveryDealFormat : public DealsFile, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(EveryDealFormat, WritesWhatItReadsAndIsKnownByItsContent) {
    const TDealFormat& format = DealFormats()[GetParam()];
    TDeals deals;
    DealInto(deals, 9, 7);
    const std::string path = PathOf("deals" + std::string(format.Extension));
    WriteDealsFile(path, format, TDealsAsBoards(deals));
    if (format.Read == nullptr) return;  // written only: never recognised
    const std::string text = Read(path);
    // Bare bytes are known by their extension alone, which wins over content.
    for (const TDealFormat& named : DealFormats()) {
        const bool bare = named.Read != nullptr && named.Probe == nullptr;
        if (format.Probe == nullptr && !bare) continue;
        const std::string name = "x" + std::string(named.Extension);
        EXPECT_EQ(&RecogniseDealFormat(std::string_view(text).substr(0, 512), name),
                  bare ? &named : &format)
            << name;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    TDealsInput in(file.get(), path);
    TDeals back;
    std::vector<TBoard> boards;
    const TDealsLoadResult result = ReadDeals(in, back, &boards);
    EXPECT_EQ(result.Format, &format);
    EXPECT_EQ(result.Loaded, 7);
    ExpectSameDeals(back, deals);
    ASSERT_EQ(boards.size(), 7u);
    for (std::size_t i = 0; i < boards.size(); ++i) {
        TBoard expected;
        expected.SetPosition(static_cast<int64_t>(i) + 1);
        EXPECT_EQ(boards[i].Deal.ToText(), deals.GetDeal(static_cast<int32_t>(i))->ToText());
        EXPECT_EQ(boards[i].Number, expected.Number);
        EXPECT_EQ(boards[i].Dealer, expected.Dealer);
        EXPECT_EQ(boards[i].Vulnerability, expected.Vulnerability);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, EveryDealFormat,
                         ::testing::Range<std::size_t>(0, DealFormats().size()));

// A board keeps the number, dealer and vulnerability its file gives, and the
// file's other tags in order; a value that is not well formed leaves the rotation.
TEST_F(DealsFile, BoardsKeepWhatTheirFileTellsOfThem) {
    const std::string deal =
        "N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A3";
    const struct {
        std::string text;
        int64_t number;
        int32_t dealer;
        std::string vulnerability;
        std::vector<TBoardTag> tags;
    } cases[] = {
        {"[Event \"Club\"]\n[Board \"12\"]\n[Dealer \"W\"]\n[Vulnerable \"Both\"]\n[Deal \"" +
             deal + "\"]\n[Room \"Open\"]\n[Room \"again\"]\n",
         12,
         West,
         "All",
         {{"Event", "Club", ""}, {"Room", "Open", ""}}},
        {"[Board \"x\"]\n[Dealer \"Q\"]\n[Vulnerable \"?\"]\n[Deal \"" + deal + "\"]\n",
         1,
         North,
         "None",
         {}},
        {"qx|c7|md|2SQJT964HJ5DAT8CQ6,SA8HKQT973D964CA3,S7532HA6DQ2CKJ842,|sv|n|pn|a,b,c,d|\n",
         7,
         West,
         "NS",
         {{"qx", "c7", ""},
          {"South", "a", ""},
          {"West", "b", ""},
          {"North", "c", ""},
          {"East", "d", ""}}},
    };
    for (const auto& c : cases) {
        const std::string path = Write("board", c.text);
        TDeals deals;
        std::vector<TBoard> boards;
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             std::fclose);
        TDealsInput in(file.get(), path);
        ReadDeals(in, deals, &boards);
        ASSERT_EQ(boards.size(), 1u) << c.text;
        EXPECT_EQ(boards[0].Number, c.number) << c.text;
        EXPECT_EQ(boards[0].Dealer, c.dealer) << c.text;
        EXPECT_EQ(boards[0].Vulnerability, c.vulnerability) << c.text;
        EXPECT_EQ(boards[0].Tags, c.tags) << c.text;
        EXPECT_EQ(PbnDealValue(boards[0].Deal, North), deal) << c.text;
    }
}

// Damaged boards are named in one text, in file order, by their number or
// else by their game's place; ten at most, the rest counted.
TEST_F(DealsFile, DamagedBoardsAreNamedInOneText) {
    const auto game = [](const std::string& number, const char* lastCard) {
        return (number.empty() ? "" : "[Board \"" + number + "\"]\n") +
               "[Deal \"N:7532.A6.Q2.KJ842 K.842.KJ753.T975 QJT964.J5.AT8.Q6 A8.KQT973.964.A" +
               lastCard + "\"]\n\n";
    };
    std::string thirteen = game("", "3");
    for (int board = 1; board <= 13; ++board) thirteen += game(std::to_string(board), "");
    for (const auto& [text, named] : std::initializer_list<std::pair<std::string, std::string>>{
             {game("", "3") + game("8", ""), "повреждена раздача сдачи 8"},
             {game("8", "") + game("", "3") + game("15", "") + game("", "") + game("16", ""),
              "повреждены раздачи сдач 8, 15, игры 4, сдачи 16"},
             {thirteen, "повреждены раздачи сдач 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 и ещё 3"},
             {"qx|o8|md|2SQJT964HJ5DAT8CQ6,SA8HKQT973D964CA3,S7532HA6DQ2CKJ842A,|\n"
              "qx|o9|md|2SQJT964HJ5DAT8CQ6,SA8HKQT973D964CA3,S7532HA6DQ2CKJ842,|\n",
              "повреждена раздача сдачи 8"},
             {game("", "3"), ""}}) {
        const std::string path = Write("damaged", text);
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             std::fclose);
        TDealsInput in(file.get(), path);
        TDeals deals;
        EXPECT_EQ(DamagedBoardsText(ReadDeals(in, deals).Counts), named) << text;
    }
}

// The Generator tag names what dealt a board, else what the board's own file said.
TEST(BoardGenerator, NamesWhatDealtTheBoardElseWhatItsFileSaid) {
    TBoard board;
    board.Tags = {{"Event", "Club", ""}, {"Generator", "Peer 1.0", ""}};
    EXPECT_EQ(BoardGeneratorText(board), "Peer 1.0");
    board.DealtBy = TDealtBy{-325238589, -325238589, true};
    EXPECT_EQ(BoardGeneratorText(board), "Korvana, secure");
    board.DealtBy->Delayed = true;
    EXPECT_EQ(BoardGeneratorText(board), "Korvana, secure, delayed");
}

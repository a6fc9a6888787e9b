// The writers of many deals at a time (deal lines straight into a buffer, the
// readable line from suit runs, a batch at a time out of the collection) give
// byte for byte what the deal's text is defined as, field by field and suit by
// suit, for dealt deals and for every value a damaged place can hold.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "deals/ReadableLine.h"
#include "deals/internal/LinFile.h"
#include "support/DealInto.h"
#include "support/RecordingSink.h"
#include "support/TempFolder.h"
#include "text/OutputBuffer.h"
#include "text/StringFunctions.h"

namespace {

namespace fs = std::filesystem;

// The deal line as defined: each place IntLeft(card, 2), each hand closed by ";".
std::string DefinedLine(const TDeal& deal) {
    std::string line;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        for (int32_t j = 1; j <= THand::CardsInHand; ++j)
            line += IntLeft(deal.Hand(seat).Card(j), 2, true);
        line += ';';
    }
    return line;
}

// Dealt deals of two keys, then deals whose places hold every byte value, deals
// read from damaged lines and hands out of order.
void FillMixed(TDeals& deals) {
    DealInto(deals, 1, 30000);
    DealInto(deals, 12345, 3000);
    for (int32_t value = -128; value <= 127; ++value) {
        TDeal deal;
        for (int32_t seat = 1; seat <= 4; ++seat)
            for (int32_t j = 1; j <= THand::CardsInHand; ++j)
                deal.Hand(seat).SetCard(j, (value + seat * 17 + j * 5 + 128) % 256 - 128);
        deals.Add(deal);
    }
    for (const char* line :
         {"", "52", "5", "-1-9 0 9x9 ;", " 1 2 3 4 5 6 7 8 9101112;", "AK;QJ;\t1",
          "52514950484746454443424140;39383736353433323130292827;"}) {
        TDeal deal;
        deal.FromText(line);
        deals.Add(deal);
    }
    TDeal ascending;
    for (int32_t j = 1; j <= THand::CardsInHand; ++j)
        for (int32_t seat = 1; seat <= 4; ++seat)
            ascending.Hand(seat).SetCard(j, (seat - 1) * 13 + j);
    deals.Add(ascending);
    DealInto(deals, 7, 2000);
}

TEST(DealOutput, LinesWrittenIntoABufferAreTheDefinedText) {
    TDeals deals;
    FillMixed(deals);
    std::string written, defined;
    TOutputBuffer out([&written](std::string_view chunk) { written += chunk; }, 4096);
    int32_t index = 0;
    ASSERT_TRUE(deals.ForEachBatch([&](std::span<const TDeal> batch) {
        for (const TDeal& deal : batch) {
            EXPECT_EQ(&deal, deals.GetDeal(index++));
            out.Advance(deal.WriteText(out.Room(TDeal::MaxLineLength)));
            out.Append("\n");
            defined += DefinedLine(deal) + "\n";
            EXPECT_EQ(deal.ToText(), DefinedLine(deal));
        }
        return true;
    }));
    out.Flush();
    EXPECT_EQ(index, deals.Count());
    EXPECT_TRUE(written == defined);
}

TEST(DealOutput, ReadableLinesFromSuitRunsAreTheSuitTexts) {
    TDeals deals;
    FillMixed(deals);
    int32_t fast = 0;
    for (int32_t i = 0; i < deals.Count(); ++i) {
        const TDeal& deal = *deals.GetDeal(i);
        char line[ReadableLineRoom];
        const char* end = WriteReadableLine(deal, line);
        const char* start = line;
        if (end == nullptr) continue;  // a damaged deal: only ReadableLine writes it
        ++fast;
        ASSERT_EQ(std::string(start, end), ReadableLine(deal)) << i;
    }
    EXPECT_EQ(fast, 35000);  // every dealt deal, nothing else
    TDeals one;
    DealInto(one, 1, 1);
    char line[ReadableLineRoom];
    const char* start = line;
    const char* end = WriteReadableLine(*one.GetDeal(0), line);
    EXPECT_EQ(std::string(start, end),
              "N 7532.A6.Q2.KJ842 E K.842.KJ753.T975 S QJT964.J5.AT8.Q6 W A8.KQT973.964.A3");
}

// Every two characters a card field can hold read as TextToInt reads them.
TEST(DealOutput, EveryTwoCharacterFieldReadsAsItsInteger) {
    for (int32_t first = 0; first < 256; ++first)
        for (int32_t second = 0; second < 256; ++second) {
            const char field[2] = {static_cast<char>(first), static_cast<char>(second)};
            std::string line(field, 2);
            line += std::string(24, ' ');
            THand hand;
            hand.FromText(line);
            ASSERT_EQ(hand.Card(1), TextToInt(std::string_view(field, 2), 0))
                << first << ' ' << second;
        }
}

// The export game of one deal tag by tag, as PbnTagLine makes each line.
std::string DefinedGame(const TDeal& deal, int64_t board, int64_t keyValue) {
    std::string text = board > 1 ? "\r\n" : "";
    const int32_t dealer = PbnBoardDealer(board);
    const std::pair<const char*, std::string> tags[] = {
        {"Event", ""},
        {"Site", ""},
        {"Date", ""},
        {"Board", std::to_string(board)},
        {"West", ""},
        {"North", ""},
        {"East", ""},
        {"South", ""},
        {"Dealer", std::string(1, "NESW"[dealer - 1])},
        {"Vulnerable", std::string(PbnBoardVulnerability(board))},
        {"Deal", PbnDealValue(deal, dealer)},
        {"Scoring", ""},
        {"Declarer", ""},
        {"Contract", ""},
        {"Result", ""},
        {"Generator", "Korvana, key value " + std::to_string(keyValue)}};
    for (const auto& [name, value] : tags) text += PbnTagLine(name, value) + "\r\n";
    return text;
}

TEST(DealOutput, PbnAndLinWrittenIntoABufferAreTheDefinedText) {
    TDeals deals;
    FillMixed(deals);
    std::ostringstream pbn, lin;
    WritePbn(pbn, deals, -42);
    WriteLin(lin, deals);
    std::string definedPbn = "% PBN 2.1\r\n% EXPORT\r\n", definedLin;
    for (int32_t i = 0; i < deals.Count(); ++i) {
        definedPbn += DefinedGame(*deals.GetDeal(i), i + 1, -42);
        definedLin += LinBoardLine(*deals.GetDeal(i), i + 1) + "\n";
    }
    EXPECT_TRUE(pbn.str() == definedPbn);
    EXPECT_TRUE(lin.str() == definedLin);
    // A deal with a card in two hands keeps it only in the first one written.
    TDeals twice;
    DealInto(twice, 1, 1);
    TDeal damaged = *twice.GetDeal(0);
    damaged.Hand(2).SetCard(1, damaged.Hand(1).Card(1));
    twice.Add(damaged);
    std::ostringstream both;
    WritePbn(both, twice, 1);
    EXPECT_NE(both.str().find(PbnTagLine("Deal", PbnDealValue(damaged, 2))), std::string::npos);
}

TEST(DealOutput, BatchesCoverTheCollectionInOrder) {
    TDeals deals;
    EXPECT_TRUE(deals.DealsAt(0).empty());
    DealInto(deals, 3, 2500);
    std::vector<TDeal> more(1500);
    uint32_t seed = 9;
    for (TDeal& deal : more) deal.DealFromSeed(seed);
    deals.AddAll(more);
    ASSERT_EQ(deals.Count(), 4000);
    EXPECT_EQ(deals.GetDeal(2500)->ToText(), more[0].ToText());
    EXPECT_EQ(deals.GetDeal(3999)->ToText(), more.back().ToText());
    EXPECT_TRUE(deals.DealsAt(-1).empty());
    EXPECT_TRUE(deals.DealsAt(4000).empty());
    EXPECT_EQ(deals.DealsAt(3990).size(), 10u);
    EXPECT_EQ(deals.DealsAt(5, 3).size(), 3u);
    EXPECT_EQ(deals.DealsAt(5, 3).data(), deals.GetDeal(5));
    int32_t seen = 0, batches = 0;
    deals.ForEachBatch([&](std::span<const TDeal> batch) {
        EXPECT_EQ(batch.data(), deals.GetDeal(seen));
        seen += static_cast<int32_t>(batch.size());
        ++batches;
        return true;
    });
    EXPECT_EQ(seen, 4000);
    EXPECT_LT(batches, 10);
    // A taker that stops ends the walk.
    EXPECT_FALSE(deals.ForEachBatch([](std::span<const TDeal>) { return false; }));
}

TEST(DealOutput, ABigDealsFileHasTheDefinedLinesAndReadsBack) {
    const TTempFolder folder;
    TDeals deals;
    FillMixed(deals);
    const std::string name = folder.File("mixed.dls");
    TRecordingSink sink;
    deals.SaveToFile(name);
    std::string defined = std::string(TDeals::FileHeader) + "\r\n";
    for (int32_t i = 0; i < deals.Count(); ++i) defined += DefinedLine(*deals.GetDeal(i)) + "\r\n";
    std::ifstream file(name, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(file), {});
    EXPECT_TRUE(bytes == defined);
    TDeals back;
    back.LoadFromFile(name);
    ASSERT_EQ(back.Count(), deals.Count());
    // Fields that do not survive a line (three and four characters) read as
    // what their first two characters say; every other deal comes back whole.
    for (int32_t i = 0; i < 33000; ++i)
        ASSERT_EQ(back.GetDeal(i)->ToText(), deals.GetDeal(i)->ToText()) << i;
    EXPECT_EQ(back.GetDeal(back.Count() - 1)->ToText(), deals.GetDeal(deals.Count() - 1)->ToText());
}

}  // namespace

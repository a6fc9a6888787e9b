// The boards the window's collection keeps beside its deals, and their companion file.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "deals/CollectionBoards.h"
#include "deals/DealCollection.h"
#include "deals/RandomSource.h"

namespace {

void DealFromKey(TDeals& deals, int32_t keyValue, int32_t count) {
    TRandomSource source;
    source.SetSeed(keyValue);
    TDeal deal;
    for (int32_t i = 0; i < count; ++i) {
        deal.DealRandom(source);
        deals.Add(deal);
    }
}

// Twelve deals: a bare one, three of a key run with South dealing, two read
// from a file (one with its own number, dealer and awkward tags), one of a
// secure run with a delayed text, everyone vulnerable, and the rest bare; five analyses.
TEST(CollectionBoards, TheCompanionKeepsEveryFieldAndOnlyForItsOwnDeals) {
    TDeals deals;
    DealFromKey(deals, 5, 12);
    TCollectionBoards store;
    EXPECT_TRUE(store.AppendDealt(1, 3, {2026, -325238589, false}, {3, std::nullopt}));
    TBoard club, plain;  // the second gives no number, dealer or vulnerability
    club.Number = 7;
    club.Dealer = 2;
    club.Vulnerability = "All";
    club.OwnNumber = club.OwnDealer = club.OwnVulnerability = true;
    club.Tags = {{"Event", "Club night", ""},
                 {"Auction", "E", "Pass 4S\tPass\nPass \\ ok"},
                 {"Annotator", "Сергей", ""}};
    club.DealtBy = TDealtBy{-1, 3, false};
    EXPECT_TRUE(store.AppendBoards(4, std::vector<TBoard>{club, plain}));
    EXPECT_TRUE(store.AppendDealt(6, 1, {0, 0, true, true}, {std::nullopt, "All"}));
    EXPECT_FALSE(store.AppendDealt(5, 2, {1, 1, false}, {}));  // segments only follow
    std::vector<TDealAnalysis> analyses(5);
    analyses[1].Solved = true;
    for (int32_t k = 0; k < 20; ++k) analyses[1].Table.Tricks[k / 4][k % 4] = int8_t(k % 14);
    analyses[2].Fault = "held twice:\tS\\A";
    store.KeepAnalysis(analyses);

    const std::string text = CompanionText(store, deals);
    const TCompanionRead read = ReadCompanionText(text, deals);
    ASSERT_EQ(read.Outcome, TCompanionRead::Read) << text;
    EXPECT_EQ(CompanionText(read.Boards, deals), text);
    const TBoard own = read.Boards.Board(4, TDeal(), 3),
                 numbered = read.Boards.Board(5, TDeal(), 3);
    EXPECT_EQ(own.Tags, club.Tags);
    EXPECT_EQ(std::make_tuple(own.Number, own.Dealer, own.Vulnerability, own.DealtBy->KeyValue),
              std::make_tuple(int64_t{7}, 2, std::string("All"), int64_t{-1}));
    EXPECT_EQ(numbered.Number, 8);                          // 3 + its index
    EXPECT_EQ(read.Boards.Board(2, TDeal(), 3).Dealer, 3);  // the run's South
    EXPECT_EQ(read.Boards.Board(6, TDeal(), 3).DealtBy, (TDealtBy{0, 0, true, true}));
    EXPECT_EQ(read.Boards.Analysis(1)->Table, analyses[1].Table);
    EXPECT_EQ(read.Boards.Analysis(2)->Fault, analyses[2].Fault);

    // Another collection: one deal more (the window's test moves deals).
    TDeals longer;
    DealFromKey(longer, 5, 13);
    EXPECT_EQ(ReadCompanionText(text, longer).Outcome, TCompanionRead::OtherDeals);

    // Damaged: cut short, a line changed, a segment beyond the deals.
    for (const std::string& damaged :
         {text.substr(0, text.size() - 4), text.substr(0, text.size() / 2),
          std::string(text).replace(text.find("dealt 1 3"), 9, "dealt 1 x"),
          std::string(text).replace(text.find("dealt 6 1"), 9, "dealt 6 9"),
          std::string(text).replace(text.find("board 7 2 All"), 13, "board 7 5 All"),
          text + "end\n"}) {
        const TCompanionRead bad = ReadCompanionText(damaged, deals);
        EXPECT_EQ(bad.Outcome, TCompanionRead::Damaged) << damaged;
        EXPECT_FALSE(bad.Boards.HoldsMoreThanDeals());
    }
}

}  // namespace

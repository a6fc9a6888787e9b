// The boards the window's collection keeps beside its deals, and their companion file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "deals/CollectionBoards.h"
#include "deals/DealCollection.h"
#include "deals/RandomSource.h"

namespace {

void DealFromKey(TDeals& deals, int32_t keyValue, int32_t count) {
    TRandomSource source;
    source.SetSeed(keyValue);
    for (int32_t i = 0; i < count; ++i) {
        TDeal deal;
        deal.DealRandom(source);
        deals.Add(deal);
    }
}

// A board as it is written: its facts, tags, origin and table.
std::string Described(const TBoard& board) {
    std::string text = std::to_string(board.Number) + " " + std::to_string(board.Dealer) + " " +
                       board.Vulnerability + " own " + std::to_string(board.OwnNumber) +
                       std::to_string(board.OwnDealer) + std::to_string(board.OwnVulnerability);
    for (const TBoardTag& tag : board.Tags)
        text += " [" + tag.Name + "|" + tag.Value + "|" + tag.Section + "]";
    if (board.DealtBy)
        text += " by " + std::to_string(board.DealtBy->KeyValue) + "/" +
                std::to_string(board.DealtBy->StartSeed) + "/" +
                std::to_string(board.DealtBy->Secure);
    if (board.Analysis) {
        text += board.Analysis->Solved ? " table " : " fault " + board.Analysis->Fault;
        for (const auto& strain : board.Analysis->Table.Tricks)
            for (const int8_t tricks : strain) text += std::to_string(tricks) + ",";
    }
    return text + " " + board.Deal.ToText();
}

// Twelve deals: a bare one, three of a key run with South dealing, two read
// from a file (one with its own number, dealer and awkward tags), one of a
// secure run, everyone vulnerable, and the rest bare.
struct TMixedCollection {
    TDeals deals;
    TCollectionBoards store;
    std::vector<TBoard> fileBoards;

    TMixedCollection() {
        DealFromKey(deals, 5, 12);
        EXPECT_TRUE(store.AppendDealt(1, 3, {2026, -325238589, false}, {3, std::nullopt}));
        TBoard club;
        club.Number = 7;
        club.Dealer = 2;
        club.Vulnerability = "All";
        club.OwnNumber = club.OwnDealer = club.OwnVulnerability = true;
        club.Tags = {{"Event", "Club night", ""},
                     {"Auction", "E", "Pass 4S\tPass\nPass \\ ok"},
                     {"Annotator", "Сергей", ""},
                     {"Generator", "Other program", ""}};
        TBoard plain;  // a file's board that gives no number, dealer or vulnerability
        plain.Tags = {{"Site", "", ""}};
        fileBoards = {club, plain};
        EXPECT_TRUE(store.AppendBoards(4, fileBoards));
        EXPECT_TRUE(store.AppendDealt(6, 1, {0, 0, true}, {std::nullopt, "All"}));
        std::vector<TDealAnalysis> analyses(5);
        analyses[1].Solved = true;
        for (int32_t k = 0; k < 20; ++k) analyses[1].Table.Tricks[k / 4][k % 4] = int8_t(k % 14);
        analyses[2].Fault = "held twice:\tS\\A";
        analyses[4].Solved = true;
        store.KeepAnalysis(analyses);
    }
};

TEST(CollectionBoards, BoardsAreNumberedAsNumberBoardsNumbersTheSameBoards) {
    TMixedCollection mixed;
    // The same boards made by hand, then numbered from 5 as a file's boards are.
    std::vector<TBoard> expected(12);
    for (int32_t i = 0; i < 12; ++i) expected[i].Deal = *mixed.deals.GetDeal(i);
    for (int32_t i = 1; i <= 3; ++i) {
        expected[i].DealtBy = TDealtBy{2026, -325238589, false};
        expected[i].ApplySeating({3, std::nullopt});
    }
    for (int32_t i = 4; i <= 5; ++i) {
        const TDeal deal = expected[i].Deal;
        expected[i] = mixed.fileBoards[i - 4];
        expected[i].Deal = deal;
    }
    expected[6].DealtBy = TDealtBy{0, 0, true};
    expected[6].ApplySeating({std::nullopt, "All"});
    NumberBoards(expected, 5);
    for (int32_t i = 0; i < 5; ++i) {
        expected[i].Analysis = *mixed.store.Analysis(i);
        expected[i].Analysis->Par.reset();
    }

    std::vector<std::string> made;
    TCollectionAsBoards(mixed.store, mixed.deals, 5).ForEach([&](const TBoard& board) {
        made.push_back(Described(board));
        return true;
    });
    ASSERT_EQ(made.size(), 12u);
    for (int32_t i = 0; i < 12; ++i) {
        EXPECT_EQ(made[i], Described(expected[i])) << "board " << i;
        EXPECT_EQ(Described(mixed.store.Board(i, *mixed.deals.GetDeal(i), 5)), made[i]);
    }
    EXPECT_EQ(expected[4].Number, 7);   // its own
    EXPECT_EQ(expected[5].Number, 10);  // 5 + its index
    EXPECT_EQ(expected[2].Dealer, 3);   // the run's South, whatever the number

    // Segments only follow one another; Clear forgets boards and analyses.
    EXPECT_FALSE(mixed.store.AppendDealt(5, 2, {1, 1, false}, {}));
    EXPECT_TRUE(mixed.store.HoldsOwnFacts());
    mixed.store.Clear();
    EXPECT_FALSE(mixed.store.HoldsMoreThanDeals());
    EXPECT_EQ(Described(mixed.store.Board(4, TDeal(), 1)), Described([] {
                  TBoard bare;
                  bare.SetPosition(5);
                  return bare;
              }()));
}

TEST(CollectionBoards, TheCompanionKeepsEveryFieldAndOnlyForItsOwnDeals) {
    TMixedCollection mixed;
    const std::string text = CompanionText(mixed.store, mixed.deals);
    const TCompanionRead read = ReadCompanionText(text, mixed.deals);
    ASSERT_EQ(read.Outcome, TCompanionRead::Read) << text;
    EXPECT_EQ(CompanionText(read.Boards, mixed.deals), text);
    for (int32_t i = 0; i < 12; ++i)
        EXPECT_EQ(Described(read.Boards.Board(i, *mixed.deals.GetDeal(i), 3)),
                  Described(mixed.store.Board(i, *mixed.deals.GetDeal(i), 3)));

    // Another collection: one deal more, or the same count with one card moved.
    TDeals longer;
    DealFromKey(longer, 5, 13);
    EXPECT_EQ(ReadCompanionText(text, longer).Outcome, TCompanionRead::OtherDeals);
    TDeals changed;
    DealFromKey(changed, 5, 12);
    TDeal& edited = *changed.GetDeal(11);
    const int32_t northCard = edited.Hand(1).Card(1);
    edited.Hand(1).SetCard(1, edited.Hand(2).Card(1));
    edited.Hand(2).SetCard(1, northCard);
    EXPECT_EQ(ReadCompanionText(text, changed).Outcome, TCompanionRead::OtherDeals);

    // Damaged: cut short, a line changed, a segment beyond the deals.
    for (const std::string& damaged :
         {text.substr(0, text.size() - 4), text.substr(0, text.size() / 2),
          std::string(text).replace(text.find("dealt 1 3"), 9, "dealt 1 x"),
          std::string(text).replace(text.find("dealt 6 1"), 9, "dealt 6 9"),
          std::string(text).replace(text.find("board 7 2 All"), 13, "board 7 5 All"),
          text + "end\n"}) {
        const TCompanionRead bad = ReadCompanionText(damaged, mixed.deals);
        EXPECT_EQ(bad.Outcome, TCompanionRead::Damaged) << damaged;
        EXPECT_FALSE(bad.Boards.HoldsMoreThanDeals());
    }
}

}  // namespace

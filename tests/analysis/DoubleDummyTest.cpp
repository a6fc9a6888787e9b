// Double-dummy tables: layouts whose tricks are plain to see, agreement with the
// solver's own single-deal entry point, the single-result path and its threads,
// par, and damaged deals.
#include <dds/dll.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <tuple>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "analysis/SolverLibrary.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"
#include "deals/PbnFile.h"
#include "deals/RandomSource.h"

namespace {

TDeal FromPbn(std::string_view value) {
    TDeal deal;
    EXPECT_TRUE(ReadPbnDealValue(value, deal)) << value;
    return deal;
}

// Each hand holds one whole suit.
constexpr std::string_view OneSuitEach =
    "N:AKQJT98765432... .AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432";
// North holds thirteen top tricks.
constexpr std::string_view ThirteenTop =
    "N:AKQJ.AKQJ.AKQJ.A T98.T98.T987.654 765.7654.6543.32 432.32.2.KQJT987";
// West holds seven running clubs, North-South every other winner.
constexpr std::string_view SevenClubs =
    "N:AKQJ.AKQJ.AKQJ.7 765.7654.6543.32 T98.T98.T987.654 432.32.2.AKQJT98";

std::vector<TDeal> RandomDeals(int32_t count, uint32_t seed) {
    std::vector<TDeal> deals(static_cast<std::size_t>(count));
    for (TDeal& deal : deals) deal.DealFromSeed(seed);
    return deals;
}

TTrickTable SolverTable(const TDeal& deal) {
    ddTableDeal table{};
    for (int32_t seat = 1; seat <= 4; ++seat) {
        for (int32_t j = 1; j <= THand::CardsInHand; ++j) {
            int32_t card = deal.Hand(seat).Card(j);
            table.cards[seat - 1][4 - CardSuit(card)] |= 1u << ((card - 1) % 13 + 2);
        }
    }
    ddTableResults results{};
    EXPECT_EQ(CalcDDtable(table, &results), RETURN_NO_FAULT);
    TTrickTable own;
    for (int32_t strain = 0; strain <= 4; ++strain)
        for (int32_t seat = 0; seat < 4; ++seat)
            own.Tricks[static_cast<std::size_t>(strain)][static_cast<std::size_t>(seat)] =
                static_cast<int8_t>(results.resTable[strain == NoTrump ? 4 : 4 - strain][seat]);
    return own;
}

}  // namespace

TEST(DoubleDummyTest, PlainLayoutsGiveTheirKnownTables) {
    struct TCase {
        std::string_view Deal;
        int32_t Strain;
        std::array<int32_t, 4> Tricks;  // North, East, South, West
    };
    const TCase cases[] = {
        // Trumps held by one hand make every trick for its side, nothing for the other.
        {OneSuitEach, Spades, {13, 0, 13, 0}},
        {OneSuitEach, Hearts, {0, 13, 0, 13}},
        {OneSuitEach, Diamonds, {13, 0, 13, 0}},
        {OneSuitEach, Clubs, {0, 13, 0, 13}},
        // In notrump the opening leader runs a whole suit.
        {OneSuitEach, NoTrump, {0, 0, 0, 0}},
        {ThirteenTop, NoTrump, {13, 0, 13, 0}},
        // The defenders cash seven clubs; declaring, they lose twelve top tricks.
        {SevenClubs, NoTrump, {6, 1, 6, 1}},
    };
    for (const TCase& c : cases) {
        TDealAnalysis analysis = AnalyseDeal(FromPbn(c.Deal));
        ASSERT_TRUE(analysis.Solved) << c.Deal << ": " << analysis.Fault;
        for (int32_t seat = 1; seat <= 4; ++seat) {
            EXPECT_EQ(analysis.Table.At(seat, c.Strain),
                      c.Tricks[static_cast<std::size_t>(seat - 1)])
                << c.Deal << " strain " << c.Strain << " seat " << seat;
        }
    }
}

TEST(DoubleDummyTest, BatchTablesEqualTheSolversSingleDealTables) {
    ClearAnalysisCache();
    std::vector<TDeal> deals = RandomDeals(200, 20261208);
    std::vector<const TDeal*> pointers;
    for (const TDeal& deal : deals) pointers.push_back(&deal);
    std::vector<TDealAnalysis> results;
    std::vector<int32_t> progress;
    ASSERT_TRUE(AnalyseDeals(pointers, results, [&](int32_t done) {
        progress.push_back(done);
        return true;
    }));
    ASSERT_EQ(results.size(), deals.size());
    // Batches of the solver's largest size, the last one shorter.
    EXPECT_EQ(progress, (std::vector<int32_t>{40, 80, 120, 160, 200}));
    for (std::size_t i = 0; i < deals.size(); ++i) {
        ASSERT_TRUE(results[i].Solved) << i;
        EXPECT_EQ(results[i].Table, SolverTable(deals[i]))
            << "deal " << i << " " << deals[i].ToText();
    }
}

TEST(DoubleDummyTest, SingleResultsFromManyThreadsAgreeWithTheTables) {
    std::vector<TDeal> deals = RandomDeals(2, 77);
    std::vector<TTrickTable> expected;
    for (const TDeal& deal : deals) expected.push_back(SolverTable(deal));
    ClearAnalysisCache();  // the single results are solved, not read from the cache
    std::vector<int32_t> mismatches(3, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < mismatches.size(); ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = 0; i < deals.size(); ++i) {
                TDeal deal = deals[(i + t) % deals.size()];
                const TTrickTable& table = expected[(i + t) % deals.size()];
                for (int32_t seat = 1; seat <= 4; ++seat) {
                    int32_t suit = static_cast<int32_t>((seat + t) % 5);  // 0: notrump
                    int32_t tricks = DoubleDummyTricks(deal, seat, suit);
                    if (tricks != table.At(seat, suit)) ++mismatches[t];
                    // Asked again, the thread's last deal answers without a solve.
                    if (DoubleDummyTricks(deal, seat, suit) != tricks) ++mismatches[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(mismatches, std::vector<int32_t>(3, 0));
    TDeal deal = deals[0];
    EXPECT_EQ(DoubleDummyTricks(deal, 5, Spades), -1);
    EXPECT_EQ(DoubleDummyTricks(deal, North, 5), -1);
}

// A question with a target answers as the exact count would, for every bound;
// each is one solve with a target, and two answers that pin the count make an
// exact solve unneeded.
TEST(DoubleDummyTest, QuestionsWithATargetAgreeWithTheExactCount) {
    const struct {
        int32_t Declarer, Strain;
    } pairs[] = {{North, Spades}, {East, NoTrump}, {West, Hearts}};
    for (const TDeal& deal : RandomDeals(3, 4242)) {
        const TTrickTable table = SolverTable(deal);
        for (const auto& [declarer, strain] : pairs) {
            const int32_t tricks = table.At(declarer, strain);
            for (int32_t least : {-2147483647 - 1, -1, 0, 1, 2, 5, 7, 8, 9, 10, 12, 13, 14}) {
                ClearAnalysisCache();
                const TSingleSolves before = DoubleDummySingleSolves();
                EXPECT_EQ(DoubleDummyAtLeast(deal, declarer, strain, least), tricks >= least)
                    << deal.ToText() << " declarer " << declarer << " strain " << strain
                    << " at least " << least;
                const TSingleSolves after = DoubleDummySingleSolves();
                EXPECT_EQ(after.Exact, before.Exact);
                EXPECT_EQ(after.Bounded - before.Bounded, least >= 1 && least <= 13 ? 1 : 0);
            }
            ClearAnalysisCache();
            DoubleDummyAtLeast(deal, declarer, strain, tricks);
            DoubleDummyAtLeast(deal, declarer, strain, tricks + 1);
            const int64_t solves = DoubleDummySolveCount();
            EXPECT_EQ(DoubleDummyTricks(deal, declarer, strain), tricks);
            EXPECT_TRUE(DoubleDummyAtLeast(deal, declarer, strain, tricks));
            EXPECT_EQ(DoubleDummySolveCount(), solves);
        }
    }
    TDeal damaged = RandomDeals(1, 5).front();
    damaged.Hand(West).SetCard(13, 0);
    EXPECT_TRUE(DoubleDummyAtLeast(damaged, North, Spades, -1));
    EXPECT_FALSE(DoubleDummyAtLeast(damaged, North, Spades, 0));
    EXPECT_FALSE(DoubleDummyAtLeast(damaged, 5, Spades, 0));
}

TEST(DoubleDummyTest, ParNamesTheScoreAndTheContracts) {
    TDealAnalysis analysis = AnalyseDeal(FromPbn(OneSuitEach));
    ASSERT_TRUE(analysis.Solved);
    TParResult par;
    std::string fault;
    // Both sides make a grand slam; North-South's spades outrank East-West's hearts.
    ASSERT_TRUE(ComputePar(analysis.Table, North, "None", par, fault)) << fault;
    EXPECT_EQ(par.Score, 1510);
    ASSERT_FALSE(par.Contracts.empty());
    EXPECT_EQ(ParContractText(par.Contracts[0]), "7S");
    EXPECT_EQ(par.Contracts[0].Declarers, "NS");
    ASSERT_TRUE(ComputePar(analysis.Table, East, "All", par, fault)) << fault;
    EXPECT_EQ(par.Score, 2210);

    analysis = AnalyseDeal(FromPbn(ThirteenTop));
    ASSERT_TRUE(analysis.Solved);
    ASSERT_TRUE(ComputePar(analysis.Table, West, "NS", par, fault)) << fault;
    EXPECT_EQ(par.Score, 2220);
    ASSERT_FALSE(par.Contracts.empty());
    EXPECT_EQ(ParContractText(par.Contracts[0]), "7NT");
}

TEST(DoubleDummyTest, DamagedDealsAreRefusedByNameAndTheRestAreSolved) {
    TDeal whole = FromPbn(ThirteenTop);
    TDeal repeated = whole;
    repeated.Hand(South).SetCard(1, whole.Hand(North).Card(1));
    TDeal empty = whole;
    empty.Hand(West).SetCard(13, 0);
    EXPECT_EQ(DealFault(whole), "");
    EXPECT_EQ(DealFault(repeated), "у Юга на месте 1 повторяется карта 52 (AS)");
    EXPECT_EQ(DealFault(empty), "у Запада на месте 13 нет карты");

    const TDeal* deals[] = {&repeated, &whole, &empty};
    std::vector<TDealAnalysis> results;
    ASSERT_TRUE(AnalyseDeals(deals, results));
    EXPECT_FALSE(results[0].Solved);
    EXPECT_FALSE(results[0].Fault.empty());
    EXPECT_TRUE(results[1].Solved);
    EXPECT_EQ(results[1].Table.At(North, NoTrump), 13);
    EXPECT_FALSE(results[2].Solved);
    EXPECT_EQ(DoubleDummyTricks(repeated, North, Spades), -1);
    EXPECT_EQ(DoubleDummyTricks(empty, North, NoTrump), -1);
}

TEST(DoubleDummyTest, AStoppedRunLeavesTheRestUnsolved) {
    ClearAnalysisCache();
    // A first batch of layouts that solve at once, then deals left for later.
    std::vector<TDeal> deals(40, FromPbn(OneSuitEach));
    for (const TDeal& deal : RandomDeals(5, 5)) deals.push_back(deal);
    std::vector<const TDeal*> pointers;
    for (const TDeal& deal : deals) pointers.push_back(&deal);
    std::vector<TDealAnalysis> results;
    EXPECT_FALSE(AnalyseDeals(pointers, results, [](int32_t) { return false; }));
    EXPECT_TRUE(results[39].Solved);
    EXPECT_FALSE(results[40].Solved);
    EXPECT_TRUE(results[40].Fault.empty());
}

// The environment's cap wins over the process's default, 0 there lifts it, and
// a cap too small for the threads is raised to keep them all.
TEST(DoubleDummyTest, SolverMemoryCapComesFromTheEnvironmentThenTheDefault) {
    // The environment (nullptr: not set), the default, the threads; the cap.
    const std::tuple<const char*, int, int, int> cases[] = {
        {nullptr, 0, 2, 0},  {nullptr, 60, 2, 60}, {"0", 60, 2, 0}, {"", 60, 2, 60},
        {"100", 60, 2, 100}, {nullptr, 60, 4, 96}, {"10", 0, 1, 24}};
    for (const auto& [environment, defaultCap, threads, cap] : cases) {
        unsetenv("KORVANA_SOLVER_MEMORY_MB");
        if (environment != nullptr) setenv("KORVANA_SOLVER_MEMORY_MB", environment, 1);
        SetSolverMemoryDefault(defaultCap);
        EXPECT_EQ(SolverMemoryCap(threads), cap) << (environment ? environment : "unset");
    }
    unsetenv("KORVANA_SOLVER_MEMORY_MB");
    SetSolverMemoryDefault(0);
}

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "analysis/DoubleDummy.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/FixedCards.h"
#include "deals/RandomSource.h"
#include "engine/Generator.h"
#include "engine/RunController.h"
#include "language/Grammar.h"
#include "support/AllocationCounter.h"
#include "support/RecordingSink.h"

namespace {

// The random source of the runs of this program, as the program has one.
TRandomSource RandomSource;

// Waits until the condition holds, doing `meanwhile` between looks; false after
// a minute without it, so that a run that never gets there fails the test
// instead of hanging it.
template <typename TCondition, typename TMeanwhile>
bool WaitUntil(TCondition condition, TMeanwhile meanwhile) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        meanwhile();
    }
    return true;
}
template <typename TCondition>
bool WaitUntil(TCondition condition) {
    return WaitUntil(condition, [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
}

// Records every request of a run, in order, from the worker thread.
class TRecordingOwner : public TGeneratorOwner {
public:
    struct TEvent {
        char Kind;  // 'P' progress, 'S' show deal, 'F' finished
        int64_t A;
        int64_t B;
    };
    void ReportProgress(int32_t kept, int64_t dealt) override {
        Record({'P', kept, dealt});
        lastDealt_.store(dealt);
    }
    void ShowDeal(int32_t index) override { Record({'S', index, 0}); }
    void GenerationFinished(int32_t kept, int32_t startCount) override {
        Record({'F', kept, startCount});
    }

    std::vector<TEvent> Events() {
        std::lock_guard lock(mutex_);
        return events_;
    }
    int64_t LastDealt() const { return lastDealt_.load(); }

private:
    void Record(TEvent event) {
        std::lock_guard lock(mutex_);
        events_.push_back(event);
    }
    std::mutex mutex_;
    std::vector<TEvent> events_;
    std::atomic<int64_t> lastDealt_{0};
};

struct TRunResult {
    std::vector<std::string> Lines;  // deal lines of the deals this run added
    int32_t Kept = 0;
    int64_t Dealt = 0;
    uint32_t SeedAfter = 0;
    std::vector<TRecordingOwner::TEvent> Events;
};

class GeneratorTest : public ::testing::Test {
protected:
    std::unique_ptr<TRuleList> rules = CreateConditionRules();
    std::unique_ptr<TDeals> owned = std::make_unique<TDeals>();
    TDeals& deals() { return *owned; }
    void FreshDeals() { owned = std::make_unique<TDeals>(); }

    TGeneratorInputs Inputs(const std::string& condition, int32_t total, int32_t threads = 1) {
        TGeneratorInputs inputs;
        if (!condition.empty()) inputs.ConditionLines = {condition};
        inputs.Rules = rules.get();
        inputs.Source = &RandomSource;
        inputs.RequestedTotal = total;
        inputs.ThreadCount = threads;
        return inputs;
    }

    // One whole run on the shared random source, as it stands.
    TRunResult Run(TGeneratorInputs inputs) {
        TRecordingOwner owner;
        int32_t before = deals().Count();
        TGenerator generator(owner, deals(), std::move(inputs));
        EXPECT_TRUE(generator.PrepareCondition());
        generator.Start();
        generator.Wait();
        TRunResult result;
        for (int32_t i = before; i < deals().Count(); ++i)
            result.Lines.push_back(deals().GetDeal(i)->ToText());
        result.Events = owner.Events();
        EXPECT_FALSE(result.Events.empty());
        if (!result.Events.empty()) {
            const auto& finished = result.Events.back();
            EXPECT_EQ(finished.Kind, 'F');
            result.Kept = static_cast<int32_t>(finished.A);
            EXPECT_EQ(finished.B, before);
        }
        // The final counts always arrive, just before the end.
        if (result.Events.size() >= 2) {
            const auto& progress = result.Events[result.Events.size() - 2];
            EXPECT_EQ(progress.Kind, 'P');
            EXPECT_EQ(progress.A, result.Kept);
            result.Dealt = progress.B;
        }
        result.SeedAfter = RandomSource.Seed();
        return result;
    }
};

// The deals of a seed, dealt one after another without a generator.
std::vector<TDeal> DealsFromSeed(uint32_t seed, int count) {
    std::vector<TDeal> result(static_cast<size_t>(count));
    for (TDeal& deal : result) deal.DealFromSeed(seed);
    return result;
}

std::string SuitTexts(const TDeal& deal, int32_t seat) {
    const THand& hand = deal.Hand(seat);
    return hand.SuitText(4) + " " + hand.SuitText(3) + " " + hand.SuitText(2) + " " +
           hand.SuitText(1);
}

TEST_F(GeneratorTest, EmptyConditionKeepsTheFirstDealsOfTheKey) {
    RandomSource.SetSeed(1);
    TRunResult run = Run(Inputs("", 3));
    ASSERT_EQ(run.Lines.size(), 3u);
    EXPECT_EQ(run.Kept, 3);
    EXPECT_EQ(run.Dealt, 3);
    const TDeal& first = *deals().GetDeal(0);
    EXPECT_EQ(SuitTexts(first, 1), "7532 A6 Q2 KJ842");
    EXPECT_EQ(SuitTexts(first, 2), "K 842 KJ753 T975");
    EXPECT_EQ(SuitTexts(first, 3), "QJT964 J5 AT8 Q6");
    EXPECT_EQ(SuitTexts(first, 4), "A8 KQT973 964 A3");
    EXPECT_EQ(SuitTexts(*deals().GetDeal(1), 1), "Q42 AT865 QJ6 T7");
    std::vector<TDeal> expected = DealsFromSeed(1, 3);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(run.Lines[i], expected[i].ToText()) << "deal " << i;
    EXPECT_EQ(run.SeedAfter, TRandomSource::JumpAhead(1, 3 * 51));
}

TEST_F(GeneratorTest, TwoRunsWithoutReseedingContinueOneSequence) {
    RandomSource.SetSeed(12345);
    const std::string condition = "HCP(North) >= 12";
    TRunResult first = Run(Inputs(condition, 4));
    TRunResult second = Run(Inputs(condition, 3));
    EXPECT_EQ(second.Events.back().B, 4) << "StartCount of the second run";

    RandomSource.SetSeed(12345);
    FreshDeals();
    TRunResult together = Run(Inputs(condition, 7));
    std::vector<std::string> joined = first.Lines;
    joined.insert(joined.end(), second.Lines.begin(), second.Lines.end());
    EXPECT_EQ(joined, together.Lines);
    EXPECT_EQ(first.Dealt + second.Dealt, together.Dealt);
    EXPECT_EQ(second.SeedAfter, together.SeedAfter);
    EXPECT_NE(first.Lines, second.Lines);
}

TEST_F(GeneratorTest, ShowDealFollowsEachKeptDealOnlyWhenASeatIsShown) {
    for (bool shown : {false, true}) {
        SCOPED_TRACE(shown);
        RandomSource.SetSeed(7);
        int32_t before = deals().Count();
        TGeneratorInputs inputs = Inputs("Balanced(South)", 5);
        inputs.AnySeatShown = shown;
        TRunResult run = Run(inputs);
        std::vector<int64_t> shownIndexes;
        for (const auto& event : run.Events)
            if (event.Kind == 'S') shownIndexes.push_back(event.A);
        if (shown)
            EXPECT_EQ(shownIndexes, (std::vector<int64_t>{before, before + 1, before + 2,
                                                          before + 3, before + 4}));
        else
            EXPECT_TRUE(shownIndexes.empty());
    }
}

// A condition no deal meets runs until it is stopped, and leaves the
// collection as it was; stopping is not an error.
TEST_F(GeneratorTest, ImpossibleConditionRunsUntilStoppedAndKeepsNothing) {
    RandomSource.SetSeed(99);
    deals().Add(DealsFromSeed(5, 1).front());
    std::string before = deals().GetDeal(0)->ToText();

    TRecordingOwner owner;
    TGenerator generator(owner, deals(), Inputs("Range(North, 20, 10)", 5));
    ASSERT_TRUE(generator.PrepareCondition());
    generator.Start();
    EXPECT_TRUE(WaitUntil([&] { return owner.LastDealt() >= 20000; }));
    generator.Terminate();
    generator.Wait();

    auto events = owner.Events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.back().Kind, 'F');
    EXPECT_EQ(events.back().A, 0);
    EXPECT_EQ(events.back().B, 1);
    int64_t dealt = events[events.size() - 2].B;
    EXPECT_GE(dealt, 20000);
    EXPECT_EQ(deals().Count(), 1);
    EXPECT_EQ(deals().GetDeal(0)->ToText(), before);
    // Every dealt deal drew its 51 numbers from the shared source.
    EXPECT_EQ(RandomSource.Seed(), TRandomSource::JumpAhead(99, static_cast<uint64_t>(dealt) * 51));
}

TEST_F(GeneratorTest, MaxDealtStopsAtExactlyThatDeal) {
    for (int32_t threads : {1, 2}) {
        SCOPED_TRACE(threads);
        RandomSource.SetSeed(3);
        TGeneratorInputs inputs = Inputs("Range(North, 20, 10)", 1, threads);
        inputs.MaxDealt = 5000;
        TRunResult run = Run(inputs);
        EXPECT_EQ(run.Kept, 0);
        EXPECT_EQ(run.Dealt, 5000);
        EXPECT_EQ(run.SeedAfter, TRandomSource::JumpAhead(3, 5000 * 51));
    }
}

// A comparison of tricks with a constant asks the solver one question with a
// target per dealt deal, and keeps the deals the exact count keeps.
TEST_F(GeneratorTest, TricksComparedWithAConstantAreOneQuestionPerDeal) {
    ClearAnalysisCache();
    std::vector<std::string> kept;
    for (const bool exact : {false, true}) {
        const char* condition = exact ? "(0 + Tricks(N, SP)) >= 8" : "Tricks(N, SP) >= 8";
        RandomSource.SetSeed(11);
        TGeneratorInputs inputs = Inputs(condition, 1000);
        inputs.MaxDealt = 100;
        const TSingleSolves before = DoubleDummySingleSolves();
        TRunResult run = Run(inputs);
        const TSingleSolves after = DoubleDummySingleSolves();
        EXPECT_EQ(after.Exact - before.Exact, exact ? 100 : 0) << condition;
        EXPECT_EQ(after.Bounded - before.Bounded, exact ? 0 : 100) << condition;
        if (exact) {
            EXPECT_EQ(run.Lines, kept);
        }
        kept = run.Lines;
        EXPECT_GT(kept.size(), 5u);
        EXPECT_LT(kept.size(), 95u);
    }
}

// The check refuses a condition with any error; the run never starts and the
// caret goes where the first message points.
struct TRefusal {
    std::vector<std::string> lines;
    std::string message;  // empty: refused without a message
    int32_t position;
};

void PrintTo(const TRefusal& refusal, std::ostream* out) {
    for (const std::string& line : refusal.lines) *out << "[" << line << "]";
}

class GeneratorRefusalTest : public GeneratorTest,
                             public ::testing::WithParamInterface<TRefusal> {};

TEST_P(GeneratorRefusalTest, RefusesWithTheFirstMessageAndItsPosition) {
    const TRefusal& refusal = GetParam();
    TRecordingSink sink;
    TRecordingOwner owner;
    TGeneratorInputs inputs = Inputs("", 3);
    inputs.ConditionLines = refusal.lines;
    TGenerator generator(owner, deals(), inputs);
    EXPECT_FALSE(generator.PrepareCondition());
    generator.Start();  // refused: nothing runs
    generator.Wait();
    EXPECT_TRUE(owner.Events().empty());
    EXPECT_EQ(deals().Count(), 0);
    if (refusal.message.empty()) {
        EXPECT_TRUE(sink.messages.empty());
    } else {
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0].text, refusal.message);
        EXPECT_EQ(generator.ErrorPosition(), refusal.position);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, GeneratorRefusalTest,
    ::testing::Values(
        TRefusal{{"HCP(North)"}, "Несоответствие типов: требуется \"Логический\"", 0},
        // Lines are joined with nothing between them.
        TRefusal{{"HCP(North)>12", "AND Balanced(North)"},
                 "Нераспознанный идентификатор: \"12AND\"",
                 11},
        // All operators group to the right: 12 AND Balanced(North) is not Boolean.
        TRefusal{{"HCP(North)>12 ", "AND Balanced(North)"},
                 "Несоответствие типов: требуется \"Логический\"",
                 11},
        // An extra parameter is checked by nothing above it, yet its error refuses.
        TRefusal{{"Range(N, 1, 5, HCP(5))"}, "Несоответствие типов: требуется \"Позиция\"", 19},
        TRefusal{{"   "}, "", 0}));

TEST_F(GeneratorTest, ConditionOnTwoLinesWithABlankRuns) {
    RandomSource.SetSeed(1);
    TGeneratorInputs inputs = Inputs("", 2);
    inputs.ConditionLines = {"(HCP(North)>12) ", "AND Balanced(North)"};
    TRunResult run = Run(inputs);
    EXPECT_EQ(run.Kept, 2);
    for (int32_t i = 0; i < deals().Count(); ++i) {
        TDeal deal = *deals().GetDeal(i);
        EXPECT_GT(deal.HCP(1, 0), 12);
        EXPECT_TRUE(deal.Balanced(1, -1, -1));
    }
}

// Any number of threads, dealing blocks of any size, keeps exactly the deals of one thread, in
// the same order, with the same dealt count and the same seed left for the next run.
struct TSameAsOneThread {
    int32_t key;
    int32_t total;
    std::string condition;
    int64_t maxDealt;
    std::string fixed = "";  // fixed cards, as ReadFixedCards reads them
};

void PrintTo(const TSameAsOneThread& c, std::ostream* out) {
    *out << "key " << c.key << ", total " << c.total << ", [" << c.condition << "], max dealt "
         << c.maxDealt;
    if (!c.fixed.empty()) *out << ", fixed " << c.fixed;
}

class GeneratorThreadsTest : public GeneratorTest,
                             public ::testing::WithParamInterface<TSameAsOneThread> {};

TEST_P(GeneratorThreadsTest, GivesTheDealsOfOneThread) {
    const TSameAsOneThread& c = GetParam();
    std::vector<TRunResult> runs;
    for (const auto& [threads, blockSize] : {std::pair{1, 0}, {2, 0}, {3, 0}, {2, 100}}) {
        RandomSource.SetSeed(c.key);
        FreshDeals();
        TGeneratorInputs inputs = Inputs(c.condition, c.total, threads);
        inputs.BlockSize = blockSize;
        inputs.MaxDealt = c.maxDealt;
        inputs.FixedCards = ReadFixedCards(c.fixed).Cards;
        TRunResult first = Run(inputs);
        TRunResult second = Run(inputs);  // continues the sequence
        first.Lines.insert(first.Lines.end(), second.Lines.begin(), second.Lines.end());
        first.Kept += second.Kept;
        first.Dealt += second.Dealt;
        first.SeedAfter = second.SeedAfter;
        runs.push_back(first);
    }
    EXPECT_GT(runs[0].Dealt, 0);
    for (size_t i = 1; i < runs.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(runs[i].Lines, runs[0].Lines);
        EXPECT_EQ(runs[i].Kept, runs[0].Kept);
        EXPECT_EQ(runs[i].Dealt, runs[0].Dealt);
        EXPECT_EQ(runs[i].SeedAfter, runs[0].SeedAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, GeneratorThreadsTest,
    ::testing::Values(
        TSameAsOneThread{1, 3, "", 0},
        // Ends inside the first block, then spans several blocks.
        TSameAsOneThread{12345, 1000, "", 0}, TSameAsOneThread{-7, 2500, "", 0},
        TSameAsOneThread{1, 20, "Balanced(North, 15, 17) AND (SuitLength(South, Spades) >= 5)", 0},
        TSameAsOneThread{424242, 300, "NOT Balanced(E) OR (HCP(W, SP) > 3)", 0},
        TSameAsOneThread{5, 50, "HCP(North) >= 20", 3000},
        TSameAsOneThread{8, 9999999, "HCP(South) > 14", 4100},
        // Fixed cards: fewer draws per deal, the same deals on any thread count.
        TSameAsOneThread{3, 5000, "", 0, "N:AKQJ.AKQ.AKQ.AKQ"},
        TSameAsOneThread{-99, 200, "(Losers(S) <= 7) AND (Controls(E) >= 3)", 0,
                         "N:AKQ.K.. S:.A.KQJ.A2 W:2.2.2.3"},
        TSameAsOneThread{17, 30, "HCP(W) >= 10", 9000,
                         "N:AKQJT98765432... E:.AKQJT98765432.. S:..AKQJT98765432."}));

// Memory running out after 300 kept deals: the same deals, dealt count and seed on any threads.
TEST_F(GeneratorTest, RunningOutOfMemoryEndsWhereOneThreadEnds) {
    struct TRoomFor300 : TDealReceiver {
        std::vector<std::string> Lines;
        void Receive(const TDeal& deal) override {
            if (Lines.size() == 300) throw std::bad_alloc();
            Lines.push_back(deal.ToText());
        }
    };
    std::vector<std::tuple<std::vector<std::string>, int64_t, uint32_t>> runs;
    for (const int32_t threads : {1, 2, 3}) {
        RandomSource.SetSeed(77);
        TDeals dealt;
        TRoomFor300 room;
        TRecordingOwner owner;
        dealt.PassTo(room);
        TGenerator generator(owner, dealt, Inputs("HCP(North) >= 12", 1000, threads));
        ASSERT_TRUE(generator.PrepareCondition());
        generator.Start();
        generator.Wait();
        runs.emplace_back(room.Lines, owner.LastDealt(), RandomSource.Seed());
    }
    EXPECT_TRUE(runs[1] == runs[0] && runs[2] == runs[0]);
}

// A secure run, on any thread count, keeps exactly the secret's deals in
// index order that the condition accepts and deals as many as one thread
// would. It has no random source: neither a key nor the clock plays a part.
TEST_F(GeneratorTest, SecureRunsKeepTheSecretsDealsOnAnyThreadCount) {
    const std::tuple<int32_t, std::string, std::function<bool(TDeal&)>, int64_t, std::string>
        cases[] = {
            {4000, "HCP(North) >= 15", [](TDeal& deal) { return deal.HCP(1, 0) >= 15; }, 0, ""},
            {9999999, "HCP(South) > 14", [](TDeal& deal) { return deal.HCP(3, 0) > 14; }, 3000, ""},
            {60, "HasCard(E, Diamonds, 14)", [](TDeal& deal) { return deal.HasCard(2, 2, 14); }, 0,
             "N:AKQ.K.. S:.A.KQJ.A2 W:2.2.2.3"}};
    TSecret secret;
    secret.Bytes.fill(0x5A);
    TSecureDealer dealer(secret);
    for (const auto& [total, condition, keeps, maxDealt, fixedText] : cases) {
        const TFixedCards fixed = ReadFixedCards(fixedText).Cards;
        std::vector<std::string> expected;
        int64_t dealt = 0;
        TCardSets sets;
        TDeal deal;
        while (static_cast<int32_t>(expected.size()) < total &&
               (maxDealt == 0 || dealt < maxDealt)) {
            dealer.Deal(static_cast<uint64_t>(dealt++), fixed, sets);
            deal.SetCardSets(sets);
            if (keeps(deal)) expected.push_back(deal.ToText());
        }
        for (const auto& [threads, blockSize] : {std::pair{1, 0}, {2, 0}, {3, 0}, {2, 100}}) {
            FreshDeals();
            TGeneratorInputs inputs = Inputs(condition, total, threads);
            inputs.BlockSize = blockSize;
            inputs.Source = nullptr;
            inputs.Secret = secret;
            inputs.MaxDealt = maxDealt;
            inputs.FixedCards = fixed;
            TRunResult run = Run(inputs);
            EXPECT_EQ(run.Lines, expected) << condition << ", " << threads << " threads";
            EXPECT_EQ(run.Dealt, dealt) << condition << ", " << threads << " threads";
        }
    }
}

// With fixed cards a run keeps exactly the deals that dealing around them
// gives and the condition accepts, in order, and moves the seed by the draws
// those deals took.
TEST_F(GeneratorTest, FixedCardsKeepTheDealsDealtAroundThem) {
    const TFixedCardsReading reading = ReadFixedCards("N:AKQJ.K.. S:..A2.");
    ASSERT_EQ(reading.Error, "");
    RandomSource.SetSeed(4321);
    TGeneratorInputs inputs = Inputs("HasCard(E, Clubs, 14) AND NOT HasCard(W, Spades, 10)", 40);
    inputs.FixedCards = reading.Cards;
    TRunResult run = Run(inputs);
    ASSERT_EQ(run.Kept, 40);
    std::vector<std::string> expected;
    uint32_t seed = 4321;
    TDeal deal;
    int64_t dealt = 0;
    while (expected.size() < 40) {
        deal.DealFromSeed(seed, reading.Cards);
        ++dealt;
        if (deal.HasCard(2, 1, 14) && !deal.HasCard(4, 4, 10)) expected.push_back(deal.ToText());
    }
    EXPECT_EQ(run.Lines, expected);
    EXPECT_EQ(run.Dealt, dealt);
    EXPECT_EQ(run.SeedAfter, seed);
    EXPECT_EQ(run.SeedAfter, TRandomSource::JumpAhead(4321, static_cast<uint64_t>(dealt) * 44));
}

// A reseed from another thread during a run takes effect at a deal boundary:
// the run is then exactly a one-thread run whose first k deals come from the
// old seed and the rest from the new one. Meanwhile the main thread reads
// deals that were there before the run.
TEST_F(GeneratorTest, ReseedAndReadsDuringARunAreSafe) {
    const uint32_t oldSeed = 2024;
    const uint32_t newSeed = 777777;
    auto keeps = [](TDeal& deal) { return deal.HCP(1, 0) >= 16; };
    for (int32_t threads : {1, 2}) {
        SCOPED_TRACE(threads);
        FreshDeals();
        for (const TDeal& deal : DealsFromSeed(1, 10)) deals().Add(deal);
        std::vector<std::string> older;
        for (int32_t i = 0; i < 10; ++i) older.push_back(deals().GetDeal(i)->ToText());

        RandomSource.StoreSeed(oldSeed);
        TRecordingOwner owner;
        TGenerator generator(owner, deals(), Inputs("HCP(North) >= 16", 9999999, threads));
        ASSERT_TRUE(generator.PrepareCondition());
        generator.Start();
        int32_t reads = 0;
        auto readOlder = [&] {
            int32_t i = reads++ % 10;
            ASSERT_GE(deals().Count(), 10);
            EXPECT_EQ(deals().GetDeal(i)->ToText(), older[static_cast<size_t>(i)]);
        };
        EXPECT_TRUE(WaitUntil([&] { return owner.LastDealt() >= 30000; }, readOlder));
        RandomSource.StoreSeed(newSeed);
        int64_t reseededAt = owner.LastDealt();
        EXPECT_TRUE(WaitUntil([&] { return owner.LastDealt() >= reseededAt + 30000; }, readOlder));
        generator.Terminate();
        generator.Wait();

        auto events = owner.Events();
        int64_t dealt = events[events.size() - 2].B;
        // Deals after the reseed: the steps from the new seed to the final one.
        uint32_t seed = newSeed;
        int64_t after = 0;
        while (seed != RandomSource.Seed() && after <= dealt) {
            seed = TRandomSource::JumpAhead(seed, 51);
            ++after;
        }
        ASSERT_LE(after, dealt) << "the final seed does not follow the new seed";
        EXPECT_GT(after, 0);
        std::vector<std::string> expected;
        uint32_t s = oldSeed;
        TDeal deal;
        for (int64_t i = 0; i < dealt - after; ++i) {
            deal.DealFromSeed(s);
            if (keeps(deal)) expected.push_back(deal.ToText());
        }
        s = newSeed;
        for (int64_t i = 0; i < after; ++i) {
            deal.DealFromSeed(s);
            if (keeps(deal)) expected.push_back(deal.ToText());
        }
        ASSERT_EQ(deals().Count(), 10 + static_cast<int32_t>(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(deals().GetDeal(10 + static_cast<int32_t>(i))->ToText(), expected[i])
                << "deal " << i;
    }
}

// Reads the worker thread's allocation count when the run ends; allocates
// nothing itself.
class TAllocationOwner : public TGeneratorOwner {
public:
    void ReportProgress(int32_t, int64_t) override {}
    void ShowDeal(int32_t) override {}
    void GenerationFinished(int32_t, int32_t) override { allocations = allocationsOfThisThread; }
    long allocations = -1;
};

// A pass of the one-thread loop allocates nothing: a run of a hundred times as
// many deals makes exactly as many allocations.
TEST_F(GeneratorTest, APassAllocatesNothing) {
    std::vector<long> counts;
    for (int64_t maxDealt : {1000, 100000}) {
        RandomSource.SetSeed(11);
        TAllocationOwner owner;
        TGeneratorInputs inputs =
            Inputs("((HCP(N) + HCP(S)) >= 40) AND Balanced(N) OR Multy(E,,,,,5)", 9999999);
        inputs.MaxDealt = maxDealt;
        TGenerator generator(owner, deals(), inputs);
        ASSERT_TRUE(generator.PrepareCondition());
        generator.Start();
        generator.Wait();
        counts.push_back(owner.allocations);
    }
    EXPECT_GE(counts[0], 0);
    EXPECT_EQ(counts[0], counts[1]);
}

TEST_F(GeneratorTest, DestroyingARunningGeneratorStopsIt) {
    RandomSource.SetSeed(4);
    TRecordingOwner owner;
    {
        TGenerator generator(owner, deals(), Inputs("Range(North, 20, 10)", 1, 2));
        ASSERT_TRUE(generator.PrepareCondition());
        generator.Start();
        EXPECT_TRUE(WaitUntil([&] { return owner.LastDealt() > 0; }));
    }
    auto events = owner.Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Kind, 'F');
}

// The controller tells a refused condition (its message shown, the caret's
// place given) from a run that is already prepared.
TEST(RunController, PrepareTellsARefusedConditionFromABusyController) {
    TRecordingSink sink;
    TRunController controller;
    TRecordingOwner owner;
    TGeneratorInputs inputs;
    inputs.ConditionLines = {"HCP(N) >", " 10 OR"};
    const TStatus refused = controller.Prepare(inputs, owner);
    EXPECT_EQ(refused.Code(), TStatus::TCode::Condition);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(refused.Position(), sink.messages[0].position);
    EXPECT_EQ(refused.Position(), controller.ErrorPosition());
    EXPECT_FALSE(controller.HasRun());

    inputs.ConditionLines = {"HCP(N) > 10"};
    EXPECT_TRUE(controller.Prepare(inputs, owner).IsOk());
    EXPECT_EQ(controller.Prepare(inputs, owner).Code(), TStatus::TCode::Busy);
    EXPECT_EQ(sink.messages.size(), 1u);
}

}  // namespace

#include "deals/Generator.h"

#include <chrono>

#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/GeneratorRun.h"
#include "deals/RandomSource.h"

struct TGenerator::TState {
    TState(TGeneratorOwner& owner, TDeals& deals, TGeneratorInputs inputs)
        : Owner(owner), Deals(deals), Inputs(std::move(inputs)) {}

    TGeneratorOwner& Owner;
    TDeals& Deals;
    TGeneratorInputs Inputs;

    std::string ConditionText;
    // One per thread that tests deals; none when the condition is empty
    // (every deal is kept).
    std::vector<TDealTest> Tests;
    int32_t StartCount = 0;
    int32_t ErrorPosition = 0;
    bool Prepared = false;

    std::atomic<bool> Terminated{false};
    std::thread Worker;

    void Execute();
    void ExecuteSerial(TRunCounters& counters);
};

TGenerator::TGenerator(TGeneratorOwner& owner, TDeals& deals, TGeneratorInputs inputs)
    : state_(std::make_unique<TState>(owner, deals, std::move(inputs))) {}

TGenerator::~TGenerator() {
    Terminate();
    Wait();
}

int32_t GeneratorThreadCount(int32_t requested) {
    if (requested > 0) return requested;
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int32_t>(cores);
}

bool TGenerator::PrepareCondition() {
    TState& s = *state_;
    s.Tests.clear();
    s.Prepared = false;
    s.ConditionText.clear();
    for (const std::string& line : s.Inputs.ConditionLines) s.ConditionText += line;
    s.StartCount = s.Deals.Count();
    if (s.ConditionText.empty()) {
        s.Prepared = true;
        return true;
    }
    if (s.Inputs.Rules == nullptr) return false;

    // The first tree does the check and reports. Each thread then tests deals
    // with its own copy of the compiled program or, when the program does not
    // cover the condition, of the tree, built again from the text that passed.
    auto checked = std::make_unique<TCompiledCondition>();
    if (!checked->Prepare(s.ConditionText, *s.Inputs.Rules)) {
        s.ErrorPosition = checked->ErrorPosition();
        return false;
    }
    TConditionProgram program;
    bool compiled = s.Inputs.CompiledCondition && program.Compile(*checked->Root());
    int32_t threads = GeneratorThreadCount(s.Inputs.ThreadCount);
    s.Tests.resize(static_cast<size_t>(threads));
    for (TDealTest& test : s.Tests) {
        if (compiled) {
            test.Program = program;
        } else if (checked != nullptr) {
            test.Tree = std::move(checked);
        } else {
            test.Tree = std::make_unique<TCompiledCondition>();
            if (!test.Tree->Prepare(s.ConditionText, *s.Inputs.Rules)) {
                s.ErrorPosition = test.Tree->ErrorPosition();
                s.Tests.clear();
                return false;
            }
        }
    }
    s.Prepared = true;
    return true;
}

int32_t TGenerator::ErrorPosition() const { return state_->ErrorPosition; }

void TGenerator::Start() {
    TState& s = *state_;
    if (!s.Prepared || s.Worker.joinable()) return;
    s.Worker = std::thread([&s] { s.Execute(); });
}

void TGenerator::Terminate() { state_->Terminated.store(true, std::memory_order_relaxed); }

void TGenerator::Wait() {
    if (state_->Worker.joinable()) state_->Worker.join();
}

// --- The run ------------------------------------------------------------------

bool TProgressPacer::Due() {
    auto now = std::chrono::steady_clock::now();
    if (now - last_ < Interval) return false;
    last_ = now;
    return true;
}

void TGenerator::TState::Execute() {
    TRunCounters counters;
    counters.Total = Inputs.RequestedTotal;
    counters.MaxDealt = Inputs.MaxDealt;
    int32_t threads = GeneratorThreadCount(Inputs.ThreadCount);
    if (threads <= 1) {
        ExecuteSerial(counters);
    } else {
        TParallelRun run{Owner, Deals, Tests, Terminated, Inputs.AnySeatShown, threads};
        run.Execute(counters);
    }
    Tests.clear();  // releases the trees
    Owner.ReportProgress(counters.Kept, counters.Dealt);
    Owner.GenerationFinished(counters.Kept, StartCount);
}

// One deal after another from the shared random source. A rejected deal stays
// the spare and is dealt again; a kept one is copied into the collection, so
// the same spare serves the whole run and a pass allocates nothing.
void TGenerator::TState::ExecuteSerial(TRunCounters& counters) {
    TDealTest* test = Tests.empty() ? nullptr : &Tests.front();
    bool showLive = Inputs.AnySeatShown;
    TDeal spare;
    TProgressPacer pacer;
    while (counters.Kept < counters.Total && !Terminated.load(std::memory_order_relaxed) &&
           (counters.MaxDealt <= 0 || counters.Dealt < counters.MaxDealt)) {
        spare.DealRandom(RandomSource);
        bool lastKept = test == nullptr || test->Matches(spare);
        if (lastKept) {
            ++counters.Kept;
            Deals.Add(spare);
            if (showLive) Owner.ShowDeal(Deals.Count() - 1);
        }
        ++counters.Dealt;
        if ((counters.Dealt & TProgressPacer::CheckMask) == 0 && pacer.Due())
            Owner.ReportProgress(counters.Kept, counters.Dealt);
    }
}

// Simulations per second, side by side with a reference that makes the same
// solver calls on the same deals straight through the solver's entry point:
// comparing three variants that need three strain-declarer pairs a deal, and
// the opening lead (one all-cards call a deal); on one and two threads. The
// counter solves_per_deal is Korvana's own count of its solver calls;
// cpu_ms_per_deal, the process's processor time, compares the two fairly on a
// machine that other work shares. Both sides run the solver as korvana-cli's
// studies do: its tables capped at StudySolverMemoryMB, or as
// KORVANA_SOLVER_MEMORY_MB says (0: uncapped).
#include <benchmark/benchmark.h>
#include <dds/dll.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "SolverBenchDeals.h"
#include "analysis/DoubleDummy.h"
#include "analysis/LeadSolver.h"
#include "analysis/SolverLibrary.h"
#include "simulation/Contract.h"
#include "simulation/LeadStudy.h"
#include "simulation/VariantComparison.h"

namespace {

constexpr int32_t DealCount = 60;
constexpr const char* LeaderHand = "W:KQJ52.84.Q73.K95";

const std::vector<TDeal>& FreeDeals() {
    static const std::vector<TDeal> deals = SeededDeals(DealCount, 11u);
    return deals;
}
// West holds LeaderHand.
const std::vector<TDeal>& LeadDeals() {
    static const std::vector<TDeal> deals =
        SeededDeals(DealCount, 11u, ReadFixedCards(LeaderHand).Cards);
    return deals;
}

// The processor time of the process (every thread), in milliseconds.
double ProcessMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 +
            static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec)) /
           1e3;
}

// Sets the counters every benchmark here shows.
void SetRates(benchmark::State& state, double startMilliseconds) {
    const auto deals = static_cast<double>(state.iterations() * DealCount);
    state.counters["deals_per_s"] = benchmark::Counter(deals, benchmark::Counter::kIsRate);
    state.counters["cpu_ms_per_deal"] = (ProcessMilliseconds() - startMilliseconds) / deals;
}

// Sets the solver's threads and the cap of its tables for the reference.
void SetReferenceThreads(int threads) {
    SetSolverMemoryDefault(StudySolverMemoryMB);
    SetResources(SolverMemoryCap(threads), threads);
}

// The same for Korvana's side, through its own entry point.
void SetKorvanaThreads(int32_t threads) {
    SetSolverMemoryDefault(StudySolverMemoryMB);
    SetAnalysisThreads(threads);
}

// Runs `solve(deal, thread)` over the deals on `threads` threads.
template <class TSolve>
void OnThreads(const std::vector<TDeal>& deals, int threads, TSolve solve) {
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (std::size_t i; (i = next.fetch_add(1)) < deals.size();) solve(deals[i], t);
        });
    for (std::thread& worker : workers) worker.join();
}

// The variants: 3NT by South; 4S by North with eight spades, else 4H by
// North; 5C doubled by East. Three pairs a deal.
std::vector<TVariant> Variants() {
    std::vector<TVariant> variants;
    for (const char* line :
         {"NT: 3NT S", "Major: (SuitLength(N,SP) + SuitLength(S,SP)) >= 8 => 4S N; 4H N",
          "Sacrifice: 5CX E"})
        if (!ReadVariantLine(line, variants).IsOk()) std::abort();
    return variants;
}

void ReferenceSimulate(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    SetReferenceThreads(threads);
    const double start = ProcessMilliseconds();
    for (auto _ : state) {
        OnThreads(FreeDeals(), threads, [](const TDeal& given, int thread) {
            TDeal deal = given;
            const bool fit = deal.SuitLength(North, Spades) + deal.SuitLength(South, Spades) >= 8;
            const std::pair<int32_t, int32_t> pairs[] = {
                {South, NoTrump}, {North, fit ? Spades : Hearts}, {East, Clubs}};
            for (const auto& [declarer, strain] : pairs) {
                futureTricks future{};
                SolveBoard(ReferencePosition(deal, declarer, strain), -1, 1, 1, &future, thread);
                benchmark::DoNotOptimize(future.score[0]);
            }
        });
    }
    SetRates(state, start);
}

void KorvanaSimulate(benchmark::State& state) {
    const auto threads = static_cast<int32_t>(state.range(0));
    SetKorvanaThreads(threads);
    const int64_t solvesBefore = DoubleDummySolveCount();
    const double start = ProcessMilliseconds();
    for (auto _ : state) {
        TVariantComparison comparison;
        if (const TStatus status = comparison.Prepare(Variants(), TVulnerability::None);
            !status.IsOk())
            state.SkipWithError(status.Message().c_str());
        TStudyRun run(comparison, threads);
        for (std::size_t i = 0; i < FreeDeals().size(); ++i)
            run.Push(static_cast<int64_t>(i) + 1, FreeDeals()[i]);
        run.Finish();
        benchmark::DoNotOptimize(comparison.Counted());
    }
    SetRates(state, start);
    state.counters["solves_per_deal"] =
        static_cast<double>(DoubleDummySolveCount() - solvesBefore) /
        static_cast<double>(state.iterations() * DealCount);
}

void ReferenceLeads(benchmark::State& state) {
    const int threads = static_cast<int>(state.range(0));
    SetReferenceThreads(threads);
    const double start = ProcessMilliseconds();
    for (auto _ : state) {
        OnThreads(LeadDeals(), threads, [](const TDeal& deal, int thread) {
            futureTricks future{};
            SolveBoard(ReferencePosition(deal, South, NoTrump), -1, 3, 1, &future, thread);
            benchmark::DoNotOptimize(future.score[0]);
        });
    }
    SetRates(state, start);
}

void KorvanaLeads(benchmark::State& state) {
    const auto threads = static_cast<int32_t>(state.range(0));
    SetKorvanaThreads(threads);
    const int64_t solvesBefore = LeadSolveCount();
    const TContract contract = *ReadContract("3NT S").Contract;
    const double start = ProcessMilliseconds();
    for (auto _ : state) {
        TLeadStudy study;
        std::vector<const TDeal*> deals;
        for (const TDeal& deal : LeadDeals()) deals.push_back(&deal);
        if (const TStatus status = study.Prepare(contract, TVulnerability::None, deals);
            !status.IsOk())
            state.SkipWithError(status.Message().c_str());
        TStudyRun run(study, threads);
        for (std::size_t i = 0; i < LeadDeals().size(); ++i)
            run.Push(static_cast<int64_t>(i) + 1, LeadDeals()[i]);
        run.Finish();
        benchmark::DoNotOptimize(study.Counted());
    }
    SetRates(state, start);
    state.counters["solves_per_deal"] = static_cast<double>(LeadSolveCount() - solvesBefore) /
                                        static_cast<double>(state.iterations() * DealCount);
}

}  // namespace

// Each pair side by side, one thread then two; one pass each, real time.
BENCHMARK(ReferenceSimulate)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(KorvanaSimulate)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(ReferenceLeads)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(KorvanaLeads)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

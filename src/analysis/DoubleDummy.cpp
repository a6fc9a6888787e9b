#include "analysis/DoubleDummy.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "analysis/SolverLibrary.h"
#include "analysis/SolverSlots.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"

namespace {

constexpr int32_t Strains = 5;
constexpr int32_t StrainOfSolver(
    int denomination) {  // par contracts: 0 notrump, 1 spades .. 4 clubs
    return denomination == 0 ? NoTrump : 5 - denomination;
}

// A whole deal's identity: the seat (1..4) of each card 1..52.
using TDealKey = std::string;

TDealKey KeyOf(const TDeal& deal) {
    TDealKey key(52, '0');
    for (int32_t seat = 1; seat <= 4; ++seat)
        for (int32_t j = 1; j <= THand::CardsInHand; ++j)
            key[static_cast<std::size_t>(deal.Hand(seat).Card(j) - 1)] =
                static_cast<char>('0' + seat);
    return key;
}

TTrickTable FromSolver(const ddTableResults& results) {
    TTrickTable table;
    for (int32_t strain = 0; strain < Strains; ++strain)
        for (std::size_t seat = 0; seat < 4; ++seat)
            table.Tricks[static_cast<std::size_t>(strain)][seat] =
                static_cast<int8_t>(results.resTable[SolverStrain(strain)][seat]);
    return table;
}

class TTableCache {
public:
    bool Find(const TDealKey& key, TTrickTable& table) {
        std::lock_guard lock(mutex_);
        auto found = tables_.find(key);
        if (found == tables_.end()) return false;
        table = found->second;
        return true;
    }
    void Store(const TDealKey& key, const TTrickTable& table) {
        std::lock_guard lock(mutex_);
        if (tables_.size() >= MostTables) tables_.clear();  // bounded memory
        tables_.emplace(key, table);
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        tables_.clear();
    }

private:
    static constexpr std::size_t MostTables = 1 << 20;
    std::mutex mutex_;
    std::unordered_map<TDealKey, TTrickTable> tables_;
};

TTableCache& Cache() {
    static TTableCache cache;
    return cache;
}

// Solves the deals at `indices` (at most MAXNOOFTABLES) with one batch call.
void SolveBatch(std::span<const TDeal* const> deals, const std::vector<int32_t>& indices,
                std::vector<TDealAnalysis>& results) {
    auto batch = std::make_unique<ddTableDeals>();
    auto solved = std::make_unique<ddTablesRes>();
    auto par = std::make_unique<allParResults>();
    batch->noOfTables = static_cast<int>(indices.size());
    for (std::size_t i = 0; i < indices.size(); ++i)
        FillSolverCards(*deals[static_cast<std::size_t>(indices[i])], batch->deals[i].cards);
    int filter[DDS_STRAINS] = {0, 0, 0, 0, 0};
    const TSolverLibrary* solver = Solver();
    int code = RETURN_NO_FAULT;
    if (solver != nullptr) {
        TAllSlots all;
        code = solver->CalcAllTables(batch.get(), -1, filter, solved.get(), par.get());
    }
    for (std::size_t i = 0; i < indices.size(); ++i) {
        auto index = static_cast<std::size_t>(indices[i]);
        TDealAnalysis& result = results[index];
        if (solver == nullptr) {
            result.Fault = SolverLoadFault();
            continue;
        }
        if (code != RETURN_NO_FAULT) {
            result.Fault = SolverFault(code);
            continue;
        }
        result.Solved = true;
        result.Table = FromSolver(solved->results[i]);
        Cache().Store(KeyOf(*deals[index]), result.Table);
    }
}

std::atomic<int64_t> SolveCount{0};

// The answers of the last deal one thread asked DoubleDummyTricks about.
struct TLastDeal {
    TDealKey Key;
    std::array<int8_t, 4 * Strains> Tricks{};  // -2: not solved yet
};

}  // namespace

int32_t SetAnalysisThreads(int32_t threads) {
    const TSolverLibrary* solver = Solver();
    if (solver == nullptr) return 1;
    TAllSlots all;
    solver->SetMaxThreads(std::max(threads, 0));
    DDSInfo info{};
    solver->GetDDSInfo(&info);
    SolverSlots().Resize(info.noOfThreads);
    return std::max(info.noOfThreads, 1);
}

int32_t AnalysisThreads() { return SolverSlots().Total(); }

bool AnalyseDeals(std::span<const TDeal* const> deals, std::vector<TDealAnalysis>& results,
                  const std::function<bool(int32_t done)>& progress) {
    results.assign(deals.size(), TDealAnalysis{});
    std::vector<int32_t> pending;
    int32_t done = 0, reported = -1;
    auto flush = [&] {
        if (!pending.empty()) SolveBatch(deals, pending, results);
        done += static_cast<int32_t>(pending.size());
        pending.clear();
        if (!progress || done == reported) return true;
        reported = done;
        return progress(done);
    };
    for (std::size_t i = 0; i < deals.size(); ++i) {
        TDealAnalysis& result = results[i];
        result.Fault = DealFault(*deals[i]);
        if (!result.Fault.empty()) {
            ++done;
            continue;
        }
        if (Cache().Find(KeyOf(*deals[i]), result.Table)) {
            result.Solved = true;
            ++done;
            continue;
        }
        pending.push_back(static_cast<int32_t>(i));
        if (pending.size() == MAXNOOFTABLES && !flush()) return false;
    }
    return flush();
}

TDealAnalysis AnalyseDeal(const TDeal& deal) {
    const TDeal* one[] = {&deal};
    std::vector<TDealAnalysis> results;
    AnalyseDeals(one, results);
    return results.front();
}

void ClearAnalysisCache() { Cache().Clear(); }

int32_t DoubleDummyTricks(const TDeal& deal, int32_t declarer, int32_t strain) {
    if (declarer < 1 || declarer > 4 || strain < 0 || strain >= Strains) return -1;
    if (!DealFault(deal).empty()) return -1;
    thread_local TLastDeal last;
    TDealKey key = KeyOf(deal);
    if (key != last.Key) {
        last.Key = std::move(key);
        last.Tricks.fill(-2);
        TTrickTable table;
        if (Cache().Find(last.Key, table))
            for (int32_t s = 0; s < Strains; ++s)
                for (int32_t seat = 1; seat <= 4; ++seat)
                    last.Tricks[static_cast<std::size_t>(s * 4 + seat - 1)] =
                        static_cast<int8_t>(table.At(seat, s));
    }
    int8_t& answer = last.Tricks[static_cast<std::size_t>(strain * 4 + declarer - 1)];
    if (answer != -2) return answer;
    const TSolverLibrary* solver = Solver();
    if (solver == nullptr) {
        // Said once: a condition on tricks then keeps no deal.
        static std::once_flag told;
        std::call_once(told, [] { std::fprintf(stderr, "%s\n", SolverLoadFault().c_str()); });
        return -1;
    }

    ::deal position{};
    position.trump = SolverStrain(strain);
    position.first = declarer % 4;  // the declarer's left-hand opponent leads
    FillSolverCards(deal, position.remainCards);
    futureTricks future{};
    SolveCount.fetch_add(1, std::memory_order_relaxed);
    int slot = SolverSlots().Acquire();
    int code = solver->SolveBoard(position, -1, 1, 1, &future, slot);
    SolverSlots().Release(slot);
    // The solver counts the tricks of the side on lead: the defenders.
    answer = static_cast<int8_t>(code == RETURN_NO_FAULT ? 13 - future.score[0] : -1);
    return answer;
}

int64_t DoubleDummySolveCount() { return SolveCount.load(std::memory_order_relaxed); }

bool ComputePar(const TTrickTable& table, int32_t dealer, std::string_view vulnerability,
                TParResult& par, std::string& fault) {
    ddTableResults results{};
    for (int32_t strain = 0; strain < Strains; ++strain)
        for (int32_t seat = 1; seat <= 4; ++seat)
            results.resTable[SolverStrain(strain)][seat - 1] = table.At(seat, strain);
    // The solver's vulnerability: 0 none, 1 both, 2 North-South, 3 East-West.
    int vulnerable = vulnerability == "All"  ? 1
                     : vulnerability == "NS" ? 2
                     : vulnerability == "EW" ? 3
                                             : 0;
    const TSolverLibrary* solver = Solver();
    if (solver == nullptr) {
        fault = SolverLoadFault();
        return false;
    }
    parResultsMaster master{};
    int code = solver->DealerParBin(&results, &master, std::clamp(dealer, 1, 4) - 1, vulnerable);
    if (code != RETURN_NO_FAULT) {
        fault = SolverFault(code);
        return false;
    }
    static const char* const Sides[] = {"N", "E", "S", "W", "NS", "EW"};
    par = TParResult{};
    par.Score = master.score;
    for (int i = 0; i < std::clamp(master.number, 0, 10); ++i) {
        const contractType& c = master.contracts[i];
        par.Contracts.push_back({c.level, StrainOfSolver(c.denom), Sides[std::clamp(c.seats, 0, 5)],
                                 c.overTricks, c.underTricks});
    }
    return true;
}

void AddPar(TDealAnalysis& analysis, int32_t dealer, std::string_view vulnerability) {
    TParResult par;
    std::string fault;
    if (analysis.Solved && ComputePar(analysis.Table, dealer, vulnerability, par, fault))
        analysis.Par = std::move(par);
}

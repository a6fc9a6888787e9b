#include "analysis/DoubleDummy.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "analysis/SolverLibrary.h"
#include "analysis/internal/SolverSlots.h"
#include "deals/Board.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"

namespace {

constexpr int32_t Strains = 5;
constexpr int32_t StrainOfSolver(
    int denomination) {  // par contracts: 0 notrump, 1 spades .. 4 clubs
    return denomination == 0 ? NoTrump : 5 - denomination;
}

// A whole deal's identity: the seat (0..3) of each card 1..52, two bits a card.
struct TDealKey {
    uint64_t Low = 0;   // cards 1..32
    uint64_t High = 0;  // cards 33..52
    bool operator==(const TDealKey&) const = default;
};

struct TDealKeyHash {
    std::size_t operator()(const TDealKey& key) const {
        return std::hash<uint64_t>()(key.Low ^ (key.High * 0x9E3779B97F4A7C15ull));
    }
};

TDealKey KeyOf(const TDeal& deal) {
    TDealKey key;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        for (int32_t j = 1; j <= THand::CardsInHand; ++j) {
            const auto card = static_cast<uint32_t>(deal.Hand(seat).Card(j) - 1);
            const auto bits = static_cast<uint64_t>(seat - 1);
            if (card < 32)
                key.Low |= bits << (2 * card);
            else
                key.High |= bits << (2 * (card - 32));
        }
    }
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

// The tables solved so far, in two generations: when the newer one is full it
// becomes the older and the oldest are forgotten, so the memory stays bounded
// (about 10 MB) and a full cache never loses everything at once. A table found
// in the older generation moves back into the newer.
class TTableCache {
public:
    bool Find(const TDealKey& key, TTrickTable& table) {
        std::lock_guard lock(mutex_);
        if (auto found = newer_.find(key); found != newer_.end()) {
            table = found->second;
            return true;
        }
        auto found = older_.find(key);
        if (found == older_.end()) return false;
        table = found->second;
        older_.erase(found);
        Insert(key, table);
        return true;
    }
    void Store(const TDealKey& key, const TTrickTable& table) {
        std::lock_guard lock(mutex_);
        Insert(key, table);
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        newer_.clear();
        older_.clear();
        generation_.fetch_add(1, std::memory_order_relaxed);
    }
    // Changes with every Clear: the threads' last deals are then forgotten too.
    uint64_t Generation() const { return generation_.load(std::memory_order_relaxed); }

private:
    using TTables = std::unordered_map<TDealKey, TTrickTable, TDealKeyHash>;
    static constexpr std::size_t GenerationSize = 1 << 16;

    void Insert(const TDealKey& key, const TTrickTable& table) {
        if (newer_.size() >= GenerationSize) {
            older_ = std::move(newer_);
            newer_ = TTables();
        }
        newer_.insert_or_assign(key, table);
    }

    std::mutex mutex_;
    std::atomic<uint64_t> generation_{0};
    TTables newer_, older_;
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

std::atomic<int64_t> ExactSolves{0};
std::atomic<int64_t> BoundedSolves{0};

// What one thread knows of the last deal it asked about: for each declarer and
// strain the range the declarer's tricks lie in, narrowed by each answer.
struct TLastDeal {
    TDealKey Key;
    uint64_t Generation = ~0ull;
    bool Damaged = true;
    struct TRange {
        int8_t Least = 0, Most = 13;  // both -1: refused
    };
    std::array<TRange, 4 * Strains> Tricks{};

    // The range of a declarer's tricks in a strain, after taking in `deal`.
    TRange& Of(const TDeal& deal, int32_t declarer, int32_t strain) {
        const uint64_t generation = Cache().Generation();
        const bool damaged = !DealFault(deal).empty();
        TDealKey key = damaged ? TDealKey{} : KeyOf(deal);
        if (damaged != Damaged || key != Key || generation != Generation) {
            Key = key;
            Generation = generation;
            Damaged = damaged;
            Tricks.fill(damaged ? TRange{-1, -1} : TRange{});
            TTrickTable table;
            if (!damaged && Cache().Find(Key, table))
                for (int32_t s = 0; s < Strains; ++s)
                    for (int32_t seat = 1; seat <= 4; ++seat) {
                        const auto known = static_cast<int8_t>(table.At(seat, s));
                        Tricks[static_cast<std::size_t>(s * 4 + seat - 1)] = {known, known};
                    }
        }
        return Tricks[static_cast<std::size_t>(strain * 4 + declarer - 1)];
    }
};

thread_local TLastDeal LastDeal;

// A single solve was asked while the solver is missing; and that was told.
std::atomic<bool> SolverMissed{false};
std::atomic<bool> SolverMissTold{false};

// One solve on a slot of the solver's own: the defence's tricks on the
// declarer's left-hand opponent's lead. With a target (1..13) the solver only
// says whether the defence reaches it: the score is the target, or -1 when it
// cannot, or 0 when the defence takes no trick at all. False when the solver
// is missing or refuses.
bool SolveForDefence(const TDeal& deal, int32_t declarer, int32_t strain, int target, int& score) {
    const TSolverLibrary* solver = Solver();
    if (solver == nullptr) {
        SolverMissed.store(true, std::memory_order_relaxed);
        return false;
    }
    const ::deal position = OpeningLeadPosition(deal, declarer, strain);
    futureTricks future{};
    (target < 0 ? ExactSolves : BoundedSolves).fetch_add(1, std::memory_order_relaxed);
    TSolverSlot slot;
    if (solver->SolveBoard(position, target, 1, 1, &future, slot.Number()) != RETURN_NO_FAULT)
        return false;
    score = future.score[0];
    return true;
}

bool ValidQuestion(int32_t declarer, int32_t strain) {
    return declarer >= 1 && declarer <= 4 && strain >= 0 && strain < Strains;
}

}  // namespace

int32_t SetAnalysisThreads(int32_t threads) {
    const TSolverLibrary* solver = Solver();
    if (solver == nullptr) return 1;
    TAllSlots all;
    solver->SetResources(SolverMemoryCap(threads), std::max(threads, 0));
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
    if (!ValidQuestion(declarer, strain)) return -1;
    TLastDeal::TRange& range = LastDeal.Of(deal, declarer, strain);
    if (range.Least == range.Most) return range.Least;
    int defence = 0;
    const int8_t tricks = SolveForDefence(deal, declarer, strain, -1, defence)
                              ? static_cast<int8_t>(13 - defence)
                              : static_cast<int8_t>(-1);
    range = {tricks, tricks};
    return tricks;
}

bool DoubleDummyAtLeast(const TDeal& deal, int32_t declarer, int32_t strain, int32_t tricks) {
    if (tricks <= -1) return true;  // every answer, -1 included, is at least -1
    if (!ValidQuestion(declarer, strain)) return false;
    TLastDeal::TRange& range = LastDeal.Of(deal, declarer, strain);
    if (range.Least >= tricks) return true;
    if (range.Most < tricks) return false;
    // 1 <= tricks <= 13 here: the declarer takes at least `tricks` exactly when
    // the defence cannot take 14 - tricks.
    const int target = 14 - tricks;
    int score = 0;
    if (!SolveForDefence(deal, declarer, strain, target, score)) {
        range = {-1, -1};
        return false;
    }
    if (score == 0) {
        range = {13, 13};
        return true;
    }
    if (score < 0) {
        range.Least = static_cast<int8_t>(tricks);
        return true;
    }
    range.Most = static_cast<int8_t>(tricks - 1);
    return false;
}

int64_t DoubleDummySolveCount() { return ExactSolves.load() + BoundedSolves.load(); }

TStatus TakeSolverFault() {
    if (!SolverMissed.load(std::memory_order_relaxed) || SolverMissTold.exchange(true))
        return TStatus::Ok();
    return TStatus::Missing(SolverLoadFault());
}

TSingleSolves DoubleDummySingleSolves() { return {ExactSolves.load(), BoundedSolves.load()}; }

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
    int code = 0;
    {
        TSolverCall call;
        code = solver->DealerParBin(&results, &master, std::clamp(dealer, 1, 4) - 1, vulnerable);
    }
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

void AddBoardPar(TDealAnalysis& analysis, int64_t board) {
    AddPar(analysis, PbnBoardDealer(board), PbnBoardVulnerability(board));
}

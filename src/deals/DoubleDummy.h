#pragma once
// Double-dummy analysis: how many tricks each declarer takes in each strain
// when all four hands are open, and the par score of a deal, computed by the
// DDS solver. Strains are 0 notrump and the suits 1 clubs .. 4 spades; seats
// 1 North .. 4 West.
//
// The solver runs one thread per core (or as many as SetAnalysisThreads says).
// Whole tables are solved in batches and kept in a process-wide cache, so no
// deal's table is solved twice. Single results (DoubleDummyTricks) may be asked
// from any number of threads at once: each call borrows one of the solver's
// thread slots for its solve.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

class TDeal;

inline constexpr int32_t NoTrump = 0;

struct TTrickTable {
    // [strain 0 notrump, 1 clubs .. 4 spades][declarer seat - 1]
    std::array<std::array<int8_t, 4>, 5> Tricks{};

    // Tricks of a declarer (1..4) in a strain (0..4); -1 outside those ranges.
    int32_t At(int32_t declarer, int32_t strain) const;
    bool operator==(const TTrickTable&) const = default;
};

// One contract of a par result.
struct TParContract {
    int32_t Level = 0;        // 1..7
    int32_t Strain = 0;       // 0 notrump, 1 clubs .. 4 spades
    std::string Declarers;    // "N", "E", "S", "W", "NS" or "EW"
    int32_t Overtricks = 0;   // made with overtricks
    int32_t Undertricks = 0;  // a doubled sacrifice going down that many
};

struct TParResult {
    int32_t Score = 0;  // for North-South: negative when East-West gain
    std::vector<TParContract> Contracts;
};

// What analysing one deal gave: its table, or the reason it was refused.
struct TDealAnalysis {
    bool Solved = false;
    TTrickTable Table;
    std::string Fault;  // why the deal was refused, when not solved
};

// The fault of a deal that cannot be analysed (a hand without 13 cards, a
// card that is no card or is held twice), or the empty text for a whole deal.
std::string DealFault(const TDeal& deal);

// The number of solver threads for batches: 0 means one per core. Waits for
// the solves under way. Returns the number the solver really uses.
int32_t SetAnalysisThreads(int32_t threads);
int32_t AnalysisThreads();

// The tables of the deals, in order: from the cache where a deal was solved
// before, the rest in batches. After each batch `progress` is told how many
// deals are done; when it returns false the remaining deals are left unsolved
// (their Fault is empty) and the call returns false.
bool AnalyseDeals(std::span<const TDeal* const> deals, std::vector<TDealAnalysis>& results,
                  const std::function<bool(int32_t done)>& progress = {});
// The table of one deal (from the cache when there).
TDealAnalysis AnalyseDeal(const TDeal& deal);
// Forgets every cached table.
void ClearAnalysisCache();

// Tricks a declarer (1..4) takes in a strain (0..4) with the opening lead from
// the declarer's left. One solve, made on the calling thread; the last deal
// each thread asked about keeps its answers. -1 for a deal DealFault refuses,
// a seat or strain out of range, or a refusal of the solver.
int32_t DoubleDummyTricks(const TDeal& deal, int32_t declarer, int32_t strain);
// How many single solves DoubleDummyTricks has made in this process.
int64_t DoubleDummySolveCount();

// Par for a dealer (1..4) and a vulnerability as PBN names it ("None", "NS",
// "EW", "All"). False with `fault` set when the solver refuses.
bool ComputePar(const TTrickTable& table, int32_t dealer, std::string_view vulnerability,
                TParResult& par, std::string& fault);

// "3NT", "4S", "5DX": a contract as PBN writes it; sacrifices are doubled.
std::string ParContractText(const TParContract& contract);
// The strain letters of PBN: "NT", "C", "D", "H", "S".
std::string_view StrainName(int32_t strain);

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

#include "deals/DealAnalysis.h"
#include "text/Status.h"

// Computes the par of the analysis (when solved) for a dealer (1..4) and a
// vulnerability as PBN names it; leaves it empty when the solver refuses.
void AddPar(TDealAnalysis& analysis, int32_t dealer, std::string_view vulnerability);
// The same for the dealer and vulnerability that board number `board` has in
// the usual rotation.
void AddBoardPar(TDealAnalysis& analysis, int64_t board);

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
// Whether DoubleDummyTricks(deal, declarer, strain) >= tricks, asked of the
// solver as a question with a target (far quicker than counting the tricks)
// where what the thread already knows of the deal does not answer it. Each
// answer narrows the range kept for the thread's last deal, so no question is
// asked twice and an exact count asked later may need no solve.
bool DoubleDummyAtLeast(const TDeal& deal, int32_t declarer, int32_t strain, int32_t tricks);

// Told once: after DoubleDummyTricks or DoubleDummyAtLeast found the solver
// missing (a condition on tricks then keeps no deal), the first call gives a
// Missing status with the reason; every other call gives OK. Never loads the
// solver itself.
TStatus TakeSolverFault();

// How many single solves DoubleDummyTricks and DoubleDummyAtLeast have made in
// this process: exact counts, and questions with a target.
struct TSingleSolves {
    int64_t Exact = 0;
    int64_t Bounded = 0;
};
TSingleSolves DoubleDummySingleSolves();
int64_t DoubleDummySolveCount();

// Par for a dealer (1..4) and a vulnerability as PBN names it ("None", "NS",
// "EW", "All"). False with `fault` set when the solver refuses.
bool ComputePar(const TTrickTable& table, int32_t dealer, std::string_view vulnerability,
                TParResult& par, std::string& fault);

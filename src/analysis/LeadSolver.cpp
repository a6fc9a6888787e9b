#include "analysis/LeadSolver.h"

#include <atomic>

#include "analysis/SolverLibrary.h"
#include "analysis/internal/SolverSlots.h"
#include "deals/Deal.h"

namespace {

std::atomic<int64_t> LeadSolves{0};

// The card number of a solver suit (0 spades .. 3 clubs) and rank (2..14).
int32_t CardOfSolver(int solverSuit, int rank) { return (3 - solverSuit) * 13 + rank - 1; }

}  // namespace

TLeadResult SolveLeads(const TDeal& deal, int32_t declarer, int32_t strain) {
    TLeadResult result;
    if (declarer < 1 || declarer > 4 || strain < 0 || strain > 4) {
        result.Fault = "нет такого разыгрывающего или деноминации";
        return result;
    }
    result.Fault = DealFault(deal);
    if (!result.Fault.empty()) return result;
    const TSolverLibrary* solver = Solver();
    if (solver == nullptr) {
        result.Fault = SolverLoadFault();
        return result;
    }

    const ::deal position = OpeningLeadPosition(deal, declarer, strain);
    futureTricks future{};
    LeadSolves.fetch_add(1, std::memory_order_relaxed);
    int code = RETURN_NO_FAULT;
    {
        TSolverSlot slot;
        // Target -1 and solutions 3: the defence's tricks after every card.
        code = solver->SolveBoard(position, -1, 3, 1, &future, slot.Number());
    }
    if (code != RETURN_NO_FAULT) {
        result.Fault = SolverFault(code);
        return result;
    }
    for (int k = 0; k < future.cards; ++k) {
        const int32_t named = CardOfSolver(future.suit[k], future.rank[k]);
        result.Leads.push_back({named, future.score[k], named});
        // The lower cards the solver found equivalent to the named one.
        for (int rank = 2; rank <= 14; ++rank)
            if ((future.equals[k] >> rank & 1) != 0)
                result.Leads.push_back(
                    {CardOfSolver(future.suit[k], rank), future.score[k], named});
    }
    result.Solved = true;
    return result;
}

int64_t LeadSolveCount() { return LeadSolves.load(std::memory_order_relaxed); }

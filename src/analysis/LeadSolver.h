#pragma once
// The opening lead, double dummy: for a deal, a strain and a declarer, the
// defence's tricks after each card the leader (declarer's left-hand
// opponent) may lead, from one solver call. Cards the solver finds
// equivalent (touching honours, say) share a group.
#include <cstdint>
#include <string>
#include <vector>

class TDeal;

struct TLeadTricks {
    int32_t Card = 0;           // 1..52 (see deals/BridgeTerms.h)
    int32_t DefenceTricks = 0;  // the defence's tricks after this lead, 0..13
    int32_t Group = 0;          // the card the solver named for the group of equivalent cards
};

struct TLeadResult {
    bool Solved = false;
    std::string Fault;               // why not, when not solved (Russian)
    std::vector<TLeadTricks> Leads;  // every card the leader holds, in the solver's order
};

// One solver call (on the calling thread, borrowing one of the solver's
// thread slots). Strain 0 notrump, 1 clubs .. 4 spades; declarer 1..4.
TLeadResult SolveLeads(const TDeal& deal, int32_t declarer, int32_t strain);

// How many solver calls SolveLeads has made in this process.
int64_t LeadSolveCount();

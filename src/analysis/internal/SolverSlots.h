#pragma once
// What the analysis layer's solver calls share: the solver's thread slots, the
// cards and strains as the solver names them, and its fault messages. Seats are
// 1 North .. 4 West; strains 0 notrump and 1 clubs .. 4 spades.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "analysis/SolverLibrary.h"
#include "deals/DealAnalysis.h"

class TDeal;

// The solver's strain number: 0 spades, 1 hearts, 2 diamonds, 3 clubs, 4 notrump.
constexpr int SolverStrain(int32_t strain) { return strain == NoTrump ? 4 : 4 - strain; }

// The solver's message for a fault code, in the program's words.
std::string SolverFault(int code);

// The cards of a whole deal as the solver holds them: rank bits 2..14 per hand
// and solver strain.
void FillSolverCards(const TDeal& deal, unsigned int cards[DDS_HANDS][DDS_SUITS]);

// The whole deal before the opening lead as the solver's position: `strain`
// trumps, the left-hand opponent of `declarer` (1..4) on lead.
::deal OpeningLeadPosition(const TDeal& deal, int32_t declarer, int32_t strain);

// The solver's thread slots. A single solve borrows one; a batch, which runs on
// all of the solver's threads and their memory, takes them all.
class TSolverSlots {
public:
    int Acquire();
    void Release(int slot);
    void AcquireAll();
    void ReleaseAll();
    // Called with every slot held.
    void Resize(int total);
    int Total();

private:
    void Initialise();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> free_;
    int total_ = 0;
    int waiting_ = 0;
    bool exclusive_ = false;
};

TSolverSlots& SolverSlots();

// One slot borrowed for the lifetime of the object, for a call into the solver.
class TSolverSlot : TSolverCall {
public:
    TSolverSlot() : slot_(SolverSlots().Acquire()) {}
    ~TSolverSlot() { SolverSlots().Release(slot_); }
    TSolverSlot(const TSolverSlot&) = delete;
    TSolverSlot& operator=(const TSolverSlot&) = delete;
    int Number() const { return slot_; }

private:
    int slot_;
};

// Every slot held for the lifetime of the object, for a call into the solver.
struct TAllSlots : TSolverCall {
    TAllSlots() { SolverSlots().AcquireAll(); }
    ~TAllSlots() { SolverSlots().ReleaseAll(); }
    TAllSlots(const TAllSlots&) = delete;
    TAllSlots& operator=(const TAllSlots&) = delete;
};

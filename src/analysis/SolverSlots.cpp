#include "analysis/internal/SolverSlots.h"

#include <algorithm>

#include "deals/BridgeTerms.h"
#include "deals/Deal.h"

std::string SolverFault(int code) {
    char line[80] = {};
    Solver()->ErrorMessage(code, line);
    return "решатель отказал (" + std::to_string(code) + ": " + line + ")";
}

void FillSolverCards(const TDeal& deal, unsigned int cards[DDS_HANDS][DDS_SUITS]) {
    for (int hand = 0; hand < DDS_HANDS; ++hand)
        for (int suit = 0; suit < DDS_SUITS; ++suit) cards[hand][suit] = 0;
    for (int32_t seat = 1; seat <= 4; ++seat) {
        for (int32_t j = 1; j <= THand::CardsInHand; ++j) {
            int32_t card = deal.Hand(seat).Card(j);
            int rank = (card - 1) % 13 + 2;
            cards[seat - 1][SolverStrain(CardSuit(card))] |= 1u << rank;
        }
    }
}

::deal OpeningLeadPosition(const TDeal& deal, int32_t declarer, int32_t strain) {
    ::deal position{};
    position.trump = SolverStrain(strain);
    position.first = declarer % 4;  // the solver's seats run 0 North .. 3 West
    FillSolverCards(deal, position.remainCards);
    return position;
}

int TSolverSlots::Acquire() {
    std::unique_lock lock(mutex_);
    Initialise();
    changed_.wait(lock, [&] { return !exclusive_ && waiting_ == 0 && !free_.empty(); });
    int slot = free_.back();
    free_.pop_back();
    return slot;
}

void TSolverSlots::Release(int slot) {
    {
        std::lock_guard lock(mutex_);
        free_.push_back(slot);
    }
    changed_.notify_all();
}

void TSolverSlots::AcquireAll() {
    std::unique_lock lock(mutex_);
    Initialise();
    ++waiting_;
    changed_.wait(lock, [&] { return !exclusive_ && static_cast<int>(free_.size()) == total_; });
    --waiting_;
    exclusive_ = true;
}

void TSolverSlots::ReleaseAll() {
    {
        std::lock_guard lock(mutex_);
        exclusive_ = false;
    }
    changed_.notify_all();
}

void TSolverSlots::Resize(int total) {
    std::lock_guard lock(mutex_);
    total_ = std::max(total, 1);
    free_.clear();
    for (int slot = 0; slot < total_; ++slot) free_.push_back(slot);
}

int TSolverSlots::Total() {
    std::lock_guard lock(mutex_);
    Initialise();
    return total_;
}

void TSolverSlots::Initialise() {
    if (total_ > 0) return;
    DDSInfo info{};
    // The library configured itself when it was loaded; without it one slot
    // stands for the calls that then answer at once.
    if (const TSolverLibrary* solver = Solver()) solver->GetDDSInfo(&info);
    total_ = std::max(info.noOfThreads, 1);
    for (int slot = 0; slot < total_; ++slot) free_.push_back(slot);
}

TSolverSlots& SolverSlots() {
    static TSolverSlots slots;
    return slots;
}

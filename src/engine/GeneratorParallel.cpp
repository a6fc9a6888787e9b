#include <algorithm>
#include <new>
#include <span>
#include <system_error>

#include "deals/DealBatch.h"
#include "deals/DealCollection.h"
#include "deals/DirectedDraw.h"
#include "deals/RandomSource.h"
#include "deals/SecureSource.h"
#include "engine/Generator.h"
#include "engine/internal/GeneratorRun.h"
#include "language/ConditionCheck.h"

TParallelRun::TParallelRun(TGeneratorOwner& owner, TDeals& deals,
                           std::vector<std::unique_ptr<TCompiledCondition>>& conditions,
                           const std::atomic<bool>& terminated, bool showLive, int32_t threads,
                           TRandomSource* source, const TSecret* secret, const TFixedCards& fixed,
                           TDealingPath dealing, const TDirectedDraw* directed, int32_t blockSize)
    : owner_(owner),
      deals_(deals),
      conditions_(conditions),
      terminated_(terminated),
      source_(source),
      secret_(secret),
      showLive_(showLive),
      threads_(threads),
      fixed_(fixed),
      dealing_(dealing),
      directed_(directed),
      drawsPerDeal_(static_cast<uint64_t>(directed != nullptr ? directed->DrawsPerDeal()
                                                              : fixed.DrawsPerDeal())),
      slots_(static_cast<size_t>(threads) * 4) {
    if (blockSize > 0) blockSize_ = std::min(blockSize, BlockSize);
    if (!conditions_.empty() && conditions_.front()->Cost() > 0) blockSize_ = SolvingBlockSize;
}

uint32_t TParallelRun::BlockSeed(uint64_t number) const {
    return TRandomSource::JumpAhead(
        baseSeed_, (number - baseNumber_) * static_cast<uint64_t>(blockSize_) * drawsPerDeal_);
}

void TParallelRun::Execute(TRunCounters& counters) {
    baseSeed_ = source_ != nullptr ? source_->Seed() : 0;
    needed_.store(counters.Total - counters.Kept, std::memory_order_relaxed);
    // Every block's room is taken before the threads start, so that a worker
    // never allocates: memory that runs out ends the run here, not in a thread.
    TBlock current;
    std::vector<TBlock> own;
    try {
        own.resize(static_cast<size_t>(threads_));
        for (TBlock& block : own) Reserve(block);
        for (TBlock& block : slots_) Reserve(block);
        Reserve(current);
    } catch (const std::bad_alloc&) {
        counters.OutOfMemory = true;
        return;
    }
    std::vector<std::thread> workers;
    workers.reserve(static_cast<size_t>(threads_));
    // A thread the system cannot start (no memory for its stack) is not
    // needed: the others deal its blocks, with the same results.
    for (int32_t i = 0; i < threads_; ++i) {
        try {
            workers.emplace_back([this, i, &own] { Work(i, own[static_cast<size_t>(i)]); });
        } catch (const std::system_error&) {
            break;
        }
    }
    if (workers.empty()) {
        counters.OutOfMemory = true;
        return;
    }

    TProgressPacer pacer;
    bool running = counters.Kept < counters.Total &&
                   (counters.MaxDealt <= 0 || counters.Dealt < counters.MaxDealt);
    while (running) {
        {
            std::unique_lock lock(mutex_);
            TBlock* slot = nullptr;
            while (!terminated_.load(std::memory_order_relaxed)) {
                slot = &slots_[nextToCommit_ % slots_.size()];
                if (slot->Done && slot->Epoch == epoch_ && slot->Number == nextToCommit_) break;
                slot = nullptr;
                // Woken by every finished block; the timeout bounds the answer to STOP.
                blockDone_.wait_for(lock, std::chrono::milliseconds(10));
            }
            if (slot == nullptr) break;  // stopped at the last committed deal
            std::swap(current, *slot);
            slot->Done = false;
        }
        TCommit result = Commit(current, counters);
        if (result != TCommit::Restarted) {
            std::lock_guard lock(mutex_);
            ++nextToCommit_;
        }
        workFree_.notify_all();
        running = result != TCommit::Ended;
        if (result == TCommit::Committed && pacer.Due())
            owner_.ReportProgress(counters.Kept, counters.Dealt);
    }

    {
        std::lock_guard lock(mutex_);
        finished_.store(true, std::memory_order_relaxed);
    }
    workFree_.notify_all();
    for (std::thread& worker : workers) worker.join();
}

TParallelRun::TCommit TParallelRun::Commit(TBlock& block, TRunCounters& counters) {
    int64_t limit = blockSize_;
    if (counters.MaxDealt > 0) limit = std::min<int64_t>(limit, counters.MaxDealt - counters.Dealt);
    // The deals of the block the run uses: up to the deal that completes the total.
    size_t usedKept = 0;
    int64_t need = counters.Total - counters.Kept;
    for (; usedKept < block.Kept.size() && block.KeptAt[usedKept] < limit; ++usedKept) {
        if (static_cast<int64_t>(usedKept) + 1 == need) {
            limit = block.KeptAt[usedKept] + 1;
            ++usedKept;
            break;
        }
    }
    uint32_t after =
        TRandomSource::JumpAhead(block.StartSeed, static_cast<uint64_t>(limit) * drawsPerDeal_);
    if (source_ != nullptr && !source_->CommitSeed(block.StartSeed, after)) {
        // Reseeded since the last commit: the reseed lands here, at the boundary
        // before this block; drop every block dealt from the old seed.
        std::lock_guard lock(mutex_);
        baseSeed_ = source_ != nullptr ? source_->Seed() : 0;
        baseNumber_ = nextToCommit_;
        nextToClaim_ = nextToCommit_;
        ++epoch_;
        for (TBlock& slot : slots_) slot.Done = false;
        return TCommit::Restarted;
    }
    // The block's deals go in under one lock; when memory runs out, those
    // added before stay and the run ends after the last of them.
    const int32_t before = deals_.Count();
    bool added = true;
    try {
        deals_.AddAll(std::span<const TDeal>(block.Kept.data(), usedKept));
    } catch (const std::bad_alloc&) {
        added = false;
    }
    const auto stored = static_cast<size_t>(deals_.Count() - before);
    counters.Kept += static_cast<int32_t>(stored);
    if (showLive_)
        for (size_t i = 0; i < stored; ++i) owner_.ShowDeal(before + static_cast<int32_t>(i));
    if (!added) {
        // One thread ends just past the deal that found no room: the seed
        // left for the next run moves back there.
        counters.OutOfMemory = true;
        counters.Dealt += block.KeptAt[stored];
        if (source_ != nullptr)
            source_->CommitSeed(
                after, TRandomSource::JumpAhead(
                           block.StartSeed,
                           static_cast<uint64_t>(block.KeptAt[stored] + 1) * drawsPerDeal_));
        return TCommit::Ended;
    }
    counters.Dealt += limit;
    needed_.store(counters.Total - counters.Kept, std::memory_order_relaxed);
    bool more = counters.Kept < counters.Total &&
                (counters.MaxDealt <= 0 || counters.Dealt < counters.MaxDealt);
    return more ? TCommit::Committed : TCommit::Ended;
}

void TParallelRun::Reserve(TBlock& block) const {
    block.Kept.reserve(static_cast<size_t>(blockSize_));
    block.KeptAt.reserve(static_cast<size_t>(blockSize_));
}

void TParallelRun::Work(int32_t worker, TBlock& own) {
    TCompiledCondition* condition =
        conditions_.empty() ? nullptr : conditions_[static_cast<size_t>(worker)].get();
    std::unique_lock lock(mutex_);
    while (true) {
        workFree_.wait(lock, [this] {
            return finished_.load(std::memory_order_relaxed) ||
                   nextToClaim_ < nextToCommit_ + slots_.size();
        });
        if (finished_.load(std::memory_order_relaxed)) return;
        own.Number = nextToClaim_++;
        own.Epoch = epoch_;
        own.StartSeed = BlockSeed(own.Number);
        own.Enough = needed_.load(std::memory_order_relaxed);
        lock.unlock();
        DealBlock(own, condition);
        lock.lock();
        if (finished_.load(std::memory_order_relaxed)) return;
        if (own.Epoch != epoch_) continue;  // dealt from a seed that a reseed replaced
        // The slot's earlier block was taken by the committer already (a block is
        // claimed only when its slot's predecessor is below nextToCommit_).
        TBlock& slot = slots_[own.Number % slots_.size()];
        std::swap(own, slot);
        slot.Done = true;
        // Only the block the committer waits for is worth waking it.
        if (slot.Number == nextToCommit_) blockDone_.notify_one();
    }
}

void TParallelRun::DealBlock(TBlock& block, TCompiledCondition* condition) {
    block.Kept.clear();
    block.KeptAt.clear();
    if (secret_ != nullptr) {
        DealSecureBlock(block, condition);
        return;
    }
    uint32_t seed = block.StartSeed;
    TDeal deal;
    const bool dealSets = fixed_.Empty() && dealing_ != TDealingPath::OneByOne;  // as in one thread
    TDealStream stream(dealing_);
    TCardSets drawn;
    // A block that has kept what the run needs ends there: the commit takes
    // no deal past its last kept one then, so the deals after it are not
    // needed. The end of the run is looked for at every deal, as one deal may
    // cost much under a large condition.
    for (int32_t i = 0; i < blockSize_; ++i) {
        if (finished_.load(std::memory_order_relaxed)) return;
        bool kept;
        if (directed_ != nullptr) {
            directed_->Deal(seed, drawn);
            kept = condition->Matches(drawn);
            if (kept) deal.SetCardSets(drawn);
        } else if (dealSets) {
            const TCardSets& sets = stream.Next(seed);
            kept = condition == nullptr || condition->Matches(sets);
            if (kept) deal.SetCardSets(sets);
        } else {
            deal.DealFromSeed(seed, fixed_);
            kept = condition == nullptr || condition->Matches(deal);
        }
        if (kept) {
            block.Kept.push_back(deal);
            block.KeptAt.push_back(i);
            if (static_cast<int64_t>(block.Kept.size()) >= block.Enough) return;
        }
    }
}

void TParallelRun::DealSecureBlock(TBlock& block, TCompiledCondition* condition) {
    const uint64_t first = block.Number * static_cast<uint64_t>(blockSize_);
    TSecureDealer dealer(*secret_);
    TCardSets sets;
    TDeal deal;
    for (int32_t i = 0; i < blockSize_; ++i) {
        if (finished_.load(std::memory_order_relaxed)) return;
        if (directed_ != nullptr)
            directed_->DealSecure(*secret_, first + static_cast<uint64_t>(i), sets);
        else
            dealer.Deal(first + static_cast<uint64_t>(i), fixed_, sets);
        if (condition == nullptr || condition->Matches(sets)) {
            deal.SetCardSets(sets);
            block.Kept.push_back(deal);
            block.KeptAt.push_back(i);
            if (static_cast<int64_t>(block.Kept.size()) >= block.Enough) return;
        }
    }
}

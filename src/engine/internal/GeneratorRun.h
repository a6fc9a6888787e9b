#pragma once
// Pieces of a generator run shared by the one-thread loop and the block
// pipeline (Generator.cpp, GeneratorParallel.cpp); not for other callers.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TDirectedDraw;
class TRandomSource;
struct TSecret;

#include "deals/Deal.h"
#include "language/ConditionCheck.h"

class TDeals;
class TGeneratorOwner;

// The figures of one run.
struct TRunCounters {
    int32_t Total = 1;     // deals to keep
    int64_t MaxDealt = 0;  // 0 or less: no limit
    int32_t Kept = 0;
    int64_t Dealt = 0;
    bool OutOfMemory = false;  // the collection could not take a kept deal: the run ended there
};

// 0 asks for one thread per core.
int32_t GeneratorThreadCount(int32_t requested);

// Merges progress requests: the owner hears of the counts at most once per
// interval (the final counts are always sent at the end of the run). The clock
// is read only every CheckMask + 1 deals.
class TProgressPacer {
public:
    static constexpr int64_t CheckMask = 255;
    static constexpr std::chrono::milliseconds Interval{40};
    bool Due();

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// Deals and tests on several threads with exactly the results of the
// one-thread loop. The sequence of deals is cut into blocks of BlockSize deals;
// block k starts from the seed that lies (draws per deal) x BlockSize x k draws ahead, so any
// thread can deal it. Finished blocks are committed strictly in order by the
// run's own thread: their kept deals go to the collection, the shared seed
// moves past them, and the run ends at exactly the deal where one thread would
// have ended it. A reseed from outside is seen when committing the next block
// fails; the blocks dealt from the old seed are dropped and the pipeline
// restarts from the new one, so the reseed takes effect at a deal boundary.
// A secure run deals block k from deal index k x BlockSize on and has no seed
// to commit or reseed.
class TParallelRun {
public:
    // Half a millisecond of dealing with a simple condition: the run's own
    // thread wakes a few thousand times a second, not ten thousand.
    static constexpr int32_t BlockSize = 8192;
    // Blocks for a condition that solves deals (tens of milliseconds each): the
    // first kept deal is committed, and STOP answered, without waiting for
    // thousands of solves.
    static constexpr int32_t SolvingBlockSize = 4;

    TParallelRun(TGeneratorOwner& owner, TDeals& deals,
                 std::vector<std::unique_ptr<TCompiledCondition>>& conditions,
                 const std::atomic<bool>& terminated, bool showLive, int32_t threads,
                 TRandomSource* source, const TSecret* secret, const TFixedCards& fixed,
                 TDealingPath dealing, const TDirectedDraw* directed = nullptr,
                 int32_t blockSize = 0);
    void Execute(TRunCounters& counters);

private:
    struct TBlock {
        uint64_t Number = 0;
        uint32_t Epoch = 0;
        uint32_t StartSeed = 0;
        bool Done = false;
        // The deals the run still needed when the block was claimed: once it
        // has kept that many, dealing further is of no use, and stopping there
        // keeps a costly condition from delaying the end of the run.
        int64_t Enough = 0;
        std::vector<TDeal> Kept;      // kept deals in order
        std::vector<int32_t> KeptAt;  // their places in the block, 0 .. BlockSize - 1
    };

    enum class TCommit { Committed, Restarted, Ended };

    void Work(int32_t worker, TBlock& own);
    // Room for a whole block's kept deals, so that dealing a block allocates nothing.
    void Reserve(TBlock& block) const;
    void DealBlock(TBlock& block, TCompiledCondition* condition);
    void DealSecureBlock(TBlock& block, TCompiledCondition* condition);
    // Commits as much of the block as the run still needs: Committed, Ended when
    // the run needs no more deals, Restarted when a reseed made the block void.
    TCommit Commit(TBlock& block, TRunCounters& counters);
    uint32_t BlockSeed(uint64_t number) const;

    TGeneratorOwner& owner_;
    TDeals& deals_;
    std::vector<std::unique_ptr<TCompiledCondition>>& conditions_;
    const std::atomic<bool>& terminated_;
    TRandomSource* source_;  // the key's source; null in a secure run
    const TSecret* secret_;  // the secure run's secret, or null
    bool showLive_;
    int32_t threads_;
    const TFixedCards& fixed_;
    TDealingPath dealing_;
    const TDirectedDraw* directed_;  // draws the constrained hand of a directed run, else null
    uint64_t drawsPerDeal_;          // how far one deal moves the seed
    int32_t blockSize_ = BlockSize;

    std::mutex mutex_;
    std::condition_variable workFree_;   // a slot became free, or the run ended
    std::condition_variable blockDone_;  // a block was finished
    std::vector<TBlock> slots_;          // block k lives in slot k mod size
    uint64_t nextToClaim_ = 0;
    uint64_t nextToCommit_ = 0;
    uint64_t baseNumber_ = 0;  // the first block dealt from baseSeed_
    uint32_t baseSeed_ = 0;
    uint32_t epoch_ = 0;  // changes with every restart after a reseed
    std::atomic<bool> finished_{false};
    std::atomic<int64_t> needed_{0};  // deals the run still needs, as of the last commit
};

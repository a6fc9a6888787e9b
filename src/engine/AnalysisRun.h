#pragma once
// A run of double-dummy analysis over deals, on a worker thread of its own:
// it solves one deal at a time and reports progress after each, can be asked
// to stop at any time (the deal under way finishes first, no other is started)
// and hands over every deal's result at the end. The deals must stay in place until the run has
// finished.
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "analysis/DoubleDummy.h"

class TAnalysisRun {
public:
    // Called on the worker thread: deals done so far, and the total.
    using TProgress = std::function<void(int32_t done, int32_t total)>;
    // Called once on the worker thread at the end; `stopped` when the run was
    // asked to stop before every deal was analysed.
    using TFinished = std::function<void(std::vector<TDealAnalysis> results, bool stopped)>;

    TAnalysisRun() = default;
    // Stops the run if it is still going and waits for it.
    ~TAnalysisRun();
    TAnalysisRun(const TAnalysisRun&) = delete;
    TAnalysisRun& operator=(const TAnalysisRun&) = delete;

    // Starts analysing; false when a run was already started or the system
    // cannot start its thread.
    bool Start(std::vector<const TDeal*> deals, TProgress progress, TFinished finished);
    // Asks the run to stop after the deal under way; returns at once.
    void Stop() { stop_.store(true); }
    // Waits for the end of a started run.
    void Wait();
    bool Running() const { return running_.load(); }

private:
    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
};

// Analyses the deals on the calling thread, as a run does: the results in order.
std::vector<TDealAnalysis> AnalyseAll(const std::vector<const TDeal*>& deals);

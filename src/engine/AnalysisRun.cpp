#include "engine/AnalysisRun.h"

#include <span>
#include <system_error>

TAnalysisRun::~TAnalysisRun() {
    Stop();
    Wait();
}

bool TAnalysisRun::Start(std::vector<const TDeal*> deals, TProgress progress, TFinished finished) {
    if (worker_.joinable()) return false;
    stop_.store(false);
    running_.store(true);
    try {
        worker_ = std::thread([this, deals = std::move(deals), progress = std::move(progress),
                               finished = std::move(finished)] {
            const auto total = static_cast<int32_t>(deals.size());
            std::vector<TDealAnalysis> results(deals.size());
            std::vector<TDealAnalysis> one;
            bool stopped = false;
            // One deal at a time: progress for each, and STOP starts no further solve.
            for (std::size_t i = 0; i < deals.size(); ++i) {
                if (stop_.load()) {
                    stopped = true;
                    break;
                }
                AnalyseDeals(std::span(&deals[i], 1), one);
                results[i] = std::move(one.front());
                if (progress) progress(static_cast<int32_t>(i) + 1, total);
            }
            running_.store(false);
            if (finished) finished(std::move(results), stopped);
        });
    } catch (const std::system_error&) {
        running_.store(false);  // no thread to run on: the caller says so
        return false;
    }
    return true;
}

void TAnalysisRun::Wait() {
    if (worker_.joinable()) worker_.join();
}

std::vector<TDealAnalysis> AnalyseAll(const std::vector<const TDeal*>& deals) {
    std::vector<TDealAnalysis> results;
    AnalyseDeals(deals, results);
    return results;
}

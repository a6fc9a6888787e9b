#include "engine/AnalysisRun.h"

TAnalysisRun::~TAnalysisRun() {
    Stop();
    Wait();
}

bool TAnalysisRun::Start(std::vector<const TDeal*> deals, TProgress progress, TFinished finished) {
    if (worker_.joinable()) return false;
    stop_.store(false);
    running_.store(true);
    worker_ = std::thread([this, deals = std::move(deals), progress = std::move(progress),
                           finished = std::move(finished)] {
        const auto total = static_cast<int32_t>(deals.size());
        std::vector<TDealAnalysis> results;
        bool whole = AnalyseDeals(deals, results, [&](int32_t done) {
            if (progress) progress(done, total);
            return !stop_.load();
        });
        // A stop asked during the last batch comes too late to leave anything out.
        bool stopped =
            !whole && !results.empty() && !results.back().Solved && results.back().Fault.empty();
        running_.store(false);
        if (finished) finished(std::move(results), stopped);
    });
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

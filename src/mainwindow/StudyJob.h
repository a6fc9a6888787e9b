#pragma once
// A prepared study run over the deals of the collection on a worker thread:
// a feeding thread hands the deals to the study's run one by one and, when
// they are all counted or the run was stopped, says it has finished.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "deals/Deal.h"
#include "simulation/DealStudy.h"

class TStudyJob {
public:
    // Deals counted so far and all deals; called on a worker thread, at most
    // about twenty times a second, and always for the last deal.
    using TProgress = std::function<void(int64_t done, int64_t total)>;
    // Called once on the feeding thread, after the last deal was counted or
    // dropped; the job may then be destroyed from any other thread.
    using TFinished = std::function<void()>;

    // Starts at once. The deals must stay in place until the job has finished;
    // the study's workers are made on the calling thread.
    TStudyJob(std::unique_ptr<TDealStudy> study, std::vector<const TDeal*> deals,
              TProgress progress, TFinished finished);
    // Stops and waits for the threads.
    ~TStudyJob();
    TStudyJob(const TStudyJob&) = delete;
    TStudyJob& operator=(const TStudyJob&) = delete;

    // No deal starts after this, and so no solver call. Any thread.
    void Stop();
    bool Stopped() const;
    // The study; its counts are whole once the job has finished.
    const TDealStudy& Study() const { return *study_; }

private:
    void Feed();

    std::unique_ptr<TDealStudy> study_;
    std::vector<const TDeal*> deals_;
    TProgress progress_;
    TFinished finished_;
    int64_t counted_ = 0;  // under the run's lock
    std::chrono::steady_clock::time_point shown_{};
    std::unique_ptr<TStudyRun> run_;
    std::thread feeder_;
};

#include "mainwindow/StudyJob.h"

TStudyJob::TStudyJob(std::unique_ptr<TDealStudy> study, std::vector<const TDeal*> deals,
                     TProgress progress, TFinished finished)
    : study_(std::move(study)),
      deals_(std::move(deals)),
      progress_(std::move(progress)),
      finished_(std::move(finished)) {
    // The rows sink is called for each counted deal in order, under the run's
    // lock: it counts the deals for the progress shown.
    run_ = std::make_unique<TStudyRun>(*study_, 0, [this](const std::vector<std::string>&) {
        ++counted_;
        const auto now = std::chrono::steady_clock::now();
        const auto total = static_cast<int64_t>(deals_.size());
        if (counted_ < total && now - shown_ < std::chrono::milliseconds(50)) return;
        shown_ = now;
        progress_(counted_, total);
    });
    feeder_ = std::thread([this] { Feed(); });
}

TStudyJob::~TStudyJob() {
    Stop();
    if (feeder_.joinable()) feeder_.join();
    run_.reset();
}

void TStudyJob::Stop() { run_->Stop(); }

bool TStudyJob::Stopped() const { return run_->Stopped(); }

void TStudyJob::Feed() {
    for (std::size_t i = 0; i < deals_.size(); ++i)
        if (!run_->Push(static_cast<int64_t>(i) + 1, *deals_[i])) break;
    run_->Finish();
    finished_();
}

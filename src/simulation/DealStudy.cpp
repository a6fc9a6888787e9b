#include "simulation/DealStudy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "text/StringFunctions.h"

namespace {

constexpr int32_t DealsInHandPerThread = 64;

}  // namespace

struct TStudyRun::TSlot {
    int64_t Board = 0;
    TDeal Deal;
    TDealOutcome Outcome;
    bool Ready = false;
    bool Dropped = false;
};

TStudyRun::TStudyRun(TDealStudy& study, int32_t threads, TRowsSink rows)
    : study_(study), rows_(std::move(rows)) {
    if (threads <= 0)
        threads = std::max(1, static_cast<int32_t>(std::thread::hardware_concurrency()));
    // Enough deals in hand that no thread waits for a slow one to be counted:
    // a deal's solves may take fifty times as long as the mean, and the rows
    // are counted in order, so the others go on past it by as many deals.
    slots_.resize(static_cast<std::size_t>(DealsInHandPerThread * threads));
    for (int32_t i = 0; i < threads; ++i) workers_.push_back(study_.NewWorker());
    for (auto& worker : workers_) threads_.emplace_back([this, &worker] { WorkerLoop(*worker); });
}

TStudyRun::~TStudyRun() {
    Stop();
    Finish();
}

bool TStudyRun::Push(int64_t board, const TDeal& deal) {
    std::unique_lock lock(mutex_);
    const auto capacity = static_cast<int64_t>(slots_.size());
    changed_.wait(lock, [&] { return stop_.load() || pushed_ - committed_ < capacity; });
    if (stop_.load()) return false;
    TSlot& slot = slots_[static_cast<std::size_t>(pushed_ % capacity)];
    slot.Board = board;
    slot.Deal = deal;
    slot.Outcome = TDealOutcome{};
    slot.Ready = false;
    slot.Dropped = false;
    ++pushed_;
    changed_.notify_all();
    return true;
}

void TStudyRun::WorkerLoop(TDealStudy::TWorker& worker) {
    const auto capacity = static_cast<int64_t>(slots_.size());
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return ending_ || claimed_ < pushed_; });
        if (claimed_ == pushed_) return;  // ending, and nothing left
        TSlot& slot = slots_[static_cast<std::size_t>(claimed_ % capacity)];
        ++claimed_;
        lock.unlock();
        // The slot is not reused before it is counted, so it is ours meanwhile.
        bool dropped = stop_.load();
        if (!dropped) {
            try {
                slot.Outcome = worker.Work(slot.Deal, stop_);
            } catch (const std::bad_alloc&) {
                // Counted as a refused deal: the run goes on, and ends whole.
                slot.Outcome = TDealOutcome{{}, "не хватило памяти"};
            }
            dropped = stop_.load();
        }
        lock.lock();
        slot.Ready = true;
        slot.Dropped = dropped;
        CommitReady();
        changed_.notify_all();
    }
}

void TStudyRun::CommitReady() {
    const auto capacity = static_cast<int64_t>(slots_.size());
    std::vector<std::string> rows;
    while (committed_ < pushed_) {
        TSlot& slot = slots_[static_cast<std::size_t>(committed_ % capacity)];
        if (!slot.Ready) return;
        // After a stop nothing more is counted, so the counts end at one deal.
        if (!slot.Dropped && !stop_.load()) {
            rows.clear();
            study_.Take(slot.Board, slot.Deal, slot.Outcome, rows_ ? &rows : nullptr);
            if (rows_) rows_(rows);
            done_.fetch_add(1);
        }
        ++committed_;
    }
}

int64_t TStudyRun::Finish() {
    {
        std::unique_lock lock(mutex_);
        ending_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return committed_ == pushed_; });
    }
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
    return done_.load();
}

bool TStudyRun::WaitIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return committed_ == pushed_; });
}

void TStudyRun::Stop() {
    stop_.store(true);
    std::lock_guard lock(mutex_);
    changed_.notify_all();
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string DecimalText(double value, int32_t decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", static_cast<int>(decimals), value);
    std::string result = text;
    if (result.find_first_not_of("-0.") == std::string::npos && result[0] == '-')
        result.erase(0, 1);  // no "-0.00"
    std::replace(result.begin(), result.end(), '.', ',');
    return result;
}

std::string SignedDecimalText(double value, int32_t decimals) {
    std::string text = DecimalText(value, decimals);
    const bool zero = text.find_first_not_of("0,") == std::string::npos;
    return text[0] == '-' || zero ? text : "+" + text;
}

std::string PaddedText(std::string_view text, int32_t width) {
    std::string padded(text);
    for (int32_t n = CharCount(text); n < width; ++n) padded += ' ';
    return padded;
}

std::string WithoutTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

double TMeanSum::Deviation() const {
    if (Count < 2) return 0.0;
    const double n = static_cast<double>(Count);
    const double variance = (Squares - Sum * Sum / n) / (n - 1);
    return variance > 0 ? std::sqrt(variance) : 0.0;
}

double TMeanSum::StandardError() const {
    return Count > 0 ? Deviation() / std::sqrt(static_cast<double>(Count)) : 0.0;
}

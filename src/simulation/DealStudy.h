#pragma once
// What the three simulations (comparing variants, the opening lead,
// tabulating expressions) share: they take deals one at a time, each deal's
// solver work may run on any thread, and the results are counted in the order
// of the deals, giving CSV rows as they come and a plain-text report at the end.
// Memory stays flat in the number of deals.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "deals/Deal.h"

// One deal's results, as a study's worker computed them.
struct TDealOutcome {
    std::vector<int32_t> Values;  // the study's numbers for the deal, in its own order
    std::string Fault;            // why the deal could not be studied; empty when it was
};

class TDealStudy {
public:
    virtual ~TDealStudy() = default;

    // Computes a deal's outcome; may call the solver. One worker serves one
    // thread; `stop` is checked between solver calls (no call starts after it
    // is set, and the outcome is then not counted).
    class TWorker {
    public:
        virtual ~TWorker() = default;
        virtual TDealOutcome Work(TDeal& deal, const std::atomic<bool>& stop) = 0;
    };
    // A new worker. Called on the thread that prepared the study (it may
    // prepare conditions, whose error state belongs to that thread).
    virtual std::unique_ptr<TWorker> NewWorker() const = 0;

    // Counts a deal's outcome, in the order of the deals, and appends its CSV
    // rows (without line ends) to `rows` when it is given. `board` is the
    // board's number.
    virtual void Take(int64_t board, const TDeal& deal, const TDealOutcome& outcome,
                      std::vector<std::string>* rows) = 0;

    // The header row of the CSV file.
    virtual std::string CsvHeader() const = 0;
    // The report over the deals taken so far, one line per element, Russian captions.
    virtual std::vector<std::string> ReportLines() const = 0;
    // The deals counted, and those refused (a damaged deal, a solver fault).
    int64_t Counted() const { return counted_; }
    int64_t Refused() const { return refused_; }

protected:
    int64_t counted_ = 0;
    int64_t refused_ = 0;
};

// Runs a study over deals pushed one at a time, on `threads` threads (0: one
// per solver thread), counting the outcomes in the order of the pushes. Only a
// bounded number of deals is held at once: Push waits while the window is full.
class TStudyRun {
public:
    // Called in deal order, on a worker thread, under the run's lock, with the
    // rows of each counted deal (for the CSV file).
    using TRowsSink = std::function<void(const std::vector<std::string>& rows)>;

    // The workers are made here, on the calling thread.
    TStudyRun(TDealStudy& study, int32_t threads, TRowsSink rows = {});
    // Stops and waits.
    ~TStudyRun();
    TStudyRun(const TStudyRun&) = delete;
    TStudyRun& operator=(const TStudyRun&) = delete;

    // Hands over the next deal; false once the run was stopped (the deal is
    // then not studied). Called from one thread at a time.
    bool Push(int64_t board, const TDeal& deal);
    // Waits until every pushed deal is counted (or dropped after Stop) and
    // ends the threads. Returns the deals counted.
    int64_t Finish();
    // Waits until every deal pushed so far is counted (or dropped), at most
    // `timeout`; true when none is left.
    bool WaitIdle(std::chrono::milliseconds timeout);
    // From now on no deal is started: no solver call starts after it. Any thread.
    void Stop();
    bool Stopped() const { return stop_.load(); }
    // Deals counted so far.
    int64_t Done() const { return done_.load(); }

private:
    struct TSlot;
    void WorkerLoop(TDealStudy::TWorker& worker);
    void CommitReady();  // under mutex_

    TDealStudy& study_;
    TRowsSink rows_;
    std::vector<std::unique_ptr<TDealStudy::TWorker>> workers_;
    std::vector<std::thread> threads_;
    std::vector<TSlot> slots_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t pushed_ = 0;     // deals pushed
    int64_t claimed_ = 0;    // deals a worker has taken
    int64_t committed_ = 0;  // deals counted or dropped, in order
    bool ending_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<int64_t> done_{0};
};

// Text helpers of the reports and CSV files.
// A CSV field: quoted, with doubled quotes, when it holds a comma, a quote or a line end.
std::string CsvField(std::string_view text);
// A number with `decimals` decimals and a decimal comma, as Russian texts write it.
std::string DecimalText(double value, int32_t decimals);
// The same with a plus sign before a number above zero.
std::string SignedDecimalText(double value, int32_t decimals);
// The text followed by blanks up to `width` characters (UTF-8 counted by characters).
std::string PaddedText(std::string_view text, int32_t width);
// The text with blanks removed from its end.
std::string WithoutTrailingBlanks(std::string text);

// Running sums for a mean and its standard error.
struct TMeanSum {
    int64_t Count = 0;
    double Sum = 0;
    double Squares = 0;
    void Add(double value) {
        ++Count;
        Sum += value;
        Squares += value * value;
    }
    double Mean() const { return Count > 0 ? Sum / static_cast<double>(Count) : 0.0; }
    // The sample standard deviation (0 for fewer than two values).
    double Deviation() const;
    // The standard error of the mean: SD / sqrt(n).
    double StandardError() const;
};
